// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Unsaved changes outlive the program: the recovery copy kept while the document has them, the
// question that offers a copy back when its file is opened again, and the end on a signal.
#include "editor/saldrixmain.h"

#include "dialogs/userdialogs.h"
#include "disk/recoverycopy.h"
#include "document/documenttree.h"
#include "editor/recoverykeeper.h"

#include <QCoreApplication>
#include <QUndoStack>

void TfrmSaldrixMain::createRecovery()
{
    m_recovery = new RecoveryKeeper(*m_document, this);
    m_recovery->setObjectName(QStringLiteral("RecoveryKeeper"));
    const auto changed = [this] { m_recovery->noteChange(); };
    connect(m_document, &QAbstractItemModel::dataChanged, m_recovery, changed);
    connect(m_document, &QAbstractItemModel::rowsInserted, m_recovery, changed);
    connect(m_document, &QAbstractItemModel::rowsRemoved, m_recovery, changed);
    connect(m_document, &QAbstractItemModel::rowsMoved, m_recovery, changed);
    connect(m_document, &QAbstractItemModel::layoutChanged, m_recovery, changed);
    connect(m_document, &QAbstractItemModel::modelReset, m_recovery, changed);
    // Said once a run: the writes go on being tried, and every one would fail for the same reason.
    connect(m_recovery, &RecoveryKeeper::failed, this, [this](const QString &message) {
        if (m_recoveryErrorShown || isLoading())
            return;
        m_recoveryErrorShown = true;
        showError(message);
    });
}

bool TfrmSaldrixMain::recoverDocument(const QString &fileName)
{
    std::vector<std::unique_ptr<RecoveryCopy>> copies = RecoveryCopy::claimFor(fileName);
    const QString name = fileName.isEmpty() ? tr("Untitled") : fileName;
    for (std::unique_ptr<RecoveryCopy> &copy : copies) {
        if (!m_dialogs.offerRecovery(this, name, copy->written())) {
            copy->remove();
            continue;
        }
        // A copy that cannot be read stays where it is, and the file is opened as it stands.
        if (!loadFile(copy->copyPath())) {
            FFileName = fileName;
            return false;
        }
        // The recovered tree is no state of the file: no undo step leads back to an unchanged one.
        m_undoStack->resetClean();
        FModified = true;
        UpdateCaption(true);
        m_recovery->adopt(std::move(copy), fileName);
        return true;
    }
    return false;
}

void TfrmSaldrixMain::endOnSignal()
{
    if (m_endingOnSignal)
        return;
    m_endingOnSignal = true;
    // The changes are kept for the next start, the file is left as it is, and nobody is asked:
    // whoever sent the signal will not wait for an answer.
    if (FModified)
        m_recovery->writeNow();
    // Every event loop ends, a question's or a file dialog's included, and a box that would open
    // from here on returns at once.
    QCoreApplication::exit(0);
    close();
}
