// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the main window keeps between runs (its placement, the dialogs' folders, the recent files
// and the tree's column layout), its About box and its manual.
#include "editor/saldrixmain.h"

#include "about/manualopener.h"
#include "about/saldrixabout.h"
#include "dialogs/userdialogs.h"
#include "document/saldrixerror.h"
#include "editor/cursors.h"
#include "formsettings/formstorage.h"
#include "formsettings/mrumanager.h"
#include "formsettings/treelayout.h"
#include "settings/settingsstore.h"
#include "treeview/treelist.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

void TfrmSaldrixMain::createSettings()
{
    MRUManager1 = new MRUManager(this);
    MRUManager1->setCapacity(5);
    MRUManager1->setRecentMenu(miFileReopen);
    connect(MRUManager1, &MRUManager::click, this,
        [this](const QString &recentName, const QString &, int) { MRUManager1Click(recentName); });
    connect(this, &TfrmSaldrixMain::recentFileOpened, MRUManager1,
        [this](const QString &fileName) { MRUManager1->add(fileName, 0); });

    rxRegistry = new FormStorage(this);
    rxRegistry->setRecentFiles(MRUManager1, QStringLiteral("TfrmSaldrixMain.MRUManager1"));
    rxRegistry->setStoredProps({ QStringLiteral("OpenDialog1.InitialDir"), QStringLiteral("SaveDialog1.InitialDir") });
    rxRegistry->setErrorHandler([this](const QString &message) { showSettingsError(message); });
    // The window has taken its designed place when it says it is first shown; the stored one
    // replaces it before the command-line file is read.
    connect(this, &TfrmSaldrixMain::firstShown, rxRegistry, &FormStorage::restoreFormPlacement);
    connect(this, &TfrmSaldrixMain::closeAccepted, this, &TfrmSaldrixMain::beginSettingsExit);
    connect(this, &TfrmSaldrixMain::closeAccepted, rxRegistry, &FormStorage::formCloseAllowed);

    m_treeLayout = std::make_unique<TreeLayout>(
        m_treeList, QStringList { QStringLiteral("OptionsTreeListColumn1"), QStringLiteral("OptionsTreeListColumn2") });
    // The tree fits its columns to its width, keeping their proportion.
    m_treeLayout->setWidthsApplier([this](const QList<int> &widths) { m_treeList->setColumnWidths(widths); });
    catchErrors([this] { m_treeLayout->load(SettingsStore(rxRegistry->storeFileName())); },
        [this](const QString &message) {
            // A store that could not be read is not overwritten with the built-in layout at exit.
            m_treeLayout->setStoreLayout(false);
            showSettingsError(message);
        });
}

void TfrmSaldrixMain::showSettingsError(const QString &message)
{
    if (m_settingsErrorShown)
        return;
    m_settingsErrorShown = true;
    showError(message);
}

void TfrmSaldrixMain::beginSettingsExit()
{
    if (m_settingsExiting)
        return;
    m_settingsExiting = true;
    m_settingsErrorShown = false;
}

void TfrmSaldrixMain::destroySettings()
{
    beginSettingsExit();
    rxRegistry->formDestroying();
    if (!m_treeLayout->storesLayout())
        return;
    catchErrors(
        [this] {
            SettingsStore store(rxRegistry->storeFileName());
            m_treeLayout->save(store);
            store.close();
        },
        [this](const QString &message) { showSettingsError(message); });
}

void TfrmSaldrixMain::actHelpAboutExecute()
{
    runCommand([this] {
        TfrmAboutDlg dialog(this);
        dialog.setLinkCursor(handPointCursor());
        m_dialogs.showDialog(dialog);
    });
}

void TfrmSaldrixMain::createHelpContents()
{
    actHelpContents = new QAction(tr("&Contents"), this);
    actHelpContents->setObjectName(QStringLiteral("actHelpContents"));
    actHelpContents->setShortcut(QKeySequence(Qt::Key_F1));
    actHelpContents->setStatusTip(tr("Opens the user manual"));
    actHelpContents->setToolTip(actHelpContents->iconText() + QStringLiteral(" (F1)"));
    actHelpContents->setProperty("Category", tr("Help"));
    connect(actHelpContents, &QAction::triggered, this, &TfrmSaldrixMain::actHelpContentsExecute);
    miHelp->addAction(actHelpContents);
    m_manualOpener = new ManualOpener(this);
}

void TfrmSaldrixMain::actHelpContentsExecute()
{
    runCommand([this] {
        const QString folder
            = m_manualFolder.isEmpty() ? manualFolder(QCoreApplication::applicationDirPath()) : m_manualFolder;
        // The translation names the manual's page in its language.
        const QString page
            = manualPage(folder, tr("index.html", "the file name of the user manual's page in this language"));
        if (page.isEmpty())
            throw SaldrixError(tr("The user manual is not installed."));
        m_manualOpener->open(page);
    });
}
