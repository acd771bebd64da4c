// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/treefilter.h"

#include "document/documenttree.h"
#include "editor/treelist.h"

#include <vector>

TreeFilter::TreeFilter(TreeList *tree)
    : QObject(tree)
    , m_tree(tree)
{
}

void TreeFilter::apply(const std::vector<NodePosition> &matches)
{
    const DocumentTree *document = m_tree->document();
    if (document == nullptr) {
        clear();
        return;
    }
    m_active = true;
    const TreeListUpdate update(*m_tree);
    // Only rows whose state changes are told to the view: each hidden row costs the view a
    // persistent index, and a text typed on from the last one changes few rows.
    const auto setHidden = [this](int row, const QModelIndex &parent, bool hidden) {
        if (m_tree->isRowHidden(row, parent) != hidden)
            m_tree->setRowHidden(row, parent, hidden);
    };
    auto match = matches.cbegin();
    std::vector<bool> shown;
    for (int section = 0; section < document->sectionCount(); ++section) {
        const int optionCount = document->optionCount(section);
        const bool byName = match != matches.cend() && *match == NodePosition { section, -1 };
        shown.assign(static_cast<size_t>(optionCount), byName);
        bool anyShown = byName;
        for (; match != matches.cend() && match->section == section; ++match) {
            if (match->option >= 0) {
                shown[static_cast<size_t>(match->option)] = true;
                anyShown = true;
            }
        }
        setHidden(section, {}, !anyShown);
        if (!anyShown)
            continue; // its options stay as they are, out of sight with it
        const QModelIndex parent = document->sectionIndex(section);
        for (int option = 0; option < optionCount; ++option)
            setHidden(option, parent, !shown[static_cast<size_t>(option)]);
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
    const DocumentTree *document = m_tree->document();
    if (document == nullptr)
        return;
    // The view knows what it hides, and follows moves and removals.
    const TreeListUpdate update(*m_tree);
    for (int section = 0; section < document->sectionCount(); ++section) {
        if (m_tree->isRowHidden(section, {}))
            m_tree->setRowHidden(section, {}, false);
        const QModelIndex parent = document->sectionIndex(section);
        const int options = document->optionCount(section);
        for (int option = 0; option < options; ++option) {
            if (m_tree->isRowHidden(option, parent))
                m_tree->setRowHidden(option, parent, false);
        }
    }
}
