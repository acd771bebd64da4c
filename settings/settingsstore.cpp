// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/settingsstore.h"

#include "document/saldrixerror.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

const QString SettingsStore::ApplicationKey = QStringLiteral("Software\\Yorv\\YorvSaldrix");

namespace {
QString &userFileNameOverride()
{
    static QString fileName;
    return fileName;
}
} // namespace

void SettingsStore::setUserFileName(const QString &fileName)
{
    userFileNameOverride() = fileName;
}

QString SettingsStore::userFileName()
{
    if (!userFileNameOverride().isEmpty())
        return userFileNameOverride();
    // NativeFormat on Linux is the INI-style .conf file below $XDG_CONFIG_HOME.
    const QSettings settings(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Yorv"), QStringLiteral("YorvSaldrix"));
    return settings.fileName();
}

SettingsStore::SettingsStore(const QString &fileName)
    : m_settings(std::make_unique<QSettings>(fileName, QSettings::NativeFormat))
{
    // The file's changes are shared by every store on it in the process, and opening one writes
    // what an earlier store could not: a failure on a file that reads is a failure to write.
    const QFileInfo file(fileName);
    const bool readable = !file.exists() || (file.isFile() && file.isReadable());
    checkStatus((readable ? tr("Unable to write to the settings store %1") : tr("Unable to open the settings store %1"))
                    .arg(fileName));
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}

QString SettingsStore::groupOf(const QString &keyPath)
{
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (keyPath.startsWith(QLatin1Char('\\'))) {
        const QStringList application = ApplicationKey.split(QLatin1Char('\\'));
        bool below = parts.size() >= application.size();
        for (qsizetype i = 0; below && i < application.size(); ++i)
            below = parts.at(i).compare(application.at(i), Qt::CaseInsensitive) == 0;
        if (!below)
            throw SaldrixError(tr("Unable to open the settings key %1").arg(keyPath));
        parts.remove(0, application.size());
    }
    return parts.join(QLatin1Char('/'));
}

QString SettingsStore::valueKey(const QString &keyPath, const QString &name)
{
    const QString group = groupOf(keyPath);
    return group.isEmpty() ? name : group + QLatin1Char('/') + name;
}

bool SettingsStore::keyExists(const QString &keyPath) const
{
    const QString group = groupOf(keyPath);
    if (group.isEmpty())
        return true;
    m_settings->beginGroup(group);
    const bool exists = !m_settings->allKeys().isEmpty();
    m_settings->endGroup();
    return exists;
}

bool SettingsStore::valueExists(const QString &keyPath, const QString &name) const
{
    return m_settings->contains(valueKey(keyPath, name));
}

QString SettingsStore::readString(const QString &keyPath, const QString &name, const QString &fallback) const
{
    const QVariant value = m_settings->value(valueKey(keyPath, name));
    if (!value.isValid())
        return fallback;
    // A hand-edited file may hold an unquoted text with commas, which the file format reads as a
    // list; it is still the one text that was written.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

int SettingsStore::readInteger(const QString &keyPath, const QString &name, int fallback) const
{
    bool ok = false;
    const int value = readString(keyPath, name, QString()).trimmed().toInt(&ok, 10);
    return ok ? value : fallback;
}

bool SettingsStore::readBool(const QString &keyPath, const QString &name, bool fallback) const
{
    return readInteger(keyPath, name, fallback ? 1 : 0) != 0;
}

void SettingsStore::writeString(const QString &keyPath, const QString &name, const QString &value)
{
    m_settings->setValue(valueKey(keyPath, name), value);
}

void SettingsStore::writeInteger(const QString &keyPath, const QString &name, int value)
{
    writeString(keyPath, name, QString::number(value));
}

void SettingsStore::writeBool(const QString &keyPath, const QString &name, bool value)
{
    writeString(keyPath, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsStore::eraseKey(const QString &keyPath)
{
    const QString group = groupOf(keyPath);
    if (group.isEmpty()) {
        m_settings->clear();
        return;
    }
    m_settings->remove(group);
}

void SettingsStore::deleteValue(const QString &keyPath, const QString &name)
{
    m_settings->remove(valueKey(keyPath, name));
}

void SettingsStore::close()
{
    m_settings->sync();
    checkStatus(tr("Unable to write to the settings store %1").arg(m_settings->fileName()));
}

void SettingsStore::checkStatus(const QString &message) const
{
    if (m_settings->status() != QSettings::NoError)
        throw SaldrixError(message);
}
