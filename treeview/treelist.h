// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "treeview/treehittest.h"

#include <QIcon>
#include <QList>
#include <QModelIndexList>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class DocumentTree;
class QDrag;
class QMenu;
class QMimeData;
class StandardTreeListHandlers;
class TreeFilterModel;
class TreeListDelegate;
class NameMarks;
class TreeListHandlers;

// The two-column view over the document tree. Nodes are named by their column-0 index. The tree
// keeps one focused node (whenever it is not empty), a focused column, and a selection whose
// nodes share one parent. Focus and selection change only through the rules here: the mouse,
// the keyboard and drops; Qt's own selection behaviour is not used.
//
// The view shows the document through a filter (TreeFilterModel), so its own rows may differ from
// the document's. Every index this class takes or gives is the document's: toView() and
// toDocument() convert at the boundary, and the calls below that share a name with QTreeView's
// take document indexes (view indexes pass through them unchanged).
class TreeList : public QTreeView {
    Q_OBJECT

public:
    // How many options of a change the name marks work out in one pass of the event loop.
    static constexpr qsizetype NameMarkSliceOptions = 20'000;

    explicit TreeList(QWidget *parent = nullptr);
    ~TreeList() override;

    void setDocument(DocumentTree *tree);
    [[nodiscard]] DocumentTree *document() const { return m_tree; }
    // What the view shows of the document.
    [[nodiscard]] TreeFilterModel *filterModel() const { return m_filter; }
    // The window's handlers; without any, a standard set applies the same rules.
    void setHandlers(TreeListHandlers *handlers) { m_handlers = handlers; }
    [[nodiscard]] TreeListHandlers *handlers() const;

    // Node pictures by image index (0 closed section, 1 open section, 2 option); drawn ones until set.
    void setImageList(const QList<QIcon> &images);
    [[nodiscard]] QIcon image(int index) const;
    // The image index drawn for a node, as the handlers answer it.
    [[nodiscard]] int nodeImageIndex(const QModelIndex &node, bool selected) const;
    // What a save will do to the names shown, kept up to date with the document.
    [[nodiscard]] const NameMarks *nameMarks() const { return m_nameMarks; }

    // Opened by the right button and the context-menu key; the tree does not own it.
    void setPopupMenu(QMenu *menu);
    [[nodiscard]] QMenu *popupMenu() const;

    // The focused cell of the document.
    [[nodiscard]] QModelIndex currentIndex() const;
    [[nodiscard]] QModelIndex focusedNode() const;
    [[nodiscard]] int focusedLevel() const;
    [[nodiscard]] int focusedColumn() const;
    void setFocusedColumn(int column);
    // Focuses the node, keeping the focused column; expands its section and scrolls it into view.
    void setFocusedNode(const QModelIndex &node);
    // Clears the selection, focuses the node as setFocusedNode does and selects it.
    void selectSingleNode(const QModelIndex &node);

    // The selected nodes in display order.
    [[nodiscard]] QModelIndexList selectedNodes() const;
    [[nodiscard]] int selectionCount() const;
    [[nodiscard]] bool isNodeSelected(const QModelIndex &node) const;
    // The level of the selected nodes (0 sections, 1 options), -1 when nothing is selected.
    [[nodiscard]] int selectionLevel() const;
    // Adds the node unless its parent differs from that of the nodes already selected.
    void selectNode(const QModelIndex &node);
    void deselectNode(const QModelIndex &node);
    void clearNodeSelection();
    // Selects the displayed nodes from one node to another (either order) that share the selection's
    // parent, or the parent of the first of them when nothing is selected; adds them when add is set.
    void selectRange(const QModelIndex &from, const QModelIndex &to, bool add);

    // Selects the given ranges of document nodes, as one change, and shows them under a filter.
    void setSelectedRanges(const QList<std::pair<QModelIndex, QModelIndex>> &ranges);

    // Open and closed sections, by document index; opening one that the filter hides shows it.
    [[nodiscard]] bool isExpanded(const QModelIndex &section) const;
    void expand(const QModelIndex &section);
    void collapse(const QModelIndex &section);
    void setExpanded(const QModelIndex &section, bool expanded);
    // Whether the section shows options, and so an expand button.
    [[nodiscard]] bool showsOptions(const QModelIndex &section) const;
    // Whether the filter hides the document's node at the row under the parent.
    [[nodiscard]] bool isRowHidden(int row, const QModelIndex &parent) const;
    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

    // The node displayed just above or below (invalid at either end).
    [[nodiscard]] QModelIndex nodeAbove(const QModelIndex &node) const;
    [[nodiscard]] QModelIndex nodeBelow(const QModelIndex &node) const;

    // The node whose row lies under a client point (none below the last row), and the part of the
    // tree under it.
    [[nodiscard]] QModelIndex nodeAt(QPoint clientPos) const;
    [[nodiscard]] TreeHit hitTest(QPoint clientPos) const { return treeHitTest(*this, clientPos); }
    [[nodiscard]] QModelIndex nodeAtViewport(int y) const;

    // What the in-place editor of a cell is called for assistive technology: its row and column.
    [[nodiscard]] QString cellEditorName(const QModelIndex &index) const;

    // Opens the in-place editor on the focused cell where the editing handler allows it.
    void editFocusedCell();
    [[nodiscard]] bool isEditing() const { return state() == EditingState; }
    // Stores the open editor's text in its cell and closes it.
    void commitEditor();

    // An update bracket: the tree does not repaint until the outermost end.
    void beginUpdate();
    void endUpdate();

    // The text Ctrl+Ins copies: the header, an empty line and one line per selected node.
    [[nodiscard]] QString selectionText() const;
    void copySelection() const;
    // What Ctrl+Ins puts on the clipboard beyond the text: the window sets it, so that the key and
    // the window's Copy give the same.
    using ClipboardWriter = std::function<void(const QModelIndexList &nodes)>;
    void setClipboardWriter(ClipboardWriter writer) { m_clipboardWriter = std::move(writer); }

    // Column widths in logical order; setting them keeps their proportion and fills the width.
    [[nodiscard]] QList<int> columnWidths() const;
    void setColumnWidths(const QList<int> &widths);

    // Runs a drag; by default QDrag::exec. Tests replace it to play the drag's events themselves.
    using DragRunner = std::function<void(QDrag &drag)>;
    void setDragRunner(DragRunner runner) { m_dragRunner = std::move(runner); }
    [[nodiscard]] bool isDragging() const { return m_dragMime != nullptr; }
    // The drag cursors: for fewer than two selected nodes (null: the platform's own), and for more.
    [[nodiscard]] static QPixmap singleDragCursor();
    [[nodiscard]] static QPixmap multiDragCursor();

    // Cells for which the predicate holds are drawn on a highlight; none when it is empty.
    void setCellHighlight(std::function<bool(const QModelIndex &cell)> highlight);
    [[nodiscard]] bool isCellHighlighted(const QModelIndex &cell) const { return m_highlight && m_highlight(cell); }

    // Moves the focus to the node as the keys do: Shift selects the range from the anchor, Ctrl
    // leaves the selection alone, neither selects the node alone.
    void moveFocus(const QModelIndex &node, Qt::KeyboardModifiers modifiers);

Q_SIGNALS:
    // The focused node, the focused column or the selection changed.
    void stateChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // The column headers follow the tree's own drags too (treelistdrag.cpp).
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const override;
    void keyboardSearch(const QString &) override { }
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    friend class TreeListDelegate;

    struct Press {
        QPersistentModelIndex node;
        QPoint pos;
        Qt::KeyboardModifiers modifiers;
        bool selectOnRelease = false;
        bool editOnRelease = false;
    };

    [[nodiscard]] static QModelIndex node(const QModelIndex &index);
    // The one place where the view's indexes and the document's are converted. Each passes an
    // index that is already of its kind through unchanged.
    [[nodiscard]] QModelIndex toView(const QModelIndex &index) const;
    [[nodiscard]] QModelIndex toDocument(const QModelIndex &index) const;
    // The view's index of a document node, shown first if the filter hides it.
    [[nodiscard]] QModelIndex shownInView(const QModelIndex &index);
    [[nodiscard]] TreeHit hitTestViewport(QPoint vp) const;
    void setFocusedCell(const QModelIndex &node, int column);
    void selectOnly(const QModelIndex &node);
    void setSelectedRows(const QModelIndex &parent, const std::vector<int> &rows);
    [[nodiscard]] std::vector<int> selectedRows() const;
    [[nodiscard]] QModelIndex selectionParent() const;
    [[nodiscard]] bool hasNodeSelection() const;

    void afterReset();
    void afterRemoval();
    void afterCollapse(const QModelIndex &section);

    void pressAt(QMouseEvent *event, bool mayEdit);
    void cancelPendingEdit();
    void pendingEditTimeout();

    bool handleKey(int key, Qt::KeyboardModifiers modifiers, const QString &text);
    void moveAfterEdit(int key, Qt::KeyboardModifiers modifiers);
    [[nodiscard]] QModelIndex pageFrom(const QModelIndex &node, bool down) const;
    void openPopupMenu(QPoint globalPos);

    void startNodeDrag(const QModelIndex &pressed, Qt::KeyboardModifiers modifiers);
    [[nodiscard]] QObject *dragSource(const QDropEvent *event) const;
    bool dragOver(QDropEvent *event);
    // A drop at a point in the control's own coordinates, over the rows or the headers.
    void dropAt(QDropEvent *event, QPoint clientPos);
    void dragScrollTick();
    void stopDragTimers();

    // Accessibility (treelistaccess.cpp).
    void describeToAssistiveTechnology();
    void describeCells(DocumentTree *tree);
    [[nodiscard]] QString cellDescription(const QModelIndex &index) const;
    void announceFocusedCell();

    void fitColumns();
    void columnResized(int column, int oldSize, int newSize);

    DocumentTree *m_tree = nullptr;
    TreeFilterModel *m_filter = nullptr;
    QList<QMetaObject::Connection> m_modelConnections;
    TreeListHandlers *m_handlers = nullptr;
    std::unique_ptr<StandardTreeListHandlers> m_standardHandlers;
    TreeListDelegate *m_delegate = nullptr;
    NameMarks *m_nameMarks = nullptr;
    bool m_markPassAsked = false;
    QList<QIcon> m_images;
    QPointer<QMenu> m_popupMenu;

    QPersistentModelIndex m_anchor;
    QPersistentModelIndex m_focusAfterRemoval; // of the view
    bool m_focusRemoved = false;
    int m_focusColumnAfterRemoval = 0;
    int m_updateDepth = 0;

    Press m_press;
    bool m_pressActive = false;
    bool m_focusInByMouse = false;
    QTimer m_editTimer;

    DragRunner m_dragRunner;
    const QMimeData *m_dragMime = nullptr;
    QPoint m_dragPos;
    QTimer m_dragScrollTimer;
    QTimer m_dragExpandTimer;
    QPersistentModelIndex m_dragExpandNode;

    std::function<bool(const QModelIndex &)> m_highlight;
    double m_firstColumnShare = 0.0;
    bool m_fitting = false;
    ClipboardWriter m_clipboardWriter;
};

// Keeps the tree from repainting while it lives.
class TreeListUpdate {
public:
    explicit TreeListUpdate(TreeList &tree)
        : m_tree(tree)
    {
        m_tree.beginUpdate();
    }
    ~TreeListUpdate() { m_tree.endUpdate(); }
    TreeListUpdate(const TreeListUpdate &) = delete;
    TreeListUpdate &operator=(const TreeListUpdate &) = delete;

private:
    TreeList &m_tree;
};
