// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "virtualdisplay.h"

#include "requiredtools.h"

#include <QProcess>
#include <QStandardPaths>

DisplayRun runOnVirtualDisplay(const QString &screen, const char *script, const QStringList &arguments, int timeoutMs,
    const QString &folder, const QProcessEnvironment &environment)
{
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty())
        run.setWorkingDirectory(folder);
    run.setProcessEnvironment(environment);
    run.start(QStandardPaths::findExecutable(QStringLiteral("xvfb-run")),
        virtualDisplayOptions(screen)
            + QStringList { QStringLiteral("sh"), QStringLiteral("-c"), QString::fromLatin1(script),
                QStringLiteral("sh") }
            + arguments);
    DisplayRun result;
    if (!run.waitForStarted())
        return result;
    result.finished = run.waitForFinished(timeoutMs);
    if (!result.finished) {
        run.kill();
        run.waitForFinished();
    }
    result.output = QString::fromLocal8Bit(run.readAll());
    return result;
}
