// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tree's selection: whole rows under one parent.
#include "treeview/treelist.h"

#include "document/documenttree.h"
#include "treeview/treefiltermodel.h"

#include <QItemSelectionModel>

#include <algorithm>
#include <utility>

namespace {

// Display order of a node: its section's row, then 0 for the section or 1 + the option's row.
std::pair<int, int> displayKey(const QModelIndex &node)
{
    if (DocumentTree::level(node) == 0)
        return { node.row(), 0 };
    return { node.parent().row(), node.row() + 1 };
}

} // namespace

// Selection. The selection model holds whole rows of the view under one parent; changes are made
// as one selection so that views and the window hear of each change once. The helpers below work
// on the view's rows; the public calls take and give the document's nodes.

bool TreeList::hasNodeSelection() const
{
    return selectionModel() != nullptr && selectionModel()->hasSelection();
}

QModelIndex TreeList::selectionParent() const
{
    const QItemSelection selection = selectionModel()->selection();
    return selection.isEmpty() ? QModelIndex() : selection.first().parent();
}

std::vector<int> TreeList::selectedRows() const
{
    std::vector<int> rows;
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return rows;
    const QModelIndex parent = selection.first().parent();
    for (const QItemSelectionRange &range : selection) {
        if (range.left() != 0 || range.parent() != parent)
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void TreeList::setSelectedRows(const QModelIndex &parent, const std::vector<int> &rows)
{
    QItemSelection selection;
    for (size_t i = 0; i < rows.size();) {
        size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        selection.append(QItemSelectionRange(
            model()->index(rows[i], 0, parent), model()->index(rows[j], DocumentTree::ColumnCount - 1, parent)));
        i = j + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

QModelIndexList TreeList::selectedNodes() const
{
    QModelIndexList nodes;
    if (!hasNodeSelection())
        return nodes;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        if (range.left() != 0)
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row)
            nodes.append(toDocument(model()->index(row, 0, range.parent())));
    }
    std::sort(nodes.begin(), nodes.end(),
        [](const QModelIndex &a, const QModelIndex &b) { return displayKey(a) < displayKey(b); });
    nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());
    return nodes;
}

int TreeList::selectionCount() const
{
    if (!hasNodeSelection())
        return 0;
    int count = 0;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        if (range.left() == 0)
            count += range.height();
    }
    return count;
}

int TreeList::selectionLevel() const
{
    if (!hasNodeSelection())
        return -1;
    return DocumentTree::level(toDocument(selectionModel()->selection().first().topLeft()));
}

bool TreeList::isNodeSelected(const QModelIndex &nodeIndex) const
{
    const QModelIndex shown = toView(node(nodeIndex));
    return shown.isValid() && selectionModel()->isSelected(shown);
}

void TreeList::selectNode(const QModelIndex &nodeIndex)
{
    if (!nodeIndex.isValid())
        return;
    if ((hasNodeSelection() && toDocument(selectionParent()) != toDocument(node(nodeIndex)).parent())
        || isNodeSelected(nodeIndex))
        return;
    const QModelIndex n = shownInView(node(nodeIndex));
    selectionModel()->select(
        QItemSelection(n, n.siblingAtColumn(DocumentTree::ColumnCount - 1)), QItemSelectionModel::Select);
}

void TreeList::deselectNode(const QModelIndex &nodeIndex)
{
    if (!isNodeSelected(nodeIndex))
        return;
    const QModelIndex n = toView(node(nodeIndex));
    selectionModel()->select(
        QItemSelection(n, n.siblingAtColumn(DocumentTree::ColumnCount - 1)), QItemSelectionModel::Deselect);
}

void TreeList::clearNodeSelection()
{
    if (hasNodeSelection())
        selectionModel()->clearSelection();
}

void TreeList::selectOnly(const QModelIndex &nodeIndex)
{
    const QModelIndex n = shownInView(node(nodeIndex));
    if (!n.isValid())
        return;
    selectionModel()->select(
        QItemSelection(n, n.siblingAtColumn(DocumentTree::ColumnCount - 1)), QItemSelectionModel::ClearAndSelect);
}

void TreeList::selectRange(const QModelIndex &from, const QModelIndex &to, bool add)
{
    // Worked out among the document's rows, so that either end may be one the filter hides; only
    // the nodes shown are selected.
    QModelIndex first = toDocument(node(from));
    QModelIndex last = toDocument(node(to));
    if (m_tree == nullptr || !first.isValid() || !last.isValid())
        return;
    if (displayKey(last) < displayKey(first))
        std::swap(first, last);
    const QModelIndex parent = hasNodeSelection() ? toDocument(selectionParent()) : first.parent();
    const auto [firstSection, firstOffset] = displayKey(first);
    const auto [lastSection, lastOffset] = displayKey(last);

    int low = 0;
    int high = -1;
    if (!parent.isValid()) {
        low = firstOffset == 0 ? firstSection : firstSection + 1;
        high = lastSection;
    } else if (isExpanded(parent) || first.parent() == parent || last.parent() == parent) {
        const int section = parent.row();
        const int options = m_tree->rowCount(parent);
        low = firstSection < section ? 0 : firstSection == section ? std::max(firstOffset - 1, 0) : options;
        high = lastSection > section ? options - 1 : lastSection == section ? lastOffset - 1 : -1;
    }

    std::vector<int> rows = add ? selectedRows() : std::vector<int>();
    for (int row = low; row <= high; ++row) {
        if (const QModelIndex shown = toView(m_tree->index(row, 0, parent)); shown.isValid())
            rows.push_back(shown.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        clearNodeSelection();
    else
        setSelectedRows(toView(parent), rows);
}

void TreeList::setSelectedRanges(const QList<std::pair<QModelIndex, QModelIndex>> &ranges)
{
    if (m_filter->isFiltering()) {
        // Nodes selected by the program (put back, moved) show under the filter, sections whole.
        std::vector<NodePosition> shown;
        for (const auto &[from, to] : ranges) {
            const QModelIndex first = toDocument(node(from));
            const QModelIndex last = toDocument(node(to));
            if (!first.isValid() || !last.isValid() || first.parent() != last.parent())
                continue;
            for (int row = first.row(); row <= last.row(); ++row)
                shown.push_back(
                    first.parent().isValid() ? NodePosition { first.parent().row(), row } : NodePosition { row, -1 });
        }
        std::sort(shown.begin(), shown.end(), [](const NodePosition &a, const NodePosition &b) {
            return std::pair(a.section, a.option) < std::pair(b.section, b.option);
        });
        m_filter->extend(TreeMatches::fromPositions(shown));
    }
    QItemSelection selection;
    for (const auto &[first, last] : ranges) {
        const QModelIndex top = toView(node(first));
        const QModelIndex bottom = toView(node(last));
        if (top.isValid() && bottom.isValid())
            selection.append(QItemSelectionRange(top, bottom.siblingAtColumn(DocumentTree::ColumnCount - 1)));
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}
