// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/commands.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "ini/treeio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

// What the process holds now, from /proc/self/statm (pages).
double currentRssMb()
{
    long pages = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        long size = 0;
        if (std::fscanf(statm, "%ld %ld", &size, &pages) != 2)
            pages = 0;
        std::fclose(statm);
    }
    return static_cast<double>(pages) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The most the process has held since it started, from /proc/self/status. Not getrusage's
// ru_maxrss: that also counts what the parent held in the child before the exec, so a program
// started from a large one (a script's interpreter, say) reports at least the parent's size.
double peakRssMb()
{
    double kilobytes = 0;
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status) != nullptr) {
            if (std::strncmp(line, "VmHWM:", 6) == 0)
                kilobytes = std::atof(line + 6);
        }
        std::fclose(status);
    }
    return kilobytes / 1024.0;
}

// Processor time of the whole process: on a machine shared with other work it varies far less
// than the elapsed time does.
double cpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace

// Loads IN into a document tree and saves the tree to OUT, timing each step. With --keep-layout
// the save keeps the file's layout; with --edit, one value in the middle of the file changes first.
int benchRoundtrip(int argc, char *argv[], const QStringList &arguments)
{
    QStringList args = arguments;
    const bool keepLayout = args.removeAll(QStringLiteral("--keep-layout")) > 0;
    const bool edit = args.removeAll(QStringLiteral("--edit")) > 0;
    if (args.size() != 2) {
        std::fputs("usage: saldrix_bench roundtrip [--keep-layout] [--edit] IN OUT\n", stderr);
        return 2;
    }
    // What the program holds before it reads anything: Qt's libraries, mapped and relocated. The
    // memory a file costs is what grows above it.
    const double startMb = currentRssMb();
    QCoreApplication app(argc, argv);
    // The application object alone takes more (locale and text-codec data): growth is also given
    // above this, where a Qt program has started and read nothing yet.
    const double appMb = currentRssMb();
    DocumentTree tree;
    QElapsedTimer timer;
    try {
        const double cpuStart = cpuMs();
        timer.start();
        LoadTreeFromIni(tree, args.at(0));
        const qint64 loadNs = timer.nsecsElapsed();
        const double cpuLoaded = cpuMs();
        const double heldMb = currentRssMb(); // the document loaded, the file's bytes freed
        const int middle = tree.sectionCount() / 2;
        if (edit && middle < tree.sectionCount() && tree.optionCount(middle) > 0)
            tree.setOptionText(middle, 0, DocumentTree::ValueColumn, QStringLiteral("edited"));
        timer.start();
        if (keepLayout)
            saveTreeKeepingLayout(tree, args.at(1));
        else
            SaveTreeToIni(tree, args.at(1));
        const qint64 saveNs = timer.nsecsElapsed();
        const double cpuSaved = cpuMs();
        qint64 options = 0;
        for (int section = 0; section < tree.sectionCount(); ++section)
            options += tree.optionCount(section);
        const double fileMb = static_cast<double>(QFileInfo(args.at(0)).size()) / (1024.0 * 1024.0);
        const double peakMb = peakRssMb();
        const double growthMb = peakMb - startMb;
        std::printf("load_ms=%.1f save_ms=%.1f sections=%d options=%lld peak_rss_mb=%.1f held_rss_mb=%.1f "
                    "load_cpu_ms=%.1f save_cpu_ms=%.1f start_rss_mb=%.1f growth_mb=%.1f growth_per_file=%.2f "
                    "app_rss_mb=%.1f growth_after_app_mb=%.1f\n",
            static_cast<double>(loadNs) / 1e6, static_cast<double>(saveNs) / 1e6, tree.sectionCount(),
            static_cast<long long>(options), peakMb, heldMb, cpuLoaded - cpuStart, cpuSaved - cpuLoaded, startMb,
            growthMb, fileMb > 0 ? growthMb / fileMb : 0.0, appMb, peakMb - appMb);
    } catch (const SaldrixError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
