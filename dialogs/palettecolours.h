// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

// The colours the program paints beyond the style's own, worked out from the palette in use so
// that they read in a light theme as well as in a dark one. Text is kept at a contrast of at least
// 4.5:1 against what it is drawn on, frames and other marks at 3:1 (the WCAG figures).
namespace PaletteColours {

inline constexpr double TextContrast = 4.5;
inline constexpr double MarkContrast = 3.0;

// The WCAG contrast ratio of two opaque colours, from 1 (the same) to 21 (black on white).
[[nodiscard]] double contrast(const QColor &a, const QColor &b);
// The colour closest to `wanted` in hue that reaches `ratio` against `background`: darker on a
// light background, lighter on a dark one. `wanted` itself when it already does.
[[nodiscard]] QColor readableOn(const QColor &wanted, const QColor &background, double ratio = TextContrast);

struct CellColours {
    QColor background;
    QColor text;
};

// A find match: a yellow of the palette's lightness behind the palette's text colour.
[[nodiscard]] CellColours findMatch(const QPalette &palette, QPalette::ColorGroup group = QPalette::Active);
// The bar that tells of a change on disk: a pale yellow in a light theme, a dark amber in a dark one.
[[nodiscard]] CellColours noticeBar(const QPalette &palette);
// A name that a save will not bring back as it is: an orange that reads on the cell's background.
[[nodiscard]] QColor warningText(const QColor &background);
// The frame around the focused cell: against the cell's background, selected or not.
[[nodiscard]] QColor focusFrame(const QPalette &palette, bool selected, QPalette::ColorGroup group = QPalette::Active);
// The ring that shows which control of a window has the keyboard: the palette's highlight where it
// stands out from the window at 3:1, darker or lighter where it does not.
[[nodiscard]] QColor focusRing(const QPalette &palette);
// Draws that ring, two pixels wide, just inside the widget's edges.
void drawFocusRing(QWidget &widget);

// A link in a window: the palette's link colour where it reads on the window's background.
[[nodiscard]] QColor link(const QPalette &palette);

} // namespace PaletteColours
