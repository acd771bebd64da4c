// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

class SettingsStore;

// The most recently opened files, newest first, each with an integer of user data. Names are
// compared exactly: on this platform /d/A.ini and /d/a.ini are two different files.
class RecentList {
public:
    struct Entry {
        QString name;
        int userData = 0;
        friend bool operator==(const Entry &, const Entry &) = default;
    };

    explicit RecentList(int capacity = 5);

    [[nodiscard]] int capacity() const { return m_capacity; }
    // A capacity below 1 is raised to 1; entries past the new capacity are dropped.
    void setCapacity(int capacity);

    [[nodiscard]] int count() const { return static_cast<int>(m_entries.size()); }
    [[nodiscard]] bool isEmpty() const { return m_entries.isEmpty(); }
    [[nodiscard]] const Entry &at(int i) const { return m_entries.at(i); }
    [[nodiscard]] QStringList names() const;
    [[nodiscard]] int indexOf(const QString &name) const;

    // Moves a known name to the top, or puts a new one there and drops the oldest entries beyond
    // the capacity.
    void add(const QString &name, int userData = 0);
    void clear() { m_entries.clear(); }

    // Reads Item_0 (newest) to Item_<capacity-1> with their User_ values; empty items are skipped.
    void load(const SettingsStore &store, const QString &keyPath);
    // Empties the key, then writes Item_0 onwards; User_ values are written only when not 0.
    void save(SettingsStore &store, const QString &keyPath) const;

private:
    QList<Entry> m_entries;
    int m_capacity;
};
