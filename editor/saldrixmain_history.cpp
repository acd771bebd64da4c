// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The document's history: Undo and Redo, and the Modified flag that follows them.
#include "editor/saldrixmain.h"

#include "document/documenttree.h"
#include "editor/undocommands.h"
#include "treeview/treelist.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QUndoStack>

void TfrmSaldrixMain::createHistory()
{
    m_undoStack = new QUndoStack(this);
    m_undoStack->setObjectName(QStringLiteral("UndoStack"));

    const QString edit = tr("Edit");
    actEditUndo = new QAction(tr("&Undo"), this);
    actEditUndo->setObjectName(QStringLiteral("actEditUndo"));
    actEditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actEditUndo->setStatusTip(tr("Takes back the last change"));
    actEditUndo->setProperty("Category", edit);
    actEditRedo = new QAction(tr("Red&o"), this);
    actEditRedo->setObjectName(QStringLiteral("actEditRedo"));
    actEditRedo->setShortcuts({ QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    actEditRedo->setStatusTip(tr("Makes the last change taken back again"));
    actEditRedo->setProperty("Category", edit);
    connect(actEditUndo, &QAction::triggered, this, &TfrmSaldrixMain::actEditUndoExecute);
    connect(actEditRedo, &QAction::triggered, this, &TfrmSaldrixMain::actEditRedoExecute);

    miEdit->addSeparator()->setObjectName(QStringLiteral("N8"));
    miEdit->addAction(actEditUndo);
    miEdit->addAction(actEditRedo);

    // Back at the state last loaded or saved the document is unchanged; anywhere else it is modified.
    connect(m_undoStack, &QUndoStack::indexChanged, this, [this] {
        FModified = !m_undoStack->isClean();
        UpdateCaption(FModified);
        updateHistoryActions();
    });
    connect(m_undoStack, &QUndoStack::cleanChanged, this, &TfrmSaldrixMain::updateHistoryActions);

    // An in-place edit is made by the editor; the step only records it.
    connect(m_document, &DocumentTree::textEdited, this, [this](const QModelIndex &cell, const QString &oldText) {
        QString text;
        if (cell.column() == DocumentTree::ValueColumn)
            text = tr("Edit Value");
        else if (DocumentTree::level(cell) == 0)
            text = tr("Rename Section");
        else
            text = tr("Rename Option");
        pushStep(new EditTextCommand(text, *m_document, *m_treeList, cell, oldText));
    });
    updateHistoryActions();
}

void TfrmSaldrixMain::updateHistoryActions()
{
    if (m_undoStack == nullptr)
        return;
    const QString undo = m_undoStack->undoText();
    const QString redo = m_undoStack->redoText();
    actEditUndo->setText(undo.isEmpty() ? tr("&Undo") : tr("&Undo") + u' ' + undo);
    actEditRedo->setText(redo.isEmpty() ? tr("Red&o") : tr("Red&o") + u' ' + redo);
    actEditUndo->setEnabled(!isLoading() && m_undoStack->canUndo());
    actEditRedo->setEnabled(!isLoading() && m_undoStack->canRedo());
}

void TfrmSaldrixMain::pushStep(QUndoCommand *step)
{
    m_undoStack->push(step);
}

void TfrmSaldrixMain::actEditUndoExecute()
{
    runCommand([this] {
        if (m_treeList->isEditing())
            m_treeList->commitEditor();
        m_undoStack->undo();
    });
}

void TfrmSaldrixMain::actEditRedoExecute()
{
    runCommand([this] {
        if (m_treeList->isEditing())
            m_treeList->commitEditor();
        m_undoStack->redo();
    });
}
