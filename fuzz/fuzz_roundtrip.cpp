// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as a file: loading them and saving the tree neither crashes nor fails, and once saved,
// the file is settled: loading and saving it again writes the same bytes.
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "document/treeio.h"
#include "fuzzsupport.h"

using namespace fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString input = scratchFile("input.ini");
    static const QString saved = scratchFile("saved.ini");
    writeFile(input, data, size);
    try {
        DocumentTree first;
        LoadTreeFromIni(first, input);
        SaveTreeToIni(first, saved);
        const QByteArray once = readFile(saved);

        DocumentTree second;
        LoadTreeFromIni(second, saved);
        SaveTreeToIni(second, saved);
        const QByteArray twice = readFile(saved);
        if (once != twice) {
            brokenPromise("a saved file loads and saves as the same bytes",
                QStringLiteral("first save:\n%1\nsecond save:\n%2\ntree after the first save:\n%3")
                    .arg(QString::fromLatin1(once.toPercentEncoding(" []=;#\n")),
                        QString::fromLatin1(twice.toPercentEncoding(" []=;#\n")), describeTree(second)));
        }
    } catch (const SaldrixError &error) {
        brokenPromise("a file in a scratch folder loads and saves", error.message());
    }
    return 0;
}
