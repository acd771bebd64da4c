// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treeview/treemovelog.h"

#include "document/documenttree.h"

namespace {

// Where a node moved within one list stands afterwards: the destination counts rows before the move.
int rowAfterMove(int from, int to)
{
    return to > from ? to - 1 : to;
}

} // namespace

QModelIndex applyTreeMove(DocumentTree &tree, const TreeMove &move)
{
    switch (move.kind) {
    case TreeMove::Kind::Section:
        tree.moveSection(move.row, move.toRow);
        return tree.sectionIndex(rowAfterMove(move.row, move.toRow));
    case TreeMove::Kind::Option: {
        tree.moveOption(move.section, move.row, move.toSection, move.toRow);
        const int at = move.section == move.toSection ? rowAfterMove(move.row, move.toRow) : move.toRow;
        return tree.optionIndex(move.toSection, at);
    }
    case TreeMove::Kind::OptionToSection:
        tree.optionToSection(move.section, move.row, move.toRow);
        return tree.sectionIndex(move.toRow);
    }
    return {};
}

QModelIndex revertTreeMove(DocumentTree &tree, const TreeMove &move)
{
    switch (move.kind) {
    case TreeMove::Kind::Section: {
        const int at = rowAfterMove(move.row, move.toRow);
        tree.moveSection(at, move.row > at ? move.row + 1 : move.row);
        return tree.sectionIndex(move.row);
    }
    case TreeMove::Kind::Option: {
        const bool sameSection = move.section == move.toSection;
        const int at = sameSection ? rowAfterMove(move.row, move.toRow) : move.toRow;
        tree.moveOption(move.toSection, at, move.section, sameSection && move.row > at ? move.row + 1 : move.row);
        return tree.optionIndex(move.section, move.row);
    }
    case TreeMove::Kind::OptionToSection: {
        // The new section stands at toRow; without it the option's section is back at its row.
        tree.removeRows(move.toRow, 1);
        tree.putBack(DocumentNodes::newOption(move.section, move.row, move.name, move.value, move.image));
        return tree.optionIndex(move.section, move.row);
    }
    }
    return {};
}
