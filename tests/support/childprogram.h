// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Runs one of the project's own programs in a child process, so that a fault test sees the
// process exactly as a user gets it: its own signal dispositions, heap and start-up. `prepare`
// runs in the child just before the program replaces it, to lower a limit or switch to another
// user; whatever it sets ends with the child.
struct ChildRun {
    int exitCode = -1; // -1 when the program did not exit normally
    int signal = 0; // the signal that ended it, 0 for none
    QString errors; // what it wrote to standard error, trimmed

    // "<done>" for exit status 0, the message for status 1, and a description otherwise, so that
    // a comparison with the expected message shows what happened.
    [[nodiscard]] QString outcome() const;
};

ChildRun runProgram(const QString &program, const QStringList &arguments, const std::function<void()> &prepare = {});

// The programs of the build under test.
QString benchProgram(); // saldrix_bench
QString editorProgram(); // yorvsaldrix
