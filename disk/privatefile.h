// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

// The steps by which a file is made whole under a name of its own before it takes its place: the
// temporary file of a save, and the recovery copies with the names they record.

// Makes a new file readable and writable by this user alone (mode 0600) from `pathTemplate`, a
// name ending in "XXXXXX" that is replaced by a part no file in the folder has yet; the name
// made is written back into it. The descriptor is closed on exec. -1 (errno tells why) when the
// folder takes no new file.
[[nodiscard]] int createPrivateFile(QByteArray &pathTemplate);
// Writes every byte, going on after an interrupted call; false on an error (errno tells which).
[[nodiscard]] bool writeAll(int fd, const char *data, qsizetype size);
// Syncs the folder itself, so that a name made or renamed in it outlasts a power cut. Where the
// folder cannot be opened or synced, nothing more can be done and nothing is reported.
void syncFolder(const QByteArray &folder);
