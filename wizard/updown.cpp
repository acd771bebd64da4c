// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/updown.h"

#include "dialogs/palettecolours.h"

#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace {

// An arrow that shows the keyboard focus with a ring that stands out from the window at 3:1 or
// more; the style's own mark on so small a button is hardly seen, if drawn at all.
class FocusArrow : public QToolButton {
public:
    FocusArrow(Qt::ArrowType arrow, QWidget *parent)
        : QToolButton(parent)
    {
        setArrowType(arrow);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QToolButton::paintEvent(event);
        if (hasFocus())
            PaletteColours::drawFocusRing(*this);
    }
};

} // namespace

UpDown::UpDown(QWidget *parent)
    : QWidget(parent)
    , m_left(new FocusArrow(Qt::LeftArrow, this))
    , m_right(new FocusArrow(Qt::RightArrow, this))
{
    // Each arrow takes the keyboard (Tab reaches it, Space presses it), as any button does.
    connect(m_left, &QToolButton::clicked, this, [this] { press(-1); });
    connect(m_right, &QToolButton::clicked, this, [this] { press(+1); });
}

void UpDown::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    m_position = std::clamp(m_position, m_minimum, m_maximum);
}

void UpDown::resizeEvent(QResizeEvent *)
{
    const int half = width() / 2;
    m_left->setGeometry(0, 0, half, height());
    m_right->setGeometry(half, 0, width() - half, height());
}

void UpDown::press(int step)
{
    Q_EMIT changing(step);
    const int moved = std::clamp(m_position + step, m_minimum, m_maximum);
    if (moved != m_position) {
        m_position = moved;
        Q_EMIT positionChanged(m_position);
    }
}
