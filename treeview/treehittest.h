// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QModelIndex>
#include <QPoint>
#include <QRect>

class TreeList;

// The part of the tree under a point.
enum class TreeHitPart {
    Nowhere, // empty client area: below the last row, or a gap in a row's indentation area
    Indent, // a row's indentation, left of its expand button and image
    Button, // a row's expand button
    Image, // a row's node image
    StateImage, // a row's state image; no node carries one, so the area is empty
    Cell, // one of a row's cells
    RightOfColumns, // a row, right of the last column
    Header, // the column headers
    Outside, // off the rows: the frame, the scroll bars, or off the control
};

struct TreeHit {
    TreeHitPart part = TreeHitPart::Outside;
    // Column 0 of the row under the point, where a row lies under it.
    QModelIndex node;
    // The cell's column for TreeHitPart::Cell, otherwise -1.
    int column = -1;
};

// Row geometry shared by the painting of a row and the hit test, so the two always agree.
namespace TreeGeometry {
inline constexpr int Indentation = 19;
inline constexpr int ButtonSize = 9;
inline constexpr int ImageSize = 16;
inline constexpr int ImageMargin = 2;
// Column 0 of a row starts with the node image, then the text cell.
inline constexpr int ImageBoxWidth = ImageSize + 2 * ImageMargin;
inline constexpr int StateImageWidth = 0;
// A press this far off the drawn button square still counts as the button.
inline constexpr int ButtonSlack = 1;

// The expand button's square, centred in the branch slot of the node's own level.
[[nodiscard]] QRect buttonRect(const QRect &slot);
} // namespace TreeGeometry

// The part of the tree under a point given in the control's client coordinates (header included).
[[nodiscard]] TreeHit treeHitTest(const TreeList &tree, QPoint clientPos);
