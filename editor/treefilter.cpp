// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/treefilter.h"

#include "document/documenttree.h"
#include "treeview/treefiltermodel.h"
#include "treeview/treelist.h"

#include <utility>

TreeFilter::TreeFilter(TreeList *tree)
    : QObject(tree)
    , m_tree(tree)
{
}

bool TreeFilter::isActive() const
{
    return m_tree->filterModel()->isFiltering();
}

void TreeFilter::apply(const TreeMatches &matches)
{
    if (m_tree->document() == nullptr)
        return;
    keepingOpenSections([this, &matches] { m_tree->filterModel()->setFilter(matches); });
}

void TreeFilter::extend(const TreeMatches &matches)
{
    if (isActive())
        keepingOpenSections([this, &matches] { m_tree->filterModel()->extend(matches); });
}

void TreeFilter::clear()
{
    if (isActive())
        keepingOpenSections([this] { m_tree->filterModel()->clearFilter(); });
    m_openOutOfSight.clear();
}

void TreeFilter::keepingOpenSections(const std::function<void()> &change)
{
    // The view forgets a section's open state when the section leaves it: the open sections are
    // noted by their place in the document and opened again once they show.
    const DocumentTree *document = m_tree->document();
    const QAbstractItemModel *view = m_tree->model();
    QList<QPersistentModelIndex> open = std::exchange(m_openOutOfSight, {});
    for (int row = 0; row < view->rowCount(); ++row) {
        const QModelIndex section = view->index(row, 0);
        if (m_tree->isExpanded(section))
            open.append(m_tree->filterModel()->mapToSource(section));
    }
    const TreeListUpdate update(*m_tree);
    change();
    for (const QPersistentModelIndex &section : std::as_const(open)) {
        if (!section.isValid() || section.model() != document)
            continue;
        if (m_tree->isRowHidden(section.row(), {}))
            m_openOutOfSight.append(section);
        else if (!m_tree->isExpanded(section))
            m_tree->expand(section);
    }
}
