// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Any tree and any searched text: the search finds exactly the nodes that a plain QString search
// of their texts finds, in display order, and each place it reports holds the text.
//
// The input: the first byte picks what is searched (bit 0 names, bit 1 values, bit 2 letter case
// matters); the rest, as UTF-8, is a list of records separated by U+001E. The first record is the
// searched text. A record that starts with U+001D is a section with the rest as its name; any
// other is an option of the last section, its name and value split at the first U+001F.
#include "document/documenttree.h"
#include "find/treefind.h"
#include "fuzzsupport.h"

using namespace fuzzing;

namespace {

QString describe(const DocumentTree &tree, const FindOptions &options)
{
    return QStringLiteral("searched: '%1' names %2 values %3 case %4\n")
               .arg(options.text)
               .arg(options.names)
               .arg(options.values)
               .arg(options.matchCase)
        + describeTree(tree);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const uint8_t choice = size > 0 ? data[0] : 0;
    const QString text
        = size > 1 ? QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)) : QString();
    const qsizetype searchedEnd = text.indexOf(RecordSeparator);
    FindOptions options;
    options.names = (choice & 1) != 0;
    options.values = (choice & 2) != 0;
    options.matchCase = (choice & 4) != 0;
    options.text = text.first(searchedEnd < 0 ? text.size() : searchedEnd);
    DocumentTree tree;
    if (searchedEnd >= 0)
        appendRecords(tree, QStringView(text).sliced(searchedEnd + 1));

    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const auto holds = [&](const QString &cell) { return !options.text.isEmpty() && cell.contains(options.text, cs); };
    std::vector<NodePosition> expected;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        if (options.names && holds(tree.sectionText(s, DocumentTree::NameColumn)))
            expected.push_back({ s, -1 });
        for (int o = 0; o < tree.optionCount(s); ++o) {
            if ((options.names && holds(tree.optionText(s, o, DocumentTree::NameColumn)))
                || (options.values && holds(tree.optionText(s, o, DocumentTree::ValueColumn))))
                expected.push_back({ s, o });
        }
    }
    if (findInTree(tree, options).positions() != expected)
        brokenPromise("the search finds the nodes whose texts hold the searched text", describe(tree, options));

    // Every place reported in a text holds the searched text there.
    const TreeMatcher matcher(options);
    if (matcher.isEmpty())
        return 0;
    std::vector<qsizetype> starts;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        for (int o = 0; o < tree.optionCount(s); ++o) {
            const QString value = tree.optionText(s, o, DocumentTree::ValueColumn);
            qsizetype length = 0;
            if (!matcher.findAll(value, starts, length))
                continue;
            if (starts.empty() == holds(value))
                brokenPromise("a text where the search finds no place does not hold it", describe(tree, options));
            for (size_t i = 0; i < starts.size(); ++i) {
                if ((i > 0 && starts[i] <= starts[i - 1]) || starts[i] + length > value.size()
                    || QStringView(value).mid(starts[i], length).compare(options.text, cs) != 0)
                    brokenPromise("each place found holds the searched text", describe(tree, options));
            }
        }
    }
    return 0;
}
