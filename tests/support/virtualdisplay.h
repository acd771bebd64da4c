// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What a script on a virtual display printed, its standard output and error as one text; finished
// is false when it did not end in time (it is then killed).
struct DisplayRun {
    bool finished = false;
    QString output;
};

// Runs a shell script on a virtual X display of its own (xvfb-run, one screen of the given size,
// "1024x768x24"), as `sh -c SCRIPT sh ARGUMENTS...` in the given folder and environment, and waits
// for its end at most `timeoutMs` milliseconds. The real-window tests drive the program this way.
[[nodiscard]] DisplayRun runOnVirtualDisplay(const QString &screen, const char *script, const QStringList &arguments,
    int timeoutMs, const QString &folder = QString(),
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
