// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as a file: loading them and saving the tree neither crashes nor fails, the tree holds
// what the store's own reader reads, and once saved, the file is settled: loading and saving it
// again writes the same bytes. A save that keeps the layout writes the file back byte for byte,
// and after one change of a value it loads back as the tree, which undoing the change brings back
// to the file's own bytes.
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "fuzzsupport.h"
#include "ini/inifile.h"
#include "ini/treeio.h"

using namespace fuzzing;

namespace {

// The store's reader sees the same sections, each option name once with its first value, in order.
void checkAgainstTheStore(DocumentTree &tree, const QString &file)
{
    TIniFile ini(file);
    QStringList sections;
    ini.GetSectionNames(sections);
    QStringList held;
    for (int s = 0; s < tree.sectionCount(); ++s)
        held << tree.sectionText(s, DocumentTree::NameColumn);
    if (held != sections) {
        brokenPromise("the tree holds the sections the store reads",
            QStringLiteral("store: %1\ntree:\n%2").arg(sections.join(u'|'), describeTree(tree)));
    }
    for (int s = 0; s < tree.sectionCount(); ++s) {
        QStringList names;
        ini.GetOptionNames(sections.at(s), names);
        bool same = tree.optionCount(s) == names.size();
        for (int o = 0; same && o < tree.optionCount(s); ++o) {
            same = tree.optionText(s, o, DocumentTree::NameColumn) == names.at(o)
                && tree.optionText(s, o, DocumentTree::ValueColumn) == ini.ReadValue(sections.at(s), names.at(o), {});
        }
        if (!same) {
            brokenPromise("the tree holds the options the store reads",
                QStringLiteral("section %1, store: %2\ntree:\n%3")
                    .arg(sections.at(s), names.join(u'|'), describeTree(tree)));
        }
    }
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
        checkAgainstTheStore(first, input);
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

        DocumentTree kept;
        LoadTreeFromIni(kept, input);
        saveTreeKeepingLayout(kept, saved);
        const QByteArray asItWas(reinterpret_cast<const char *>(data), qsizetype(size));
        if (readFile(saved) != asItWas)
            brokenPromise("a save that keeps the layout writes an unchanged file back as it was", describeTree(kept));
        for (int s = 0; s < kept.sectionCount(); ++s) {
            if (kept.optionCount(s) == 0)
                continue;
            const int o = kept.optionCount(s) / 2;
            const QString value = kept.optionText(s, o, DocumentTree::ValueColumn);
            kept.setOptionText(s, o, DocumentTree::ValueColumn, QStringLiteral("changed"));
            saveTreeKeepingLayout(kept, saved);
            DocumentTree reloaded;
            LoadTreeFromIni(reloaded, saved);
            if (describeTree(reloaded) != describeTree(kept)) {
                brokenPromise("a value changed with the layout kept loads back as the tree",
                    QStringLiteral("tree:\n%1\nloaded back:\n%2").arg(describeTree(kept), describeTree(reloaded)));
            }
            kept.setOptionText(s, o, DocumentTree::ValueColumn, value);
            saveTreeKeepingLayout(kept, saved);
            if (readFile(saved) != asItWas)
                brokenPromise("a change undone writes the file back as it was", describeTree(kept));
            break;
        }
    } catch (const SaldrixError &error) {
        brokenPromise("a file in a scratch folder loads and saves", error.message());
    }
    return 0;
}
