// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QTest>

// The programs a real-window test starts (xvfb-run, openbox, xdotool, xwininfo). scripts/setup
// installs them, and scripts/test sets SALDRIX_REQUIRE_TOOLS: there a test that lacks one fails
// instead of skipping, so that it cannot pass by checking nothing.

// The missing ones among `tools`, as one text for the test's message; empty when all are there.
[[nodiscard]] QString missingTools(const QStringList &tools);
[[nodiscard]] bool toolsRequired();

// Skips the test when one of the programs is missing, or fails it where they are required.
#define SALDRIX_REQUIRE_TOOLS(...)                                                                                     \
    do {                                                                                                               \
        const QString missingTools_ = missingTools({ __VA_ARGS__ });                                                   \
        if (!missingTools_.isEmpty()) {                                                                                \
            if (toolsRequired())                                                                                       \
                QFAIL(qPrintable(missingTools_));                                                                      \
            QSKIP(qPrintable(missingTools_));                                                                          \
        }                                                                                                              \
    } while (false)
