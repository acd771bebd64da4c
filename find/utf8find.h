// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

#include <array>
#include <vector>

// Finds a text in valid UTF-8 bytes where they stand, as QStringMatcher finds it in the same text
// decoded: with letter case ignored, two characters are alike when their simple case folds are.
// A character may then match one of another length (U+212A KELVIN SIGN is three bytes and matches
// "k"), so every match reports its end as well as its start.
class Utf8Finder {
public:
    Utf8Finder(QStringView text, bool matchCase);

    // False for a text that UTF-8 cannot hold (a lone surrogate), which only a decoded search
    // finds, and for the empty text.
    [[nodiscard]] bool usable() const { return m_usable; }

    // The first match that starts at or after `from`: returns its start and sets `end`, or -1.
    [[nodiscard]] qsizetype indexIn(const unsigned char *text, qsizetype size, qsizetype from, qsizetype &end) const;

private:
    // The characters a searched character matches, as UTF-8.
    struct Variant {
        std::array<unsigned char, 4> bytes;
        int length;
    };
    // The bytes one position may hold for a match, at most four of them (else any byte passes).
    struct Probe {
        std::array<unsigned char, 4> bytes {};
        bool any = true;
    };

    [[nodiscard]] qsizetype matchAfterFirst(const unsigned char *text, qsizetype size, qsizetype at) const;

    std::vector<char32_t> m_folded; // the searched characters, folded unless case matters
    std::vector<Variant> m_first; // what the first character matches
    Probe m_firstEnd; // the last byte of the first character
    Probe m_firstBefore; // the byte before it, where every form of the first character has one length
    Probe m_lastEnd; // the last byte of the last character, m_lastDistance bytes further on
    qsizetype m_lastDistance = -1; // -1 when the characters between have no fixed length
    bool m_matchCase;
    bool m_usable = false;
};
