// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "requiredtools.h"

#include <QRandomGenerator>
#include <QStandardPaths>

QString missingTools(const QStringList &tools)
{
    QStringList missing;
    for (const QString &tool : tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            missing << tool;
    }
    return missing.isEmpty() ? QString()
                             : QStringLiteral("not installed (scripts/setup installs it): ") + missing.join(u", ");
}

bool toolsRequired()
{
    return qEnvironmentVariableIsSet("SALDRIX_REQUIRE_TOOLS");
}

QStringList virtualDisplayOptions(const QString &screen)
{
    // -n before -a: the search starts there. Without -noreset the server starts afresh each time
    // its last client leaves, and turns away the clients that connect meanwhile: a test's first
    // look at the display would be its last client before the program connects.
    const quint32 first = QRandomGenerator::global()->bounded(200u, 1000u);
    return { QStringLiteral("-n"), QString::number(first), QStringLiteral("-a"), QStringLiteral("-s"),
        QStringLiteral("-screen 0 ") + screen + QStringLiteral(" -noreset") };
}
