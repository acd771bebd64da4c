// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/diskchangebar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

DiskChangeBar::DiskChangeBar(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("DiskChangeBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xff, 0xf4, 0xc4));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);

    lbDiskChange = new QLabel(this);
    lbDiskChange->setObjectName(QStringLiteral("lbDiskChange"));
    btnReload = new QPushButton(tr("&Reload"), this);
    btnReload->setObjectName(QStringLiteral("btnReload"));
    btnIgnore = new QPushButton(tr("&Ignore"), this);
    btnIgnore->setObjectName(QStringLiteral("btnIgnore"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(lbDiskChange, 1);
    layout->addWidget(btnReload);
    layout->addWidget(btnIgnore);

    connect(btnReload, &QPushButton::clicked, this, &DiskChangeBar::reloadClicked);
    connect(btnIgnore, &QPushButton::clicked, this, &DiskChangeBar::ignoreClicked);
    hide();
}

void DiskChangeBar::showChange(bool deleted)
{
    lbDiskChange->setText(deleted ? tr("The file has been deleted on disk.") : tr("The file has changed on disk."));
    btnReload->setVisible(!deleted);
    show();
}
