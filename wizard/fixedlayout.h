// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSize>

#include <functional>

class QWidget;

// Grows a window whose controls stand at fixed places so that each control has the room its text
// needs (a larger font, a translation) and none covers another. Each control keeps its designed
// size or takes what it needs where that is more; the places, the containers and the window are
// spread by one factor across and one down, each the least that makes everything fit. Where
// everything fits as designed, nothing moves. The window is never made larger than `most`.
// `needs` gives a control's least size (an empty size for one that keeps its own); every child
// widget that is not a plain container (QWidget, QStackedWidget and their pages) is a control.
void growToFit(QWidget *window, QSize design, QSize most, const std::function<QSize(const QWidget *)> &needs);
