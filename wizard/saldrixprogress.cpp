// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/saldrixprogress.h"

#include <QProgressBar>

TfrmSaldrixProgress::TfrmSaldrixProgress(QWidget *parent)
    : QWidget(parent)
    , ProgressBar1(new QProgressBar(this))
{
    setObjectName(QStringLiteral("SaldrixProgress"));
    setWindowTitle(tr("Progress"));
    setFixedSize(273, 44);
    setAutoFillBackground(true);
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);

    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(8, 8, 257, 25);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
}

ProgressWindowDisplay::ProgressWindowDisplay(QWidget *parent)
    : m_parent(parent)
{
}

ProgressWindowDisplay::~ProgressWindowDisplay()
{
    delete m_window;
}

void ProgressWindowDisplay::BeginProgress(int total)
{
    delete m_window;
    m_window = new TfrmSaldrixProgress(m_parent);
    // Centred over the parent and in front of its controls, so it is seen for the whole run.
    m_window->move((m_parent->width() - m_window->width()) / 2, (m_parent->height() - m_window->height()) / 2);
    m_window->show();
    m_window->raise();
    QProgressBar *bar = m_window->progressBar();
    bar->setRange(0, total);
    bar->setValue(0);
    m_window->repaint();
}

void ProgressWindowDisplay::StepProgress()
{
    if (m_window.isNull())
        return;
    QProgressBar *bar = m_window->progressBar();
    bar->setValue(bar->value() + 1);
    bar->repaint();
}

void ProgressWindowDisplay::EndProgress()
{
    delete m_window;
    m_window = nullptr;
}
