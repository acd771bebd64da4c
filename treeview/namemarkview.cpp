// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treeview/namemarkview.h"

#include "dialogs/palettecolours.h"
#include "document/namemarks.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyleOptionViewItem>
#include <QToolTip>

void colourMarkedName(QStyleOptionViewItem &cell, const NameMarks *marks, const QModelIndex &index)
{
    if (marks == nullptr || marks->markAt(index).isNone())
        return;
    // An orange reads as a warning; it is darkened or lightened as far as the cell's background
    // needs. A selected name keeps the selection's own text colour.
    const QPalette::ColorGroup group = cell.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QColor background = cell.backgroundBrush.style() == Qt::SolidPattern
        ? cell.backgroundBrush.color()
        : cell.palette.color(group, QPalette::Base);
    cell.palette.setColor(QPalette::Text, PaletteColours::warningText(background));
}

bool showNameMarkTip(QHelpEvent *event, QAbstractItemView *view, const NameMarks *marks, const QModelIndex &index)
{
    if (marks == nullptr || event->type() != QEvent::ToolTip)
        return false;
    const NameMark mark = marks->markAt(index);
    if (mark.isNone())
        return false;
    QToolTip::showText(event->globalPos(), mark.text(), view, view->visualRect(index));
    return true;
}
