// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and replacing writes (filereplacer.h), the only two ways the INI layer touches the
// disk.

enum class ReadOutcome { Read, Missing, Unreadable, TooLarge };

// The largest file that is read whole; a larger one is TooLarge and is not read at all.
constexpr qint64 MaxReadSize = qint64(1) << 30;

// Reads the named file into bytes. Only regular files are read: a folder, a FIFO or a device is
// Unreadable and is never waited on. A name that does not exist (or a dangling link) is Missing.
// A file that holds more than `limit` bytes, when opened or by the time it has been read, is
// TooLarge; bytes are then empty.
ReadOutcome readWholeFile(const QString &fileName, QByteArray &bytes, qint64 limit = MaxReadSize);
