// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "disk/writelock.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char Marker[] = "yorvsaldrix ";

// A short pause that grows with the attempts, different in each process, so that many waiting
// writers do not all look again at the same moment.
void pause(int attempt)
{
    const long base = std::min(5 + attempt * 5, 50);
    const long spread = long((quintptr(&attempt) >> 4) ^ quintptr(::getpid())) % base;
    struct timespec delay {
        0, (base + spread) * 1000000L
    };
    while (::nanosleep(&delay, &delay) != 0 && errno == EINTR) { }
}

bool tryKernelLock(int fd)
{
    int result;
    while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) { }
    return result == 0;
}

} // namespace

WriteLock::WriteLock(int folder, const QByteArray &name, int waitMs)
    : m_folder(folder)
    , m_lockName(name + ".lock")
{
    QElapsedTimer waited;
    waited.start();
    for (int attempt = 0;; ++attempt) {
        // Readable by all: another user's writer can then see whether the lock was left behind.
        const int fd = ::openat(
            m_folder, m_lockName.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644);
        if (fd >= 0) {
            // Another writer may open the new file and take its kernel lock for a moment, to see
            // whether it was left; without the marker it leaves it alone, so waiting is short.
            int locked;
            while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) { }
            char text[32];
            const int length = std::snprintf(text, sizeof text, "%s%ld\n", Marker, long(::getpid()));
            // Without a kernel lock (a file system that has none) the marker is left out: the lock
            // could not be told from a left one, so nobody removes it while it is held.
            if (locked == 0)
                (void)!::write(fd, text, size_t(length));
            m_fd = fd;
            m_outcome = Outcome::Held;
            return;
        }
        if (errno != EEXIST) {
            m_error = errno;
            m_outcome = Outcome::NoRoom;
            return;
        }
        if (removeIfLeft())
            continue;
        if (waited.elapsed() >= waitMs) {
            m_outcome = Outcome::Busy;
            m_error = EEXIST;
            return;
        }
        pause(attempt);
    }
}

WriteLock::~WriteLock()
{
    if (m_fd < 0)
        return;
    // Removed while the kernel lock is still held: nobody can take this file for a left one and
    // remove a newer lock of the same name in its place.
    ::unlinkat(m_folder, m_lockName.constData(), 0);
    ::close(m_fd);
}

bool WriteLock::removeIfLeft() const
{
    const int fd
        = ::openat(m_folder, m_lockName.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT; // gone meanwhile: try again at once
    bool removed = false;
    struct stat held { };
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && tryKernelLock(fd)) {
        char text[sizeof Marker - 1] = {};
        const ssize_t got = ::pread(fd, text, sizeof text, 0);
        struct stat named { };
        if (got == ssize_t(sizeof text) && std::equal(text, text + sizeof text, Marker)
            && ::fstatat(m_folder, m_lockName.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0
            && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            removed = ::unlinkat(m_folder, m_lockName.constData(), 0) == 0;
    }
    ::close(fd);
    return removed;
}

bool WriteLock::lockOpenFile(int fd, int waitMs)
{
    QElapsedTimer waited;
    waited.start();
    for (int attempt = 0;; ++attempt) {
        if (tryKernelLock(fd))
            return true;
        if (errno != EWOULDBLOCK)
            return true; // a file system without such locks: nothing to wait for
        if (waited.elapsed() >= waitMs)
            return false;
        pause(attempt);
    }
}
