// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "childprogram.h"
#include "exporttesthelpers.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "export/exportcatalogue.h"
#include "export/exportfile.h"
#include "export/exportoptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString g_watched;

// How many of this process's descriptors lead to the file.
int descriptorsTo(const QString &path)
{
    if (path.contains(QChar(u'\0')))
        return 0;
    int count = 0;
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir fds(u"/proc/self/fd"_s);
    for (const QString &fd : fds.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (!target.isEmpty() && QFile::symLinkTarget(fds.filePath(fd)) == target)
            ++count;
    }
    return count;
}

void noteWhetherOpen(const QString &event)
{
    eventLog() << event + (descriptorsTo(g_watched) > 0 ? u" (file open)"_s : QString());
}

class WatchingProgress final : public ExportProgress {
public:
    void BeginProgress(int total) override { eventLog() << u"begin %1"_s.arg(total); }
    void StepProgress() override { ++steps; }
    void EndProgress() override { noteWhetherOpen(u"end"_s); }
    int steps = 0;
};

} // namespace

class tst_ExportFailures : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // Runs an export that must fail; returns the message and checks the cleanup and its order.
    QString failingExport(
        const QString &catalogue, const QString &fileName, const QString &documentFileName = {}, int *steps = nullptr)
    {
        DocumentTree tree;
        fillTree(tree, catalogue);
        ExportOptions options;
        options.FileName = fileName;
        WatchingProgress progress;
        bool completed = false;
        QString message;
        eventLog().clear();
        g_watched = fileName;
        try {
            ExportCatalogue(tree, options, progress,
                { documentFileName, [&](const QString &) { completed = true; },
                    [](bool busy) { noteWhetherOpen(busy ? u"busy"_s : u"idle"_s); } });
        } catch (const SaldrixError &error) {
            message = error.message();
        }
        if (steps)
            *steps = progress.steps;
        [&] {
            QVERIFY2(!completed, "a failed export reported success");
            QCOMPARE(eventLog().size(), 4);
            QVERIFY(eventLog().at(0).startsWith(u"busy"_s));
            QVERIFY(eventLog().at(1).startsWith(u"begin"_s));
            QVERIFY(eventLog().at(2).startsWith(u"end"_s));
            QVERIFY(eventLog().at(3).startsWith(u"idle"_s));
            QCOMPARE(descriptorsTo(fileName), 0);
        }();
        return message;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void unusableNamesMakeNoFile_data();
    void unusableNamesMakeNoFile();
    void readOnlyFileIsRefused();
    void errorNumbersTheTestsCannotProvoke();
    void tooManyOpenFiles();
    void fullDiskStopsTheRun_data();
    void fullDiskStopsTheRun();
    void fullDiskInTheRealPrograms_data();
    void fullDiskInTheRealPrograms();
    void refusesToOverwriteTheOpenDocument_data();
    void refusesToOverwriteTheOpenDocument();
};

void tst_ExportFailures::unusableNamesMakeNoFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing folder") << m_dir.filePath(u"missing/out.txt"_s) << u"Invalid filename"_s;
    QTest::newRow("empty name") << QString() << u"Invalid filename"_s;
    QTest::newRow("name too long") << m_dir.filePath(QString(300, u'n')) << u"Invalid filename"_s;
    QTest::newRow("embedded NUL") << m_dir.filePath(u"cut\0.txt"_s) << u"Invalid filename"_s;
    QTest::newRow("a file used as a folder") << m_dir.filePath(u"plain.txt/out.txt"_s) << u"Invalid filename"_s;
    QTest::newRow("a folder as the name") << m_dir.filePath(u"folder"_s) << u"File access denied"_s;
    // Refused at once: opening a FIFO that nobody reads would wait for ever.
    QTest::newRow("a FIFO without a reader") << m_dir.filePath(u"pipe"_s) << u"File access denied"_s;
    QTest::newRow("a device") << u"/dev/full"_s << u"File access denied"_s;
}

void tst_ExportFailures::unusableNamesMakeNoFile()
{
    QFETCH(QString, fileName);
    QFETCH(QString, message);
    writeBytes(m_dir.filePath(u"plain.txt"_s), "keep");
    QVERIFY(QDir(m_dir.path()).mkpath(u"folder"_s));
    ::mkfifo(QFile::encodeName(m_dir.filePath(u"pipe"_s)).constData(), 0600);
    const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QCOMPARE(failingExport(workedExampleCatalogue(), fileName), message);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(readBytes(m_dir.filePath(u"plain.txt"_s)), QByteArray("keep"));
}

void tst_ExportFailures::errorNumbersTheTestsCannotProvoke()
{
    // A running program's file, a read-only mount and a full system table.
    QCOMPARE(ExportFile::errorText(ETXTBSY), u"File access denied"_s);
    QCOMPARE(ExportFile::errorText(EROFS), u"File access denied"_s);
    QCOMPARE(ExportFile::errorText(ENFILE), u"Too many open files"_s);
    QCOMPARE(ExportFile::errorText(EIO), u"I/O error 5"_s);
}

void tst_ExportFailures::readOnlyFileIsRefused()
{
    QString fileName = m_dir.filePath(u"readonly.txt"_s);
    writeBytes(fileName, "keep");
    QVERIFY(QFile::setPermissions(fileName, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    if (::geteuid() == 0) {
        // Permission bits do not stop root; a read-only attribute of the kernel does.
        fileName = u"/sys/kernel/notes"_s;
        const int fd = ::open("/sys/kernel/notes", O_WRONLY);
        if (fd >= 0 || errno != EACCES) {
            if (fd >= 0)
                ::close(fd);
            QSKIP("no file here refuses writing to root");
        }
    }
    QCOMPARE(failingExport(workedExampleCatalogue(), fileName), u"File access denied"_s);
    if (::geteuid() != 0)
        QCOMPARE(readBytes(fileName), QByteArray("keep"));
}

void tst_ExportFailures::tooManyOpenFiles()
{
    rlimit saved {};
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 64;
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> held;
    for (int fd = ::dup(0); fd >= 0; fd = ::dup(0))
        held.push_back(fd);
    const int dupError = errno;
    const QString message = failingExport(workedExampleCatalogue(), m_dir.filePath(u"many.txt"_s));
    for (int fd : held)
        ::close(fd);
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);

    QCOMPARE(dupError, EMFILE);
    QCOMPARE(message, u"Too many open files"_s);
    QVERIFY(!QFile::exists(m_dir.filePath(u"many.txt"_s)));
}

void tst_ExportFailures::fullDiskStopsTheRun_data()
{
    QTest::addColumn<int>("discs");
    QTest::addColumn<bool>("stopsEarly");
    // A short export fails when its last lines are flushed, a long one in the middle of the run.
    QTest::newRow("short export") << 2 << false;
    QTest::newRow("long export") << 4000 << true;
}

void tst_ExportFailures::fullDiskStopsTheRun()
{
    QFETCH(int, discs);
    QFETCH(bool, stopsEarly);
    QString catalogue;
    for (int disc = 0; disc < discs; ++disc)
        catalogue += u"[d%1]\nartist=Artist\ntitle=Title\n0=Track\n"_s.arg(disc);
    int steps = 0;
    // A file-size limit fails every write past its first byte, as a full disk does, for root too.
    // The programs ignore the signal such a write raises, as this test does (see below).
    rlimit saved {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 1;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const QString message = failingExport(catalogue, m_dir.filePath(u"full.txt"_s), {}, &steps);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QCOMPARE(message, u"I/O error %1"_s.arg(EFBIG));
    QCOMPARE(steps < discs, stopsEarly);
    // The cleanup closes the file last.
    QCOMPARE(eventLog().mid(2), QStringList({ u"end (file open)"_s, u"idle (file open)"_s }));
}

void tst_ExportFailures::fullDiskInTheRealPrograms_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("prefix"); // before the message: the program reports what it writes
    QTest::newRow("yorvsaldrix --export-cd")
        << editorProgram() << QStringList { u"--export-cd"_s } << u"yorvsaldrix: %1: "_s;
    // saldrix_bench hands the export to saldrix_bench_ui: both must keep going.
    QTest::newRow("saldrix_bench export") << benchProgram() << QStringList { u"export"_s } << QString();
}

void tst_ExportFailures::fullDiskInTheRealPrograms()
{
    QFETCH(QString, program);
    QFETCH(QStringList, command);
    QFETCH(QString, prefix);
    QTemporaryDir dir;
    QString catalogue;
    for (int disc = 0; disc < 4000; ++disc)
        catalogue += u"[d%1]\nartist=Artist\ntitle=Title\n0=Track\n"_s.arg(disc);
    const QString in = dir.filePath(u"cdplayer.ini"_s);
    const QString out = dir.filePath(u"out.txt"_s);
    writeBytes(in, catalogue.toUtf8());
    const ChildRun run = runProgram(program, command + QStringList { in, out }, [] {
        rlimit limit { 4096, 4096 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    QCOMPARE(run.outcome(), (prefix.isEmpty() ? QString() : prefix.arg(out)) + u"I/O error %1"_s.arg(EFBIG));
    QCOMPARE(readBytes(in), catalogue.toUtf8());
}

void tst_ExportFailures::refusesToOverwriteTheOpenDocument_data()
{
    QTest::addColumn<QString>("exportName");
    QTest::newRow("same name") << u"songs.txt"_s;
    QTest::newRow("through a symbolic link") << u"link.txt"_s;
    QTest::newRow("through a hard link") << u"hard.txt"_s;
    QTest::newRow("through a dotted path") << u"./sub/../songs.txt"_s;
}

void tst_ExportFailures::refusesToOverwriteTheOpenDocument()
{
    QFETCH(QString, exportName);
    const QString documentName = u"songs.txt"_s;
    QTemporaryDir dir;
    const QByteArray ini = "[1f3c9a2]\nartist=North Wind\n";
    writeBytes(dir.filePath(documentName), ini);
    QVERIFY(QDir(dir.path()).mkpath(u"sub"_s));
    QVERIFY(QFile::link(dir.filePath(documentName), dir.filePath(u"link.txt"_s)));
    QCOMPARE(::link(QFile::encodeName(dir.filePath(documentName)).constData(),
                 QFile::encodeName(dir.filePath(u"hard.txt"_s)).constData()),
        0);

    const QString message
        = failingExport(workedExampleCatalogue(), dir.filePath(exportName), dir.filePath(documentName));
    QVERIFY2(message.contains(u"open document"_s), qPrintable(message));
    QCOMPARE(readBytes(dir.filePath(documentName)), ini);

    // Another file of the same name elsewhere is no reason to refuse.
    DocumentTree tree;
    fillTree(tree, workedExampleCatalogue());
    ExportOptions options;
    options.FileName = dir.filePath(u"sub/"_s + documentName);
    NullExportProgress progress;
    ExportCatalogue(tree, options, progress, { dir.filePath(documentName), {}, {} });
    QVERIFY(readBytes(options.FileName).startsWith("North Wind - Low Tide\r\n"));
}

QTEST_GUILESS_MAIN(tst_ExportFailures)
#include "tst_exportfailures.moc"
