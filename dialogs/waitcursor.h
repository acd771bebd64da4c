// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The hourglass over every window of the program while a long operation runs: load, save and export.
// The libraries below the windows know nothing of cursors; the window that starts the work shows it.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// The same for work that reports its busy span in two calls (the export's context): true shows the
// hourglass, false takes that one back.
void showWaitCursor(bool busy);
