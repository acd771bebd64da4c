// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/exportfile.h"

#include "document/saldrixerror.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Large enough that a catalogue of thousands of discs costs a few dozen system calls.
constexpr qsizetype BufferSize = 64 * 1024;

} // namespace

ExportFile::~ExportFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString ExportFile::errorText(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return tr("Invalid filename");
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
        return tr("File access denied");
    case EMFILE:
    case ENFILE:
        return tr("Too many open files");
    default:
        return tr("I/O error %1").arg(error);
    }
}

bool ExportFile::isSameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty() || a.contains(QChar(u'\0')) || b.contains(QChar(u'\0')))
        return false;
    struct stat first { };
    struct stat second { };
    if (::stat(QFile::encodeName(a).constData(), &first) != 0)
        return false;
    if (::stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void ExportFile::create(const QString &fileName)
{
    // A name the system cannot even be given: empty, or cut short by an embedded NUL, which would
    // otherwise create a different file than the one the user typed.
    if (fileName.isEmpty() || fileName.contains(QChar(u'\0')))
        throw SaldrixError(errorText(ENOENT));
    const QByteArray path = QFile::encodeName(fileName);
    // Opened without waiting and without truncating: a FIFO with no reader would block the open,
    // and only a regular file is an export's output (a FIFO, a device or a folder is refused).
    int fd = -1;
    do {
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw SaldrixError(errorText(errno == ENXIO ? EACCES : errno));
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw SaldrixError(errorText(EACCES));
    }
    if (::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        throw SaldrixError(errorText(error));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    m_written = 0;
    m_buffer.clear();
    m_buffer.reserve(BufferSize);
}

void ExportFile::write(const char *data, qsizetype size)
{
    if (m_buffer.size() + size > BufferSize) {
        flush();
        if (size > BufferSize) {
            writeThrough(data, size);
            return;
        }
    }
    m_buffer.append(data, size);
}

void ExportFile::flush()
{
    if (m_buffer.isEmpty())
        return;
    writeThrough(m_buffer.constData(), m_buffer.size());
    m_buffer.resize(0);
}

void ExportFile::writeThrough(const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t done = ::write(m_fd, data, static_cast<size_t>(size));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            throw SaldrixError(errorText(errno));
        }
        if (done == 0) // a device that takes nothing more is as good as full
            throw SaldrixError(errorText(ENOSPC));
        data += done;
        size -= done;
        m_written += done;
    }
}

void ExportFile::close()
{
    if (m_fd < 0)
        return;
    flush();
    const int fd = m_fd;
    m_fd = -1;
    // On Linux the descriptor is gone even when close() is interrupted; only a real error (for
    // instance a delayed write error of a network file system) is a failure.
    if (::close(fd) != 0 && errno != EINTR)
        throw SaldrixError(errorText(errno));
}
