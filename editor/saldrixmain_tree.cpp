// The main window's answers to the tree's events.
#include "editor/saldrixmain.h"

#include "document/documenttree.h"
#include "editor/treelist.h"

void TfrmSaldrixMain::TreeListEditing(TreeList *, const QModelIndex &, bool &allow)
{
    // The decision rests on the focused cell, not on the node passed in: a section's value column
    // is never edited.
    allow = !(m_treeList->focusedLevel() == 0 && m_treeList->focusedColumn() == DocumentTree::ValueColumn);
}

void TfrmSaldrixMain::TreeListGetImageIndex(TreeList *, const QModelIndex &node, int &index)
{
    const bool folder = DocumentTree::level(node) == 0 || m_document->hasChildren(node.siblingAtColumn(0));
    if (!folder)
        index = 2;
    else
        index = m_document->hasChildren(node.siblingAtColumn(0)) && m_treeList->isExpanded(node.siblingAtColumn(0)) ? 1
                                                                                                                    : 0;
}

void TfrmSaldrixMain::TreeListGetSelectedIndex(TreeList *sender, const QModelIndex &node, int &index)
{
    TreeListGetImageIndex(sender, node, index);
}

void TfrmSaldrixMain::TreeListBeginDragNode(TreeList *, const QModelIndex &node)
{
    DragNodeLevel = DocumentTree::level(node);
}

void TfrmSaldrixMain::TreeListDragOver(TreeList *, QObject *, int, int, bool &accept)
{
    accept = false;
}

void TfrmSaldrixMain::TreeListDragDrop(TreeList *, QObject *, int, int)
{
    // Drops move nodes; none may land while a load is filling the tree (see isLoading()).
}
