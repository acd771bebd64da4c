// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ini/initext.h"

#include <QString>

#include <vector>

class DocumentTree;
class FileReplacer;

// The changes that make the file's text hold the tree, for a save that keeps the file's layout.
// Every node knows the line it was read from (its origin); what no edit touched stays byte for byte:
//
// - A node still in its place with its texts unchanged changes nothing. A changed value replaces
//   the value's bytes, a changed name the name's bytes (in every header of a section that stands
//   several times).
// - A node's own lines are its line and the lines after it that hold nothing (continuations), and
//   the comment lines directly above it, up to a blank line; a section's are its headers with
//   everything up to its last option's own lines. A removed node takes its own lines away; a
//   moved one takes them along, so that the nodes that kept their order stay where they stand.
// - A new option goes after the option before it in the tree, or before the first option that
//   kept its place, or after the section's last option line; a new section goes before the next
//   section that kept its place, or at the end of the file. New lines take the spacing around "="
//   that most of the file's options have, and the indentation of the option they follow.
// - The lines that repeat an option's name in its section, which the tree does not show, belong to
//   the option that it shows: they take its new name, go when it goes and move along after it, so
//   that they never come back as nodes of their own. Nodes without a name are written too ("[]",
//   "=value"), as they load back.
//
// With no edit there is no splice. The text must be the one the tree's nodes were read from.
[[nodiscard]] std::vector<IniText::Splice> layoutSplices(const IniText &text, const DocumentTree &tree);

// Writes the text with the splices applied (sorted, not overlapping) to the named file, through the
// replacing write that every save takes. A Latin-1 text is written as UTF-8 when a new text needs
// it, or when every byte of the result would read as UTF-8 anyway (so that it reads back as it was
// written); every other text keeps its encoding, mark and line ends. Throws SaldrixError.
void writeSplicedText(const IniText &text, const std::vector<IniText::Splice> &splices, const QString &fileName);
// The same, through a replacing write that is already open (and holds the file's lock): a command
// that read the file through it writes back only the file it read.
void writeSplicedText(const IniText &text, const std::vector<IniText::Splice> &splices, FileReplacer &file);
