// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// saldrix_bench find FILE TEXT [--names] [--values] [--case]: loads the file and times one search
// of the whole tree, as the find bar makes it for a new text (the fastest of five, in elapsed and in
// processor time). Without --names or --values both
// are searched; without --case letter case is ignored. Prints find_ms and the number of matching nodes; with
// --show-only also how long "Show only matches" takes to hide the rest, to filter again for the text without
// its last character (a text of one character: typed twice), and to show everything again.
#include "bench/benchwidgets.h"
#include "bench/commands.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "editor/treefilter.h"
#include "find/treefind.h"
#include "ini/treeio.h"
#include "treeview/treelist.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

int benchFind(int argc, char *argv[], const QStringList &args)
{
    const BenchApplication app(argc, argv);
    FindOptions options;
    QStringList files;
    bool names = false;
    bool values = false;
    bool showOnly = false;
    for (const QString &arg : args) {
        if (arg == QStringLiteral("--show-only"))
            showOnly = true;
        else if (arg == QStringLiteral("--names"))
            names = true;
        else if (arg == QStringLiteral("--values"))
            values = true;
        else if (arg == QStringLiteral("--case"))
            options.matchCase = true;
        else
            files << arg;
    }
    if (files.size() != 2) {
        std::fputs("usage: saldrix_bench find FILE TEXT [--names] [--values] [--case] [--show-only]\n", stderr);
        return 2;
    }
    options.text = files.at(1);
    options.names = names || !values;
    options.values = values || !names;

    DocumentTree tree;
    try {
        LoadTreeFromIni(tree, files.at(0));
    } catch (const SaldrixError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    // The fastest of five searches, so that a moment when the shared machine was busy elsewhere
    // does not count.
    TreeMatches matches;
    qint64 ms = -1;
    double cpuMs = -1;
    // The thread's processor time too: on a shared machine it varies far less than the elapsed time.
    const auto threadCpuMs = [] {
        timespec now {};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    };
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        const double cpuStart = threadCpuMs();
        clock.start();
        matches = findInTree(tree, options);
        const qint64 elapsed = clock.elapsed();
        const double cpu = threadCpuMs() - cpuStart;
        ms = ms < 0 ? elapsed : std::min(ms, elapsed);
        cpuMs = cpuMs < 0 ? cpu : std::min(cpuMs, cpu);
    }
    std::printf("find_ms=%lld find_cpu_ms=%.1f matches=%lld\n", static_cast<long long>(ms), cpuMs,
        static_cast<long long>(matches.size()));
    if (showOnly) {
        // "Show only matches" in a shown tree view, every section expanded, and back.
        TreeList view;
        view.setDocument(&tree);
        view.resize(800, 600);
        view.show();
        view.expandAll();
        QCoreApplication::processEvents();
        TreeFilter filter(&view);
        // Elapsed time until painted, and the thread's processor time for the same.
        std::vector<double> cpu;
        const auto timed = [&view, &cpu, &threadCpuMs](const std::function<void()> &step) {
            const double start = threadCpuMs();
            const qint64 elapsed = msUntilPainted(view, step);
            cpu.push_back(threadCpuMs() - start);
            return elapsed;
        };
        // Each step includes its search: the find bar searches once and filters with the result.
        const qint64 filterMs = timed([&] { filter.apply(findInTree(tree, options)); });
        // As after Backspace in the find bar: the text without its last character, filtered anew.
        // A text of one character would leave nothing to look for, which shows everything: it is
        // typed once more instead.
        FindOptions changed = options;
        if (changed.text.size() > 1)
            changed.text.chop(1);
        else
            changed.text += changed.text;
        const qint64 refilterMs = timed([&] { filter.apply(findInTree(tree, changed)); });
        const qint64 clearMs = timed([&] { filter.clear(); });
        std::printf("filter_ms=%lld refilter_ms=%lld clear_ms=%lld filter_cpu_ms=%.1f refilter_cpu_ms=%.1f "
                    "clear_cpu_ms=%.1f\n",
            static_cast<long long>(filterMs), static_cast<long long>(refilterMs), static_cast<long long>(clearMs),
            cpu.at(0), cpu.at(1), cpu.at(2));
    }
    return 0;
}
