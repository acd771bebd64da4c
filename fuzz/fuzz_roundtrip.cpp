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

namespace {

QString describe(const DocumentTree &tree)
{
    QString text;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        text += u'[' + tree.sectionText(s, DocumentTree::NameColumn) + QStringLiteral("]\n");
        for (int o = 0; o < tree.optionCount(s); ++o)
            text += QStringLiteral("  '%1' = '%2'\n")
                        .arg(tree.optionText(s, o, DocumentTree::NameColumn),
                            tree.optionText(s, o, DocumentTree::ValueColumn));
    }
    return text;
}

} // namespace

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
                        QString::fromLatin1(twice.toPercentEncoding(" []=;#\n")), describe(second)));
        }
    } catch (const SaldrixError &error) {
        brokenPromise("a file in a scratch folder loads and saves", error.message());
    }
    return 0;
}
