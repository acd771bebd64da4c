// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storefiles.h"

#include "formsettings/mrumanager.h"
#include "settings/settingsstore.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {
const QString Section = QStringLiteral("Main\\TfrmSaldrixMain.MRUManager1");
const QString Group = QStringLiteral("Main/TfrmSaldrixMain.MRUManager1");

QStringList captions(const MRUManager &manager)
{
    QStringList result;
    for (const QAction *item : manager.menuItems())
        result.append(item->text());
    return result;
}
} // namespace

class tst_RecentFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keepsTheFiveNewestNewestFirst();
    void lettersOfDifferentCaseAreDifferentFiles();
    void savesExactlyTheItemsAndNoUserValues();
    void loadPutsItemZeroOnTopAndSkipsGaps();
    void reopenMenuFollowsTheList();
    void captionsShowTheWholePathLiterally();
    void choosingAnItemReportsItAndKeepsTheOrder();
    void rebuildLeavesOtherItemsOfTheMenu();
};

void tst_RecentFiles::keepsTheFiveNewestNewestFirst()
{
    RecentList list;
    for (int i = 1; i <= 6; ++i)
        list.add(QStringLiteral("/d/%1.ini").arg(i));
    QCOMPARE(list.names(), (QStringList { "/d/6.ini", "/d/5.ini", "/d/4.ini", "/d/3.ini", "/d/2.ini" }));
}

void tst_RecentFiles::lettersOfDifferentCaseAreDifferentFiles()
{
    // A known file moves to the top keeping its user value; only the exact spelling is known.
    RecentList list;
    list.add(QStringLiteral("/d/A.ini"), 7);
    list.add(QStringLiteral("/d/b.ini"));
    list.add(QStringLiteral("/d/a.ini"));
    list.add(QStringLiteral("/d/A.ini"), 0);
    QCOMPARE(list.names(), (QStringList { "/d/A.ini", "/d/a.ini", "/d/b.ini" }));
    QCOMPARE(list.at(0).userData, 7);
}

void tst_RecentFiles::savesExactlyTheItemsAndNoUserValues()
{
    StoreFile file;
    {
        // Values left over from a longer list and a user value must not survive the save.
        SettingsStore store(file.fileName());
        for (int i = 0; i < 5; ++i)
            store.writeString(Section, QStringLiteral("Item_%1").arg(i), QStringLiteral("/old/%1").arg(i));
        store.writeString(Section, QStringLiteral("User_1"), QStringLiteral("3"));
        store.close();
    }
    RecentList list;
    list.add(QStringLiteral("/d/x.ini"));
    list.add(QStringLiteral("/d/y.ini"));
    {
        SettingsStore store(file.fileName());
        list.save(store, Section);
        store.close();
    }
    QCOMPARE(file.names(Group), (QStringList { "Item_0", "Item_1" }));
    QCOMPARE(file.value(Group, QStringLiteral("Item_0")), QStringLiteral("/d/y.ini"));
    QCOMPARE(file.value(Group, QStringLiteral("Item_1")), QStringLiteral("/d/x.ini"));

    RecentList marked;
    marked.add(QStringLiteral("/d/z.ini"), 5);
    {
        SettingsStore store(file.fileName());
        marked.save(store, Section);
        store.close();
    }
    QCOMPARE(file.value(Group, QStringLiteral("User_0")), QStringLiteral("5"));
}

void tst_RecentFiles::loadPutsItemZeroOnTopAndSkipsGaps()
{
    StoreFile file;
    file.write(Group, QStringLiteral("Item_0"), QStringLiteral("/d/new.ini"));
    file.write(Group, QStringLiteral("Item_2"), QStringLiteral("/d/old.ini"));
    file.write(Group, QStringLiteral("User_2"), QStringLiteral("4"));
    file.write(Group, QStringLiteral("Item_5"), QStringLiteral("/d/beyond.ini"));
    RecentList list;
    list.add(QStringLiteral("/d/before.ini"));
    list.load(SettingsStore(file.fileName()), Section);
    QCOMPARE(list.names(), (QStringList { "/d/new.ini", "/d/old.ini" }));
    QCOMPARE(list.at(1).userData, 4);
}

void tst_RecentFiles::reopenMenuFollowsTheList()
{
    // Whether Reopen is enabled is the main window's rule; the menu only holds the entries.
    QMenu reopen;
    reopen.setObjectName(QStringLiteral("miFileReopen"));
    MRUManager manager;
    manager.setRecentMenu(&reopen);
    QVERIFY(reopen.actions().isEmpty());

    manager.add(QStringLiteral("/d/a.ini"));
    QCOMPARE(reopen.actions().size(), 1);
    QCOMPARE(reopen.actions().constFirst()->statusTip(), QStringLiteral("/d/a.ini"));
    manager.clear();
    QVERIFY(reopen.actions().isEmpty());
}

void tst_RecentFiles::captionsShowTheWholePathLiterally()
{
    QMenu reopen;
    MRUManager manager;
    manager.setRecentMenu(&reopen);
    manager.add(QStringLiteral("/d/Tom & Jerry|old.ini"));
    const QAction *item = manager.menuItems().value(0);
    QVERIFY(item != nullptr);
    QCOMPARE(item->text(), QStringLiteral("/d/Tom && Jerry|old.ini"));
    QCOMPARE(item->iconText(), QStringLiteral("/d/Tom & Jerry|old.ini"));
    QCOMPARE(item->statusTip(), QStringLiteral("/d/Tom & Jerry|old.ini"));
}

void tst_RecentFiles::choosingAnItemReportsItAndKeepsTheOrder()
{
    QMenu reopen;
    MRUManager manager;
    manager.setRecentMenu(&reopen);
    for (const char *name : { "/d/3.ini", "/d/2.ini", "/d/1.ini" })
        manager.add(QString::fromLatin1(name));
    QSignalSpy clicked(&manager, &MRUManager::click);
    manager.menuItems().at(2)->trigger();
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.at(0).at(0).toString(), QStringLiteral("/d/3.ini"));
    QCOMPARE(clicked.at(0).at(2).toInt(), 0);
    QCOMPARE(manager.list().names(), (QStringList { "/d/1.ini", "/d/2.ini", "/d/3.ini" }));

    manager.clickItem(3);
    manager.clickItem(-1);
    QCOMPARE(clicked.size(), 1);

    // A handler that changes the list while the chosen item is still being triggered.
    connect(&manager, &MRUManager::click, &manager, [&manager] { manager.add(QStringLiteral("/d/4.ini")); });
    manager.menuItems().at(0)->trigger();
    QCOMPARE(captions(manager), (QStringList { "/d/4.ini", "/d/1.ini", "/d/2.ini", "/d/3.ini" }));
}

void tst_RecentFiles::rebuildLeavesOtherItemsOfTheMenu()
{
    QMenu reopen;
    QAction *own = reopen.addAction(QStringLiteral("Clear list"));
    MRUManager manager;
    manager.setRecentMenu(&reopen);
    manager.add(QStringLiteral("/d/a.ini"));
    manager.add(QStringLiteral("/d/b.ini"));
    QCOMPARE(reopen.actions().size(), 4); // own item, separator, two entries
    QVERIFY(reopen.actions().at(1)->isSeparator());
    manager.clear();
    QCOMPARE(reopen.actions(), QList<QAction *> { own });
}

QTEST_MAIN(tst_RecentFiles)
#include "tst_recentfiles.moc"
