// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

// The pictures shared by menus, toolbar and tree, by their place in the list: 0 closed section,
// 1 open section, 2 option, 4 to 11 the file commands, 12 to 19 the editing commands, 20 About.
inline constexpr int ImageListCount = 21;

[[nodiscard]] QIcon imageListIcon(int index);
