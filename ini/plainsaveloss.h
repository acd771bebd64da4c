// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

class DocumentTree;
class IniText;

// What a plain save (SaveTreeToIni) would take out of the file that the tree was just read from,
// counted line by line: it writes only the tree's named sections with options, each option as
// "name=value", with one blank line before each section but the first.
struct PlainSaveLoss {
    qsizetype commentLines = 0;
    qsizetype blankLines = 0;
    qsizetype repeatedOptions = 0; // lines of an option name that stood before in its section
    qsizetype otherLines = 0; // lines that hold nothing to the reader, and repeated headers
    qsizetype emptySections = 0;
    qsizetype respacedLines = 0; // lines kept but written with other spacing

    [[nodiscard]] bool any() const
    {
        return commentLines + blankLines + repeatedOptions + otherLines + emptySections + respacedLines > 0;
    }

    // The tree must hold what the text held when it was read, unchanged.
    [[nodiscard]] static PlainSaveLoss of(const IniText &text, const DocumentTree &tree);
};
