// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The recovery copy through the real window: it follows unsaved changes, goes when they are saved
// or dropped, and is offered back on every way a file is opened again. A window that is destroyed
// without being closed leaves its copy as a killed program would.
#include "mainwindowfixture.h"

#include "disk/recoverycopy.h"
#include "editor/recoverykeeper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QUndoStack>

using Answer = UserDialogs::Answer;

class tst_Recovery : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void copyFollowsTheUnsavedChanges();
    void copyGoesWithTheChanges_data();
    void copyGoesWithTheChanges();
    void nextStartOffersTheChanges_data();
    void nextStartOffersTheChanges();
    void untitledChangesComeBackAtAStartWithoutFile();
    void runningInstancesCopyIsNeverOffered();
    void recoveredDocumentStaysModifiedAndKeepsItsCopy();

private:
    // One folder for the copies of every window of a test, as the user's state folder is for
    // every instance of the program.
    std::unique_ptr<QTemporaryDir> m_state;
    [[nodiscard]] QString stateFolder() const { return m_state->filePath(QStringLiteral("recovery")); }
    [[nodiscard]] std::unique_ptr<MainWindowFixture> window() const;
    [[nodiscard]] QStringList copies() const;
    // The sample file, in a folder that outlives the windows.
    [[nodiscard]] QString sample() const;
};

namespace {

RecoveryKeeper &keeperOf(const MainWindowFixture &f)
{
    return *f.child<RecoveryKeeper>("RecoveryKeeper");
}

QByteArray bytesOf(const QString &fileName)
{
    if (fileName.isEmpty())
        return "<none>";
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Opens the file and adds a section with one option: "[New Section #1]\nNew option #1=\n".
void openAndChange(MainWindowFixture &f, const QString &doc)
{
    f.open(doc);
    f.trigger("actEditSectionAdd");
    f.trigger("actEditOptionAdd");
}

// What a save of that document writes.
const QByteArray ChangedIni = "[a]\nx=1\ny=2\n\n[b]\nz=3\n\n[New Section #1]\nNew option #1=\n";

} // namespace

void tst_Recovery::init()
{
    m_state = std::make_unique<QTemporaryDir>();
}

std::unique_ptr<MainWindowFixture> tst_Recovery::window() const
{
    auto f = std::make_unique<MainWindowFixture>();
    RecoveryCopy::setFolder(stateFolder());
    return f;
}

QString tst_Recovery::sample() const
{
    const QString doc = m_state->filePath(QStringLiteral("doc.ini"));
    QFile out(doc);
    if (!out.open(QIODevice::WriteOnly) || out.write(SampleIni) != SampleIni.size())
        qFatal("cannot write %s", qPrintable(doc));
    return doc;
}

QStringList tst_Recovery::copies() const
{
    return QDir(stateFolder()).entryList({ QStringLiteral("*.ini") }, QDir::Files);
}

void tst_Recovery::copyFollowsTheUnsavedChanges()
{
    auto f = window();
    const QString doc = sample();
    openAndChange(*f, doc);
    // Written in the background a moment later, in the document's own format, with its file's name.
    QTRY_COMPARE(copies().size(), 1);
    const QString copy = keeperOf(*f).copyPath();
    QTRY_COMPARE(bytesOf(copy), ChangedIni);
    QString nameFile = copy;
    nameFile.replace(QStringLiteral(".ini"), QStringLiteral(".name"));
    QCOMPARE(bytesOf(nameFile), QFileInfo(doc).absoluteFilePath().toUtf8() + '\n');
    QFileInfo state(stateFolder());
    QCOMPARE(state.permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
    // Every later change reaches the same copy; the file itself is never touched.
    f->trigger("actEditOptionAdd");
    QTRY_COMPARE(bytesOf(copy), ChangedIni + "New option #2=\n");
    QCOMPARE(copies().size(), 1);
    QCOMPARE(bytesOf(doc), SampleIni);
    // A change is written at once when asked (an ending on a signal asks).
    f->trigger("actEditSectionAdd");
    f->trigger("actEditOptionAdd");
    keeperOf(*f).writeNow();
    QVERIFY(bytesOf(copy).endsWith("\n\n[New Section #2]\nNew option #3=\n"));
}

void tst_Recovery::copyGoesWithTheChanges_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : { "Save", "Save As", "Close, No", "New, Yes", "Undo to unchanged", "Open other, No",
             "closing the window, No", "closing the window, Yes" })
        QTest::newRow(how) << QString::fromLatin1(how);
}

void tst_Recovery::copyGoesWithTheChanges()
{
    QFETCH(QString, how);
    auto f = window();
    openAndChange(*f, sample());
    QTRY_COMPARE(copies().size(), 1);
    const QString other = f->writeFile(QStringLiteral("other.ini"), "[o]\nk=v\n");
    if (how == u"Save") {
        f->trigger("actFileSave");
    } else if (how == u"Save As") {
        f->dialogs.fileAnswers << f->path(QStringLiteral("as.ini"));
        f->trigger("actFileSaveAs");
    } else if (how == u"Close, No") {
        f->dialogs.saveAnswers << Answer::No;
        f->trigger("actFileClose");
    } else if (how == u"New, Yes") {
        f->dialogs.saveAnswers << Answer::Yes;
        f->trigger("actFileNew");
    } else if (how == u"Undo to unchanged") {
        f->trigger("actEditUndo");
        f->trigger("actEditUndo");
    } else if (how == u"Open other, No") {
        f->dialogs.saveAnswers << Answer::No;
        f->open(other);
    } else {
        f->dialogs.saveAnswers << (how.endsWith(u"No") ? Answer::No : Answer::Yes);
        f->window->show();
        QVERIFY(f->window->close());
    }
    QVERIFY(f->dialogs.settled());
    QTRY_VERIFY(copies().isEmpty());
    QTRY_COMPARE(QDir(stateFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void tst_Recovery::nextStartOffersTheChanges_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("recover");
    for (const char *way : { "command line", "Open", "recent file", "drop" }) {
        QTest::addRow("%s, recovered", way) << QString::fromLatin1(way) << true;
        QTest::addRow("%s, discarded", way) << QString::fromLatin1(way) << false;
    }
}

void tst_Recovery::nextStartOffersTheChanges()
{
    QFETCH(QString, way);
    QFETCH(bool, recover);
    const QString doc = sample();
    {
        auto killed = window();
        openAndChange(*killed, doc);
        QTRY_COMPARE(bytesOf(keeperOf(*killed).copyPath()), ChangedIni);
    }
    auto f = window();
    f->dialogs.recoveryAnswers << recover;
    if (way == u"command line") {
        f->window->setStartFile(doc);
        f->window->FormShow();
    } else if (way == u"Open") {
        f->open(doc);
    } else if (way == u"recent file") {
        f->window->MRUManager1Click(doc);
    } else {
        f->window->openDroppedFile(doc);
    }
    QStringList asked { QStringLiteral("recover:") + doc };
    if (way == u"Open")
        asked.prepend(QStringLiteral("file:OpenDialog1"));
    QCOMPARE(f->dialogs.asked, asked);
    QVERIFY(f->dialogs.settled());
    QCOMPARE(f->window->fileName(), doc);
    QCOMPARE(f->caption(), QStringLiteral("doc.ini - YorvSaldrix"));
    QCOMPARE(bytesOf(doc), SampleIni);
    if (recover) {
        QCOMPARE(f->outline(), QStringLiteral("a(x=1,y=2) b(z=3) New Section #1(New option #1=)"));
        QVERIFY(f->window->isModified());
        QCOMPARE(f->modifiedPanel(), QStringLiteral("Modified"));
        QCOMPARE(copies().size(), 1);
    } else {
        QCOMPARE(f->outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
        QVERIFY(!f->window->isModified());
        QCOMPARE(f->modifiedPanel(), QString());
        QTRY_VERIFY(QDir(stateFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
    // Asked once: the answer stands for the rest of the run.
    f->dialogs.asked.clear();
    f->dialogs.saveAnswers << Answer::No;
    f->window->MRUManager1Click(doc);
    QVERIFY(!f->dialogs.asked.contains(QStringLiteral("recover:") + doc));
}

void tst_Recovery::untitledChangesComeBackAtAStartWithoutFile()
{
    {
        auto killed = window();
        killed->trigger("actEditSectionAdd");
        killed->trigger("actEditOptionAdd");
        QTRY_COMPARE(bytesOf(keeperOf(*killed).copyPath()), QByteArray("[New Section #1]\nNew option #1=\n"));
    }
    // A start on a file is no start of the untitled document.
    {
        auto f = window();
        f->window->setStartFile(f->writeFile(QStringLiteral("doc.ini"), SampleIni));
        f->window->FormShow();
        QVERIFY(f->dialogs.asked.isEmpty());
    }
    auto f = window();
    f->dialogs.recoveryAnswers << true;
    f->window->FormShow();
    QCOMPARE(f->dialogs.asked, QStringList { QStringLiteral("recover:Untitled") });
    QCOMPARE(f->outline(), QStringLiteral("New Section #1(New option #1=)"));
    QCOMPARE(f->caption(), QStringLiteral("Untitled - YorvSaldrix"));
    QCOMPARE(f->window->fileName(), QString());
    QVERIFY(f->window->isModified());
}

void tst_Recovery::runningInstancesCopyIsNeverOffered()
{
    auto first = window();
    const QString doc = sample();
    openAndChange(*first, doc);
    QTRY_COMPARE(copies().size(), 1);
    {
        auto second = window();
        second->open(doc);
        QCOMPARE(second->dialogs.asked, QStringList { QStringLiteral("file:OpenDialog1") });
        QCOMPARE(second->outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
        // Its own changes to the same file are kept apart from the first one's.
        second->trigger("actEditSectionAdd");
        second->trigger("actEditOptionAdd");
        QTRY_COMPARE(copies().size(), 2);
        QVERIFY(keeperOf(*second).copyPath() != keeperOf(*first).copyPath());
    }
    // Both instances ended without their changes settled: the next start offers both, newest first.
    first.reset();
    auto next = window();
    next->dialogs.recoveryAnswers << false << true;
    next->open(doc);
    QCOMPARE(next->dialogs.asked,
        QStringList({ "file:OpenDialog1", QStringLiteral("recover:") + doc, QStringLiteral("recover:") + doc }));
    QVERIFY(next->dialogs.settled());
    QVERIFY(next->window->isModified());
    QTRY_COMPARE(copies().size(), 1);
}

void tst_Recovery::recoveredDocumentStaysModifiedAndKeepsItsCopy()
{
    const QString doc = sample();
    {
        auto killed = window();
        openAndChange(*killed, doc);
        QTRY_COMPARE(copies().size(), 1);
    }
    const QString copy = QDir(stateFolder()).filePath(copies().constFirst());
    auto f = window();
    f->dialogs.recoveryAnswers << true;
    f->window->MRUManager1Click(doc);
    QVERIFY(f->window->isModified());
    // The copy recovered is the one kept from now on.
    f->dialogs.confirmAnswers << true;
    f->trigger("actEditSectionDelete");
    QCOMPARE(f->outline(), QStringLiteral("b(z=3) New Section #1(New option #1=)"));
    QCOMPARE(keeperOf(*f).copyPath(), copy);
    QTRY_COMPARE(bytesOf(copy), QByteArray("[b]\nz=3\n\n[New Section #1]\nNew option #1=\n"));
    // No undo step leads back to a state of the file.
    f->trigger("actEditUndo");
    QVERIFY(!f->window->undoStack()->canUndo());
    QVERIFY(f->window->isModified());
    QCOMPARE(f->modifiedPanel(), QStringLiteral("Modified"));
    QTRY_COMPARE(bytesOf(copy), ChangedIni);
    // Saving settles it.
    f->trigger("actFileSave");
    QCOMPARE(bytesOf(doc), ChangedIni);
    QTRY_VERIFY(copies().isEmpty());
}

QTEST_MAIN(tst_Recovery)
#include "tst_recovery.moc"
