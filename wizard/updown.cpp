// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/updown.h"

#include <QToolButton>

#include <algorithm>

UpDown::UpDown(QWidget *parent)
    : QWidget(parent)
    , m_left(new QToolButton(this))
    , m_right(new QToolButton(this))
{
    m_left->setArrowType(Qt::LeftArrow);
    m_right->setArrowType(Qt::RightArrow);
    // Each arrow takes the keyboard (Tab reaches it, Space presses it), as any button does.
    for (QToolButton *button : { m_left, m_right })
        button->setFocusPolicy(Qt::StrongFocus);
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
