// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <QTemporaryDir>

#include <functional>

class QAbstractItemView;

// What the widget benchmarks share.

// The application of a widget benchmark: offscreen unless a platform is asked for, and with a
// settings folder of its own, since the main window reads and writes its settings.
class BenchApplication {
public:
    BenchApplication(int &argc, char *argv[]);

private:
    struct Environment {
        Environment();
        QTemporaryDir settings;
    };
    Environment m_environment; // set up before the application starts
    QApplication m_app;
};

// Milliseconds that `step` takes until the view has laid out and painted what it changed.
qint64 msUntilPainted(QAbstractItemView &view, const std::function<void()> &step);
