// saldrix_bench find FILE TEXT [--names] [--values] [--case]: loads the file and times one search
// of the whole tree, as the find bar makes it for a new text (the fastest of five). Without --names or --values both are
// searched; without --case letter case is ignored. Prints find_ms and the number of matching nodes.
#include "bench/commands.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "document/treeio.h"
#include "editor/treefind.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

int benchFind(int argc, char *argv[], const QStringList &args)
{
    const QCoreApplication app(argc, argv);
    FindOptions options;
    QStringList files;
    bool names = false;
    bool values = false;
    for (const QString &arg : args) {
        if (arg == QStringLiteral("--names"))
            names = true;
        else if (arg == QStringLiteral("--values"))
            values = true;
        else if (arg == QStringLiteral("--case"))
            options.matchCase = true;
        else
            files << arg;
    }
    if (files.size() != 2) {
        std::fputs("usage: saldrix_bench find FILE TEXT [--names] [--values] [--case]\n", stderr);
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
    std::vector<NodePosition> matches;
    qint64 ms = -1;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        clock.start();
        matches = findInTree(tree, options);
        const qint64 elapsed = clock.elapsed();
        ms = ms < 0 ? elapsed : std::min(ms, elapsed);
    }
    std::printf("find_ms=%lld matches=%zu\n", static_cast<long long>(ms), matches.size());
    return 0;
}
