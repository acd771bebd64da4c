// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Dragging nodes within the tree: the drag start, the drag events and the drag timers. Where a
// drag may drop and what a drop does is the handlers' business.
#include "treeview/treelist.h"

#include "document/documenttree.h"
#include "treeview/treelisthandlers.h"
#include "treeview/treepictures.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QScrollBar>

namespace {

const QString NodeDragFormat = QStringLiteral("application/x-yorvsaldrix-nodes");

} // namespace

QPixmap TreeList::singleDragCursor()
{
    // The resource's arrow points with its tip at (1, 1).
    static const QPixmap cursor
        = treeCursorWithTipAtCentre(treeResourceCursor(QStringLiteral("CURSOR_2")), QPoint(1, 1));
    return cursor;
}

QPixmap TreeList::multiDragCursor()
{
    static const QPixmap cursor = treeCursorWithTipAtCentre(treeMultiDragCursor(), QPoint(0, 0));
    return cursor;
}

void TreeList::startNodeDrag(const QModelIndex &pressed, Qt::KeyboardModifiers modifiers)
{
    const QPersistentModelIndex dragged(pressed);
    if (!dragged.isValid() || isDragging())
        return;
    cancelPendingEdit();
    if (dragged != focusedNode()) {
        if (!(modifiers & (Qt::ControlModifier | Qt::ShiftModifier)))
            clearNodeSelection();
        setFocusedCell(dragged, focusedColumn());
    }
    selectNode(dragged);
    handlers()->TreeListBeginDragNode(this, dragged);

    auto *drag = new QDrag(this);
    auto *mime = new QMimeData;
    mime->setData(NodeDragFormat, QByteArray());
    drag->setMimeData(mime);
    const QPixmap cursor = selectionCount() < 2 ? singleDragCursor() : multiDragCursor();
    if (!cursor.isNull())
        drag->setDragCursor(cursor, Qt::MoveAction);
    m_dragMime = mime;
    if (m_dragRunner) {
        m_dragRunner(*drag);
        delete drag;
    } else {
        drag->exec(Qt::MoveAction); // Qt disposes of the drag
    }
    m_dragMime = nullptr;
    stopDragTimers();
}

QObject *TreeList::dragSource(const QDropEvent *event) const
{
    // The tree's own drag carries the data object it made; other drags come from elsewhere.
    if (m_dragMime != nullptr && event->mimeData() == m_dragMime)
        return const_cast<TreeList *>(this);
    return event->source();
}

bool TreeList::dragOver(QDropEvent *event)
{
    const QPoint vp = event->position().toPoint();
    const QPoint client = viewport()->mapTo(this, vp);
    QObject *source = dragSource(event);
    bool accept = false;
    handlers()->TreeListDragOver(this, source, client.x(), client.y(), accept);

    if (source == this) {
        m_dragPos = vp;
        // The focus follows the pointer over the rows; the selection stays as it is.
        const QModelIndex under = nodeAtViewport(vp.y());
        if (under.isValid() && under != focusedNode())
            setFocusedCell(under, focusedColumn());
        // Resting on a collapsed node's button expands it.
        const TreeHit hit = hitTestViewport(vp);
        if (hit.part == TreeHitPart::Button && !isExpanded(hit.node)) {
            if (m_dragExpandNode != hit.node || !m_dragExpandTimer.isActive()) {
                m_dragExpandNode = hit.node;
                m_dragExpandTimer.start();
            }
        } else {
            m_dragExpandTimer.stop();
            m_dragExpandNode = QPersistentModelIndex();
        }
        if (!m_dragScrollTimer.isActive())
            m_dragScrollTimer.start();
    }

    if (accept) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
    return accept;
}

void TreeList::dragEnterEvent(QDragEnterEvent *event)
{
    const bool accepted = dragOver(event);
    // The tree's own drag is followed everywhere, so the move events decide each position;
    // a drag from elsewhere is refused.
    if (dragSource(event) == this) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else if (!accepted) {
        event->ignore();
    }
}

void TreeList::dragMoveEvent(QDragMoveEvent *event)
{
    dragOver(event);
}

void TreeList::dragLeaveEvent(QDragLeaveEvent *event)
{
    stopDragTimers();
    event->accept();
}

void TreeList::dropEvent(QDropEvent *event)
{
    dropAt(event, viewport()->mapTo(this, event->position().toPoint()));
}

bool TreeList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != header()->viewport())
        return QTreeView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        const QPoint client = header()->viewport()->mapTo(this, drag->position().toPoint());
        bool accept = false;
        handlers()->TreeListDragOver(this, dragSource(drag), client.x(), client.y(), accept);
        // Over the headers nothing scrolls or expands.
        stopDragTimers();
        // As over the rows, the tree's own drag is followed from the moment it enters.
        if (accept || (event->type() == QEvent::DragEnter && dragSource(drag) == this)) {
            drag->setDropAction(Qt::MoveAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        dropAt(drop, header()->viewport()->mapTo(this, drop->position().toPoint()));
        return true;
    }
    default:
        return QTreeView::eventFilter(watched, event);
    }
}

void TreeList::dropAt(QDropEvent *event, QPoint client)
{
    stopDragTimers();
    QObject *source = dragSource(event);
    bool accept = false;
    handlers()->TreeListDragOver(this, source, client.x(), client.y(), accept);
    if (!accept) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    handlers()->TreeListDragDrop(this, source, client.x(), client.y());
}

void TreeList::dragScrollTick()
{
    if (!isDragging()) {
        stopDragTimers();
        return;
    }
    // One row every tick while the pointer is on the first or the last visible row.
    const QModelIndex under = nodeAtViewport(m_dragPos.y());
    if (!under.isValid())
        return;
    QScrollBar *bar = verticalScrollBar();
    if (under == nodeAtViewport(0) && bar->value() > bar->minimum())
        bar->setValue(bar->value() - 1);
    else if (under == nodeAtViewport(viewport()->height() - 1) && bar->value() < bar->maximum())
        bar->setValue(bar->value() + 1);
    else
        return;
    const QModelIndex now = nodeAtViewport(m_dragPos.y());
    if (now.isValid())
        setFocusedCell(now, focusedColumn());
}

void TreeList::stopDragTimers()
{
    m_dragScrollTimer.stop();
    m_dragExpandTimer.stop();
    m_dragExpandNode = QPersistentModelIndex();
}
