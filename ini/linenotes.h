// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

class IniText;

// What a file holds about one node beyond its texts, for the window to show beside the tree.
struct LineNotes {
    // The comment lines directly above the node's line (up to a blank line), as the file holds them.
    QStringList comments;
    // The file's other lines of an option's name in its section, which the tree does not show.
    QStringList repeats;

    // For the node whose origin is given (see OptionTexts::origin()); nothing for -1 or a place in
    // no section header or option line.
    [[nodiscard]] static LineNotes of(const IniText &text, qint64 origin);
};
