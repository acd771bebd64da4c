// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "requiredtools.h"

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
