// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>

class QSettings;

// The per-user settings store: a tree of keys holding named text values, kept in one file of the
// user's configuration folder. A key path such as "Main\TfrmSaldrixMain.MRUManager1" is a path
// below the application key Software\Yorv\YorvSaldrix; a path that begins with a backslash is a
// path from the top of the user's tree, and must lie below the application key, which is the
// file's root. Key paths become groups of the file ("Main/TfrmSaldrixMain.MRUManager1").
//
// Every value is written as text: integers as decimal text, booleans as "0" and "1". Reads fall
// back to the caller's default when the value or its key is missing, or when an integer's text is
// not a whole number.
class SettingsStore {
    Q_DECLARE_TR_FUNCTIONS(SettingsStore)

public:
    // The application key below the top of the user's tree.
    static const QString ApplicationKey;

    // The user's own store: $XDG_CONFIG_HOME/Yorv/YorvSaldrix.conf (~/.config when unset), unless
    // another file was set for the whole process (tests keep each window's store apart this way;
    // an empty name goes back to the user's own).
    [[nodiscard]] static QString userFileName();
    static void setUserFileName(const QString &fileName);

    // Opens the store kept in the given file; throws SaldrixError when it cannot be read.
    explicit SettingsStore(const QString &fileName);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    [[nodiscard]] QString fileName() const;

    // The group of the file that a key path names; throws SaldrixError for a path from the root
    // that leaves the application key.
    [[nodiscard]] static QString groupOf(const QString &keyPath);

    [[nodiscard]] bool keyExists(const QString &keyPath) const;
    [[nodiscard]] bool valueExists(const QString &keyPath, const QString &name) const;

    [[nodiscard]] QString readString(const QString &keyPath, const QString &name, const QString &fallback) const;
    [[nodiscard]] int readInteger(const QString &keyPath, const QString &name, int fallback) const;
    [[nodiscard]] bool readBool(const QString &keyPath, const QString &name, bool fallback) const;

    void writeString(const QString &keyPath, const QString &name, const QString &value);
    void writeInteger(const QString &keyPath, const QString &name, int value);
    void writeBool(const QString &keyPath, const QString &name, bool value);

    // Removes the key with all its values and keys below it.
    void eraseKey(const QString &keyPath);
    void deleteValue(const QString &keyPath, const QString &name);

    // Writes pending changes to the file; throws SaldrixError when that fails.
    void close();

private:
    [[nodiscard]] static QString valueKey(const QString &keyPath, const QString &name);
    void checkStatus(const QString &message) const;

    std::unique_ptr<QSettings> m_settings;
};
