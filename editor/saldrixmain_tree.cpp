// The main window's answers to the tree's events.
#include "editor/saldrixmain.h"

#include "document/documenttree.h"
#include "editor/treelist.h"
#include "editor/treelistrules.h"

#include <QPoint>

void TfrmSaldrixMain::TreeListEditing(TreeList *sender, const QModelIndex &, bool &allow)
{
    allow = treeEditingAllowed(*sender);
}

void TfrmSaldrixMain::TreeListGetImageIndex(TreeList *sender, const QModelIndex &node, int &index)
{
    index = treeNodeImage(*sender, node);
}

void TfrmSaldrixMain::TreeListGetSelectedIndex(TreeList *sender, const QModelIndex &node, int &index)
{
    index = treeNodeImage(*sender, node);
}

void TfrmSaldrixMain::TreeListBeginDragNode(TreeList *, const QModelIndex &node)
{
    DragNodeLevel = DocumentTree::level(node);
}

void TfrmSaldrixMain::TreeListDragOver(TreeList *sender, QObject *source, int x, int y, bool &accept)
{
    // Nothing lands while a load is filling the tree.
    accept = !m_loading && treeDropAccepted(*sender, source, QPoint(x, y), DragNodeLevel);
}

void TfrmSaldrixMain::TreeListDragDrop(TreeList *sender, QObject *, int x, int y)
{
    if (m_loading)
        return;
    // A drop marks the document changed but leaves the caption to the next command.
    if (treeDropSelection(*sender, QPoint(x, y)))
        FModified = true;
}
