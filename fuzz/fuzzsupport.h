// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What the fuzz targets share: a folder for the files they write and the way they report a
// broken promise (an abort, which libFuzzer records with the input that caused it).
namespace fuzzing {

// A file in this process's scratch folder, below $TMPDIR. Every save syncs its file: scripts/test
// points $TMPDIR at /dev/shm, in memory, where the machine has it.
QString scratchFile(const char *name);

void writeFile(const QString &path, const uint8_t *data, size_t size);
QByteArray readFile(const QString &path);

[[noreturn]] void brokenPromise(const char *promise, const QString &detail = {});

} // namespace fuzzing
