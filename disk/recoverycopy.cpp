// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "disk/recoverycopy.h"

#include "disk/diskfile.h"
#include "disk/keptoldbytes.h"
#include "disk/privatefile.h"
#include "document/pathnames.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString &folderOverride()
{
    static QString folder;
    return folder;
}

QString absoluteName(const QString &fileName)
{
    return fileName.isEmpty() ? QString() : QFileInfo(fileName).absoluteFilePath();
}

// Whether a copy recorded for `recorded` belongs to the file the user names now: the same
// absolute name, or the same file reached through links.
bool sameFile(const QString &recorded, const QString &named)
{
    if (recorded.isEmpty() || named.isEmpty())
        return recorded.isEmpty() && named.isEmpty();
    if (recorded == absoluteName(named))
        return true;
    const QString canonical = QFileInfo(named).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(recorded).canonicalFilePath();
}

bool sameInode(int fd, const QByteArray &path)
{
    struct stat held { };
    struct stat named { };
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 && held.st_dev == named.st_dev
        && held.st_ino == named.st_ino;
}

// Opens and locks the lock file; -1 when another process holds it. A lock file removed by its
// owner between our open and our lock is no longer the one the name leads to, so the name is
// checked again once the lock is held.
int takeLock(const QByteArray &path, int createFlags)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | createFlags, 0600);
        if (fd < 0)
            return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return -1;
        }
        if (sameInode(fd, path))
            return fd;
        ::close(fd);
        if ((createFlags & O_EXCL) != 0)
            return -1;
    }
    return -1;
}

// Writes a whole small file beside its final name and renames it there once it is synced, so that
// the name never leads to a part of it.
void writeWhole(const QString &fileName, QByteArrayView bytes)
{
    const QByteArray encoded = QFile::encodeName(fileName);
    QByteArray temporary = encoded + ".XXXXXX";
    const int fd = createPrivateFile(temporary);
    if (fd < 0)
        throw SaldrixError(unableToWrite(fileName, writeFailureReason(errno)));
    const bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    int error = errno;
    const bool closed = ::close(fd) == 0;
    if (written && !closed)
        error = errno;
    if (!written || !closed || ::rename(temporary.constData(), encoded.constData()) != 0) {
        if (written && closed)
            error = errno;
        ::unlink(temporary.constData());
        throw SaldrixError(unableToWrite(fileName, writeFailureReason(error)));
    }
    syncFolder(folderPart(encoded));
}

bool ownRegularFile(const QString &path, qint64 limit)
{
    return RecoveryCopy::ownRegularFile(path, limit);
}

bool regularFileOfOwn(const QString &path, qint64 limit)
{
    struct stat info { };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode)
        && info.st_uid == ::geteuid() && info.st_size <= limit;
}

constexpr qint64 LongestName = 64 * 1024;

QString readName(const QString &nameFile, bool &ok)
{
    ok = false;
    if (!ownRegularFile(nameFile, LongestName))
        return {};
    const int fd = ::open(QFile::encodeName(nameFile).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray bytes(LongestName + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (ssize_t got;
         used < bytes.size() && (got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used))) != 0;) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        used += got;
    }
    ::close(fd);
    ok = used <= LongestName;
    bytes.truncate(used);
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

// Why a folder on the way to the copies is not to be used, or nothing when it is this user's own.
QString refusalOf(const QByteArray &path, const struct stat &info)
{
    if (S_ISLNK(info.st_mode))
        return QCoreApplication::translate("TIniFile",
            "It is a link; the copies of unsaved changes are kept only "
            "in a folder of your own, and this one is not used.");
    if (!S_ISDIR(info.st_mode))
        return writeFailureReason(ENOTDIR);
    if (info.st_uid != ::geteuid())
        return QCoreApplication::translate("TIniFile",
            "It belongs to another user; the copies of unsaved changes are "
            "kept only in a folder of your own, and this one is not used.");
    Q_UNUSED(path);
    return {};
}

// The folders from the state folder down to the copies' own, each made when missing, none of
// them a link or another user's. The copies' folder is readable by the user alone: the copies hold
// whatever the documents hold.
QString madeFolder()
{
    const QString folder = RecoveryCopy::folder();
    if (!QDir().mkpath(RecoveryCopy::stateFolderOf(folder)))
        throw SaldrixError(unableToWrite(folder, writeFailureReason(errno)));
    RecoveryCopy::makeOwnFolders(RecoveryCopy::ownFolders());
    return folder;
}

} // namespace

bool RecoveryCopy::ownRegularFile(const QString &path, qint64 limit)
{
    return regularFileOfOwn(path, limit);
}

void RecoveryCopy::makeOwnFolders(const QStringList &own)
{
    for (const QString &step : own) {
        const QByteArray path = QFile::encodeName(step);
        if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
            throw SaldrixError(unableToWrite(step, writeFailureReason(errno)));
        struct stat info { };
        if (::lstat(path.constData(), &info) != 0)
            throw SaldrixError(unableToWrite(step, writeFailureReason(errno)));
        const QString refusal = refusalOf(path, info);
        if (!refusal.isEmpty())
            throw SaldrixError(unableToWrite(step, refusal));
    }
    if (!own.isEmpty() && ::chmod(QFile::encodeName(own.constLast()).constData(), 0700) != 0)
        throw SaldrixError(unableToWrite(own.constLast(), writeFailureReason(errno)));
}

namespace {

// Whether the copies' folder stands as madeFolder() leaves it; copies elsewhere are not offered.
bool folderIsOwn()
{
    for (const QString &step : RecoveryCopy::ownFolders()) {
        struct stat info { };
        if (::lstat(QFile::encodeName(step).constData(), &info) != 0 || !refusalOf({}, info).isEmpty())
            return false;
    }
    return true;
}

// Whether a name is a part-written file of the copy `id`: "<id>.<kind>.XXXXXX" from writeWhole(),
// "<id>.ini~saldrix.XXXXXX" from a save, or the save's "<id>.ini.lock".
QString ownerOfPart(const QString &name)
{
    const qsizetype dot = name.indexOf(u'.');
    if (dot <= 0)
        return {};
    const QStringView rest = QStringView(name).sliced(dot);
    static const QRegularExpression part(
        QStringLiteral(R"(^\.(ini|name|old|expect)(\.|~saldrix\.)[A-Za-z0-9]{6}$|^\.ini\.lock$)"));
    return part.match(rest).hasMatch() ? name.left(dot) : QString();
}

} // namespace

namespace {

const QString OwnPart = QStringLiteral("/Yorv/YorvSaldrix/recovery");

// Whether a state folder, or the nearest folder above it that exists, is this user's or root's.
// Another user's is not used: under sudo -E, root would otherwise keep its copies where that user
// can read them, replace them or plant links among them.
bool trustedStateFolder(const QString &state)
{
    QByteArray path = QFile::encodeName(state);
    const uid_t self = ::geteuid();
    for (;;) {
        struct stat info { };
        if (::stat(path.constData(), &info) == 0)
            return info.st_uid == self || info.st_uid == 0;
        if (path == "/" || path.isEmpty())
            return false;
        path = folderPart(path);
    }
}

QString ownHome()
{
    const struct passwd *entry = ::getpwuid(::geteuid());
    return entry && entry->pw_dir ? QFile::decodeName(entry->pw_dir) : QString();
}

} // namespace

QString RecoveryCopy::folder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative state folder is not to be trusted: fall back to the home folder.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    if (!trustedStateFolder(state)) {
        const QString home = ownHome();
        if (!home.isEmpty())
            state = home + QStringLiteral("/.local/state");
    }
    return QDir::cleanPath(state) + OwnPart;
}

QStringList RecoveryCopy::ownFolders()
{
    const QString folder = RecoveryCopy::folder();
    // Of a folder set for the process, only the last one is the program's own.
    if (!folderOverride().isEmpty())
        return { folder };
    const QString state = stateFolderOf(folder);
    return { state + QStringLiteral("/Yorv"), state + QStringLiteral("/Yorv/YorvSaldrix"), folder };
}

QString RecoveryCopy::stateFolderOf(const QString &folder)
{
    if (!folderOverride().isEmpty())
        return QFileInfo(folder).absolutePath();
    return folder.chopped(OwnPart.size());
}

void RecoveryCopy::setFolder(const QString &folder)
{
    folderOverride() = folder;
}

RecoveryCopy::RecoveryCopy(QString folder, QString id, int lock, QString fileName)
    : m_folder(std::move(folder))
    , m_id(std::move(id))
    , m_lock(lock)
    , m_fileName(std::move(fileName))
{
}

RecoveryCopy::~RecoveryCopy()
{
    if (m_lock >= 0)
        ::close(m_lock);
}

QString RecoveryCopy::path(const char *suffix) const
{
    return m_folder + u'/' + m_id + QLatin1String(suffix);
}

QString RecoveryCopy::copyPath() const
{
    return path(".ini");
}

std::unique_ptr<RecoveryCopy> RecoveryCopy::create(const QString &fileName)
{
    return createIn(madeFolder(), fileName);
}

std::unique_ptr<RecoveryCopy> RecoveryCopy::createIn(const QString &folder, const QString &fileName)
{
    const QString id = QUuid::createUuid().toString(QUuid::Id128);
    const QString lockName = folder + u'/' + id + QStringLiteral(".lock");
    const int lock = takeLock(QFile::encodeName(lockName), O_CREAT | O_EXCL);
    if (lock < 0)
        throw SaldrixError(unableToWrite(lockName, writeFailureReason(errno)));
    std::unique_ptr<RecoveryCopy> copy(new RecoveryCopy(folder, id, lock, QString()));
    try {
        copy->setFileName(fileName);
    } catch (const SaldrixError &) {
        copy->remove();
        throw;
    }
    return copy;
}

std::vector<std::unique_ptr<RecoveryCopy>> RecoveryCopy::claimFor(const QString &fileName)
{
    std::vector<std::unique_ptr<RecoveryCopy>> claimed;
    // The old bytes of a rewrite in place that was killed are never offered as changes: the file
    // is made whole first.
    KeptOldBytes::settle(fileName);
    if (!folderIsOwn())
        return claimed;
    const QDir dir(folder());
    removeLeftParts(dir);
    const QStringList names = dir.entryList({ QStringLiteral("*.name") }, QDir::Files | QDir::Hidden);
    for (const QString &nameFile : names) {
        const QString id = nameFile.chopped(5);
        const QString copyFile = dir.filePath(id + QStringLiteral(".ini"));
        if (QFileInfo(copyFile).exists() || QFileInfo(copyFile).isSymLink()) {
            if (!ownRegularFile(copyFile, MaxReadSize))
                continue; // not this user's, not a file, or too large to open: left alone, unread
        } else if (QFileInfo::exists(dir.filePath(id + QStringLiteral(".expect")))) {
            continue; // the old bytes of a rewrite in place: settled, never offered as changes
        }
        bool read = false;
        const QString recorded = readName(dir.filePath(nameFile), read);
        if (!read || !sameFile(recorded, fileName))
            continue;
        const int lock = takeLock(QFile::encodeName(dir.filePath(id + QStringLiteral(".lock"))), O_CREAT);
        if (lock < 0)
            continue; // a running instance keeps it
        std::unique_ptr<RecoveryCopy> copy(new RecoveryCopy(dir.path(), id, lock, recorded));
        // The name is read again under the lock: its owner may have ended and removed it meanwhile.
        const QString recordedNow = readName(dir.filePath(nameFile), read);
        if (!read || recordedNow != recorded)
            continue;
        if (!QFileInfo::exists(copy->copyPath())) {
            copy->remove(); // a place whose first copy was never completed
            continue;
        }
        claimed.push_back(std::move(copy));
    }
    std::stable_sort(
        claimed.begin(), claimed.end(), [](const auto &a, const auto &b) { return a->written() > b->written(); });
    return claimed;
}

std::unique_ptr<RecoveryCopy> RecoveryCopy::claimPlace(const QString &folder, const QString &id)
{
    const QDir dir(folder);
    const QString nameFile = dir.filePath(id + QStringLiteral(".name"));
    bool read = false;
    const QString recorded = readName(nameFile, read);
    if (!read)
        return nullptr;
    const int lock = takeLock(QFile::encodeName(dir.filePath(id + QStringLiteral(".lock"))), O_CREAT);
    if (lock < 0)
        return nullptr;
    std::unique_ptr<RecoveryCopy> copy(new RecoveryCopy(folder, id, lock, recorded));
    if (readName(nameFile, read) != recorded || !read)
        return nullptr;
    return copy;
}

void RecoveryCopy::writePart(const char *suffix, QByteArrayView bytes)
{
    writeWhole(path(suffix), bytes);
}

void RecoveryCopy::removeLeftParts(const QDir &dir)
{
    // A writer killed part-way leaves its part-written file; its copy's lock is free once it has
    // ended. Only regular files of this user's own are removed.
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QString id = ownerOfPart(name);
        if (id.isEmpty() || !ownRegularFile(dir.filePath(name), std::numeric_limits<qint64>::max()))
            continue;
        const int lock = takeLock(QFile::encodeName(dir.filePath(id + QStringLiteral(".lock"))), 0);
        if (lock < 0 && QFileInfo::exists(dir.filePath(id + QStringLiteral(".lock"))))
            continue; // a running instance writes it
        ::unlink(QFile::encodeName(dir.filePath(name)).constData());
        if (lock >= 0)
            ::close(lock);
    }
}

void RecoveryCopy::setFileName(const QString &fileName)
{
    const QString name = absoluteName(fileName);
    if (name == m_fileName && QFileInfo::exists(path(".name")))
        return;
    writeWhole(path(".name"), name.toUtf8() + '\n');
    m_fileName = name;
}

QDateTime RecoveryCopy::written() const
{
    const QFileInfo copy(copyPath());
    return copy.exists() ? copy.lastModified() : QDateTime();
}

void RecoveryCopy::keepPrivate()
{
    const QByteArray path = QFile::encodeName(copyPath());
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info { };
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 077) != 0)
        (void)::fchmod(fd, 0600);
    ::close(fd);
}

void RecoveryCopy::writeBytes(QByteArrayView bytes)
{
    writeWhole(copyPath(), bytes);
}

void RecoveryCopy::remove() noexcept
{
    // The copy goes first: a name left without its copy (after a crash right here) is cleared away by
    // the next claim, while a copy without its name would never be found again.
    ::unlink(QFile::encodeName(copyPath()).constData());
    ::unlink(QFile::encodeName(path(".expect")).constData());
    ::unlink(QFile::encodeName(path(".old")).constData());
    ::unlink(QFile::encodeName(path(".name")).constData());
    if (m_lock >= 0) {
        ::unlink(QFile::encodeName(path(".lock")).constData());
        ::close(m_lock);
        m_lock = -1;
    }
}
