#include "editor/treefind.h"

#include "document/documenttree.h"
#include "document/textview.h"

#include <algorithm>
#include <array>

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

// Horspool's search: the character under the searched text's last one tells how far it may move on,
// so most characters of a long text are never looked at.
bool TreeMatcher::containsLatin1(const unsigned char *text, qsizetype size) const
{
    const auto *needle = reinterpret_cast<const unsigned char *>(m_latin1.constData());
    const qsizetype last = m_latin1.size() - 1;
    const unsigned char *fold = m_matchCase ? Same.data() : Fold.data();
    for (qsizetype at = 0; at + last < size;) {
        const unsigned char end = text[at + last];
        if (fold[end] == needle[last]) {
            qsizetype j = 0;
            while (j < last && fold[text[at + j]] == needle[j])
                ++j;
            if (j == last)
                return true;
        }
        at += m_shift[end];
    }
    return false;
}

bool TreeMatcher::contains(QAnyStringView text) const
{
    if (!m_latin1.isEmpty() && textKind(text) == TextKind::Latin1)
        return containsLatin1(static_cast<const unsigned char *>(text.data()), text.size());
    if (textKind(text) == TextKind::Utf16)
        return m_matcher.indexIn(QStringView(static_cast<const char16_t *>(text.data()), text.size())) >= 0;
    return m_matcher.indexIn(textToString(text)) >= 0;
}

bool TreeMatcher::sectionMatches(const DocumentTree &tree, int section) const
{
    return !m_empty && m_names && contains(tree.sectionText(section, DocumentTree::NameColumn));
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

std::vector<NodePosition> findInTree(const DocumentTree &tree, const FindOptions &options)
{
    std::vector<NodePosition> matches;
    const TreeMatcher matcher(options);
    if (matcher.isEmpty())
        return matches;
    for (int section = 0; section < tree.sectionCount(); ++section) {
        if (matcher.sectionMatches(tree, section))
            matches.push_back({ section, -1 });
        const OptionTexts &texts = tree.optionTexts(section);
        if (texts.empty() || !matcher.contains(texts.allTexts()))
            continue;
        const qsizetype optionCount = texts.size();
        for (qsizetype option = 0; option < optionCount; ++option) {
            if (matcher.optionMatches(texts, option))
                matches.push_back({ section, int(option) });
        }
    }
    return matches;
}
