// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "find/treefind.h"

#include <QList>
#include <QObject>
#include <QPersistentModelIndex>

#include <functional>
#include <vector>

class TreeList;

// Shows, in the tree view only, the matches of a search: every matching option and every section
// with a match; a section that matches by name keeps all its options shown. The document never
// sees it. While it is on, nodes the program adds, puts back or moves show too, and later matches
// are added (extend()); nothing shown is hidden until the next apply() or clear(). Sections open
// when the filter hid them are open again when they show.
class TreeFilter : public QObject {
    Q_OBJECT

public:
    explicit TreeFilter(TreeList *tree);

    [[nodiscard]] bool isActive() const;
    // Shows only the given matches, in display order as a search gives them.
    void apply(const TreeMatches &matches);
    // Shows the given matches too, hiding nothing.
    void extend(const TreeMatches &matches);
    // Shows every node again.
    void clear();

private:
    // Runs a change of what is shown, keeping which sections are open.
    void keepingOpenSections(const std::function<void()> &change);

    TreeList *m_tree;
    // Sections of the document that were open when the filter hid them.
    QList<QPersistentModelIndex> m_openOutOfSight;
};
