// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/recentlist.h"

#include "settings/settingsstore.h"

#include <QStringList>

#include <algorithm>

namespace {
QString itemName(int i)
{
    return QStringLiteral("Item_%1").arg(i);
}
QString userName(int i)
{
    return QStringLiteral("User_%1").arg(i);
}
} // namespace

RecentList::RecentList(int capacity)
    : m_capacity(std::max(capacity, 1))
{
}

void RecentList::setCapacity(int capacity)
{
    m_capacity = std::max(capacity, 1);
    while (count() > m_capacity)
        m_entries.removeLast();
}

QStringList RecentList::names() const
{
    QStringList result;
    for (const Entry &entry : m_entries)
        result.append(entry.name);
    return result;
}

int RecentList::indexOf(const QString &name) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_entries.at(i).name == name)
            return i;
    }
    return -1;
}

void RecentList::add(const QString &name, int userData)
{
    const int found = indexOf(name);
    if (found >= 0) {
        // A known entry keeps its stored text and user data; only its place changes.
        m_entries.move(found, 0);
        return;
    }
    m_entries.prepend(Entry { name, userData });
    while (count() > m_capacity)
        m_entries.removeLast();
}

void RecentList::load(const SettingsStore &store, const QString &keyPath)
{
    m_entries.clear();
    // Oldest first, so that Item_0 ends at the top.
    for (int n = m_capacity - 1; n >= 0; --n) {
        const QString name = store.readString(keyPath, itemName(n), QString());
        if (!name.isEmpty())
            add(name, store.readInteger(keyPath, userName(n), 0));
    }
}

void RecentList::save(SettingsStore &store, const QString &keyPath) const
{
    store.eraseKey(keyPath);
    for (int i = 0; i < count(); ++i) {
        const Entry &entry = m_entries.at(i);
        store.writeString(keyPath, itemName(i), entry.name);
        if (entry.userData != 0)
            store.writeInteger(keyPath, userName(i), entry.userData);
        else
            store.deleteValue(keyPath, userName(i));
    }
}
