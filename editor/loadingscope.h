// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The time in which a file is read into the window's document. The reading thread works while the
// window goes on painting and answering the window system: each progress report of the loader runs
// the window messages that are waiting, except user input, which waits until the tree is whole.
// So, while a scope lives:
// - timers, queued signals and the file watcher run as ever;
// - no command runs and no drag lands: the window's one command boundary and its drop handlers ask
//   isLoading(), which is true exactly while a scope lives;
// - undo and redo are off, and the export wizard waits;
// - a request to close the window is kept, and the window closes once the load is over.
class LoadingScope {
public:
    // `current` points to the scope while it lives (the window's isLoading()).
    explicit LoadingScope(LoadingScope *&current);
    ~LoadingScope() { end(); }
    LoadingScope(const LoadingScope &) = delete;
    LoadingScope &operator=(const LoadingScope &) = delete;

    // The loader's progress report: one pass of the waiting window messages.
    void runPendingMessages();
    // Ends the scope before its end of life, for instance to report a failed load.
    void end();

    void keepCloseRequest() { m_closeRequested = true; }
    [[nodiscard]] bool closeRequested() const { return m_closeRequested; }

private:
    LoadingScope *&m_current;
    bool m_closeRequested = false;
};
