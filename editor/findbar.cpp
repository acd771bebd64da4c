// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/findbar.h"

#include "document/documenttree.h"
#include "editor/treefilter.h"
#include "editor/treelist.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int TypingPauseMs = 30;

} // namespace

FindBar::FindBar(TreeList *tree, QWidget *parent)
    : QWidget(parent)
    , m_tree(tree)
    , m_filter(new TreeFilter(tree))
{
    setObjectName(QStringLiteral("FindBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);

    const auto named = [](auto *widget, const char *name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    edtFindText = named(new QLineEdit(this), "edtFindText");
    edtFindText->setClearButtonEnabled(true);
    edtFindText->installEventFilter(this);
    chkNames = named(new QCheckBox(tr("Names"), this), "chkNames");
    chkValues = named(new QCheckBox(tr("Values"), this), "chkValues");
    chkMatchCase = named(new QCheckBox(tr("Match case"), this), "chkMatchCase");
    chkNames->setChecked(true);
    chkValues->setChecked(true);
    lblCount = named(new QLabel(this), "lblCount");
    lblWrapped = named(new QLabel(this), "lblWrapped");

    // F3 and Shift+F3 belong to the bar: they work while it is shown, wherever the focus is.
    actFindPrevious = named(new QAction(tr("Previous"), this), "actFindPrevious");
    actFindPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    actFindPrevious->setShortcutContext(Qt::WindowShortcut);
    actFindNext = named(new QAction(tr("Next"), this), "actFindNext");
    actFindNext->setShortcut(QKeySequence(Qt::Key_F3));
    actFindNext->setShortcutContext(Qt::WindowShortcut);
    addAction(actFindPrevious);
    addAction(actFindNext);
    auto *previous = named(new QToolButton(this), "btnFindPrevious");
    previous->setDefaultAction(actFindPrevious);
    auto *next = named(new QToolButton(this), "btnFindNext");
    next->setDefaultAction(actFindNext);
    chkShowOnlyMatches = named(new QCheckBox(tr("Show only matches"), this), "chkShowOnlyMatches");
    btnClose = named(new QToolButton(this), "btnClose");
    btnClose->setText(tr("Close"));
    btnClose->setAutoRaise(true);

    layout->addWidget(edtFindText, 1);
    for (QWidget *widget : std::initializer_list<QWidget *> {
             chkNames, chkValues, chkMatchCase, lblCount, previous, next, lblWrapped, chkShowOnlyMatches, btnClose })
        layout->addWidget(widget);

    // A search of a large tree takes a few tens of milliseconds: while keys come quickly, only the
    // text after the last one is searched.
    m_typing.setSingleShot(true);
    m_typing.setInterval(TypingPauseMs);
    connect(&m_typing, &QTimer::timeout, this, &FindBar::searchAgain);
    connect(edtFindText, &QLineEdit::textChanged, this, [this] { m_typing.start(); });
    for (QCheckBox *box : { chkNames, chkValues, chkMatchCase, chkShowOnlyMatches })
        connect(box, &QCheckBox::toggled, this, &FindBar::searchAgain);
    connect(actFindNext, &QAction::triggered, this, &FindBar::findNext);
    connect(actFindPrevious, &QAction::triggered, this, &FindBar::findPrevious);
    connect(btnClose, &QToolButton::clicked, this, &FindBar::closeBar);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, [this] {
        if (isVisible())
            refreshMatches();
    });
    QAbstractItemModel *model = m_tree->model();
    for (auto signal : { &QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved })
        connect(model, signal, this, &FindBar::documentChanged);
    connect(model, &QAbstractItemModel::rowsMoved, this, &FindBar::documentChanged);
    connect(model, &QAbstractItemModel::dataChanged, this, &FindBar::documentChanged);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        // A new document: what was hidden is gone with the old one.
        const bool filtering = m_filter->isActive();
        m_filter->clear();
        refreshMatches();
        if (filtering && isVisible())
            applyFilter();
    });
    m_tree->setCellHighlight([this](const QModelIndex &cell) {
        return isVisible() && !m_matches.empty() && TreeMatcher(options()).cellMatches(cell);
    });
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
        refreshMatches();
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
    show();
    edtFindText->setFocus(Qt::ShortcutFocusReason);
    edtFindText->selectAll();
    searchAgain();
}

void FindBar::closeBar()
{
    finishTyping();
    m_filter->clear();
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
    const auto first = std::find_if(m_matches.cbegin(), m_matches.cend(), [from](const NodePosition &match) {
        return std::pair(match.section, match.option) >= std::pair(from.section, from.option);
    });
    m_current = m_matches.empty() ? -1 : first == m_matches.cend() ? 0 : static_cast<int>(first - m_matches.cbegin());
    if (chkShowOnlyMatches->isChecked())
        applyFilter();
    if (m_current >= 0)
        showCurrent();
    updateLabels();
    m_tree->viewport()->update();
}

void FindBar::applyFilter()
{
    m_filter->apply(options());
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
    m_matches = findInTree(*m_tree->document(), options());
    if (m_current >= static_cast<int>(m_matches.size()))
        m_current = m_matches.empty() ? -1 : 0;
    else if (m_current < 0 && !m_matches.empty())
        m_current = 0;
    updateLabels();
}

void FindBar::findNext()
{
    step(true);
}

void FindBar::findPrevious()
{
    step(false);
}

void FindBar::step(bool forward)
{
    finishTyping();
    if (m_stale)
        refreshMatches();
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
}

void FindBar::showCurrent()
{
    const NodePosition &match = m_matches.at(static_cast<size_t>(m_current));
    const DocumentTree &document = *m_tree->document();
    const QModelIndex node
        = match.option < 0 ? document.sectionIndex(match.section) : document.optionIndex(match.section, match.option);
    // Shown again if it was hidden, for instance after the filter was turned off.
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
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edtFindText && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            step(!(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        closeBar();
        return;
    }
    QWidget::keyPressEvent(event);
}
