// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "childprogram.h"
#include "disk/diskfile.h"
#include "disk/filereplacer.h"
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "ini/treeio.h"
#include "savefaults.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testfiles;

namespace {

// A tree whose saved text is exactly size bytes long ("[s]\nk=...\n"), or empty for 0.
void fillToSize(DocumentTree &tree, qsizetype size)
{
    if (size == 0)
        return;
    QVERIFY(size >= 7);
    tree.appendOption(tree.appendSection(QStringLiteral("s")), QStringLiteral("k"), QString(size - 7, u'v'));
}

// Saves the tree through the real program in a child process: the bench's roundtrip loads a copy of
// the tree's file and saves it to fileName. The child has the program's own signal dispositions;
// `prepare` sets the file-size limit or the lower user for it alone. Returns the save's message,
// "<done>" for success.
QString saveInChild(const DocumentTree &tree, const QString &fileName, const std::function<void()> &prepare)
{
    const QString folder = QFileInfo(fileName).absolutePath() + QStringLiteral("/source");
    QDir().mkpath(folder);
    ::chmod(QFile::encodeName(folder).constData(), 0755); // the child may be another user
    const QString source = folder + QStringLiteral("/tree.ini");
    SaveTreeToIni(tree, source);
    ::chmod(QFile::encodeName(source).constData(), 0644);
    return runProgram(benchProgram(), { QStringLiteral("roundtrip"), source, fileName }, prepare).outcome();
}

// What a full disk does to every write past the limit; works for root too. The signal a write
// past it raises is left as the program sets it.
void limitFileSize(rlim_t bytes)
{
    rlimit limit { bytes, bytes };
    setrlimit(RLIMIT_FSIZE, &limit);
}

void becomeNobody()
{
    if (::geteuid() == 0
        && (::setgroups(0, nullptr) != 0 || ::setresgid(Nobody, Nobody, Nobody) != 0
            || ::setresuid(Nobody, Nobody, Nobody) != 0))
        ::_exit(3);
}

// Sets up the save's child so that the folder takes no temporary file but the file may be written:
// root hands the file to a lower user and becomes that user; anybody else closes the folder.
std::function<void()> inPlaceSaver(const QString &folder, const QString &file, rlim_t limit = RLIM_INFINITY)
{
    return [=] {
        if (::geteuid() == 0) {
            struct stat info { };
            ::stat(QFile::encodeName(file).constData(), &info);
            (void)!::chown(QFile::encodeName(file).constData(), Nobody, Nobody);
            ::chmod(QFile::encodeName(file).constData(), info.st_mode & 07777);
            becomeNobody();
        } else {
            ::chmod(QFile::encodeName(folder).constData(), 0555);
        }
        if (limit != RLIM_INFINITY)
            limitFileSize(limit);
    };
}

QString linkText(const QString &link)
{
    char text[4096];
    const ssize_t length = ::readlink(QFile::encodeName(link).constData(), text, sizeof text);
    return length < 0 ? QString() : QFile::decodeName(QByteArray(text, length));
}

struct stat statOf(const QString &fileName)
{
    struct stat info { };
    if (::lstat(QFile::encodeName(fileName).constData(), &info) != 0)
        info.st_ino = 0;
    return info;
}

} // namespace

class tst_SaveFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void anotherUsersFileInAStickyFolder();
    void saveKeepsTheWholeMode_data();
    void saveKeepsTheWholeMode();
    void rootKeepsOwnerAndGroup();
    void unresolvableLinksAreLeftAlone_data();
    void unresolvableLinksAreLeftAlone();
    void fileTooLargeIsRefusedAtOnce();
    void theLimitCountsWhatIsRead_data();
    void theLimitCountsWhatIsRead();
    void saveLargerThanTheEditorOpensIsRefused();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void tst_SaveFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    // Other users (the one a child process turns into) must reach the folder.
    QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755));
    m_file = m_dir->filePath(QStringLiteral("doc.ini"));
    // A rewrite in place keeps the old bytes in the recovery folder, which the lower user must be
    // able to make: the state folder is open to all, as /tmp is.
    const QString state = m_dir->filePath(QStringLiteral("state"));
    QDir().mkdir(state);
    ::chmod(QFile::encodeName(state).constData(), 01777);
    qputenv("XDG_STATE_HOME", QFile::encodeName(state));
}

void tst_SaveFaults::cleanup()
{
    QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755));
}

void tst_SaveFaults::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<bool>("existing");
    const qsizetype sizes[] = { 0, 100, 16384, 16385, 70 * 1000, 3 * 1000 * 1000 };
    for (const qsizetype size : sizes) {
        QTest::addRow("%lld bytes, temporary file, existing", qlonglong(size)) << size << false << true;
        QTest::addRow("%lld bytes, temporary file, new", qlonglong(size)) << size << false << false;
        QTest::addRow("%lld bytes, in place", qlonglong(size)) << size << true << true;
    }
}

void tst_SaveFaults::fullDiskKeepsTheOldFile()
{
    QFETCH(qsizetype, size);
    QFETCH(bool, inPlace);
    QFETCH(bool, existing);
    const QByteArray old = QByteArray("; keep me\n[old]\n") + QByteArray(30000, 'o') + "=1\n";
    if (existing)
        writeBytes(m_file, old);
    DocumentTree tree;
    fillToSize(tree, size);

    // The limit lets every byte but the last through: only a check of each write sees the loss.
    const rlim_t limit = size > 0 ? rlim_t(size - 1) : 0;
    const QString error = saveInChild(tree, m_file,
        inPlace ? inPlaceSaver(m_dir->path(), m_file, limit)
                : std::function<void()>([limit] { limitFileSize(limit); }));
    // Nothing to write: the save succeeds and the file is empty; but a rewrite in place must first
    // keep the old bytes, which the limit refuses.
    if (size == 0 && !inPlace) {
        QCOMPARE(error, QStringLiteral("<done>"));
        QCOMPARE(readBytes(m_file), QByteArray());
    } else {
        QCOMPARE(error, QStringLiteral("Unable to write to %1").arg(m_file));
        if (existing)
            QCOMPARE(readBytes(m_file), old);
        else
            QVERIFY(!QFileInfo::exists(m_file));
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
        existing || size == 0 ? QStringList { QStringLiteral("doc.ini") } : QStringList());

    // With room to spare the same save writes every byte, on the same path.
    const struct stat before = statOf(m_file);
    const QString done = saveInChild(
        tree, m_file, inPlace ? inPlaceSaver(m_dir->path(), m_file) : [] {});
    if (inPlace)
        QCOMPARE(statOf(m_file).st_ino, before.st_ino);
    QCOMPARE(done, QStringLiteral("<done>"));
    QCOMPARE(readBytes(m_file).size(), size);
}

void tst_SaveFaults::anotherUsersFileInAStickyFolder()
{
    if (::geteuid() != 0)
        QSKIP("needs root: only root can make another user's file");
    // Root's file, which everybody may write, in a folder like /tmp: the rename is refused.
    QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7777));
    ::chmod(QFile::encodeName(m_dir->path()).constData(), 01777);
    writeBytes(m_file, "[old]\nx=1\n");
    ::chmod(QFile::encodeName(m_file).constData(), 0666);
    const struct stat before = statOf(m_file);
    DocumentTree tree;
    fillToSize(tree, 100);
    QCOMPARE(saveInChild(tree, m_file, becomeNobody), QStringLiteral("<done>"));
    QCOMPARE(readBytes(m_file).size(), 100);
    const struct stat after = statOf(m_file);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_uid, uid_t(0));

    // A full disk there keeps the old bytes too.
    writeBytes(m_file, "[old]\nx=1\n");
    fillToSize(tree, 70000);
    QCOMPARE(saveInChild(tree, m_file,
                 [] {
                     becomeNobody();
                     limitFileSize(50000);
                 }),
        QStringLiteral("Unable to write to %1").arg(m_file));
    QCOMPARE(readBytes(m_file), QByteArray("[old]\nx=1\n"));
}

void tst_SaveFaults::saveKeepsTheWholeMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("set-user") << 04755;
    QTest::newRow("set-group") << 02664;
    QTest::newRow("sticky") << 01644;
    QTest::newRow("read-only, saved by root") << 0444;
}

void tst_SaveFaults::saveKeepsTheWholeMode()
{
    QFETCH(int, mode);
    writeBytes(m_file, "[old]\nx=1\n");
    QCOMPARE(::chmod(QFile::encodeName(m_file).constData(), mode_t(mode)), 0);
    DocumentTree tree;
    fillToSize(tree, 100);
    const QString error = errorOfSave(tree, m_file);
    if (!(mode & 0200) && ::geteuid() != 0) { // a read-only file stops everybody but root
        QCOMPARE(error, QStringLiteral("Unable to write to %1").arg(m_file));
        QCOMPARE(readBytes(m_file), QByteArray("[old]\nx=1\n"));
    } else {
        QCOMPARE(error, QStringLiteral("<done>"));
        QCOMPARE(readBytes(m_file).size(), 100);
    }
    QCOMPARE(int(statOf(m_file).st_mode & 07777), mode);

    // The in-place path keeps it as well, though a write drops the set-user and set-group bits.
    if (mode & 0200) {
        QCOMPARE(saveInChild(tree, m_file, inPlaceSaver(m_dir->path(), m_file)), QStringLiteral("<done>"));
        QCOMPARE(int(statOf(m_file).st_mode & 07777), mode);
    }
}

void tst_SaveFaults::rootKeepsOwnerAndGroup()
{
    if (::geteuid() != 0)
        QSKIP("needs root: only root can save another user's file by rename");
    writeBytes(m_file, "[old]\nx=1\n");
    QCOMPARE(::chown(QFile::encodeName(m_file).constData(), Nobody, Nobody), 0);
    QCOMPARE(::chmod(QFile::encodeName(m_file).constData(), 02640), 0);
    DocumentTree tree;
    fillToSize(tree, 100);
    QCOMPARE(errorOfSave(tree, m_file), QStringLiteral("<done>"));
    const struct stat info = statOf(m_file);
    QCOMPARE(info.st_uid, Nobody);
    QCOMPARE(info.st_gid, gid_t(Nobody));
    QCOMPARE(int(info.st_mode & 07777), 02640);
}

void tst_SaveFaults::unresolvableLinksAreLeftAlone_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("other");
    QTest::newRow("loop of two") << QStringLiteral("b.ini") << QStringLiteral("doc.ini");
    QTest::newRow("link to itself") << QStringLiteral("doc.ini") << QString();
    QTest::newRow("into a missing folder") << QStringLiteral("missing/x.ini") << QString();
}

void tst_SaveFaults::unresolvableLinksAreLeftAlone()
{
    QFETCH(QString, target);
    QFETCH(QString, other);
    QVERIFY(QFile::link(target, m_file));
    if (!other.isEmpty())
        QVERIFY(QFile::link(other, m_dir->filePath(target)));
    DocumentTree tree;
    fillToSize(tree, 100);
    QCOMPARE(errorOfSave(tree, m_file), QStringLiteral("Unable to write to %1").arg(m_file));
    QVERIFY(QFileInfo(m_file).isSymLink());
    QCOMPARE(linkText(m_file), target);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), other.isEmpty() ? 1 : 2);
}

void tst_SaveFaults::fileTooLargeIsRefusedAtOnce()
{
    // A sparse file: its size costs no disk.
    writeBytes(m_file, "[a]\nx=1\n");
    QCOMPARE(::truncate(QFile::encodeName(m_file).constData(), (off_t(1) << 30) + 1), 0);
    DocumentTree tree;
    QString error;
    try {
        LoadTreeFromIni(tree, m_file);
    } catch (const SaldrixError &e) {
        error = e.message();
    }
    QCOMPARE(error, QStringLiteral("Unable to read %1\nThe file is larger than 1 GiB.").arg(m_file));
    QCOMPARE(tree.sectionCount(), 0);
}

void tst_SaveFaults::theLimitCountsWhatIsRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<int>("outcome");
    QTest::newRow("at the limit") << QStringLiteral("100") << qint64(100) << int(ReadOutcome::Read);
    QTest::newRow("one byte past it") << QStringLiteral("101") << qint64(100) << int(ReadOutcome::TooLarge);
    QTest::newRow("empty, no room at all") << QStringLiteral("0") << qint64(0) << int(ReadOutcome::Read);
    // These files say they are empty and then give kilobytes, as a file that grows while it is
    // read gives more than its size at opening.
    QTest::newRow("more than its size said")
        << QStringLiteral("/proc/self/maps") << qint64(100) << int(ReadOutcome::TooLarge);
    QTest::newRow("less than the limit") << QStringLiteral("/proc/self/maps") << MaxReadSize << int(ReadOutcome::Read);
}

void tst_SaveFaults::theLimitCountsWhatIsRead()
{
    QFETCH(QString, file);
    QFETCH(qint64, limit);
    QFETCH(int, outcome);
    if (!file.startsWith(u'/')) {
        const qsizetype size = file.toLongLong();
        file = m_dir->filePath(QStringLiteral("sized.ini"));
        writeBytes(file, QByteArray(size, 'x'));
    }
    QByteArray bytes;
    QCOMPARE(int(readWholeFile(file, bytes, limit)), outcome);
    QVERIFY(bytes.size() <= limit);
    if (outcome == int(ReadOutcome::TooLarge))
        QVERIFY(bytes.isEmpty());
}

void tst_SaveFaults::saveLargerThanTheEditorOpensIsRefused()
{
    // A gigabyte in memory rather than on the disk, where the machine has such a folder.
    const QString shm = QStringLiteral("/dev/shm");
    QTemporaryDir dir((QFileInfo(shm).isWritable() ? shm : QDir::tempPath()) + QStringLiteral("/saldrix-XXXXXX"));
    QVERIFY(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("doc.ini"));
    const QByteArray old = "[old]\nx=1\n";
    writeBytes(fileName, old);

    // Every save writes through this: exactly the largest size the editor opens is taken, one
    // byte more is refused, and the old file stays.
    QString error;
    bool tookTheLargest = false;
    try {
        FileReplacer file(fileName);
        const QByteArray piece(1 << 20, 'x');
        for (qint64 written = 0; written < MaxReadSize; written += piece.size())
            file.write(piece);
        tookTheLargest = true;
        file.write("y");
        file.commit();
    } catch (const SaldrixError &e) {
        error = e.message();
    }
    QVERIFY(tookTheLargest);
    QCOMPARE(error,
        QStringLiteral("Unable to write to %1\nThe file would be larger than 1 GiB, the most this editor opens.")
            .arg(fileName));
    QCOMPARE(readBytes(fileName), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("doc.ini") });
}

QTEST_GUILESS_MAIN(tst_SaveFaults)
#include "tst_savefaults.moc"
