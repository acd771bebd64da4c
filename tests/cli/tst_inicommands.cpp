// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// --get, --set, --delete and --list, run as the real program without a display.
#include "programrun.h"
#include "randomini.h"
#include "savefaults.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using testfiles::readBytes;
using testfiles::writeBytes;

namespace {

using Run = ProgramRun;
using testfiles::Nobody;

// Runs the program with no display; as uid 65534 when `lower` is set and this is root, for whom
// permission bits would stop nothing.
Run runProgram(const QStringList &arguments, bool lower = false, const QString &outputFile = QString())
{
    QProcessEnvironment environment = environmentWithoutDisplay();
    QStringList command;
    if (lower && ::geteuid() == 0) {
        // A rewrite in place keeps the old bytes in the user's state folder: the lower user gets
        // one it may write to.
        static QTemporaryDir lowerState;
        ::chmod(QFile::encodeName(lowerState.path()).constData(), 01777);
        environment.insert(u"XDG_STATE_HOME"_s, lowerState.path());
        command = QStringList { u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s };
    }
    return runEditorProgram(arguments, environment, 60000, command, outputFile);
}

QByteArray utf16(const char16_t *text, bool little)
{
    QByteArray bytes = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (; *text != 0; ++text) {
        const char low = char(*text & 0xFF);
        const char high = char(*text >> 8);
        bytes.append(little ? low : high);
        bytes.append(little ? high : low);
    }
    return bytes;
}

void chown(const QString &path, uid_t user)
{
    QVERIFY(::chown(QFile::encodeName(path).constData(), user, user) == 0);
}

} // namespace

class tst_IniCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;

    // A message on standard error: one line that begins with the program's name and names the file.
    void checkMessage(const Run &run, const QString &fileName, const QByteArray &words)
    {
        QVERIFY2(run.err.startsWith("yorvsaldrix: ") && run.err.endsWith('\n') && run.err.count('\n') == 1,
            run.err.constData());
        QVERIFY2(run.err.contains(fileName.toUtf8()), run.err.constData());
        QVERIFY2(run.err.contains(words), run.err.constData());
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_file = m_dir->filePath(u"test.ini"_s);
    }

    void readsByTheStoresRules_data();
    void readsByTheStoresRules();
    void missingFile();
    void writesKeepEveryOtherByte_data();
    void writesKeepEveryOtherByte();
    void refusedWritesChangeNothing_data();
    void refusedWritesChangeNothing();
    void randomEditsKeepEveryOtherByte();
    void writesKeepModeAndLinks();
    void readOnlyFolder();
    void fileOverTheSizeLimit();
    void commandLineMistakes();
    void failedOutputIsReported();
    void undecodableArgumentsAreRefused();
};

void tst_IniCommands::readsByTheStoresRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("arguments"); // after the file
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out"); // or, on failure, words of the message

    const QByteArray comments = "; top=1\n[a]\n; x=9\n x = 1 \n# y=2\n[b]\n\ty\t=\t2 = 3\n";
    QTest::newRow("comments: value") << comments << QStringList { u"--get"_s, u"a"_s, u"x"_s } << 0
                                     << QByteArray("1\n");
    QTest::newRow("comments: value after the first =")
        << comments << QStringList { u"--get"_s, u"b"_s, u"y"_s } << 0 << QByteArray("2 = 3\n");
    QTest::newRow("comments: sections") << comments << QStringList { u"--list"_s } << 0 << QByteArray("a\nb\n");
    QTest::newRow("comments: commented option") << comments << QStringList { u"--get"_s, u"a"_s, u"y"_s } << 1
                                                << QByteArray("has no option \"y\" in section [a]");

    const QByteArray repeated = "[a]\nx=1\nx=2\n[b]\nz=0\n[a]\ny=3\nx=4\n[]\n=e\n";
    QTest::newRow("repeated: first value")
        << repeated << QStringList { u"--get"_s, u"a"_s, u"x"_s } << 0 << QByteArray("1\n");
    QTest::newRow("repeated: from the second place")
        << repeated << QStringList { u"--get"_s, u"a"_s, u"y"_s } << 0 << QByteArray("3\n");
    QTest::newRow("repeated: each section once, empty name included")
        << repeated << QStringList { u"--list"_s } << 0 << QByteArray("a\nb\n\n");
    QTest::newRow("repeated: each option once")
        << repeated << QStringList { u"--list"_s, u"a"_s } << 0 << QByteArray("x\ny\n");
    QTest::newRow("repeated: empty names")
        << repeated << QStringList { u"--get"_s, QString(), QString() } << 0 << QByteArray("e\n");
    QTest::newRow("names without their blanks")
        << repeated << QStringList { u"--get"_s, u" a\t"_s, u" y "_s } << 0 << QByteArray("3\n");
    QTest::newRow("letter case counts") << repeated << QStringList { u"--get"_s, u"A"_s, u"x"_s } << 1
                                        << QByteArray("has no section [A]");
    QTest::newRow("missing section listed")
        << repeated << QStringList { u"--list"_s, u"c"_s } << 1 << QByteArray("has no section [c]");
    QTest::newRow("section without options")
        << QByteArray("[a]\n[b]\nx=1\n") << QStringList { u"--list"_s, u"a"_s } << 0 << QByteArray();

    const char16_t *wide = u"[\u00E9t\u00E9]\r\nk=\u0436\u4E2D\r\n[b]\r\nx=1\r\n";
    QTest::newRow("UTF-16 LE with its mark")
        << utf16(wide, true) << QStringList { u"--get"_s, u"\u00E9t\u00E9"_s, u"k"_s } << 0
        << QByteArray("\u0436\u4E2D\n");
    QTest::newRow("UTF-16 BE with its mark")
        << utf16(wide, false) << QStringList { u"--list"_s } << 0 << QByteArray("\u00E9t\u00E9\nb\n");
    QTest::newRow("CR LF") << QByteArray("[a]\r\nx=1\r\ny=2\r\n") << QStringList { u"--get"_s, u"a"_s, u"x"_s } << 0
                           << QByteArray("1\n");
    QTest::newRow("CR only") << QByteArray("[a]\rx=1\ry=2\r") << QStringList { u"--list"_s, u"a"_s } << 0
                             << QByteArray("x\ny\n");
    QTest::newRow("Latin-1") << QByteArray("[caf\xE9]\nx=\xFF\n") << QStringList { u"--get"_s, u"caf\u00E9"_s, u"x"_s }
                             << 0 << QByteArray("\u00FF\n");
    // A header runs to the line's last "]": such section names are read back as written.
    QTest::newRow("section names with = [ ]")
        << QByteArray("[f=g]\n[[e]\n[c]d]\nx=1\n") << QStringList { u"--list"_s } << 0 << QByteArray("f=g\n[e\nc]d\n");
    QTest::newRow("option name with = is never found")
        << QByteArray("[a]\nx=y=1\n") << QStringList { u"--get"_s, u"a"_s, u"x=y"_s } << 1
        << QByteArray("has no option \"x=y\" in section [a]");
    QTest::newRow("line break in a name") << QByteArray("[a]\nx=1\n") << QStringList { u"--get"_s, u"a"_s, u"x\ny"_s }
                                          << 64 << QByteArray("was not read: a name cannot hold a line break");
}

void tst_IniCommands::readsByTheStoresRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    writeBytes(m_file, bytes);
    arguments.insert(1, m_file);
    const Run run = runProgram(arguments);
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        QCOMPARE(run.out, out);
        QCOMPARE(run.err, QByteArray());
    } else {
        QCOMPARE(run.out, QByteArray());
        checkMessage(run, m_file, out);
    }
    QCOMPARE(readBytes(m_file), bytes);
}

void tst_IniCommands::missingFile()
{
    const QString missing = m_dir->filePath(u"missing.ini"_s);
    for (const QStringList &arguments : { QStringList { u"--get"_s, missing, u"a"_s, u"x"_s },
             QStringList { u"--list"_s, missing }, QStringList { u"--list"_s, missing, u"a"_s } }) {
        const Run run = runProgram(arguments);
        QCOMPARE(run.exitCode, 1);
        checkMessage(run, missing, "does not exist");
    }
    // Deleting from a file that is not there deletes nothing and creates nothing.
    Run run = runProgram({ u"--delete"_s, missing, u"a"_s });
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!QFile::exists(missing));
    run = runProgram({ u"--set"_s, missing, u"a"_s, u"x"_s, u"1"_s });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(readBytes(missing), QByteArray("[a]\nx=1\n"));
    // A missing folder cannot take it.
    const QString nowhere = m_dir->filePath(u"no folder/x.ini"_s);
    run = runProgram({ u"--set"_s, nowhere, u"a"_s, u"x"_s, u"1"_s });
    QCOMPARE(run.exitCode, 2);
    checkMessage(run, nowhere, "Unable to write to");
}

void tst_IniCommands::writesKeepEveryOtherByte_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("arguments"); // after the file
    QTest::addColumn<QByteArray>("after");

    const QByteArray commented = "; top\n[a]\n; about x\nx = 1 ; not a comment\n\n# about b\n[b]\ny=2\n";
    QTest::newRow("replace in place") << commented << QStringList { u"--set"_s, u"a"_s, u"x"_s, u"-1"_s }
                                      << QByteArray("; top\n[a]\n; about x\nx=-1\n\n# about b\n[b]\ny=2\n");
    QTest::newRow("new option after the section's last")
        << commented << QStringList { u"--set"_s, u"a"_s, u"z"_s, u" v "_s }
        << QByteArray("; top\n[a]\n; about x\nx = 1 ; not a comment\nz= v \n\n# about b\n[b]\ny=2\n");
    QTest::newRow("new section at the end")
        << commented << QStringList { u"--set"_s, u"c"_s, u"k"_s, QString() } << commented + "\n[c]\nk=\n";
    QTest::newRow("delete an option") << commented << QStringList { u"--delete"_s, u"a"_s, u"x"_s }
                                      << QByteArray("; top\n[a]\n; about x\n\n# about b\n[b]\ny=2\n");
    QTest::newRow("delete a section") << commented << QStringList { u"--delete"_s, u"a"_s }
                                      << QByteArray("; top\n\n# about b\n[b]\ny=2\n");
    QTest::newRow("repeated: the first is replaced")
        << QByteArray("[a]\nx=1\n[b]\n[a]\nx=2\n") << QStringList { u"--set"_s, u"a"_s, u"x"_s, u"9"_s }
        << QByteArray("[a]\nx=9\n[b]\n[a]\nx=2\n");
    QTest::newRow("repeated: a new option goes to the last place")
        << QByteArray("[a]\nx=1\n[b]\n[a]\nx=2\n") << QStringList { u"--set"_s, u"a"_s, u"y"_s, u"9"_s }
        << QByteArray("[a]\nx=1\n[b]\n[a]\nx=2\ny=9\n");
    QTest::newRow("repeated: every line deleted")
        << QByteArray("[a]\nx=1\n[b]\nx=3\n[a]\nx=2\n") << QStringList { u"--delete"_s, u"a"_s, u"x"_s }
        << QByteArray("[a]\n[b]\nx=3\n[a]\n");
    QTest::newRow("CR LF") << QByteArray("[a]\r\nx=1\r\n") << QStringList { u"--set"_s, u"b"_s, u"y"_s, u"2"_s }
                           << QByteArray("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
    QTest::newRow("CR only, no line end at the end")
        << QByteArray("[a]\rx=1") << QStringList { u"--set"_s, u"a"_s, u"y"_s, u"2"_s }
        << QByteArray("[a]\rx=1\ry=2\r");
    QTest::newRow("UTF-8 with its mark") << QByteArray("\xEF\xBB\xBF[a]\nx=1\n")
                                         << QStringList { u"--set"_s, u"a"_s, u"x"_s, u"\u20AC"_s }
                                         << QByteArray("\xEF\xBB\xBF[a]\nx=\xE2\x82\xAC\n");
    QTest::newRow("UTF-16 LE with its mark")
        << utf16(u"[a]\r\nx=1\r\n", true) << QStringList { u"--set"_s, u"a"_s, u"y"_s, u"\u4E2D"_s }
        << utf16(u"[a]\r\nx=1\r\ny=\u4E2D\r\n", true);
    QTest::newRow("UTF-16 BE, delete") << utf16(u"[a]\nx=1\n[b]\ny=2\n", false) << QStringList { u"--delete"_s, u"a"_s }
                                       << utf16(u"[b]\ny=2\n", false);
    QTest::newRow("Latin-1 stays Latin-1")
        << QByteArray("[caf\xE9]\nx=1\n") << QStringList { u"--set"_s, u"caf\u00E9"_s, u"x"_s, u"\u00FF"_s }
        << QByteArray("[caf\xE9]\nx=\xFF\n");
    QTest::newRow("section names with = [ ]")
        << QByteArray("[f=g]\nx=1\n") << QStringList { u"--set"_s, u"[e"_s, u"x"_s, u"2"_s }
        << QByteArray("[f=g]\nx=1\n\n[[e]\nx=2\n");
    QTest::newRow("deleting what is not there writes nothing")
        << commented << QStringList { u"--delete"_s, u"a"_s, u"nothing"_s } << commented;
    QTest::newRow("operands after --") << commented << QStringList { u"--"_s, u"b"_s, u"y"_s, u"--"_s }
                                       << QByteArray(
                                              "; top\n[a]\n; about x\nx = 1 ; not a comment\n\n# about b\n[b]\ny=--\n");
}

void tst_IniCommands::writesKeepEveryOtherByte()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, after);
    writeBytes(m_file, before);
    if (arguments.first() == u"--")
        arguments.prepend(u"--set"_s);
    arguments.insert(arguments.at(1) == u"--" ? 2 : 1, m_file);
    Run run = runProgram(arguments);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(readBytes(m_file), after);
    // What was written reads back.
    if (arguments.first() == u"--set") {
        const QStringList operands = arguments.mid(arguments.at(1) == u"--" ? 3 : 2);
        run = runProgram({ u"--get"_s, m_file, operands.at(0), operands.at(1) });
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, operands.at(2).trimmed().toUtf8() + '\n');
    }
    // Nothing is left behind beside the file.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList { u"test.ini"_s });
}

void tst_IniCommands::refusedWritesChangeNothing_data()
{
    QTest::addColumn<QStringList>("arguments"); // after the file
    QTest::addColumn<QByteArray>("words");
    QTest::addColumn<int>("exitCode"); // 64: the arguments are refused; 2: the file cannot take them

    QTest::newRow("line break in a value")
        << QStringList { u"--set"_s, u"a"_s, u"x"_s, u"1\n2"_s } << QByteArray("cannot hold a line break") << 64;
    QTest::newRow("CR in a section") << QStringList { u"--set"_s, u"a\r"_s, u"x"_s, u"1"_s }
                                     << QByteArray("cannot hold a line break") << 64;
    QTest::newRow("line break in a deleted name")
        << QStringList { u"--delete"_s, u"a"_s, u"x\n"_s } << QByteArray("cannot hold a line break") << 64;
    // The reader would take these for another option, a header or a comment.
    for (const QString &key : { u"x=y"_s, u"=x"_s, u"[x"_s, u" ;x"_s, u"#x"_s }) {
        QTest::addRow("option name %s", qPrintable(key))
            << QStringList { u"--set"_s, u"a"_s, key, u"1"_s } << QByteArray("an option name cannot hold") << 64;
    }
    QTest::newRow("text a Latin-1 file cannot hold")
        << QStringList { u"--set"_s, u"caf\u00E9"_s, u"x"_s, u"\u20AC"_s } << QByteArray("Latin-1") << 2;
}

void tst_IniCommands::refusedWritesChangeNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, words);
    QFETCH(int, exitCode);
    const QByteArray before = "[caf\xE9]\nx=1\n[a]\nx=1\n";
    writeBytes(m_file, before);
    arguments.insert(1, m_file);
    const Run run = runProgram(arguments);
    QCOMPARE(run.exitCode, exitCode);
    checkMessage(run, m_file, words);
    QCOMPARE(readBytes(m_file), before);
}

void tst_IniCommands::randomEditsKeepEveryOtherByte()
{
    // Random files, one random --set or --delete each, and the whole file against the bytes that
    // the rule predicts, worked out on the file's lines alone.
    QRandomGenerator random(23);
    for (int round = 0; round < 40; ++round) {
        const randomini::File file = randomini::randomFile(random);
        const randomini::Edit edit = randomini::randomEdit(random, file);
        QFile::remove(m_file);
        const QByteArray before = randomini::bytesOf(file);
        if (file.exists)
            writeBytes(m_file, before);
        QStringList arguments;
        switch (edit.kind) {
        case randomini::Edit::Kind::Set:
            arguments = QStringList { u"--set"_s, m_file, edit.section, edit.key, edit.value };
            break;
        case randomini::Edit::Kind::DeleteOption:
            arguments = QStringList { u"--delete"_s, m_file, edit.section, edit.key };
            break;
        case randomini::Edit::Kind::DeleteSection:
            arguments = QStringList { u"--delete"_s, m_file, edit.section };
            break;
        }
        const Run run = runProgram(arguments);
        const std::optional<QByteArray> expected = randomini::predicted(file, edit);
        const QByteArray context = arguments.join(u' ').toUtf8() + "\nbefore: " + before.toPercentEncoding(" =[];#");
        QVERIFY2(run.exitCode == (expected ? 0 : 2), (context + '\n' + run.err).constData());
        const QByteArray after = readBytes(m_file);
        if (after != expected.value_or(before)) {
            qWarning("%s\nafter:  %s\nwanted: %s", context.constData(), after.toPercentEncoding(" =[];#").constData(),
                expected.value_or(before).toPercentEncoding(" =[];#").constData());
            QFAIL("the file is not what the command predicts");
        }
    }
}

void tst_IniCommands::writesKeepModeAndLinks()
{
    writeBytes(m_file, "[a]\nx=1\n");
    QVERIFY(QFile::setPermissions(m_file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QString link = m_dir->filePath(u"link.ini"_s);
    QVERIFY(QFile::link(m_file, link));
    Run run = runProgram({ u"--set"_s, link, u"a"_s, u"x"_s, u"2"_s });
    QCOMPARE(run.exitCode, 0);
    run = runProgram({ u"--delete"_s, link, u"a"_s, u"nothing"_s });
    QCOMPARE(run.exitCode, 0);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(m_file), QByteArray("[a]\nx=2\n"));
    struct stat info { };
    QCOMPARE(::stat(QFile::encodeName(m_file).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0640));
}

void tst_IniCommands::readOnlyFolder()
{
    // A folder this user may not write to: root becomes uid 65534 for the program, which owns the
    // folder and its files but has no write bit on the folder.
    QVERIFY(QFile::setPermissions(
        m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const QString folder = m_dir->filePath(u"read-only"_s);
    QVERIFY(QDir().mkdir(folder));
    const QString writable = folder + u"/writable.ini"_s;
    const QString readOnly = folder + u"/read-only.ini"_s;
    const QString created = folder + u"/new.ini"_s;
    writeBytes(writable, "; kept\n[a]\nx=1\n");
    writeBytes(readOnly, "[a]\nx=1\n");
    QVERIFY(::chmod(QFile::encodeName(readOnly).constData(), 0444) == 0);
    if (::geteuid() == 0) {
        for (const QString &path : { folder, writable, readOnly })
            chown(path, Nobody);
    }
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);

    // Reading needs no write.
    Run run = runProgram({ u"--get"_s, readOnly, u"a"_s, u"x"_s }, true);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("1\n"));
    // A file that may be written is rewritten where it stands.
    run = runProgram({ u"--set"_s, writable, u"a"_s, u"y"_s, u"2"_s }, true);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QCOMPARE(readBytes(writable), QByteArray("; kept\n[a]\nx=1\ny=2\n"));
    run = runProgram({ u"--delete"_s, writable, u"a"_s, u"x"_s }, true);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QCOMPARE(readBytes(writable), QByteArray("; kept\n[a]\ny=2\n"));
    // A read-only file, and a new file, cannot be written: said, and nothing changes.
    for (const QStringList &arguments :
        { QStringList { u"--set"_s, readOnly, u"a"_s, u"x"_s, u"2"_s }, QStringList { u"--delete"_s, readOnly, u"a"_s },
            QStringList { u"--set"_s, created, u"a"_s, u"x"_s, u"2"_s } }) {
        run = runProgram(arguments, true);
        QCOMPARE(run.exitCode, 2);
        checkMessage(run, arguments.at(1), "Unable to write to");
    }
    QCOMPARE(readBytes(readOnly), QByteArray("[a]\nx=1\n"));
    QVERIFY(!QFile::exists(created));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
}

void tst_IniCommands::fileOverTheSizeLimit()
{
    // A sparse file just over 1 GiB takes no room on the disk.
    const QByteArray start = "[a]\nx=1\n";
    writeBytes(m_file, start);
    QVERIFY(::truncate(QFile::encodeName(m_file).constData(), (qint64(1) << 30) + 1) == 0);
    for (const QStringList &arguments : { QStringList { u"--set"_s, m_file, u"a"_s, u"x"_s, u"2"_s },
             QStringList { u"--delete"_s, m_file, u"a"_s }, QStringList { u"--get"_s, m_file, u"a"_s, u"x"_s } }) {
        const Run run = runProgram(arguments);
        QCOMPARE(run.exitCode, 2);
        checkMessage(run, m_file, "larger than 1 GiB");
    }
    QCOMPARE(QFileInfo(m_file).size(), (qint64(1) << 30) + 1);
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(start.size()), start);
}

void tst_IniCommands::commandLineMistakes()
{
    writeBytes(m_file, "[a]\nx=1\n");
    struct Case {
        QStringList arguments;
        QByteArray words;
        int exitCode;
    };
    const Case cases[] = {
        { { u"--get"_s, m_file, u"a"_s }, "--get takes FILE SECTION KEY", 64 },
        { { u"--set"_s, m_file, u"a"_s, u"x"_s }, "--set takes FILE SECTION KEY VALUE", 64 },
        { { u"--delete"_s, m_file, u"a"_s, u"x"_s, u"y"_s }, "--delete takes FILE SECTION [KEY]", 64 },
        { { u"--list"_s }, "--list takes FILE [SECTION]", 64 },
        { { m_file, u"--get"_s, u"a"_s, u"x"_s }, "--get must be the first argument", 64 },
        { { u"--list"_s, m_dir->path() }, "Unable to read", 2 },
    };
    for (const Case &c : cases) {
        const Run run = runProgram(c.arguments);
        QCOMPARE(run.exitCode, c.exitCode);
        QVERIFY2(run.err.contains(c.words), run.err.constData());
    }
    QCOMPARE(readBytes(m_file), QByteArray("[a]\nx=1\n"));
}

void tst_IniCommands::failedOutputIsReported()
{
    writeBytes(m_file, "[a]\nx=1\n");
    const Run run = runProgram({ u"--get"_s, m_file, u"a"_s, u"x"_s }, false, u"/dev/full"_s);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith("yorvsaldrix: ") && run.err.contains("standard output"), run.err.constData());
}

void tst_IniCommands::undecodableArgumentsAreRefused()
{
    // Bytes that are not UTF-8 would be written as U+FFFD: the run is refused as a usage error, in
    // the value, a name or the file's own name alike.
    writeBytes(m_file, "[a]\nx=1\n");
    const QString program = QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix");
    const struct {
        const char *script;
        QByteArray words;
    } cases[] = {
        { R"sh(exec "$0" --set "$1" a x "$(printf 'caf\351')")sh", "argument 5 is not valid text" },
        { R"sh(exec "$0" --set "$1" "$(printf '\377')" x 1)sh", "argument 3 is not valid text" },
        { R"sh(exec "$0" --delete "$1" a "$(printf '\300\200')")sh", "argument 4 is not valid text" },
        { R"sh(exec "$0" --get "$(printf '\351').ini" a x)sh", "argument 2 is not valid text" },
    };
    for (const auto &c : cases) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        process.setProcessEnvironment(environment);
        process.start(u"sh"_s, { u"-c"_s, QString::fromLatin1(c.script), program, m_file });
        QVERIFY(process.waitForFinished(60000));
        const QByteArray err = process.readAllStandardError();
        QVERIFY2(process.exitCode() == 64 && err.contains(c.words), (c.script + ("\n" + err)).constData());
        QVERIFY2(err.startsWith("yorvsaldrix: ") && err.count('\n') == 1, err.constData());
        QCOMPARE(readBytes(m_file), QByteArray("[a]\nx=1\n"));
    }
}

QTEST_GUILESS_MAIN(tst_IniCommands)
#include "tst_inicommands.moc"
