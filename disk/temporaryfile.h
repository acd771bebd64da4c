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
class TemporaryFile {
public:
    // Removes the temporary files that killed saves of `target` left, then creates a new one
    // beside it, mode 0600. When the folder takes no new file, isOpen() is false.
    explicit TemporaryFile(const QByteArray &target);
    // Removes the temporary file, unless it has taken the target's place.
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    [[nodiscard]] bool isOpen() const { return !m_path.isEmpty(); }
    [[nodiscard]] const QByteArray &path() const { return m_path; }
    // The descriptor to write with, once; the caller closes it. The lock does not depend on it.
    [[nodiscard]] int takeDescriptor();

    // Puts the temporary file in the target's place; errno tells why not.
    [[nodiscard]] bool renameOver(const QByteArray &target);
    void remove();

    // The name every temporary file of `target` starts with, "~saldrix." included.
    [[nodiscard]] static QByteArray prefixFor(const QByteArray &target);

private:
    int m_fd = -1;
    int m_lock = -1; // the same open file, kept open while the lock must hold
    QByteArray m_path;
};
