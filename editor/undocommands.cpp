// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/undocommands.h"

#include "treeview/treelist.h"

#include <QItemSelectionModel>
#include <QScopeGuard>

#include <algorithm>
#include <utility>

TreeCommand::TreeCommand(const QString &text, DocumentTree &tree, TreeList &view)
    : QUndoCommand(text)
    , m_tree(tree)
    , m_view(view)
{
}

void TreeCommand::selectNodes(const QList<QPersistentModelIndex> &nodes)
{
    m_view.clearNodeSelection();
    bool focused = false;
    for (const QPersistentModelIndex &node : nodes) {
        if (!node.isValid())
            continue;
        if (!focused) {
            m_view.setFocusedNode(node);
            focused = true;
        }
        m_view.selectNode(node);
    }
}

NodesCommand::NodesCommand(const QString &text, DocumentTree &tree, TreeList &view, DocumentNodes nodes)
    : TreeCommand(text, tree, view)
    , m_adds(true)
    , m_places(nodes.places())
    , m_nodes(std::move(nodes))
{
}

NodesCommand::NodesCommand(const QString &text, DocumentTree &tree, TreeList &view, const QModelIndexList &nodes)
    : TreeCommand(text, tree, view)
    , m_adds(false)
{
    m_places.reserve(static_cast<size_t>(nodes.size()));
    for (const QModelIndex &node : nodes) {
        if (DocumentTree::level(node) == 0)
            m_places.push_back({ node.row(), -1 });
        else
            m_places.push_back({ node.parent().row(), node.row() });
    }
    std::sort(m_places.begin(), m_places.end());
    m_places.erase(std::unique(m_places.begin(), m_places.end()), m_places.end());
    // An option goes with its section.
    std::erase_if(m_places, [this](const NodePlace &place) {
        return place.option >= 0
            && std::binary_search(m_places.begin(), m_places.end(), NodePlace { place.section, -1 });
    });
}

void NodesCommand::redo()
{
    if (m_adds)
        putBack();
    else
        take();
}

void NodesCommand::undo()
{
    if (m_adds)
        take();
    else
        putBack();
}

namespace {

QModelIndex indexAt(const DocumentTree &tree, const NodePlace &place, int column = DocumentTree::NameColumn)
{
    return place.option < 0 ? tree.sectionIndex(place.section, column)
                            : tree.optionIndex(place.section, place.option, column);
}

} // namespace

void NodesCommand::putBack()
{
    if (m_places.empty())
        return;
    const TreeListUpdate update(m_view);
    m_view.clearNodeSelection();
    m_tree.putBack(std::move(m_nodes));
    for (int section : std::exchange(m_expanded, {}))
        m_view.expand(m_tree.sectionIndex(section));
    m_view.setFocusedNode(indexAt(m_tree, m_places.front()));
    // One range per run of neighbouring rows.
    QList<std::pair<QModelIndex, QModelIndex>> selection;
    for (size_t begin = 0; begin < m_places.size();) {
        size_t end = begin + 1;
        while (end < m_places.size() && m_places[end].option >= 0 && m_places[end].section == m_places[begin].section
            && m_places[end].option == m_places[end - 1].option + 1)
            ++end;
        if (m_places[begin].option < 0) {
            while (end < m_places.size() && m_places[end].option < 0
                && m_places[end].section == m_places[end - 1].section + 1)
                ++end;
        }
        selection.append({ indexAt(m_tree, m_places[begin]), indexAt(m_tree, m_places[end - 1]) });
        begin = end;
    }
    m_view.setSelectedRanges(selection);
    // A paste may put options into a section and sections after it; all of them are shown, and
    // those that share the first one's parent are selected, as a selection has one parent.
    const bool firstIsSection = m_places.front().option < 0;
    const auto otherParent = [&](const std::pair<QModelIndex, QModelIndex> &range) {
        return (DocumentTree::level(range.first) == 0) != firstIsSection
            || (!firstIsSection && range.first.parent() != selection.constFirst().first.parent());
    };
    if (std::any_of(selection.cbegin(), selection.cend(), otherParent)) {
        selection.removeIf(otherParent);
        m_view.setSelectedRanges(selection);
    }
}

void NodesCommand::take()
{
    if (m_places.empty())
        return;
    QModelIndexList nodes;
    nodes.reserve(static_cast<qsizetype>(m_places.size()));
    for (const NodePlace &place : m_places) {
        nodes.append(indexAt(m_tree, place));
        if (place.option < 0 && m_view.isExpanded(nodes.constLast()))
            m_expanded.push_back(place.section);
    }
    // Afterwards the focus goes to the node shown just above the first removed one, or, when that
    // one opens the tree, to the first one shown below the last removed node and its options.
    QPersistentModelIndex target = m_view.nodeAbove(nodes.constFirst());
    if (!target.isValid()) {
        const QModelIndex last = nodes.constLast();
        if (DocumentTree::level(last) == 0) {
            // The next section shown: the filter may hide the ones in between.
            int row = last.row() + 1;
            while (row < m_tree.sectionCount() && m_view.isRowHidden(row, {}))
                ++row;
            target = m_tree.sectionIndex(row);
        } else {
            target = m_view.nodeBelow(last);
        }
    }

    const TreeListUpdate update(m_view);
    const auto focusTarget = qScopeGuard([this, &target] {
        if (target.isValid())
            m_view.selectSingleNode(target);
    });
    // The selection goes with its nodes; dropping it first spares the views from following it.
    m_view.clearNodeSelection();
    m_nodes = m_tree.takeNodes(nodes);
}

EditTextCommand::EditTextCommand(
    const QString &text, DocumentTree &tree, TreeList &view, const QModelIndex &cell, const QString &oldText)
    : TreeCommand(text, tree, view)
    , m_section(DocumentTree::level(cell) == 0 ? cell.row() : cell.parent().row())
    , m_option(DocumentTree::level(cell) == 0 ? -1 : cell.row())
    , m_column(cell.column())
    , m_oldText(oldText)
    , m_newText(cell.data(Qt::EditRole).toString())
{
}

void EditTextCommand::redo()
{
    if (std::exchange(m_done, false))
        return; // the editor made the change already
    setText(m_newText);
}

void EditTextCommand::undo()
{
    setText(m_oldText);
}

void EditTextCommand::setText(const QString &text)
{
    if (m_option < 0)
        m_tree.setSectionText(m_section, m_column, text);
    else
        m_tree.setOptionText(m_section, m_option, m_column, text);
    m_view.setFocusedColumn(m_column);
    m_view.selectSingleNode(m_option < 0 ? m_tree.sectionIndex(m_section) : m_tree.optionIndex(m_section, m_option));
}

MoveCommand::MoveCommand(DocumentTree &tree, TreeList &view, TreeMoveLog moves)
    : TreeCommand(QObject::tr("Move"), tree, view)
    , m_moves(std::move(moves))
{
}

void MoveCommand::redo()
{
    if (std::exchange(m_done, false))
        return; // the drop made the moves already
    const TreeListUpdate update(m_view);
    QList<QPersistentModelIndex> moved;
    for (const TreeMove &move : m_moves)
        moved.append(QPersistentModelIndex(applyTreeMove(m_tree, move)));
    selectNodes(moved);
}

void MoveCommand::undo()
{
    const TreeListUpdate update(m_view);
    QList<QPersistentModelIndex> moved;
    for (auto move = m_moves.rbegin(); move != m_moves.rend(); ++move)
        moved.prepend(QPersistentModelIndex(revertTreeMove(m_tree, *move)));
    selectNodes(moved);
}
