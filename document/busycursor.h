// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Shows the hourglass while it lives: load, save and export wrap their work in one. The document
// and export layers need QtCore only, so the window layer installs the hook that actually changes
// the cursor; without a hook (tests, the benchmark) nothing happens.
class BusyCursor {
public:
    using Hook = void (*)(bool busy);

    static void setHook(Hook hook);

    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
