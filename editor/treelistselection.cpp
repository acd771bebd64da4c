// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tree's selection: whole rows under one parent.
#include "editor/treelist.h"

#include "document/documenttree.h"

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

// Selection. The selection model holds whole rows under one parent; changes are made as one
// selection so that views and the window hear of each change once.

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
            nodes.append(model()->index(row, 0, range.parent()));
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
    return DocumentTree::level(selectionModel()->selection().first().topLeft());
}

bool TreeList::isNodeSelected(const QModelIndex &nodeIndex) const
{
    return nodeIndex.isValid() && selectionModel()->isSelected(node(nodeIndex));
}

void TreeList::selectNode(const QModelIndex &nodeIndex)
{
    if (!nodeIndex.isValid())
        return;
    const QModelIndex n = node(nodeIndex);
    if ((hasNodeSelection() && selectionParent() != n.parent()) || isNodeSelected(n))
        return;
    selectionModel()->select(
        QItemSelection(n, n.siblingAtColumn(DocumentTree::ColumnCount - 1)), QItemSelectionModel::Select);
}

void TreeList::deselectNode(const QModelIndex &nodeIndex)
{
    if (!isNodeSelected(nodeIndex))
        return;
    const QModelIndex n = node(nodeIndex);
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
    const QModelIndex n = node(nodeIndex);
    selectionModel()->select(
        QItemSelection(n, n.siblingAtColumn(DocumentTree::ColumnCount - 1)), QItemSelectionModel::ClearAndSelect);
}

void TreeList::selectRange(const QModelIndex &from, const QModelIndex &to, bool add)
{
    if (!from.isValid() || !to.isValid())
        return;
    QModelIndex first = node(from);
    QModelIndex last = node(to);
    if (displayKey(last) < displayKey(first))
        std::swap(first, last);
    const QModelIndex parent = hasNodeSelection() ? selectionParent() : first.parent();
    const auto [firstSection, firstOffset] = displayKey(first);
    const auto [lastSection, lastOffset] = displayKey(last);

    int low = 0;
    int high = -1;
    if (!parent.isValid()) {
        low = firstOffset == 0 ? firstSection : firstSection + 1;
        high = lastSection;
    } else if (isExpanded(parent) || first.parent() == parent || last.parent() == parent) {
        const int section = parent.row();
        const int options = model()->rowCount(parent);
        low = firstSection < section ? 0 : firstSection == section ? std::max(firstOffset - 1, 0) : options;
        high = lastSection > section ? options - 1 : lastSection == section ? lastOffset - 1 : -1;
    }

    std::vector<int> rows = add ? selectedRows() : std::vector<int>();
    for (int row = low; row <= high; ++row) {
        if (!isRowHidden(row, parent)) // a hidden node is never selected
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        clearNodeSelection();
    else
        setSelectedRows(parent, rows);
}
