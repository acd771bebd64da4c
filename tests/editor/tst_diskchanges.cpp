// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Another program changes or deletes the open file: the bar above the tree, Reload and Ignore, and
// the question before a save overwrites that change. The editor's own saves are never reported.
#include "mainwindowfixture.h"

#include "editor/diskchangebar.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using Answer = UserDialogs::Answer;

namespace {

const QString OverwriteQuestion = QStringLiteral("The file has changed on disk since it was opened. Overwrite it?");
const QByteArray OtherProgramsIni = "[other]\nq=9\n";

// Another program writes the file in place.
void writeElsewhere(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(fileName));
}

struct Fixture : MainWindowFixture {
    QString file;

    Fixture()
    {
        window->show();
        file = writeFile(QStringLiteral("doc.ini"), SampleIni);
        open(file);
        dialogs.asked.clear();
    }
    [[nodiscard]] DiskChangeBar &bar() const { return *window->diskChangeBar(); }
    [[nodiscard]] QString barText() const { return bar().isVisible() ? bar().lbDiskChange->text() : QString(); }
};

} // namespace

class tst_DiskChanges : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void changeShowsTheBarAndSaveAsksBeforeOverwriting();
    void ignoreKeepsTheDocumentAndLetsSaveWrite();
    void reloadSettlesChangesThenReads();
    void deletionShowsItsBarAndSaveWritesTheFileAgain();
    void ownSavesAreNotReported();
    void sameSizeAndTimeIsComparedByContent();
};

void tst_DiskChanges::changeShowsTheBarAndSaveAsksBeforeOverwriting()
{
    Fixture f;
    QVERIFY(!f.bar().isVisible());
    f.trigger("actEditSectionAdd");
    writeElsewhere(f.file, OtherProgramsIni);
    QTRY_COMPARE(f.barText(), QStringLiteral("The file has changed on disk."));
    QVERIFY(f.bar().btnReload->isVisible() && f.bar().btnIgnore->isVisible());
    QCOMPARE(f.bar().btnReload->text(), QStringLiteral("&Reload"));
    QCOMPARE(f.bar().btnIgnore->text(), QStringLiteral("&Ignore"));

    // No stops the save as a cancelled Save dialog does: nothing written, the changes pending,
    // and the window stays open on close.
    f.dialogs.confirmAnswers = { false };
    f.trigger("actFileSave");
    QCOMPARE(f.dialogs.asked, QStringList { OverwriteQuestion });
    QCOMPARE(f.readFile(QStringLiteral("doc.ini")), OtherProgramsIni);
    QVERIFY(f.window->isModified());

    f.dialogs.asked.clear();
    f.dialogs.saveAnswers = { Answer::Yes };
    f.dialogs.confirmAnswers = { false };
    QVERIFY(!f.window->close());
    QCOMPARE(f.dialogs.asked, (QStringList { QStringLiteral("save changes"), OverwriteQuestion }));
    QCOMPARE(f.readFile(QStringLiteral("doc.ini")), OtherProgramsIni);

    f.dialogs.asked.clear();
    f.dialogs.confirmAnswers = { true };
    f.trigger("actFileSave");
    QCOMPARE(f.dialogs.asked, QStringList { OverwriteQuestion });
    QVERIFY(f.readFile(QStringLiteral("doc.ini")).startsWith("[a]\nx=1\n"));
    QVERIFY(!f.window->isModified());
    QVERIFY(!f.bar().isVisible());
    QVERIFY(f.dialogs.settled());
}

void tst_DiskChanges::ignoreKeepsTheDocumentAndLetsSaveWrite()
{
    Fixture f;
    f.trigger("actEditSectionAdd");
    writeElsewhere(f.file, OtherProgramsIni);
    QTRY_VERIFY(f.bar().isVisible());
    // The tree keeps the keyboard; the bar's buttons answer their Alt keys.
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.view().setFocus();
    QTest::keyClick(f.window.get(), Qt::Key_I, Qt::AltModifier);
    QTRY_VERIFY(!f.bar().isVisible()); // a mnemonic presses the button for a moment first
    QVERIFY(f.window->isModified());
    f.trigger("actFileSave");
    QVERIFY(f.readFile(QStringLiteral("doc.ini")).startsWith("[a]\nx=1\n"));
    QVERIFY(f.dialogs.asked.isEmpty());

    // A later change is reported again.
    writeElsewhere(f.file, OtherProgramsIni);
    QTRY_VERIFY(f.bar().isVisible());
    QVERIFY(f.dialogs.settled());
}

void tst_DiskChanges::reloadSettlesChangesThenReads()
{
    Fixture f;
    f.trigger("actEditSectionAdd");
    writeElsewhere(f.file, OtherProgramsIni);
    QTRY_VERIFY(f.bar().isVisible());

    f.dialogs.saveAnswers = { Answer::Cancel };
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.view().setFocus();
    QTest::keyClick(f.window.get(), Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(f.dialogs.asked, QStringList { QStringLiteral("save changes") });
    QVERIFY(f.window->isModified());
    QVERIFY(f.bar().isVisible());

    f.dialogs.asked.clear();
    f.dialogs.saveAnswers = { Answer::No };
    f.bar().btnReload->click();
    QCOMPARE(f.outline(), QStringLiteral("other(q=9)"));
    QCOMPARE(f.window->fileName(), f.file);
    QVERIFY(!f.window->isModified());
    QVERIFY(!f.bar().isVisible());
    QCOMPARE(f.readFile(QStringLiteral("doc.ini")), OtherProgramsIni);
    QVERIFY(f.dialogs.settled());
}

void tst_DiskChanges::deletionShowsItsBarAndSaveWritesTheFileAgain()
{
    Fixture f;
    QVERIFY(QFile::rename(f.file, f.path(QStringLiteral("moved.ini"))));
    QTRY_COMPARE(f.barText(), QStringLiteral("The file has been deleted on disk."));
    QVERIFY(!f.bar().btnReload->isVisible());
    f.trigger("actEditSectionAdd");
    f.trigger("actFileSave");
    QVERIFY(f.dialogs.asked.isEmpty());
    QVERIFY(f.readFile(QStringLiteral("doc.ini")).startsWith("[a]\nx=1\n"));
    QVERIFY(!f.bar().isVisible());

    // Watched again after the save: a change to the new file is reported.
    writeElsewhere(f.file, OtherProgramsIni);
    QTRY_COMPARE(f.barText(), QStringLiteral("The file has changed on disk."));
    QVERIFY(f.dialogs.settled());
}

void tst_DiskChanges::ownSavesAreNotReported()
{
    Fixture f;
    for (int i = 0; i < 3; ++i) {
        f.trigger("actEditSectionAdd");
        f.trigger("actFileSave");
    }
    f.dialogs.fileAnswers = { f.file };
    f.trigger("actFileSaveAs");
    QTest::qWait(300);
    QVERIFY(!f.bar().isVisible());
    QVERIFY(f.dialogs.asked == QStringList { QStringLiteral("file:SaveDialog1") });
    QVERIFY(f.dialogs.settled());
}

void tst_DiskChanges::sameSizeAndTimeIsComparedByContent()
{
    Fixture f;
    QFile file(f.file);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
    QByteArray same = SampleIni;
    same.replace("x=1", "x=7");
    QVERIFY(file.write(same) == same.size());
    file.flush();
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();
    QTRY_VERIFY(f.bar().isVisible());
    f.trigger("actEditSectionAdd");
    f.dialogs.confirmAnswers = { false };
    f.trigger("actFileSave");
    QCOMPARE(f.dialogs.asked, QStringList { OverwriteQuestion });
    QCOMPARE(f.readFile(QStringLiteral("doc.ini")), same);
    QVERIFY(f.dialogs.settled());
}

QTEST_MAIN(tst_DiskChanges)
#include "tst_diskchanges.moc"
