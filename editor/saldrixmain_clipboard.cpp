// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Cut, Copy and Paste: rows through the clipboard, so that options and sections move by keyboard.
#include "editor/saldrixmain.h"

#include "document/documenttree.h"
#include "editor/clipboardnodes.h"
#include "editor/undocommands.h"
#include "treeview/treelist.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

namespace {

// The selected nodes as the clipboard keeps them: sections whole, with every option, also those a
// filter hides.
ClipboardNodes nodesOf(const DocumentTree &tree, const QModelIndexList &nodes)
{
    ClipboardNodes copied;
    for (const QModelIndex &node : nodes) {
        if (DocumentTree::level(node) == 1) {
            copied.options.push_back({ tree.optionText(node.parent().row(), node.row(), DocumentTree::NameColumn),
                tree.optionText(node.parent().row(), node.row(), DocumentTree::ValueColumn) });
            continue;
        }
        const int s = node.row();
        ClipboardSection section { tree.sectionText(s, DocumentTree::NameColumn),
            tree.sectionText(s, DocumentTree::ValueColumn), {} };
        section.options.reserve(size_t(tree.optionCount(s)));
        for (int o = 0; o < tree.optionCount(s); ++o) {
            section.options.push_back(
                { tree.optionText(s, o, DocumentTree::NameColumn), tree.optionText(s, o, DocumentTree::ValueColumn) });
        }
        copied.sections.push_back(std::move(section));
    }
    return copied;
}

} // namespace

void TfrmSaldrixMain::createClipboardCommands()
{
    const auto make = [this](const char *name, const QString &caption, QList<QKeySequence> keys, const QString &hint) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        action->setStatusTip(hint);
        action->setProperty("Category", tr("Edit"));
        action->setToolTip(
            caption + QStringLiteral(" (") + keys.constFirst().toString(QKeySequence::NativeText) + u')');
        return action;
    };
    // The letters are ones that no other item of the Edit menu uses. The second key of each is the
    // one the tree's Ctrl+Ins goes with.
    actEditCut = make("actEditCut", tr("Cu&t"),
        { QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete) },
        tr("Takes the selected rows out and keeps them for Paste"));
    actEditCopy = make("actEditCopy", tr("&Copy"),
        { QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert) },
        tr("Copies the selected rows"));
    actEditPaste = make("actEditPaste", tr("&Paste"),
        { QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert) },
        tr("Puts copied rows, or INI text from another program, after the focused row"));
    // Ctrl+C and Ctrl+Ins are the tree's own keys: the action shows them, and the tree answers them
    // with what the action would do.
    actEditCopy->setShortcutContext(Qt::WidgetShortcut);
    actEditCopy->setToolTip(actEditCopy->iconText());
    m_treeList->setClipboardWriter([this](const QModelIndexList &nodes) { copyNodes(nodes); });
    connect(actEditCut, &QAction::triggered, this, &TfrmSaldrixMain::actEditCutExecute);
    connect(actEditCopy, &QAction::triggered, this, &TfrmSaldrixMain::actEditCopyExecute);
    connect(actEditPaste, &QAction::triggered, this, &TfrmSaldrixMain::actEditPasteExecute);

    miEdit->addSeparator()->setObjectName(QStringLiteral("N11"));
    PopupMenu->addSeparator()->setObjectName(QStringLiteral("N12"));
    for (QAction *action : { actEditCut, actEditCopy, actEditPaste }) {
        miEdit->addAction(action);
        PopupMenu->addAction(action);
    }

    QClipboard *clipboard = QGuiApplication::clipboard();
    const auto follow = [this, clipboard] {
        m_clipboardHasData = clipboardMayHoldNodes(clipboard->mimeData());
        ActionList1Update();
    };
    connect(clipboard, &QClipboard::dataChanged, this, follow);
    m_clipboardHasData = clipboardMayHoldNodes(clipboard->mimeData());
}

void TfrmSaldrixMain::copyNodes(const QModelIndexList &nodes)
{
    QGuiApplication::clipboard()->setMimeData(
        clipboardData(nodesOf(*m_document, nodes), m_treeList->selectionText()).release());
}

void TfrmSaldrixMain::actEditCopyExecute()
{
    runCommand([this] { copyNodes(m_treeList->selectedNodes()); });
}

void TfrmSaldrixMain::actEditCutExecute()
{
    runCommand([this] {
        const QModelIndexList nodes = m_treeList->selectedNodes();
        if (nodes.isEmpty())
            return;
        copyNodes(nodes);
        pushStep(new NodesCommand(tr("Cut"), *m_document, *m_treeList, nodes));
    });
}

void TfrmSaldrixMain::actEditPasteExecute()
{
    runCommand([this] {
        const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
        if (copied == nullptr)
            return;
        const QModelIndex focused = m_treeList->focusedNode();
        const QStringList headers {
            m_document->headerData(DocumentTree::NameColumn, Qt::Horizontal, Qt::DisplayRole).toString() + u'\t'
                + m_document->headerData(DocumentTree::ValueColumn, Qt::Horizontal, Qt::DisplayRole).toString(),
            QStringLiteral("Section Name / Option Name\tOption Value"),
        };
        // Rows copied as text alone say nothing of their kind: they are taken as the focused row's kind.
        const RowLevel rowLevel = DocumentTree::level(focused) == 1 ? RowLevel::Options : RowLevel::Sections;
        const ClipboardNodes pasted = clipboardNodes(*copied, headers, rowLevel);

        // Options go after the focused option, or at the end of the focused section; sections after
        // the focused section, or the focused option's. Options without a section to go into stay out.
        DocumentNodes nodes;
        const QModelIndex section = DocumentTree::level(focused) == 1 ? focused.parent() : focused;
        if (section.isValid()) {
            int row = DocumentTree::level(focused) == 1 ? focused.row() + 1 : m_document->optionCount(section.row());
            for (const ClipboardOption &option : pasted.options)
                nodes.addOption(section.row(), row++, option.name, option.value, DocumentTree::OptionImage);
        }
        int sectionRow = section.isValid() ? section.row() + 1 : 0;
        for (const ClipboardSection &pastedSection : pasted.sections) {
            std::vector<std::pair<QString, QString>> options;
            options.reserve(pastedSection.options.size());
            for (const ClipboardOption &option : pastedSection.options)
                options.emplace_back(option.name, option.value);
            nodes.addSection(sectionRow++, pastedSection.name, pastedSection.value, options, DocumentTree::OptionImage);
        }
        if (nodes.empty())
            return;
        pushStep(new NodesCommand(tr("Paste"), *m_document, *m_treeList, std::move(nodes)));
    });
}
