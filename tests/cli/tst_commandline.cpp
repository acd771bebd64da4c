// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's command line: what it parses to, and the real program answering without a display.
#include "cli/commandline.h"
#include "programrun.h"
#include "testfiles.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Catalogue = "[OptionSettings]\nStartMode=1\n"
                             "[1f3c9a2]\nEntryType=1\nartist=North Wind\ntitle=Low Tide\nnumtracks=2\n0=Harbour\n"
                             "1=Lighthouse\n";

using Run = ProgramRun;

// Runs the program with no display at all, unless a platform or an X display is given.
Run runProgram(const QStringList &arguments, const QString &platform = QString(), const QString &display = QString())
{
    QProcessEnvironment environment = environmentWithoutDisplay();
    environment.insert(u"LC_ALL"_s, u"C"_s);
    if (!platform.isEmpty())
        environment.insert(u"QT_QPA_PLATFORM"_s, platform);
    if (!display.isEmpty())
        environment.insert(u"DISPLAY"_s, display);
    return runEditorProgram(arguments, environment, 30000);
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
    void filesAfterTheFirstAreNamedInWarnings();
    void helpNamesTheProgramAndTheEndOfOptions();
    void helpStatesTheExitStatusesTheProgramGives();
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
    // Further files are named in warnings (below); the window opens on the first.
    QTest::newRow("second file") << QStringList { u"a.ini"_s, u"b.ini"_s } << edit << u"a.ini"_s;
    QTest::newRow("unknown option") << QStringList { u"--frobnicate"_s, u"a.ini"_s } << error
                                    << u"yorvsaldrix: Unknown option 'frobnicate'."_s;
    QTest::newRow("dash file without --")
        << QStringList { u"-a.ini"_s } << error << u"yorvsaldrix: Unknown option 'a.ini'."_s;
    QTest::newRow("export option alone") << QStringList { u"--genre"_s, u"a.ini"_s } << error
                                         << u"yorvsaldrix: --genre is only meaningful with --export-cd."_s;
    QTest::newRow("export with one file") << QStringList { u"--export-cd"_s, u"a.ini"_s } << error
                                          << u"yorvsaldrix: --export-cd needs a catalogue and an output file."_s;
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

void tst_CommandLine::filesAfterTheFirstAreNamedInWarnings()
{
    const auto warnings = [](const QStringList &arguments) {
        return parseCommandLine(QStringList { u"yorvsaldrix"_s } + arguments).warnings;
    };
    QCOMPARE(warnings({ u"a.ini"_s }), QStringList());
    QCOMPARE(warnings({ u"a.ini"_s, u"b.ini"_s, u"--"_s, u"-c.ini"_s }),
        QStringList({ u"yorvsaldrix: b.ini: ignored: only one file is opened at a time"_s,
            u"yorvsaldrix: -c.ini: ignored: only one file is opened at a time"_s }));
    // A message that names its file already does not name it twice; a second line joins the first.
    QCOMPARE(commandLineMessage(u"a.ini"_s, u"Unable to read a.ini\nThe file is larger than 1 GiB."_s),
        u"yorvsaldrix: Unable to read a.ini: The file is larger than 1 GiB."_s);
    QCOMPARE(commandLineMessage(u"out.txt"_s, u"File access denied"_s), u"yorvsaldrix: out.txt: File access denied"_s);
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

void tst_CommandLine::helpStatesTheExitStatusesTheProgramGives()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"a.ini"_s);
    QFile ini(file);
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[s]\nk=v\n");
    ini.close();
    const QString help = QString::fromUtf8(runProgram({ u"--help"_s }).out);
    const QString statuses = help.mid(help.indexOf(u"\nExit status:\n"_s));
    QVERIFY2(statuses.size() > 20, qPrintable(help));
    // Each case's status, got from the program, is the one its help gives for that case.
    const QList<std::pair<QStringList, QString>> cases {
        { { u"--get"_s, file, u"s"_s, u"k"_s }, u"success"_s },
        { { u"--get"_s, file, u"s"_s, u"missing"_s }, u"no such file, section or option"_s },
        { { u"--get"_s, dir.filePath(u"none.ini"_s), u"s"_s, u"k"_s }, u"no such file, section or option"_s },
        { { u"--get"_s, dir.path(), u"s"_s, u"k"_s }, u"cannot read or write its file"_s },
        { { u"--no-such-option"_s }, u"a usage error"_s },
        { { u"--get"_s, file }, u"a usage error"_s },
    };
    for (const auto &[arguments, meaning] : cases) {
        const Run run = runProgram(arguments);
        const QRegularExpression line(u"\n  (\\d+) +[^\n]*"_s + QRegularExpression::escape(meaning));
        const QRegularExpressionMatch stated = line.match(statuses);
        QVERIFY2(stated.hasMatch(), qPrintable(meaning));
        QVERIFY2(stated.captured(1).toInt() == run.exitCode,
            qPrintable(u"%1: %2, help says %3"_s.arg(arguments.join(u' ')).arg(run.exitCode).arg(stated.captured(1))));
    }
}

void tst_CommandLine::helpNamesTheProgramAndTheEndOfOptions()
{
    // However the program was started, its help names it as installed.
    const Run run = runProgram({ u"--help"_s });
    QVERIFY2(run.out.startsWith("Usage: yorvsaldrix [options] [--] [FILE]\n"), run.out.constData());
    QVERIFY2(run.out.contains("\n  --  "), run.out.constData());
    QVERIFY2(run.out.contains("  yorvsaldrix --export-cd CATALOGUE.ini"), run.out.constData());
    QVERIFY(!run.out.contains(SALDRIX_BINARY_DIR));

    // Under a German locale the help is German, Qt's own lines with it; under C it is as written.
    const auto help = [](const char *locale) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, QString::fromLatin1(locale));
        environment.remove(u"LANGUAGE"_s);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"), { u"--help"_s });
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString german = help("de_DE.UTF-8");
    QVERIFY2(german.contains(u"Bearbeitet INI-Dateien oder exportiert einen CD-Katalog ohne Fenster."_s)
            && german.contains(u"Zeigt Hilfe zu den Kommandozeilenoptionen an."_s),
        qPrintable(german));
    const QString c = help("C");
    QVERIFY2(c.contains(u"Edits INI files, or exports a CD catalogue without a window."_s)
            && c.contains(u"Displays help on commandline options."_s),
        qPrintable(c));
}

void tst_CommandLine::answersWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err"); // the whole of standard error, or its end for Qt's own texts
    QTest::addColumn<QString>("display");

    QTest::newRow("help") << QStringList { u"--help"_s } << 0 << QByteArray("--export-cd CATALOGUE.ini OUT.txt")
                          << QByteArray() << QString();
    QTest::newRow("-h") << QStringList { u"-h"_s } << 0 << QByteArray("Usage: yorvsaldrix [options] [--] [FILE]\n")
                        << QByteArray() << QString();
    QTest::newRow("version") << QStringList { u"--version"_s } << 0 << QByteArray("YorvSaldrix 1.") << QByteArray()
                             << QString();
    QTest::newRow("unknown option") << QStringList { u"--frobnicate"_s } << 64 << QByteArray()
                                    << QByteArray("yorvsaldrix: Unknown option 'frobnicate'.\n") << QString();
    // A window needs a display: without one the program says so in one line instead of aborting.
    QTest::newRow("file, no display") << QStringList { u"a.ini"_s, u"b.ini"_s } << 1 << QByteArray()
                                      << QByteArray("yorvsaldrix: a.ini: not opened: no display to show the window on "
                                                    "(DISPLAY is not set)\n")
                                      << QString();
    QTest::newRow("no file, no display") << QStringList() << 1 << QByteArray()
                                         << QByteArray("yorvsaldrix: no display to show the window on (DISPLAY is not "
                                                       "set)\n")
                                         << QString();
    QTest::newRow("display out of reach") << QStringList { u"--"_s, u"-a.ini"_s } << 1 << QByteArray()
                                          << QByteArray("yorvsaldrix: -a.ini: not opened: no display to show the "
                                                        "window on (DISPLAY \":219\" cannot be reached)\n")
                                          << u":219"_s;
}

void tst_CommandLine::answersWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(QString, display);
    const Run run = runProgram(arguments, QString(), display);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.contains(out), run.out.constData());
    QCOMPARE(run.err, err);
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
    QCOMPARE(run.err, ("yorvsaldrix: Unable to read " + missing + "\n").toLocal8Bit());
    QCOMPARE(readFile(u"never.txt"_s), QByteArray("<unreadable>"));

    run = runProgram({ u"--export-cd"_s, catalogue, catalogue });
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(!run.err.isEmpty() && run.err.endsWith('\n'), run.err.constData());
    QCOMPARE(readFile(u"cdplayer.ini"_s), Catalogue);

    // The output file's failure names it.
    const QString unwritable = m_dir.filePath(u"no folder/cd.txt"_s);
    run = runProgram({ u"--export-cd"_s, catalogue, unwritable });
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(("yorvsaldrix: " + unwritable + ": ").toLocal8Bit()) && run.err.count('\n') == 1,
        run.err.constData());
}

void tst_CommandLine::qtOptionsBeforeTheEndOfOptionsAreQts()
{
    // Qt takes -reverse before "--"; both names after it are files: an option Qt does not know
    // after "--" is the second file, not a mistake.
    const Run run = runProgram({ u"-style=fusion"_s, u"--"_s, u"-reverse"_s, u"--frobnicate"_s });
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err,
        QByteArray("yorvsaldrix: -reverse: not opened: no display to show the window on (DISPLAY is not set)\n"));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
