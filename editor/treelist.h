#pragma once

#include <QModelIndexList>
#include <QTreeView>

class DocumentTree;
class TreeListHandlers;

// The two-column view over the document tree. Nodes are named by their column-0 index. The tree
// keeps one focused node (whenever it is not empty), a focused column, and a selection whose
// nodes share one parent.
class TreeList : public QTreeView {
    Q_OBJECT

public:
    explicit TreeList(QWidget *parent = nullptr);

    void setDocument(DocumentTree *tree);
    [[nodiscard]] DocumentTree *document() const { return m_tree; }
    void setHandlers(TreeListHandlers *handlers) { m_handlers = handlers; }

    [[nodiscard]] QModelIndex focusedNode() const;
    [[nodiscard]] int focusedLevel() const;
    [[nodiscard]] int focusedColumn() const;
    void setFocusedColumn(int column);
    // Focuses the node, keeping the focused column; expands its section and scrolls it into view.
    void setFocusedNode(const QModelIndex &node);

    // The selected nodes in display order.
    [[nodiscard]] QModelIndexList selectedNodes() const;
    [[nodiscard]] int selectionCount() const;
    [[nodiscard]] bool isNodeSelected(const QModelIndex &node) const;
    // Adds the node unless its parent differs from that of the nodes already selected.
    void selectNode(const QModelIndex &node);
    void deselectNode(const QModelIndex &node);
    void clearNodeSelection();

    // The node displayed just above or below (invalid at either end).
    [[nodiscard]] QModelIndex nodeAbove(const QModelIndex &node) const;
    [[nodiscard]] QModelIndex nodeBelow(const QModelIndex &node) const;

    // Opens the in-place editor on the focused cell where the editing handler allows it.
    void editFocusedCell();

Q_SIGNALS:
    // The focused node, the focused column or the selection changed.
    void stateChanged();

private:
    [[nodiscard]] static QModelIndex node(const QModelIndex &index);

    DocumentTree *m_tree = nullptr;
    TreeListHandlers *m_handlers = nullptr;
};
