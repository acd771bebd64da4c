// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/benchwidgets.h"

#include <QAbstractItemView>
#include <QElapsedTimer>

BenchApplication::Environment::Environment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    // Recovery copies of the documents the commands change stay out of the user's own folder.
    qputenv("XDG_STATE_HOME", settings.path().toLocal8Bit());
}

BenchApplication::BenchApplication(int &argc, char *argv[])
    : m_app(argc, argv)
{
}

qint64 msUntilPainted(QAbstractItemView &view, const std::function<void()> &step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    QCoreApplication::processEvents();
    view.viewport()->repaint();
    return clock.elapsed();
}
