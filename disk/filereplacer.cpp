// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "disk/filereplacer.h"
#include "disk/diskfile.h"

#include "disk/privatefile.h"
#include "disk/recoverycopy.h"
#include "disk/temporaryfile.h"
#include "document/pathnames.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"

#include <QCoreApplication>
#include <QFile>

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

// Follows the links that the name's last part leads through, to the file a save must change (which
// need not exist yet). Empty for a circle of links or one that cannot be read.
QByteArray resolveLinks(QByteArray path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info { };
        if (::lstat(path.constData(), &info) != 0)
            return errno == ENOENT ? path : QByteArray();
        if (!S_ISLNK(info.st_mode))
            return path;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length <= 0 || size_t(length) >= sizeof target)
            return {};
        QByteArray next(target, length);
        path = next.startsWith('/') ? next : folderPart(path) + '/' + next;
    }
    return {};
}

mode_t defaultMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

FileReplacer::FileReplacer(QString fileName)
    : m_fileName(std::move(fileName))
{
    if (m_fileName.isEmpty() || m_fileName.contains(QChar(u'\0')))
        fail();
    m_target = resolveLinks(QFile::encodeName(m_fileName));
    if (m_target.isEmpty())
        fail();
    struct stat info { };
    const bool exists = ::stat(m_target.constData(), &info) == 0;
    // A file that its mode keeps from this user is not replaced behind the mode's back.
    if (exists && S_ISREG(info.st_mode) && ::faccessat(AT_FDCWD, m_target.constData(), W_OK, AT_EACCESS) != 0)
        fail();
    if (exists && !S_ISREG(info.st_mode)) {
        // Renaming a temporary file over a device would replace the device node itself, so
        // anything that is not a regular file is written directly, and never waited on.
        if (S_ISDIR(info.st_mode))
            fail();
        m_device = true;
        m_fd = ::open(m_target.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (m_fd < 0)
            fail();
        return;
    }
    m_temporary = std::make_unique<TemporaryFile>(m_target);
    if (!m_temporary->isOpen()) {
        // A folder that takes no new file: the file itself is rewritten, once its new content
        // is complete.
        m_temporary.reset();
        m_inPlace = true;
        return;
    }
    m_fd = m_temporary->takeDescriptor();
}

FileReplacer::~FileReplacer()
{
    discardTemporary();
    if (m_fd >= 0)
        ::close(m_fd);
}

void FileReplacer::discardTemporary()
{
    m_temporary.reset();
}

void FileReplacer::write(QByteArrayView bytes)
{
    // The editor opens files of up to MaxReadSize bytes, so no save makes a larger one: it would
    // be a file the user could no longer open. Refused before the file changes.
    if (!m_device && (m_inPlace ? m_pending.size() : m_written) + bytes.size() > MaxReadSize) {
        throw SaldrixError(unableToWrite(m_fileName) + u'\n'
            + QCoreApplication::translate(
                "TIniFile", "The file would be larger than 1 GiB, the most this editor opens."));
    }
    if (m_inPlace) {
        m_pending.append(bytes.data(), bytes.size());
        return;
    }
    if (!writeAll(m_fd, bytes.data(), bytes.size()))
        fail();
    if (!m_device) {
        // The disk starts on these bytes while the next ones are made, so that the sync at the
        // commit has less left to wait for. Only a hint: the sync checks everything.
        (void)::sync_file_range(m_fd, off_t(m_written), off_t(bytes.size()), SYNC_FILE_RANGE_WRITE);
        m_written += bytes.size();
    }
}

void FileReplacer::commit()
{
    if (m_inPlace) {
        rewriteInPlace();
        return;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (m_device) {
        if (::close(fd) != 0)
            fail();
        return;
    }
    // The temporary file takes the whole mode of the file it replaces, owner first: a change of
    // owner drops the set-user and set-group bits.
    struct stat old { };
    const bool existed = ::stat(m_target.constData(), &old) == 0;
    if (existed && ::geteuid() == 0)
        (void)::fchown(fd, old.st_uid, old.st_gid);
    const bool modeSet = ::fchmod(fd, existed ? old.st_mode & 07777 : defaultMode()) == 0;
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced || !modeSet) {
        discardTemporary();
        fail();
    }
    if (m_temporary->renameOver(m_target)) {
        m_temporary.reset();
        syncFolder(folderPart(m_target));
        return;
    }
    // A sticky folder refuses to let the rename replace another user's file that this user may
    // still write: write that file in place.
    const bool refused = existed && (errno == EPERM || errno == EACCES);
    const int readBack = refused ? ::open(m_temporary->path().constData(), O_RDONLY | O_CLOEXEC) : -1;
    struct stat written { };
    const bool gotBytes = readBack >= 0 && ::fstat(readBack, &written) == 0
        && readAllFrom(readBack, m_pending, qsizetype(written.st_size));
    if (readBack >= 0)
        ::close(readBack);
    discardTemporary();
    if (!gotBytes)
        fail();
    rewriteInPlace();
}

void FileReplacer::rewriteInPlace()
{
    const QByteArray content = std::move(m_pending);
    m_pending = QByteArray();
    // The old bytes are read first, so that they can be put back: a file that cannot be read
    // cannot be rewritten safely.
    const int fd = ::open(m_target.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        fail();
    struct stat info { };
    QByteArray old;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !readAllFrom(fd, old, qsizetype(info.st_size))) {
        ::close(fd);
        fail();
    }
    // Until the new bytes are synced the old ones are kept as a recovery copy: a kill part-way
    // leaves the whole old file to get back, and the next start on the file offers it. Without that
    // copy the file is not touched.
    std::unique_ptr<RecoveryCopy> keptOld;
    if (!old.isEmpty()) {
        try {
            keptOld = RecoveryCopy::create(QFile::decodeName(m_target));
            keptOld->writeBytes(old);
        } catch (const SaldrixError &) {
            if (keptOld)
                keptOld->remove();
            ::close(fd);
            fail();
        }
    }
    const auto dropKeptOld = [&keptOld] {
        if (keptOld)
            keptOld->remove();
    };
    // Reserving the space fails on a full disk before a byte has changed.
    if (!content.isEmpty() && ::posix_fallocate(fd, 0, off_t(content.size())) != 0) {
        ::ftruncate(fd, info.st_size); // a partial reservation may have grown the file
        ::close(fd);
        dropKeptOld();
        fail();
    }
    const bool written = writeAllAt(fd, content.constData(), content.size(), 0)
        && ::ftruncate(fd, off_t(content.size())) == 0 && ::fsync(fd) == 0;
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
    if (::close(fd) != 0 || !written)
        fail();
}

void FileReplacer::fail() const
{
    throw SaldrixError(unableToWrite(m_fileName));
}
