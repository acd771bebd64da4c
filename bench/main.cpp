// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/commands.h"

#include <csignal>
#include <cstdio>
#include <cstring>

#ifdef SALDRIX_BENCH_CORE_ONLY
#include <climits>
#include <string>
#include <unistd.h>
#endif

namespace {

void usage()
{
    std::fputs("usage: saldrix_bench roundtrip [--keep-layout] [--edit] IN OUT\n"
               "       saldrix_bench generate DIR | --dense FILE\n"
               "       saldrix_bench view [--stalls] FILE\n"
               "       saldrix_bench export IN OUT [--title-first] [--separator TEXT] [--volume] [--genre]\n"
               "                                   [--numtracks] [--separator-line TEXT]\n"
               "       saldrix_bench find FILE TEXT [--names] [--values] [--case]\n"
               "       saldrix_bench undo FILE [--every-other]\n"
               "       saldrix_bench marks [SECTIONS OPTIONS]\n"
               "       saldrix_bench recovery [SECTIONS OPTIONS]\n"
               "       saldrix_bench commands FILE [RUNS]\n",
        stderr);
}

#ifdef SALDRIX_BENCH_CORE_ONLY
// Runs the command in saldrix_bench_ui, which stands in the same folder as this program.
int runInUiProgram(char *argv[])
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        std::perror("saldrix_bench");
        return 2;
    }
    std::string path(self, size_t(length));
    path = path.substr(0, path.rfind('/') + 1) + "saldrix_bench_ui";
    ::execv(path.c_str(), argv);
    std::perror(path.c_str());
    return 2;
}
#endif

} // namespace

int main(int argc, char *argv[])
{
    // As in the editor: a write past a file-size limit fails instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        usage();
        return 2;
    }
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const char *command = argv[1];
    if (std::strcmp(command, "roundtrip") == 0)
        return benchRoundtrip(argc, argv, args);
#ifdef SALDRIX_BENCH_CORE_ONLY
    return runInUiProgram(argv);
#else
    if (std::strcmp(command, "generate") == 0)
        return benchGenerate(argc, argv, args);
    if (std::strcmp(command, "view") == 0)
        return benchView(argc, argv, args);
    if (std::strcmp(command, "export") == 0)
        return benchExport(argc, argv, args);
    if (std::strcmp(command, "find") == 0)
        return benchFind(argc, argv, args);
    if (std::strcmp(command, "undo") == 0)
        return benchUndo(argc, argv, args);
    if (std::strcmp(command, "marks") == 0)
        return benchMarks(argc, argv, args);
    if (std::strcmp(command, "recovery") == 0)
        return benchRecovery(argc, argv, args);
    if (std::strcmp(command, "commands") == 0)
        return benchCommands(argc, argv, args);
    usage();
    return 2;
#endif
}
