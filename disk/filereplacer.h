// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "disk/diskfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <sys/types.h>

class TemporaryFile;
class WriteLock;

// Replaces a file's content so that it ends up holding every new byte or, after a failure, every old
// byte. The bytes go to a temporary file beside it; every write, the sync and the close are
// checked, and only then does the temporary file take the file's place. The new file keeps the old
// one's whole mode and, for root, its owner and group.
//
// The name is resolved once: the links it leads through are followed (the link stays a link), but
// not a link that someone other than this user and the folder's owner made in a sticky folder that
// all may write to, the rule the kernel keeps for such folders. From then on the file is named
// only from its folder, held open, and never through a link: a link swapped in meanwhile is refused.
//
// Writers of one file take turns: the replacer holds "<name>.lock" beside the file (writelock.h)
// from its start to its end, and read() reads the file under it. The file is replaced only while
// its name still leads to the file that was read (or, with no read, found at the start), and a new
// file only where none has been made meanwhile; otherwise the write fails and says so.
//
// Where the folder allows no temporary file, or the rename is refused (another user's file in a
// sticky folder), the file is rewritten in place: its new length is reserved first, which when
// refused changes nothing, and if a write still fails the old bytes, read before, are written back.
// Before a byte changes, the old bytes are kept as a copy (recoverycopy.h) until the new ones are
// synced; when they cannot be kept, the file is not touched and the save fails.
// Every failure throws SaldrixError("Unable to write to <name>") with the reason on a line of its own.
class FileReplacer {
public:
    explicit FileReplacer(QString fileName, int lockWaitMs = -1);
    ~FileReplacer();
    FileReplacer(const FileReplacer &) = delete;
    FileReplacer &operator=(const FileReplacer &) = delete;

    // Reads the file as it stands now, under the lock: what a change of it starts from.
    ReadOutcome read(QByteArray &bytes, qint64 limit = MaxReadSize);
    void write(QByteArrayView bytes);
    void commit();

private:
    [[noreturn]] void fail(int error) const;
    [[noreturn]] void fail(const QString &reason) const;
    void lock(int waitMs);
    void checkWritable();
    void openTarget();
    void rewriteInPlace();
    void discardTemporary();
    [[nodiscard]] bool stillTheFileRead(int fd) const;
    void hold(int fd);
    [[nodiscard]] QString targetName() const;

    QString m_fileName;
    QByteArray m_folderPath; // the folder of the file the name leads to, links resolved
    QByteArray m_name; // that file's name in its folder
    int m_folder = -1; // the folder, held open
    std::unique_ptr<WriteLock> m_lock;
    int m_lockedFile = -1; // the file itself, locked where its folder takes no lock file
    int m_held = -1; // the file read, or found, held open
    bool m_existed = false; // whether the file stood there when it was read or found
    dev_t m_device = 0; // and which file it was
    ino_t m_inode = 0;
    std::unique_ptr<TemporaryFile> m_temporary; // while it exists
    int m_fd = -1; // the temporary file or the device
    bool m_isDevice = false;
    bool m_inPlace = false;
    bool m_checked = false; // whether the file's mode lets this user write it
    int m_temporaryError = 0; // why the folder took no temporary file
    qint64 m_written = 0; // bytes in the temporary file so far
    QByteArray m_pending; // the new content, for a rewrite in place
};
