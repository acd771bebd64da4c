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

// xvfb-run's options for a virtual display of the test's own with one screen of the given size
// ("1024x768x24"). xvfb-run -a takes the first display number from 99 on that has no lock file yet,
// so test runs of other checkouts on the machine that start at the same moment would all reach for
// the same number; each run searches from a number of its own instead.
[[nodiscard]] QStringList virtualDisplayOptions(const QString &screen);

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
