// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The compact set of matches against the plain list of positions it stands for: the count, the
// n-th match, where any node stands among the matches, and whether it is one, across the 64-option
// words of large sections.
#include "find/treematches.h"

#include <QTest>

#include <algorithm>
#include <random>

namespace {

// Every node of `sections` sections of the given option counts, in display order.
std::vector<NodePosition> everyNode(const std::vector<int> &optionCounts)
{
    std::vector<NodePosition> nodes;
    for (int section = 0; section < int(optionCounts.size()); ++section) {
        nodes.push_back({ section, -1 });
        for (int option = 0; option < optionCounts[size_t(section)]; ++option)
            nodes.push_back({ section, option });
    }
    return nodes;
}

} // namespace

class tst_TreeMatches : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answersAsThePlainListDoes_data();
    void answersAsThePlainListDoes();
    void buildingDropsSectionsWithoutMatches();
};

void tst_TreeMatches::answersAsThePlainListDoes_data()
{
    QTest::addColumn<int>("seed");
    QTest::addColumn<int>("percent"); // of the nodes that match
    QTest::newRow("none") << 1 << 0;
    QTest::newRow("few") << 2 << 3;
    QTest::newRow("half") << 3 << 50;
    QTest::newRow("nearly all") << 4 << 97;
    QTest::newRow("all") << 5 << 100;
}

void tst_TreeMatches::answersAsThePlainListDoes()
{
    QFETCH(int, seed);
    QFETCH(int, percent);
    std::mt19937 random(static_cast<unsigned>(seed));
    // Empty sections, sections just under, at and over a word's 64 options, and a long one.
    const std::vector<int> optionCounts { 0, 1, 63, 64, 65, 0, 130, 2, 1000, 5 };
    const std::vector<NodePosition> nodes = everyNode(optionCounts);
    std::vector<NodePosition> chosen;
    for (const NodePosition &node : nodes) {
        if (int(random() % 100) < percent)
            chosen.push_back(node);
    }
    const TreeMatches matches = TreeMatches::fromPositions(chosen);
    QCOMPARE(matches.size(), qsizetype(chosen.size()));
    QCOMPARE(matches.empty(), chosen.empty());
    QVERIFY(matches.positions() == chosen);
    for (size_t i = 0; i < chosen.size(); ++i)
        QCOMPARE(matches.at(qsizetype(i)), chosen[i]);
    // Every node, and places past the last section and past a section's last option.
    std::vector<NodePosition> asked = nodes;
    asked.push_back({ int(optionCounts.size()), -1 });
    asked.push_back({ 8, 1000 });
    asked.push_back({ 1, 5 });
    asked.push_back({ -1, -1 });
    for (const NodePosition &node : asked) {
        const auto before = std::lower_bound(chosen.cbegin(), chosen.cend(), node) - chosen.cbegin();
        const bool isMatch = std::binary_search(chosen.cbegin(), chosen.cend(), node);
        QCOMPARE(matches.countBefore(node), qsizetype(before));
        QCOMPARE(matches.contains(node), isMatch);
    }
    // The sections' counts add up, and each names the options it holds.
    qsizetype total = 0;
    for (const TreeMatches::Section &section : matches.sections()) {
        QCOMPARE(section.before, total);
        total += section.matchingOptions + (section.self ? 1 : 0);
        int seen = 0;
        matches.forEachOption(section, [&](int option) {
            QVERIFY(matches.optionMatches(section, option));
            ++seen;
        });
        QCOMPARE(seen, section.matchingOptions);
    }
    QCOMPARE(total, matches.size());
}

void tst_TreeMatches::buildingDropsSectionsWithoutMatches()
{
    TreeMatches matches;
    matches.beginSection(0, false, 100);
    matches.endSection();
    matches.beginSection(1, true, 0);
    matches.endSection();
    matches.beginSection(2, false, 200);
    matches.markOption(199);
    matches.markOption(64);
    matches.endSection();
    matches.beginSection(3, false, 70);
    matches.endSection();
    QCOMPARE(matches.sections().size(), size_t(2));
    QVERIFY(matches.positions() == (std::vector<NodePosition> { { 1, -1 }, { 2, 64 }, { 2, 199 } }));
    QCOMPARE(matches.countBefore({ 3, -1 }), qsizetype(3));
    QCOMPARE(matches.at(2), (NodePosition { 2, 199 }));
    QVERIFY(!matches.contains({ 0, 5 }));
    QVERIFY(!matches.contains({ 2, 200 }));
}

QTEST_GUILESS_MAIN(tst_TreeMatches)

#include "tst_treematches.moc"
