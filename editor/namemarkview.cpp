// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/namemarkview.h"

#include "document/namemarks.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyleOptionViewItem>
#include <QToolTip>

void colourMarkedName(QStyleOptionViewItem &cell, const NameMarks *marks, const QModelIndex &index)
{
    if (marks == nullptr || marks->markAt(index).isNone())
        return;
    // A dark orange reads as a warning on light backgrounds and stays legible on dark ones; a
    // selected name keeps the selection's own text colour.
    cell.palette.setColor(QPalette::Text, QColor(0xC0, 0x50, 0x00));
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
