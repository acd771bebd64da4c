// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <memory>
#include <vector>

// A copy of work that is not safely in its file yet: the unsaved changes of an open document, or
// the old bytes of a file while it is rewritten in place. Copies live in the user's state folder,
// $XDG_STATE_HOME/Yorv/YorvSaldrix/recovery (~/.local/state when the variable is unset), readable
// by the user alone. Each is a whole INI file `<id>.ini`, with `<id>.name` holding the absolute name
// of the file it belongs to (UTF-8; empty for an untitled document) and `<id>.lock`, which the
// process that keeps the copy holds locked for as long as it runs. The kernel drops that lock when
// the process ends in any way, so a copy whose lock can be taken belongs to no running instance and
// may be offered back; one whose lock is held belongs to a running instance and is left alone.
//
// An object holds the lock of one copy; destroying it lets go of the lock and leaves the files.
// Every failure to make or write a copy throws SaldrixError("Unable to write to <name>").
class RecoveryCopy {
public:
    // The folder the copies are kept in; another one can be set for the whole process (tests keep
    // each window's copies apart this way; an empty name goes back to the user's own).
    [[nodiscard]] static QString folder();
    static void setFolder(const QString &folder);

    // A new place for a copy of the named file, held by this process; the copy itself is written
    // later (copyPath(), writeBytes()). The folder is made when it is missing.
    [[nodiscard]] static std::unique_ptr<RecoveryCopy> create(const QString &fileName);
    // The copies of the named file (an empty name: of untitled documents) that are complete and
    // that no running process holds, newest first; each is held by this process from now on. A
    // place whose copy was never completed is removed on the way.
    [[nodiscard]] static std::vector<std::unique_ptr<RecoveryCopy>> claimFor(const QString &fileName);

    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy &) = delete;
    RecoveryCopy &operator=(const RecoveryCopy &) = delete;

    // The absolute name of the file the copy belongs to; empty for an untitled document.
    [[nodiscard]] const QString &fileName() const { return m_fileName; }
    // Records another file as the copy's own (after Save As failed, or a rename of the document).
    void setFileName(const QString &fileName);
    // Where the copy is written: a whole INI file, to be replaced as any saved file is.
    [[nodiscard]] QString copyPath() const;
    // When the copy was last written; invalid while it does not exist.
    [[nodiscard]] QDateTime written() const;
    // Writes the given bytes as the copy and syncs them before it returns.
    void writeBytes(QByteArrayView bytes);
    // Removes the copy with its name and lock; never throws.
    void remove() noexcept;

private:
    RecoveryCopy(QString id, int lock, QString fileName);
    [[nodiscard]] QString path(const char *suffix) const;

    QString m_id;
    int m_lock = -1;
    QString m_fileName;
};
