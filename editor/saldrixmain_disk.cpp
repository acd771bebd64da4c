// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The document's file on disk: the watch for other programs' changes, the bar that reports them,
// Reload and Ignore, and the question before a save would overwrite such a change.
#include "editor/saldrixmain.h"

#include "dialogs/userdialogs.h"
#include "editor/diskchangebar.h"
#include "editor/filewatch.h"
#include "treeview/treelist.h"

#include <QVBoxLayout>

void TfrmSaldrixMain::createCentralArea()
{
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("CentralArea"));
    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_diskChangeBar = new DiskChangeBar(area);
    layout->addWidget(m_diskChangeBar);
    layout->addWidget(m_treeList, 1);
    setCentralWidget(area);

    m_fileWatch = new FileWatch(this);
    connect(m_fileWatch, &FileWatch::changed, m_diskChangeBar, &DiskChangeBar::showChange);
    connect(m_diskChangeBar, &DiskChangeBar::reloadClicked, this, &TfrmSaldrixMain::reloadFromDisk);
    connect(m_diskChangeBar, &DiskChangeBar::ignoreClicked, this, [this] {
        m_fileWatch->acceptDiskState();
        m_diskChangeBar->hide();
    });
}

void TfrmSaldrixMain::followFile()
{
    m_fileWatch->watch(FFileName);
    m_diskChangeBar->hide();
    updateLayoutLossBar();
    updateCommentsPane();
}

bool TfrmSaldrixMain::confirmOverwrite(const QString &fileName)
{
    if (fileName != FFileName || !m_fileWatch->changedOnDisk())
        return true;
    return m_dialogs.confirm(this, tr("The file has changed on disk since it was opened. Overwrite it?"));
}

void TfrmSaldrixMain::reloadFromDisk()
{
    runCommand([this] {
        // Saving the changes first may clear the document and its name.
        const QString fileName = FFileName;
        if (fileName.isEmpty())
            return;
        if (saveChangesFirst(Next::OtherDocument))
            openDocument(fileName, Recent::Remember);
    });
}
