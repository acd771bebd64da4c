// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The file commands: New, Open, Save, Save As, Close, the close question, the command-line file and
// the recent files.
#include "editor/saldrixmain.h"

#include "ini/initext.h"

#include "dialogs/userdialogs.h"
#include "dialogs/waitcursor.h"
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "editor/loadingscope.h"
#include "editor/recoverykeeper.h"
#include "ini/treeio.h"
#include "treeview/treelist.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTimer>
#include <QUndoStack>

namespace {

// A load that takes longer than this shows its progress in the status bar.
constexpr qint64 ProgressDelayMs = 500;

enum FileCommandTag { TagNew = 11, TagOpen = 12, TagSave = 13, TagSaveAs = 14, TagClose = 15 };

// Only a regular file, or a link to one, counts as an existing file: a folder is not a document.
bool fileExists(const QString &fileName)
{
    return !fileName.isEmpty() && QFileInfo(fileName).isFile();
}

} // namespace

void TfrmSaldrixMain::NewOpenSaveSaveasClose()
{
    const auto *action = qobject_cast<QAction *>(sender());
    const int tag = action != nullptr ? action->property("Tag").toInt() : 0;
    runCommand([this, tag] {
        switch (tag) {
        case TagNew:
        case TagClose:
            newOrCloseCommand();
            break;
        case TagOpen:
            openCommand();
            break;
        case TagSave:
            saveCommand();
            break;
        case TagSaveAs:
            saveAsCommand();
            break;
        default:
            break;
        }
    });
}

void TfrmSaldrixMain::removeAllNodes()
{
    m_document->clear();
    // A document that replaces the tree starts with an empty history, and no recovery copy.
    m_undoStack->clear();
    m_recovery->follow(QString(), false);
}

void TfrmSaldrixMain::clearDocument()
{
    removeAllNodes();
    m_layoutLoss = {};
    // A new document is written as UTF-8 with LF line ends, whatever the last one was read as.
    m_document->setSourceFormat(TextFormat {});
    FModified = false;
    FFileName.clear();
    UpdateCaption(false);
    followFile();
}

bool TfrmSaldrixMain::treeIsEmpty() const
{
    return m_document->sectionCount() == 0;
}

std::optional<QString> TfrmSaldrixMain::runFileDialog(QFileDialog *dialog)
{
    std::optional<QString> chosen = m_dialogs.chooseFile(*dialog);
    // The dialog proposes the name last chosen in it the next time it opens.
    if (chosen)
        dialog->selectFile(*chosen);
    return chosen;
}

bool TfrmSaldrixMain::saveTo(const QString &fileName)
{
    if (!confirmOverwrite(fileName))
        return false;
    FFileName = fileName;
    {
        WaitCursor busy;
        if (keepsLayout()) {
            saveTreeKeepingLayout(*m_document, fileName);
        } else {
            SaveTreeToIni(*m_document, fileName);
            // The file holds no other lines now: a later save that keeps the layout has none to keep.
            m_document->setLayoutBytes(QByteArray());
            m_layoutLoss = {};
        }
    }
    m_undoStack->setClean();
    FModified = false;
    UpdateCaption(false);
    followFile();
    return true;
}

std::optional<QString> TfrmSaldrixMain::fileNameToSave()
{
    if (!FFileName.isEmpty())
        return FFileName;
    return runFileDialog(SaveDialog1);
}

bool TfrmSaldrixMain::saveCommand()
{
    if (treeIsEmpty())
        return true;
    const std::optional<QString> fileName = fileNameToSave();
    if (!fileName)
        return false;
    return saveTo(*fileName);
}

bool TfrmSaldrixMain::saveAsCommand()
{
    if (treeIsEmpty())
        return true;
    if (!FFileName.isEmpty())
        SaveDialog1->selectFile(FFileName);
    const std::optional<QString> chosen = runFileDialog(SaveDialog1);
    if (!chosen)
        return false;
    // A failed save under the new name leaves the document named as before, so that the caption
    // and the next Save agree on the file.
    auto keepName = qScopeGuard([this, previous = FFileName] { FFileName = previous; });
    const bool saved = saveTo(*chosen);
    keepName.dismiss();
    return saved;
}

// How the places that may replace or drop the document differ once the user answers Yes:
//
//   before              Yes on an empty tree            after the save
//   New, Close          stop (the changes stay)         the tree is cleared
//   Open, recent file,  stop (the changes stay)         the tree is cleared, so a cancelled
//   drop, Reload                                        Open dialog leaves an empty document
//   closing the window  go on (nothing can be saved)    the tree is kept
//
// No goes on without saving and Cancel stops, everywhere; a cancelled Save dialog, or a refusal
// to overwrite another program's change, stops.
bool TfrmSaldrixMain::saveChangesFirst(Next next)
{
    if (!FModified)
        return true;
    switch (m_dialogs.askSaveChanges(this)) {
    case UserDialogs::Answer::Cancel:
        return false;
    case UserDialogs::Answer::No:
        return true;
    case UserDialogs::Answer::Yes:
        break;
    }
    if (treeIsEmpty())
        return next == Next::CloseWindow;
    const std::optional<QString> fileName = fileNameToSave();
    if (!fileName || !saveTo(*fileName))
        return false;
    if (next == Next::OtherDocument)
        clearDocument();
    return true;
}

void TfrmSaldrixMain::newOrCloseCommand()
{
    if (saveChangesFirst(Next::OtherDocument))
        clearDocument();
}

void TfrmSaldrixMain::openCommand()
{
    if (!saveChangesFirst(Next::OtherDocument))
        return;
    const std::optional<QString> chosen = runFileDialog(OpenDialog1);
    if (!chosen)
        return;
    openDocument(*chosen, Recent::Remember);
}

void TfrmSaldrixMain::openDocument(const QString &fileName, Recent recent)
{
    removeAllNodes();
    FModified = false;
    FFileName = fileName;
    if (recent == Recent::Remember)
        Q_EMIT recentFileOpened(FFileName);
    if (recoverDocument(fileName))
        return;
    loadFile(FFileName);
    UpdateCaption(false);
}

void TfrmSaldrixMain::openDroppedFile(const QString &fileName)
{
    runCommand([this, fileName] {
        if (saveChangesFirst(Next::OtherDocument))
            openDocument(fileName, Recent::Remember);
    });
}

bool TfrmSaldrixMain::loadFile(const QString &fileName)
{
    bool read = false;
    bool closeRequested = false;
    {
        LoadingScope loading(m_loadingScope);
        QElapsedTimer clock;
        clock.start();
        const auto hideProgress = qScopeGuard([this] { m_loadProgress->hide(); });
        const auto progress = [this, &clock, &loading](int percent) {
            if (clock.elapsed() >= ProgressDelayMs) {
                m_loadProgress->setValue(percent);
                m_loadProgress->show();
            }
            loading.runPendingMessages();
        };
        read = catchErrors(
            [this, &fileName, &progress] {
                WaitCursor busy;
                LoadTreeFromIni(*m_document, fileName, progress);
                const std::shared_ptr<const IniText> text = layoutTextOf(*m_document);
                m_layoutLoss = text ? PlainSaveLoss::of(*text, *m_document) : PlainSaveLoss {};
            },
            [this, &loading](const QString &message) {
                // What was read so far is no document: start afresh and say why.
                loading.end();
                clearDocument();
                showError(message);
            });
        closeRequested = loading.closeRequested();
    }
    followFile();
    // The focus after a load is the tree's own: the reset that ends the read focuses the first
    // section and selects nothing.
    ActionList1Update();
    if (closeRequested)
        QTimer::singleShot(0, this, &QWidget::close);
    return read;
}

void TfrmSaldrixMain::FormShow()
{
    runCommand([this] {
        if (fileExists(m_startFile))
            openDocument(m_startFile, Recent::Keep);
        else
            recoverDocument(QString());
    });
}

void TfrmSaldrixMain::MRUManager1Click(const QString &recentName)
{
    runCommand([this, recentName] {
        if (fileExists(recentName) && saveChangesFirst(Next::OtherDocument))
            openDocument(recentName, Recent::Keep);
    });
}

bool TfrmSaldrixMain::FormCloseQuery()
{
    bool allowed = false;
    // A failed save keeps the window open with the work in it.
    runCommand([this, &allowed] { allowed = saveChangesFirst(Next::CloseWindow); });
    return allowed;
}
