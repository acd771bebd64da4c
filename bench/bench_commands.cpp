// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/commands.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

struct Sample {
    double ms = 0; // elapsed
    double cpuMs = 0; // the program's user and system time
    double peakRssMb = 0;
    int exitCode = -1;
    QByteArray out;
};

// Runs the program to its end, its standard output captured (or dropped), and measures it from
// outside as wait4 reports it.
Sample runMeasured(const QByteArray &program, const QList<QByteArray> &arguments, bool capture)
{
    Sample sample;
    int pipeEnds[2] = { -1, -1 };
    if (capture && ::pipe(pipeEnds) != 0)
        return sample;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (capture) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    std::vector<char *> argv { const_cast<char *>(program.constData()) };
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    pid_t child = -1;
    const int spawned = posix_spawn(&child, program.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (capture) {
        ::close(pipeEnds[1]);
        char buffer[4096];
        for (ssize_t got; spawned == 0 && (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
            sample.out.append(buffer, got);
        ::close(pipeEnds[0]);
    }
    if (spawned != 0)
        return sample;
    int status = 0;
    rusage usage {};
    ::wait4(child, &status, 0, &usage);
    sample.ms = double(timer.nsecsElapsed()) / 1e6;
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    sample.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    sample.peakRssMb = double(usage.ru_maxrss) / 1024.0;
    sample.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return sample;
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().trimmed() : QByteArray("?");
}

QByteArray middleLine(const QByteArray &lines)
{
    const QList<QByteArray> list = lines.split('\n');
    return list.size() < 2 ? QByteArray() : list.at((list.size() - 1) / 2);
}

void printSummary(const char *what, std::vector<Sample> samples, double fileMb)
{
    const auto median = [&samples](double Sample::*field) {
        std::vector<double> values;
        for (const Sample &s : samples)
            values.push_back(s.*field);
        std::sort(values.begin(), values.end());
        return values.empty() ? 0.0 : values[values.size() / 2];
    };
    const auto most = [&samples](double Sample::*field) {
        double value = 0;
        for (const Sample &s : samples)
            value = std::max(value, s.*field);
        return value;
    };
    const auto least = [&samples](double Sample::*field) {
        double value = samples.empty() ? 0 : samples.front().*field;
        for (const Sample &s : samples)
            value = std::min(value, s.*field);
        return value;
    };
    std::printf("%s: median_ms=%.0f best_ms=%.0f worst_ms=%.0f median_cpu_ms=%.0f worst_cpu_ms=%.0f "
                "peak_rss_mb=%.0f (%.2f x the file)\n",
        what, median(&Sample::ms), least(&Sample::ms), most(&Sample::ms), median(&Sample::cpuMs), most(&Sample::cpuMs),
        most(&Sample::peakRssMb), most(&Sample::peakRssMb) / fileMb);
}

} // namespace

// Runs the program's --get and --set on FILE (--set on a copy beside it) RUNS times each, from
// outside, as a script would, on the option in the middle of the middle section.
int benchCommands(int argc, char *argv[], const QStringList &args)
{
    if (args.isEmpty() || args.size() > 2) {
        std::fputs("usage: saldrix_bench commands FILE [RUNS]\n", stderr);
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QByteArray program
        = QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/../app/yorvsaldrix"));
    const QByteArray file = QFile::encodeName(args.at(0));
    const int runs = args.size() > 1 ? args.at(1).toInt() : 9;
    const QByteArray copy = file + ".commands-bench";
    QFile::remove(QFile::decodeName(copy));
    if (!QFile::copy(args.at(0), QFile::decodeName(copy))) {
        std::fprintf(stderr, "Unable to copy %s\n", file.constData());
        return 1;
    }
    const double fileMb = double(QFileInfo(args.at(0)).size()) / (1024.0 * 1024.0);
    const QByteArray section = middleLine(runMeasured(program, { "--list", file }, true).out);
    const QByteArray option = middleLine(runMeasured(program, { "--list", file, section }, true).out);
    std::printf("file=%s size_mb=%.1f section=%s option=%s runs=%d\nload average before: %s\n", file.constData(),
        fileMb, section.constData(), option.constData(), runs, loadAverage().constData());

    std::vector<Sample> gets;
    std::vector<Sample> sets;
    bool right = true;
    for (int run = 0; run < runs; ++run) {
        const Sample get = runMeasured(program, { "--get", file, section, option }, run == 0);
        right = right && get.exitCode == 0 && (run > 0 || !get.out.isEmpty());
        gets.push_back(get);
        const QByteArray value = "bench value " + QByteArray::number(run);
        const Sample set = runMeasured(program, { "--set", copy, section, option, value }, false);
        right = right && set.exitCode == 0;
        sets.push_back(set);
        right = right && runMeasured(program, { "--get", copy, section, option }, true).out == value + '\n';
        std::printf("run %d: get %.0f ms (cpu %.0f ms, %.0f MB)  set %.0f ms (cpu %.0f ms, %.0f MB)\n", run, get.ms,
            get.cpuMs, get.peakRssMb, set.ms, set.cpuMs, set.peakRssMb);
    }
    std::printf("load average after: %s\n", loadAverage().constData());
    printSummary("get", gets, fileMb);
    printSummary("set", sets, fileMb);
    QFile::remove(QFile::decodeName(copy));
    if (!right) {
        std::fputs("a command failed or read back another value\n", stderr);
        return 1;
    }
    return 0;
}
