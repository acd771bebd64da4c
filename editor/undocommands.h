#pragma once

#include "document/documenttree.h"
#include "editor/treemovelog.h"

#include <QModelIndexList>
#include <QPersistentModelIndex>
#include <QUndoCommand>

#include <vector>

class TreeList;

// The steps of the editor's history. Each keeps only what its change touched: a removal keeps the
// removed nodes while they are out of the tree, an insertion only where its nodes stand while they
// are in it. Undo and redo put the focus and the selection on the nodes they brought back or moved.

// Neighbouring rows of one parent: sections (section -1) or the options of one section.
struct NodeRun {
    int section = -1;
    int row = 0;
    int count = 0;
    std::vector<DocumentTree::SectionNode> sections;
    std::vector<DocumentTree::OptionNode> options;
};

class TreeCommand : public QUndoCommand {
protected:
    TreeCommand(const QString &text, DocumentTree &tree, TreeList &view);
    // Focuses the first node and selects every one that is still there.
    void selectNodes(const QList<QPersistentModelIndex> &nodes);

    DocumentTree &m_tree;
    TreeList &m_view;
};

// Nodes put into the tree (Add) or taken out of it (Delete); each is the other's undo.
class NodesCommand : public TreeCommand {
public:
    enum class Kind { Insert, Remove };
    // Runs in display order. For an insertion they carry the new nodes; for a removal their
    // positions, the nodes are read from the tree when they go.
    NodesCommand(Kind kind, const QString &text, DocumentTree &tree, TreeList &view, std::vector<NodeRun> runs);

    void redo() override;
    void undo() override;

    // The runs of neighbouring rows among nodes of one parent, in display order.
    [[nodiscard]] static std::vector<NodeRun> runsOf(const QModelIndexList &nodes);

private:
    void insertRuns();
    void removeRuns();

    Kind m_kind;
    std::vector<NodeRun> m_runs;
};

// One cell's text, changed by the in-place editor; the change is made before the step is pushed.
class EditTextCommand : public TreeCommand {
public:
    EditTextCommand(
        const QString &text, DocumentTree &tree, TreeList &view, const QModelIndex &cell, const QString &oldText);

    void redo() override;
    void undo() override;

private:
    void setText(const QString &text);

    int m_section;
    int m_option;
    int m_column;
    QString m_oldText;
    QString m_newText;
    bool m_done = true;
};

// The node moves of one drop, made before the step is pushed.
class MoveCommand : public TreeCommand {
public:
    MoveCommand(DocumentTree &tree, TreeList &view, TreeMoveLog moves);

    void redo() override;
    void undo() override;

private:
    TreeMoveLog m_moves;
    bool m_done = true;
};
