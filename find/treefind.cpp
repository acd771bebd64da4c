// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "find/treefind.h"

#include "document/documenttree.h"
#include "document/textview.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

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

// The searched text as Latin-1 text finds it when letter case does not matter: some characters
// beyond Latin-1 fold as Latin-1 ones do (U+212A KELVIN SIGN as "k", U+017F as "s", U+039C as
// U+00B5). Each is replaced by its Latin-1 peer, folded; empty when a character has none, or when
// case matters, since Latin-1 text then holds no match.
QByteArray latin1Peers(const QString &text, bool matchCase)
{
    QByteArray peers;
    if (matchCase)
        return peers;
    for (const QChar c : text) {
        const char16_t folded = c.toCaseFolded().unicode();
        int peer = 0;
        while (peer < 0x100 && QChar(char16_t(peer)).toCaseFolded().unicode() != folded)
            ++peer;
        if (peer == 0x100)
            return {};
        peers += static_cast<char>(Fold[size_t(peer)]);
    }
    return peers;
}

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
    if (latin1) {
        m_latin1 = options.text.toLatin1();
        if (!m_matchCase) {
            for (char &c : m_latin1)
                c = static_cast<char>(Fold[static_cast<unsigned char>(c)]);
        }
    } else {
        m_latin1 = latin1Peers(options.text, m_matchCase);
        // Latin-1 text cannot hold the searched text at all: searching it finds nothing at once.
        m_noLatin1Match = m_latin1.isEmpty();
    }
    if (m_latin1.isEmpty())
        return;
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
    if (m_noLatin1Match && textKind(text) == TextKind::Latin1)
        return false;
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

bool TreeMatcher::searchesIn(TextKind kind) const
{
    switch (kind) {
    case TextKind::Latin1:
        return !m_latin1.isEmpty() || m_noLatin1Match;
    case TextKind::Utf8:
        return m_utf8.usable();
    case TextKind::Utf16:
        return !m_empty;
    }
    return false;
}

qsizetype TreeMatcher::indexIn(QAnyStringView text, qsizetype from, qsizetype &end) const
{
    qsizetype at = -1;
    switch (textKind(text)) {
    case TextKind::Latin1:
        if (m_noLatin1Match)
            return -1;
        at = indexInLatin1(static_cast<const unsigned char *>(text.data()), text.size(), from);
        end = at + m_latin1.size();
        break;
    case TextKind::Utf8:
        at = m_utf8.indexIn(static_cast<const unsigned char *>(text.data()), text.size_bytes(), from, end);
        break;
    case TextKind::Utf16:
        // Letter case is folded one UTF-16 unit at a time, so a match is as long as the searched text.
        at = m_matcher.indexIn(asUtf16(text), from);
        end = at + m_matcher.pattern().size();
        break;
    }
    return at;
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

// The matches in one buffer of texts, found as they are asked for: the first match at or after a
// place is kept, so that the texts after it, up to it, are answered without searching again.
// Texts asked about in the buffer's order cost one search each at most, however many matches
// they hold.
class BufferSearch {
public:
    BufferSearch(const TreeMatcher &matcher, QAnyStringView buffer)
        : m_matcher(matcher)
        , m_buffer(buffer)
        , m_data(static_cast<const char *>(buffer.data()))
        , m_unit(textKind(buffer) == TextKind::Utf16 ? 2 : 1)
    {
    }

    // Whether the buffer holds a match at all (which may still cross from one text into the next).
    bool holdsAny() { return firstFrom(0) >= 0; }

    // Whether a match lies wholly inside the text, a view into the buffer.
    bool holdsMatch(QAnyStringView text)
    {
        const qsizetype begin = (static_cast<const char *>(text.data()) - m_data) / m_unit;
        const qsizetype end = begin + text.size();
        for (qsizetype at = firstFrom(begin); at >= 0 && at < end; at = firstFrom(at + 1)) {
            // A match that runs past the text's end may cross into the next text; one that starts
            // later may still end inside it.
            if (m_end <= end)
                return true;
        }
        return false;
    }

private:
    qsizetype firstFrom(qsizetype from)
    {
        if (from < m_from || (m_start >= 0 && from > m_start)) {
            m_from = from;
            m_start = m_matcher.indexIn(m_buffer, from, m_end);
        }
        return m_start;
    }

    const TreeMatcher &m_matcher;
    QAnyStringView m_buffer;
    const char *m_data;
    qsizetype m_unit;
    // No match starts in [m_from, m_start); m_start is -1 when none starts at or after m_from.
    qsizetype m_from = std::numeric_limits<qsizetype>::max();
    qsizetype m_start = -1;
    qsizetype m_end = 0;
};

} // namespace

TreeMatches findInTree(const DocumentTree &tree, const FindOptions &options)
{
    TreeMatches matches;
    const TreeMatcher matcher(options);
    if (matcher.isEmpty())
        return matches;
    for (int section = 0; section < tree.sectionCount(); ++section) {
        const OptionTexts &texts = tree.optionTexts(section);
        const qsizetype count = texts.size();
        matches.beginSection(section, matcher.sectionMatches(tree, section), int(count));
        const QAnyStringView all = texts.allTexts();
        if (count > 0 && matcher.searchesIn(textKind(all))) {
            // The buffer is searched where it stands; each option's texts are places in it.
            BufferSearch search(matcher, all);
            const bool any = search.holdsAny();
            for (qsizetype option = 0; any && option < count; ++option) {
                if ((options.names && search.holdsMatch(texts.view(option, DocumentTree::NameColumn)))
                    || (options.values && search.holdsMatch(texts.view(option, DocumentTree::ValueColumn))))
                    matches.markOption(int(option));
            }
        } else if (count > 0 && matcher.contains(all)) {
            for (qsizetype option = 0; option < count; ++option) {
                if (matcher.optionMatches(texts, option))
                    matches.markOption(int(option));
            }
        }
        matches.endSection();
    }
    return matches;
}
