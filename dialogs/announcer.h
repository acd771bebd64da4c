// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>
#include <QWidget>

// Tells screen readers of a change that the keyboard focus does not show: a notification without
// size, which appears with the text as its name each time. A notification that appears is spoken
// by screen readers, where a changed description is dropped by some. Texts announced in one turn
// of the event loop are spoken once together, each text once.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    void announce(const QString &text);
    // What was last spoken.
    [[nodiscard]] QString lastText() const { return accessibleName(); }

private:
    void speak();

    QStringList m_pending;
};
