// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/loadingscope.h"

#include <QCoreApplication>

LoadingScope::LoadingScope(LoadingScope *&current)
    : m_current(current)
{
    Q_ASSERT(current == nullptr); // loads do not nest: no command runs during one
    m_current = this;
}

void LoadingScope::runPendingMessages()
{
    if (m_current == this)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void LoadingScope::end()
{
    if (m_current == this)
        m_current = nullptr;
}
