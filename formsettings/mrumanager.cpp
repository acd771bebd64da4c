// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formsettings/mrumanager.h"

#include <QAction>
#include <QMenu>

MRUManager::MRUManager(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("MRUManager1"));
}

void MRUManager::setCapacity(int capacity)
{
    m_list.setCapacity(capacity);
    rebuildMenu();
}

void MRUManager::setRecentMenu(QMenu *menu)
{
    if (m_menu == menu)
        return;
    // Take the items out of the old menu before the new one gets them.
    for (const QPointer<QAction> &item : std::as_const(m_items)) {
        if (item != nullptr && m_menu != nullptr)
            m_menu->removeAction(item);
        if (item != nullptr)
            item->deleteLater();
    }
    m_items.clear();
    m_menu = menu;
    rebuildMenu();
}

QList<QAction *> MRUManager::menuItems() const
{
    QList<QAction *> result;
    for (const QPointer<QAction> &item : m_items) {
        if (item != nullptr && !item->isSeparator())
            result.append(item);
    }
    return result;
}

void MRUManager::add(const QString &name, int userData)
{
    m_list.add(name, userData);
    rebuildMenu();
}

void MRUManager::clear()
{
    m_list.clear();
    rebuildMenu();
}

void MRUManager::load(const SettingsStore &store, const QString &keyPath)
{
    m_list.load(store, keyPath);
    rebuildMenu();
}

void MRUManager::clickItem(int tag)
{
    if (tag < 0 || tag >= m_list.count())
        return;
    const RecentList::Entry entry = m_list.at(tag);
    Q_EMIT click(entry.name, caption(entry.name), entry.userData);
}

QString MRUManager::caption(const QString &name)
{
    QString text = name;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

void MRUManager::rebuildMenu()
{
    if (m_menu == nullptr)
        return;
    // The item being chosen may be the one that triggered this rebuild, so items are freed only
    // once control is back in the event loop.
    for (const QPointer<QAction> &item : std::as_const(m_items)) {
        if (item != nullptr) {
            m_menu->removeAction(item);
            item->deleteLater();
        }
    }
    m_items.clear();

    if (!m_list.isEmpty() && !m_menu->actions().isEmpty())
        m_items.append(m_menu->addSeparator());
    for (int i = 0; i < m_list.count(); ++i) {
        const QString &name = m_list.at(i).name;
        auto *item = new QAction(caption(name), m_menu);
        item->setStatusTip(name);
        item->setData(i);
        connect(item, &QAction::triggered, this, [this, i] { clickItem(i); });
        m_menu->addAction(item);
        m_items.append(item);
    }
}
