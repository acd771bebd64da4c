// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storefiles.h"

#include <QSettings>

StoreFile::StoreFile()
    : m_fileName(m_dir.filePath(QStringLiteral("Yorv/YorvSaldrix.conf")))
{
}

QString StoreFile::value(const QString &group, const QString &name) const
{
    const QSettings settings(m_fileName, QSettings::NativeFormat);
    const QVariant value = settings.value(group + QLatin1Char('/') + name);
    return value.isValid() ? value.toString() : QString();
}

QStringList StoreFile::names(const QString &group) const
{
    QSettings settings(m_fileName, QSettings::NativeFormat);
    settings.beginGroup(group);
    QStringList result = settings.childKeys();
    result.sort();
    return result;
}

void StoreFile::write(const QString &group, const QString &name, const QString &text) const
{
    QSettings settings(m_fileName, QSettings::NativeFormat);
    settings.setValue(group + QLatin1Char('/') + name, text);
}
