// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tree lines and expand buttons left of each node.
#include "treeview/treelist.h"

#include "document/documenttree.h"

#include <QPainter>

void TreeList::drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const
{
    const int indent = indentation();
    const int level = DocumentTree::level(index);
    if (level < 0 || indent <= 0)
        return;
    const QModelIndex n = index.siblingAtColumn(0);

    painter->save();
    QPen dotted(palette().color(QPalette::Disabled, QPalette::Text));
    dotted.setCosmetic(true);
    dotted.setDashPattern({ 1.0, 1.0 });
    painter->setPen(dotted);

    for (int slotLevel = 0; slotLevel <= level; ++slotLevel) {
        const QRect slot(rect.left() + slotLevel * indent, rect.top(), indent, rect.height());
        const int x = slot.left() + slot.width() / 2;
        const int y = slot.top() + slot.height() / 2;
        if (slotLevel < level) {
            // The line of an ancestor carries on past this row to the ancestor's next sibling.
            const QModelIndex ancestor = n.parent();
            if (ancestor.row() + 1 < model()->rowCount(ancestor.parent()))
                painter->drawLine(x, slot.top(), x, slot.bottom());
            continue;
        }
        if (n.row() > 0 || n.parent().isValid())
            painter->drawLine(x, slot.top(), x, y);
        if (n.row() + 1 < model()->rowCount(n.parent()))
            painter->drawLine(x, y, x, slot.bottom());
        painter->drawLine(x, y, slot.right(), y);

        if (model()->hasChildren(n)) {
            const QRect button = TreeGeometry::buttonRect(slot);
            painter->fillRect(button, palette().base());
            painter->setPen(palette().color(QPalette::Disabled, QPalette::Text));
            painter->drawRect(button.adjusted(0, 0, -1, -1));
            painter->setPen(palette().color(QPalette::Active, QPalette::Text));
            const int cx = button.left() + button.width() / 2;
            const int cy = button.top() + button.height() / 2;
            painter->drawLine(button.left() + 2, cy, button.right() - 2, cy);
            if (!QTreeView::isExpanded(n))
                painter->drawLine(cx, button.top() + 2, cx, button.bottom() - 2);
        }
    }
    painter->restore();
}
