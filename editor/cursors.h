#pragma once

#include <QCursor>
#include <QPixmap>

// The program's own pointing-hand cursor ("CURSOR_1", for links) and the picture a drag of one
// tree node shows ("CURSOR_2"). loadCursors() reads both from the resources; until it has run
// the accessors give the platform's own.
void loadCursors();
[[nodiscard]] QCursor handPointCursor();
[[nodiscard]] QPixmap dragCursorPixmap();
