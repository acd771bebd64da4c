// The file commands: New, Open, Save, Save As, Close, the close question, the command-line file and
// the recent files.
#include "editor/saldrixmain.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "document/treeio.h"
#include "editor/treelist.h"
#include "editor/userdialogs.h"

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
    // A document that replaces the tree starts with an empty history.
    m_undoStack->clear();
}

void TfrmSaldrixMain::clearDocument()
{
    removeAllNodes();
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
    SaveTreeToIni(*m_document, fileName);
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
    const QString previous = FFileName;
    try {
        return saveTo(*chosen);
    } catch (...) {
        FFileName = previous;
        throw;
    }
}

void TfrmSaldrixMain::newOrCloseCommand()
{
    if (!FModified) {
        clearDocument();
        return;
    }
    switch (m_dialogs.askSaveChanges(this)) {
    case UserDialogs::Answer::Cancel:
        return;
    case UserDialogs::Answer::No:
        clearDocument();
        return;
    case UserDialogs::Answer::Yes:
        break;
    }
    // An empty tree cannot be saved; the changes stay pending.
    if (treeIsEmpty())
        return;
    const std::optional<QString> fileName = fileNameToSave();
    if (!fileName || !saveTo(*fileName))
        return;
    clearDocument();
}

bool TfrmSaldrixMain::settleChangesBeforeOpen()
{
    switch (m_dialogs.askSaveChanges(this)) {
    case UserDialogs::Answer::Cancel:
        return false;
    case UserDialogs::Answer::No:
        return true;
    case UserDialogs::Answer::Yes:
        break;
    }
    if (treeIsEmpty())
        return false;
    // Cancelling the Save dialog keeps the document: the changes were meant to be saved.
    const std::optional<QString> fileName = fileNameToSave();
    if (!fileName || !saveTo(*fileName))
        return false;
    clearDocument();
    return true;
}

void TfrmSaldrixMain::openCommand()
{
    if (FModified && !settleChangesBeforeOpen())
        return;
    const std::optional<QString> chosen = runFileDialog(OpenDialog1);
    if (!chosen)
        return;
    openFile(*chosen);
}

void TfrmSaldrixMain::openFile(const QString &fileName)
{
    removeAllNodes();
    FModified = false;
    FFileName = fileName;
    Q_EMIT recentFileOpened(FFileName);
    loadFile(FFileName);
    UpdateCaption(false);
}

void TfrmSaldrixMain::openDroppedFile(const QString &fileName)
{
    runCommand([this, fileName] {
        if (FModified && !settleChangesBeforeOpen())
            return;
        openFile(fileName);
    });
}

void TfrmSaldrixMain::loadFile(const QString &fileName)
{
    {
        m_loading = true;
        const auto loaded = qScopeGuard([this] { m_loading = false; });
        QElapsedTimer clock;
        clock.start();
        const auto hideProgress = qScopeGuard([this] { m_loadProgress->hide(); });
        const auto showProgress = [this, &clock](int percent) {
            if (clock.elapsed() < ProgressDelayMs)
                return;
            m_loadProgress->setValue(percent);
            m_loadProgress->show();
        };
        try {
            LoadTreeFromIni(*m_document, fileName, showProgress);
        } catch (const SaldrixError &error) {
            // What was read so far is no document: start afresh and say why.
            m_loading = false;
            clearDocument();
            showError(error.message());
        }
    }
    followFile();
    // A freshly read tree has its first section focused and nothing selected.
    if (!m_treeList->focusedNode().isValid() && !treeIsEmpty())
        m_treeList->setFocusedNode(m_document->sectionIndex(0));
    ActionList1Update();
    if (m_closeDuringLoad) {
        m_closeDuringLoad = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TfrmSaldrixMain::FormShow()
{
    runCommand([this] {
        if (m_startFile.isEmpty())
            return;
        if (fileExists(m_startFile)) {
            removeAllNodes();
            FModified = false;
            FFileName = m_startFile;
            loadFile(FFileName);
        }
        UpdateCaption(false);
    });
}

void TfrmSaldrixMain::MRUManager1Click(const QString &recentName)
{
    runCommand([this, recentName] {
        if (!fileExists(recentName))
            return;
        if (FModified && !settleChangesBeforeOpen())
            return;
        FFileName = recentName;
        removeAllNodes();
        FModified = false;
        loadFile(FFileName);
        UpdateCaption(false);
    });
}

bool TfrmSaldrixMain::FormCloseQuery()
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
    try {
        // A cancelled Save dialog keeps the window open with the work in it.
        return saveCommand();
    } catch (const SaldrixError &error) {
        showError(error.message());
        return false;
    }
}
