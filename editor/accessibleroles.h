// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Gives assistive technology the true role of the program's objects where Qt's own guess is wrong:
// a menu item with a check mark is a check item with its state, a line between groups is a
// separator, the window's size grip is a picture with a name, and the tool bar's overflow button is a button.
// Installed once for the process, before the first window is made.
void installAccessibleRoles();
