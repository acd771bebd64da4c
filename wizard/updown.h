// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons, left and right, over a position that stays within its range (no
// wrap). Each press announces itself through changing() before the position moves, also when the
// position already stands at the bound the arrow points to.
class UpDown : public QWidget {
    Q_OBJECT

public:
    explicit UpDown(QWidget *parent = nullptr);

    [[nodiscard]] int position() const { return m_position; }
    void setRange(int minimum, int maximum);
    [[nodiscard]] QToolButton *leftButton() const { return m_left; }
    [[nodiscard]] QToolButton *rightButton() const { return m_right; }

Q_SIGNALS:
    // step is -1 for the left arrow and +1 for the right one.
    void changing(int step);
    void positionChanged(int position);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void press(int step);

    QToolButton *m_left;
    QToolButton *m_right;
    int m_position = 0;
    int m_minimum = 0;
    int m_maximum = 100;
};
