// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "disk/diskfile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FdCloser {
public:
    explicit FdCloser(int fd)
        : m_fd(fd)
    {
    }
    ~FdCloser() { ::close(m_fd); }
    FdCloser(const FdCloser &) = delete;
    FdCloser &operator=(const FdCloser &) = delete;

private:
    int m_fd;
};

} // namespace

namespace {

// Opens a regular file for reading; -1 with the outcome otherwise. O_NONBLOCK: opening a FIFO for
// reading would otherwise wait for a writer.
int openRegularFile(const QString &fileName, ReadOutcome &outcome, struct stat &info)
{
    const QByteArray path = QFile::encodeName(fileName);
    outcome = ReadOutcome::Missing;
    if (path.isEmpty())
        return -1;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        outcome = errno == ENOENT || errno == ENOTDIR ? ReadOutcome::Missing : ReadOutcome::Unreadable;
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        outcome = ReadOutcome::Unreadable;
        return -1;
    }
    outcome = ReadOutcome::Read;
    return fd;
}

// Fills buffer[0, size) unless the file ends first; returns the count read, or -1 on an error.
qsizetype readFully(int fd, char *buffer, qsizetype size)
{
    qsizetype used = 0;
    while (used < size) {
        const ssize_t got = ::read(fd, buffer + used, static_cast<size_t>(size - used));
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        used += got;
    }
    return used;
}

} // namespace

ReadOutcome readWholeFile(const QString &fileName, QByteArray &bytes, qint64 limit)
{
    bytes.clear();
    ReadOutcome outcome;
    struct stat info { };
    const int fd = openRegularFile(fileName, outcome, info);
    if (fd < 0)
        return outcome;
    FdCloser closer(fd);
    if (info.st_size > limit)
        return ReadOutcome::TooLarge;

    // The size is a hint only: the file may grow while it is read, and some files (those of /proc
    // and /sys) give no size at all. So the limit counts the bytes read, and one byte past it is
    // enough to refuse the file.
    const qint64 ceiling = limit + 1;
    qsizetype capacity = qsizetype(std::min<qint64>(info.st_size + 1, ceiling));
    bytes.resize(capacity);
    qsizetype used = 0;
    for (;;) {
        const qsizetype got = readFully(fd, bytes.data() + used, capacity - used);
        if (got < 0) {
            bytes.clear();
            return ReadOutcome::Unreadable;
        }
        used += got;
        if (used < capacity)
            break;
        if (used >= ceiling) {
            bytes = QByteArray();
            return ReadOutcome::TooLarge;
        }
        capacity = qsizetype(std::min<qint64>(qint64(capacity) * 2, ceiling));
        bytes.resize(capacity);
    }
    bytes.truncate(used);
    return ReadOutcome::Read;
}
