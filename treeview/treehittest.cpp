// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treeview/treehittest.h"

#include "document/documenttree.h"
#include "treeview/treelist.h"

#include <QHeaderView>
#include <QScrollBar>

QRect TreeGeometry::buttonRect(const QRect &slot)
{
    const int x = slot.left() + (slot.width() - ButtonSize) / 2;
    const int y = slot.top() + (slot.height() - ButtonSize) / 2;
    return { x, y, ButtonSize, ButtonSize };
}

namespace {

TreeHit rowHit(const TreeList &tree, const QModelIndex &node, QPoint vp)
{
    using namespace TreeGeometry;
    const QHeaderView *header = tree.header();
    const int lastColumn = header->logicalIndex(header->count() - 1);
    const int columnsRight = header->sectionViewportPosition(lastColumn) + header->sectionSize(lastColumn);
    if (vp.x() >= columnsRight)
        return { TreeHitPart::RightOfColumns, node };

    const int column = header->logicalIndexAt(vp.x());
    if (column != DocumentTree::NameColumn)
        return { TreeHitPart::Cell, node, column };

    // Column 0: indentation, the button slot of the node's own level, the image, then the text.
    const QRect item = tree.visualRect(node);
    const int indent = tree.indentation();
    const int columnLeft = header->sectionViewportPosition(DocumentTree::NameColumn);
    const QRect slot(columnLeft + DocumentTree::level(node) * indent, item.top(), indent, item.height());
    const QRect button = buttonRect(slot);
    if (vp.x() < button.left())
        return { TreeHitPart::Indent, node };
    if (vp.x() < item.left()) {
        const bool hasButton = tree.showsOptions(node);
        if (hasButton && button.adjusted(-ButtonSlack, -ButtonSlack, ButtonSlack, ButtonSlack).contains(vp))
            return { TreeHitPart::Button, node };
        return { TreeHitPart::Nowhere, node };
    }
    if (vp.x() < item.left() + ImageBoxWidth)
        return { TreeHitPart::Image, node };
    if (vp.x() < item.left() + ImageBoxWidth + StateImageWidth)
        return { TreeHitPart::StateImage, node };
    return { TreeHitPart::Cell, node, DocumentTree::NameColumn };
}

} // namespace

TreeHit treeHitTest(const TreeList &tree, QPoint clientPos)
{
    if (!tree.rect().contains(clientPos))
        return {};
    if (!tree.header()->isHidden() && tree.header()->geometry().contains(clientPos))
        return { TreeHitPart::Header, {} };
    const QRect viewport = tree.viewport()->geometry();
    if (!viewport.contains(clientPos))
        return {};
    const QPoint vp = clientPos - viewport.topLeft();
    const QModelIndex node = tree.nodeAtViewport(vp.y());
    if (!node.isValid())
        return { TreeHitPart::Nowhere, {} };
    return rowHit(tree, node, vp);
}
