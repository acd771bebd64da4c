#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>

// The tree's own pictures, drawn rather than loaded: the node images (0 closed section, 1 open
// section, 2 option) until the window hands over its image list, and the multi-item drag cursor.
[[nodiscard]] QList<QIcon> treeDefaultImages();
[[nodiscard]] QPixmap treeMultiDragCursor();

// A cursor picture compiled in under ":/cursors/" by its base name (any extension); null when absent.
[[nodiscard]] QPixmap treeResourceCursor(const QString &name);
