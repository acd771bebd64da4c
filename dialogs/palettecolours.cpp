// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/palettecolours.h"

#include <QPainter>
#include <QPen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace PaletteColours {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

bool isDark(const QColor &colour)
{
    // Black text beats white text on this colour exactly when its luminance is above about 0.18.
    return luminance(colour) < 0.18;
}

QColor mix(const QColor &from, const QColor &to, double share)
{
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    const auto channel = [share](double x, double y) { return x + (y - x) * share; };
    return QColor::fromRgbF(float(channel(a.redF(), b.redF())), float(channel(a.greenF(), b.greenF())),
        float(channel(a.blueF(), b.blueF())));
}

// Moves `wanted` towards black or white (whichever is further from the background) in small steps
// until it reaches the ratio; the hue survives as long as the colour is not pure black or white.
QColor awayFrom(const QColor &wanted, const QColor &background, double ratio)
{
    const QColor end = isDark(background) ? QColor(Qt::white) : QColor(Qt::black);
    for (int step = 0; step <= 20; ++step) {
        const QColor candidate = mix(wanted, end, step / 20.0);
        if (contrast(candidate, background) >= ratio)
            return candidate;
    }
    return end;
}

} // namespace

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor &wanted, const QColor &background, double ratio)
{
    if (contrast(wanted, background) >= ratio)
        return wanted;
    return awayFrom(wanted, background, ratio);
}

CellColours findMatch(const QPalette &palette, QPalette::ColorGroup group)
{
    const QColor base = palette.color(group, QPalette::Base);
    const QColor text = palette.color(group, QPalette::Text);
    const QColor yellow(255, 230, 110);
    // As much yellow as the text allows: all of it behind dark text, less behind light text.
    for (int step = 0; step <= 20; ++step) {
        const QColor background = mix(yellow, base, step / 20.0);
        if (contrast(text, background) >= TextContrast + 0.1)
            return { background, text };
    }
    return { base, readableOn(text, base) };
}

CellColours noticeBar(const QPalette &palette)
{
    const QColor window = palette.color(QPalette::Active, QPalette::Window);
    const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
    const QColor background = isDark(window) ? mix(QColor(0x6b, 0x55, 0x00), window, 0.35) : QColor(0xff, 0xf4, 0xc4);
    return { background, readableOn(text, background, TextContrast + 0.1) };
}

QColor warningText(const QColor &background)
{
    // The orange of a light theme, lightened as far as a dark background needs.
    return readableOn(QColor(0xC0, 0x50, 0x00), background, TextContrast + 0.1);
}

QColor focusFrame(const QPalette &palette, bool selected, QPalette::ColorGroup group)
{
    if (selected)
        return readableOn(palette.color(group, QPalette::HighlightedText), palette.color(group, QPalette::Highlight),
            MarkContrast + 0.1);
    return readableOn(
        palette.color(group, QPalette::Highlight), palette.color(group, QPalette::Base), MarkContrast + 0.1);
}

QColor link(const QPalette &palette)
{
    return readableOn(palette.color(QPalette::Active, QPalette::Link),
        palette.color(QPalette::Active, QPalette::Window), TextContrast + 0.1);
}

} // namespace PaletteColours

QColor PaletteColours::focusRing(const QPalette &palette)
{
    return readableOn(palette.color(QPalette::Active, QPalette::Highlight),
        palette.color(QPalette::Active, QPalette::Window), MarkContrast);
}

void PaletteColours::drawFocusRing(QWidget &widget)
{
    QPainter painter(&widget);
    QPen pen(focusRing(widget.palette()), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(widget.rect()).adjusted(1, 1, -1, -1));
}
