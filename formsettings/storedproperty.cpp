// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formsettings/storedproperty.h"

#include <QFileDialog>
#include <QMetaProperty>

const char StoredProperty::InitialDirProperty[] = "InitialDir";

StoredProperty::StoredProperty(QObject *object, QString component, QString property, bool initialDir)
    : m_object(object)
    , m_component(std::move(component))
    , m_property(std::move(property))
    , m_initialDir(initialDir)
{
}

std::optional<StoredProperty> StoredProperty::bind(QObject *owner, const QString &entry)
{
    const qsizetype dot = entry.indexOf(QLatin1Char('.'));
    if (owner == nullptr || dot < 0)
        return std::nullopt;
    const QString component = entry.left(dot).trimmed();
    const QString property = entry.mid(dot + 1).trimmed();
    if (component.isEmpty() || property.isEmpty())
        return std::nullopt;
    QObject *object = owner->objectName() == component ? owner : owner->findChild<QObject *>(component);
    if (object == nullptr)
        return std::nullopt;

    const QString initialDir = QString::fromLatin1(InitialDirProperty);
    if (qobject_cast<QFileDialog *>(object) != nullptr && property.compare(initialDir, Qt::CaseInsensitive) == 0)
        return StoredProperty(object, component, initialDir, true);

    const QMetaObject *meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty candidate = meta->property(i);
        const QString name = QString::fromLatin1(candidate.name());
        if (name.compare(property, Qt::CaseInsensitive) == 0 && candidate.isReadable() && candidate.isWritable())
            return StoredProperty(object, component, name, false);
    }
    return std::nullopt;
}

QString StoredProperty::valueName() const
{
    return m_component + QLatin1Char('_') + m_property;
}

QString StoredProperty::read() const
{
    if (m_object == nullptr)
        return {};
    return m_object->property(m_property.toLatin1().constData()).toString();
}

void StoredProperty::write(const QString &value)
{
    if (m_object == nullptr)
        return;
    m_object->setProperty(m_property.toLatin1().constData(), value);
    if (m_initialDir && !value.isEmpty())
        static_cast<QFileDialog *>(m_object.data())->setDirectory(value);
}
