// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/recentlist.h"

#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>

class QAction;

// The recent-files list of the main window with its menu: every change rebuilds the items under the
// Reopen menu, which is enabled exactly while it has items (a tool button bound to the menu's
// action follows it). Choosing an item reports the entry through click(); the entry keeps its
// place in the list.
class MRUManager : public QObject {
    Q_OBJECT

public:
    explicit MRUManager(QObject *parent = nullptr);

    [[nodiscard]] const RecentList &list() const { return m_list; }
    void setCapacity(int capacity);

    // The menu that receives the items; only the items added here are ever removed from it.
    void setRecentMenu(QMenu *menu);
    [[nodiscard]] QList<QAction *> menuItems() const;

    void add(const QString &name, int userData = 0);
    void clear();
    void load(const SettingsStore &store, const QString &keyPath);
    void save(SettingsStore &store, const QString &keyPath) const { m_list.save(store, keyPath); }

    // What choosing the menu item with the given tag does.
    void clickItem(int tag);

    // The caption of an entry: the whole name, with "&" shown as itself rather than as a mnemonic.
    [[nodiscard]] static QString caption(const QString &name);

Q_SIGNALS:
    void click(const QString &recentName, const QString &caption, int userData);

private:
    void rebuildMenu();

    RecentList m_list;
    QPointer<QMenu> m_menu;
    QList<QPointer<QAction>> m_items;
};
