// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/saldrixmain.h"

#include "editor/accessibleroles.h"

#include "dialogs/applicationtitle.h"
#include "dialogs/errordisplay.h"
#include "dialogs/userdialogs.h"
#include "document/documenttree.h"
#include "document/pathnames.h"
#include "document/saldrixerror.h"
#include "editor/commandstate.h"
#include "editor/cursors.h"
#include "editor/filedrop.h"
#include "editor/imagelist.h"
#include "editor/loadingscope.h"
#include "editor/recoverykeeper.h"
#include "formsettings/treelayout.h"
#include "treeview/treelist.h"
#include "wizard/saldrixwizard.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

#include <algorithm>

TfrmSaldrixMain::TfrmSaldrixMain(UserDialogs &dialogs, QWidget *parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_document(new DocumentTree(this))
{
    installAccessibleRoles();
    setObjectName(QStringLiteral("frmSaldrixMain"));
    setWindowTitle(applicationTitle());
    setWindowIcon(QIcon(QStringLiteral(":/icons/yorvsaldrix.png")));
    resize(464, 322);

    m_treeList = new TreeList(this);
    m_treeList->setDocument(m_document);
    m_treeList->setHandlers(this);
    createCentralArea();

    createActions();
    createMenus();
    createHistory();
    createHelpContents();
    createTreePopupMenu();
    createFindBar();
    createViewMenu();
    createClipboardCommands();
    createAnnouncements();
    createToolBar();
    createStatusBar();
    createDialogs();

    QList<QIcon> images;
    for (int i = 0; i < ImageListCount; ++i)
        images << imageListIcon(i);
    m_treeList->setImageList(images);
    m_treeList->setPopupMenu(PopupMenu);

    // The enabled state follows every change of the tree, of its focus and of its selection.
    connect(m_document, &QAbstractItemModel::rowsInserted, this, &TfrmSaldrixMain::ActionList1Update);
    connect(m_document, &QAbstractItemModel::rowsRemoved, this, &TfrmSaldrixMain::ActionList1Update);
    connect(m_document, &QAbstractItemModel::rowsMoved, this, &TfrmSaldrixMain::ActionList1Update);
    connect(m_document, &QAbstractItemModel::modelReset, this, &TfrmSaldrixMain::ActionList1Update);
    connect(m_document, &QAbstractItemModel::layoutChanged, this, &TfrmSaldrixMain::ActionList1Update);
    connect(m_treeList, &TreeList::stateChanged, this, &TfrmSaldrixMain::ActionList1Update);
    miFileReopen->installEventFilter(this);
    auto *fileDrop = new FileDropFilter([this](const QString &fileName) { openDroppedFile(fileName); }, this);
    setAcceptDrops(true);
    installEventFilter(fileDrop);
    m_treeList->viewport()->installEventFilter(fileDrop);

    createRecovery();
    createSettings();
    loadViewSettings();
    FormCreate();
    createExportWizard();
}

TfrmSaldrixMain::~TfrmSaldrixMain()
{
    destroySettings();
    // The children go after this part of the window: nothing of theirs may call back into it.
    m_treeList->disconnect(this);
    m_treeList->selectionModel()->disconnect(this);
    m_document->disconnect(this);
    m_undoStack->disconnect(this); // it empties itself as it goes
    miFileReopen->removeEventFilter(this);
    m_treeList->setHandlers(nullptr);
}

void TfrmSaldrixMain::createActions()
{
    const auto make = [this](const char *name, const QString &category, const QString &caption,
                          const QKeySequence &shortcut, const QString &hint, int image, int tag) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        action->setStatusTip(hint);
        action->setIcon(imageListIcon(image));
        action->setProperty("Category", category);
        action->setProperty("ImageIndex", image);
        action->setProperty("Tag", tag);
        return action;
    };
    const QString file = tr("File");
    const QString edit = tr("Edit");
    const QString help = tr("Help");

    actFileNew = make("actFileNew", file, tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), tr("New iNi file."), 4, 11);
    actFileOpen = make("actFileOpen", file, tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
        tr("Opens an existing iNi file."), 5, 12);
    actFileSave = make(
        "actFileSave", file, tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), tr("Saves the current iNi file."), 7, 13);
    actFileSaveAs = make("actFileSaveAs", file, tr("Save &As..."), QKeySequence(Qt::ALT | Qt::Key_S),
        tr("Saves the current work as an new iNi file."), 8, 14);
    actFileClose = make("actFileClose", file, tr("&Close"), QKeySequence(Qt::CTRL | Qt::Key_F4),
        tr("Closes the current iNi file."), 9, 15);
    actFileExportCD = make("actFileExportCD", file, tr("Export &CDPlayer.iNi"), {},
        tr("Exports the cdplayer.ini to an easy readable text file."), 10, 0);
    actFileExit = make(
        "actFileExit", file, tr("E&xit"), QKeySequence(Qt::ALT | Qt::Key_F4), tr("Quit the application."), 11, 0);
    actHelpAbout = make("actHelpAbout", help, tr("&About"), {}, tr("About the YorvSaldrix"), 20, 0);

    // Alt+Ins and Alt+Del name two commands each, and a key held by two actions is ambiguous to
    // Qt, which then runs neither. The key goes to the section command, which the menus list
    // first; the option command holds it only for its menu item to show it (and tell assistive
    // technology), answering it only where its menu itself has the keyboard focus, which a menu
    // never takes.
    actEditSectionAdd = make("actEditSectionAdd", edit, tr("&Add Section"), QKeySequence(Qt::ALT | Qt::Key_Insert),
        tr("Adds a new section"), 12, 0);
    actEditSectionDelete = make("actEditSectionDelete", edit, tr("&Delete Section"),
        QKeySequence(Qt::ALT | Qt::Key_Delete), tr("Deletes the selected section"), 13, 0);
    actEditSectionRename
        = make("actEditSectionRename", edit, tr("&Rename Section"), {}, tr("Renames the selected section"), 14, 0);
    actEditOptionAdd = make("actEditOptionAdd", edit, tr("A&dd Option"), QKeySequence(Qt::ALT | Qt::Key_Insert),
        tr("Adds a new option"), 15, 0);
    actEditOptionDelete = make("actEditOptionDelete", edit, tr("De&lete Option"),
        QKeySequence(Qt::ALT | Qt::Key_Delete), tr("Deletes the selected option"), 16, 0);
    for (QAction *shownOnly : { actEditOptionAdd, actEditOptionDelete })
        shownOnly->setShortcutContext(Qt::WidgetShortcut);
    actEditOptionRename
        = make("actEditOptionRename", edit, tr("Re&name Option"), {}, tr("Renames the selected option"), 17, 0);
    actEditOptionModifyValue = make("actEditOptionModifyValue", edit, tr("&Modify Option Value"), {},
        tr("Modifys value for the selected option"), 18, 0);
    actEditDeleteSelection
        = make("actEditDeleteSelection", edit, tr("Delete &Selection"), {}, tr("Deletes all that is selected"), 19, 0);

    // The platform's usual keys run the same commands too. The menus and tooltips show an action's
    // first key, the window's own, so these come second.
    const auto addKey = [](QAction *action, const QKeySequence &key) {
        action->setShortcuts({ action->shortcut(), key });
    };
    addKey(actFileSaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    addKey(actFileClose, QKeySequence(Qt::CTRL | Qt::Key_W));
    addKey(actFileExit, QKeySequence(Qt::CTRL | Qt::Key_Q));

    // A tooltip names the key that runs its action and no other: the option commands only show the
    // section commands' keys beside their menu captions, so their tooltips show none.
    for (QAction *action : findChildren<QAction *>(Qt::FindDirectChildrenOnly)) {
        const QString caption = action->iconText();
        const QKeySequence key = action->shortcutContext() == Qt::WidgetShortcut ? QKeySequence() : action->shortcut();
        action->setToolTip(
            key.isEmpty() ? caption : caption + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + u')');
    }

    for (QAction *action : { actFileNew, actFileOpen, actFileSave, actFileSaveAs, actFileClose })
        connect(action, &QAction::triggered, this, &TfrmSaldrixMain::NewOpenSaveSaveasClose);
    connect(actFileExportCD, &QAction::triggered, this, &TfrmSaldrixMain::actFileExportCDExecute);
    connect(actFileExit, &QAction::triggered, this, &TfrmSaldrixMain::actFileExitExecute);
    connect(actHelpAbout, &QAction::triggered, this, &TfrmSaldrixMain::actHelpAboutExecute);
    connect(actEditSectionAdd, &QAction::triggered, this, &TfrmSaldrixMain::actEditSectionAddExecute);
    connect(actEditSectionDelete, &QAction::triggered, this, &TfrmSaldrixMain::actEditSectionDeleteExecute);
    connect(actEditSectionRename, &QAction::triggered, this, &TfrmSaldrixMain::actEditSectionRenameExecute);
    connect(actEditOptionAdd, &QAction::triggered, this, &TfrmSaldrixMain::actEditOptionAddExecute);
    connect(actEditOptionDelete, &QAction::triggered, this, &TfrmSaldrixMain::actEditOptionDeleteExecute);
    connect(actEditOptionRename, &QAction::triggered, this, &TfrmSaldrixMain::actEditOptionRenameExecute);
    connect(actEditOptionModifyValue, &QAction::triggered, this, &TfrmSaldrixMain::actEditOptionModifyValueExecute);
    connect(actEditDeleteSelection, &QAction::triggered, this, &TfrmSaldrixMain::actEditDeleteSelectionExecute);
}

void TfrmSaldrixMain::createMenus()
{
    // A menu item is its action: it shows the action's caption, image, shortcut and hint, and is
    // enabled with it. The item names are kept beside the calls for reference.
    const auto item = [](QMenu *menu, QAction *action, const char *) { menu->addAction(action); };
    const auto separator
        = [](QMenu *menu, const char *name) { menu->addSeparator()->setObjectName(QLatin1String(name)); };

    miFile = menuBar()->addMenu(tr("&File"));
    miFile->setObjectName(QStringLiteral("miFile"));
    item(miFile, actFileNew, "miFileNew");
    item(miFile, actFileOpen, "miFileOpen");
    miFileReopen = new QMenu(tr("&Reopen"), this);
    miFileReopen->setObjectName(QStringLiteral("miFileReopen"));
    miFileReopen->setIcon(imageListIcon(5));
    miFileReopen->menuAction()->setObjectName(QStringLiteral("miFileReopenAction"));
    miFile->addMenu(miFileReopen);
    item(miFile, actFileSave, "miFileSave");
    item(miFile, actFileSaveAs, "miFileSaveAs");
    item(miFile, actFileClose, "miFileClose");
    separator(miFile, "N1");
    item(miFile, actFileExportCD, "miFileExportCD");
    separator(miFile, "N2");
    item(miFile, actFileExit, "miFileExit");

    miEdit = menuBar()->addMenu(tr("&Edit"));
    miEdit->setObjectName(QStringLiteral("miEdit"));
    item(miEdit, actEditSectionAdd, "miEditSectionAdd");
    item(miEdit, actEditSectionDelete, "miEditSectionDelete");
    item(miEdit, actEditSectionRename, "miEditSectionRename");
    separator(miEdit, "N4");
    item(miEdit, actEditOptionAdd, "miEditOptionAdd");
    item(miEdit, actEditOptionDelete, "miEditOptionDelete");
    item(miEdit, actEditOptionRename, "miEditOptionRename");
    item(miEdit, actEditOptionModifyValue, "miEditOptionModifyValue");
    separator(miEdit, "N5");
    item(miEdit, actEditDeleteSelection, "miEditDeleteSelection");

    miHelp = menuBar()->addMenu(tr("&Help"));
    miHelp->setObjectName(QStringLiteral("miHelp"));
    item(miHelp, actHelpAbout, "miAbout");
}

void TfrmSaldrixMain::createToolBar()
{
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(QSize(16, 16));
    ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, ToolBar);

    ToolBar->addAction(actFileNew);
    ToolBar->addAction(actFileOpen);
    // The Reopen button drops down the recent-files menu and is enabled together with it.
    ToolButton3 = new QToolButton(ToolBar);
    ToolButton3->setObjectName(QStringLiteral("ToolButton3"));
    ToolButton3->setDefaultAction(miFileReopen->menuAction());
    ToolButton3->setPopupMode(QToolButton::InstantPopup);
    ToolBar->addWidget(ToolButton3);
    for (QAction *action : { actFileSave, actFileSaveAs, actFileClose })
        ToolBar->addAction(action);
    ToolBar->addSeparator();
    for (QAction *action : { actEditSectionAdd, actEditSectionDelete, actEditSectionRename })
        ToolBar->addAction(action);
    ToolBar->addSeparator();
    for (QAction *action : { actEditOptionAdd, actEditOptionDelete, actEditOptionRename, actEditOptionModifyValue })
        ToolBar->addAction(action);
    ToolBar->addSeparator();
    ToolBar->addAction(actEditDeleteSelection);
    ToolBar->addSeparator();
    for (QAction *action : { actFileExportCD, actHelpAbout, actFileExit })
        ToolBar->addAction(action);
}

void TfrmSaldrixMain::createStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    const auto panel = [this](const char *name, int width, int stretch) {
        auto *label = new QLabel(statusBar());
        label->setObjectName(QLatin1String(name));
        label->setMinimumWidth(width);
        if (stretch == 0)
            label->setMaximumWidth(width);
        statusBar()->addWidget(label, stretch);
        return label;
    };
    StatusPanel0 = panel("StatusPanel0", 300, 0);
    // The "Modified" panel keeps its designed width, and grows when its one text needs more (a
    // larger font, a translation).
    const int modifiedWidth = statusBar()->fontMetrics().horizontalAdvance(tr("Modified")) + 4;
    StatusPanel1 = panel("StatusPanel1", std::max(50, modifiedWidth), 0);
    StatusPanel2 = panel("StatusPanel2", 50, 1);
    setPanelText(StatusPanel0, QString());
    setPanelText(StatusPanel1, QString());
    setPanelText(StatusPanel2, QString());
    m_loadProgress = new QProgressBar(statusBar());
    m_loadProgress->setObjectName(QStringLiteral("LoadProgress"));
    m_loadProgress->setAccessibleName(tr("Loading the file"));
    m_loadProgress->setRange(0, 100);
    m_loadProgress->setMaximumWidth(200);
    m_loadProgress->hide();
    statusBar()->addPermanentWidget(m_loadProgress);
}

void TfrmSaldrixMain::createDialogs()
{
    const auto dialog = [this](const char *name, QFileDialog::AcceptMode mode) {
        auto *fileDialog = new QFileDialog(this);
        fileDialog->setObjectName(QLatin1String(name));
        fileDialog->setAcceptMode(mode);
        // A name that does not exist is accepted in both: Open then starts an empty document.
        fileDialog->setFileMode(QFileDialog::AnyFile);
        fileDialog->setNameFilter(tr("Ini Files (*.ini);;All Files (*)"));
        fileDialog->setDefaultSuffix(QStringLiteral("ini"));
        fileDialog->setSizeGripEnabled(true);
        return fileDialog;
    };
    OpenDialog1 = dialog("OpenDialog1", QFileDialog::AcceptOpen);
    SaveDialog1 = dialog("SaveDialog1", QFileDialog::AcceptSave);
    SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite, false);
}

void TfrmSaldrixMain::FormCreate()
{
    loadCursors();
    removeAllNodes();
    FModified = false;
    UpdateCaption(false);
    ActionList1Update();
}

void TfrmSaldrixMain::UpdateCaption(bool modified)
{
    // The name is put together by hand: a name holding "%1" must show as it is.
    QString name = FFileName.isEmpty() ? tr("Untitled") : fileNamePart(FFileName);
    // Qt reads "[*]" in a title as the place of a modified mark and hides it; doubled it shows as is.
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(name + QStringLiteral(" - ") + applicationTitle());
    setPanelText(StatusPanel1, modified ? tr("Modified") : QString());
    // Unsaved changes are kept in the recovery copy; without them there is none.
    if (m_recovery != nullptr)
        m_recovery->follow(FFileName, modified);
}

void TfrmSaldrixMain::setPanelText(QLabel *panel, const QString &text)
{
    // A panel's name says what it shows, followed by what it shows now, so that reading the status
    // bar aloud makes sense of an empty panel too.
    QString what;
    if (panel == StatusPanel0)
        what = tr("Hint");
    else if (panel == StatusPanel1)
        what = tr("Changes");
    else
        what = tr("Status");
    panel->setText(text);
    panel->setAccessibleName(text.isEmpty() ? what : tr("%1: %2").arg(what, text));
}

void TfrmSaldrixMain::ShowHint(const QString &hint)
{
    setPanelText(StatusPanel0, hint);
}

void TfrmSaldrixMain::ActionList1Update()
{
    const CommandState state
        = commandState(m_document->sectionCount(), m_treeList->focusedLevel(), m_treeList->selectionCount());
    actFileSave->setEnabled(state.documentCommands);
    actFileSaveAs->setEnabled(state.documentCommands);
    actFileClose->setEnabled(state.documentCommands);
    actFileExportCD->setEnabled(state.documentCommands);
    actEditSectionDelete->setEnabled(state.sectionCommands);
    actEditSectionRename->setEnabled(state.sectionCommands);
    actEditOptionAdd->setEnabled(state.optionAdd);
    actEditOptionDelete->setEnabled(state.optionCommands);
    actEditOptionRename->setEnabled(state.optionCommands);
    actEditOptionModifyValue->setEnabled(state.optionCommands);
    actEditDeleteSelection->setEnabled(state.deleteSelection);
    actEditCut->setEnabled(state.deleteSelection);
    actEditPaste->setEnabled(m_clipboardHasData);
    updateHistoryActions();
    // Reopen (menu item and toolbar button) is usable exactly while the recent-files list has entries.
    miFileReopen->menuAction()->setEnabled(!miFileReopen->actions().isEmpty());
}

void TfrmSaldrixMain::runCommand(const std::function<void()> &command)
{
    if (isLoading())
        return;
    runShowingErrors(m_dialogs, errorParent(), command);
}

QWidget *TfrmSaldrixMain::errorParent()
{
    // Centred on the window while it is shown; on the screen before it appears and after it has gone.
    return isVisible() ? this : nullptr;
}

void TfrmSaldrixMain::showError(const QString &message)
{
    m_dialogs.showError(errorParent(), message);
}

bool TfrmSaldrixMain::event(QEvent *event)
{
    // Hints of menu items, toolbar buttons and controls go to the first status panel.
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TfrmSaldrixMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == miFileReopen && (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved))
        ActionList1Update();
    return QMainWindow::eventFilter(watched, event);
}

void TfrmSaldrixMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - frameGeometry().center() + pos());
    Q_EMIT firstShown();
    // The command-line file is read once the window is up, so that the load can show its progress.
    QMetaObject::invokeMethod(this, &TfrmSaldrixMain::FormShow, Qt::QueuedConnection);
}

void TfrmSaldrixMain::closeEvent(QCloseEvent *event)
{
    if (m_loadingScope != nullptr) {
        // A close must not tear the tree down under the load: it waits until the load is over.
        m_loadingScope->keepCloseRequest();
        event->ignore();
        return;
    }
    if (!m_endingOnSignal) {
        if (!FormCloseQuery()) {
            event->ignore();
            return;
        }
        // The user has decided about the changes: saved, or dropped.
        m_recovery->discard();
    }
    event->accept();
    Q_EMIT closeAccepted();
}

void TfrmSaldrixMain::actFileExportCDExecute()
{
    // Each Export proposes a name from the file open now; Done exports the document as it stands,
    // refuses to write over the document's own file, and waits while a file is being read.
    runCommand([this] { m_wizard->showForDocument(FFileName); });
}

void TfrmSaldrixMain::createExportWizard()
{
    m_wizard = new TfrmSaldrixWizard(*m_document, m_dialogs, this);
    m_wizard->setDocumentFileNameSource([this] { return FFileName; });
    m_wizard->setDocumentBusySource([this] { return isLoading(); });
}

void TfrmSaldrixMain::actFileExitExecute()
{
    runCommand([this] { close(); });
}
