// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <vector>

// A node by position: option -1 for the section itself.
struct NodePosition {
    int section = 0;
    int option = -1;
    friend bool operator==(const NodePosition &, const NodePosition &) = default;
    friend bool operator<(const NodePosition &a, const NodePosition &b)
    {
        return a.section < b.section || (a.section == b.section && a.option < b.option);
    }
};

// Nodes of a document in display order, each once, as a search finds them: per section that holds
// one, whether the section itself is among them, and one bit for each of its options. A million
// matches cost 125 KB, and counting them, finding the n-th and finding where a node stands among
// them cost per section, not per match.
class TreeMatches {
public:
    // A section with at least one node among the matches.
    struct Section {
        int section = 0; // its row in the document
        bool self = false; // the section itself matches
        int optionCount = 0; // how many options its bits cover
        int matchingOptions = 0;
        qsizetype before = 0; // matches in the sections before it
        size_t firstWord = 0; // its first bit word
    };

    TreeMatches() = default;
    // The given nodes, in display order and each once.
    [[nodiscard]] static TreeMatches fromPositions(const std::vector<NodePosition> &positions);
    TreeMatches(std::initializer_list<NodePosition> positions)
        : TreeMatches(fromPositions(std::vector<NodePosition>(positions)))
    {
    }

    [[nodiscard]] qsizetype size() const { return m_size; }
    [[nodiscard]] bool empty() const { return m_size == 0; }
    [[nodiscard]] const std::vector<Section> &sections() const { return m_sections; }

    [[nodiscard]] bool optionMatches(const Section &section, int option) const
    {
        return option >= 0 && option < section.optionCount
            && ((m_words[section.firstWord + size_t(option) / 64] >> (unsigned(option) % 64)) & 1U) != 0;
    }
    // Calls f(option) for each matching option of the section, ascending.
    template <typename F> void forEachOption(const Section &section, F &&f) const
    {
        const size_t words = (size_t(section.optionCount) + 63) / 64;
        for (size_t w = 0; w < words; ++w) {
            for (std::uint64_t bits = m_words[section.firstWord + w]; bits != 0; bits &= bits - 1)
                f(int(w * 64) + std::countr_zero(bits));
        }
    }

    [[nodiscard]] bool contains(const NodePosition &node) const;
    // The match at the given place, which must be below size().
    [[nodiscard]] NodePosition at(qsizetype index) const;
    // How many matches stand before the node in display order (the node itself not counted).
    [[nodiscard]] qsizetype countBefore(const NodePosition &node) const;
    // Every match, in display order.
    [[nodiscard]] std::vector<NodePosition> positions() const;

    friend bool operator==(const TreeMatches &a, const TreeMatches &b) { return a.positions() == b.positions(); }

    // Building, section after section in document order: begin, mark options, end.
    void beginSection(int section, bool self, int optionCount);
    void markOption(int option) { m_words[m_sections.back().firstWord + size_t(option) / 64] |= bit(option); }
    // Drops the section again when nothing in it matched.
    void endSection();

private:
    [[nodiscard]] static std::uint64_t bit(int option) { return std::uint64_t(1) << (unsigned(option) % 64); }
    // The first section entry at or after the document row.
    [[nodiscard]] std::vector<Section>::const_iterator sectionAtOrAfter(int section) const;

    std::vector<Section> m_sections;
    std::vector<std::uint64_t> m_words;
    qsizetype m_size = 0;
};
