// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/pagemanager.h"

#include <QAbstractButton>
#include <QStackedWidget>

PageManager::PageManager(
    QStackedWidget *notebook, QAbstractButton *backButton, QAbstractButton *nextButton, QObject *parent)
    : QObject(parent)
    , m_notebook(notebook)
    , m_back(backButton)
    , m_next(nextButton)
{
    connect(m_back, &QAbstractButton::clicked, this, &PageManager::back);
    connect(m_next, &QAbstractButton::clicked, this, &PageManager::next);
    updateButtons();
}

int PageManager::currentPage() const
{
    return m_notebook->currentIndex();
}

int PageManager::pageCount() const
{
    return m_notebook->count();
}

void PageManager::moveTo(int page)
{
    if (page < 0 || page >= pageCount())
        return;
    const int old = currentPage();
    Q_EMIT pageLeave(old);
    Q_EMIT pageEnter(page);
    m_notebook->setCurrentIndex(page);
    updateButtons();
    Q_EMIT pageHide(old);
    Q_EMIT pageShow(page);
    Q_EMIT pageChanged(page);
}

void PageManager::next()
{
    // The buttons are disabled at either end, but a click can still arrive from code.
    if (currentPage() + 1 < pageCount())
        moveTo(currentPage() + 1);
}

void PageManager::back()
{
    if (currentPage() > 0)
        moveTo(currentPage() - 1);
}

void PageManager::updateButtons()
{
    m_back->setEnabled(currentPage() > 0);
    m_next->setEnabled(currentPage() + 1 < pageCount());
    Q_EMIT checkButtons();
}
