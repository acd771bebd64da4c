// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What a run of the program left: its exit status (-1 when it did not end in time and was killed,
// -2 when a signal ended it) and what it wrote to standard output and error.
struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The test's environment without a display (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM), with
// the sanitizer suppressions the program needs in a sanitizer build.
[[nodiscard]] QProcessEnvironment environmentWithoutDisplay();

// Runs the program, or `command` with the program's path as its last argument before `arguments`
// (setpriv, to run it as another user), and waits at most `timeoutMs` milliseconds for its end.
// Standard output goes to outputFile when one is given.
[[nodiscard]] ProgramRun runEditorProgram(const QStringList &arguments, const QProcessEnvironment &environment,
    int timeoutMs, const QStringList &command = QStringList(), const QString &outputFile = QString());
