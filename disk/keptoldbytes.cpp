// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "disk/keptoldbytes.h"

#include "disk/diskfile.h"
#include "disk/recoverycopy.h"
#include "document/pathnames.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray digest(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// What a place records of the new bytes: "<size> <SHA-256>".
QByteArray expectation(QByteArrayView bytes)
{
    return QByteArray::number(bytes.size()) + ' ' + digest(bytes) + '\n';
}

bool ownFolder(const QString &folder)
{
    struct stat info { };
    return ::lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::geteuid();
}

QString canonical(const QString &fileName)
{
    const QString found = QFileInfo(fileName).canonicalFilePath();
    return found.isEmpty() ? QFileInfo(fileName).absoluteFilePath() : found;
}

bool writeAllAt(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Settles one place: the file holds the new bytes or the old ones, or gets the old ones back.
void settlePlace(RecoveryCopy &place, int folder, const QByteArray &name)
{
    QFile expectFile(place.partPath(".expect"));
    if (!RecoveryCopy::ownRegularFile(expectFile.fileName(), 4096)
        || !RecoveryCopy::ownRegularFile(place.partPath(".old"), MaxReadSize) || !expectFile.open(QIODevice::ReadOnly))
        return;
    const QByteArray expected = expectFile.readAll();
    int fd = ::openat(folder, name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    const bool writable = fd >= 0;
    if (!writable)
        fd = ::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return; // gone, or out of reach: the old bytes stay kept
    QByteArray current;
    if (readOpenFile(fd, current) != ReadOutcome::Read) {
        ::close(fd);
        return;
    }
    if (expectation(current) == expected) {
        ::close(fd);
        place.remove(); // the rewrite had finished
        return;
    }
    QByteArray old;
    const bool gotOld = readWholeFile(place.partPath(".old"), old) == ReadOutcome::Read;
    bool whole = gotOld && old == current;
    if (gotOld && !whole && writable) {
        whole = writeAllAt(fd, old) && ::ftruncate(fd, off_t(old.size())) == 0 && ::fsync(fd) == 0;
    }
    ::close(fd);
    if (whole)
        place.remove();
}

} // namespace

KeptOldBytes::KeptOldBytes(std::unique_ptr<RecoveryCopy> copy)
    : m_copy(std::move(copy))
{
}

KeptOldBytes::~KeptOldBytes() = default;

QStringList KeptOldBytes::folders()
{
    QStringList list { RecoveryCopy::folder() };
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime))
        list << QDir::cleanPath(runtime) + QStringLiteral("/yorvsaldrix");
    list << QDir::tempPath() + QStringLiteral("/yorvsaldrix-%1").arg(::geteuid());
    return list;
}

std::unique_ptr<KeptOldBytes> KeptOldBytes::keep(const QString &target, QByteArrayView old, QByteArrayView expected)
{
    QStringList reasons;
    const QStringList places = folders();
    for (qsizetype i = 0; i < places.size(); ++i) {
        std::unique_ptr<RecoveryCopy> copy;
        try {
            if (i == 0) {
                copy = RecoveryCopy::create(target);
            } else {
                // Only a folder this program makes itself, in a folder that exists.
                if (!QFileInfo(QFileInfo(places.at(i)).absolutePath()).isDir())
                    throw SaldrixError(unableToWrite(places.at(i), writeFailureReason(ENOENT)));
                RecoveryCopy::makeOwnFolders({ places.at(i) });
                copy = RecoveryCopy::createIn(places.at(i), target);
            }
            copy->writePart(".old", old);
            copy->writePart(".expect", expectation(expected));
            return std::unique_ptr<KeptOldBytes>(new KeptOldBytes(std::move(copy)));
        } catch (const SaldrixError &error) {
            if (copy)
                copy->remove();
            // The place's own files mean nothing to the user: the folder and the reason do.
            const QString reason = error.message().section(u'\n', 1);
            reasons << QStringLiteral("%1: %2").arg(places.at(i), reason.isEmpty() ? writeFailureReason(EIO) : reason);
        }
    }
    throw SaldrixError(reasons.join(QStringLiteral("; ")));
}

void KeptOldBytes::remove() noexcept
{
    if (m_copy)
        m_copy->remove();
    m_copy.reset();
}

void KeptOldBytes::settle(int folder, const QByteArray &name, const QString &target)
{
    const QString file = canonical(target);
    for (const QString &place : folders()) {
        if (!ownFolder(place))
            continue;
        const QDir dir(place);
        const QStringList records = dir.entryList({ QStringLiteral("*.expect") }, QDir::Files | QDir::Hidden);
        for (const QString &record : records) {
            const std::unique_ptr<RecoveryCopy> copy = RecoveryCopy::claimPlace(place, record.chopped(7));
            if (copy && canonical(copy->fileName()) == file)
                settlePlace(*copy, folder, name);
        }
    }
}

void KeptOldBytes::settle(const QString &fileName)
{
    if (fileName.isEmpty())
        return;
    const QString file = canonical(fileName);
    const QByteArray path = QFile::encodeName(file);
    const int folder = ::open(folderPart(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    settle(folder, fileNamePart(path), file);
    ::close(folder);
}
