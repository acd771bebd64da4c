// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Recovery copies between processes: a copy belongs to the process that holds it until that
// process ends, however it ends; and an in-place rewrite keeps the old bytes as such a copy, so
// that a kill part-way leaves the whole old file to get back.
#include "disk/recoverycopy.h"
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "ini/treeio.h"
#include "savefaults.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testfiles;

class tst_RecoveryCopy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void aCopyBelongsToItsProcessUntilItEnds();
    void claimingFindsTheFileByAnyOfItsNames();
    void inPlaceRewriteKilledPartWayLeavesTheOldFile();
    void inPlaceRewriteLeavesNoCopyOnceDone_data();
    void inPlaceRewriteLeavesNoCopyOnceDone();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_state;
};

namespace {

// A child process that runs `work` and then waits for its parent to end it.
pid_t childThat(const std::function<void()> &work, int &ready)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        work();
        (void)!::write(pipeEnds[1], "!", 1);
        for (;;)
            ::pause();
    }
    ::close(pipeEnds[1]);
    ready = pipeEnds[0];
    return child;
}

void endChild(pid_t child)
{
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

// Prepares a child so that the file's folder takes no new file but the file may be written: root
// hands the file (and the copies' folder) to a lower user and becomes it; anybody else closes the
// folder.
void rewriteInPlaceFrom(const QString &folder, const QString &file, const QString &state)
{
    if (::geteuid() == 0) {
        struct stat info { };
        ::stat(QFile::encodeName(file).constData(), &info);
        for (const QString &path : { file, state })
            (void)!::chown(QFile::encodeName(path).constData(), Nobody, Nobody);
        ::chmod(QFile::encodeName(file).constData(), info.st_mode & 07777);
        if (::setgroups(0, nullptr) != 0 || ::setresgid(Nobody, Nobody, Nobody) != 0
            || ::setresuid(Nobody, Nobody, Nobody) != 0)
            ::_exit(3);
    } else {
        ::chmod(QFile::encodeName(folder).constData(), 0555);
    }
}

// The sample tree saved as about `size` bytes of a single option's value.
void fillTo(DocumentTree &tree, qsizetype size, char16_t letter)
{
    tree.appendOption(tree.appendSection(QStringLiteral("s")), QStringLiteral("k"), QString(size, letter));
}

QByteArray firstBytes(const QString &fileName, int count)
{
    QByteArray bytes(count, '\0');
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    const ssize_t got = fd >= 0 ? ::pread(fd, bytes.data(), size_t(count), 0) : -1;
    if (fd >= 0)
        ::close(fd);
    return got == count ? bytes : QByteArray();
}

} // namespace

void tst_RecoveryCopy::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    // Other users (the one a child process turns into) must reach the folder.
    QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755));
    m_state = m_dir->filePath(QStringLiteral("state"));
    RecoveryCopy::setFolder(m_state);
}

void tst_RecoveryCopy::aCopyBelongsToItsProcessUntilItEnds()
{
    const QString doc = m_dir->filePath(QStringLiteral("doc.ini"));
    int ready = -1;
    const pid_t holder = childThat(
        [&doc] {
            static std::unique_ptr<RecoveryCopy> held;
            held = RecoveryCopy::create(doc);
            held->writeBytes("[kept]\nk=v\n");
        },
        ready);
    QVERIFY(holder > 0);
    char byte = 0;
    QCOMPARE(::read(ready, &byte, 1), ssize_t(1));
    ::close(ready);
    QVERIFY(RecoveryCopy::claimFor(doc).empty());
    // A copy this process holds is not offered to it either.
    {
        auto mine = RecoveryCopy::create(doc);
        mine->writeBytes("[mine]\n");
        QVERIFY(RecoveryCopy::claimFor(doc).empty());
    }
    // A kill ends the holder's claim.
    endChild(holder);
    auto claimed = RecoveryCopy::claimFor(doc);
    QCOMPARE(claimed.size(), size_t(2));
    QCOMPARE(readBytes(claimed.front()->copyPath()) + readBytes(claimed.back()->copyPath()),
        QByteArray("[mine]\n[kept]\nk=v\n"));
    // A claim holds them in turn, until it is let go of; a removed copy is gone for good.
    QVERIFY(RecoveryCopy::claimFor(doc).empty());
    claimed.front()->remove();
    claimed.clear();
    claimed = RecoveryCopy::claimFor(doc);
    QCOMPARE(claimed.size(), size_t(1));
    QCOMPARE(readBytes(claimed.front()->copyPath()), QByteArray("[kept]\nk=v\n"));
}

void tst_RecoveryCopy::claimingFindsTheFileByAnyOfItsNames()
{
    QDir(m_dir->path()).mkdir(QStringLiteral("real"));
    const QString doc = m_dir->filePath(QStringLiteral("real/doc.ini"));
    writeBytes(doc, "[a]\n");
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("real")), m_dir->filePath(QStringLiteral("link"))));
    RecoveryCopy::create(doc)->writeBytes("[a]\nx=1\n");
    // A place whose copy was never written (its writer died first) is no copy, and is cleared away.
    (void)RecoveryCopy::create(doc);
    QCOMPARE(QDir(m_state).entryList({ QStringLiteral("*.name") }, QDir::Files).size(), 2);

    QVERIFY(RecoveryCopy::claimFor(m_dir->filePath(QStringLiteral("real/other.ini"))).empty());
    QVERIFY(RecoveryCopy::claimFor(QString()).empty());
    QCOMPARE(RecoveryCopy::claimFor(m_dir->filePath(QStringLiteral("link/doc.ini"))).size(), size_t(1));
    QCOMPARE(QDir(m_state).entryList({ QStringLiteral("*.name") }, QDir::Files).size(), 1);
    QVERIFY(QDir::setCurrent(m_dir->filePath(QStringLiteral("real"))));
    const auto claimed = RecoveryCopy::claimFor(QStringLiteral("doc.ini"));
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
    QCOMPARE(claimed.size(), size_t(1));
    QCOMPARE(claimed.front()->fileName(), doc);
}

void tst_RecoveryCopy::inPlaceRewriteKilledPartWayLeavesTheOldFile()
{
    const QString folder = m_dir->filePath(QStringLiteral("files"));
    QVERIFY(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
    QVERIFY(QDir().mkpath(m_state));
    const QString doc = folder + QStringLiteral("/doc.ini");
    // Large enough that the rewrite is still under way when the parent sees its first bytes.
    constexpr qsizetype Size = 32 << 20;
    DocumentTree oldTree;
    fillTo(oldTree, Size, u'o');
    DocumentTree newTree;
    fillTo(newTree, Size, u'n');
    SaveTreeToIni(newTree, doc);
    const QByteArray whole = readBytes(doc);
    SaveTreeToIni(oldTree, doc);
    const QByteArray old = readBytes(doc);

    // Each trial kills the rewrite as soon as its first bytes are in the file; whenever that
    // catches the file half old and half new, the whole old file must be in the copy. A busy
    // machine may let the rewrite finish first, so a few trials are made.
    int caughtPartWay = 0;
    for (int trial = 0; trial < 8 && caughtPartWay == 0; ++trial) {
        writeBytes(doc, old);
        int unused = -1;
        const pid_t child = childThat(
            [&] {
                (void)!::nice(19); // slower than the parent that watches it
                rewriteInPlaceFrom(folder, doc, m_state);
                try {
                    SaveTreeToIni(newTree, doc);
                } catch (const SaldrixError &) {
                    ::_exit(5);
                }
            },
            unused);
        QVERIFY(child > 0);
        ::close(unused);
        const QByteArray oldStart = old.left(16);
        bool changed = false;
        while (!changed) {
            const QByteArray now = firstBytes(doc, 16);
            changed = !now.isEmpty() && now != oldStart;
            int status = 0;
            if (!changed && ::waitpid(child, &status, WNOHANG) == child)
                QFAIL(qPrintable(QStringLiteral("the save ended before it began: %1").arg(status)));
        }
        endChild(child);
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));

        const QByteArray now = readBytes(doc);
        const auto claimed = RecoveryCopy::claimFor(doc);
        if (now != whole) {
            ++caughtPartWay;
            // The old file is whole in the copy, there for the next start on the file.
            QCOMPARE(claimed.size(), size_t(1));
            QVERIFY(readBytes(claimed.front()->copyPath()) == old);
            DocumentTree recovered;
            LoadTreeFromIni(recovered, claimed.front()->copyPath());
            QCOMPARE(contentOf(recovered), contentOf(oldTree));
        } else if (!claimed.empty()) {
            // Killed between the sync and the copy's removal: the old file may still be had.
            QVERIFY(readBytes(claimed.front()->copyPath()) == old);
        }
        for (const auto &copy : claimed)
            copy->remove();
    }
    QVERIFY2(caughtPartWay > 0, "no kill came while the rewrite was under way");
}

void tst_RecoveryCopy::inPlaceRewriteLeavesNoCopyOnceDone_data()
{
    QTest::addColumn<bool>("copiesWritable");
    QTest::newRow("done") << true;
    // Without a place for the old bytes the file is not touched, and the save says so.
    QTest::newRow("no place for the old bytes") << false;
}

void tst_RecoveryCopy::inPlaceRewriteLeavesNoCopyOnceDone()
{
    QFETCH(bool, copiesWritable);
    const QString folder = m_dir->filePath(QStringLiteral("files"));
    QVERIFY(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
    QVERIFY(QDir().mkpath(m_state));
    if (!copiesWritable)
        RecoveryCopy::setFolder(m_dir->filePath(QStringLiteral("files/state")));
    const QString doc = folder + QStringLiteral("/doc.ini");
    const QByteArray old = "[old]\nx=1\n";
    writeBytes(doc, old);
    QFile::setPermissions(doc, QFileDevice::Permissions(0x6666));
    DocumentTree tree;
    fillTo(tree, 100, u'n');

    int ready = -1;
    const pid_t child = childThat(
        [&] {
            rewriteInPlaceFrom(folder, doc, m_state);
            try {
                SaveTreeToIni(tree, doc);
            } catch (const SaldrixError &) {
                ::_exit(5);
            }
        },
        ready);
    char byte = 0;
    const bool saved = ::read(ready, &byte, 1) == 1;
    ::close(ready);
    endChild(child);
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
    QCOMPARE(saved, copiesWritable);
    struct stat info { };
    QCOMPARE(::stat(QFile::encodeName(doc).constData(), &info), 0);
    if (copiesWritable)
        QVERIFY(readBytes(doc).startsWith("[s]\nk=nnn"));
    else
        QCOMPARE(readBytes(doc), old);
    QVERIFY(QDir(m_state).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("doc.ini") });
}

QTEST_GUILESS_MAIN(tst_RecoveryCopy)
#include "tst_recoverycopy.moc"
