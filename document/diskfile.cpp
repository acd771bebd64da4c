#include "document/diskfile.h"

#include "document/saldrixerror.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

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

ReadOutcome readWholeFile(const QString &fileName, QByteArray &bytes)
{
    bytes.clear();
    const QByteArray path = QFile::encodeName(fileName);
    if (path.isEmpty())
        return ReadOutcome::Missing;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadOutcome::Missing : ReadOutcome::Unreadable;
    FdCloser closer(fd);
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return ReadOutcome::Unreadable;

    // The size is a hint only: the file may change while it is read.
    qsizetype capacity = static_cast<qsizetype>(info.st_size) + 1;
    bytes.resize(capacity);
    qsizetype used = 0;
    for (;;) {
        if (used == capacity) {
            capacity = capacity * 2;
            bytes.resize(capacity);
        }
        const ssize_t got = ::read(fd, bytes.data() + used, static_cast<size_t>(capacity - used));
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            bytes.clear();
            return ReadOutcome::Unreadable;
        }
        used += got;
    }
    bytes.truncate(used);
    return ReadOutcome::Read;
}

FileReplacer::FileReplacer(QString fileName)
    : m_fileName(std::move(fileName))
{
    const QByteArray path = QFile::encodeName(m_fileName);
    struct stat info { };
    if (path.isEmpty())
        fail();
    if (::stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        // Renaming a temporary file over a device would replace the device node itself, so
        // anything that is not a regular file is written directly, and never waited on.
        if (S_ISDIR(info.st_mode))
            fail();
        m_deviceFd = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (m_deviceFd < 0)
            fail();
        return;
    }
    m_file = std::make_unique<QSaveFile>(m_fileName);
    m_file->setDirectWriteFallback(true);
    if (!m_file->open(QIODevice::WriteOnly))
        fail();
}

FileReplacer::~FileReplacer()
{
    if (m_file)
        m_file->cancelWriting();
    if (m_deviceFd >= 0)
        ::close(m_deviceFd);
}

void FileReplacer::write(QByteArrayView bytes)
{
    if (m_file) {
        if (m_file->write(bytes.data(), bytes.size()) != bytes.size())
            fail();
        return;
    }
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t done = ::write(m_deviceFd, data, static_cast<size_t>(left));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            fail();
        data += done;
        left -= done;
    }
}

void FileReplacer::commit()
{
    if (m_file) {
        const bool committed = m_file->commit();
        m_file.reset();
        if (!committed)
            fail();
        return;
    }
    const int fd = m_deviceFd;
    m_deviceFd = -1;
    if (::close(fd) != 0)
        fail();
}

void FileReplacer::fail() const
{
    throw SaldrixError(QCoreApplication::translate("TIniFile", "Unable to write to %1").arg(m_fileName));
}
