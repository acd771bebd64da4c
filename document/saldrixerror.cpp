// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/saldrixerror.h"

bool catchErrors(const std::function<void()> &work, const std::function<void(const QString &)> &report)
{
    QString message;
    try {
        work();
        return true;
    } catch (const SaldrixError &error) {
        message = error.message();
    } catch (const std::exception &error) {
        message = QString::fromLocal8Bit(error.what());
    }
    // A report that fails in turn has nowhere left to go, and must not leave the boundary either.
    try {
        report(message);
    } catch (...) {
    }
    return false;
}
