// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "disk/filereplacer.h"
#include "disk/diskfile.h"

#include "disk/keptoldbytes.h"
#include "disk/privatefile.h"
#include "disk/temporaryfile.h"
#include "disk/writelock.h"
#include "document/pathnames.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes every byte at the given offset; false on any error (errno tells which).
bool writeAllAt(int fd, const char *data, qsizetype size, off_t offset)
{
    while (size > 0) {
        const ssize_t done = ::pwrite(fd, data, static_cast<size_t>(size), offset);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= done;
        offset += done;
    }
    return true;
}

// Reads size bytes from the start of the file; false when fewer could be read.
bool readAllFrom(int fd, QByteArray &bytes, qsizetype size)
{
    bytes.resize(size);
    qsizetype used = 0;
    while (used < size) {
        const ssize_t got = ::pread(fd, bytes.data() + used, static_cast<size_t>(size - used), off_t(used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        used += got;
    }
    return true;
}

// Whether the kernel's rule for sticky folders that all may write to lets this user follow a link
// there: only a link of this user's own or of the folder's owner. Elsewhere every link is followed.
bool mayFollow(const QByteArray &link, const struct stat &linkInfo)
{
    struct stat folder { };
    if (::stat(folderPart(link).constData(), &folder) != 0)
        return false;
    const bool guarded = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !guarded || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == folder.st_uid;
}

// Follows the links that the name's last part leads through, to the file a save must change (which
// need not exist yet). Empty, with the reason in `error`, for a circle of links, one that cannot be
// read or one that may not be followed.
QByteArray resolveLinks(QByteArray path, int &error)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info { };
        if (::lstat(path.constData(), &info) != 0) {
            error = errno;
            return errno == ENOENT ? path : QByteArray();
        }
        if (!S_ISLNK(info.st_mode))
            return path;
        if (!mayFollow(path, info)) {
            error = EACCES;
            return {};
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length <= 0 || size_t(length) >= sizeof target) {
            error = length < 0 ? errno : ENAMETOOLONG;
            return {};
        }
        QByteArray next(target, length);
        path = next.startsWith('/') ? next : folderPart(path) + '/' + next;
    }
    error = ELOOP;
    return {};
}

int openFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that may be passed but not listed still names its files.
    return fd >= 0 || errno != EACCES ? fd : ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

mode_t defaultMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

FileReplacer::FileReplacer(QString fileName, int lockWaitMs)
    : m_fileName(std::move(fileName))
{
    if (m_fileName.isEmpty() || m_fileName.contains(QChar(u'\0')))
        fail(QString()); // no name to say anything of
    int error = 0;
    const QByteArray target = resolveLinks(QFile::encodeName(m_fileName), error);
    if (target.isEmpty())
        fail(error);
    m_folderPath = folderPart(target);
    m_name = fileNamePart(target);
    if (m_name.isEmpty())
        fail(EISDIR);
    m_folder = openFolder(m_folderPath);
    if (m_folder < 0)
        fail(errno);
    struct stat info { };
    if (::fstatat(m_folder, m_name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(info.st_mode)) {
        // Renaming a temporary file over a device would replace the device node itself, so
        // anything that is not a regular file is written directly, and never waited on.
        if (S_ISDIR(info.st_mode))
            fail(EISDIR);
        if (S_ISLNK(info.st_mode))
            fail(changedMeanwhileReason()); // a link put in the place of what was resolved
        m_isDevice = true;
        m_fd = ::openat(m_folder, m_name.constData(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
        if (m_fd < 0)
            fail(errno);
        return;
    }
    lock(lockWaitMs < 0 ? WriteLock::DefaultWaitMs : lockWaitMs);
    // A rewrite in place that was killed part-way is settled before anything else reads or
    // replaces the file.
    KeptOldBytes::settle(m_folder, m_name, targetName());
    // Found under the lock: the previous writer may have just replaced it.
    const int found = ::openat(m_folder, m_name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (found >= 0)
        hold(found);
    else if (errno != ENOENT)
        fail(errno);
    m_temporary = std::make_unique<TemporaryFile>(m_folder, m_name);
    if (!m_temporary->isOpen()) {
        // A folder that takes no new file: the file itself is rewritten, once its new content
        // is complete.
        m_temporaryError = errno;
        m_temporary.reset();
        m_inPlace = true;
        return;
    }
    m_fd = m_temporary->takeDescriptor();
}

void FileReplacer::lock(int waitMs)
{
    m_lock = std::make_unique<WriteLock>(m_folder, m_name, waitMs);
    switch (m_lock->outcome()) {
    case WriteLock::Outcome::Held:
        return;
    case WriteLock::Outcome::Busy:
        fail(QCoreApplication::translate("TIniFile",
            "Another program is changing it: %1 exists. Try again once it is done, or remove that file if no "
            "program is changing it.")
                 .arg(QFile::decodeName(m_folderPath + '/' + m_lock->lockName())));
    case WriteLock::Outcome::NoRoom:
        break;
    }
    m_lock.reset();
    // A folder that takes no lock file takes no temporary file either: the file is rewritten where
    // it stands, and the writers that do so lock the file itself.
    m_lockedFile = ::openat(m_folder, m_name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_lockedFile >= 0 && !WriteLock::lockOpenFile(m_lockedFile, waitMs)) {
        fail(QCoreApplication::translate("TIniFile", "Another program is changing it; try again once it is done."));
    }
}

QString FileReplacer::targetName() const
{
    return QFileInfo(QFile::decodeName(m_folderPath + '/' + m_name)).absoluteFilePath();
}

ReadOutcome FileReplacer::read(QByteArray &bytes, qint64 limit)
{
    bytes.clear();
    const int fd = ::openat(m_folder, m_name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) {
            m_existed = false;
            return ReadOutcome::Missing;
        }
        fail(errno == ELOOP ? ESTALE : errno);
    }
    const ReadOutcome outcome = readOpenFile(fd, bytes, limit);
    hold(fd);
    if (outcome == ReadOutcome::Unreadable)
        fail(0);
    return outcome;
}

void FileReplacer::hold(int fd)
{
    // Held open until the end, so that its inode number names no other file meanwhile: a file
    // removed and a link made in its place could otherwise get the same number.
    if (m_held >= 0)
        ::close(m_held);
    m_held = fd;
    struct stat info { };
    if (::fstat(fd, &info) != 0)
        fail(errno);
    if (!S_ISREG(info.st_mode))
        fail(changedMeanwhileReason()); // a link or another kind of file put in its place
    m_existed = true;
    m_device = info.st_dev;
    m_inode = info.st_ino;
}

bool FileReplacer::stillTheFileRead(int fd) const
{
    struct stat info { };
    if (fd >= 0)
        return ::fstat(fd, &info) == 0 && m_existed && info.st_dev == m_device && info.st_ino == m_inode;
    const bool exists = ::fstatat(m_folder, m_name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    return exists == m_existed
        && (!exists || (S_ISREG(info.st_mode) && info.st_dev == m_device && info.st_ino == m_inode));
}

FileReplacer::~FileReplacer()
{
    discardTemporary();
    if (m_fd >= 0)
        ::close(m_fd);
    m_lock.reset(); // before its folder is closed
    if (m_lockedFile >= 0)
        ::close(m_lockedFile);
    if (m_held >= 0)
        ::close(m_held);
    if (m_folder >= 0)
        ::close(m_folder);
}

void FileReplacer::discardTemporary()
{
    m_temporary.reset();
}

void FileReplacer::checkWritable()
{
    // A file that its mode keeps from this user is not replaced behind the mode's back. Asked at
    // the first write, so that a change that writes nothing needs no permission.
    if (m_checked || m_isDevice)
        return;
    m_checked = true;
    if (m_existed && ::faccessat(m_folder, m_name.constData(), W_OK, AT_EACCESS) != 0)
        fail(errno);
}

void FileReplacer::write(QByteArrayView bytes)
{
    checkWritable();
    // The editor opens files of up to MaxReadSize bytes, so no save makes a larger one: it would
    // be a file the user could no longer open. Refused before the file changes.
    if (!m_isDevice && (m_inPlace ? m_pending.size() : m_written) + bytes.size() > MaxReadSize) {
        throw SaldrixError(unableToWrite(m_fileName) + u'\n'
            + QCoreApplication::translate(
                "TIniFile", "The file would be larger than 1 GiB, the most this editor opens."));
    }
    if (m_inPlace) {
        m_pending.append(bytes.data(), bytes.size());
        return;
    }
    if (!writeAll(m_fd, bytes.data(), bytes.size()))
        fail(errno);
    if (!m_isDevice) {
        // The disk starts on these bytes while the next ones are made, so that the sync at the
        // commit has less left to wait for. Only a hint: the sync checks everything.
        (void)::sync_file_range(m_fd, off_t(m_written), off_t(bytes.size()), SYNC_FILE_RANGE_WRITE);
        m_written += bytes.size();
    }
}

void FileReplacer::commit()
{
    checkWritable();
    if (m_inPlace) {
        rewriteInPlace();
        return;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (m_isDevice) {
        if (::close(fd) != 0)
            fail(errno);
        return;
    }
    // The temporary file takes the whole mode of the file it replaces, owner first: a change of
    // owner drops the set-user and set-group bits.
    struct stat old { };
    const bool existed = m_existed && ::fstatat(m_folder, m_name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (existed && ::geteuid() == 0) {
        // Where even root cannot give it the old owner, the file goes on as root's: the save stands.
        [[maybe_unused]] const int chowned = ::fchown(fd, old.st_uid, old.st_gid);
    }
    const bool modeSet = ::fchmod(fd, existed ? old.st_mode & 07777 : defaultMode()) == 0;
    const bool synced = modeSet && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 || !synced) {
        const int closeError = synced ? errno : error;
        discardTemporary();
        fail(closeError);
    }
    // Only the file that was read is replaced, and a new file only where none was made meanwhile.
    if (!stillTheFileRead(-1)) {
        discardTemporary();
        fail(changedMeanwhileReason());
    }
    if (m_temporary->renameOver(m_name, !m_existed)) {
        m_temporary.reset();
        syncFolder(m_folder);
        return;
    }
    if (errno == EEXIST) {
        discardTemporary();
        fail(changedMeanwhileReason());
    }
    // A sticky folder refuses to let the rename replace another user's file that this user may
    // still write: write that file in place.
    const int renameError = errno;
    const bool refused = existed && (errno == EPERM || errno == EACCES);
    const int readBack
        = refused ? ::openat(m_folder, m_temporary->path().constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC) : -1;
    struct stat written { };
    const bool gotBytes = readBack >= 0 && ::fstat(readBack, &written) == 0
        && readAllFrom(readBack, m_pending, qsizetype(written.st_size));
    if (readBack >= 0)
        ::close(readBack);
    discardTemporary();
    if (!gotBytes)
        fail(renameError);
    rewriteInPlace();
}

void FileReplacer::rewriteInPlace()
{
    const QByteArray content = std::move(m_pending);
    m_pending = QByteArray();
    // The old bytes are read first, so that they can be put back: a file that cannot be read
    // cannot be rewritten safely.
    if (!m_existed)
        fail(m_temporaryError); // nothing to rewrite, and no file can be made
    const int fd = ::openat(m_folder, m_name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        fail(errno == ELOOP || errno == ENOENT ? ESTALE : errno);
    struct stat info { };
    QByteArray old;
    if (!stillTheFileRead(fd)) {
        ::close(fd);
        fail(changedMeanwhileReason());
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !readAllFrom(fd, old, qsizetype(info.st_size))) {
        const int error = errno;
        ::close(fd);
        fail(error);
    }
    // Until the new bytes are synced the old ones are kept as a recovery copy: a kill part-way
    // leaves the whole old file to get back, and the next start on the file offers it. Without that
    // copy the file is not touched.
    std::unique_ptr<KeptOldBytes> keptOld;
    if (!old.isEmpty()) {
        try {
            keptOld = KeptOldBytes::keep(targetName(), old, content);
        } catch (const SaldrixError &error) {
            ::close(fd);
            fail(QCoreApplication::translate(
                "TIniFile", "It must be rewritten where it stands, and its old content could not be kept meanwhile: %1")
                     .arg(error.message()));
        }
    }
    const auto dropKeptOld = [&keptOld] {
        if (keptOld)
            keptOld->remove();
    };
    // Reserving the space fails on a full disk before a byte has changed.
    if (const int reserved = content.isEmpty() ? 0 : ::posix_fallocate(fd, 0, off_t(content.size()))) {
        // A partial reservation may have grown the file; the failure is reported whatever this does.
        [[maybe_unused]] const int truncated = ::ftruncate(fd, info.st_size);
        ::close(fd);
        dropKeptOld();
        fail(reserved);
    }
    const bool written = writeAllAt(fd, content.constData(), content.size(), 0)
        && ::ftruncate(fd, off_t(content.size())) == 0 && ::fsync(fd) == 0;
    const int writeError = errno;
    // The copy stays when neither the new bytes nor the old ones could be made whole again.
    bool whole = written;
    if (!written) {
        whole
            = writeAllAt(fd, old.constData(), old.size(), 0) && ::ftruncate(fd, info.st_size) == 0 && ::fsync(fd) == 0;
    }
    if (whole)
        dropKeptOld();
    // Writing to a file drops its set-user and set-group bits; they are put back.
    struct stat after { };
    if (::fstat(fd, &after) == 0 && (after.st_mode & 07777) != (info.st_mode & 07777))
        (void)::fchmod(fd, info.st_mode & 07777);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed)
        fail(written ? errno : writeError);
}

void FileReplacer::fail(int error) const
{
    fail(writeFailureReason(error));
}

void FileReplacer::fail(const QString &reason) const
{
    throw SaldrixError(unableToWrite(m_fileName, reason));
}
