#include "bench/commands.h"

#include <cstdio>
#include <cstring>

namespace {

void usage()
{
    std::fputs("usage: saldrix_bench roundtrip IN OUT\n"
               "       saldrix_bench generate DIR\n"
               "       saldrix_bench view [--stalls] FILE\n"
               "       saldrix_bench export IN OUT [--title-first] [--separator TEXT] [--volume] [--genre]\n"
               "                                   [--numtracks] [--separator-line TEXT]\n"
               "       saldrix_bench marks [SECTIONS OPTIONS]\n",
        stderr);
}

} // namespace

int main(int argc, char *argv[])
{
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
    if (std::strcmp(command, "generate") == 0)
        return benchGenerate(argc, argv, args);
    if (std::strcmp(command, "view") == 0)
        return benchView(argc, argv, args);
    if (std::strcmp(command, "export") == 0)
        return benchExport(argc, argv, args);
    if (std::strcmp(command, "marks") == 0)
        return benchMarks(argc, argv, args);
    usage();
    return 2;
}
