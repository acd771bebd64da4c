// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/filewatch.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

// A fast content hash read through a mapping, so a large file costs one pass and no copy.
size_t contentHash(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const qint64 size = file.size();
    if (size == 0)
        return 1;
    if (uchar *bytes = file.map(0, size))
        return qHashBits(bytes, size_t(size), 0x5a1d);
    return qHashBits(file.readAll().constData(), size_t(size), 0x5a1d);
}

} // namespace

FileStamp FileStamp::of(const QString &fileName)
{
    FileStamp stamp;
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.isFile())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modified = info.lastModified();
    stamp.hash = contentHash(fileName);
    return stamp;
}

FileWatch::FileWatch(QObject *parent)
    : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FileWatch::onFileChanged);
}

void FileWatch::watch(const QString &fileName)
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    m_fileName = fileName;
    m_stamp = FileStamp::of(fileName);
    m_notified = false;
    // An atomic replace, ours or another program's, puts a new file under the name: the watcher
    // lost the old one, so the name is added again each time.
    if (m_stamp.exists)
        m_watcher.addPath(fileName);
}

bool FileWatch::changedOnDisk() const
{
    if (m_fileName.isEmpty() || !m_stamp.exists)
        return false;
    const QFileInfo info(m_fileName);
    if (!info.isFile())
        return false;
    if (info.size() != m_stamp.size || info.lastModified() != m_stamp.modified)
        return true;
    return m_notified && contentHash(m_fileName) != m_stamp.hash;
}

void FileWatch::onFileChanged()
{
    if (m_fileName.isEmpty())
        return;
    const bool exists = QFileInfo(m_fileName).isFile();
    if (exists && !m_watcher.files().contains(m_fileName))
        m_watcher.addPath(m_fileName);
    m_notified = true;
    if (!exists) {
        if (m_stamp.exists)
            Q_EMIT changed(true);
        return;
    }
    if (changedOnDisk())
        Q_EMIT changed(false);
}
