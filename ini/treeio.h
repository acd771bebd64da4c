// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>
#include <memory>

class DocumentTree;
class IniText;

// Appends the sections and options of the named file to the tree, in file order. A name that
// does not exist loads nothing. Throws SaldrixError("Unable to read %s") for a file that exists
// but cannot be read. The file is read on another thread; `progress`, when given, is called on the
// calling thread with the percentage done every few milliseconds until the read is over, and may
// do other work meanwhile (the window runs its pending messages there). The tree changes only
// after the last report.
void LoadTreeFromIni(DocumentTree &tree, const QString &fileName, const std::function<void(int)> &progress = {});

// Replaces the named file by one holding the tree's named sections with their named options.
// Throws SaldrixError("Unable to write to %s") and leaves the old file as it was on failure.
void SaveTreeToIni(const DocumentTree &tree, const QString &fileName);

// The parse of the file's text the tree was read from (DocumentTree::layoutBytes()), made at the
// first call and kept with the tree; null when no file's text stands behind it.
[[nodiscard]] std::shared_ptr<const IniText> layoutTextOf(const DocumentTree &tree);

// Writes the tree over the text of the file it was read from (see layoutSplices()): comments, blank
// lines, spacing and every line that no edit touched stay as they stand; with no edit, the bytes
// are the file's as it was read. A document without such a text is written as new lines. Throws
// SaldrixError as SaveTreeToIni does.
void saveTreeKeepingLayout(const DocumentTree &tree, const QString &fileName);
