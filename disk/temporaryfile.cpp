// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "disk/temporaryfile.h"

#include "disk/privatefile.h"
#include "document/pathnames.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char Mark[] = "~saldrix.";
constexpr qsizetype MarkSize = sizeof Mark - 1;
constexpr qsizetype RandomSize = 6; // the XXXXXX of createPrivateFile()
constexpr qsizetype HashSize = 1 + 8; // "~" and eight hex digits

// FNV-1a: fixed across runs and versions, so that a later run recognises an earlier one's names.
quint32 nameHash(const QByteArray &name)
{
    quint32 hash = 2166136261u;
    for (const char c : name) {
        hash ^= quint8(c);
        hash *= 16777619u;
    }
    return hash;
}

bool isRandomPart(const char *text)
{
    for (qsizetype i = 0; i < RandomSize; ++i) {
        const char c = text[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return text[RandomSize] == '\0';
}

// Locks a file or fails at once; EINTR is retried.
bool tryLock(int fd)
{
    int result;
    while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) { }
    return result == 0;
}

void removeLeftTemporaries(const QByteArray &folder, const QByteArray &prefix)
{
    DIR *dir = ::opendir(folder.constData());
    if (dir == nullptr)
        return;
    const int dirFd = ::dirfd(dir);
    const uid_t self = ::geteuid();
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strncmp(name, prefix.constData(), size_t(prefix.size())) != 0 || !isRandomPart(name + prefix.size()))
            continue;
        // O_NOFOLLOW: a link of that name is not ours to follow. O_NONBLOCK: never wait on a FIFO.
        const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            continue;
        struct stat info { };
        // A writer that is alive holds the lock; a killed one holds nothing.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == self && info.st_nlink == 1
            && tryLock(fd)) {
            // Removed only if the name still leads to the file that was checked.
            struct stat now { };
            if (::fstatat(dirFd, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == info.st_dev
                && now.st_ino == info.st_ino)
                ::unlinkat(dirFd, name, 0);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

QByteArray TemporaryFile::prefixFor(const QByteArray &target)
{
    const QByteArray folder = folderPart(target);
    const QByteArray base = fileNamePart(target);
    long longest = ::pathconf(folder.constData(), _PC_NAME_MAX);
    if (longest <= 0 || longest > NAME_MAX)
        longest = NAME_MAX;
    const qsizetype room = qsizetype(longest) - MarkSize - RandomSize;
    if (base.size() <= room)
        return base + Mark;
    qsizetype keep = std::max<qsizetype>(room - HashSize, 0);
    while (keep > 0 && (quint8(base.at(keep)) & 0xC0) == 0x80)
        --keep; // not inside a UTF-8 character
    char hash[16];
    std::snprintf(hash, sizeof hash, "~%08x", unsigned(nameHash(base)));
    return base.left(keep) + hash + Mark;
}

TemporaryFile::TemporaryFile(const QByteArray &target)
{
    const QByteArray folder = folderPart(target);
    const QByteArray prefix = prefixFor(target);
    removeLeftTemporaries(folder, prefix);
    for (int attempt = 0; attempt < 3; ++attempt) {
        QByteArray path = (folder == "/" ? folder : folder + '/') + prefix + "XXXXXX";
        const int fd = createPrivateFile(path);
        if (fd < 0)
            return;
        // Another save's clean-up may find the new file before it is locked. It takes the lock
        // only to remove the file, so once the lock is ours the file is ours if it still has a name.
        int locked;
        while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) { }
        struct stat info { };
        if (::fstat(fd, &info) == 0 && info.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        // Where the file system has no locks, the clean-up cannot take one either and removes nothing.
        (void)locked;
        m_fd = fd;
        m_lock = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        m_path = path;
        return;
    }
}

TemporaryFile::~TemporaryFile()
{
    remove();
    if (m_fd >= 0)
        ::close(m_fd);
}

int TemporaryFile::takeDescriptor()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool TemporaryFile::renameOver(const QByteArray &target)
{
    if (::rename(m_path.constData(), target.constData()) != 0)
        return false;
    m_path.clear();
    if (m_lock >= 0)
        ::close(m_lock);
    m_lock = -1;
    return true;
}

void TemporaryFile::remove()
{
    if (!m_path.isEmpty())
        ::unlink(m_path.constData());
    m_path.clear();
    if (m_lock >= 0)
        ::close(m_lock);
    m_lock = -1;
}
