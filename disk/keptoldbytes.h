// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <memory>

class RecoveryCopy;

// The old bytes of a file while it is rewritten in place, kept until the new ones are synced, with
// the file they belong to and the bytes that the rewrite is to leave in it. A place of the copies'
// kind (recoverycopy.h): "<id>.old" holds the old bytes and "<id>.expect" the size and SHA-256 of
// the new ones; its lock is held while the rewrite runs.
//
// A rewrite killed part-way leaves its place behind. The next writer of the file (under its lock),
// and the next start of the editor on it, settle it: a file that holds the new bytes, or still the
// old ones, is left as it is; any other (a mix of both) gets its old bytes back. Either way the
// place is removed: it is never offered as unsaved changes.
class KeptOldBytes {
public:
    // Keeps `old` for the file `target` (absolute, links resolved), about to hold `expected`: in the
    // copies' folder, else in $XDG_RUNTIME_DIR, else in the system's temporary folder, each private
    // to the user. Throws SaldrixError with the reasons when none of them takes the bytes.
    [[nodiscard]] static std::unique_ptr<KeptOldBytes> keep(
        const QString &target, QByteArrayView old, QByteArrayView expected);
    // Settles what killed rewrites of the file `name` in the open folder `folder` (whose absolute
    // name, links resolved, is `target`) left behind.
    static void settle(int folder, const QByteArray &name, const QString &target);
    // The same for a file known by any name.
    static void settle(const QString &fileName);

    ~KeptOldBytes();
    KeptOldBytes(const KeptOldBytes &) = delete;
    KeptOldBytes &operator=(const KeptOldBytes &) = delete;

    // Removes the place once the file is whole again; never throws.
    void remove() noexcept;

    // Where the places may be, in the order they are tried.
    [[nodiscard]] static QStringList folders();

private:
    explicit KeptOldBytes(std::unique_ptr<RecoveryCopy> copy);

    std::unique_ptr<RecoveryCopy> m_copy;
};
