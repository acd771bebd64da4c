// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSize>
#include <QString>

#include <array>
#include <optional>

// The text forms of a window's stored placement.

// "(1024x768)": the suffix that ties a stored position to the screen size it was taken at.
[[nodiscard]] QString screenSizeSuffix(const QSize &screen);

// Four integers written as "x1,y1,x2,y2".
[[nodiscard]] QString formatFourIntegers(int a, int b, int c, int d);

// The first four words of the text, where any run of blanks and commas separates words; a missing
// or non-numeric word gives nothing, and the caller supplies its own default.
[[nodiscard]] std::array<std::optional<int>, 4> parseFourIntegers(const QString &text);

// The window state a stored show command stands for.
enum class ShowState { Normal, Minimized, Maximized };
[[nodiscard]] ShowState showStateOf(int showCmd);
