// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/commands.h"

#include "document/documenttree.h"
#include "document/namemarks.h"
#include "ini/treeio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

// Times the name marks of a document of SECTIONS sections of OPTIONS options each (by default ten
// of 100,000): the marking after a whole load, and one rename in a section of OPTIONS options.
int benchMarks(int argc, char *argv[], const QStringList &args)
{
    if (args.size() != 0 && args.size() != 2) {
        std::fputs("usage: saldrix_bench marks [SECTIONS OPTIONS]\n", stderr);
        return 2;
    }
    const int sections = args.isEmpty() ? 10 : args.at(0).toInt();
    const int options = args.isEmpty() ? 100000 : args.at(1).toInt();
    if (sections < 1 || options < 1) {
        std::fputs("marks: SECTIONS and OPTIONS must be positive\n", stderr);
        return 2;
    }
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("marks.ini"));
    {
        DocumentTree tree;
        for (int s = 0; s < sections; ++s) {
            const int section = tree.appendSection(QStringLiteral("section %1").arg(s));
            tree.reserveOptions(section, options);
            for (int o = 0; o < options; ++o)
                tree.appendOption(section, QStringLiteral("key%1").arg(o), QStringLiteral("value %1").arg(o));
            // A few names that do not come back as they are, as a real file might have.
            tree.setOptionText(section, 1, DocumentTree::NameColumn, QStringLiteral("key0"));
            tree.setOptionText(section, 2, DocumentTree::NameColumn, QStringLiteral(" spaced "));
        }
        SaveTreeToIni(tree, file);
    }

    QElapsedTimer timer;
    DocumentTree plain;
    timer.start();
    LoadTreeFromIni(plain, file);
    const double plainMs = double(timer.nsecsElapsed()) / 1e6;

    DocumentTree tree;
    NameMarks marks(&tree);
    timer.start();
    LoadTreeFromIni(tree, file);
    marks.finishNow();
    const double markedMs = double(timer.nsecsElapsed()) / 1e6;

    timer.start();
    NameMarks fresh(&plain);
    fresh.finishNow();
    const double markingMs = double(timer.nsecsElapsed()) / 1e6;

    constexpr int Edits = 50;
    timer.start();
    for (int i = 0; i < Edits; ++i) {
        tree.setData(tree.optionIndex(0, 10 + i),
            i % 2 == 0 ? QStringLiteral("key0") : QStringLiteral("renamed %1").arg(i), Qt::EditRole);
    }
    const double editMs = double(timer.nsecsElapsed()) / 1e6 / Edits;

    std::printf("document: %d sections x %d options, %lld marked after the edits\n", sections, options,
        static_cast<long long>(marks.markedCount()));
    std::printf(
        "load without marks: %.1f ms; with marks: %.1f ms; marking alone: %.1f ms\n", plainMs, markedMs, markingMs);
    std::printf("one rename in a section of %d options: %.2f ms (mean of %d)\n", options, editMs, Edits);
    return 0;
}
