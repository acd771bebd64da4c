// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's answers to the tree's events, and the tree's pop-up menu.
#include "editor/saldrixmain.h"

#include "dialogs/announcer.h"
#include "document/documenttree.h"
#include "editor/undocommands.h"
#include "treeview/treelist.h"
#include "treeview/treelistrules.h"

#include <QAction>
#include <QMenu>
#include <QPoint>

#include <utility>

namespace {

// A pop-up item mirrors its action: caption, image, shortcut, hint and enabled state, and runs it.
// It is an action of its own so that it carries its own name. Its key is shown beside the caption
// and answered only while the menu itself is open; otherwise the action's own key does the work,
// which keeps one owner for each key.
void addPopupItem(QMenu *menu, QAction *action, const char *name)
{
    auto *item = new QAction(menu);
    item->setObjectName(QLatin1String(name));
    item->setShortcutContext(Qt::WidgetShortcut);
    const auto mirror = [item, action] {
        item->setText(action->text());
        item->setIconText(action->iconText());
        item->setIcon(action->icon());
        item->setStatusTip(action->statusTip());
        item->setToolTip(action->toolTip());
        item->setShortcut(action->shortcut());
        item->setEnabled(action->isEnabled());
        item->setVisible(action->isVisible());
    };
    mirror();
    QObject::connect(action, &QAction::changed, item, mirror);
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
    menu->addAction(item);
}

} // namespace

void TfrmSaldrixMain::createTreePopupMenu()
{
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    addPopupItem(PopupMenu, actEditSectionAdd, "pmiEditSectionAdd");
    addPopupItem(PopupMenu, actEditSectionDelete, "pmiEditSectionDelete");
    addPopupItem(PopupMenu, actEditSectionRename, "pmiEditSectionRename");
    PopupMenu->addSeparator()->setObjectName(QStringLiteral("N6"));
    addPopupItem(PopupMenu, actEditOptionAdd, "pmiEditOptionAdd");
    addPopupItem(PopupMenu, actEditOptionDelete, "pmiEditOptionDelete");
    addPopupItem(PopupMenu, actEditOptionRename, "pmiEditOptionRename");
    addPopupItem(PopupMenu, actEditOptionModifyValue, "pmiEditOptionModify");
    PopupMenu->addSeparator()->setObjectName(QStringLiteral("N7"));
    addPopupItem(PopupMenu, actEditDeleteSelection, "pmiEditDeleteSelection");
    m_treeList->setPopupMenu(PopupMenu);

    // A text stored by the in-place editor that differs from the cell's is an unsaved change,
    // whichever way the editor was opened.
    connect(m_document, &DocumentTree::edited, this, &TfrmSaldrixMain::markModified);
}

void TfrmSaldrixMain::createAnnouncements()
{
    // What changes in the tree without moving the keyboard is spoken; only while the tree has the
    // keyboard, so that the find bar's moves are told by the find bar alone. A cell's name mark is
    // not: it is the cell's description, which screen readers read with the cell as it takes the
    // keyboard, and saying it again would say it twice.
    m_announcer = new Announcer(this);
    const auto treeHasKeyboard = [this] { return m_treeList->hasFocus() || m_treeList->viewport()->hasFocus(); };
    connect(m_treeList, &QTreeView::expanded, this, [this, treeHasKeyboard] {
        if (treeHasKeyboard())
            m_announcer->announce(tr("Expanded"));
    });
    connect(m_treeList, &QTreeView::collapsed, this, [this, treeHasKeyboard] {
        if (treeHasKeyboard())
            m_announcer->announce(tr("Collapsed"));
    });
    // A menu that opens is named; its items are then told as the keyboard reaches them.
    for (QMenu *menu : { miFile, miEdit, miHelp }) {
        connect(menu, &QMenu::aboutToShow, this,
            [this, menu] { m_announcer->announce(tr("%1 menu").arg(QString(menu->title()).remove(u'&'))); });
    }
    connect(PopupMenu, &QMenu::aboutToShow, this, [this] { m_announcer->announce(tr("Pop-up menu")); });
}

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
    accept = !isLoading() && treeDropAccepted(*sender, source, QPoint(x, y), DragNodeLevel);
}

void TfrmSaldrixMain::TreeListDragDrop(TreeList *sender, QObject *, int x, int y)
{
    if (isLoading())
        return;
    // Moved nodes are one step of the history, and the status bar says at once that they are a change.
    TreeMoveLog moves;
    if (!treeDropSelection(*sender, QPoint(x, y), &moves))
        return;
    if (moves.empty())
        markModified();
    else
        pushStep(new MoveCommand(*m_document, *m_treeList, std::move(moves)));
}
