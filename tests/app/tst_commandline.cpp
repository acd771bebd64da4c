// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's command line: what it parses to, and the real program answering without a display.
#include "export/commandline.h"
#include "testfiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Catalogue = "[OptionSettings]\nStartMode=1\n"
                             "[1f3c9a2]\nEntryType=1\nartist=North Wind\ntitle=Low Tide\nnumtracks=2\n0=Harbour\n"
                             "1=Lighthouse\n";

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the program with no display at all, unless a platform is given.
Run runProgram(const QStringList &arguments, const QString &platform = QString())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    environment.remove(u"QT_QPA_PLATFORM"_s);
    if (!platform.isEmpty())
        environment.insert(u"QT_QPA_PLATFORM"_s, platform);
    environment.insert(u"LSAN_OPTIONS"_s, u"suppressions=" SALDRIX_TEST_DATA "/lsan.supp"_s);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"), arguments);
    Run run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

class tst_CommandLine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        testfiles::writeBytes(m_dir.filePath(name), bytes);
        return m_dir.filePath(name);
    }
    QByteArray readFile(const QString &name) { return testfiles::readBytes(m_dir.filePath(name)); }

private Q_SLOTS:
    void parsesTheEditorForm_data();
    void parsesTheEditorForm();
    void parsesTheExportOptions();
    void answersWithoutADisplay_data();
    void answersWithoutADisplay();
    void exportWritesTheWizardsDefaultText();
    void exportWritesTheChosenOptions();
    void exportFailuresSayWhyAndExitOne();
    void qtOptionsBeforeTheEndOfOptionsAreQts();
};

void tst_CommandLine::parsesTheEditorForm_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("fileOrText");

    const int edit = int(CommandLine::Mode::Edit);
    const int error = int(CommandLine::Mode::Error);
    QTest::newRow("no file") << QStringList {} << edit << QString();
    QTest::newRow("one file") << QStringList { u"a.ini"_s } << edit << u"a.ini"_s;
    QTest::newRow("dash file after --") << QStringList { u"--"_s, u"-a.ini"_s } << edit << u"-a.ini"_s;
    QTest::newRow("Qt's option name after --") << QStringList { u"--"_s, u"-reverse"_s } << edit << u"-reverse"_s;
    QTest::newRow("--help after --") << QStringList { u"--"_s, u"--help"_s } << edit << u"--help"_s;
    QTest::newRow("second file") << QStringList { u"a.ini"_s, u"b.ini"_s } << error
                                 << u"Only one file can be opened at a time; \"b.ini\" is one too many."_s;
    QTest::newRow("unknown option") << QStringList { u"--frobnicate"_s, u"a.ini"_s } << error
                                    << u"Unknown option 'frobnicate'."_s;
    QTest::newRow("dash file without --") << QStringList { u"-a.ini"_s } << error << u"Unknown option 'a.ini'."_s;
    QTest::newRow("export option alone") << QStringList { u"--genre"_s, u"a.ini"_s } << error
                                         << u"--genre is only meaningful with --export-cd."_s;
    QTest::newRow("export with one file") << QStringList { u"--export-cd"_s, u"a.ini"_s } << error
                                          << u"--export-cd needs a catalogue and an output file."_s;
}

void tst_CommandLine::parsesTheEditorForm()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, mode);
    QFETCH(QString, fileOrText);
    const CommandLine parsed = parseCommandLine(QStringList { u"yorvsaldrix"_s } + arguments);
    QCOMPARE(int(parsed.mode), mode);
    QCOMPARE(parsed.mode == CommandLine::Mode::Edit ? parsed.file : parsed.text, fileOrText);
}

void tst_CommandLine::parsesTheExportOptions()
{
    CommandLine parsed = parseCommandLine({ u"yorvsaldrix"_s, u"--export-cd"_s, u"cd.ini"_s, u"cd.txt"_s });
    QCOMPARE(parsed.mode, CommandLine::Mode::ExportCd);
    QCOMPARE(parsed.catalogue, u"cd.ini"_s);
    QCOMPARE(parsed.options.FileName, u"cd.txt"_s);
    const ExportOptions defaults;
    QCOMPARE(parsed.options.ArtistFirst, defaults.ArtistFirst);
    QCOMPARE(parsed.options.Separator, defaults.Separator);
    QCOMPARE(parsed.options.SeparatorLine, defaults.SeparatorLine);
    QVERIFY(!parsed.options.IncludeVolume && !parsed.options.IncludeGenre && !parsed.options.IncludeNumTracks);

    // Options go anywhere, and an empty separator is a choice, not a missing value.
    parsed = parseCommandLine({ u"yorvsaldrix"_s, u"--volume"_s, u"cd.ini"_s, u"--export-cd"_s, u"--separator="_s,
        u"cd.txt"_s, u"--title-first"_s, u"--genre"_s, u"--numtracks"_s, u"--separator-line"_s, u"--"_s });
    QCOMPARE(parsed.mode, CommandLine::Mode::ExportCd);
    QCOMPARE(parsed.options.FileName, u"cd.txt"_s);
    QVERIFY(!parsed.options.ArtistFirst);
    QVERIFY(parsed.options.IncludeVolume && parsed.options.IncludeGenre && parsed.options.IncludeNumTracks);
    QCOMPARE(parsed.options.Separator, QString(u""_s));
    QCOMPARE(parsed.options.SeparatorLine, u"--"_s);
}

void tst_CommandLine::answersWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    QTest::newRow("help") << QStringList { u"--help"_s } << 0 << QByteArray("--export-cd CATALOGUE.ini OUT.txt")
                          << QByteArray();
    QTest::newRow("-h") << QStringList { u"-h"_s } << 0 << QByteArray("Usage: ") << QByteArray();
    QTest::newRow("version") << QStringList { u"--version"_s } << 0 << QByteArray("YorvSaldrix 1.") << QByteArray();
    QTest::newRow("unknown option") << QStringList { u"--frobnicate"_s } << 1 << QByteArray()
                                    << QByteArray("Unknown option 'frobnicate'.\n");
    QTest::newRow("second file") << QStringList { u"a.ini"_s, u"b.ini"_s } << 1 << QByteArray()
                                 << QByteArray("\"b.ini\" is one too many.\n");
}

void tst_CommandLine::answersWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    const Run run = runProgram(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.contains(out), run.out.constData());
    QVERIFY2(err.isEmpty() ? run.err.isEmpty() : run.err.endsWith(err), run.err.constData());
}

void tst_CommandLine::exportWritesTheWizardsDefaultText()
{
    const QString catalogue = writeFile(u"cdplayer.ini"_s, Catalogue);
    const Run run = runProgram({ u"--export-cd"_s, catalogue, m_dir.filePath(u"cd.txt"_s) });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(readFile(u"cd.txt"_s),
        "North Wind - Low Tide\r\n" + QByteArray(35, '=') + "\r\n0. Harbour\r\n1. Lighthouse\r\n\r\n\r\n\r\n");
}

void tst_CommandLine::exportWritesTheChosenOptions()
{
    const QString catalogue = writeFile(u"cdplayer.ini"_s, Catalogue);
    const Run run = runProgram({ u"--export-cd"_s, catalogue, m_dir.filePath(u"cd.txt"_s), u"--title-first"_s,
        u"--numtracks"_s, u"--separator"_s, u" / "_s, u"--separator-line"_s, u"~~"_s });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(readFile(u"cd.txt"_s),
        QByteArray("Low Tide / North Wind\r\nNumTracks=2\r\n~~\r\n0. Harbour\r\n1. Lighthouse\r\n\r\n\r\n\r\n"));
}

void tst_CommandLine::exportFailuresSayWhyAndExitOne()
{
    const QString catalogue = writeFile(u"cdplayer.ini"_s, Catalogue);
    const QString missing = m_dir.filePath(u"missing.ini"_s);
    Run run = runProgram({ u"--export-cd"_s, missing, m_dir.filePath(u"never.txt"_s) });
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, ("Unable to read " + missing + "\n").toLocal8Bit());
    QCOMPARE(readFile(u"never.txt"_s), QByteArray("<unreadable>"));

    run = runProgram({ u"--export-cd"_s, catalogue, catalogue });
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(!run.err.isEmpty() && run.err.endsWith('\n'), run.err.constData());
    QCOMPARE(readFile(u"cdplayer.ini"_s), Catalogue);

    run = runProgram({ u"--export-cd"_s, catalogue, m_dir.filePath(u"no folder/cd.txt"_s) });
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(!run.err.isEmpty(), run.err.constData());
}

void tst_CommandLine::qtOptionsBeforeTheEndOfOptionsAreQts()
{
    // Qt takes -reverse before "--"; both names after it are files, one too many.
    const Run run = runProgram({ u"-reverse"_s, u"--"_s, u"-reverse"_s, u"b.ini"_s }, u"offscreen"_s);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.endsWith("\"b.ini\" is one too many.\n"), run.err.constData());
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
