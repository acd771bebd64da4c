// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What keeps a write to the file it was meant for, beside other writers and other users: the lock
// beside the file, the check that the file is still the one read, links swapped in between two
// steps, and the rule for links in sticky folders that all may write to.
#include "disk/filereplacer.h"
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "ini/treeio.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

using namespace Qt::StringLiterals;
using testfiles::readBytes;
using testfiles::writeBytes;

namespace {

constexpr uid_t Nobody = 65534;

// Runs `work` in a forked child, as uid 65534 when `asNobody` is set (and this is root), and hands
// back the message of its failure, or "<done>".
QString inChild(const std::function<void()> &work, bool asNobody = false)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return u"<no pipe>"_s;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        if (asNobody && ::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
            ::_exit(3);
        QString message = u"<done>"_s;
        try {
            work();
        } catch (const SaldrixError &error) {
            message = error.message();
        }
        const QByteArray bytes = message.toUtf8();
        (void)!::write(ends[1], bytes.constData(), size_t(bytes.size()));
        ::_exit(0);
    }
    ::close(ends[1]);
    QByteArray got;
    char buffer[1024];
    for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
        got.append(buffer, n);
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? QString::fromUtf8(got) : u"<child failed>"_s;
}

QString errorOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const SaldrixError &error) {
        return error.message();
    }
    return u"<done>"_s;
}

void replaceWith(const QString &fileName, const QByteArray &bytes)
{
    const QString other = fileName + u".other"_s;
    writeBytes(other, bytes);
    QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(fileName).constData()) == 0);
}

// A lock file as this program leaves it: the marker, and a kernel lock while its writer lives.
int holdLock(const QString &lockName, bool marked, bool held)
{
    const int fd = ::open(QFile::encodeName(lockName).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    if (held)
        ::flock(fd, LOCK_EX);
    if (marked)
        (void)!::write(fd, "yorvsaldrix 99999999\n", 21);
    if (!held) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

class tst_WriteGuards : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void aHeldLockIsWaitedForThenNamed();
    void aLockLeftByADeadWriterIsRemoved();
    void anotherProgramsLockIsNeverRemoved();
    void theFileMustStillBeTheOneRead_data();
    void theFileMustStillBeTheOneRead();
    void aLinkSwappedInBetweenTwoStepsIsRefused_data();
    void aLinkSwappedInBetweenTwoStepsIsRefused();
    void linksInStickyFoldersFollowTheKernelsRule_data();
    void linksInStickyFoldersFollowTheKernelsRule();
    void reasonsFollowTheMessage();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void tst_WriteGuards::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = m_dir->filePath(u"app.ini"_s);
}

void tst_WriteGuards::aHeldLockIsWaitedForThenNamed()
{
    writeBytes(m_file, "[a]\nx=1\n");
    const QString lockName = m_file + u".lock"_s;
    const int held = holdLock(lockName, true, true);
    QVERIFY(held >= 0);
    DocumentTree tree;
    tree.appendOption(tree.appendSection(u"a"_s), u"x"_s, u"2"_s);
    // The window's save and a script's write alike.
    const QString saved = errorOf([&] { SaveTreeToIni(tree, m_file); });
    QVERIFY2(
        saved.startsWith(u"Unable to write to %1\nAnother program is changing it: %2 exists."_s.arg(m_file, lockName)),
        qPrintable(saved));
    const QString set = errorOf([&] {
        FileReplacer file(m_file, 50);
        file.write("x");
        file.commit();
    });
    QVERIFY2(set.contains(lockName), qPrintable(set));
    QCOMPARE(readBytes(m_file), QByteArray("[a]\nx=1\n"));
    ::close(held);
    // Its writer gone, the lock is taken and removed after the write.
    QCOMPARE(errorOf([&] { SaveTreeToIni(tree, m_file); }), u"<done>"_s);
    QCOMPARE(readBytes(m_file), QByteArray("[a]\nx=2\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList { u"app.ini"_s });
}

void tst_WriteGuards::aLockLeftByADeadWriterIsRemoved()
{
    writeBytes(m_file, "[a]\nx=1\n");
    QCOMPARE(holdLock(m_file + u".lock"_s, true, false), -1);
    DocumentTree tree;
    tree.appendOption(tree.appendSection(u"a"_s), u"x"_s, u"2"_s);
    QCOMPARE(errorOf([&] { SaveTreeToIni(tree, m_file); }), u"<done>"_s);
    QCOMPARE(readBytes(m_file), QByteArray("[a]\nx=2\n"));
    QVERIFY(!QFile::exists(m_file + u".lock"_s));
}

void tst_WriteGuards::anotherProgramsLockIsNeverRemoved()
{
    // git's lock file, say: no marker, no kernel lock. It may be in use; only its owner removes it.
    writeBytes(m_file, "[a]\nx=1\n");
    QCOMPARE(holdLock(m_file + u".lock"_s, false, false), -1);
    const QString error = errorOf([&] {
        FileReplacer file(m_file, 50);
        file.commit();
    });
    QVERIFY2(error.contains(m_file + u".lock exists"_s), qPrintable(error));
    QVERIFY(QFile::exists(m_file + u".lock"_s));
    QCOMPARE(readBytes(m_file), QByteArray("[a]\nx=1\n"));
}

void tst_WriteGuards::theFileMustStillBeTheOneRead_data()
{
    QTest::addColumn<bool>("existed");
    QTest::addColumn<bool>("read");
    QTest::newRow("replaced after the read") << true << true;
    QTest::newRow("replaced after the start, no read") << true << false;
    QTest::newRow("made after a read found none") << false << true;
    QTest::newRow("made after the start, no read") << false << false;
}

void tst_WriteGuards::theFileMustStillBeTheOneRead()
{
    QFETCH(bool, existed);
    QFETCH(bool, read);
    if (existed)
        writeBytes(m_file, "[a]\nx=1\n");
    const QString error = errorOf([&] {
        FileReplacer file(m_file);
        if (read) {
            QByteArray bytes;
            (void)file.read(bytes);
        }
        // Another program, which takes no lock, puts its own file in place meanwhile.
        replaceWith(m_file, "[theirs]\n");
        file.write("[mine]\n");
        file.commit();
    });
    QVERIFY2(error.startsWith(u"Unable to write to %1\nThe file changed meanwhile"_s.arg(m_file)), qPrintable(error));
    QCOMPARE(readBytes(m_file), QByteArray("[theirs]\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList { u"app.ini"_s });
}

void tst_WriteGuards::aLinkSwappedInBetweenTwoStepsIsRefused_data()
{
    QTest::addColumn<bool>("inPlace"); // the folder takes no temporary file
    QTest::addColumn<bool>("asNobody");
    QTest::newRow("replace") << false << false;
    QTest::newRow("rewrite in place") << true << false;
    QTest::newRow("replace, uid 65534") << false << true;
    QTest::newRow("rewrite in place, uid 65534") << true << true;
}

void tst_WriteGuards::aLinkSwappedInBetweenTwoStepsIsRefused()
{
    QFETCH(bool, inPlace);
    QFETCH(bool, asNobody);
    if (asNobody && ::geteuid() != 0)
        QSKIP("needs root, to run the writer as uid 65534");
    // The file the writer must never reach, and the file it was asked to write, in a folder that
    // the writer owns.
    const QString folder = m_dir->filePath(u"folder"_s);
    QVERIFY(QDir().mkdir(folder));
    const QString victim = m_dir->filePath(u"victim"_s);
    writeBytes(victim, "secret\n");
    const QString file = folder + u"/app.ini"_s;
    writeBytes(file, "[a]\nx=1\n");
    if (asNobody) {
        QVERIFY(::chown(QFile::encodeName(folder).constData(), Nobody, Nobody) == 0);
        QVERIFY(::chown(QFile::encodeName(file).constData(), Nobody, Nobody) == 0);
        QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(victim).constData(), 0666) == 0); // it could write it
    }
    const QString error = inChild(
        [&] {
            // State for the in-place rewrite's copy of the old bytes, in a folder of its own.
            const QString state = folder + u"/state"_s;
            ::setenv("XDG_STATE_HOME", QFile::encodeName(state).constData(), 1);
            // A folder that takes no new file (except from root): the file is rewritten in place.
            const QByteArray folderName = QFile::encodeName(folder);
            QDir().mkpath(state);
            if (inPlace)
                ::chmod(folderName.constData(), 0555);
            FileReplacer replacer(file);
            QByteArray bytes;
            (void)replacer.read(bytes);
            replacer.write("[a]\nx=2\n");
            // Between the read and the commit, the name becomes a link to the victim.
            ::chmod(folderName.constData(), 0755);
            const QByteArray name = QFile::encodeName(file);
            ::unlink(name.constData());
            if (::symlink(QFile::encodeName(victim).constData(), name.constData()) != 0)
                throw SaldrixError(u"<no link>"_s);
            if (inPlace)
                ::chmod(folderName.constData(), 0555);
            replacer.commit();
        },
        asNobody);
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
    QVERIFY2(error.startsWith(u"Unable to write to %1\nThe file changed meanwhile"_s.arg(file)), qPrintable(error));
    QCOMPARE(readBytes(victim), QByteArray("secret\n"));
}

void tst_WriteGuards::linksInStickyFoldersFollowTheKernelsRule_data()
{
    QTest::addColumn<uid_t>("linkOwner");
    QTest::addColumn<uid_t>("folderOwner");
    QTest::addColumn<bool>("followed");
    QTest::newRow("another user's link in root's sticky folder") << Nobody << uid_t(0) << false;
    QTest::newRow("the folder owner's link") << Nobody << Nobody << true;
    QTest::newRow("the writer's own link") << uid_t(0) << uid_t(0) << true;
}

void tst_WriteGuards::linksInStickyFoldersFollowTheKernelsRule()
{
    QFETCH(uid_t, linkOwner);
    QFETCH(uid_t, folderOwner);
    QFETCH(bool, followed);
    if (::geteuid() != 0)
        QSKIP("needs root, to own files as another user");
    // /tmp, in small: sticky, and all may write to it.
    const QString sticky = m_dir->filePath(u"tmp"_s);
    QVERIFY(QDir().mkdir(sticky));
    QVERIFY(::chown(QFile::encodeName(sticky).constData(), folderOwner, folderOwner) == 0);
    QVERIFY(::chmod(QFile::encodeName(sticky).constData(), 01777) == 0);
    const QString rootOnly = m_dir->filePath(u"shadow"_s);
    writeBytes(rootOnly, "root:x:0:\n");
    QVERIFY(::chmod(QFile::encodeName(rootOnly).constData(), 0600) == 0);
    const QString link = sticky + u"/app.ini"_s;
    QVERIFY(QFile::link(rootOnly, link));
    QVERIFY(::lchown(QFile::encodeName(link).constData(), linkOwner, linkOwner) == 0);

    DocumentTree tree;
    tree.appendOption(tree.appendSection(u"a"_s), u"x"_s, u"1"_s);
    const QString error = errorOf([&] { SaveTreeToIni(tree, link); });
    if (followed) {
        QCOMPARE(error, u"<done>"_s);
        QCOMPARE(readBytes(rootOnly), QByteArray("[a]\nx=1\n"));
        QVERIFY(QFileInfo(link).isSymLink());
    } else {
        QCOMPARE(error, u"Unable to write to %1\nPermission denied."_s.arg(link));
        QCOMPARE(readBytes(rootOnly), QByteArray("root:x:0:\n"));
    }
}

void tst_WriteGuards::reasonsFollowTheMessage()
{
    DocumentTree tree;
    tree.appendOption(tree.appendSection(u"a"_s), u"x"_s, u"1"_s);
    // Each failure keeps its first line as it stands and says why on the next.
    QCOMPARE(errorOf([&] { SaveTreeToIni(tree, m_dir->filePath(u"missing/app.ini"_s)); }),
        u"Unable to write to %1\nIts folder does not exist."_s.arg(m_dir->filePath(u"missing/app.ini"_s)));
    QCOMPARE(errorOf([&] { SaveTreeToIni(tree, m_dir->path()); }),
        u"Unable to write to %1\nIt is a folder."_s.arg(m_dir->path()));
    QCOMPARE(
        errorOf([&] { SaveTreeToIni(tree, u"/dev/full"_s); }), u"Unable to write to /dev/full\nThe disk is full."_s);
    writeBytes(m_file, "[a]\nx=0\n");
    QVERIFY(::chmod(QFile::encodeName(m_file).constData(), 0444) == 0);
    QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
    QCOMPARE(inChild([&] { SaveTreeToIni(tree, m_file); }, true),
        u"Unable to write to %1\nPermission denied."_s.arg(m_file));
}

QTEST_GUILESS_MAIN(tst_WriteGuards)
#include "tst_writeguards.moc"
