// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

class QWidget;

// What a person would see cut or covered in a shown window: each label, button, check box or field
// whose text is wider or taller than the widget, each one that reaches past the window's edge, and
// each two that overlap. One line for each, naming the widgets by their objectName (or class) and
// text; empty when everything fits.
[[nodiscard]] QStringList unfitWidgets(const QWidget *window);
