// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treeview/treepictures.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>

namespace {

constexpr int Size = 16;

void drawFolder(QPainter &painter, bool open)
{
    const QColor outline(128, 96, 0);
    const QColor back(224, 176, 48);
    const QColor front(255, 216, 96);
    painter.setPen(outline);
    painter.setBrush(back);
    painter.drawPolygon(QPolygon({ { 1, 3 }, { 6, 3 }, { 7, 4 }, { 14, 4 }, { 14, 13 }, { 1, 13 } }));
    painter.setBrush(front);
    if (open)
        painter.drawPolygon(QPolygon({ { 1, 13 }, { 4, 7 }, { 15, 7 }, { 13, 13 } }));
    else
        painter.drawRect(1, 6, 13, 7);
}

QIcon folderImage(bool open, bool marked)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawFolder(painter, open);
    if (marked) {
        // The option's mark: a dark teal square at the upper right corner.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 96, 96));
        painter.drawRect(11, 0, 5, 5);
    }
    painter.end();
    return QIcon(pixmap);
}

} // namespace

QList<QIcon> treeDefaultImages()
{
    return { folderImage(false, false), folderImage(true, false), folderImage(false, true) };
}

QPixmap treeMultiDragCursor()
{
    // An arrow over a small stack of pages.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    for (int page = 2; page >= 0; --page)
        painter.drawRect(12 + 3 * page, 14 + 3 * page, 10, 12);
    painter.drawPolygon(QPolygon({ { 0, 0 }, { 0, 16 }, { 4, 12 }, { 7, 19 }, { 9, 18 }, { 6, 11 }, { 11, 11 } }));
    painter.end();
    return pixmap;
}

QPixmap treeCursorWithTipAtCentre(const QPixmap &picture, QPoint tip)
{
    if (picture.isNull())
        return picture;
    // The platform's drag puts the hot spot at the picture's centre, so the picture is set into a
    // larger transparent one whose centre falls on the tip.
    const int half = std::max({ tip.x(), tip.y(), picture.width() - tip.x(), picture.height() - tip.y() });
    QPixmap framed(2 * half, 2 * half);
    framed.fill(Qt::transparent);
    QPainter painter(&framed);
    painter.drawPixmap(half - tip.x(), half - tip.y(), picture);
    painter.end();
    return framed;
}

QPixmap treeResourceCursor(const QString &name)
{
    const QFileInfoList files = QDir(QStringLiteral(":/cursors")).entryInfoList(QDir::Files);
    for (const QFileInfo &file : files) {
        if (file.completeBaseName().compare(name, Qt::CaseInsensitive) == 0) {
            const QPixmap pixmap(file.filePath());
            if (!pixmap.isNull())
                return pixmap;
        }
    }
    return {};
}
