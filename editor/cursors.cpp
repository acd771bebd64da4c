// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/cursors.h"

#include <QPixmap>

namespace {

struct Cursors {
    bool loaded = false;
    QCursor handPoint { Qt::PointingHandCursor };
};

Cursors &cursors()
{
    static Cursors instance;
    return instance;
}

// The hand picture is 32 by 32 and points with the fingertip.
constexpr QPoint HandHotSpot(9, 1);

} // namespace

void loadCursors()
{
    Cursors &c = cursors();
    if (c.loaded)
        return;
    const QPixmap hand(QStringLiteral(":/cursors/CURSOR_1.png"));
    if (!hand.isNull())
        c.handPoint = QCursor(hand, HandHotSpot.x(), HandHotSpot.y());
    c.loaded = true;
}

QCursor handPointCursor()
{
    return cursors().handPoint;
}
