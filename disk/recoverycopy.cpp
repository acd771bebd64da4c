// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "disk/recoverycopy.h"

#include "disk/privatefile.h"
#include "document/pathnames.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
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
        throw SaldrixError(unableToWrite(fileName));
    const bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temporary.constData(), encoded.constData()) != 0) {
        ::unlink(temporary.constData());
        throw SaldrixError(unableToWrite(fileName));
    }
    syncFolder(folderPart(encoded));
}

QString readName(const QString &nameFile, bool &ok)
{
    QFile file(nameFile);
    ok = file.open(QIODevice::ReadOnly);
    QByteArray bytes = ok ? file.readAll() : QByteArray();
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

// Makes the folder, readable by the user alone: the copies hold whatever the documents hold.
QString madeFolder()
{
    const QString folder = RecoveryCopy::folder();
    if (!QDir().mkpath(folder) || ::chmod(QFile::encodeName(folder).constData(), 0700) != 0)
        throw SaldrixError(unableToWrite(folder));
    return folder;
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
    return state + QStringLiteral("/Yorv/YorvSaldrix/recovery");
}

void RecoveryCopy::setFolder(const QString &folder)
{
    folderOverride() = folder;
}

RecoveryCopy::RecoveryCopy(QString id, int lock, QString fileName)
    : m_id(std::move(id))
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
    return folder() + u'/' + m_id + QLatin1String(suffix);
}

QString RecoveryCopy::copyPath() const
{
    return path(".ini");
}

std::unique_ptr<RecoveryCopy> RecoveryCopy::create(const QString &fileName)
{
    const QString folder = madeFolder();
    const QString id = QUuid::createUuid().toString(QUuid::Id128);
    const QString lockName = folder + u'/' + id + QStringLiteral(".lock");
    const int lock = takeLock(QFile::encodeName(lockName), O_CREAT | O_EXCL);
    if (lock < 0)
        throw SaldrixError(unableToWrite(lockName));
    std::unique_ptr<RecoveryCopy> copy(new RecoveryCopy(id, lock, QString()));
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
    const QDir dir(folder());
    const QStringList names = dir.entryList({ QStringLiteral("*.name") }, QDir::Files | QDir::Hidden);
    for (const QString &nameFile : names) {
        const QString id = nameFile.chopped(5);
        bool read = false;
        const QString recorded = readName(dir.filePath(nameFile), read);
        if (!read || !sameFile(recorded, fileName))
            continue;
        const int lock = takeLock(QFile::encodeName(dir.filePath(id + QStringLiteral(".lock"))), O_CREAT);
        if (lock < 0)
            continue; // a running instance keeps it
        std::unique_ptr<RecoveryCopy> copy(new RecoveryCopy(id, lock, recorded));
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

void RecoveryCopy::writeBytes(QByteArrayView bytes)
{
    writeWhole(copyPath(), bytes);
}

void RecoveryCopy::remove() noexcept
{
    // The copy goes first: a name left without its copy (after a crash right here) is cleared away by
    // the next claim, while a copy without its name would never be found again.
    ::unlink(QFile::encodeName(copyPath()).constData());
    ::unlink(QFile::encodeName(path(".name")).constData());
    if (m_lock >= 0) {
        ::unlink(QFile::encodeName(path(".lock")).constData());
        ::close(m_lock);
        m_lock = -1;
    }
}
