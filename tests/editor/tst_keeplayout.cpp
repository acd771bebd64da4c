// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The choice to keep a file's comments and layout: where it stands, what it remembers, what the
// saves and the recovery copy write with it.
#include "editor/recoverykeeper.h"
#include "mainwindowfixture.h"
#include "settings/settingsstore.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {

const QByteArray Commented = "; how long to wait\n[net]\ntimeout = 30\n\n; where to look\n[paths]\nhome = /srv\n";

QString storeFile(const MainWindowFixture &f)
{
    return f.dir.filePath(QStringLiteral("config/Yorv/YorvSaldrix.conf"));
}

} // namespace

class tst_KeepLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void standsInTheViewMenuOffAtFirstRun();
    void isRememberedInAGroupOfItsOwn();
    void saveAndSaveAsKeepTheLayoutOnlyWhileItIsOn();
    void recoveryCopyKeepsTheLayoutWhileItIsOn();
    void barCountsWhatAPlainSaveWouldRemove();
    void barOffersToKeepThemOrHidesForTheFile();
    void noBarForAFileThePlainSaveWritesBackAsItIs();
    void commentsPaneShowsWhatTheFileHoldsOnTheFocusedNode();
};

void tst_KeepLayout::standsInTheViewMenuOffAtFirstRun()
{
    MainWindowFixture f;
    QStringList menus;
    for (const QAction *menu : f.window->menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, QStringList({ "&File", "&Edit", "&View", "&Help" }));
    QAction *keep = f.action("actViewKeepLayout");
    QCOMPARE(keep->text(), QStringLiteral("&Keep Comments and Layout"));
    QVERIFY(keep->isCheckable());
    QVERIFY(!keep->isChecked());
    QVERIFY(f.child<QMenu>("miView")->actions().contains(keep));
}

void tst_KeepLayout::isRememberedInAGroupOfItsOwn()
{
    MainWindowFixture f;
    f.window->show();
    QCoreApplication::processEvents();
    f.action("actViewKeepLayout")->setChecked(true);
    {
        QSettings settings(storeFile(f), QSettings::NativeFormat);
        QCOMPARE(settings.childGroups(), QStringList { "View" });
        QCOMPARE(settings.value("View/KeepCommentsAndLayout").toString(), QStringLiteral("1"));
    }
    f.window->close();
    f.window.reset();
    SettingsStore::setUserFileName(storeFile(f));
    f.window = std::make_unique<TfrmSaldrixMain>(f.dialogs);
    QVERIFY(f.action("actViewKeepLayout")->isChecked());
    // The window's own values are where they were, beside it.
    QSettings settings(storeFile(f), QSettings::NativeFormat);
    QVERIFY(settings.childGroups().contains("Main"));
    QCOMPARE(settings.value("Main/FormVersion").toString(), QStringLiteral("1000"));
}

void tst_KeepLayout::saveAndSaveAsKeepTheLayoutOnlyWhileItIsOn()
{
    MainWindowFixture f;
    f.open(f.writeFile("net.ini", Commented));
    f.tree().setOptionText(0, 0, DocumentTree::ValueColumn, QStringLiteral("60"));
    f.action("actViewKeepLayout")->setChecked(true);
    f.trigger("actFileSave");
    QVERIFY(f.dialogs.settled());
    QCOMPARE(f.readFile("net.ini"), QByteArray(Commented).replace("timeout = 30", "timeout = 60"));

    f.dialogs.fileAnswers << f.path("copy.ini");
    f.trigger("actFileSaveAs");
    QCOMPARE(f.readFile("copy.ini"), QByteArray(Commented).replace("timeout = 30", "timeout = 60"));

    f.action("actViewKeepLayout")->setChecked(false);
    f.trigger("actFileSave");
    QCOMPARE(f.readFile("copy.ini"), QByteArray("[net]\ntimeout=60\n\n[paths]\nhome=/srv\n"));
    // The file keeps no comments now: the choice has none left to keep.
    f.action("actViewKeepLayout")->setChecked(true);
    f.tree().setOptionText(1, 0, DocumentTree::ValueColumn, QStringLiteral("/home"));
    f.trigger("actFileSave");
    QCOMPARE(f.readFile("copy.ini"), QByteArray("[net]\ntimeout=60\n\n[paths]\nhome=/home\n"));
}

void tst_KeepLayout::recoveryCopyKeepsTheLayoutWhileItIsOn()
{
    MainWindowFixture f;
    f.action("actViewKeepLayout")->setChecked(true);
    f.open(f.writeFile("net.ini", Commented));
    f.view().setCurrentIndex(f.tree().optionIndex(0, 0, DocumentTree::ValueColumn));
    QVERIFY(f.tree().setData(f.tree().optionIndex(0, 0, DocumentTree::ValueColumn), QStringLiteral("90")));
    auto *keeper = f.window->findChild<RecoveryKeeper *>();
    QVERIFY(keeper);
    keeper->writeNow();
    QFile copy(keeper->copyPath());
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray(Commented).replace("timeout = 30", "timeout = 90"));
}

void tst_KeepLayout::barCountsWhatAPlainSaveWouldRemove()
{
    MainWindowFixture f;
    f.open(f.writeFile("net.ini", Commented));
    auto *bar = f.child<QFrame>("LayoutLossBar");
    QVERIFY(!bar->isHidden());
    const QString sentence = QStringLiteral(
        "Saving will remove 2 comment lines and 1 blank line that this file holds, and change the spacing of 2 lines.");
    QCOMPARE(f.child<QLabel>("lbLayoutLoss")->text(), sentence);
    // Read out as the changed-on-disk bar is: a notification named by its sentence.
    QAccessibleInterface *said = QAccessible::queryAccessibleInterface(bar);
    QVERIFY(said);
    QCOMPARE(said->role(), QAccessible::Notification);
    QCOMPARE(said->text(QAccessible::Name), sentence);

    f.open(f.writeFile("php.ini", "[PHP]\n;extension=bz2\nextension=curl\nextension=mbstring\n"));
    QCOMPARE(f.child<QLabel>("lbLayoutLoss")->text(),
        QStringLiteral("Saving will remove 1 comment line and 1 repeated option that this file holds."));
}

void tst_KeepLayout::barOffersToKeepThemOrHidesForTheFile()
{
    MainWindowFixture f;
    const QString net = f.writeFile("net.ini", Commented);
    f.open(net);
    auto *bar = f.child<QFrame>("LayoutLossBar");
    f.child<QPushButton>("btnKeepThem")->click();
    QVERIFY(f.action("actViewKeepLayout")->isChecked());
    QVERIFY(bar->isHidden());
    f.action("actViewKeepLayout")->setChecked(false);
    QVERIFY(!bar->isHidden());

    f.child<QPushButton>("btnDismiss")->click();
    QVERIFY(bar->isHidden());
    QVERIFY(!f.action("actViewKeepLayout")->isChecked());
    f.trigger("actFileClose");
    f.open(net);
    QVERIFY(bar->isHidden()); // for this file
    f.open(f.writeFile("other.ini", Commented));
    QVERIFY(!bar->isHidden());
    // Once the plain save has removed them, there is nothing left to warn of.
    f.trigger("actFileSave");
    QVERIFY(bar->isHidden());
}

void tst_KeepLayout::noBarForAFileThePlainSaveWritesBackAsItIs()
{
    MainWindowFixture f;
    for (const QByteArray &bytes : { QByteArray("[a]\nx=1\ny=2\n\n[b]\nz=3\n"), QByteArray(SampleIni),
             QByteArray("\xef\xbb\xbf[a]\r\nx=1\r\n") }) {
        f.open(f.writeFile("plain.ini", bytes));
        QVERIFY(f.child<QFrame>("LayoutLossBar")->isHidden());
    }
}

void tst_KeepLayout::commentsPaneShowsWhatTheFileHoldsOnTheFocusedNode()
{
    MainWindowFixture f;
    auto *pane = f.child<QPlainTextEdit>("CommentsPane");
    QVERIFY(pane->isHidden());
    f.action("actViewComments")->setChecked(true);
    QVERIFY(!pane->isHidden());
    QVERIFY(pane->isReadOnly());
    QCOMPARE(pane->accessibleName(), QStringLiteral("Comments"));
    f.open(f.writeFile("php.ini",
        "; the PHP section\n[PHP]\n\n; how much memory\n; a script may take\nmemory_limit = 128M\n;extension=bz2\n"
        "extension=curl\nextension=mbstring\n"));
    f.view().setFocusedNode(f.tree().sectionIndex(0));
    QCOMPARE(pane->toPlainText(), QStringLiteral("; the PHP section"));
    f.view().setFocusedNode(f.tree().optionIndex(0, 0));
    QCOMPARE(pane->toPlainText(), QStringLiteral("; how much memory\n; a script may take"));
    f.view().setFocusedNode(f.tree().optionIndex(0, 1));
    QCOMPARE(pane->toPlainText(), QStringLiteral(";extension=bz2\nAlso in the file: extension=mbstring"));
    // Remembered as the choice is.
    QSettings settings(storeFile(f), QSettings::NativeFormat);
    QCOMPARE(settings.value("View/CommentsPane").toString(), QStringLiteral("1"));
}

QTEST_MAIN(tst_KeepLayout)
#include "tst_keeplayout.moc"
