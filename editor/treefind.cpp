#include "editor/treefind.h"

#include "document/documenttree.h"

TreeMatcher::TreeMatcher(const FindOptions &options)
    : m_matcher(options.text, options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive)
    , m_names(options.names)
    , m_values(options.values)
    , m_empty(options.text.isEmpty() || !(options.names || options.values))
{
}

bool TreeMatcher::sectionMatches(const DocumentTree &tree, int section) const
{
    return !m_empty && m_names && contains(tree.sectionText(section, DocumentTree::NameColumn));
}

bool TreeMatcher::optionMatches(const DocumentTree &tree, int section, int option) const
{
    if (m_empty)
        return false;
    return (m_names && contains(tree.optionText(section, option, DocumentTree::NameColumn)))
        || (m_values && contains(tree.optionText(section, option, DocumentTree::ValueColumn)));
}

bool TreeMatcher::cellMatches(const QModelIndex &cell) const
{
    if (m_empty || !cell.isValid())
        return false;
    if (cell.column() == DocumentTree::NameColumn)
        return m_names && contains(cell.data(Qt::DisplayRole).toString());
    // A section's value is never shown as a find target.
    return m_values && DocumentTree::level(cell) == 1 && contains(cell.data(Qt::DisplayRole).toString());
}

std::vector<NodePosition> findInTree(const DocumentTree &tree, const FindOptions &options)
{
    std::vector<NodePosition> matches;
    const TreeMatcher matcher(options);
    if (matcher.isEmpty())
        return matches;
    for (int section = 0; section < tree.sectionCount(); ++section) {
        if (matcher.sectionMatches(tree, section))
            matches.push_back({ section, -1 });
        const int options = tree.optionCount(section);
        for (int option = 0; option < options; ++option) {
            if (matcher.optionMatches(tree, section, option))
                matches.push_back({ section, option });
        }
    }
    return matches;
}
