// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

// The lock that serialises the writers of one file: "<name>.lock" beside it, made exclusively, as
// git and other tools lock the files they change. A writer takes it before it reads the file and
// keeps it until the new file has taken its place, so no two writers start from the same content.
//
// The lock file holds "yorvsaldrix <pid>" once its maker holds a kernel lock on it (flock). The
// kernel drops that lock when the process ends in any way, so a lock file with the marker whose
// kernel lock can be taken was left by a dead writer and is removed. A lock file without the marker
// (another program's) is never removed: the writer waits for it, and then gives up.
class WriteLock {
public:
    enum class Outcome {
        Held, // this process holds the lock
        Busy, // another writer held it for the whole wait
        NoRoom, // the folder takes no lock file (errno tells why); the caller locks otherwise
    };

    // Takes the lock of the file `name` in the open folder `folder`, waiting up to waitMs for
    // another writer to end.
    WriteLock(int folder, const QByteArray &name, int waitMs);
    // Removes the lock file, if it is held.
    ~WriteLock();
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

    [[nodiscard]] Outcome outcome() const { return m_outcome; }
    [[nodiscard]] int error() const { return m_error; }
    // The lock file's name in the folder.
    [[nodiscard]] const QByteArray &lockName() const { return m_lockName; }

    // How long a writer waits for another one, unless it is told otherwise.
    static constexpr int DefaultWaitMs = 2000;

    // Waits up to waitMs for a kernel lock on an open file: where no lock file can be made, writers
    // that rewrite the file where it stands lock the file itself. False when it stayed busy.
    [[nodiscard]] static bool lockOpenFile(int fd, int waitMs);

private:
    [[nodiscard]] bool removeIfLeft() const;

    int m_folder;
    int m_fd = -1;
    QByteArray m_lockName;
    Outcome m_outcome = Outcome::Busy;
    int m_error = 0;
};
