// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QModelIndex>

class NameMarks;
class QAbstractItemView;
class QHelpEvent;
class QStyleOptionViewItem;

// How the tree shows a name that a save will not bring back as it is: the name in a warning
// colour, and what the save does in its tooltip.
void colourMarkedName(QStyleOptionViewItem &cell, const NameMarks *marks, const QModelIndex &index);
// Shows the tooltip of a marked name; false (nothing shown) for any other cell.
bool showNameMarkTip(QHelpEvent *event, QAbstractItemView *view, const NameMarks *marks, const QModelIndex &index);
