// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "childprogram.h"
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

#include <sys/resource.h>
#include <sys/stat.h>

using namespace testfiles;

namespace {

// Fills a tree with more text than the small file-size limit below lets through.
void fillLarge(DocumentTree &tree)
{
    const int section = tree.appendSection(QStringLiteral("new"));
    for (int option = 0; option < 2000; ++option)
        tree.appendOption(
            section, QStringLiteral("option%1").arg(option), QStringLiteral("a value that is rather long"));
}

// Saves the tree with the bench in a child process whose file size is limited to a few kilobytes,
// which fails every write past them as a full disk does, for root too. The child keeps the
// program's own signal dispositions: a program that a write past the limit ends fails here.
QString errorOfLimitedSave(const DocumentTree &tree, const QString &fileName, const QString &scratch)
{
    const QString source = scratch + QStringLiteral("/source.ini");
    SaveTreeToIni(tree, source);
    return runProgram(benchProgram(), { QStringLiteral("roundtrip"), source, fileName }, [] {
        rlimit limited { 4096, 4096 };
        setrlimit(RLIMIT_FSIZE, &limited);
    }).outcome();
}

void fillOne(DocumentTree &tree)
{
    tree.appendOption(tree.appendSection(QStringLiteral("a")), QStringLiteral("x"), QStringLiteral("1"));
}

} // namespace

class tst_DiskFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void failedSaveKeepsTheOldFile();
    void saveIntoReadOnlyPlaces();
    void saveToWhatIsNoRegularFile();
    void saveThroughSymbolicLinks();
    void saveKeepsPermissionBits_data();
    void saveKeepsPermissionBits();
    void unreadableFilesAreReported_data();
    void unreadableFilesAreReported();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void tst_DiskFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_file = m_dir->filePath(QStringLiteral("doc.ini"));
}

void tst_DiskFaults::failedSaveKeepsTheOldFile()
{
    const QByteArray old = "; keep me\n[old]\nx=1\n";
    writeBytes(m_file, old);
    DocumentTree tree;
    fillLarge(tree);
    QTemporaryDir scratch;
    QCOMPARE(errorOfLimitedSave(tree, m_file, scratch.path()), QStringLiteral("Unable to write to %1").arg(m_file));
    QCOMPARE(readBytes(m_file), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("doc.ini") });

    // The same failure on a new file leaves no file behind.
    const QString fresh = m_dir->filePath(QStringLiteral("fresh.ini"));
    QCOMPARE(errorOfLimitedSave(tree, fresh, scratch.path()), QStringLiteral("Unable to write to %1").arg(fresh));
    QVERIFY(!QFileInfo::exists(fresh));

    SaveTreeToIni(tree, m_file);
    QVERIFY(readBytes(m_file).startsWith("[new]\noption0=a value that is rather long\n"));
}

void tst_DiskFaults::saveIntoReadOnlyPlaces()
{
    if (permissionsBypassed())
        QSKIP("permission bits do not stop this user");
    const auto setFolderWritable = [this](bool writable) {
        QFile::setPermissions(m_dir->path(),
            QFileDevice::ReadOwner | QFileDevice::ExeOwner
                | (writable ? QFileDevice::WriteOwner : QFileDevice::Permissions()));
    };
    // A read-only folder: the file is rewritten in place.
    writeBytes(m_file, QByteArray(10000, ';'));
    struct stat before { };
    QCOMPARE(::stat(QFile::encodeName(m_file).constData(), &before), 0);
    DocumentTree tree;
    fillOne(tree);
    setFolderWritable(false);
    const QString error = errorOfSave(tree, m_file);
    setFolderWritable(true);
    QCOMPARE(error, QStringLiteral("<done>"));
    QCOMPARE(readBytes(m_file), QByteArray("[a]\nx=1\n"));
    struct stat after { };
    QCOMPARE(::stat(QFile::encodeName(m_file).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);

    // A read-only file fails, in a writable folder or not, and is kept.
    const QByteArray old = "[old]\nx=1\n";
    writeBytes(m_file, old);
    QFile::setPermissions(m_file, QFileDevice::ReadOwner);
    QCOMPARE(errorOfSave(tree, m_file), QStringLiteral("Unable to write to %1").arg(m_file));
    setFolderWritable(false);
    QCOMPARE(errorOfSave(tree, m_file), QStringLiteral("Unable to write to %1").arg(m_file));
    setFolderWritable(true);
    QCOMPARE(readBytes(m_file), old);
}

void tst_DiskFaults::saveToWhatIsNoRegularFile()
{
    DocumentTree tree;
    fillOne(tree);
    QCOMPARE(errorOfSave(tree, m_dir->path()), QStringLiteral("Unable to write to %1").arg(m_dir->path()));
    QVERIFY(QFileInfo(m_dir->path()).isDir());
    QCOMPARE(errorOfSave(tree, m_dir->filePath(QStringLiteral("missing/doc.ini"))),
        QStringLiteral("Unable to write to %1").arg(m_dir->filePath(QStringLiteral("missing/doc.ini"))));

    // A device is written, not replaced by a file of the same name.
    const QString full = QStringLiteral("/dev/full");
    struct stat info { };
    if (::stat("/dev/full", &info) != 0 || !S_ISCHR(info.st_mode))
        QSKIP("no /dev/full here");
    QCOMPARE(errorOfSave(tree, full), QStringLiteral("Unable to write to /dev/full"));
    QVERIFY(::stat("/dev/full", &info) == 0 && S_ISCHR(info.st_mode));
}

void tst_DiskFaults::saveThroughSymbolicLinks()
{
    QDir(m_dir->path()).mkdir(QStringLiteral("real"));
    const QString target = m_dir->filePath(QStringLiteral("real/target.ini"));
    const QString link = m_dir->filePath(QStringLiteral("link.ini"));
    writeBytes(target, "[old]\nx=1\n");
    QVERIFY(QFile::link(QStringLiteral("real/target.ini"), link));
    DocumentTree tree;
    fillOne(tree);

    SaveTreeToIni(tree, link);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    QCOMPARE(readBytes(target), QByteArray("[a]\nx=1\n"));

    // A link whose target does not exist yet creates the target.
    const QString dangling = m_dir->filePath(QStringLiteral("dangling.ini"));
    QVERIFY(QFile::link(QStringLiteral("real/later.ini"), dangling));
    SaveTreeToIni(tree, dangling);
    QVERIFY(QFileInfo(dangling).isSymLink());
    QCOMPARE(readBytes(m_dir->filePath(QStringLiteral("real/later.ini"))), QByteArray("[a]\nx=1\n"));

    DocumentTree loaded;
    LoadTreeFromIni(loaded, link);
    QCOMPARE(loaded.sectionCount(), 1);
}

void tst_DiskFaults::saveKeepsPermissionBits_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("0600") << 0600;
    QTest::newRow("0664") << 0664;
}

void tst_DiskFaults::saveKeepsPermissionBits()
{
    QFETCH(int, mode);
    writeBytes(m_file, "[old]\nx=1\n");
    QCOMPARE(::chmod(QFile::encodeName(m_file).constData(), mode_t(mode)), 0);
    DocumentTree tree;
    fillOne(tree);
    SaveTreeToIni(tree, m_file);
    struct stat info { };
    QCOMPARE(::stat(QFile::encodeName(m_file).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), mode);
    QCOMPARE(readBytes(m_file), QByteArray("[a]\nx=1\n"));
}

void tst_DiskFaults::unreadableFilesAreReported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("FIFO without a writer") << QStringLiteral("fifo");
    QTest::newRow("endless device") << QStringLiteral("/dev/zero");
    QTest::newRow("empty device") << QStringLiteral("/dev/null");
    QTest::newRow("no read permission") << QStringLiteral("mode000");
}

void tst_DiskFaults::unreadableFilesAreReported()
{
    QFETCH(QString, kind);
    QString name = kind;
    if (kind == u"folder") {
        name = m_dir->path();
    } else if (kind == u"fifo") {
        name = m_dir->filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    } else if (kind == u"mode000") {
        if (permissionsBypassed())
            QSKIP("permission bits do not stop this user");
        name = m_file;
        writeBytes(name, "[a]\nx=1\n");
        QFile::setPermissions(name, QFileDevice::Permissions());
    } else if (!QFileInfo::exists(name)) {
        QSKIP("device missing");
    }
    DocumentTree tree;
    fill(tree, { { QStringLiteral("kept"), {} } });
    QCOMPARE(errorOf([&] { LoadTreeFromIni(tree, name); }), QStringLiteral("Unable to read %1").arg(name));
    QCOMPARE(tree.sectionCount(), 1);
    QVERIFY(!tree.inBatch());
}

QTEST_GUILESS_MAIN(tst_DiskFaults)
#include "tst_diskfaults.moc"
