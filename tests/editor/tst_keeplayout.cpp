// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The choice to keep a file's comments and layout: where it stands, what it remembers, what the
// saves and the recovery copy write with it.
#include "editor/recoverykeeper.h"
#include "mainwindowfixture.h"
#include "settings/settingsstore.h"

#include <QMenu>
#include <QMenuBar>
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

QTEST_MAIN(tst_KeepLayout)
#include "tst_keeplayout.moc"
