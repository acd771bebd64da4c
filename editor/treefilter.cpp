#include "editor/treefilter.h"

#include "document/documenttree.h"
#include "editor/treelist.h"

TreeFilter::TreeFilter(TreeList *tree)
    : QObject(tree)
    , m_tree(tree)
{
}

void TreeFilter::apply(const FindOptions &options)
{
    clear();
    const DocumentTree *document = m_tree->document();
    const TreeMatcher matcher(options);
    if (document == nullptr || matcher.isEmpty())
        return;
    m_active = true;
    const TreeListUpdate update(*m_tree);
    std::vector<int> hiddenRows;
    for (int section = 0; section < document->sectionCount(); ++section) {
        if (matcher.sectionMatches(*document, section))
            continue;
        hiddenRows.clear();
        const int optionCount = document->optionCount(section);
        for (int option = 0; option < optionCount; ++option) {
            if (!matcher.optionMatches(*document, section, option))
                hiddenRows.push_back(option);
        }
        if (static_cast<int>(hiddenRows.size()) == optionCount) {
            m_tree->setRowHidden(section, {}, true);
            m_hidden.emplace_back(document->sectionIndex(section));
            continue;
        }
        const QModelIndex parent = document->sectionIndex(section);
        for (int option : hiddenRows) {
            m_tree->setRowHidden(option, parent, true);
            m_hidden.emplace_back(document->optionIndex(section, option));
        }
    }
    // Nothing hidden stays selected.
    const QModelIndexList selected = m_tree->selectedNodes();
    for (const QModelIndex &node : selected) {
        if (m_tree->isRowHidden(node.row(), node.parent()) || m_tree->isRowHidden(node.parent().row(), {}))
            m_tree->deselectNode(node);
    }
}

void TreeFilter::clear()
{
    if (!m_active)
        return;
    m_active = false;
    const TreeListUpdate update(*m_tree);
    for (const QPersistentModelIndex &node : m_hidden) {
        if (node.isValid())
            m_tree->setRowHidden(node.row(), node.parent(), false);
    }
    m_hidden.clear();
}
