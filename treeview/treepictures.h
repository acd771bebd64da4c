// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>

// The tree's own pictures, drawn rather than loaded: the node images (0 closed section, 1 open
// section, 2 option) until the window hands over its image list, and the multi-item drag cursor.
[[nodiscard]] QList<QIcon> treeDefaultImages();
[[nodiscard]] QPixmap treeMultiDragCursor();

// The picture set into a larger transparent one whose centre is the tip: a drag shows its cursor
// with the hot spot at the picture's centre, and this puts that hot spot on the arrow's tip.
[[nodiscard]] QPixmap treeCursorWithTipAtCentre(const QPixmap &picture, QPoint tip);

// A cursor picture compiled in under ":/cursors/" by its base name (any extension); null when absent.
[[nodiscard]] QPixmap treeResourceCursor(const QString &name);
