// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the main window keeps between runs, through restarts against a store in a temporary folder.
#include "about/saldrixabout.h"
#include "formsettings/mrumanager.h"
#include "mainwindowfixture.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <QToolButton>

namespace {

QString storeFile(const MainWindowFixture &f)
{
    return f.dir.filePath(QStringLiteral("config/Yorv/YorvSaldrix.conf"));
}

QString stored(const MainWindowFixture &f, const QString &key)
{
    const QSettings settings(storeFile(f), QSettings::NativeFormat);
    const QVariant value = settings.value(key);
    return value.isValid() ? value.toString() : QStringLiteral("<missing>");
}

QStringList storedNames(const MainWindowFixture &f, const QString &group)
{
    QSettings settings(storeFile(f), QSettings::NativeFormat);
    settings.beginGroup(group);
    QStringList names = settings.childKeys();
    names.sort();
    return names;
}

void show(const MainWindowFixture &f)
{
    f.window->show();
    QCoreApplication::processEvents();
}

// Ends the run as Exit does, then starts the next one on the same store (not yet shown).
void restart(MainWindowFixture &f)
{
    f.window->close();
    f.window.reset();
    SettingsStore::setUserFileName(storeFile(f));
    f.window = std::make_unique<TfrmSaldrixMain>(f.dialogs);
}

QStringList reopenCaptions(const MainWindowFixture &f)
{
    QStringList captions;
    for (const QAction *item : f.child<QMenu>("miFileReopen")->actions())
        captions << item->text();
    return captions;
}

} // namespace

class tst_MainWindowSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstRunWritesTheWholeLayoutAtExit();
    void olderLayoutVersionRestoresNothing();
    void placementAndColumnWidthsSurviveARestart();
    void recentFilesKeepTheFiveNewestAcrossRuns();
    void reopeningKeepsTheOrder();
    void unreadableStoreIsReportedAndTheWindowStillWorks();
    void unwritableStoreShowsOneBoxAtExit();
    void aboutShowsItsDialogThroughTheSeam();
};

void tst_MainWindowSettings::firstRunWritesTheWholeLayoutAtExit()
{
    MainWindowFixture f;
    show(f);
    QCOMPARE(f.window->size(), QSize(464, 322));
    QVERIFY(!f.child<QMenu>("miFileReopen")->menuAction()->isEnabled());
    QVERIFY(!f.child<QToolButton>("ToolButton3")->isEnabled());
    const QRect normal = f.window->normalGeometry();
    restart(f);
    QCOMPARE(stored(f, QStringLiteral("Main/FormVersion")), QStringLiteral("1000"));
    QCOMPARE(stored(f, QStringLiteral("Main/Visible")), QStringLiteral("0"));
    QCOMPARE(stored(f, QStringLiteral("Main/OpenDialog1_InitialDir")), QString());
    QCOMPARE(stored(f, QStringLiteral("Main/NormPos")),
        QStringLiteral("%1,%2,%3,%4").arg(normal.x()).arg(normal.y()).arg(normal.x() + 464).arg(normal.y() + 322));
    QCOMPARE(storedNames(f, QStringLiteral("Main/TfrmSaldrixMain.MRUManager1")), QStringList());
    QCOMPARE(stored(f, QStringLiteral("Tree/Columns/OptionsTreeListColumn2/Index")), QStringLiteral("1"));
    QVERIFY(f.dialogs.errors.isEmpty());
}

void tst_MainWindowSettings::olderLayoutVersionRestoresNothing()
{
    MainWindowFixture f;
    {
        QSettings settings(storeFile(f), QSettings::NativeFormat);
        settings.setValue(QStringLiteral("Main/FormVersion"), QStringLiteral("999"));
        settings.setValue(QStringLiteral("Main/NormPos"), QStringLiteral("10,20,310,220"));
        settings.setValue(QStringLiteral("Main/TfrmSaldrixMain.MRUManager1/Item_0"), f.writeFile("a.ini", SampleIni));
        settings.setValue(QStringLiteral("Main/OpenDialog1_InitialDir"), f.dir.path());
    }
    restart(f);
    show(f);
    QCOMPARE(f.window->size(), QSize(464, 322));
    QVERIFY(!f.child<QMenu>("miFileReopen")->menuAction()->isEnabled());
    restart(f);
    QCOMPARE(stored(f, QStringLiteral("Main/FormVersion")), QStringLiteral("1000"));
    QCOMPARE(stored(f, QStringLiteral("Main/OpenDialog1_InitialDir")), QString());
    QCOMPARE(storedNames(f, QStringLiteral("Main/TfrmSaldrixMain.MRUManager1")), QStringList());
}

void tst_MainWindowSettings::placementAndColumnWidthsSurviveARestart()
{
    MainWindowFixture f;
    show(f);
    f.window->setGeometry(40, 50, 500, 400);
    QCoreApplication::processEvents();
    f.view().header()->resizeSection(0, 300);
    const QList<int> widths = f.view().columnWidths();
    QVERIFY(widths.at(0) == 300);
    f.window->showMaximized();
    QCoreApplication::processEvents();
    restart(f);
    show(f);
    QTRY_VERIFY(f.window->isMaximized());
    QCOMPARE(f.window->normalGeometry(), QRect(40, 50, 500, 400));
    f.window->showNormal();
    QTRY_COMPARE(f.view().columnWidths(), widths);
}

void tst_MainWindowSettings::recentFilesKeepTheFiveNewestAcrossRuns()
{
    MainWindowFixture f;
    show(f);
    QStringList files;
    for (int i = 1; i <= 6; ++i) {
        files.prepend(f.writeFile(QStringLiteral("f%1.ini").arg(i), SampleIni));
        f.open(files.first());
        QVERIFY(f.child<QToolButton>("ToolButton3")->isEnabled());
    }
    files.removeLast();
    QCOMPARE(reopenCaptions(f), files);
    restart(f);
    QCOMPARE(storedNames(f, QStringLiteral("Main/TfrmSaldrixMain.MRUManager1")),
        (QStringList { "Item_0", "Item_1", "Item_2", "Item_3", "Item_4" }));
    QCOMPARE(stored(f, QStringLiteral("Main/TfrmSaldrixMain.MRUManager1/Item_0")), files.first());
    show(f);
    QCOMPARE(reopenCaptions(f), files);
    QVERIFY(f.child<QMenu>("miFileReopen")->menuAction()->isEnabled());
    QVERIFY(f.child<QToolButton>("ToolButton3")->isEnabled());
}

void tst_MainWindowSettings::reopeningKeepsTheOrder()
{
    MainWindowFixture f;
    show(f);
    const QString a = f.writeFile(QStringLiteral("a.ini"), "[a]\nx=1\n");
    const QString b = f.writeFile(QStringLiteral("b.ini"), "[b]\ny=2\n");
    const QString c = f.writeFile(QStringLiteral("Tom & Jerry.ini"), "[c]\nz=3\n");
    for (const QString &file : { c, b, a })
        f.open(file);
    const QList<QAction *> items = f.child<QMenu>("miFileReopen")->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items.at(2)->text(), f.dir.filePath(QStringLiteral("Tom && Jerry.ini")));
    items.at(2)->trigger();
    QCOMPARE(f.outline(), QStringLiteral("c(z=3)"));
    QCOMPARE(f.caption(), QStringLiteral("Tom & Jerry.ini - YorvSaldrix"));
    QCoreApplication::processEvents();
    QCOMPARE(f.child<MRUManager>("MRUManager1")->list().names(), (QStringList { a, b, c }));
    QVERIFY(f.dialogs.settled());
}

void tst_MainWindowSettings::unreadableStoreIsReportedAndTheWindowStillWorks()
{
    MainWindowFixture f;
    f.window.reset();
    QFile::remove(storeFile(f));
    QVERIFY(QDir().mkpath(storeFile(f))); // a folder where the file should be
    f.window = std::make_unique<TfrmSaldrixMain>(f.dialogs);
    show(f);
    QVERIFY(f.window->isVisible());
    // One box for the start, centred on the screen as there was no window yet.
    QCOMPARE(f.dialogs.errors, QStringList { QStringLiteral("Unable to open the settings store ") + storeFile(f) });
    QCOMPARE(f.dialogs.errorsOwned, QList<bool> { false });
    // Nothing is written back over a store that could not be read.
    f.window->close();
    f.window.reset();
    QCOMPARE(f.dialogs.errors.size(), 1);
}

void tst_MainWindowSettings::unwritableStoreShowsOneBoxAtExit()
{
    MainWindowFixture f;
    f.window.reset();
    // The store's folder is a plain file: the store reads as empty and cannot be written, even by root.
    const QString folder = QFileInfo(storeFile(f)).absolutePath();
    QVERIFY(QDir(folder).removeRecursively());
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore::setUserFileName(storeFile(f));
    f.window = std::make_unique<TfrmSaldrixMain>(f.dialogs);
    show(f);
    QCOMPARE(f.dialogs.errors, QStringList());

    f.window->close();
    QCOMPARE(f.dialogs.errors, QStringList { QStringLiteral("Unable to write to the settings store ") + storeFile(f) });
    QCOMPARE(f.dialogs.errorsOwned, QList<bool> { true });
    // The save at destruction still happens, and no box repeats the failure.
    QVERIFY(QFile::remove(folder));
    f.window.reset();
    QCOMPARE(f.dialogs.errors.size(), 1);
    QCOMPARE(stored(f, QStringLiteral("Main/Visible")), QStringLiteral("1"));
}

void tst_MainWindowSettings::aboutShowsItsDialogThroughTheSeam()
{
    MainWindowFixture f;
    QString version;
    QString memory;
    f.dialogs.onDialog = [&](QDialog &dialog) {
        version = dialog.findChild<QLabel *>(QStringLiteral("lbVersion"))->text();
        memory = dialog.findChild<QLabel *>(QStringLiteral("lbMemory2"))->text();
    };
    f.trigger("actHelpAbout");
    QCOMPARE(f.dialogs.shownDialogs, QStringList { "frmAboutDlg" });
    QCOMPARE(version, QStringLiteral("Version 1.8"));
    QCOMPARE(memory, memoryFigure(totalPhysicalMemory()));
    QVERIFY(f.window->findChildren<QDialog *>(QStringLiteral("frmAboutDlg")).isEmpty());
}

QTEST_MAIN(tst_MainWindowSettings)
#include "tst_mainwindow_settings.moc"
