// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/placementtext.h"

#include <QRegularExpression>
#include <QStringList>

QString screenSizeSuffix(const QSize &screen)
{
    return QStringLiteral("(%1x%2)").arg(screen.width()).arg(screen.height());
}

QString formatFourIntegers(int a, int b, int c, int d)
{
    return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

std::array<std::optional<int>, 4> parseFourIntegers(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[ ,]+"));
    const QStringList words = text.split(separators, Qt::SkipEmptyParts);
    std::array<std::optional<int>, 4> result;
    for (qsizetype i = 0; i < qsizetype(result.size()) && i < words.size(); ++i) {
        bool ok = false;
        const int value = words.at(i).toInt(&ok, 10);
        if (ok)
            result[std::size_t(i)] = value;
    }
    return result;
}

ShowState showStateOf(int showCmd)
{
    switch (showCmd) {
    case 2:
    case 6:
    case 7:
        return ShowState::Minimized;
    case 3:
        return ShowState::Maximized;
    default:
        return ShowState::Normal;
    }
}
