// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "find/treefind.h"

#include <QObject>

#include <vector>

class TreeList;

// Hides, in the tree view only, every option that does not match and every section with no match;
// a section that matches by name keeps all its options shown. The document never sees it. Nodes
// added while it is on stay shown, matching or not.
class TreeFilter : public QObject {
    Q_OBJECT

public:
    explicit TreeFilter(TreeList *tree);

    [[nodiscard]] bool isActive() const { return m_active; }
    // Shows only the given matches, in display order as a search gives them, changing only the rows
    // whose state changes.
    void apply(const std::vector<NodePosition> &matches);
    // Shows every node again.
    void clear();

private:
    TreeList *m_tree;
    bool m_active = false;
};
