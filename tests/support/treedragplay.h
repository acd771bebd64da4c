// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Plays a drag of the tree's own on a test's behalf: the tree starts its drag from real mouse
// events, and instead of the platform's drag loop this sends the enter, move and drop (or leave)
// events to the viewport. Header-only so that it links into each tree test without a shared source.

#include "treeview/treelist.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QList>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>

#include <functional>
#include <optional>

// Plays a drag the way the platform would: enter, moves, then a drop or a leave, all on the
// viewport while the tree's drag runs.
class DragPlay {
public:
    explicit DragPlay(TreeList *view)
        : tree(view)
    {
        tree->setDragRunner([this](QDrag &drag) { run(drag); });
    }

    // Presses the node's cell and moves the pointer by (dx, dy) with the button held.
    void dragFrom(QPoint at, QPoint by, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *viewport = tree->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, modifiers, at);
        const QPoint to = at + by;
        pointer = to;
        QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, to);
    }

    bool move(QPoint at)
    {
        QDragMoveEvent event(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &event);
        return event.isAccepted();
    }

    TreeList *tree;
    QList<QPoint> path;
    std::optional<QPoint> dropAt;
    std::function<void()> whileOver;

    bool started = false;
    QPixmap cursor;
    QList<bool> accepted;
    bool dropped = false;
    const QMimeData *mime = nullptr;
    QPoint pointer;

private:
    void run(QDrag &drag)
    {
        started = true;
        cursor = drag.dragCursor(Qt::MoveAction);
        mime = drag.mimeData();
        QWidget *viewport = tree->viewport();
        const QPoint first = path.isEmpty() ? (dropAt ? *dropAt : pointer) : path.first();
        QDragEnterEvent enter(first, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        accepted << enter.isAccepted();
        for (const QPoint &at : std::as_const(path))
            accepted << move(at);
        if (whileOver)
            whileOver();
        if (dropAt) {
            QDropEvent drop(*dropAt, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &drop);
            dropped = drop.isAccepted();
        } else {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(viewport, &leave);
        }
    }
};
