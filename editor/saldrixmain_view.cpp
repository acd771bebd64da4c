// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The View menu: whether a save keeps the file's comments and layout, and the comments pane,
// remembered between runs in a group of their own.
#include "editor/saldrixmain.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "editor/layoutlossbar.h"
#include "editor/recoverykeeper.h"
#include "formsettings/formstorage.h"
#include "formsettings/mrumanager.h"
#include "ini/initext.h"
#include "ini/linenotes.h"
#include "ini/treeio.h"
#include "settings/settingsstore.h"
#include "treeview/treelist.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

const QString ViewKey = QStringLiteral("View");
const QString KeepLayoutValue = QStringLiteral("KeepCommentsAndLayout");
const QString CommentsPaneValue = QStringLiteral("CommentsPane");

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

    actViewComments = new QAction(tr("&Comments"), this);
    actViewComments->setObjectName(QStringLiteral("actViewComments"));
    actViewComments->setCheckable(true);
    actViewComments->setStatusTip(tr("Shows the file's comments on the focused section or option"));
    actViewComments->setProperty("Category", tr("View"));
    miView->addAction(actViewComments);
    // Under the tree, read only: the keyboard reaches it with Tab, and a screen reader reads it.
    CommentsPane = new QPlainTextEdit(centralWidget());
    CommentsPane->setObjectName(QStringLiteral("CommentsPane"));
    CommentsPane->setReadOnly(true);
    CommentsPane->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    CommentsPane->setTabChangesFocus(true);
    CommentsPane->setAccessibleName(tr("Comments"));
    CommentsPane->setMaximumHeight(CommentsPane->fontMetrics().lineSpacing() * 5);
    CommentsPane->hide();
    qobject_cast<QVBoxLayout *>(centralWidget()->layout())->insertWidget(3, CommentsPane);
    connect(actViewComments, &QAction::toggled, this, [this](bool shown) {
        CommentsPane->setVisible(shown);
        updateCommentsPane();
        writeViewSetting(CommentsPaneValue, shown);
    });
    connect(m_treeList, &TreeList::stateChanged, this, &TfrmSaldrixMain::updateCommentsPane);
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

void TfrmSaldrixMain::updateCommentsPane()
{
    if (CommentsPane->isHidden())
        return;
    const QModelIndex node = m_treeList->focusedNode();
    const std::shared_ptr<const IniText> text = layoutTextOf(*m_document);
    QString shown;
    if (node.isValid() && text) {
        const qint64 origin = DocumentTree::level(node) == 0
            ? m_document->sectionOrigin(node.row())
            : m_document->optionTexts(node.parent().row()).origin(node.row());
        const LineNotes notes = LineNotes::of(*text, origin);
        shown = notes.comments.join(u'\n');
        for (const QString &repeat : notes.repeats)
            shown += (shown.isEmpty() ? QString() : QStringLiteral("\n")) + tr("Also in the file: %1").arg(repeat);
    }
    if (CommentsPane->toPlainText() != shown)
        CommentsPane->setPlainText(shown);
}

void TfrmSaldrixMain::writeViewSetting(const QString &name, bool value)
{
    catchErrors(
        [&] {
            SettingsStore store(rxRegistry->storeFileName());
            store.writeBool(ViewKey, name, value);
            store.close();
        },
        [this](const QString &message) { showSettingsError(message); });
}

void TfrmSaldrixMain::loadViewSettings()
{
    bool keep = false;
    bool comments = false;
    catchErrors(
        [&] {
            const SettingsStore store(rxRegistry->storeFileName());
            keep = store.readBool(ViewKey, KeepLayoutValue, false);
            comments = store.readBool(ViewKey, CommentsPaneValue, false);
        },
        [this](const QString &message) { showSettingsError(message); });
    const QSignalBlocker quiet(actViewKeepLayout);
    actViewKeepLayout->setChecked(keep);
    m_recovery->setKeepLayout(keep);
    const QSignalBlocker quietToo(actViewComments);
    actViewComments->setChecked(comments);
    CommentsPane->setVisible(comments);
}

void TfrmSaldrixMain::keepLayoutChanged(bool keep)
{
    m_recovery->setKeepLayout(keep);
    updateLayoutLossBar();
    writeViewSetting(KeepLayoutValue, keep);
}

bool TfrmSaldrixMain::keepsLayout() const
{
    return actViewKeepLayout->isChecked();
}
