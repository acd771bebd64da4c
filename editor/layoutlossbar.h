// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFrame>

struct PlainSaveLoss;
class QLabel;
class QPushButton;

// The bar above the tree that says, before anything is lost, what a plain save would take out of
// the open file (its comments, blank lines, repeated options...), and offers to keep them.
class LayoutLossBar : public QFrame {
    Q_OBJECT

public:
    explicit LayoutLossBar(QWidget *parent = nullptr);

    // Shows the bar with the counts; a loss of nothing hides it.
    void showLoss(const PlainSaveLoss &loss);
    // The sentence the bar shows for the counts.
    [[nodiscard]] static QString sentence(const PlainSaveLoss &loss);

    QLabel *lbLayoutLoss = nullptr;
    QPushButton *btnKeepThem = nullptr;
    QPushButton *btnDismiss = nullptr;

Q_SIGNALS:
    void keepClicked();
    void dismissClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColours();

    bool m_colouring = false;
};
