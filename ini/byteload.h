// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/documenttree.h"
#include "document/textformat.h"

#include <QByteArray>

#include <atomic>
#include <optional>

// Builds a document from a UTF-8 or Latin-1 file's bytes in one pass, by the reading rules of
// IniText, with every text and section name left where the bytes hold it (see OptionTexts::borrow):
// a section costs its node and an option sixteen bytes. On the way, a section that repeats an
// earlier one is held until the sections are next looked up (see SectionMerger). Counts how far it has
// got in `percent` (from 10 to 100). Returns nothing for UTF-16 text, and for a file that some
// option cannot be read from this way (a value more than 16 MiB past its name), which IniText reads.
[[nodiscard]] std::optional<DocumentContents> contentsFromBytes(
    const QByteArray &bytes, TextFormat &format, std::atomic<int> &percent);
