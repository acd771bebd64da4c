// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QDir>
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
    // Root, and any user, never keeps copies in a state folder that belongs to another user (as
    // under sudo -E): the state folder of the user's own home is used instead. The folders the
    // program makes there are refused when one of them is a link or another user's.
    [[nodiscard]] static QString folder();
    static void setFolder(const QString &folder);
    // The folders that must be this user's own, from the first one the program makes down to
    // folder() itself, and the folder above them.
    [[nodiscard]] static QStringList ownFolders();
    [[nodiscard]] static QString stateFolderOf(const QString &folder);

    // A new place for a copy of the named file, held by this process; the copy itself is written
    // later (copyPath(), writeBytes()). The folder is made when it is missing.
    [[nodiscard]] static std::unique_ptr<RecoveryCopy> create(const QString &fileName);
    // The copies of the named file (an empty name: of untitled documents) that are complete and
    // that no running process holds, newest first; each is held by this process from now on. A
    // place whose copy was never completed is removed on the way, and so are the part-written
    // files of writers that were killed. A file that is not this user's, not a regular file or
    // larger than MaxReadSize is never read, nor offered.
    [[nodiscard]] static std::vector<std::unique_ptr<RecoveryCopy>> claimFor(const QString &fileName);

    // The same in a folder made and checked by the caller (the old bytes of a rewrite may go
    // elsewhere when the state folder takes nothing).
    [[nodiscard]] static std::unique_ptr<RecoveryCopy> createIn(const QString &folder, const QString &fileName);
    // The place `id` in the folder, held by this process from now on; null while a running process
    // holds it, or when it records no name of this user's own.
    [[nodiscard]] static std::unique_ptr<RecoveryCopy> claimPlace(const QString &folder, const QString &id);
    // Whether the path is a regular file of this user's own of at most `limit` bytes: only such
    // files in these folders are ever read.
    [[nodiscard]] static bool ownRegularFile(const QString &path, qint64 limit);
    // Makes each folder that is missing, readable by this user alone, and checks that none of them
    // is a link or another user's; throws SaldrixError with the reason otherwise.
    static void makeOwnFolders(const QStringList &folders);

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
    // Makes the copy readable and writable by this user alone, once it has been written by a save
    // (which gives a new file the usual mode); later saves keep that mode.
    void keepPrivate();
    // Writes the given bytes as the copy and syncs them before it returns.
    void writeBytes(QByteArrayView bytes);
    // Writes a file of the place beside the copy, "<id><suffix>", whole and synced.
    void writePart(const char *suffix, QByteArrayView bytes);
    // The path of such a file.
    [[nodiscard]] QString partPath(const char *suffix) const { return path(suffix); }
    // Removes the copy with its name, its other files and its lock; never throws.
    void remove() noexcept;

private:
    RecoveryCopy(QString folder, QString id, int lock, QString fileName);
    static void removeLeftParts(const QDir &dir);
    [[nodiscard]] QString path(const char *suffix) const;

    QString m_folder;
    QString m_id;
    int m_lock = -1;
    QString m_fileName;
};
