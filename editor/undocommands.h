// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/documenttree.h"
#include "treeview/treemovelog.h"

#include <QModelIndexList>
#include <QPersistentModelIndex>
#include <QUndoCommand>

#include <vector>

class TreeList;

// The steps of the editor's history. Each keeps only what its change touched: a removal keeps the
// removed nodes while they are out of the tree, an insertion only where its nodes stand while they
// are in it. Undo and redo put the focus and the selection on the nodes they brought back or moved.

class TreeCommand : public QUndoCommand {
protected:
    TreeCommand(const QString &text, DocumentTree &tree, TreeList &view);
    // Focuses the first node and selects every one that is still there.
    void selectNodes(const QList<QPersistentModelIndex> &nodes);

    DocumentTree &m_tree;
    TreeList &m_view;
};

// Nodes put into the tree (Add) or taken out of it (Delete); each is the other's undo.
class NodesCommand : public TreeCommand {
public:
    // New nodes, put in by the first redo.
    NodesCommand(const QString &text, DocumentTree &tree, TreeList &view, DocumentNodes nodes);
    // Nodes of the tree, taken out by the first redo.
    NodesCommand(const QString &text, DocumentTree &tree, TreeList &view, const QModelIndexList &nodes);

    void redo() override;
    void undo() override;

private:
    void putBack();
    void take();

    bool m_adds;
    std::vector<NodePlace> m_places; // where the nodes stand while they are in the tree
    DocumentNodes m_nodes; // the nodes while they are out of it
    std::vector<int> m_expanded; // the sections among them that were open when they were taken out
};

// One cell's text, changed by the in-place editor; the change is made before the step is pushed.
class EditTextCommand : public TreeCommand {
public:
    EditTextCommand(
        const QString &text, DocumentTree &tree, TreeList &view, const QModelIndex &cell, const QString &oldText);

    void redo() override;
    void undo() override;

private:
    void setText(const QString &text);

    int m_section;
    int m_option;
    int m_column;
    QString m_oldText;
    QString m_newText;
    bool m_done = true;
};

// The node moves of one drop, made before the step is pushed.
class MoveCommand : public TreeCommand {
public:
    MoveCommand(DocumentTree &tree, TreeList &view, TreeMoveLog moves);

    void redo() override;
    void undo() override;

private:
    TreeMoveLog m_moves;
    bool m_done = true;
};
