// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The platform's usual keys beside the window's own: they run the same commands, the menus go on
// showing the window's keys, and no key is claimed twice.
#include "mainwindowfixture.h"

#include <QApplication>
#include <QMenu>
#include <QSet>
#include <QTest>

class tst_UsualKeys : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void usualKeysRunTheCommands_data();
    void usualKeysRunTheCommands();
    void menusShowTheWindowsOwnKeys();
    void noKeyIsClaimedTwice();
};

void tst_UsualKeys::usualKeysRunTheCommands_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("outline");

    const QString sample = QStringLiteral("a(x=1,y=2) b(z=3)");
    for (const QKeySequence &key :
        { QKeySequence(Qt::ALT | Qt::Key_S), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) })
        QTest::addRow("Save As, %s", qPrintable(key.toString()))
            << key << false << QStringList { QStringLiteral("file:SaveDialog1") } << sample;
    for (const QKeySequence &key : { QKeySequence(Qt::CTRL | Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_W) })
        QTest::addRow("Close, %s", qPrintable(key.toString())) << key << false << QStringList() << QString();
    // Exit asks about the changes first; the answer Cancel keeps the window and the document.
    for (const QKeySequence &key : { QKeySequence(Qt::ALT | Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_Q) })
        QTest::addRow("Exit, %s", qPrintable(key.toString()))
            << key << true << QStringList { QStringLiteral("save changes") }
            << sample + QStringLiteral(" New Section #1()");
}

void tst_UsualKeys::usualKeysRunTheCommands()
{
    QFETCH(QKeySequence, key);
    QFETCH(bool, modified);

    MainWindowFixture f;
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    if (modified)
        f.trigger("actEditSectionAdd");
    f.view().setFocus();
    f.dialogs.asked.clear();
    f.dialogs.fileAnswers << std::nullopt;
    f.dialogs.saveAnswers << UserDialogs::Answer::Cancel;
    QTest::keySequence(&f.view(), key);
    QTEST(f.dialogs.asked, "asked");
    QTEST(f.outline(), "outline");
    QVERIFY(f.window->isVisible());
}

void tst_UsualKeys::menusShowTheWindowsOwnKeys()
{
    MainWindowFixture f;
    const QList<std::pair<const char *, QKeySequence>> shown {
        { "actFileSaveAs", QKeySequence(Qt::ALT | Qt::Key_S) },
        { "actFileClose", QKeySequence(Qt::CTRL | Qt::Key_F4) },
        { "actFileExit", QKeySequence(Qt::ALT | Qt::Key_F4) },
    };
    // A menu item and a tooltip show an action's first key.
    for (const auto &[name, key] : shown) {
        QCOMPARE(f.action(name)->shortcut(), key);
        QVERIFY2(f.action(name)->toolTip().endsWith(u'(' + key.toString(QKeySequence::NativeText) + u')'), name);
    }
}

void tst_UsualKeys::noKeyIsClaimedTwice()
{
    MainWindowFixture f;
    // The keys the tree handles itself while it has the focus: a window key among them would
    // take them away from it.
    const QList<QKeySequence> treeKeys { Qt::Key_Up, Qt::Key_Down, Qt::SHIFT | Qt::Key_Up, Qt::SHIFT | Qt::Key_Down,
        Qt::CTRL | Qt::Key_Up, Qt::CTRL | Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::CTRL | Qt::Key_Home,
        Qt::CTRL | Qt::Key_End, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Tab,
        Qt::SHIFT | Qt::Key_Backtab, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_F2, Qt::CTRL | Qt::Key_Insert,
        Qt::CTRL | Qt::Key_C, Qt::Key_Menu };
    QSet<QKeySequence> seen;
    for (const QAction *action : f.window->findChildren<QAction *>()) {
        // The pop-up menu's items repeat their actions' keys for the tree alone, and a dialog's
        // keys are its own window's.
        const auto *owner = qobject_cast<const QWidget *>(action->parent());
        if (action->shortcutContext() == Qt::WidgetShortcut || owner == nullptr || owner->window() != f.window.get())
            continue;
        for (const QKeySequence &key : action->shortcuts()) {
            QVERIFY2(!seen.contains(key), qPrintable(action->objectName() + u' ' + key.toString()));
            QVERIFY2(!treeKeys.contains(key), qPrintable(action->objectName() + u' ' + key.toString()));
            seen.insert(key);
        }
    }
    QVERIFY(seen.contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
}

QTEST_MAIN(tst_UsualKeys)
#include "tst_usualkeys.moc"
