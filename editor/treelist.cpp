#include "editor/treelist.h"

#include "document/documenttree.h"
#include "editor/treelisthandlers.h"

#include <QItemSelectionModel>

#include <algorithm>

TreeList::TreeList(QWidget *parent)
    : QTreeView(parent)
{
    setObjectName(QStringLiteral("TreeList"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
}

void TreeList::setDocument(DocumentTree *tree)
{
    m_tree = tree;
    setModel(tree);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &TreeList::stateChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TreeList::stateChanged);
}

QModelIndex TreeList::node(const QModelIndex &index) { return index.siblingAtColumn(0); }

QModelIndex TreeList::focusedNode() const { return node(currentIndex()); }

int TreeList::focusedLevel() const { return DocumentTree::level(focusedNode()); }

int TreeList::focusedColumn() const { return std::max(currentIndex().column(), 0); }

void TreeList::setFocusedColumn(int column)
{
    const QModelIndex focused = focusedNode();
    if (focused.isValid())
        selectionModel()->setCurrentIndex(focused.siblingAtColumn(column), QItemSelectionModel::NoUpdate);
}

void TreeList::setFocusedNode(const QModelIndex &nodeIndex)
{
    if (!nodeIndex.isValid())
        return;
    const int column = focusedColumn();
    if (nodeIndex.parent().isValid())
        expand(nodeIndex.parent());
    selectionModel()->setCurrentIndex(nodeIndex.siblingAtColumn(column), QItemSelectionModel::NoUpdate);
    scrollTo(nodeIndex);
}

QModelIndexList TreeList::selectedNodes() const
{
    QModelIndexList nodes = selectionModel()->selectedRows(0);
    std::sort(nodes.begin(), nodes.end(), [](const QModelIndex &a, const QModelIndex &b) {
        const QModelIndex pa = a.parent().isValid() ? a.parent() : a;
        const QModelIndex pb = b.parent().isValid() ? b.parent() : b;
        if (pa.row() != pb.row())
            return pa.row() < pb.row();
        return DocumentTree::level(a) < DocumentTree::level(b)
            || (DocumentTree::level(a) == DocumentTree::level(b) && a.row() < b.row());
    });
    return nodes;
}

int TreeList::selectionCount() const { return static_cast<int>(selectionModel()->selectedRows(0).size()); }

bool TreeList::isNodeSelected(const QModelIndex &nodeIndex) const
{
    return selectionModel()->isRowSelected(nodeIndex.row(), nodeIndex.parent());
}

void TreeList::selectNode(const QModelIndex &nodeIndex)
{
    const QModelIndexList selected = selectionModel()->selectedRows(0);
    if (!selected.isEmpty() && selected.first().parent() != nodeIndex.parent())
        return;
    selectionModel()->select(nodeIndex, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TreeList::deselectNode(const QModelIndex &nodeIndex)
{
    selectionModel()->select(nodeIndex, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

void TreeList::clearNodeSelection() { selectionModel()->clearSelection(); }

QModelIndex TreeList::nodeAbove(const QModelIndex &nodeIndex) const { return node(indexAbove(nodeIndex)); }

QModelIndex TreeList::nodeBelow(const QModelIndex &nodeIndex) const { return node(indexBelow(nodeIndex)); }

void TreeList::editFocusedCell()
{
    const QModelIndex focused = focusedNode();
    if (!focused.isValid())
        return;
    bool allow = true;
    if (m_handlers != nullptr)
        m_handlers->TreeListEditing(this, focused, allow);
    if (allow)
        edit(currentIndex(), QAbstractItemView::AllEditTriggers, nullptr);
}
