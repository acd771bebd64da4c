// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <functional>

class DocumentTree;

// What the fuzz targets share: a folder for the files they write, the way a tree is spelled in an
// input and shown in a report, and the way they report a broken promise (an abort, which libFuzzer
// records with the input that caused it).
namespace fuzzing {

// A file in this process's scratch folder, below $TMPDIR. Every save syncs its file: scripts/test
// points $TMPDIR at /dev/shm, in memory, where the machine has it.
QString scratchFile(const char *name);

void writeFile(const QString &path, const uint8_t *data, size_t size);
QByteArray readFile(const QString &path);

// Appends the tree that `records` spell: records are separated by U+001E; one that starts with
// U+001D is a section with the rest as its name, any other an option of the last section (of a
// section "s" before the first), its name and value split at the first U+001F.
void appendRecords(DocumentTree &tree, QStringView records);
// The separator of the records above, for a target that reads records of its own first.
inline constexpr char16_t RecordSeparator = 0x1E;

// The tree as text for a report; `note` adds a word after a section (option -1) or an option.
QString describeTree(const DocumentTree &tree, const std::function<QString(int section, int option)> &note = {});

[[noreturn]] void brokenPromise(const char *promise, const QString &detail = {});

} // namespace fuzzing
