#include "editor/undocommands.h"

#include "editor/treelist.h"

#include <QItemSelectionModel>
#include <QScopeGuard>

#include <utility>

TreeCommand::TreeCommand(const QString &text, DocumentTree &tree, TreeList &view)
    : QUndoCommand(text)
    , m_tree(tree)
    , m_view(view)
{
}

void TreeCommand::selectNodes(const QList<QPersistentModelIndex> &nodes)
{
    m_view.clearNodeSelection();
    bool focused = false;
    for (const QPersistentModelIndex &node : nodes) {
        if (!node.isValid())
            continue;
        if (!focused) {
            m_view.setFocusedNode(node);
            focused = true;
        }
        m_view.selectNode(node);
    }
}

NodesCommand::NodesCommand(
    Kind kind, const QString &text, DocumentTree &tree, TreeList &view, std::vector<NodeRun> runs)
    : TreeCommand(text, tree, view)
    , m_kind(kind)
    , m_runs(std::move(runs))
{
}

void NodesCommand::redo()
{
    if (m_kind == Kind::Insert)
        insertRuns();
    else
        removeRuns();
}

void NodesCommand::undo()
{
    if (m_kind == Kind::Insert)
        removeRuns();
    else
        insertRuns();
}

std::vector<NodeRun> NodesCommand::runsOf(const QModelIndexList &nodes)
{
    std::vector<NodeRun> runs;
    for (const QModelIndex &node : nodes) {
        const int section = DocumentTree::level(node) == 0 ? -1 : node.parent().row();
        if (!runs.empty() && runs.back().section == section && runs.back().row + runs.back().count == node.row()) {
            ++runs.back().count;
            continue;
        }
        runs.push_back(NodeRun { section, node.row(), 1, {}, {} });
    }
    return runs;
}

// Every run goes back to its own rows, from the first on: the rows of a run count the nodes before
// it, and those of earlier runs are back by then.
void NodesCommand::insertRuns()
{
    const TreeListUpdate update(m_view);
    for (NodeRun &run : m_runs) {
        if (run.section < 0)
            m_tree.insertSections(run.row, std::exchange(run.sections, {}));
        else
            m_tree.insertOptions(run.section, run.row, std::exchange(run.options, {}));
    }
    if (m_runs.empty())
        return;
    const NodeRun &first = m_runs.front();
    const auto at = [this](const NodeRun &run, int row) {
        return run.section < 0 ? m_tree.sectionIndex(row) : m_tree.optionIndex(run.section, row);
    };
    m_view.clearNodeSelection();
    m_view.setFocusedNode(at(first, first.row));
    QItemSelection selection;
    for (const NodeRun &run : m_runs) {
        selection.append(QItemSelectionRange(
            at(run, run.row), at(run, run.row + run.count - 1).siblingAtColumn(DocumentTree::ColumnCount - 1)));
    }
    m_view.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

// Runs go from the last one back, so that the rows of those still to go stay as they were read.
void NodesCommand::removeRuns()
{
    if (m_runs.empty())
        return;
    const auto at = [this](const NodeRun &run, int row) {
        return run.section < 0 ? m_tree.sectionIndex(row) : m_tree.optionIndex(run.section, row);
    };
    // Afterwards the focus goes to the node shown just above the first removed one, or, when that
    // one opens the tree, to the first one shown below the last removed node and its options.
    const NodeRun &firstRun = m_runs.front();
    const NodeRun &lastRun = m_runs.back();
    QPersistentModelIndex target = m_view.nodeAbove(at(firstRun, firstRun.row));
    if (!target.isValid()) {
        const int lastRow = lastRun.row + lastRun.count - 1;
        target = lastRun.section < 0 ? m_tree.sectionIndex(lastRow + 1) : m_view.nodeBelow(at(lastRun, lastRow));
    }

    const TreeListUpdate update(m_view);
    const auto focusTarget = qScopeGuard([this, &target] {
        if (target.isValid())
            m_view.selectSingleNode(target);
    });
    for (auto run = m_runs.rbegin(); run != m_runs.rend(); ++run) {
        const int end = run->row + run->count;
        if (run->section < 0) {
            run->sections.reserve(static_cast<size_t>(run->count));
            for (int row = run->row; row < end; ++row) {
                DocumentTree::SectionNode section { m_tree.sectionText(row, DocumentTree::NameColumn),
                    m_tree.sectionText(row, DocumentTree::ValueColumn), m_tree.imageIndex(m_tree.sectionIndex(row)),
                    {} };
                const int options = m_tree.optionCount(row);
                section.options.reserve(static_cast<size_t>(options));
                for (int option = 0; option < options; ++option) {
                    section.options.push_back({ m_tree.optionText(row, option, DocumentTree::NameColumn),
                        m_tree.optionText(row, option, DocumentTree::ValueColumn),
                        m_tree.imageIndex(m_tree.optionIndex(row, option)) });
                }
                run->sections.push_back(std::move(section));
            }
            m_tree.removeRows(run->row, run->count);
        } else {
            run->options.reserve(static_cast<size_t>(run->count));
            for (int row = run->row; row < end; ++row) {
                run->options.push_back({ m_tree.optionText(run->section, row, DocumentTree::NameColumn),
                    m_tree.optionText(run->section, row, DocumentTree::ValueColumn),
                    m_tree.imageIndex(m_tree.optionIndex(run->section, row)) });
            }
            m_tree.removeRows(run->row, run->count, m_tree.sectionIndex(run->section));
        }
    }
}

EditTextCommand::EditTextCommand(
    const QString &text, DocumentTree &tree, TreeList &view, const QModelIndex &cell, const QString &oldText)
    : TreeCommand(text, tree, view)
    , m_section(DocumentTree::level(cell) == 0 ? cell.row() : cell.parent().row())
    , m_option(DocumentTree::level(cell) == 0 ? -1 : cell.row())
    , m_column(cell.column())
    , m_oldText(oldText)
    , m_newText(cell.data(Qt::EditRole).toString())
{
}

void EditTextCommand::redo()
{
    if (std::exchange(m_done, false))
        return; // the editor made the change already
    setText(m_newText);
}

void EditTextCommand::undo()
{
    setText(m_oldText);
}

void EditTextCommand::setText(const QString &text)
{
    if (m_option < 0)
        m_tree.setSectionText(m_section, m_column, text);
    else
        m_tree.setOptionText(m_section, m_option, m_column, text);
    m_view.setFocusedColumn(m_column);
    m_view.selectSingleNode(m_option < 0 ? m_tree.sectionIndex(m_section) : m_tree.optionIndex(m_section, m_option));
}

MoveCommand::MoveCommand(DocumentTree &tree, TreeList &view, TreeMoveLog moves)
    : TreeCommand(QObject::tr("Move"), tree, view)
    , m_moves(std::move(moves))
{
}

void MoveCommand::redo()
{
    if (std::exchange(m_done, false))
        return; // the drop made the moves already
    const TreeListUpdate update(m_view);
    QList<QPersistentModelIndex> moved;
    for (const TreeMove &move : m_moves)
        moved.append(QPersistentModelIndex(applyTreeMove(m_tree, move)));
    selectNodes(moved);
}

void MoveCommand::undo()
{
    const TreeListUpdate update(m_view);
    QList<QPersistentModelIndex> moved;
    for (auto move = m_moves.rbegin(); move != m_moves.rend(); ++move)
        moved.prepend(QPersistentModelIndex(revertTreeMove(m_tree, *move)));
    selectNodes(moved);
}
