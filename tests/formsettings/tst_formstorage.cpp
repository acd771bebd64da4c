// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storefiles.h"

#include "formsettings/formstorage.h"
#include "formsettings/mrumanager.h"
#include "settings/placementtext.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QTest>

namespace {

const QString Main = QStringLiteral("Main");

QString suffix()
{
    return screenSizeSuffix(QGuiApplication::primaryScreen()->geometry().size());
}
QString ppi()
{
    return QString::number(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()));
}

// One run of the program as far as the window settings go: build, show, close, destroy.
struct Run {
    explicit Run(const StoreFile &file)
    {
        form.resize(464, 322);
        openDialog = new QFileDialog(&form);
        openDialog->setObjectName(QStringLiteral("OpenDialog1"));
        saveDialog = new QFileDialog(&form);
        saveDialog->setObjectName(QStringLiteral("SaveDialog1"));
        reopen = new QMenu(&form);
        recent = new MRUManager(&form);
        recent->setRecentMenu(reopen);
        storage = new FormStorage(&form);
        storage->setStoreFileName(file.fileName());
        storage->setRecentFiles(recent, QStringLiteral("TfrmSaldrixMain.MRUManager1"));
        storage->setStoredProps({ QStringLiteral("OpenDialog1.InitialDir"), QStringLiteral("SaveDialog1.InitialDir") });
        storage->setErrorHandler([this](const QString &message) { errors.append(message); });
    }
    ~Run() { storage->formDestroying(); }
    Run(const Run &) = delete;
    Run &operator=(const Run &) = delete;

    // The window takes its designed place first; the stored one replaces it.
    void show()
    {
        form.show();
        storage->restoreFormPlacement();
        QCoreApplication::processEvents();
    }
    void close()
    {
        storage->formCloseAllowed();
        form.hide();
    }

    QMainWindow form;
    QFileDialog *openDialog = nullptr;
    QFileDialog *saveDialog = nullptr;
    QMenu *reopen = nullptr;
    MRUManager *recent = nullptr;
    FormStorage *storage = nullptr;
    QStringList errors;
};

void writeVersion(const StoreFile &file, const QString &version, const QString &normPos = QString())
{
    file.write(Main, QStringLiteral("FormVersion"), version);
    file.write(Main, QStringLiteral("PixelsPerInch"), ppi());
    if (!normPos.isNull())
        file.write(Main, QStringLiteral("NormPos"), normPos);
}

} // namespace

class tst_FormStorage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstRunKeepsTheDesignAndWritesEverythingAtExit();
    void olderVersionRestoresNothingButTheNextCloseWritesAll();
    void placementComesBackAcrossRuns_data();
    void placementComesBackAcrossRuns();
    void minimizedAtCloseOpensNormalThenMinimizes();
    void otherScreenSizeFallsBackToThePlainName();
    void unusableRectangleKeepsTheDesign_data();
    void unusableRectangleKeepsTheDesign();
    void rectangleOnNoScreenIsCentredOnThePrimary();
    void dialogFoldersAreTrimmedAndWrittenBack();
    void destructionSavesOnlyWhenCloseDidNot();
    void unreadableStoreIsReportedAndNeverOverwritten();
    void unbindableEntriesAreDropped();
};

void tst_FormStorage::firstRunKeepsTheDesignAndWritesEverythingAtExit()
{
    StoreFile file;
    QRect shown;
    {
        Run run(file);
        run.show();
        QVERIFY(run.storage->isRestored());
        QVERIFY(!run.storage->placementApplied());
        QCOMPARE(run.form.size(), QSize(464, 322));
        QVERIFY(run.reopen->actions().isEmpty());
        shown = run.form.normalGeometry();
        run.close();
        QVERIFY(run.errors.isEmpty());
    }
    const QString rect = formatFourIntegers(shown.x(), shown.y(), shown.x() + 464, shown.y() + 322);
    QCOMPARE(file.names(Main),
        (QStringList { "Flags", "FormVersion", "MinMaxPos", "MinMaxPos" + suffix(), "NormPos", "NormPos" + suffix(),
            "OpenDialog1_InitialDir", "PixelsPerInch", "SaveDialog1_InitialDir", "ShowCmd", "Visible" }));
    const QList<std::pair<QString, QString>> expected { { "FormVersion", "1000" }, { "Flags", "0" }, { "ShowCmd", "1" },
        { "PixelsPerInch", ppi() }, { "NormPos", rect }, { "NormPos" + suffix(), rect },
        { "MinMaxPos" + suffix(), file.value(Main, "MinMaxPos") }, { "Visible", "0" }, { "OpenDialog1_InitialDir", "" },
        { "SaveDialog1_InitialDir", "" } };
    for (const auto &[name, text] : expected)
        QCOMPARE(file.value(Main, name), text);
    QCOMPARE(file.names(QStringLiteral("Main/TfrmSaldrixMain.MRUManager1")), QStringList());
}

void tst_FormStorage::olderVersionRestoresNothingButTheNextCloseWritesAll()
{
    StoreFile file;
    writeVersion(file, QStringLiteral("999"), QStringLiteral("10,20,310,220"));
    file.write(Main, QStringLiteral("ShowCmd"), QStringLiteral("3"));
    file.write(Main, QStringLiteral("OpenDialog1_InitialDir"), QStringLiteral("/stored"));
    file.write(
        QStringLiteral("Main/TfrmSaldrixMain.MRUManager1"), QStringLiteral("Item_0"), QStringLiteral("/d/a.ini"));
    Run run(file);
    run.show();
    QVERIFY(run.storage->isRestored());
    QCOMPARE(run.form.size(), QSize(464, 322));
    QVERIFY(run.recent->list().isEmpty());
    QCOMPARE(run.openDialog->property("InitialDir").toString(), QString());
    run.close();
    QCOMPARE(file.value(Main, QStringLiteral("FormVersion")), QStringLiteral("1000"));
    QCOMPARE(file.value(Main, QStringLiteral("ShowCmd")), QStringLiteral("1"));
    QCOMPARE(file.value(Main, QStringLiteral("OpenDialog1_InitialDir")), QStringLiteral(""));
    QCOMPARE(file.names(QStringLiteral("Main/TfrmSaldrixMain.MRUManager1")), QStringList());
}

void tst_FormStorage::placementComesBackAcrossRuns_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("showCmd");
    QTest::newRow("normal") << int(Qt::WindowNoState) << "1";
    QTest::newRow("maximized") << int(Qt::WindowMaximized) << "3";
    QTest::newRow("minimized") << int(Qt::WindowMinimized) << "2";
}

void tst_FormStorage::placementComesBackAcrossRuns()
{
    QFETCH(int, state);
    QFETCH(QString, showCmd);
    StoreFile file;
    const QRect normal(30, 40, 400, 300);
    {
        Run run(file);
        run.show();
        run.form.setGeometry(normal);
        run.form.setWindowState(Qt::WindowStates(state));
        run.recent->add(QStringLiteral("/d/a.ini"));
        run.recent->add(QStringLiteral("/d/b.ini"));
        QCoreApplication::processEvents();
        run.close();
    }
    QCOMPARE(file.value(Main, QStringLiteral("ShowCmd")), showCmd);
    QCOMPARE(file.value(Main, QStringLiteral("NormPos")), QStringLiteral("30,40,430,340"));
    Run run(file);
    run.show();
    QVERIFY(run.storage->placementApplied());
    QTRY_COMPARE(int(run.form.windowState()), state);
    QCOMPARE(run.form.normalGeometry(), normal);
    QCOMPARE(run.recent->list().names(), (QStringList { "/d/b.ini", "/d/a.ini" }));
    QCOMPARE(run.reopen->actions().size(), 2);
}

void tst_FormStorage::minimizedAtCloseOpensNormalThenMinimizes()
{
    StoreFile file;
    writeVersion(file, QStringLiteral("1000"), QStringLiteral("30,40,430,340"));
    file.write(Main, QStringLiteral("ShowCmd"), QStringLiteral("2"));
    Run run(file);
    run.form.show();
    run.storage->restoreFormPlacement();
    QVERIFY(!run.form.isMinimized()); // the minimize follows once the window is up
    QTRY_VERIFY(run.form.isMinimized());
    QCOMPARE(run.form.normalGeometry(), QRect(30, 40, 400, 300));
}

void tst_FormStorage::otherScreenSizeFallsBackToThePlainName()
{
    StoreFile file;
    writeVersion(file, QStringLiteral("1000"), QStringLiteral("30,40,430,340"));
    file.write(Main, QStringLiteral("NormPos(12345x678)"), QStringLiteral("1,2,201,102"));
    {
        Run run(file);
        run.show();
        QCOMPARE(run.form.geometry(), QRect(30, 40, 400, 300));
    }
    // The name for this screen wins over the plain one.
    file.write(Main, "NormPos" + suffix(), QStringLiteral("50,60,350,260"));
    Run run(file);
    run.show();
    QCOMPARE(run.form.geometry(), QRect(50, 60, 300, 200));
}

void tst_FormStorage::unusableRectangleKeepsTheDesign_data()
{
    QTest::addColumn<QString>("normPos");
    QTest::addColumn<int>("ppiShift");
    QTest::newRow("other resolution") << "30,40,430,340" << 24;
    QTest::newRow("left not less than right") << "300,40,300,340" << 0;
}

void tst_FormStorage::unusableRectangleKeepsTheDesign()
{
    QFETCH(QString, normPos);
    QFETCH(int, ppiShift);
    StoreFile file;
    writeVersion(file, QStringLiteral("1000"), normPos);
    file.write(Main, QStringLiteral("PixelsPerInch"), QString::number(ppi().toInt() + ppiShift));
    file.write(
        QStringLiteral("Main/TfrmSaldrixMain.MRUManager1"), QStringLiteral("Item_0"), QStringLiteral("/d/a.ini"));
    Run run(file);
    run.show();
    QVERIFY(!run.storage->placementApplied());
    QCOMPARE(run.form.size(), QSize(464, 322));
    QCOMPARE(run.recent->list().names(), QStringList { "/d/a.ini" }); // the rest is still read
}

void tst_FormStorage::rectangleOnNoScreenIsCentredOnThePrimary()
{
    StoreFile file;
    writeVersion(file, QStringLiteral("1000"), QStringLiteral("30000,30000,30300,30200"));
    Run run(file);
    run.show();
    QCOMPARE(run.form.size(), QSize(300, 200));
    QCOMPARE(run.form.geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
}

void tst_FormStorage::dialogFoldersAreTrimmedAndWrittenBack()
{
    QTemporaryDir folder;
    StoreFile file;
    writeVersion(file, QStringLiteral("1000"));
    file.write(Main, QStringLiteral("OpenDialog1_InitialDir"), "  " + folder.path() + "\t ");
    file.write(Main, QStringLiteral("SaveDialog1_InitialDir"), QStringLiteral(" "));
    {
        Run run(file);
        run.show();
        QCOMPARE(run.openDialog->property("InitialDir").toString(), folder.path());
        QCOMPARE(run.openDialog->directory().absolutePath(), folder.path());
        QCOMPARE(run.saveDialog->property("InitialDir").toString(), QString());
        // Browsing elsewhere does not change the folder the dialog starts in next time.
        run.openDialog->setDirectory(QDir::rootPath());
        run.close();
    }
    QCOMPARE(file.value(Main, QStringLiteral("OpenDialog1_InitialDir")), folder.path());
    QCOMPARE(file.value(Main, QStringLiteral("SaveDialog1_InitialDir")), QStringLiteral(""));
}

void tst_FormStorage::destructionSavesOnlyWhenCloseDidNot()
{
    StoreFile file;
    {
        Run run(file);
        run.show();
        run.form.hide(); // gone without a permitted close
    }
    QCOMPARE(file.value(Main, QStringLiteral("Visible")), QStringLiteral("1"));
    QCOMPARE(file.value(Main, QStringLiteral("ShowCmd")), QStringLiteral("0"));
    {
        Run run(file);
        run.show();
        run.close();
        QCOMPARE(file.value(Main, QStringLiteral("Visible")), QStringLiteral("0"));
        file.write(Main, QStringLiteral("Visible"), QStringLiteral("marker"));
    }
    QCOMPARE(file.value(Main, QStringLiteral("Visible")), QStringLiteral("marker"));

    // A window that was never shown has restored nothing and saves nothing.
    StoreFile untouched;
    {
        Run run(untouched);
        run.close();
    }
    QVERIFY(!QFile::exists(untouched.fileName()));
}

void tst_FormStorage::unreadableStoreIsReportedAndNeverOverwritten()
{
    // A folder where the store's file should be cannot be read as one.
    StoreFile file;
    QVERIFY(QDir().mkpath(file.fileName()));
    Run run(file);
    run.show();
    QCOMPARE(run.errors.size(), 1);
    QVERIFY2(run.errors.at(0).contains(file.fileName()), qPrintable(run.errors.at(0)));
    QVERIFY(!run.storage->isRestored());
    QVERIFY(run.form.isVisible());
    run.close();
    QCOMPARE(run.errors.size(), 1);
    QVERIFY(!run.storage->isSaved());
}

void tst_FormStorage::unbindableEntriesAreDropped()
{
    StoreFile file;
    Run run(file);
    run.storage->setStoredProps({ QStringLiteral(" OpenDialog1 . initialdir "), QStringLiteral("Missing.InitialDir"),
        QStringLiteral(".InitialDir"), QStringLiteral("SaveDialog1."), QStringLiteral("NoDot"),
        QStringLiteral("SaveDialog1.NoSuchProperty"), QStringLiteral("SaveDialog1.defaultsuffix") });
    QCOMPARE(run.storage->storedProps(),
        (QStringList { QStringLiteral("OpenDialog1_InitialDir"), QStringLiteral("SaveDialog1_defaultSuffix") }));
    QCOMPARE(run.storage->recentFilesSection(), QStringLiteral("Main\\TfrmSaldrixMain.MRUManager1"));
}

QTEST_MAIN(tst_FormStorage)
#include "tst_formstorage.moc"
