// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "find/treefind.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class Announcer;
class QAction;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class TreeFilter;
class TreeList;

// The find bar under the tree: finds a text in node names and option values as it is typed,
// counts the matches, goes to the next or previous one (wrapping around at either end), highlights
// every matching cell and, when asked, shows only the matches. It only reads the document.
class FindBar : public QWidget {
    Q_OBJECT

public:
    FindBar(TreeList *tree, QWidget *parent = nullptr);
    ~FindBar() override;

    // Shows the bar and puts the focus in its text field.
    void open();
    // Hides the bar, shows the whole tree again and gives the focus back to the tree on the current match.
    void closeBar();

    [[nodiscard]] FindOptions options() const;
    [[nodiscard]] int matchCount();
    [[nodiscard]] QString countText() const;
    [[nodiscard]] QString wrapText() const;
    [[nodiscard]] TreeFilter *filter() const { return m_filter; }

    // The next or previous match; with the bar closed, of the last text searched, from the focused
    // node. Without a last text they open the bar.
    void findNext();
    void findPrevious();

    // Components, named as their objectName.
    QLabel *lblFind = nullptr;
    QLineEdit *edtFindText = nullptr;
    // What is searched and how: check items of the options button's menu.
    QAction *chkNames = nullptr;
    QAction *chkValues = nullptr;
    QAction *chkMatchCase = nullptr;
    QAction *chkShowOnlyMatches = nullptr;
    QToolButton *btnOptions = nullptr;
    QLabel *lblCount = nullptr;
    // Shown over the tree for a moment after a step passed either end.
    QLabel *lblWrapped = nullptr;
    QAction *actFindPrevious = nullptr;
    QAction *actFindNext = nullptr;
    QToolButton *btnClose = nullptr;

Q_SIGNALS:
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // One row while the window is wide enough for the field and the buttons beside it; where it is
    // not (a larger font, a translation), the count and the buttons take a second row.
    void arrangeRows();
    // The text or an option changed: search again from the focused node and filter anew.
    void searchAgain();
    // Makes a search that still waits for the typing to pause now.
    void finishTyping();
    // The document changed: the matches are counted again on the next turn of the event loop.
    void documentChanged();
    void refreshMatches();
    // The search again after the document changed; the filter shows the new matches too.
    void catchUp();
    void step(bool forward);
    // F3 or Shift+F3: a step while the bar shows, else a search of the last text from the focus.
    void findAgain(bool forward);
    void showCurrent();
    void updateLabels();
    // Speaks the count and the wrap message as they stand.
    void announceCount();
    void placeWrapMessage();
    // Whether the cell is one of the last search's matches.
    [[nodiscard]] bool isMatchCell(const QModelIndex &cell) const;
    void applyFilter();

    QPointer<TreeList> m_tree;
    // The tree's viewport, which holds the wrap message.
    QPointer<QWidget> m_viewport;
    TreeFilter *m_filter;
    std::unique_ptr<TreeMatcher> m_matcher = std::make_unique<TreeMatcher>(FindOptions {});
    TreeMatches m_matches;
    int m_current = -1;
    bool m_stale = false;
    QString m_wrapped;
    QTimer m_refresh;
    // Typing waits this long for the next key before the search starts again.
    QTimer m_typing;
    QHBoxLayout *m_firstRow = nullptr;
    QHBoxLayout *m_secondRow = nullptr;
    // The count and the buttons, which stand on the first row or on the second.
    QWidget *m_tools = nullptr;
    // The pause after which the count is spoken.
    QTimer m_speaking;
    // Speaks the count and the wrap message, which change while the keyboard stays in the field.
    Announcer *m_announcer = nullptr;
};
