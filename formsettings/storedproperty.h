// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>
#include <QString>

#include <optional>

class QObject;

// A component's property kept in the settings store, named by an entry "Component.Property".
// A file dialog's "InitialDir" is the folder it opens in the first time; the dialog keeps the
// text as given (its own directory() moves as the user browses), and a non-empty folder also
// becomes the dialog's directory.
class StoredProperty {
public:
    // Binds the entry to the named child of the owner. Nothing when either half of the entry is
    // empty, no such component exists, or it has no property of that name (letter case ignored).
    [[nodiscard]] static std::optional<StoredProperty> bind(QObject *owner, const QString &entry);

    // The value's name in the store: component, underscore, the property's declared name.
    [[nodiscard]] QString valueName() const;
    [[nodiscard]] QString read() const;
    void write(const QString &value);

    static const char InitialDirProperty[];

private:
    StoredProperty(QObject *object, QString component, QString property, bool initialDir);

    QPointer<QObject> m_object;
    QString m_component;
    QString m_property;
    bool m_initialDir = false;
};
