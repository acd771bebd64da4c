// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/commands.h"

#include "disk/recoverycopy.h"
#include "document/documenttree.h"
#include "ini/treeio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

// Times what the recovery copy costs on a document of SECTIONS sections of OPTIONS options each
// (by default ten of 100,000): the window's part, the copy of the tree handed to the worker and
// the first edit of a section while the worker still holds it; and the worker's part, writing the
// copy. Each figure is the best of five runs.
int benchRecovery(int argc, char *argv[], const QStringList &args)
{
    if (args.size() != 0 && args.size() != 2) {
        std::fputs("usage: saldrix_bench recovery [SECTIONS OPTIONS]\n", stderr);
        return 2;
    }
    const int sections = args.isEmpty() ? 10 : args.at(0).toInt();
    const int options = args.isEmpty() ? 100000 : args.at(1).toInt();
    if (sections < 1 || options < 1) {
        std::fputs("recovery: SECTIONS and OPTIONS must be positive\n", stderr);
        return 2;
    }
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    RecoveryCopy::setFolder(dir.filePath(QStringLiteral("recovery")));
    DocumentTree tree;
    for (int s = 0; s < sections; ++s) {
        const int section = tree.appendSection(QStringLiteral("section %1").arg(s));
        tree.reserveOptions(section, options);
        for (int o = 0; o < options; ++o)
            tree.appendOption(section, QStringLiteral("key%1").arg(o), QStringLiteral("value %1").arg(o));
    }
    const std::unique_ptr<RecoveryCopy> copy = RecoveryCopy::create(dir.filePath(QStringLiteral("doc.ini")));

    double snapshotMs = 1e9;
    double editMs = 1e9;
    double writeMs = 1e9;
    QElapsedTimer timer;
    for (int run = 0; run < 5; ++run) {
        timer.start();
        DocumentContents contents = tree.copyContents();
        snapshotMs = std::min(snapshotMs, double(timer.nsecsElapsed()) / 1e6);
        // The edit that follows a snapshot pays for the section's own texts once.
        timer.start();
        tree.setOptionText(run % sections, 0, DocumentTree::ValueColumn, QStringLiteral("edited %1").arg(run));
        editMs = std::min(editMs, double(timer.nsecsElapsed()) / 1e6);
        timer.start();
        DocumentTree written;
        written.append(std::move(contents));
        SaveTreeToIni(written, copy->copyPath());
        writeMs = std::min(writeMs, double(timer.nsecsElapsed()) / 1e6);
    }
    copy->remove();
    std::printf("document: %d sections x %d options\n", sections, options);
    std::printf("window: copy of the tree %.1f ms, first edit of a section after it %.1f ms\n", snapshotMs, editMs);
    std::printf("worker: writing the recovery copy %.1f ms\n", writeMs);
    return 0;
}
