#pragma once

#include <QString>

// The title shown in the window caption and on every error box.
[[nodiscard]] inline QString applicationTitle()
{
    return QStringLiteral("YorvSaldrix");
}
