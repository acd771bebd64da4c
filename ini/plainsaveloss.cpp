// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ini/plainsaveloss.h"

#include "document/documenttree.h"
#include "document/iniline.h"
#include "ini/initext.h"

#include <vector>

PlainSaveLoss PlainSaveLoss::of(const IniText &text, const DocumentTree &tree)
{
    // What the plain save writes: the first header of each named section that has a named option,
    // and the option lines that the tree shows (each name's first in its section) with a name.
    std::vector<bool> shown(text.m_options.size(), false);
    std::vector<bool> written(text.m_occurrences.size(), false);
    for (int s = 0; s < tree.sectionCount(); ++s) {
        if (tree.sectionNameView(s).isEmpty())
            continue;
        const OptionTexts &texts = tree.optionTexts(s);
        qsizetype hint = -1;
        bool named = false;
        for (qsizetype o = 0; o < texts.size(); ++o) {
            if (texts.view(o, DocumentTree::NameColumn).isEmpty())
                continue;
            named = true;
            hint = text.optionAtOrigin(texts.origin(o), hint + 1);
            if (hint >= 0)
                shown[size_t(hint)] = true;
        }
        const int occurrence = text.occurrenceAtOrigin(tree.sectionOrigin(s));
        if (named && occurrence >= 0)
            written[size_t(occurrence)] = true;
    }
    std::vector<bool> sectionHasOptions(text.m_sections.size(), false);
    for (size_t s = 0; s < text.m_sections.size(); ++s) {
        for (int o = text.m_sections[s].firstOccurrence; o >= 0 && !sectionHasOptions[s];
             o = text.m_occurrences[size_t(o)].next) {
            const IniText::Occurrence &occurrence = text.m_occurrences[size_t(o)];
            sectionHasOptions[s] = occurrence.endOption > occurrence.firstOption;
        }
    }
    std::vector<bool> firstOccurrence(text.m_occurrences.size(), false);
    std::vector<bool> namedOccurrence(text.m_occurrences.size(), false);
    std::vector<int> sectionOf(text.m_occurrences.size(), -1);
    for (size_t s = 0; s < text.m_sections.size(); ++s) {
        const int first = text.m_sections[s].firstOccurrence;
        firstOccurrence[size_t(first)] = true;
        for (int o = first; o >= 0; o = text.m_occurrences[size_t(o)].next) {
            sectionOf[size_t(o)] = int(s);
            namedOccurrence[size_t(o)] = text.m_sections[s].nameLength > 0;
        }
    }

    PlainSaveLoss loss;
    const qint64 size = text.unitCount();
    const auto classify = [&text](qint64 begin, qint64 end) {
        if (!text.m_wide.isEmpty())
            return classifyIniLine(reinterpret_cast<const char16_t *>(text.m_wide.constData()) + begin, end - begin);
        return classifyIniLine(text.m_bytes.constData() + text.m_begin + begin, end - begin);
    };
    size_t nextOption = 0;
    size_t nextOccurrence = 0;
    bool inNamedSection = false;
    bool firstWritten = true;
    bool previousBlank = false;
    for (qint64 pos = 0; pos < size;) {
        qint64 end = pos;
        while (end < size && !isLineBreak(text.unitAt(end)))
            ++end;
        const IniLine line = classify(pos, end);
        bool blank = false;
        if (nextOccurrence < text.m_occurrences.size() && text.m_occurrences[nextOccurrence].header == pos) {
            const size_t o = nextOccurrence++;
            inNamedSection = namedOccurrence[o];
            if (written[o]) {
                if (!firstWritten && previousBlank)
                    --loss.blankLines; // the one blank line the save writes before a header
                firstWritten = false;
                if (line.nameBegin != 1 || line.nameEnd != end - pos - 1 || text.unitAt(end - 1) != u']')
                    ++loss.respacedLines;
            } else if (!firstOccurrence[o]) {
                ++loss.otherLines; // the save writes a section once
            } else if (inNamedSection && !sectionHasOptions[size_t(sectionOf[o])]) {
                ++loss.emptySections;
            }
        } else if (nextOption < text.m_options.size() && text.m_options[nextOption].line == pos) {
            const size_t o = nextOption++;
            if (shown[o]) {
                const bool asWritten = line.nameBegin == 0 && line.nameEnd == line.equals
                    && line.valueBegin == line.equals + 1 && line.valueEnd == end - pos;
                if (!asWritten)
                    ++loss.respacedLines;
            } else if (inNamedSection && line.nameEnd > line.nameBegin) {
                ++loss.repeatedOptions;
            }
        } else if (line.kind == IniLine::Kind::Comment) {
            blank = true;
            for (qint64 i = pos; i < end && blank; ++i)
                blank = isBlank(text.unitAt(i));
            ++(blank ? loss.blankLines : loss.commentLines);
        } else {
            ++loss.otherLines;
        }
        previousBlank = blank;
        pos = text.afterLineEnd(end);
    }
    return loss;
}
