// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treeview/treelistrules.h"

#include "document/documenttree.h"
#include "treeview/treelist.h"

#include <vector>

bool treeEditingAllowed(const TreeList &tree)
{
    return !(tree.focusedLevel() == 0 && tree.focusedColumn() == DocumentTree::ValueColumn);
}

int treeNodeImage(const TreeList &tree, const QModelIndex &node)
{
    const bool hasOptions = tree.showsOptions(node);
    if (DocumentTree::level(node) == 0 || hasOptions)
        return hasOptions && tree.isExpanded(node) ? 1 : 0;
    return 2;
}

TreeDropTarget treeDropTarget(const TreeList &tree, QPoint clientPos)
{
    const TreeHit hit = tree.hitTest(clientPos);
    switch (hit.part) {
    case TreeHitPart::Nowhere:
        return { TreeDropPlacement::AppendSections, {} };
    case TreeHitPart::Button:
    case TreeHitPart::Image:
    case TreeHitPart::StateImage:
    case TreeHitPart::Cell:
        return { TreeDropPlacement::LastChild, hit.node };
    case TreeHitPart::Indent:
        return { TreeDropPlacement::Before, hit.node };
    case TreeHitPart::RightOfColumns:
    case TreeHitPart::Header:
    case TreeHitPart::Outside:
        break;
    }
    return {};
}

namespace {

// The file holds two levels only: sections stay at the top, options go under a section or become
// sections. Anything else would drop the moved nodes' options on the next save.
bool keepsTwoLevels(int movedLevel, const TreeDropTarget &target)
{
    int level = 0;
    switch (target.placement) {
    case TreeDropPlacement::None:
        return false;
    case TreeDropPlacement::AppendSections:
        level = 0;
        break;
    case TreeDropPlacement::LastChild:
        level = DocumentTree::level(target.node) + 1;
        break;
    case TreeDropPlacement::Before:
        level = DocumentTree::level(target.node);
        break;
    }
    return movedLevel == 0 ? level == 0 : level <= 1;
}

bool isSelfOrOwnOption(const QModelIndex &node, const QModelIndex &place)
{
    return place.isValid() && (place == node || place.parent() == node);
}

// Moves one node; returns where it stands afterwards (invalid when it could not move). Each move the
// tree makes goes into the log when there is one.
QModelIndex moveNode(
    DocumentTree &tree, const QPersistentModelIndex &node, const TreeDropTarget &target, TreeMoveLog *log)
{
    const QPersistentModelIndex place(target.node);
    const auto record = [log](bool moved, const TreeMove &move) {
        if (moved && log != nullptr)
            log->push_back(move);
    };
    const auto toSection = [&](int section, int row, int toRow) {
        TreeMove move = TreeMove::make(TreeMove::Kind::OptionToSection, section, row, -1, toRow);
        move.name = tree.optionText(section, row, DocumentTree::NameColumn);
        move.value = tree.optionText(section, row, DocumentTree::ValueColumn);
        move.image = tree.imageIndex(tree.optionIndex(section, row));
        tree.optionToSection(section, row, toRow);
        record(true, move);
        return tree.sectionIndex(toRow);
    };
    const auto moveSection = [&](int from, int to) {
        record(tree.moveSection(from, to), TreeMove::make(TreeMove::Kind::Section, -1, from, -1, to));
    };
    const auto moveOption = [&](int section, int row, int toSectionRow, int toRow) {
        record(tree.moveOption(section, row, toSectionRow, toRow),
            TreeMove::make(TreeMove::Kind::Option, section, row, toSectionRow, toRow));
    };
    if (DocumentTree::level(node) == 0) {
        switch (target.placement) {
        case TreeDropPlacement::AppendSections:
            moveSection(node.row(), tree.sectionCount());
            return node;
        case TreeDropPlacement::Before:
            moveSection(node.row(), place.row());
            return node;
        default:
            return {};
        }
    }
    const int section = node.parent().row();
    switch (target.placement) {
    case TreeDropPlacement::AppendSections:
        return toSection(section, node.row(), tree.sectionCount());
    case TreeDropPlacement::LastChild:
        moveOption(section, node.row(), place.row(), tree.optionCount(place.row()));
        return node;
    case TreeDropPlacement::Before:
        if (DocumentTree::level(place) == 0)
            return toSection(section, node.row(), place.row());
        moveOption(section, node.row(), place.parent().row(), place.row());
        return node;
    case TreeDropPlacement::None:
        break;
    }
    return {};
}

} // namespace

bool treeDropAccepted(const TreeList &tree, const QObject *source, QPoint clientPos, int dragNodeLevel)
{
    if (qobject_cast<const TreeList *>(source) == nullptr || source != &tree)
        return false;
    const QModelIndex node = tree.nodeAt(clientPos);
    if (!node.isValid())
        return true;
    if (DocumentTree::level(node) >= dragNodeLevel)
        return false;
    const int movedLevel = tree.selectionLevel();
    return movedLevel < 0 || keepsTwoLevels(movedLevel, treeDropTarget(tree, clientPos));
}

namespace {

// A drop after the last node of a list lands right after the last one shown, before any hidden
// nodes that follow it, so that it is placed among what the user sees.
TreeDropTarget amongShownNodes(const TreeList &tree, const DocumentTree &document, const TreeDropTarget &target)
{
    QModelIndex parent;
    if (target.placement == TreeDropPlacement::LastChild && DocumentTree::level(target.node) == 0)
        parent = target.node.siblingAtColumn(0);
    else if (target.placement != TreeDropPlacement::AppendSections)
        return target;
    const int count = document.rowCount(parent);
    int row = count;
    while (row > 0 && tree.isRowHidden(row - 1, parent))
        --row;
    if (row == count)
        return target;
    return { TreeDropPlacement::Before, document.index(row, 0, parent) };
}

} // namespace

bool treeDropSelection(TreeList &tree, QPoint clientPos, TreeMoveLog *log)
{
    DocumentTree *document = tree.document();
    const QModelIndexList selected = tree.selectedNodes();
    if (document == nullptr || selected.isEmpty())
        return false;
    const TreeDropTarget dropped = treeDropTarget(tree, clientPos);
    if (!keepsTwoLevels(DocumentTree::level(selected.first()), dropped))
        return false;
    const TreeDropTarget target = amongShownNodes(tree, *document, dropped);

    const TreeListUpdate update(tree);
    const std::vector<QPersistentModelIndex> nodes(selected.cbegin(), selected.cend());
    const QPersistentModelIndex place(target.node);
    const TreeDropTarget persistentTarget { target.placement, place };
    QPersistentModelIndex last;
    bool moved = false;
    for (const QPersistentModelIndex &node : nodes) {
        if (!node.isValid())
            continue;
        tree.deselectNode(node);
        if (isSelfOrOwnOption(node, place))
            continue;
        const QModelIndex at = moveNode(*document, node, persistentTarget, log);
        if (!at.isValid())
            continue;
        moved = true;
        last = at;
        tree.setFocusedNode(at);
    }
    tree.clearNodeSelection();
    if (last.isValid())
        tree.setFocusedNode(last);
    return moved;
}

void StandardTreeListHandlers::TreeListEditing(TreeList *sender, const QModelIndex &, bool &allow)
{
    allow = treeEditingAllowed(*sender);
}

void StandardTreeListHandlers::TreeListGetImageIndex(TreeList *sender, const QModelIndex &node, int &index)
{
    index = treeNodeImage(*sender, node);
}

void StandardTreeListHandlers::TreeListGetSelectedIndex(TreeList *sender, const QModelIndex &node, int &index)
{
    index = treeNodeImage(*sender, node);
}

void StandardTreeListHandlers::TreeListBeginDragNode(TreeList *, const QModelIndex &node)
{
    DragNodeLevel = DocumentTree::level(node);
}

void StandardTreeListHandlers::TreeListDragOver(TreeList *sender, QObject *source, int x, int y, bool &accept)
{
    accept = treeDropAccepted(*sender, source, QPoint(x, y), DragNodeLevel);
}

void StandardTreeListHandlers::TreeListDragDrop(TreeList *sender, QObject *, int x, int y)
{
    if (treeDropSelection(*sender, QPoint(x, y)) && nodesMoved)
        nodesMoved();
}
