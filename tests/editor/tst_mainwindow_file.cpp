// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// New, Open, Save, Save As, Close, Exit, the command-line file and the recent files, through the
// unsaved-changes question and the file dialogs.
#include "mainwindowfixture.h"

#include <QDir>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

using Answer = UserDialogs::Answer;
Q_DECLARE_METATYPE(UserDialogs::Answer)

class tst_MainWindowFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newWithoutChangesClearsWithoutAQuestion();
    void newAndCloseSettleUnsavedChanges_data();
    void newAndCloseSettleUnsavedChanges();
    void openAddsTheNameToRecentFilesBeforeReading();
    void openOfAMissingNameGivesAnEmptyDocumentUnderIt();
    void openOfAnUnreadableFileLeavesAnEmptyUntitledDocument();
    void saveAndSaveAsStoreTheDocument();
    void theTextFormatBelongsToTheDocument();
    void failedSaveKeepsTheChangesPending();
    void closingTheWindowAsksAboutUnsavedChanges_data();
    void closingTheWindowAsksAboutUnsavedChanges();
    void commandLineFileIsOpenedAtFirstShow_data();
    void commandLineFileIsOpenedAtFirstShow();
    void recentFileChoiceFollowsOpensAnswers();
    void nothingChangesTheTreeWhileALoadRuns();
    void theHourglassLastsAsLongAsALoadOrASave();
};

namespace {

// A window holding the sample file (or an untitled one), changed by a new section with one
// option, so the question comes; a save writes "New option #1".
void openAndChange(MainWindowFixture &f, bool named)
{
    if (named)
        f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    f.trigger("actEditSectionAdd");
    f.trigger("actEditOptionAdd");
    f.dialogs.asked.clear();
    QVERIFY(f.window->isModified());
}

} // namespace

void tst_MainWindowFile::newWithoutChangesClearsWithoutAQuestion()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    QCOMPARE(f.caption(), QStringLiteral("doc.ini - YorvSaldrix"));
    f.trigger("actFileNew");
    QCOMPARE(f.tree().sectionCount(), 0);
    QCOMPARE(f.window->fileName(), QString());
    QCOMPARE(f.caption(), QStringLiteral("Untitled - YorvSaldrix"));
    QCOMPARE(f.dialogs.asked, QStringList({ "file:OpenDialog1" }));
    QVERIFY(!f.action("actFileClose")->isEnabled());
}

void tst_MainWindowFile::newAndCloseSettleUnsavedChanges_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<bool>("named");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("saveAs"); // answer of the Save dialog; "-" for none shown, "" cancelled
    QTest::addColumn<bool>("cleared"); // the command went ahead
    QTest::addColumn<QString>("savedTo");

    // Cancelling the Save dialog keeps the work and stops the command, Open included.
    for (const QByteArray &command :
        { QByteArray("actFileNew"), QByteArray("actFileClose"), QByteArray("actFileOpen") }) {
        const auto row = [&command](const char *name) -> QTestData & {
            return QTest::addRow("%s %s", command.constData(), name) << command;
        };
        row("cancel") << true << Answer::Cancel << "-" << false << "";
        row("no") << true << Answer::No << "-" << true << "";
        row("yes, named") << true << Answer::Yes << "-" << true << "doc.ini";
        row("yes, untitled, dialog cancelled") << false << Answer::Yes << "" << false << "";
        row("yes, untitled, name chosen") << false << Answer::Yes << "new.ini" << true << "new.ini";
    }
}

void tst_MainWindowFile::newAndCloseSettleUnsavedChanges()
{
    QFETCH(QByteArray, command);
    QFETCH(bool, named);
    QFETCH(Answer, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, cleared);
    QFETCH(QString, savedTo);

    MainWindowFixture f;
    openAndChange(f, named);
    const QString before = f.outline();
    const bool open = command == "actFileOpen";
    const QString other = f.writeFile(QStringLiteral("other.ini"), "[o]\nk=v\n");
    f.dialogs.saveAnswers << answer;
    if (saveAs != u"-")
        f.dialogs.fileAnswers << (saveAs.isEmpty() ? std::nullopt : std::optional<QString>(f.path(saveAs)));
    if (open && cleared)
        f.dialogs.fileAnswers << other;
    f.trigger(command.constData());

    QVERIFY(f.dialogs.settled());
    QCOMPARE(f.dialogs.asked.contains(QStringLiteral("file:OpenDialog1")), open && cleared);
    QCOMPARE(f.window->isModified(), !cleared);
    if (!cleared) {
        QCOMPARE(f.outline(), before);
        QCOMPARE(f.modifiedPanel(), QStringLiteral("Modified"));
    } else if (open) {
        QCOMPARE(f.outline(), QStringLiteral("o(k=v)"));
        QCOMPARE(f.window->fileName(), other);
    } else {
        QCOMPARE(f.tree().sectionCount(), 0);
        QCOMPARE(f.caption(), QStringLiteral("Untitled - YorvSaldrix"));
        QCOMPARE(f.modifiedPanel(), QString());
    }
    if (!savedTo.isEmpty())
        QVERIFY(f.readFile(savedTo).contains("New option #1"));
    else if (named)
        QCOMPARE(f.readFile(QStringLiteral("doc.ini")), SampleIni);
}

void tst_MainWindowFile::openAddsTheNameToRecentFilesBeforeReading()
{
    MainWindowFixture f;
    QStringList recent;
    int sectionsWhenAdded = -1;
    QObject::connect(f.window.get(), &TfrmSaldrixMain::recentFileOpened, f.window.get(), [&](const QString &name) {
        recent << name;
        sectionsWhenAdded = f.tree().sectionCount();
    });
    f.dialogs.fileAnswers << std::nullopt;
    f.trigger("actFileOpen");
    QVERIFY(recent.isEmpty());
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    QCOMPARE(recent, QStringList({ f.path(QStringLiteral("doc.ini")) }));
    QCOMPARE(sectionsWhenAdded, 0);
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
    // Saving, even under a new name, does not touch the list.
    f.dialogs.fileAnswers << f.path(QStringLiteral("copy.ini"));
    f.trigger("actFileSaveAs");
    f.trigger("actFileSave");
    QCOMPARE(recent.size(), 1);
    // The Open dialog proposes the name chosen in it last time.
    f.dialogs.fileAnswers << std::nullopt;
    f.trigger("actFileOpen");
    QCOMPARE(f.dialogs.proposedFiles.constLast(), f.path(QStringLiteral("doc.ini")));
}

void tst_MainWindowFile::openOfAMissingNameGivesAnEmptyDocumentUnderIt()
{
    MainWindowFixture f;
    QSignalSpy recent(f.window.get(), &TfrmSaldrixMain::recentFileOpened);
    f.open(f.path(QStringLiteral("later.ini")));
    QCOMPARE(f.tree().sectionCount(), 0);
    QCOMPARE(f.window->fileName(), f.path(QStringLiteral("later.ini")));
    QCOMPARE(f.caption(), QStringLiteral("later.ini - YorvSaldrix"));
    QCOMPARE(recent.size(), 1);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void tst_MainWindowFile::openOfAnUnreadableFileLeavesAnEmptyUntitledDocument()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("folder.ini")));
    f.open(f.path(QStringLiteral("folder.ini")));
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY2(f.dialogs.errors.constFirst().startsWith(QStringLiteral("Unable to read")),
        qPrintable(f.dialogs.errors.constFirst()));
    QCOMPARE(f.tree().sectionCount(), 0);
    QCOMPARE(f.window->fileName(), QString());
    QVERIFY(!f.window->isModified());
    QCOMPARE(f.caption(), QStringLiteral("Untitled - YorvSaldrix"));
    QVERIFY(!f.window->isLoading());
}

void tst_MainWindowFile::saveAndSaveAsStoreTheDocument()
{
    MainWindowFixture f;
    // Untitled: Save asks for a name; cancelling it changes nothing.
    f.trigger("actEditSectionAdd");
    f.trigger("actEditOptionAdd");
    f.dialogs.fileAnswers << std::nullopt;
    f.trigger("actFileSave");
    QVERIFY(f.window->isModified());
    QCOMPARE(f.window->fileName(), QString());
    f.dialogs.fileAnswers << f.path(QStringLiteral("first.ini"));
    f.trigger("actFileSave");
    QCOMPARE(f.readFile(QStringLiteral("first.ini")), QByteArray("[New Section #1]\nNew option #1=\n"));
    QVERIFY(!f.window->isModified());
    QCOMPARE(f.caption(), QStringLiteral("first.ini - YorvSaldrix"));
    QCOMPARE(f.modifiedPanel(), QString());
    // Named: Save writes at once, also without changes; a file changed behind the editor's back
    // is overwritten only after the question.
    f.writeFile(QStringLiteral("first.ini"), "stale");
    f.dialogs.confirmAnswers << true;
    f.trigger("actFileSave");
    QCOMPARE(f.readFile(QStringLiteral("first.ini")), QByteArray("[New Section #1]\nNew option #1=\n"));
    QCOMPARE(f.dialogs.asked.size(), 3);
    QCOMPARE(
        f.dialogs.asked.constLast(), QStringLiteral("The file has changed on disk since it was opened. Overwrite it?"));
    // Save As proposes the current name and switches to the new one.
    f.trigger("actEditSectionAdd");
    f.dialogs.fileAnswers << f.path(QStringLiteral("second.ini"));
    f.trigger("actFileSaveAs");
    QCOMPARE(f.dialogs.proposedFiles.constLast(), f.path(QStringLiteral("first.ini")));
    QCOMPARE(f.window->fileName(), f.path(QStringLiteral("second.ini")));
    QVERIFY(!f.window->isModified());
    QCOMPARE(f.readFile(QStringLiteral("first.ini")), QByteArray("[New Section #1]\nNew option #1=\n"));
    QVERIFY(f.dialogs.settled());
}

void tst_MainWindowFile::theTextFormatBelongsToTheDocument()
{
    MainWindowFixture f;
    const QByteArray latin1 = "[s\xE9]\r\nk=caf\xE9\r\n";
    f.open(f.writeFile(QStringLiteral("latin.ini"), latin1));
    f.dialogs.fileAnswers << f.path(QStringLiteral("copy.ini"));
    f.trigger("actFileSaveAs");
    QCOMPARE(f.readFile(QStringLiteral("copy.ini")), latin1);
    // New, and a failed load, start a UTF-8 document with LF line ends.
    f.trigger("actFileNew");
    f.trigger("actEditSectionAdd");
    f.trigger("actEditOptionAdd");
    f.dialogs.fileAnswers << f.path(QStringLiteral("copy.ini"));
    f.trigger("actFileSaveAs");
    QCOMPARE(f.readFile(QStringLiteral("copy.ini")), QByteArray("[New Section #1]\nNew option #1=\n"));
    f.open(f.path(QStringLiteral("latin.ini")));
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("folder.ini")));
    f.open(f.path(QStringLiteral("folder.ini")));
    QCOMPARE(f.tree().sourceFormat(), TextFormat {});
    QVERIFY(f.dialogs.settled());
}

void tst_MainWindowFile::failedSaveKeepsTheChangesPending()
{
    MainWindowFixture f;
    openAndChange(f, true);
    const QString opened = f.window->fileName();
    const QString caption = f.caption();
    // A folder that does not exist cannot take the file, whoever runs the test.
    const QString target = f.path(QStringLiteral("missing/out.ini"));
    f.dialogs.fileAnswers << target;
    f.trigger("actFileSaveAs");
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY2(f.dialogs.errors.constFirst().startsWith(QStringLiteral("Unable to write to")),
        qPrintable(f.dialogs.errors.constFirst()));
    QVERIFY(f.window->isModified());
    QCOMPARE(f.tree().sectionCount(), 3);
    // The document keeps its name: the caption and the next Save agree on the file.
    QCOMPARE(f.window->fileName(), opened);
    QCOMPARE(f.caption(), caption);
    f.trigger("actFileSave");
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.readFile(QStringLiteral("doc.ini")).contains("New option #1"));
    QVERIFY(!f.window->isModified());

    // New with Yes: the failed save leaves the document in place.
    f.trigger("actFileClose");
    openAndChange(f, false);
    f.dialogs.saveAnswers << Answer::Yes;
    f.dialogs.fileAnswers << target;
    f.trigger("actFileNew");
    QCOMPARE(f.dialogs.errors.size(), 2);
    QCOMPARE(f.tree().sectionCount(), 1);
    QVERIFY(f.window->isModified());
    QVERIFY(f.dialogs.settled());
}

void tst_MainWindowFile::closingTheWindowAsksAboutUnsavedChanges_data()
{
    QTest::addColumn<QByteArray>("how");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("named");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("saveAs"); // "-" no Save dialog, "" cancelled
    QTest::addColumn<bool>("closes");

    for (const QByteArray &how : { QByteArray("close box"), QByteArray("actFileExit") }) {
        const auto row
            = [&how](const char *name) -> QTestData & { return QTest::addRow("%s, %s", how.constData(), name) << how; };
        row("unchanged") << false << true << Answer::Cancel << "-" << true;
        row("cancel") << true << true << Answer::Cancel << "-" << false;
        row("no") << true << true << Answer::No << "-" << true;
        row("yes, named") << true << true << Answer::Yes << "-" << true;
        row("yes, untitled, name chosen") << true << false << Answer::Yes << "out.ini" << true;
        // Cancelling the Save dialog keeps the window and the work.
        row("yes, untitled, dialog cancelled") << true << false << Answer::Yes << "" << false;
        row("yes, save fails") << true << false << Answer::Yes << "missing/out.ini" << false;
    }
}

void tst_MainWindowFile::closingTheWindowAsksAboutUnsavedChanges()
{
    QFETCH(QByteArray, how);
    QFETCH(bool, modified);
    QFETCH(bool, named);
    QFETCH(Answer, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, closes);

    MainWindowFixture f;
    QSignalSpy accepted(f.window.get(), &TfrmSaldrixMain::closeAccepted);
    f.window->show();
    if (modified)
        openAndChange(f, named);
    else
        f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    const QString before = f.outline();
    if (modified)
        f.dialogs.saveAnswers << answer;
    if (saveAs != u"-")
        f.dialogs.fileAnswers << (saveAs.isEmpty() ? std::nullopt : std::optional<QString>(f.path(saveAs)));
    if (how == "close box")
        f.window->close();
    else
        f.trigger(how.constData());

    QVERIFY(f.dialogs.settled());
    QCOMPARE(f.window->isVisible(), !closes);
    QCOMPARE(accepted.size(), closes ? 1 : 0);
    if (!closes) {
        QCOMPARE(f.outline(), before);
        QVERIFY(f.window->isModified());
        QCOMPARE(f.modifiedPanel(), QStringLiteral("Modified"));
    }
    if (modified && answer == Answer::Yes && closes)
        QVERIFY(f.readFile(named ? QStringLiteral("doc.ini") : saveAs).contains("New option #1"));
}

void tst_MainWindowFile::commandLineFileIsOpenedAtFirstShow_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("outline");
    QTest::newRow("existing file") << "doc.ini"
                                   << "doc.ini - YorvSaldrix"
                                   << "a(x=1,y=2) b(z=3)";
    QTest::newRow("missing file") << "nothing.ini"
                                  << "Untitled - YorvSaldrix"
                                  << "";
    QTest::newRow("folder") << "folder"
                            << "Untitled - YorvSaldrix"
                            << "";
    QTest::newRow("none") << ""
                          << "Untitled - YorvSaldrix"
                          << "";
}

void tst_MainWindowFile::commandLineFileIsOpenedAtFirstShow()
{
    QFETCH(QString, argument);
    MainWindowFixture f;
    f.writeFile(QStringLiteral("doc.ini"), SampleIni);
    QDir(f.dir.path()).mkdir(QStringLiteral("folder"));
    QSignalSpy recent(f.window.get(), &TfrmSaldrixMain::recentFileOpened);
    QSignalSpy shown(f.window.get(), &TfrmSaldrixMain::firstShown);
    f.window->setStartFile(argument.isEmpty() ? QString() : f.path(argument));
    f.window->show();
    QCOMPARE(shown.size(), 1);
    QFETCH(QString, caption);
    QTRY_COMPARE(f.caption(), caption);
    QCoreApplication::processEvents(); // the file is read once the window is up
    QTEST(f.outline(), "outline");
    QCOMPARE(f.window->fileName(), argument == u"doc.ini" ? f.path(argument) : QString());
    QVERIFY(!f.window->isModified());
    QCOMPARE(recent.size(), 0);
    QVERIFY(f.dialogs.errors.isEmpty());
    QVERIFY(f.dialogs.asked.isEmpty());
}

void tst_MainWindowFile::recentFileChoiceFollowsOpensAnswers()
{
    MainWindowFixture f;
    const QString recent = f.writeFile(QStringLiteral("recent.ini"), "[r]\nk=v\n");
    // A recent file that is gone does nothing, not even ask.
    openAndChange(f, true);
    f.window->MRUManager1Click(f.path(QStringLiteral("gone.ini")));
    QVERIFY(f.dialogs.asked.isEmpty() && f.window->isModified());
    // Unsaved changes are not dropped without the question.
    f.dialogs.saveAnswers << Answer::Cancel;
    f.window->MRUManager1Click(recent);
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3) New Section #1(New option #1=)"));
    QVERIFY(f.window->isModified());
    f.dialogs.saveAnswers << Answer::No;
    f.window->MRUManager1Click(recent);
    QCOMPARE(f.outline(), QStringLiteral("r(k=v)"));
    QCOMPARE(f.window->fileName(), recent);
    QCOMPARE(f.caption(), QStringLiteral("recent.ini - YorvSaldrix"));
    QVERIFY(!f.window->isModified());
    QCOMPARE(f.readFile(QStringLiteral("doc.ini")), SampleIni);
    // Yes saves first.
    f.trigger("actEditOptionAdd");
    f.dialogs.saveAnswers << Answer::Yes;
    f.window->MRUManager1Click(f.path(QStringLiteral("doc.ini")));
    QVERIFY(f.readFile(QStringLiteral("recent.ini")).contains("New option #2"));
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
    QVERIFY(f.dialogs.settled());
}

void tst_MainWindowFile::nothingChangesTheTreeWhileALoadRuns()
{
    MainWindowFixture f;
    f.window->show();
    const QString other = f.writeFile(QStringLiteral("other.ini"), "[o]\nk=v\n");
    const QString doc = f.writeFile(QStringLiteral("doc.ini"), SampleIni);
    // The loader lets events through; whatever arrives then, while the load is still under way,
    // must find every command inert.
    bool triedDuringLoad = false;
    QObject::connect(&f.tree(), &QAbstractItemModel::modelReset, f.window.get(), [&] {
        if (!f.window->isLoading() || triedDuringLoad)
            return;
        triedDuringLoad = true;
        for (const char *name : { "actFileNew", "actFileClose", "actFileOpen", "actEditSectionAdd", "actFileSave" })
            f.trigger(name);
        f.window->MRUManager1Click(other);
        f.window->close();
    });
    f.open(doc);
    QVERIFY(triedDuringLoad);
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
    QCOMPARE(f.window->fileName(), doc);
    QVERIFY(!f.window->isModified());
    QVERIFY(f.dialogs.settled());
    QCOMPARE(f.readFile(QStringLiteral("doc.ini")), SampleIni);
    // The close asked for during the load happens once it is over.
    QTRY_VERIFY(!f.window->isVisible());
}

void tst_MainWindowFile::theHourglassLastsAsLongAsALoadOrASave()
{
    MainWindowFixture f;
    QList<int> whileLoading;
    QObject::connect(&f.tree(), &QAbstractItemModel::modelAboutToBeReset, f.window.get(), [&] {
        if (!f.window->isLoading())
            return;
        const QCursor *cursor = QGuiApplication::overrideCursor();
        whileLoading << (cursor != nullptr ? int(cursor->shape()) : -1);
    });
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    QCOMPARE(whileLoading, QList<int> { Qt::WaitCursor });
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    // Every way out of a save or a load takes it back, a failure too.
    f.trigger("actFileSave");
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    f.dialogs.fileAnswers << f.path(QStringLiteral("missing/out.ini"));
    f.trigger("actFileSaveAs");
    QCOMPARE(f.dialogs.errors.size(), 1);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("folder.ini")));
    f.open(f.path(QStringLiteral("folder.ini")));
    QCOMPARE(f.dialogs.errors.size(), 2);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(f.dialogs.settled());
}

QTEST_MAIN(tst_MainWindowFile)
#include "tst_mainwindow_file.moc"
