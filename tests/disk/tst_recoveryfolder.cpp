// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The copies of unsaved changes are kept where only their user can reach them: a folder of the
// user's own, never another user's, never through a link; and what lies there that this program
// did not make for this user is never read.
#include "disk/diskfile.h"
#include "disk/recoverycopy.h"
#include "document/saldrixerror.h"
#include "testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

using namespace Qt::StringLiterals;
using testfiles::writeBytes;

namespace {

constexpr uid_t Nobody = 65534;

mode_t modeOf(const QString &path)
{
    struct stat info { };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// What `work` returns in a forked child, which may change its environment as the program's user
// would before starting it.
QString inChild(const std::function<QString()> &work)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return u"<no pipe>"_s;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        const QByteArray bytes = work().toUtf8();
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
    return QString::fromUtf8(got);
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

} // namespace

class tst_RecoveryFolder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void theFolderAndTheCopiesAreTheUsersAlone();
    void aFolderThatIsALinkOrAnotherUsersIsRefused_data();
    void aFolderThatIsALinkOrAnotherUsersIsRefused();
    void rootNeverUsesAnotherUsersStateFolder();
    void copiesNotMadeForThisUserAreNeverRead_data();
    void copiesNotMadeForThisUserAreNeverRead();
    void partsLeftByKilledWritersAreRemoved();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void tst_RecoveryFolder::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->filePath(u"state/recovery"_s);
    RecoveryCopy::setFolder(m_folder);
}

void tst_RecoveryFolder::cleanup()
{
    RecoveryCopy::setFolder(QString());
}

void tst_RecoveryFolder::theFolderAndTheCopiesAreTheUsersAlone()
{
    QVERIFY(QDir().mkpath(m_folder));
    QVERIFY(::chmod(QFile::encodeName(m_folder).constData(), 0755) == 0); // as an older version left it
    const auto copy = RecoveryCopy::create(m_dir->filePath(u"app.ini"_s));
    copy->writeBytes("[a]\nx=1\n");
    QCOMPARE(modeOf(m_folder), mode_t(0700));
    QCOMPARE(modeOf(copy->copyPath()), mode_t(0600));
    const QStringList files = QDir(m_folder).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(files.size(), 3); // the copy, its name and its lock
    for (const QString &name : files)
        QVERIFY2((modeOf(m_folder + u'/' + name) & 077) == 0, qPrintable(name));
    copy->remove();
}

void tst_RecoveryFolder::aFolderThatIsALinkOrAnotherUsersIsRefused_data()
{
    QTest::addColumn<bool>("link");
    QTest::newRow("a link to a folder of the user's own") << true;
    QTest::newRow("another user's folder") << false;
}

void tst_RecoveryFolder::aFolderThatIsALinkOrAnotherUsersIsRefused()
{
    QFETCH(bool, link);
    if (!link && ::geteuid() != 0)
        QSKIP("needs root, to give a folder to another user");
    // A copy planted where the folder leads, offered as the user's own if the folder were used.
    const QString elsewhere = m_dir->filePath(u"elsewhere"_s);
    QVERIFY(QDir().mkpath(elsewhere));
    QVERIFY(QDir().mkpath(m_dir->filePath(u"state"_s)));
    const QString file = m_dir->filePath(u"app.ini"_s);
    writeBytes(elsewhere + u"/planted.ini"_s, "[planted]\n");
    writeBytes(elsewhere + u"/planted.name"_s, file.toUtf8() + '\n');
    if (link) {
        QVERIFY(QFile::link(elsewhere, m_folder));
    } else {
        QVERIFY(QDir().rename(elsewhere, m_folder));
        for (const QString &path : { m_folder, m_folder + u"/planted.ini"_s, m_folder + u"/planted.name"_s })
            QVERIFY(::chown(QFile::encodeName(path).constData(), Nobody, Nobody) == 0);
    }
    QVERIFY(RecoveryCopy::claimFor(file).empty());
    const QString error = errorOf([&] { (void)RecoveryCopy::create(file); });
    QVERIFY2(error.startsWith(u"Unable to write to %1\n"_s.arg(m_folder))
            && error.contains(link ? u"It is a link"_s : u"It belongs to another user"_s),
        qPrintable(error));
}

void tst_RecoveryFolder::rootNeverUsesAnotherUsersStateFolder()
{
    // sudo -E: the user's own state folder and home, and root's program.
    const QString user = m_dir->filePath(u"home"_s);
    QVERIFY(QDir().mkpath(user + u"/.local/state"_s));
    const uid_t other = ::geteuid() == 0 ? Nobody : uid_t(0);
    const bool owned = ::chown(QFile::encodeName(user).constData(), other, other) == 0
        && ::chown(QFile::encodeName(user + u"/.local/state"_s).constData(), other, other) == 0;
    if (!owned)
        QSKIP("needs root, to give a folder to another user");
    RecoveryCopy::setFolder(QString());
    const QString ownHome = QFile::decodeName(::getpwuid(::geteuid())->pw_dir);
    for (const bool viaVariable : { true, false }) {
        const QString folder = inChild([&] {
            ::setenv("HOME", QFile::encodeName(user).constData(), 1);
            if (viaVariable)
                ::setenv("XDG_STATE_HOME", QFile::encodeName(user + u"/.local/state"_s).constData(), 1);
            else
                ::unsetenv("XDG_STATE_HOME");
            return RecoveryCopy::folder();
        });
        QCOMPARE(folder, ownHome + u"/.local/state/Yorv/YorvSaldrix/recovery"_s);
    }
    // A state folder of root's own (a shared one set up by the administrator) is still used.
    const QString shared = m_dir->filePath(u"shared"_s);
    QVERIFY(QDir().mkpath(shared));
    const QString folder = inChild([&] {
        ::setenv("XDG_STATE_HOME", QFile::encodeName(shared).constData(), 1);
        return RecoveryCopy::folder();
    });
    QCOMPARE(folder, shared + u"/Yorv/YorvSaldrix/recovery"_s);
}

void tst_RecoveryFolder::copiesNotMadeForThisUserAreNeverRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a FIFO") << u"fifo"_s;
    QTest::newRow("a link to /dev/zero") << u"link"_s;
    QTest::newRow("larger than 1 GiB") << u"large"_s;
    QTest::newRow("another user's copy") << u"foreign"_s;
}

void tst_RecoveryFolder::copiesNotMadeForThisUserAreNeverRead()
{
    QFETCH(QString, kind);
    if (kind == u"foreign" && ::geteuid() != 0)
        QSKIP("needs root, to give a file to another user");
    QVERIFY(QDir().mkpath(m_folder));
    const QString file = m_dir->filePath(u"app.ini"_s);
    const QString copy = m_folder + u"/planted.ini"_s;
    writeBytes(m_folder + u"/planted.name"_s, file.toUtf8() + '\n');
    if (kind == u"fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(copy).constData(), 0600) == 0);
    } else if (kind == u"link") {
        QVERIFY(QFile::link(u"/dev/zero"_s, copy));
    } else {
        writeBytes(copy, "[a]\nx=1\n");
        if (kind == u"large")
            QVERIFY(::truncate(QFile::encodeName(copy).constData(), MaxReadSize + 1) == 0);
        else
            QVERIFY(::chown(QFile::encodeName(copy).constData(), Nobody, Nobody) == 0);
    }
    // Reading a FIFO or /dev/zero would never end: the claim returns, offers nothing, and leaves the
    // file where it is.
    QVERIFY(RecoveryCopy::claimFor(file).empty());
    QVERIFY(QFileInfo(copy).exists() || QFileInfo(copy).isSymLink());
}

void tst_RecoveryFolder::partsLeftByKilledWritersAreRemoved()
{
    QVERIFY(QDir().mkpath(m_folder));
    const QStringList dead { u"1111.ini~saldrix.AbC123"_s, u"1111.name.XyZ789"_s, u"1111.ini.lock"_s };
    const QStringList alive { u"2222.ini~saldrix.AbC123"_s, u"2222.name.XyZ789"_s };
    const QStringList others { u"notes.txt"_s, u"3333.ini~saldrix.toolong1"_s };
    for (const QString &name : dead + alive + others)
        writeBytes(m_folder + u'/' + name, "part");
    // A running instance holds its copy's lock.
    const int held = ::open(QFile::encodeName(m_folder + u"/2222.lock"_s).constData(), O_RDWR | O_CREAT, 0600);
    QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
    (void)RecoveryCopy::claimFor(m_dir->filePath(u"app.ini"_s));
    const QStringList left = QDir(m_folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : dead)
        QVERIFY2(!left.contains(name), qPrintable(name));
    for (const QString &name : alive + others)
        QVERIFY2(left.contains(name), qPrintable(name));
    ::close(held);
}

QTEST_GUILESS_MAIN(tst_RecoveryFolder)
#include "tst_recoveryfolder.moc"
