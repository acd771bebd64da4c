// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "programrun.h"

#include "childprogram.h"

#include <QProcess>

QProcessEnvironment environmentWithoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(
        QStringLiteral("LSAN_OPTIONS"), QStringLiteral("suppressions=" SALDRIX_SUPPORT_DATA "/lsan.supp"));
    return environment;
}

ProgramRun runEditorProgram(const QStringList &arguments, const QProcessEnvironment &environment, int timeoutMs,
    const QStringList &command, const QString &outputFile)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    if (command.isEmpty())
        process.start(editorProgram(), arguments);
    else
        process.start(command.constFirst(), command.mid(1) + QStringList { editorProgram() } + arguments);
    ProgramRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
