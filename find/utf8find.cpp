// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "find/utf8find.h"

#include "document/textrules.h"

#include <QChar>
#include <QList>

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#if defined(__SSE2__) && !defined(SALDRIX_FIND_SCALAR)
#define SALDRIX_UTF8_SSE2 1
#include <emmintrin.h>
#endif

namespace {

// Every character whose simple case fold is another, under that fold: (fold, character), sorted.
// Case pairs end below U+20000.
const std::vector<std::pair<char32_t, char32_t>> &unfoldings()
{
    static const std::vector<std::pair<char32_t, char32_t>> table = [] {
        std::vector<std::pair<char32_t, char32_t>> pairs;
        for (char32_t c = 0; c < 0x20000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const char32_t folded = QChar::toCaseFolded(c);
            if (folded != c)
                pairs.push_back({ folded, c });
        }
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    }();
    return table;
}

int utf8Length(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Decodes the character at `at`; returns its length, or 0 where the bytes end inside it.
int decodeAt(const unsigned char *text, qsizetype size, qsizetype at, char32_t &c)
{
    const unsigned char lead = text[at];
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (size - at < length)
        return 0;
    switch (length) {
    case 1:
        c = lead;
        break;
    case 2:
        c = char32_t((lead & 0x1F) << 6) | (text[at + 1] & 0x3F);
        break;
    case 3:
        c = char32_t((lead & 0x0F) << 12) | char32_t((text[at + 1] & 0x3F) << 6) | (text[at + 2] & 0x3F);
        break;
    default:
        c = char32_t((lead & 0x07) << 18) | char32_t((text[at + 1] & 0x3F) << 12) | char32_t((text[at + 2] & 0x3F) << 6)
            | (text[at + 3] & 0x3F);
        break;
    }
    return length;
}

} // namespace

Utf8Finder::Utf8Finder(QStringView text, bool matchCase)
    : m_matchCase(matchCase)
{
    if (text.isEmpty() || holdsLoneSurrogate(text))
        return;
    for (const char32_t c : text.toUcs4())
        m_folded.push_back(matchCase ? c : QChar::toCaseFolded(c));
    const auto variantsOf = [this](char32_t folded) {
        std::vector<char32_t> variants;
        if (m_matchCase || QChar::toCaseFolded(folded) == folded)
            variants.push_back(folded);
        if (!m_matchCase) {
            const auto &table = unfoldings();
            auto at = std::lower_bound(table.begin(), table.end(), std::pair<char32_t, char32_t>(folded, 0));
            for (; at != table.end() && at->first == folded; ++at)
                variants.push_back(at->second);
        }
        return variants;
    };
    // The last bytes of the characters a searched character matches: the most telling byte of
    // each (CJK and Greek letters share their first bytes with their neighbours).
    const auto probeOf = [](const std::vector<char32_t> &variants) {
        Probe probe;
        int count = 0;
        for (const char32_t c : variants) {
            const auto last = static_cast<unsigned char>(
                utf8Length(c) == 1 ? c : 0x80 | (c & 0x3F)); // a trailing byte holds the low six bits
            if (std::find(probe.bytes.begin(), probe.bytes.begin() + count, last) != probe.bytes.begin() + count)
                continue;
            if (count == int(probe.bytes.size()))
                return Probe {};
            probe.bytes[size_t(count++)] = last;
        }
        std::fill(probe.bytes.begin() + count, probe.bytes.end(), probe.bytes[0]);
        probe.any = count == 0;
        return probe;
    };
    const std::vector<char32_t> first = variantsOf(m_folded.front());
    for (const char32_t c : first) {
        // Through UTF-16: QString's UTF-32 decoder takes a leading U+FEFF for a byte-order mark.
        const auto utf16 = QChar::fromUcs4(c);
        const QByteArray bytes = QStringView(utf16).toUtf8();
        Variant variant {};
        variant.length = int(bytes.size());
        std::memcpy(variant.bytes.data(), bytes.constData(), size_t(bytes.size()));
        m_first.push_back(variant);
    }
    m_firstEnd = probeOf(first);
    // Greek, Cyrillic and CJK letters share their last bytes with letters of other scripts, and
    // their lead bytes with their neighbours: the two together tell them apart.
    const int firstLength = m_first.front().length;
    if (firstLength > 1 && std::all_of(m_first.begin(), m_first.end(), [firstLength](const Variant &v) {
            return v.length == firstLength;
        })) {
        int count = 0;
        for (const Variant &v : m_first) {
            const unsigned char byte = v.bytes[size_t(firstLength - 2)];
            if (std::find(m_firstBefore.bytes.begin(), m_firstBefore.bytes.begin() + count, byte)
                != m_firstBefore.bytes.begin() + count)
                continue;
            if (count == int(m_firstBefore.bytes.size())) {
                count = 0;
                break;
            }
            m_firstBefore.bytes[size_t(count++)] = byte;
        }
        std::fill(m_firstBefore.bytes.begin() + count, m_firstBefore.bytes.end(), m_firstBefore.bytes[0]);
        m_firstBefore.any = count == 0;
    }
    if (m_folded.size() > 1) {
        // The last character's last byte stands at a fixed distance when every character between
        // has one length in all the forms it matches.
        qsizetype distance = 0;
        std::vector<char32_t> variants;
        for (size_t i = 1; i < m_folded.size() && distance >= 0; ++i) {
            variants = variantsOf(m_folded[i]);
            if (variants.empty()) {
                distance = -1;
                break;
            }
            const int length = utf8Length(variants.front());
            const bool fixed = std::all_of(
                variants.begin(), variants.end(), [length](char32_t c) { return utf8Length(c) == length; });
            distance = fixed ? distance + length : -1;
        }
        m_lastDistance = distance;
        if (distance > 0)
            m_lastEnd = probeOf(variants);
    }
    m_usable = !m_first.empty();
}

qsizetype Utf8Finder::matchAfterFirst(const unsigned char *text, qsizetype size, qsizetype at) const
{
    for (size_t i = 1; i < m_folded.size(); ++i) {
        if (at >= size)
            return -1;
        char32_t c = 0;
        const int length = decodeAt(text, size, at, c);
        if (length == 0 || (m_matchCase ? c : QChar::toCaseFolded(c)) != m_folded[i])
            return -1;
        at += length;
    }
    return at;
}

qsizetype Utf8Finder::indexIn(const unsigned char *text, qsizetype size, qsizetype from, qsizetype &end) const
{
    if (!m_usable)
        return -1;
    // `last` is where a candidate's first character ends.
    const auto tryAt = [&](qsizetype last) -> qsizetype {
        for (const Variant &variant : m_first) {
            const qsizetype start = last - variant.length + 1;
            if (start < from || variant.bytes[size_t(variant.length - 1)] != text[last]
                || std::memcmp(text + start, variant.bytes.data(), size_t(variant.length)) != 0)
                continue;
            const qsizetype matchEnd = matchAfterFirst(text, size, last + 1);
            if (matchEnd >= 0) {
                end = matchEnd;
                return start;
            }
        }
        return -1;
    };
    const auto passes = [](const Probe &probe, unsigned char byte) {
        return probe.any || std::find(probe.bytes.begin(), probe.bytes.end(), byte) != probe.bytes.end();
    };
    qsizetype last = from;
#ifdef SALDRIX_UTF8_SSE2
    if (!m_firstEnd.any) {
        // Sixteen places at a time: the first character's last byte, and the last character's
        // where it stands at a fixed distance.
        const bool second = m_lastDistance > 0 && !m_lastEnd.any;
        const qsizetype reach = second ? m_lastDistance : 0;
        const bool before = !m_firstBefore.any;
        if (before)
            last = std::max<qsizetype>(last, 1); // a first character of two bytes or more ends further on
        const auto set = [](const Probe &probe, size_t i) { return _mm_set1_epi8(static_cast<char>(probe.bytes[i])); };
        const __m128i c0 = set(m_firstBefore, 0), c1 = set(m_firstBefore, 1), c2 = set(m_firstBefore, 2),
                      c3 = set(m_firstBefore, 3);
        const __m128i a0 = set(m_firstEnd, 0), a1 = set(m_firstEnd, 1), a2 = set(m_firstEnd, 2),
                      a3 = set(m_firstEnd, 3);
        const __m128i b0 = set(m_lastEnd, 0), b1 = set(m_lastEnd, 1), b2 = set(m_lastEnd, 2), b3 = set(m_lastEnd, 3);
        const auto any4 = [](__m128i v, __m128i x0, __m128i x1, __m128i x2, __m128i x3) {
            return _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, x0), _mm_cmpeq_epi8(v, x1)),
                _mm_or_si128(_mm_cmpeq_epi8(v, x2), _mm_cmpeq_epi8(v, x3)));
        };
        for (; last + reach + 16 <= size; last += 16) {
            __m128i hits = any4(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + last)), a0, a1, a2, a3);
            if (before) {
                hits = _mm_and_si128(
                    hits, any4(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + last - 1)), c0, c1, c2, c3));
            }
            if (second) {
                hits = _mm_and_si128(hits,
                    any4(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + last + reach)), b0, b1, b2, b3));
            }
            for (auto candidates = static_cast<unsigned>(_mm_movemask_epi8(hits)); candidates != 0;
                 candidates &= candidates - 1) {
                const qsizetype found = tryAt(last + std::countr_zero(candidates));
                if (found >= 0)
                    return found;
            }
        }
    }
#endif
    for (; last < size; ++last) {
        if (!passes(m_firstEnd, text[last]))
            continue;
        const qsizetype found = tryAt(last);
        if (found >= 0)
            return found;
    }
    return -1;
}
