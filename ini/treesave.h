// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class DocumentTree;

// Saves a UTF-8 document straight from its sections, without the rewrite's bookkeeping, when that
// writes exactly what the rewrite would: no section name and no option name within a section
// stands twice, and no text needs a change to be stored (names without blanks or line breaks at
// their ends, texts without line breaks). Returns false, having touched nothing, otherwise.
// Throws SaldrixError as a save does.
[[nodiscard]] bool saveTreeAsItStands(const DocumentTree &tree, const QString &fileName);
