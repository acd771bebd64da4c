// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "treeview/treelisthandlers.h"
#include "treeview/treemovelog.h"

#include <QModelIndex>
#include <QPoint>

#include <functional>

class QObject;
class TreeList;

// The rules behind the tree's handlers, apart from any window so that the main window and the
// tests apply the same ones.

// The in-place editor may open on the tree's focused cell, except in a section's value column.
// The decision rests on the focused node and column, not on the node the editor is opened for.
[[nodiscard]] bool treeEditingAllowed(const TreeList &tree);

// 0 for a collapsed section (a section without options counts as collapsed), 1 for an expanded
// one, 2 for an option.
[[nodiscard]] int treeNodeImage(const TreeList &tree, const QModelIndex &node);

// Where a drop at a client point puts the moved nodes.
enum class TreeDropPlacement {
    None, // nothing happens
    AppendSections, // after the last section, as sections
    LastChild, // as the last children of the node
    Before, // before the node, as its siblings
};
struct TreeDropTarget {
    TreeDropPlacement placement = TreeDropPlacement::None;
    QModelIndex node;
};
[[nodiscard]] TreeDropTarget treeDropTarget(const TreeList &tree, QPoint clientPos);

// Whether a drag from source may drop at the client point, given the level of the node the drag
// began on. Only the tree's own drags are accepted; a row only takes nodes of a deeper level, and
// never in a way that would put sections under a section.
[[nodiscard]] bool treeDropAccepted(const TreeList &tree, const QObject *source, QPoint clientPos, int dragNodeLevel);

// Moves the selected nodes, one at a time in display order, to the place under the client point.
// A node is skipped when the place is the node itself or one of its options. Afterwards the last
// moved node is focused and nothing is selected. Returns whether any node was moved. The moves the
// tree made are added to the log when one is given.
bool treeDropSelection(TreeList &tree, QPoint clientPos, TreeMoveLog *log = nullptr);

// The handlers with the standard rules: what the tree uses when no window gives it handlers.
class StandardTreeListHandlers : public TreeListHandlers {
public:
    // The level of the node the current drag began on.
    int DragNodeLevel = 0;
    // Called after a drop moved nodes.
    std::function<void()> nodesMoved;

    void TreeListEditing(TreeList *sender, const QModelIndex &node, bool &allow) override;
    void TreeListGetImageIndex(TreeList *sender, const QModelIndex &node, int &index) override;
    void TreeListGetSelectedIndex(TreeList *sender, const QModelIndex &node, int &index) override;
    void TreeListBeginDragNode(TreeList *sender, const QModelIndex &node) override;
    void TreeListDragOver(TreeList *sender, QObject *source, int x, int y, bool &accept) override;
    void TreeListDragDrop(TreeList *sender, QObject *source, int x, int y) override;
};
