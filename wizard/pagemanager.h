// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QAbstractButton;
class QStackedWidget;

// Steps a notebook through its pages with a Back and a Next button. Every move, also one to the
// page already shown, runs the same sequence: pageLeave(old), pageEnter(new), the notebook switch,
// the button update followed by checkButtons(), then pageHide(old), pageShow(new) and
// pageChanged(new). No page is validated and no path is remembered.
class PageManager : public QObject {
    Q_OBJECT

public:
    PageManager(QStackedWidget *notebook, QAbstractButton *backButton, QAbstractButton *nextButton, QObject *parent);

    [[nodiscard]] int currentPage() const;
    [[nodiscard]] int pageCount() const;

    void moveTo(int page);
    void next();
    void back();

Q_SIGNALS:
    void pageLeave(int page);
    void pageEnter(int page);
    void pageHide(int page);
    void pageShow(int page);
    void pageChanged(int page);
    // After every update of the Back and Next buttons.
    void checkButtons();

private:
    void updateButtons();

    QStackedWidget *m_notebook;
    QAbstractButton *m_back;
    QAbstractButton *m_next;
};
