// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Find: the find bar under the tree, opened from the Edit menu and the tree's pop-up menu.
#include "editor/saldrixmain.h"

#include "editor/findbar.h"
#include "treeview/treelist.h"

#include <QAction>
#include <QMenu>
#include <QVBoxLayout>

void TfrmSaldrixMain::createFindBar()
{
    // Under the tree, in the area that holds it.
    QWidget *area = centralWidget();
    m_findBar = new FindBar(m_treeList, area);
    qobject_cast<QVBoxLayout *>(area->layout())->addWidget(m_findBar);
    // F3 and Shift+F3 work in the whole window, also while the bar is closed.
    addAction(m_findBar->actFindNext);
    addAction(m_findBar->actFindPrevious);

    actEditFind = new QAction(tr("&Find..."), this);
    actEditFind->setObjectName(QStringLiteral("actEditFind"));
    actEditFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    actEditFind->setStatusTip(tr("Finds a text in names and values"));
    actEditFind->setProperty("Category", tr("Edit"));
    connect(actEditFind, &QAction::triggered, this, [this] { runCommand([this] { m_findBar->open(); }); });
    miEdit->addSeparator()->setObjectName(QStringLiteral("N9"));
    miEdit->addAction(actEditFind);
    PopupMenu->addSeparator()->setObjectName(QStringLiteral("N10"));
    PopupMenu->addAction(actEditFind);
}
