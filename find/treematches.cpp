// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "find/treematches.h"

#include <algorithm>
#include <iterator>

TreeMatches TreeMatches::fromPositions(const std::vector<NodePosition> &positions)
{
    TreeMatches matches;
    for (auto node = positions.cbegin(); node != positions.cend();) {
        auto end = node;
        int highest = -1;
        bool self = false;
        for (; end != positions.cend() && end->section == node->section; ++end) {
            highest = std::max(highest, end->option);
            self = self || end->option < 0;
        }
        matches.beginSection(node->section, self, highest + 1);
        for (; node != end; ++node) {
            if (node->option >= 0)
                matches.markOption(node->option);
        }
        matches.endSection();
    }
    return matches;
}

void TreeMatches::beginSection(int section, bool self, int optionCount)
{
    Section entry;
    entry.section = section;
    entry.self = self;
    entry.optionCount = optionCount;
    entry.before = m_size;
    entry.firstWord = m_words.size();
    m_sections.push_back(entry);
    m_words.resize(m_words.size() + (size_t(optionCount) + 63) / 64, 0);
}

void TreeMatches::endSection()
{
    Section &entry = m_sections.back();
    int count = 0;
    for (size_t w = entry.firstWord; w < m_words.size(); ++w)
        count += std::popcount(m_words[w]);
    entry.matchingOptions = count;
    if (count == 0 && !entry.self) {
        m_words.resize(entry.firstWord);
        m_sections.pop_back();
        return;
    }
    m_size += count + (entry.self ? 1 : 0);
}

std::vector<TreeMatches::Section>::const_iterator TreeMatches::sectionAtOrAfter(int section) const
{
    return std::lower_bound(m_sections.cbegin(), m_sections.cend(), section,
        [](const Section &entry, int row) { return entry.section < row; });
}

bool TreeMatches::contains(const NodePosition &node) const
{
    const auto entry = sectionAtOrAfter(node.section);
    if (entry == m_sections.cend() || entry->section != node.section)
        return false;
    return node.option < 0 ? entry->self : optionMatches(*entry, node.option);
}

qsizetype TreeMatches::countBefore(const NodePosition &node) const
{
    const auto entry = sectionAtOrAfter(node.section);
    if (entry == m_sections.cend())
        return m_size;
    if (entry->section != node.section || node.option < 0)
        return entry->before;
    // The section comes before its options.
    qsizetype count = entry->before + (entry->self ? 1 : 0);
    const size_t whole = size_t(std::min(node.option, entry->optionCount));
    for (size_t w = 0; w < whole / 64; ++w)
        count += std::popcount(m_words[entry->firstWord + w]);
    if (whole % 64 != 0)
        count += std::popcount(m_words[entry->firstWord + whole / 64] & ((std::uint64_t(1) << (whole % 64)) - 1));
    return count;
}

NodePosition TreeMatches::at(qsizetype index) const
{
    Q_ASSERT(index >= 0 && index < m_size);
    // The last section that starts at or before the index.
    const auto entry = std::prev(std::upper_bound(m_sections.cbegin(), m_sections.cend(), index,
        [](qsizetype wanted, const Section &section) { return wanted < section.before; }));
    qsizetype left = index - entry->before;
    if (entry->self) {
        if (left == 0)
            return { entry->section, -1 };
        --left;
    }
    for (size_t w = entry->firstWord;; ++w) {
        std::uint64_t bits = m_words[w];
        const int count = std::popcount(bits);
        if (left >= count) {
            left -= count;
            continue;
        }
        for (; left > 0; --left)
            bits &= bits - 1;
        return { entry->section, int((w - entry->firstWord) * 64) + std::countr_zero(bits) };
    }
}

std::vector<NodePosition> TreeMatches::positions() const
{
    std::vector<NodePosition> nodes;
    nodes.reserve(size_t(m_size));
    for (const Section &section : m_sections) {
        if (section.self)
            nodes.push_back({ section.section, -1 });
        forEachOption(section, [&](int option) { nodes.push_back({ section.section, option }); });
    }
    return nodes;
}
