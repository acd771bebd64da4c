// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The section and option editing commands.
#include "editor/saldrixmain.h"

#include "dialogs/userdialogs.h"
#include "document/documenttree.h"
#include "editor/undocommands.h"
#include "treeview/treelist.h"

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
    // The new node's name is document content, written into the file: it is the same in every language.
    runCommand([this] {
        pushStep(new NodesCommand(tr("Add Section"), *m_document, *m_treeList,
            DocumentNodes::newSection(m_document->sectionCount(),
                QStringLiteral("New Section #") + QString::number(nextCount(SectionCounter)))));
    });
}

void TfrmSaldrixMain::actEditOptionAddExecute()
{
    runCommand([this] {
        const QModelIndex focused = m_treeList->focusedNode();
        const QModelIndex section = DocumentTree::level(focused) == 0 ? focused : focused.parent();
        if (!section.isValid())
            return;
        pushStep(new NodesCommand(tr("Add Option"), *m_document, *m_treeList,
            DocumentNodes::newOption(section.row(), m_document->optionCount(section.row()),
                QStringLiteral("New option #") + QString::number(nextCount(OptionCounter)), {},
                DocumentTree::OptionImage)));
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
    // The command marks the document changed whatever the editor then does, even Esc. No step of
    // the history holds that mark, so no undo may bring back the unchanged state: only a save, a
    // load or a clear does.
    m_undoStack->resetClean();
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

    QString text;
    if (nodes.size() > 1)
        text = tr("Delete Selection");
    else
        text = DocumentTree::level(nodes.constFirst()) == 0 ? tr("Delete Section") : tr("Delete Option");
    // A section goes whole, with the options that a filter hides: the question was about it.
    // The focus goes to the node shown just above the first deleted one, or below the last.
    pushStep(new NodesCommand(text, *m_document, *m_treeList, nodes));
}
