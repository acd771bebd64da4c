// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

class TemporaryFile;

// Replaces a file's content so that it ends up holding every new byte or, after a failure, every old
// byte. The bytes go to a temporary file beside it; every write, the sync and the close are
// checked, and only then does the temporary file take the file's place. The new file keeps the old
// one's whole mode and, for root, its owner and group. Links are followed (the link stays a link);
// a link that leads nowhere it could be saved, or in a circle, fails.
//
// Where the folder allows no temporary file, or the rename is refused (another user's file in a
// sticky folder), the file is rewritten in place: its new length is reserved first, which when
// refused changes nothing, and if a write still fails the old bytes, read before, are written back.
// Before a byte changes, the old bytes are kept as a recovery copy (recoverycopy.h) until the new
// ones are synced; when they cannot be kept, the file is not touched and the save fails.
// Every failure throws SaldrixError("Unable to write to <name>").
class FileReplacer {
public:
    explicit FileReplacer(QString fileName);
    ~FileReplacer();
    FileReplacer(const FileReplacer &) = delete;
    FileReplacer &operator=(const FileReplacer &) = delete;

    void write(QByteArrayView bytes);
    void commit();

private:
    [[noreturn]] void fail() const;
    void rewriteInPlace();
    void discardTemporary();

    QString m_fileName;
    QByteArray m_target; // the file the name leads to, links resolved
    std::unique_ptr<TemporaryFile> m_temporary; // while it exists
    int m_fd = -1; // the temporary file or the device
    bool m_device = false;
    bool m_inPlace = false;
    qint64 m_written = 0; // bytes in the temporary file so far
    QByteArray m_pending; // the new content, for a rewrite in place
};
