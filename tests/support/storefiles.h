// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A settings file in a temporary folder, read back as plain text values for the tests to compare.
class StoreFile {
public:
    StoreFile();

    [[nodiscard]] QString fileName() const { return m_fileName; }
    // The value's text, or a null string when it is missing.
    [[nodiscard]] QString value(const QString &group, const QString &name) const;
    // The names of the values directly in the group, sorted.
    [[nodiscard]] QStringList names(const QString &group) const;
    void write(const QString &group, const QString &name, const QString &text) const;

private:
    QTemporaryDir m_dir;
    QString m_fileName;
};
