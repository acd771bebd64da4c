// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "find/treefind.h"

#include "document/documenttree.h"
#include "document/textview.h"

#include <algorithm>
#include <array>
#include <bit>

// The vector path is left out where the processor has no SSE2 or when SALDRIX_FIND_SCALAR is
// defined; the tests build the engine both ways, so the plain path is checked on every machine.
#if defined(__SSE2__) && !defined(SALDRIX_FIND_SCALAR)
#define SALDRIX_FIND_SSE2 1
#include <emmintrin.h>
#endif

namespace {

// Latin-1 letters folded to lower case, as Qt folds them when letter case is ignored.
constexpr std::array<unsigned char, 256> latin1Folds()
{
    std::array<unsigned char, 256> fold {};
    for (int c = 0; c < 256; ++c) {
        const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        fold[static_cast<size_t>(c)] = static_cast<unsigned char>(upper ? c + 0x20 : c);
    }
    return fold;
}
constexpr std::array<unsigned char, 256> Fold = latin1Folds();

constexpr std::array<unsigned char, 256> sameCharacters()
{
    std::array<unsigned char, 256> same {};
    for (int c = 0; c < 256; ++c)
        same[static_cast<size_t>(c)] = static_cast<unsigned char>(c);
    return same;
}
constexpr std::array<unsigned char, 256> Same = sameCharacters();

} // namespace

TreeMatcher::TreeMatcher(const FindOptions &options)
    : m_matcher(options.text, options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive)
    , m_utf8(options.text, options.matchCase)
    , m_names(options.names)
    , m_values(options.values)
    , m_matchCase(options.matchCase)
    , m_empty(options.text.isEmpty() || !(options.names || options.values))
{
    const bool latin1
        = std::all_of(options.text.cbegin(), options.text.cend(), [](QChar c) { return c.unicode() < 0x100; });
    if (!latin1)
        return;
    m_latin1 = options.text.toLatin1();
    if (m_latin1.isEmpty())
        return;
    if (!m_matchCase) {
        for (char &c : m_latin1)
            c = static_cast<char>(Fold[static_cast<unsigned char>(c)]);
    }
    const qsizetype length = m_latin1.size();
    const unsigned char *fold = m_matchCase ? Same.data() : Fold.data();
    for (size_t c = 0; c < m_shift.size(); ++c) {
        qsizetype shift = length;
        for (qsizetype i = length - 2; i >= 0; --i) {
            if (static_cast<unsigned char>(m_latin1[i]) == fold[c]) {
                shift = length - 1 - i;
                break;
            }
        }
        m_shift[c] = shift;
    }
}

// Finds the searched text in Latin-1 text. Sixteen places at a time are first tested for the searched
// text's first and last characters (with letter case set aside when it does not matter, which lets
// through a few places the exact test then turns down); the rest of the text, shorter than that, goes
// by Horspool's rule: the character under the searched text's last one tells how far it may move on.
qsizetype TreeMatcher::indexInLatin1(const unsigned char *text, qsizetype size, qsizetype from) const
{
    const auto *needle = reinterpret_cast<const unsigned char *>(m_latin1.constData());
    const qsizetype last = m_latin1.size() - 1;
    const unsigned char *fold = m_matchCase ? Same.data() : Fold.data();
    const auto matchesAt = [&](qsizetype at) {
        for (qsizetype j = 0; j <= last; ++j) {
            if (fold[text[at + j]] != needle[j])
                return false;
        }
        return true;
    };
    qsizetype at = from;
#ifdef SALDRIX_FIND_SSE2
    // Upper- and lower-case Latin-1 letters differ only in the 0x20 bit.
    const __m128i caseBit = _mm_set1_epi8(m_matchCase ? 0 : 0x20);
    const __m128i first = _mm_or_si128(_mm_set1_epi8(static_cast<char>(needle[0])), caseBit);
    const __m128i lastChar = _mm_or_si128(_mm_set1_epi8(static_cast<char>(needle[last])), caseBit);
    for (; at + last + 16 <= size; at += 16) {
        const __m128i starts = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at)), caseBit);
        const __m128i ends
            = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at + last)), caseBit);
        auto candidates = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, lastChar))));
        for (; candidates != 0; candidates &= candidates - 1) {
            const qsizetype candidate = at + std::countr_zero(candidates);
            if (matchesAt(candidate))
                return candidate;
        }
    }
#endif
    while (at + last < size) {
        const unsigned char end = text[at + last];
        if (fold[end] == needle[last] && matchesAt(at))
            return at;
        at += m_shift[end];
    }
    return -1;
}

bool TreeMatcher::contains(QAnyStringView text) const
{
    if (!m_latin1.isEmpty() && textKind(text) == TextKind::Latin1)
        return indexInLatin1(static_cast<const unsigned char *>(text.data()), text.size()) >= 0;
    if (textKind(text) == TextKind::Utf16)
        return m_matcher.indexIn(asUtf16(text)) >= 0;
    if (textKind(text) == TextKind::Utf8 && m_utf8.usable()) {
        qsizetype end = 0;
        return m_utf8.indexIn(static_cast<const unsigned char *>(text.data()), text.size_bytes(), 0, end) >= 0;
    }
    return m_matcher.indexIn(textToString(text)) >= 0;
}

bool TreeMatcher::findAllUtf8(QUtf8StringView text, std::vector<std::pair<qsizetype, qsizetype>> &matches) const
{
    matches.clear();
    if (m_empty || !m_utf8.usable())
        return m_empty;
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    qsizetype end = 0;
    for (qsizetype at = m_utf8.indexIn(bytes, text.size(), 0, end); at >= 0;
         at = m_utf8.indexIn(bytes, text.size(), at + 1, end))
        matches.push_back({ at, end });
    return true;
}

bool TreeMatcher::findAll(QAnyStringView text, std::vector<qsizetype> &starts, qsizetype &length) const
{
    starts.clear();
    if (m_empty)
        return true;
    if (!m_latin1.isEmpty() && textKind(text) == TextKind::Latin1) {
        const auto *latin1 = static_cast<const unsigned char *>(text.data());
        length = m_latin1.size();
        for (qsizetype at = indexInLatin1(latin1, text.size()); at >= 0;
             at = indexInLatin1(latin1, text.size(), at + 1))
            starts.push_back(at);
        return true;
    }
    if (textKind(text) != TextKind::Utf16)
        return false;
    // Letter case is folded one UTF-16 unit at a time, so a match is as long as the searched text.
    const QStringView utf16 = asUtf16(text);
    length = m_matcher.pattern().size();
    for (qsizetype at = m_matcher.indexIn(utf16); at >= 0; at = m_matcher.indexIn(utf16, at + 1))
        starts.push_back(at);
    return true;
}

bool TreeMatcher::sectionMatches(const DocumentTree &tree, int section) const
{
    return !m_empty && m_names && contains(tree.sectionNameView(section));
}

bool TreeMatcher::optionMatches(const DocumentTree &tree, int section, int option) const
{
    if (m_empty)
        return false;
    return (m_names && contains(tree.optionTextView(section, option, DocumentTree::NameColumn)))
        || (m_values && contains(tree.optionTextView(section, option, DocumentTree::ValueColumn)));
}

bool TreeMatcher::optionMatches(const OptionTexts &texts, qsizetype option) const
{
    return (m_names && contains(texts.view(option, DocumentTree::NameColumn)))
        || (m_values && contains(texts.view(option, DocumentTree::ValueColumn)));
}

bool TreeMatcher::cellMatches(const QModelIndex &cell) const
{
    if (m_empty || !cell.isValid())
        return false;
    if (cell.column() == DocumentTree::NameColumn)
        return m_names && contains(cell.data(Qt::DisplayRole).toString());
    // A section's value is never shown as a find target.
    return m_values && DocumentTree::level(cell) == 1 && contains(cell.data(Qt::DisplayRole).toString());
}

namespace {

// Whether one of the starts, ascending, begins a match that lies wholly inside the text, a view into
// the buffer that begins at `buffer` and holds characters of `unit` bytes.
bool holdsMatch(
    QAnyStringView text, const char *buffer, qsizetype unit, const std::vector<qsizetype> &starts, qsizetype length)
{
    if (text.size() < length)
        return false;
    const qsizetype begin = (static_cast<const char *>(text.data()) - buffer) / unit;
    const auto start = std::lower_bound(starts.cbegin(), starts.cend(), begin);
    return start != starts.cend() && *start + length <= begin + text.size();
}

// Whether one of the matches, ascending by start, lies wholly inside the text, a view into the
// UTF-8 buffer that begins at `buffer`. Texts mostly come in the buffer's order, so the matches
// before the last text asked about are passed over for good; a text further back looks again.
struct Utf8MatchCursor {
    size_t next = 0;
    qsizetype lastBegin = -1;
};

bool holdsUtf8Match(QAnyStringView text, const char *buffer,
    const std::vector<std::pair<qsizetype, qsizetype>> &matches, Utf8MatchCursor &cursor)
{
    const qsizetype begin = static_cast<const char *>(text.data()) - buffer;
    const qsizetype end = begin + text.size_bytes();
    if (begin < cursor.lastBegin) {
        cursor.next = size_t(
            std::lower_bound(matches.cbegin(), matches.cend(), std::pair<qsizetype, qsizetype>(begin, qsizetype(-1)))
            - matches.cbegin());
    }
    cursor.lastBegin = begin;
    while (cursor.next < matches.size() && matches[cursor.next].first < begin)
        ++cursor.next;
    for (size_t i = cursor.next; i < matches.size() && matches[i].first < end; ++i) {
        if (matches[i].second <= end)
            return true;
    }
    return false;
}

} // namespace

std::vector<NodePosition> findInTree(const DocumentTree &tree, const FindOptions &options)
{
    std::vector<NodePosition> matches;
    const TreeMatcher matcher(options);
    if (matcher.isEmpty())
        return matches;
    std::vector<qsizetype> starts;
    std::vector<std::pair<qsizetype, qsizetype>> utf8Matches;
    for (int section = 0; section < tree.sectionCount(); ++section) {
        if (matcher.sectionMatches(tree, section))
            matches.push_back({ section, -1 });
        const OptionTexts &texts = tree.optionTexts(section);
        if (texts.empty())
            continue;
        const qsizetype count = texts.size();
        const QAnyStringView all = texts.allTexts();
        if (textKind(all) == TextKind::Utf8
            && matcher.findAllUtf8(
                QUtf8StringView(static_cast<const char *>(all.data()), all.size_bytes()), utf8Matches)) {
            // The buffer is searched once, as the bytes the file held; each option's texts are places in it.
            if (utf8Matches.empty())
                continue;
            const auto *buffer = static_cast<const char *>(all.data());
            Utf8MatchCursor cursor;
            for (qsizetype option = 0; option < count; ++option) {
                if ((options.names
                        && holdsUtf8Match(texts.view(option, DocumentTree::NameColumn), buffer, utf8Matches, cursor))
                    || (options.values
                        && holdsUtf8Match(texts.view(option, DocumentTree::ValueColumn), buffer, utf8Matches, cursor)))
                    matches.push_back({ section, int(option) });
            }
            continue;
        }
        qsizetype length = 0;
        if (!matcher.findAll(all, starts, length)) {
            if (!matcher.contains(all))
                continue;
            for (qsizetype option = 0; option < count; ++option) {
                if (matcher.optionMatches(texts, option))
                    matches.push_back({ section, int(option) });
            }
            continue;
        }
        if (starts.empty())
            continue;
        // The buffer is searched once; each option's texts are places in it.
        const auto *buffer = static_cast<const char *>(all.data());
        const qsizetype unit = textKind(all) == TextKind::Utf16 ? 2 : 1;
        for (qsizetype option = 0; option < count; ++option) {
            if ((options.names
                    && holdsMatch(texts.view(option, DocumentTree::NameColumn), buffer, unit, starts, length))
                || (options.values
                    && holdsMatch(texts.view(option, DocumentTree::ValueColumn), buffer, unit, starts, length)))
                matches.push_back({ section, int(option) });
        }
    }
    return matches;
}
