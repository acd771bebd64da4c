// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Any tree, saved and loaded back: every node without a name mark comes back as it is. A section
// comes back under its name, in its order among the unmarked sections; an option comes back in
// the section its own is saved as (or in the one that an option saved above it opens, when that
// option's line reads as a section header), and reading its name there gives its value.
//
// The input: the first byte picks the text format; the rest, as UTF-8, is a list of records
// separated by U+001E. A record that starts with U+001D is a section with the rest as its name;
// any other is an option of the last section, its name and value split at the first U+001F.
#include "document/documenttree.h"
#include "document/namemarks.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"
#include "fuzzsupport.h"
#include "ini/treeio.h"

#include <QHash>
#include <QSet>

using namespace fuzzing;

namespace {

void build(DocumentTree &tree, const uint8_t *data, size_t size)
{
    const uint8_t choice = size > 0 ? data[0] : 0;
    TextFormat format;
    format.encoding = TextFormat::Encoding(choice & 3);
    format.lineEnd = TextFormat::LineEnd((choice >> 2) % 3);
    // The formats a load can give: UTF-16 is recognised by its mark alone, and Latin-1 has none.
    format.byteOrderMark = format.encoding == TextFormat::Encoding::Utf16LE
        || format.encoding == TextFormat::Encoding::Utf16BE
        || (format.encoding == TextFormat::Encoding::Utf8 && (choice & 32) != 0);
    tree.setSourceFormat(format);
    const QString text
        = size > 1 ? QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)) : QString();
    appendRecords(tree, text);
}

QString describe(const DocumentTree &tree, const NameMarks *marks)
{
    if (marks == nullptr)
        return describeTree(tree);
    return describeTree(tree, [marks](int section, int option) {
        return (option < 0 ? marks->sectionMark(section) : marks->optionMark(section, option)).text();
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString file = scratchFile("marks.ini");
    DocumentTree tree;
    build(tree, data, size);
    NameMarks marks(&tree);
    marks.finishNow();
    DocumentTree loaded;
    try {
        SaveTreeToIni(tree, file);
        LoadTreeFromIni(loaded, file);
    } catch (const SaldrixError &error) {
        brokenPromise("a tree saves into a scratch folder and loads back", error.message());
    }
    const auto broken = [&](const char *promise) {
        brokenPromise(promise,
            QStringLiteral("tree:\n%1\nloaded back:\n%2").arg(describe(tree, &marks), describe(loaded, nullptr)));
    };

    // The names each group of sections saved as one may come back under: its stored name, or what
    // a mark says one of them loads back as.
    QHash<QString, QStringList> groupNames;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        const QString &name = tree.sectionText(s, DocumentTree::NameColumn);
        QStringList &names = groupNames[storedName(name)];
        if (names.isEmpty())
            names << storedName(name);
        const NameMark mark = marks.sectionMark(s);
        if (mark.kind == NameMark::Kind::LoadsBackAs)
            names << mark.name;
    }

    // Unmarked sections come back in their order, apart from one that a line above it opens (its
    // mark says so): it stands where that line is.
    qsizetype next = 0;
    QSet<QString> openedAbove;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        const QString &name = tree.sectionText(s, DocumentTree::NameColumn);
        if (marks.sectionMark(s).isNone()) {
            const bool anywhere = openedAbove.contains(name);
            bool found = false;
            for (qsizetype l = anywhere ? 0 : next; l < loaded.sectionCount() && !found; ++l) {
                found = loaded.sectionText(int(l), DocumentTree::NameColumn) == name;
                if (found && !anywhere)
                    next = l + 1;
            }
            if (!found)
                broken("a section without a mark comes back under its name, in its place");
        }
        for (int o = 0; o < tree.optionCount(s); ++o) {
            if (const NameMark mark = marks.optionMark(s, o); mark.kind == NameMark::Kind::ReadsAsSection)
                openedAbove.insert(mark.name);
        }
    }

    // Where each group's next option is read back: a group's sections are saved one after the other
    // under one header, and an option whose line reads as a header opens a section of its own,
    // which takes the options saved after it.
    QHash<QString, QStringList> readBackIn = groupNames;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        const QString &sectionName = tree.sectionText(s, DocumentTree::NameColumn);
        if (sectionName.isEmpty())
            continue; // the section's own mark speaks for its options
        QStringList &names = readBackIn[storedName(sectionName)];
        for (int o = 0; o < tree.optionCount(s); ++o) {
            const NameMark optionMark = marks.optionMark(s, o);
            if (optionMark.kind == NameMark::Kind::ReadsAsSection) {
                names = QStringList { optionMark.name } + groupNames.value(optionMark.name);
                continue;
            }
            if (!optionMark.isNone())
                continue;
            const QString &name = tree.optionText(s, o, DocumentTree::NameColumn);
            const QString &value = tree.optionText(s, o, DocumentTree::ValueColumn);
            // The first option of that name in those sections is the one a read finds.
            bool found = false;
            bool cameBack = false;
            for (int l = 0; l < loaded.sectionCount() && !found; ++l) {
                if (!names.contains(loaded.sectionText(l, DocumentTree::NameColumn)))
                    continue;
                for (int p = 0; p < loaded.optionCount(l) && !found; ++p) {
                    found = loaded.optionText(l, p, DocumentTree::NameColumn) == name;
                    cameBack = found && loaded.optionText(l, p, DocumentTree::ValueColumn) == value;
                }
            }
            if (!cameBack)
                broken("an option without a mark reads back with its value");
        }
    }
    return 0;
}
