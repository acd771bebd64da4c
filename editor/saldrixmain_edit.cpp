// The section and option editing commands.
#include "editor/saldrixmain.h"

#include "dialogs/userdialogs.h"
#include "document/documenttree.h"
#include "editor/treelist.h"

#include <QPersistentModelIndex>
#include <QScopeGuard>

namespace {

// Counts on for the whole run; wraps instead of overflowing after 2^31 names.
qint32 nextCount(qint32 &counter)
{
    counter = static_cast<qint32>(static_cast<quint32>(counter) + 1U);
    return counter;
}

} // namespace

void TfrmSaldrixMain::markModified()
{
    FModified = true;
    UpdateCaption(true);
}

void TfrmSaldrixMain::SelectSingleNode(const QModelIndex &node)
{
    m_treeList->clearNodeSelection();
    if (m_treeList->focusedNode() != node.siblingAtColumn(0))
        m_treeList->setFocusedNode(node);
    m_treeList->selectNode(node);
}

void TfrmSaldrixMain::actEditSectionAddExecute()
{
    runCommand([this] {
        const int row = m_document->appendSection(tr("New Section #") + QString::number(nextCount(SectionCounter)));
        SelectSingleNode(m_document->sectionIndex(row));
        markModified();
    });
}

void TfrmSaldrixMain::actEditOptionAddExecute()
{
    runCommand([this] {
        const QModelIndex focused = m_treeList->focusedNode();
        const QModelIndex section = DocumentTree::level(focused) == 0 ? focused : focused.parent();
        if (!section.isValid())
            return;
        const int row = m_document->appendOption(
            section.row(), tr("New option #") + QString::number(nextCount(OptionCounter)), QString());
        SelectSingleNode(m_document->optionIndex(section.row(), row));
        markModified();
    });
}

void TfrmSaldrixMain::actEditSectionDeleteExecute()
{
    runCommand([this] { DeleteSelectedNodes(this); });
}

void TfrmSaldrixMain::actEditOptionDeleteExecute()
{
    runCommand([this] { DeleteSelectedNodes(this); });
}

void TfrmSaldrixMain::actEditDeleteSelectionExecute()
{
    runCommand([this] { DeleteSelectedNodes(this); });
}

void TfrmSaldrixMain::actEditSectionRenameExecute()
{
    runCommand([this] { RenameSelectedNode(DocumentTree::NameColumn); });
}

void TfrmSaldrixMain::actEditOptionRenameExecute()
{
    runCommand([this] { RenameSelectedNode(DocumentTree::NameColumn); });
}

void TfrmSaldrixMain::actEditOptionModifyValueExecute()
{
    runCommand([this] { RenameSelectedNode(DocumentTree::ValueColumn); });
}

void TfrmSaldrixMain::RenameSelectedNode(int column)
{
    if (column != m_treeList->focusedColumn())
        m_treeList->setFocusedColumn(column);
    m_treeList->editFocusedCell();
    markModified();
}

void TfrmSaldrixMain::DeleteSelectedNodes(QObject *)
{
    const QModelIndex focused = m_treeList->focusedNode();
    QModelIndexList nodes = m_treeList->selectedNodes();
    QString ending;
    if (!nodes.isEmpty())
        ending = tr("ALL selected items?");
    else if (DocumentTree::level(focused) == 1)
        ending = tr("option?");
    else if (DocumentTree::level(focused) == 0)
        ending = tr("section?");
    else
        return; // nothing focused, nothing selected: nothing to delete
    if (!m_dialogs.confirm(this, tr("Do you really want to delete ") + ending))
        return;
    if (nodes.isEmpty())
        nodes.append(focused);

    // The node to focus afterwards: the one displayed just above the first deleted node, or, when
    // that node opens the tree, the first one displayed below the last deleted node and its options.
    QPersistentModelIndex target = m_treeList->nodeAbove(nodes.constFirst());
    if (!target.isValid()) {
        const QModelIndex last = nodes.constLast();
        target
            = DocumentTree::level(last) == 0 ? m_document->sectionIndex(last.row() + 1) : m_treeList->nodeBelow(last);
    }

    {
        TreeListUpdate update(*m_treeList);
        const auto focusTarget = qScopeGuard([this, &target] {
            if (target.isValid())
                SelectSingleNode(target);
        });
        // The selection goes with its nodes; dropping it first spares the views from following it.
        m_treeList->selectionModel()->clearSelection();
        m_document->removeNodes(nodes);
    }
    markModified();
}
