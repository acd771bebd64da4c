// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/findbar.h"

#include "dialogs/announcer.h"

#include "document/documenttree.h"
#include "editor/elidedlabel.h"
#include "editor/treefilter.h"
#include "treeview/treelist.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr int TypingPauseMs = 30;
// A screen reader says the count once the user has stopped typing: a search runs after each key of
// a slow typist, but the count is spoken only after a pause that ordinary typing does not make.
constexpr int SpeakingPauseMs = 700;
// The text field is never narrower than this many characters of the bar's font.
constexpr int MinimumFieldCharacters = 20;
// The filter opens the sections with matching options when there are at most this many.
constexpr size_t MostSectionsOpened = 200;

} // namespace

FindBar::FindBar(TreeList *tree, QWidget *parent)
    : QWidget(parent)
    , m_tree(tree)
    , m_filter(new TreeFilter(tree))
{
    setObjectName(QStringLiteral("FindBar"));
    // The bar takes the width the window has and never asks for more: opening it, a count or a
    // wrap message must not move or widen the window, whose placement is stored.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    m_firstRow = new QHBoxLayout;
    m_firstRow->setSpacing(4);
    m_secondRow = new QHBoxLayout;
    m_secondRow->setSpacing(4);
    rows->addLayout(m_firstRow);
    rows->addLayout(m_secondRow);
    m_tools = new QWidget(this);
    auto *layout = new QHBoxLayout(m_tools);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    const auto named = [](auto *widget, const char *name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    edtFindText = named(new QLineEdit(this), "edtFindText");
    edtFindText->setClearButtonEnabled(true);
    // The field's clear button shows its action's text as its name.
    if (auto *clear = edtFindText->findChild<QAction *>(QStringLiteral("_q_qlineeditclearaction")))
        clear->setText(tr("Clear the text to find"));
    edtFindText->setPlaceholderText(tr("Text to find"));
    edtFindText->setAccessibleName(tr("Text to find"));
    edtFindText->setMinimumWidth(edtFindText->fontMetrics().averageCharWidth() * MinimumFieldCharacters);
    edtFindText->installEventFilter(this);
    lblFind = named(new QLabel(tr("Fin&d:"), this), "lblFind");
    lblFind->setBuddy(edtFindText);

    // What to search and how: a drop-down menu of check items keeps the bar to one row.
    const auto option = [this, &named](const QString &text, const char *name, bool checked) {
        QAction *action = named(new QAction(text, this), name);
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };
    chkNames = option(tr("&Names"), "chkNames", true);
    chkValues = option(tr("&Values"), "chkValues", true);
    chkMatchCase = option(tr("Match &case"), "chkMatchCase", false);
    chkShowOnlyMatches = option(tr("&Show only matches"), "chkShowOnlyMatches", false);
    auto *options = named(new QMenu(this), "mnuFindOptions");
    options->addActions({ chkNames, chkValues, chkMatchCase });
    options->addSeparator();
    options->addAction(chkShowOnlyMatches);
    btnOptions = named(new QToolButton(this), "btnFindOptions");
    btnOptions->setText(tr("&Options"));
    btnOptions->setMenu(options);
    btnOptions->setPopupMode(QToolButton::InstantPopup);
    btnOptions->setAutoRaise(true);
    btnOptions->setAccessibleName(tr("Find options"));

    // The count keeps one width, enough for four-digit counts; a longer one is cut.
    lblCount = named(new ElidedLabel(this), "lblCount");
    lblCount->setMinimumWidth(lblCount->fontMetrics().horizontalAdvance(tr("%1 of %2").arg(9999).arg(9999)));
    // The wrap message shows over the tree, in a right-hand corner away from the match and outside
    // any layout, until the next step or search.
    lblWrapped = named(new QLabel(m_tree->viewport()), "lblWrapped");
    lblWrapped->setFrameShape(QFrame::StyledPanel);
    lblWrapped->setAutoFillBackground(true);
    lblWrapped->setBackgroundRole(QPalette::ToolTipBase);
    lblWrapped->setForegroundRole(QPalette::ToolTipText);
    lblWrapped->setMargin(2);
    lblWrapped->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblWrapped->hide();
    m_viewport = m_tree->viewport();
    m_viewport->installEventFilter(this);
    // Scrolling moves the viewport's children with the rows; the message keeps its corner.
    for (QScrollBar *bar : { m_tree->verticalScrollBar(), m_tree->horizontalScrollBar() })
        connect(bar, &QScrollBar::valueChanged, lblWrapped, [this] { placeWrapMessage(); });

    // F3 and Shift+F3 search again wherever the focus is in the window, the bar shown or not (the
    // window adds the actions to itself).
    actFindPrevious = named(new QAction(tr("Previous"), this), "actFindPrevious");
    actFindPrevious->setIconText(tr("&Previous"));
    actFindPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    actFindPrevious->setShortcutContext(Qt::WindowShortcut);
    actFindNext = named(new QAction(tr("Next"), this), "actFindNext");
    actFindNext->setIconText(tr("Ne&xt"));
    actFindNext->setShortcut(QKeySequence(Qt::Key_F3));
    actFindNext->setShortcutContext(Qt::WindowShortcut);
    auto *previous = named(new QToolButton(this), "btnFindPrevious");
    previous->setDefaultAction(actFindPrevious);
    previous->setArrowType(Qt::UpArrow);
    previous->setToolButtonStyle(Qt::ToolButtonIconOnly);
    previous->setAutoRaise(true);
    previous->setAccessibleName(tr("Previous match"));
    auto *next = named(new QToolButton(this), "btnFindNext");
    next->setDefaultAction(actFindNext);
    next->setArrowType(Qt::DownArrow);
    next->setToolButtonStyle(Qt::ToolButtonIconOnly);
    next->setAutoRaise(true);
    next->setAccessibleName(tr("Next match"));
    btnClose = named(new QToolButton(this), "btnClose");
    btnClose->setText(tr("&Close"));
    btnClose->setToolTip(tr("Close (Esc)"));
    btnClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    btnClose->setToolButtonStyle(Qt::ToolButtonIconOnly);
    btnClose->setAutoRaise(true);
    btnClose->setAccessibleName(tr("Close the find bar"));

    m_firstRow->addWidget(lblFind);
    m_firstRow->addWidget(edtFindText, 1);
    m_firstRow->addWidget(m_tools);
    layout->addWidget(lblCount);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(btnOptions);
    layout->addWidget(btnClose);

    // A search of a large tree takes a few tens of milliseconds: while keys come quickly, only the
    // text after the last one is searched.
    m_announcer = new Announcer(this);
    connect(options, &QMenu::aboutToShow, this, [this] { m_announcer->announce(tr("Find options menu")); });
    m_typing.setSingleShot(true);
    m_typing.setInterval(TypingPauseMs);
    connect(&m_typing, &QTimer::timeout, this, &FindBar::searchAgain);
    m_speaking.setSingleShot(true);
    m_speaking.setInterval(SpeakingPauseMs);
    connect(&m_speaking, &QTimer::timeout, this, &FindBar::announceCount);
    connect(edtFindText, &QLineEdit::textChanged, this, [this] {
        m_typing.start();
        m_speaking.start();
    });
    for (QAction *box : { chkNames, chkValues, chkMatchCase, chkShowOnlyMatches })
        connect(box, &QAction::toggled, this, &FindBar::searchAgain);
    connect(actFindNext, &QAction::triggered, this, &FindBar::findNext);
    connect(actFindPrevious, &QAction::triggered, this, &FindBar::findPrevious);
    connect(btnClose, &QToolButton::clicked, this, &FindBar::closeBar);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, [this] {
        if (isVisible())
            catchUp();
    });
    // The document itself: the view does not hear of changes to what the filter hides.
    QAbstractItemModel *model = m_tree->document();
    for (auto signal : { &QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved })
        connect(model, signal, this, &FindBar::documentChanged);
    connect(model, &QAbstractItemModel::rowsMoved, this, &FindBar::documentChanged);
    connect(model, &QAbstractItemModel::layoutChanged, this, &FindBar::documentChanged);
    connect(model, &QAbstractItemModel::dataChanged, this, &FindBar::documentChanged);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        // A new document: what was hidden is gone with the old one, and the filter starts anew.
        m_filter->clear();
        refreshMatches();
        if (chkShowOnlyMatches->isChecked() && isVisible())
            applyFilter();
    });
    m_tree->setCellHighlight([this](const QModelIndex &cell) { return isVisible() && isMatchCell(cell); });
    hide();
}

FindBar::~FindBar()
{
    if (m_tree != nullptr)
        m_tree->setCellHighlight({});
}

FindOptions FindBar::options() const
{
    return FindOptions { edtFindText->text(), chkNames->isChecked(), chkValues->isChecked(),
        chkMatchCase->isChecked() };
}

int FindBar::matchCount()
{
    finishTyping();
    if (m_stale)
        catchUp();
    return static_cast<int>(m_matches.size());
}

QString FindBar::countText() const
{
    return lblCount->text();
}

QString FindBar::wrapText() const
{
    return lblWrapped->text();
}

void FindBar::open()
{
    if (!isVisible())
        m_announcer->announce(tr("Find bar opened"));
    show();
    edtFindText->setFocus(Qt::ShortcutFocusReason);
    edtFindText->selectAll();
    searchAgain();
}

void FindBar::closeBar()
{
    finishTyping();
    m_filter->clear();
    m_wrapped.clear();
    lblWrapped->hide();
    hide();
    m_tree->viewport()->update();
    if (m_current >= 0 && m_current < static_cast<int>(m_matches.size()))
        showCurrent();
    m_tree->setFocus(Qt::OtherFocusReason);
    Q_EMIT closed();
}

void FindBar::finishTyping()
{
    if (m_typing.isActive())
        searchAgain();
}

void FindBar::searchAgain()
{
    m_typing.stop();
    // With "Show only matches" on, the filter changes only the rows it must.
    if (!chkShowOnlyMatches->isChecked())
        m_filter->clear();
    m_wrapped.clear();
    refreshMatches();
    // The first match at or after the focused node becomes the current one.
    const QModelIndex focused = m_tree->focusedNode();
    NodePosition from;
    if (DocumentTree::level(focused) == 0)
        from = { focused.row(), -1 };
    else if (DocumentTree::level(focused) == 1)
        from = { focused.parent().row(), focused.row() };
    const qsizetype first = m_matches.countBefore(from);
    m_current = m_matches.empty() ? -1 : first == m_matches.size() ? 0 : static_cast<int>(first);
    if (chkShowOnlyMatches->isChecked())
        applyFilter();
    if (m_current >= 0)
        showCurrent();
    updateLabels();
    if (!m_speaking.isActive())
        announceCount(); // an option changed, or the bar opened: no typing to wait for
    m_tree->viewport()->update();
}

void FindBar::announceCount()
{
    m_speaking.stop();
    // Once the typing has stopped, or a step was taken: never on every letter.
    if (isVisible())
        m_announcer->announce(edtFindText->accessibleDescription());
}

void FindBar::applyFilter()
{
    // Looking for nothing shows everything.
    if (m_matcher->isEmpty()) {
        m_filter->clear();
        return;
    }
    m_filter->apply(m_matches);
    // The sections whose options match are shown open, as long as there are few enough that
    // opening them stays quick; beyond that only the current match's section is.
    std::vector<int> sections;
    for (const TreeMatches::Section &section : m_matches.sections()) {
        if (section.matchingOptions > 0)
            sections.push_back(section.section);
        if (sections.size() > MostSectionsOpened)
            return;
    }
    const TreeListUpdate update(*m_tree);
    for (const int section : sections)
        m_tree->expand(m_tree->document()->sectionIndex(section));
}

void FindBar::documentChanged()
{
    m_stale = true;
    if (isVisible())
        m_refresh.start();
}

void FindBar::refreshMatches()
{
    m_stale = false;
    // The one search of this text and state of the document: the count, the highlight and the filter
    // all read its result.
    m_matcher = std::make_unique<TreeMatcher>(options());
    m_matches = findInTree(*m_tree->document(), options());
    if (m_current >= static_cast<int>(m_matches.size()))
        m_current = m_matches.empty() ? -1 : 0;
    else if (m_current < 0 && !m_matches.empty())
        m_current = 0;
    updateLabels();
}

void FindBar::catchUp()
{
    refreshMatches();
    // What matches now shows too; nothing shown goes until the text or an option changes.
    if (m_filter->isActive() && !m_matcher->isEmpty())
        m_filter->extend(m_matches);
}

bool FindBar::isMatchCell(const QModelIndex &cell) const
{
    if (m_matches.empty() || !cell.isValid())
        return false;
    const QModelIndex node = cell.siblingAtColumn(DocumentTree::NameColumn);
    const NodePosition position = DocumentTree::level(node) == 0 ? NodePosition { node.row(), -1 }
                                                                 : NodePosition { node.parent().row(), node.row() };
    if (!m_matches.contains(position))
        return false;
    // A matching node: which of its cells holds the text.
    return m_matcher->cellMatches(cell);
}

void FindBar::findNext()
{
    findAgain(true);
}

void FindBar::findPrevious()
{
    findAgain(false);
}

void FindBar::findAgain(bool forward)
{
    if (isVisible()) {
        step(forward);
        return;
    }
    // With the bar closed the last text is searched again from the focused node; with none, the
    // bar opens to take one.
    if (edtFindText->text().isEmpty()) {
        open();
        return;
    }
    finishTyping();
    if (m_stale || m_matches.empty())
        refreshMatches();
    if (m_matches.empty())
        return;
    const QModelIndex focused = m_tree->focusedNode();
    NodePosition from { -1, -1 };
    if (DocumentTree::level(focused) == 0)
        from = { focused.row(), -1 };
    else if (DocumentTree::level(focused) == 1)
        from = { focused.parent().row(), focused.row() };
    const bool fromMatches = m_matches.contains(from);
    // The match just before the first one after the focused node, or the focused node itself.
    const int count = static_cast<int>(m_matches.size());
    int at = static_cast<int>(m_matches.countBefore(from)) + (fromMatches ? 1 : 0);
    if (forward)
        m_current = at == count ? 0 : at;
    else {
        at -= (at > 0 && fromMatches) ? 2 : 1;
        m_current = at < 0 ? count - 1 : at;
    }
    showCurrent();
}

void FindBar::step(bool forward)
{
    finishTyping();
    if (m_stale)
        catchUp();
    if (m_matches.empty())
        return;
    const int count = static_cast<int>(m_matches.size());
    int next = m_current + (forward ? 1 : -1);
    m_wrapped.clear();
    if (next >= count) {
        next = 0;
        m_wrapped = tr("Passed the end, continued from the top");
    } else if (next < 0) {
        next = count - 1;
        m_wrapped = tr("Passed the top, continued from the end");
    }
    m_current = next;
    showCurrent();
    updateLabels();
    announceCount();
}

void FindBar::showCurrent()
{
    const NodePosition match = m_matches.at(m_current);
    const DocumentTree &document = *m_tree->document();
    const QModelIndex node
        = match.option < 0 ? document.sectionIndex(match.section) : document.optionIndex(match.section, match.option);
    // The match's section is shown open, and the match in view even when it was focused already:
    // turning the filter on or off moves every row around it.
    if (isVisible())
        m_tree->expand(document.sectionIndex(match.section));
    m_tree->setFocusedNode(node);
    m_tree->selectSingleNode(node);
}

void FindBar::updateLabels()
{
    if (edtFindText->text().isEmpty())
        lblCount->clear();
    else if (m_matches.empty())
        lblCount->setText(tr("No matches"));
    else
        lblCount->setText(tr("%1 of %2").arg(m_current + 1).arg(m_matches.size()));
    lblWrapped->setText(m_wrapped);
    placeWrapMessage();
    // The count and the wrap message change while the keyboard stays in the field: the field's
    // description carries them, and each change of it is announced.
    lblCount->setAccessibleName(lblCount->text().isEmpty() ? tr("Matches") : tr("Matches: %1").arg(lblCount->text()));
    QStringList said { lblCount->text() };
    if (!m_wrapped.isEmpty())
        said << m_wrapped;
    said.removeAll(QString());
    edtFindText->setAccessibleDescription(said.join(QStringLiteral(". ")));
}

void FindBar::placeWrapMessage()
{
    if (m_wrapped.isEmpty() || !isVisible()) {
        lblWrapped->hide();
        return;
    }
    const QWidget *viewport = m_tree->viewport();
    const QSize size = lblWrapped->sizeHint().boundedTo(viewport->size() - QSize(8, 8));
    // In a corner on the right, the lower one unless the current match lies under it.
    QRect place(QPoint(viewport->width() - size.width() - 4, viewport->height() - size.height() - 4), size);
    const QRect match = m_tree->visualRect(m_tree->focusedNode());
    if (match.isValid() && match.top() <= place.bottom() && match.bottom() >= place.top())
        place.moveTop(4);
    lblWrapped->setGeometry(place);
    lblWrapped->show();
    lblWrapped->raise();
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    // Compared by address only: the tree may be in the middle of being destroyed.
    if (event->type() == QEvent::Resize && watched == m_viewport.data() && isVisible())
        placeWrapMessage();
    if (watched == edtFindText && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            step(!(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    arrangeRows();
}

void FindBar::arrangeRows()
{
    const int spacing = m_firstRow->spacing();
    const QMargins margins = layout()->contentsMargins();
    const int oneRow = margins.left() + lblFind->sizeHint().width() + spacing + edtFindText->minimumWidth() + spacing
        + m_tools->sizeHint().width() + margins.right();
    QHBoxLayout *row = width() >= oneRow ? m_firstRow : m_secondRow;
    if (row->indexOf(m_tools) >= 0)
        return;
    (row == m_firstRow ? m_secondRow : m_firstRow)->removeWidget(m_tools);
    if (row == m_secondRow)
        m_secondRow->addStretch(1);
    else if (QLayoutItem *stretch = m_secondRow->takeAt(0))
        delete stretch;
    row->insertWidget(row == m_firstRow ? 2 : 0, m_tools);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        closeBar();
        return;
    }
    QWidget::keyPressEvent(event);
}
