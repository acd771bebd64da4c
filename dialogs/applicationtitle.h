// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The title shown in the window caption and on every error box.
[[nodiscard]] inline QString applicationTitle()
{
    return QStringLiteral("YorvSaldrix");
}
