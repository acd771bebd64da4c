// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "disk/privatefile.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

int createPrivateFile(QByteArray &pathTemplate)
{
    // mkostemp gives the new file mode 0600 whatever the umask.
    return ::mkostemp(pathTemplate.data(), O_CLOEXEC);
}

int createPrivateFileAt(int folder, QByteArray &nameTemplate)
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const qsizetype start = nameTemplate.size() - 6;
    if (start < 0 || !nameTemplate.endsWith("XXXXXX")) {
        errno = EINVAL;
        return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (qsizetype i = start; i < nameTemplate.size(); ++i)
            nameTemplate[i] = Letters[QRandomGenerator::system()->bounded(int(sizeof Letters - 1))];
        // O_EXCL: a name that exists, a link included, is never opened.
        const int fd = ::openat(
            folder, nameTemplate.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, static_cast<size_t>(size));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= done;
    }
    return true;
}

void syncFolder(int folder)
{
    ::fsync(folder);
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
