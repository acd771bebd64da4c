// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

// The temporary file a save writes beside the file it replaces, named "<name>~saldrix.XXXXXX".
// A name too long for that keeps as much of its start as fits, cut between characters, followed by
// "~" and a hash of the whole name, so that every temporary name fits the folder's longest name.
//
// The writer holds a lock on its temporary file until the file has taken its place or is removed.
// A save killed part-way leaves its temporary file unlocked; the next save of the same file
// removes such files, and only those: of this pattern for that file, regular, owned by this user
// and not locked by anybody.
//
// Every name is taken in a folder held open by the caller, and no link is followed in it.
class TemporaryFile {
public:
    // Removes the temporary files that killed saves of the file `name` in the open folder `folder`
    // left, then creates a new one beside it, mode 0600. When the folder takes no new file,
    // isOpen() is false and errno tells why.
    TemporaryFile(int folder, const QByteArray &name);
    // Removes the temporary file, unless it has taken the target's place.
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    [[nodiscard]] bool isOpen() const { return !m_path.isEmpty(); }
    // The temporary file's name in the folder.
    [[nodiscard]] const QByteArray &path() const { return m_path; }
    // The descriptor to write with, once; the caller closes it. The lock does not depend on it.
    [[nodiscard]] int takeDescriptor();

    // Puts the temporary file in the place of the file `name` of the folder; with `noReplace`, only
    // where no file of that name stands. errno tells why not.
    [[nodiscard]] bool renameOver(const QByteArray &name, bool noReplace);
    void remove();

    // The name every temporary file of the file `name` in the open folder starts with, "~saldrix."
    // included.
    [[nodiscard]] static QByteArray prefixFor(int folder, const QByteArray &name);

private:
    int m_folder;
    int m_fd = -1;
    int m_lock = -1; // the same open file, kept open while the lock must hold
    QByteArray m_path;
};
