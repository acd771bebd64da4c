// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tree's keyboard handling while no editor is open.
#include "treeview/treelist.h"

#include "document/documenttree.h"

#include <QKeyEvent>
#include <QScrollBar>

void TreeList::keyPressEvent(QKeyEvent *event)
{
    if (isEditing()) {
        event->ignore();
        return;
    }
    cancelPendingEdit();
    const Qt::KeyboardModifiers modifiers
        = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) {
        const QRect cell = visualRect(currentIndex());
        openPopupMenu(viewport()->mapToGlobal(cell.isValid() ? cell.bottomLeft() : QPoint(0, 0)));
        event->accept();
        return;
    }
    // Ctrl+Tab leaves the tree, whose Tab moves between its cells.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) && (modifiers & Qt::ControlModifier)) {
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
        event->accept();
        return;
    }
    if (!handleKey(event->key(), modifiers, event->text())) {
        event->ignore();
        return;
    }
    event->accept();
    // After a key without Ctrl the focused node is selected if nothing else is.
    if (!(modifiers & Qt::ControlModifier) && !hasNodeSelection())
        selectNode(focusedNode());
}

void TreeList::moveAfterEdit(int key, Qt::KeyboardModifiers modifiers)
{
    if (handleKey(key, modifiers, {}) && !(modifiers & Qt::ControlModifier) && !hasNodeSelection())
        selectNode(focusedNode());
}

bool TreeList::handleKey(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    const bool control = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    // Ctrl+C, the platform's usual copy key, copies as Ctrl+Ins does.
    if (key == Qt::Key_Insert || (key == Qt::Key_C && control)) {
        if (!control || shift)
            return false;
        copySelection();
        return true;
    }
    const QModelIndex focused = focusedNode();
    if (!focused.isValid())
        return false;
    const int column = focusedColumn();
    const int lastColumn = DocumentTree::ColumnCount - 1;
    if (key == Qt::Key_Tab && shift)
        key = Qt::Key_Backtab;

    switch (key) {
    case Qt::Key_Up:
        moveFocus(nodeAbove(focused), modifiers);
        return true;
    case Qt::Key_Down:
        moveFocus(nodeBelow(focused), modifiers);
        return true;
    case Qt::Key_PageUp:
        moveFocus(pageFrom(focused, false), modifiers);
        return true;
    case Qt::Key_PageDown:
        moveFocus(pageFrom(focused, true), modifiers);
        return true;
    case Qt::Key_Home:
        if (control)
            moveFocus(toDocument(model()->index(0, 0)), modifiers);
        else
            setFocusedColumn(0);
        return true;
    case Qt::Key_End:
        if (control) {
            QModelIndex last = model()->index(model()->rowCount() - 1, 0);
            if (QTreeView::isExpanded(last) && model()->hasChildren(last))
                last = model()->index(model()->rowCount(last) - 1, 0, last);
            moveFocus(toDocument(last), modifiers);
        } else {
            setFocusedColumn(lastColumn);
        }
        return true;
    case Qt::Key_Left:
        setFocusedColumn(std::max(column - 1, 0));
        return true;
    case Qt::Key_Right:
        setFocusedColumn(std::min(column + 1, lastColumn));
        return true;
    case Qt::Key_Tab:
        if (column < lastColumn) {
            setFocusedColumn(column + 1);
        } else if (const QModelIndex below = nodeBelow(focused); below.isValid()) {
            setFocusedCell(below, 0);
            scrollTo(below);
        } else {
            return false; // past the last cell the keyboard goes on to the next control
        }
        return true;
    case Qt::Key_Backtab:
        if (column > 0) {
            setFocusedColumn(column - 1);
        } else if (const QModelIndex above = nodeAbove(focused); above.isValid()) {
            setFocusedCell(above, lastColumn);
            scrollTo(above);
        } else {
            return false;
        }
        return true;
    case Qt::Key_F2:
        editFocusedCell();
        return true;
    default:
        break;
    }
    if (text == QLatin1String("+")) {
        expand(focused);
        return true;
    }
    if (text == QLatin1String("-")) {
        collapse(focused);
        return true;
    }
    return false;
}

QModelIndex TreeList::pageFrom(const QModelIndex &from, bool down) const
{
    int rowHeight = visualRect(from).height();
    if (rowHeight <= 0)
        rowHeight = sizeHintForRow(0);
    const int rows = std::max(1, viewport()->height() / std::max(rowHeight, 1) - 1);
    QModelIndex target = from;
    for (int i = 0; i < rows; ++i) {
        const QModelIndex next = down ? nodeBelow(target) : nodeAbove(target);
        if (!next.isValid())
            break;
        target = next;
    }
    return target;
}
