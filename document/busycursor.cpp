// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/busycursor.h"

namespace {
BusyCursor::Hook g_hook = nullptr;
}

void BusyCursor::setHook(Hook hook)
{
    g_hook = hook;
}

BusyCursor::BusyCursor()
{
    if (g_hook != nullptr)
        g_hook(true);
}

BusyCursor::~BusyCursor()
{
    if (g_hook != nullptr)
        g_hook(false);
}
