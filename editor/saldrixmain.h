// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ini/plainsaveloss.h"
#include "treeview/treelisthandlers.h"

#include <QMainWindow>
#include <QModelIndexList>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Announcer;
class DiskChangeBar;
class LayoutLossBar;
class DocumentTree;
class FileWatch;
class FindBar;
class FormStorage;
class LoadingScope;
class ManualOpener;
class MRUManager;
class QAction;
class QFileDialog;
class QLabel;
class QProgressBar;
class QMenu;
class QPlainTextEdit;
class QToolBar;
class QToolButton;
class QUndoCommand;
class QUndoStack;
class RecoveryKeeper;
class TreeLayout;
class TfrmSaldrixWizard;
class TreeList;
class UserDialogs;

// The editor's only document window: one INI document shown in TreeList, the name of its file and
// whether it has unsaved changes, with the File, Edit and Help commands around it.
class TfrmSaldrixMain : public QMainWindow, public TreeListHandlers {
    Q_OBJECT

public:
    explicit TfrmSaldrixMain(UserDialogs &dialogs, QWidget *parent = nullptr);
    ~TfrmSaldrixMain() override;

    [[nodiscard]] DocumentTree *document() const { return m_document; }
    [[nodiscard]] TreeList *treeList() const { return m_treeList; }
    [[nodiscard]] const QString &fileName() const { return FFileName; }
    [[nodiscard]] bool isModified() const { return FModified; }
    [[nodiscard]] UserDialogs &dialogs() const { return m_dialogs; }
    // True while a file is being read: the loader lets window messages through, and every command
    // that could change or clear the tree does nothing meanwhile.
    // Whether a file is being read (see LoadingScope).
    [[nodiscard]] bool isLoading() const { return m_loadingScope != nullptr; }
    // The document's history: every change is one step; the clean state is the one last loaded or saved.
    [[nodiscard]] QUndoStack *undoStack() const { return m_undoStack; }
    [[nodiscard]] FindBar *findBar() const { return m_findBar; }
    // The bar above the tree that reports changes made to the file by other programs.
    [[nodiscard]] DiskChangeBar *diskChangeBar() const { return m_diskChangeBar; }
    // Help, Contents: opens the user manual in the desktop's browser or a viewer of its own.
    [[nodiscard]] ManualOpener *manualOpener() const { return m_manualOpener; }
    // The folder that holds the manual; found beside the program unless set.
    void setManualFolder(const QString &folder) { m_manualFolder = folder; }
    // Level of the node a drag began on (0 section, 1 option).
    [[nodiscard]] int dragNodeLevel() const { return DragNodeLevel; }

    // The file to open at the first show (the first command-line argument); empty for none.
    void setStartFile(const QString &fileName) { m_startFile = fileName; }

    void UpdateCaption(bool modified);
    void ActionList1Update();
    void MRUManager1Click(const QString &recentName);
    // A file dropped onto the window: opened as Open does, after the unsaved-changes question.
    void openDroppedFile(const QString &fileName);
    // The program was told to end (SIGTERM, SIGHUP, SIGINT): unsaved changes go to the recovery copy,
    // the file on disk stays as it is, and the program ends without a question.
    void endOnSignal();

    void SelectSingleNode(const QModelIndex &node);
    void DeleteSelectedNodes(QObject *sender);
    void RenameSelectedNode(int column);

    // TreeListHandlers
    void TreeListEditing(TreeList *sender, const QModelIndex &node, bool &allow) override;
    void TreeListGetImageIndex(TreeList *sender, const QModelIndex &node, int &index) override;
    void TreeListGetSelectedIndex(TreeList *sender, const QModelIndex &node, int &index) override;
    void TreeListBeginDragNode(TreeList *sender, const QModelIndex &node) override;
    void TreeListDragOver(TreeList *sender, QObject *source, int x, int y, bool &accept) override;
    void TreeListDragDrop(TreeList *sender, QObject *source, int x, int y) override;

public Q_SLOTS:
    void NewOpenSaveSaveasClose();
    void actFileExportCDExecute();
    void actFileExitExecute();
    void actHelpAboutExecute();
    void actHelpContentsExecute();

    void actEditSectionAddExecute();
    void actEditSectionDeleteExecute();
    void actEditSectionRenameExecute();
    void actEditOptionAddExecute();
    void actEditOptionDeleteExecute();
    void actEditOptionRenameExecute();
    void actEditOptionModifyValueExecute();
    void actEditDeleteSelectionExecute();
    void actEditUndoExecute();
    void actEditRedoExecute();
    void actEditCutExecute();
    void actEditCopyExecute();
    void actEditPasteExecute();

    void ShowHint(const QString &hint);
    void FormShow();
    // Sets a status panel's text and the name assistive technology reads for it.
    void setPanelText(QLabel *panel, const QString &text);

Q_SIGNALS:
    // A file chosen in the Open dialog, before it is read: the recent-files list takes it.
    void recentFileOpened(const QString &fileName);
    // The window is shown for the first time; emitted before the command-line file is read.
    void firstShown();
    // The window was allowed to close.
    void closeAccepted();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void createMenus();
    // The tree's pop-up menu, and what the tree's own edits mean to the window (saldrixmain_tree.cpp).
    void createTreePopupMenu();
    // Spoken changes: a section opened or closed, a menu that opens.
    void createAnnouncements();
    void createToolBar();
    // Help, Contents after About (saldrixmain_settings.cpp).
    void createHelpContents();
    // Undo and Redo, at the end of the Edit menu, and the history behind them (saldrixmain_history.cpp).
    void createHistory();
    void updateHistoryActions();
    // The find bar under the tree and Find at the end of the Edit and pop-up menus (saldrixmain_find.cpp).
    void createFindBar();
    // The View menu between Edit and Help, and the choices in it (saldrixmain_view.cpp).
    void createViewMenu();
    void loadViewSettings();
    void keepLayoutChanged(bool keep);
    [[nodiscard]] bool keepsLayout() const;
    // The bar that says what a plain save would remove, shown while it would and the choice is off.
    void updateLayoutLossBar();
    // The comments pane under the tree: what the file holds about the focused node beyond its texts.
    void updateCommentsPane();
    void writeViewSetting(const QString &name, bool value);
    // Cut, Copy and Paste at the end of the Edit and pop-up menus (saldrixmain_clipboard.cpp).
    void createClipboardCommands();
    // Puts the nodes on the clipboard: the rows as text, and the nodes whole for Paste.
    void copyNodes(const QModelIndexList &nodes);
    // Runs the step's change (unless it was made already) and puts it on the history.
    void pushStep(QUndoCommand *step);
    void createStatusBar();
    void createDialogs();
    void createExportWizard();
    void FormCreate();
    // Settings kept between runs (saldrixmain_settings.cpp): bound and loaded while the window is
    // built, saved while it is destroyed.
    void createSettings();
    void destroySettings();
    // A settings failure is shown once in the start and once in the exit: the later attempts of
    // the same phase fail for the same reason.
    void showSettingsError(const QString &message);
    void beginSettingsExit();
    bool FormCloseQuery();

    // Runs a command: nothing while a file loads, and any failure goes to the error display.
    void runCommand(const std::function<void()> &command);
    void showError(const QString &message);
    [[nodiscard]] QWidget *errorParent();

    // File command steps (saldrixmain_file.cpp).
    void clearDocument();
    void removeAllNodes();
    [[nodiscard]] bool treeIsEmpty() const;
    std::optional<QString> runFileDialog(QFileDialog *dialog);
    // Names the document after the file, writes it there and marks it unchanged; false when the
    // user would not overwrite a change another program made to the file.
    bool saveTo(const QString &fileName);
    // The document's own file, or one chosen in the Save dialog; nothing when that is cancelled.
    std::optional<QString> fileNameToSave();
    bool saveCommand();
    bool saveAsCommand();
    void newOrCloseCommand();
    void openCommand();
    // What comes after the unsaved-changes question: another document, or the end of the window.
    enum class Next { OtherDocument, CloseWindow };
    // The unsaved-changes question and the save it may lead to; true to go on, false to stop.
    bool saveChangesFirst(Next next);
    enum class Recent { Remember, Keep };
    // Replaces the document by the named file: Open, the recent files, the start file, a dropped
    // file and Reload all read a file through here.
    void openDocument(const QString &fileName, Recent recent);
    // False when the file could not be read (the failure has been shown, the document cleared).
    bool loadFile(const QString &fileName);
    void markModified();

    // Recovery copies (saldrixmain_recovery.cpp).
    void createRecovery();
    // Offers back the copies of the named file that no running instance keeps (an empty name: of
    // untitled documents), newest first; true when one of them now is the document.
    bool recoverDocument(const QString &fileName);

    // The file on disk (saldrixmain_disk.cpp): the tree below the change bar, the watch on the file.
    void createCentralArea();
    // Watches the document's file as it is now, after a load, a save or a clear.
    void followFile();
    // Asks before a save replaces a file that another program changed; true to go on.
    bool confirmOverwrite(const QString &fileName);
    void reloadFromDisk();

    // Components, named as their objectName; tests find them by that name.
    QAction *actFileNew = nullptr;
    QAction *actFileOpen = nullptr;
    QAction *actFileSave = nullptr;
    QAction *actFileSaveAs = nullptr;
    QAction *actFileClose = nullptr;
    QAction *actFileExportCD = nullptr;
    QAction *actFileExit = nullptr;
    QAction *actHelpAbout = nullptr;
    QAction *actHelpContents = nullptr;
    QAction *actEditSectionAdd = nullptr;
    QAction *actEditSectionDelete = nullptr;
    QAction *actEditSectionRename = nullptr;
    QAction *actEditOptionAdd = nullptr;
    QAction *actEditOptionDelete = nullptr;
    QAction *actEditOptionRename = nullptr;
    QAction *actEditOptionModifyValue = nullptr;
    QAction *actEditDeleteSelection = nullptr;
    QAction *actEditUndo = nullptr;
    QAction *actEditRedo = nullptr;
    QAction *actEditFind = nullptr;
    QAction *actEditCut = nullptr;
    QAction *actEditCopy = nullptr;
    QAction *actEditPaste = nullptr;

    QMenu *miFile = nullptr;
    QMenu *miFileReopen = nullptr;
    QMenu *miEdit = nullptr;
    QMenu *miHelp = nullptr;
    QMenu *miView = nullptr;
    QAction *actViewKeepLayout = nullptr;
    QAction *actViewComments = nullptr;
    QPlainTextEdit *CommentsPane = nullptr;
    QMenu *PopupMenu = nullptr;
    QToolBar *ToolBar = nullptr;
    QToolButton *ToolButton3 = nullptr;
    QLabel *StatusPanel0 = nullptr;
    QLabel *StatusPanel1 = nullptr;
    QLabel *StatusPanel2 = nullptr;
    // How far a load has got, shown while a load takes longer than half a second.
    QProgressBar *m_loadProgress = nullptr;
    QFileDialog *OpenDialog1 = nullptr;
    QFileDialog *SaveDialog1 = nullptr;
    MRUManager *MRUManager1 = nullptr;
    ManualOpener *m_manualOpener = nullptr;
    QString m_manualFolder;
    // Keeps the window's placement, the dialogs' folders and the recent files between runs.
    FormStorage *rxRegistry = nullptr;

    // Level of the node a drag began on (0 section, 1 option).
    int DragNodeLevel = 0;
    // Numbers for the names of new sections and options; they count for the whole run.
    qint32 SectionCounter = 0;
    qint32 OptionCounter = 0;

    UserDialogs &m_dialogs;
    DocumentTree *m_document = nullptr;
    QString FFileName;
    bool FModified = false;
    LoadingScope *m_loadingScope = nullptr;
    bool m_shown = false;
    QString m_startFile;
    TreeList *m_treeList = nullptr;
    std::unique_ptr<TreeLayout> m_treeLayout;
    bool m_settingsExiting = false;
    bool m_settingsErrorShown = false;
    DiskChangeBar *m_diskChangeBar = nullptr;
    LayoutLossBar *m_layoutLossBar = nullptr;
    PlainSaveLoss m_layoutLoss; // what a plain save would take out of the file as it was read
    QSet<QString> m_layoutLossDismissed; // files whose bar the user hid
    // The export wizard, made hidden with the window; Export shows it, Close only hides it.
    TfrmSaldrixWizard *m_wizard = nullptr;
    FileWatch *m_fileWatch = nullptr;
    QUndoStack *m_undoStack = nullptr;
    FindBar *m_findBar = nullptr;
    RecoveryKeeper *m_recovery = nullptr;
    bool m_recoveryErrorShown = false;
    bool m_endingOnSignal = false;
    // Whether the clipboard holds something Paste may take, kept as the clipboard changes.
    bool m_clipboardHasData = false;
    Announcer *m_announcer = nullptr;
};
