// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tree's mouse handling and the in-place editor's opening and closing.
#include "treeview/treelist.h"

#include "document/documenttree.h"
#include "treeview/treelistdelegate.h"
#include "treeview/treelisthandlers.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

namespace {

// A node is pressed through its image or its cells; the indentation and the button are not the node.
bool isNodePart(TreeHitPart part)
{
    return part == TreeHitPart::Image || part == TreeHitPart::StateImage || part == TreeHitPart::Cell;
}

// The drag starts once the pointer has moved more than this many pixels either way.
constexpr int DragThreshold = 5;

} // namespace

void TreeList::focusInEvent(QFocusEvent *event)
{
    // A press that gives the tree the focus is delivered right after this; that press must not
    // count as a click on a tree that already had the focus.
    if (event->reason() == Qt::MouseFocusReason) {
        m_focusInByMouse = true;
        QTimer::singleShot(0, this, [this] { m_focusInByMouse = false; });
    }
    QTreeView::focusInEvent(event);
    QMetaObject::invokeMethod(this, &TreeList::announceFocusedCell, Qt::QueuedConnection);
}

void TreeList::focusOutEvent(QFocusEvent *event)
{
    cancelPendingEdit();
    QTreeView::focusOutEvent(event);
}

void TreeList::mousePressEvent(QMouseEvent *event)
{
    const bool hadFocus = hasFocus() && !m_focusInByMouse;
    m_focusInByMouse = false;
    // A press while the delayed editor is pending is the second click of a double-click.
    const bool secondClick = m_editTimer.isActive();
    pressAt(event, hadFocus && !secondClick);
}

void TreeList::mouseDoubleClickEvent(QMouseEvent *event)
{
    pressAt(event, false);
    const TreeHit hit = hitTestViewport(event->position().toPoint());
    if (event->button() == Qt::LeftButton && isNodePart(hit.part) && showsOptions(hit.node))
        setExpanded(hit.node, !isExpanded(hit.node));
}

void TreeList::pressAt(QMouseEvent *event, bool mayEdit)
{
    cancelPendingEdit();
    // A press elsewhere in the tree stores what the editor holds.
    if (isEditing())
        commitEditor();
    m_pressActive = false;
    m_press = {};

    const TreeHit hit = hitTestViewport(event->position().toPoint());
    const Qt::MouseButton button = event->button();
    if (hit.part == TreeHitPart::Button) {
        if (button == Qt::LeftButton)
            setExpanded(hit.node, !isExpanded(hit.node));
        return;
    }
    if (!isNodePart(hit.part) || (button != Qt::LeftButton && button != Qt::RightButton))
        return;

    const QModelIndex before = focusedNode();
    const int beforeColumn = focusedColumn();
    const int column = hit.part == TreeHitPart::Cell ? hit.column : DocumentTree::NameColumn;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    setFocusedCell(hit.node, column);
    bool selectOnRelease = false;
    if (modifiers & Qt::ShiftModifier) {
        selectRange(m_anchor.isValid() ? QModelIndex(m_anchor) : before, hit.node, modifiers & Qt::ControlModifier);
    } else {
        if (modifiers & Qt::ControlModifier) {
            if (isNodeSelected(hit.node))
                deselectNode(hit.node);
            else
                selectNode(hit.node);
        } else if (!isNodeSelected(hit.node)) {
            selectOnly(hit.node);
        } else {
            selectOnRelease = true;
        }
        m_anchor = hit.node;
    }

    if (button != Qt::LeftButton)
        return;
    m_pressActive = true;
    m_press.node = hit.node;
    m_press.pos = event->position().toPoint();
    m_press.modifiers = modifiers;
    m_press.selectOnRelease = selectOnRelease;
    m_press.editOnRelease = mayEdit && modifiers == Qt::NoModifier && hit.part == TreeHitPart::Cell
        && hit.node == before && column == beforeColumn;
}

void TreeList::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton) {
        QTreeView::mouseMoveEvent(event); // hover only
        return;
    }
    if (!m_pressActive || !(event->buttons() & Qt::LeftButton) || isEditing())
        return;
    const QPoint moved = event->position().toPoint() - m_press.pos;
    if (std::abs(moved.x()) <= DragThreshold && std::abs(moved.y()) <= DragThreshold)
        return;
    m_pressActive = false;
    const Press press = std::exchange(m_press, {});
    startNodeDrag(press.node, press.modifiers);
}

void TreeList::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressActive || event->button() != Qt::LeftButton) {
        m_pressActive = false;
        return;
    }
    m_pressActive = false;
    const Press press = std::exchange(m_press, {});
    if (!press.node.isValid())
        return;
    // A press on a selected node keeps the selection for a drag; a plain click selects it alone.
    if (press.selectOnRelease)
        selectOnly(press.node);
    if (press.editOnRelease) {
        const TreeHit hit = hitTestViewport(event->position().toPoint());
        if (hit.part == TreeHitPart::Cell && hit.node == press.node && hit.column == focusedColumn())
            m_editTimer.start(QApplication::doubleClickInterval());
    }
}

void TreeList::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_popupMenu == nullptr) {
        event->ignore();
        return;
    }
    QPoint global = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QRect cell = visualRect(currentIndex());
        global = viewport()->mapToGlobal(cell.isValid() ? cell.bottomLeft() : QPoint(0, 0));
    }
    openPopupMenu(global);
    event->accept();
}

void TreeList::setPopupMenu(QMenu *menu)
{
    m_popupMenu = menu;
}

QMenu *TreeList::popupMenu() const
{
    return m_popupMenu;
}

void TreeList::openPopupMenu(QPoint globalPos)
{
    if (m_popupMenu != nullptr && !m_popupMenu->isVisible())
        m_popupMenu->popup(globalPos);
}

// In-place editing

void TreeList::editFocusedCell()
{
    const QModelIndex focused = focusedNode();
    if (!focused.isValid() || isEditing())
        return;
    cancelPendingEdit();
    bool allow = true;
    handlers()->TreeListEditing(this, focused, allow);
    if (allow)
        edit(selectionModel()->currentIndex(), QAbstractItemView::AllEditTriggers, nullptr);
}

void TreeList::commitEditor()
{
    m_delegate->finishEditing();
}

void TreeList::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Moves after an edit are the tree's own (see the delegate); Qt's next-item hints are not used.
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    const bool previous = hint == QAbstractItemDelegate::EditPreviousItem;
    QTreeView::closeEditor(editor, next || previous ? QAbstractItemDelegate::NoHint : hint);
    if (next || previous)
        moveAfterEdit(next ? Qt::Key_Tab : Qt::Key_Backtab, Qt::NoModifier);
}

void TreeList::cancelPendingEdit()
{
    m_editTimer.stop();
}

void TreeList::pendingEditTimeout()
{
    if (hasFocus())
        editFocusedCell();
}
