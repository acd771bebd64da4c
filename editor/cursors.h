// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCursor>

// The program's own pointing-hand cursor ("CURSOR_1"), shown over links. loadCursors() reads it
// from the resources; until then the platform's own is given. (The tree takes its drag cursor,
// "CURSOR_2", from the resources itself.)
void loadCursors();
[[nodiscard]] QCursor handPointCursor();
