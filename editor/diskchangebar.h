// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

// The bar above the tree that says the document's file was changed or deleted by another program,
// without stopping the user's work as a message box would.
class DiskChangeBar : public QFrame {
    Q_OBJECT

public:
    explicit DiskChangeBar(QWidget *parent = nullptr);

    // Shows the bar: Reload and Ignore for a change; the deletion needs no answer (Save writes the
    // file again), so only Ignore closes it.
    void showChange(bool deleted);

    QLabel *lbDiskChange = nullptr;
    QPushButton *btnReload = nullptr;
    QPushButton *btnIgnore = nullptr;

Q_SIGNALS:
    void reloadClicked();
    void ignoreClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColours();

    bool m_colouring = false;
};
