// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "find/treefind.h"

#include <QObject>

class TreeList;

// Hides, in the tree view only, every option that does not match and every section with no match;
// a section that matches by name keeps all its options shown. The document never sees it. Nodes
// added while it is on stay shown, matching or not.
class TreeFilter : public QObject {
    Q_OBJECT

public:
    explicit TreeFilter(TreeList *tree);

    [[nodiscard]] bool isActive() const { return m_active; }
    // Shows only the matches of the options (everything when they look for nothing), changing only
    // the rows whose state changes.
    void apply(const FindOptions &options);
    // Shows every node again.
    void clear();

private:
    TreeList *m_tree;
    bool m_active = false;
};
