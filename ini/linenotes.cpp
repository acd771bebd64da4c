// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ini/linenotes.h"

#include "document/iniline.h"
#include "ini/initext.h"

#include <algorithm>

LineNotes LineNotes::of(const IniText &text, qint64 origin)
{
    LineNotes notes;
    qint64 line = -1;
    const qsizetype option = text.optionAtOrigin(origin);
    if (option >= 0) {
        line = text.m_options[size_t(option)].line;
    } else if (const int occurrence = text.occurrenceAtOrigin(origin); occurrence >= 0) {
        line = text.m_occurrences[size_t(occurrence)].header;
    }
    if (line < 0)
        return notes;
    const auto lineEnd = [&text](qint64 at) {
        while (at < text.unitCount() && !isLineBreak(text.unitAt(at)))
            ++at;
        return at;
    };
    // The comments above, nearest last.
    qint64 at = line;
    while (at > 0) {
        qint64 end = at - 1;
        if (text.unitAt(end) == u'\n' && end > 0 && text.unitAt(end - 1) == u'\r')
            --end;
        qint64 begin = end;
        while (begin > 0 && !isLineBreak(text.unitAt(begin - 1)))
            --begin;
        const QString comment = text.slice(begin, end);
        const QStringView trimmed = QStringView(comment).trimmed();
        if (trimmed.isEmpty() || (trimmed.front() != u';' && trimmed.front() != u'#'))
            break;
        notes.comments.prepend(comment);
        at = begin;
    }
    if (option < 0)
        return notes;
    const QString name = text.optionName(option);
    // The section that holds the option, by the name of the header above it.
    int occurrence = 0;
    const auto &occurrences = text.m_occurrences;
    const auto after = std::upper_bound(occurrences.begin(), occurrences.end(), option,
        [](qsizetype o, const IniText::Occurrence &each) { return o < each.firstOption; });
    occurrence = int(after - occurrences.begin()) - 1;
    if (occurrence < 0)
        return notes;
    const IniText::Occurrence &header = occurrences[size_t(occurrence)];
    const QString headerLine = text.slice(header.header, header.header + header.headerLength);
    const IniLine parts
        = classifyIniLine(reinterpret_cast<const char16_t *>(headerLine.constData()), headerLine.size());
    const int section = text.findSection(headerLine.sliced(parts.nameBegin, parts.nameEnd - parts.nameBegin));
    if (section < 0)
        return notes;
    text.forEachOption(section, [&](qsizetype other) {
        if (other != option && text.optionName(other) == name) {
            const IniText::Option &o = text.m_options[size_t(other)];
            notes.repeats << text.slice(o.line, lineEnd(o.line)).trimmed();
        }
    });
    return notes;
}
