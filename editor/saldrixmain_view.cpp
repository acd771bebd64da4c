// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The View menu: whether a save keeps the file's comments and layout, remembered between runs in
// a group of its own.
#include "editor/saldrixmain.h"

#include "document/documenttree.h"
#include "document/initext.h"
#include "document/saldrixerror.h"
#include "editor/layoutlossbar.h"
#include "editor/recoverykeeper.h"
#include "formsettings/formstorage.h"
#include "formsettings/mrumanager.h"
#include "settings/settingsstore.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

const QString ViewKey = QStringLiteral("View");
const QString KeepLayoutValue = QStringLiteral("KeepCommentsAndLayout");

} // namespace

void TfrmSaldrixMain::createViewMenu()
{
    actViewKeepLayout = new QAction(tr("&Keep Comments and Layout"), this);
    actViewKeepLayout->setObjectName(QStringLiteral("actViewKeepLayout"));
    actViewKeepLayout->setCheckable(true);
    actViewKeepLayout->setStatusTip(
        tr("Saves only what was edited: comments, blank lines and spacing stay as the file holds them"));
    actViewKeepLayout->setProperty("Category", tr("View"));
    // Between Edit and Help.
    miView = new QMenu(tr("&View"), this);
    miView->setObjectName(QStringLiteral("miView"));
    miView->menuAction()->setObjectName(QStringLiteral("miViewAction"));
    menuBar()->insertMenu(miHelp->menuAction(), miView);
    miView->addAction(actViewKeepLayout);
    connect(actViewKeepLayout, &QAction::toggled, this, &TfrmSaldrixMain::keepLayoutChanged);

    // Above the tree, under the changed-on-disk bar.
    m_layoutLossBar = new LayoutLossBar(centralWidget());
    qobject_cast<QVBoxLayout *>(centralWidget()->layout())->insertWidget(1, m_layoutLossBar);
    connect(m_layoutLossBar, &LayoutLossBar::keepClicked, actViewKeepLayout,
        [this] { actViewKeepLayout->setChecked(true); });
    connect(m_layoutLossBar, &LayoutLossBar::dismissClicked, this, [this] {
        m_layoutLossDismissed.insert(FFileName);
        updateLayoutLossBar();
    });
}

void TfrmSaldrixMain::updateLayoutLossBar()
{
    if (keepsLayout() || !m_layoutLoss.any() || m_layoutLossDismissed.contains(FFileName))
        m_layoutLossBar->hide();
    else
        m_layoutLossBar->showLoss(m_layoutLoss);
}

void TfrmSaldrixMain::loadViewSettings()
{
    bool keep = false;
    catchErrors([&] { keep = SettingsStore(rxRegistry->storeFileName()).readBool(ViewKey, KeepLayoutValue, false); },
        [this](const QString &message) { showSettingsError(message); });
    const QSignalBlocker quiet(actViewKeepLayout);
    actViewKeepLayout->setChecked(keep);
    m_recovery->setKeepLayout(keep);
}

void TfrmSaldrixMain::keepLayoutChanged(bool keep)
{
    m_recovery->setKeepLayout(keep);
    updateLayoutLossBar();
    catchErrors(
        [&] {
            SettingsStore store(rxRegistry->storeFileName());
            store.writeBool(ViewKey, KeepLayoutValue, keep);
            store.close();
        },
        [this](const QString &message) { showSettingsError(message); });
}

bool TfrmSaldrixMain::keepsLayout() const
{
    return actViewKeepLayout->isChecked();
}
