// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <vector>

class DocumentTree;
class QModelIndex;

// One node move of a drop, as the document tree made it, so that it can be made again or taken
// back. Rows are those the tree's move calls were given.
struct TreeMove {
    enum class Kind {
        Section, // moveSection(row, toRow)
        Option, // moveOption(section, row, toSection, toRow)
        OptionToSection, // optionToSection(section, row, toRow)
    };
    Kind kind = Kind::Section;
    int section = -1;
    int row = 0;
    int toSection = -1;
    int toRow = 0;
    // The option that became a section: its texts and image index, to put it back as it was.
    QString name;
    QString value;
    int image = 0;

    [[nodiscard]] static TreeMove make(Kind kind, int section, int row, int toSection, int toRow)
    {
        TreeMove move;
        move.kind = kind;
        move.section = section;
        move.row = row;
        move.toSection = toSection;
        move.toRow = toRow;
        return move;
    }
};
using TreeMoveLog = std::vector<TreeMove>;

// Makes the move again; returns where the node stands afterwards.
QModelIndex applyTreeMove(DocumentTree &tree, const TreeMove &move);
// Takes the move back (the tree must stand as the move left it); returns where the node stands.
QModelIndex revertTreeMove(DocumentTree &tree, const TreeMove &move);
