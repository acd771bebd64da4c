// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QModelIndex>

class QObject;
class TreeList;

// The main window's handlers that the tree calls back, named after the tree's events.
class TreeListHandlers {
public:
    virtual ~TreeListHandlers() = default;

    // Before the in-place editor opens; clearing allow refuses it.
    virtual void TreeListEditing(TreeList *sender, const QModelIndex &node, bool &allow) = 0;
    // The node's stored image index comes in; the answer is what is drawn.
    virtual void TreeListGetImageIndex(TreeList *sender, const QModelIndex &node, int &index) = 0;
    // The same, for a node drawn as selected.
    virtual void TreeListGetSelectedIndex(TreeList *sender, const QModelIndex &node, int &index) = 0;
    // Once, when a drag of a node begins.
    virtual void TreeListBeginDragNode(TreeList *sender, const QModelIndex &node) = 0;
    // Repeatedly while something is dragged over the tree; x and y are client coordinates.
    virtual void TreeListDragOver(TreeList *sender, QObject *source, int x, int y, bool &accept) = 0;
    // When the button is released over a position that accepted the drop.
    virtual void TreeListDragDrop(TreeList *sender, QObject *source, int x, int y) = 0;
};
