// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ini/initext.h"

#include "document/iniline.h"
#include "document/textrules.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

using Encoding = TextFormat::Encoding;

using iniline::lineEndIn;

} // namespace

IniText::IniText(QByteArray fileBytes)
{
    const auto *b = reinterpret_cast<const uchar *>(fileBytes.constData());
    const qsizetype n = fileBytes.size();
    const ByteOrderMark mark = byteOrderMarkAt(fileBytes);
    if (mark.length > 0 && mark.encoding != Encoding::Utf8) {
        const bool little = mark.encoding == Encoding::Utf16LE;
        m_format.encoding = mark.encoding;
        m_format.byteOrderMark = true;
        const qsizetype units = (n - 2) / 2; // an odd last byte holds no character
        if ((n - 2) % 2 != 0)
            m_oddByte = fileBytes.right(1);
        m_wide.resize(units);
        char16_t *out = reinterpret_cast<char16_t *>(m_wide.data());
        for (qsizetype i = 0; i < units; ++i) {
            const uchar lo = b[2 + 2 * i + (little ? 0 : 1)];
            const uchar hi = b[2 + 2 * i + (little ? 1 : 0)];
            out[i] = char16_t(lo | (hi << 8));
        }
        fileBytes = QByteArray(); // the parse's offsets take its room
        parse(reinterpret_cast<const char16_t *>(m_wide.constData()), units);
        return;
    }
    if (mark.length > 0) {
        m_format.byteOrderMark = true;
        m_begin = mark.length;
    }
    m_format.encoding = isValidUtf8(b + m_begin, n - m_begin, m_ascii) ? Encoding::Utf8 : Encoding::Latin1;
    m_bytes = std::move(fileBytes);
    parse(m_bytes.constData() + m_begin, m_bytes.size() - m_begin);
}

template <typename Char> void IniText::parse(const Char *text, qsizetype size)
{
    qsizetype pos = 0;
    iniline::LineBreaks breaks;
    bool firstLine = true;
    while (pos < size) {
        const qsizetype end = lineEndIn(text, pos, size, breaks);
        addLine(text, pos, end);
        if (end == size)
            break;
        const bool crlf = text[end] == Char('\r') && end + 1 < size && text[end + 1] == Char('\n');
        if (firstLine)
            m_format.lineEnd = crlf       ? TextFormat::LineEnd::CrLf
                : text[end] == Char('\r') ? TextFormat::LineEnd::Cr
                                          : TextFormat::LineEnd::Lf;
        firstLine = false;
        pos = end + (crlf ? 2 : 1);
    }
}

template <typename Char> void IniText::addLine(const Char *text, qsizetype begin, qsizetype end)
{
    const IniLine line = classifyIniLine(text + begin, end - begin);
    if (line.kind == IniLine::Kind::Header) {
        const int occurrence = static_cast<int>(m_occurrences.size());
        const auto options = qsizetype(m_options.size());
        m_occurrences.push_back({ begin, quint32(std::min<qsizetype>(end - begin, std::numeric_limits<quint32>::max())),
            options, options });
        const auto position = qsizetype(m_sections.size());
        m_sections.push_back({ begin + line.nameBegin,
            quint32(std::min<qsizetype>(line.nameEnd - line.nameBegin, std::numeric_limits<quint32>::max())),
            occurrence, occurrence });
        if (position >= m_sectionIndex.room()) {
            m_sectionIndex.grow();
        }
        const auto nameAt = [this](qsizetype p) { return sectionNameBytes(p); };
        const qsizetype known
            = m_sectionIndex.findOrInsert(NameTable::hash(sectionNameBytes(position)), position, nameAt);
        if (known >= 0) {
            m_sections.pop_back();
            Section &section = m_sections[size_t(known)];
            m_occurrences[size_t(section.lastOccurrence)].next = occurrence;
            section.lastOccurrence = occurrence;
        }
        return;
    }
    // Lines before the first section hold nothing. A line past 4 GiB cannot be held anyway; it is
    // not taken as an option.
    if (line.kind != IniLine::Kind::Option || m_occurrences.empty()
        || end - begin > qsizetype(std::numeric_limits<quint32>::max()))
        return;
    m_options.push_back({ begin, quint32(end - begin), quint32(line.equals) });
    m_occurrences.back().endOption = qsizetype(m_options.size());
}

QStringList IniText::sectionNames() const
{
    QStringList names;
    names.reserve(qsizetype(m_sections.size()));
    for (int s = 0; s < sectionCount(); ++s)
        names.append(sectionName(s));
    return names;
}

QString IniText::sectionName(int section) const
{
    const Section &s = m_sections[size_t(section)];
    return slice(s.name, s.name + s.nameLength);
}

std::string_view IniText::nameBytes(qint64 begin, qsizetype length) const
{
    if (!m_wide.isEmpty())
        return std::string_view(reinterpret_cast<const char *>(m_wide.constData() + begin), size_t(length) * 2);
    return std::string_view(m_bytes.constData() + m_begin + begin, size_t(length));
}

int IniText::findSection(const QString &name) const
{
    // The name in the text's own form: equal code units there are equal names.
    QByteArray form;
    std::string_view bytes;
    switch (m_format.encoding) {
    case Encoding::Utf8:
        if (holdsLoneSurrogate(name))
            return -1; // valid UTF-8 holds none
        form = name.toUtf8();
        bytes = std::string_view(form.constData(), size_t(form.size()));
        break;
    case Encoding::Latin1:
        if (!fitsLatin1(name))
            return -1;
        form = name.toLatin1();
        bytes = std::string_view(form.constData(), size_t(form.size()));
        break;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        bytes = std::string_view(reinterpret_cast<const char *>(name.constData()), size_t(name.size()) * 2);
        break;
    }
    const auto nameAt = [this](qsizetype p) { return sectionNameBytes(p); };
    return int(m_sectionIndex.find(NameTable::hash(bytes), bytes, nameAt));
}

qsizetype IniText::optionCount(int section) const
{
    qsizetype count = 0;
    for (int o = m_sections[size_t(section)].firstOccurrence; o >= 0; o = m_occurrences[size_t(o)].next)
        count += m_occurrences[size_t(o)].endOption - m_occurrences[size_t(o)].firstOption;
    return count;
}

QString IniText::optionName(qsizetype option) const
{
    const Option &o = m_options[size_t(option)];
    return trimmedSlice(o.line, o.line + o.equals);
}

QString IniText::optionValue(qsizetype option) const
{
    const Option &o = m_options[size_t(option)];
    return trimmedSlice(o.line + o.equals + 1, o.line + o.length);
}

QAnyStringView IniText::optionNameView(qsizetype option) const
{
    const Option &o = m_options[size_t(option)];
    return trimmedView(o.line, o.line + o.equals);
}

QAnyStringView IniText::optionValueView(qsizetype option) const
{
    const Option &o = m_options[size_t(option)];
    return trimmedView(o.line + o.equals + 1, o.line + o.length);
}

QAnyStringView IniText::trimmedView(qint64 begin, qint64 end) const
{
    const auto trim = [&begin, &end](const auto *text) {
        qsizetype b = begin;
        qsizetype e = end;
        trimBlanks(text, b, e);
        begin = b;
        end = e;
    };
    if (m_wide.isEmpty())
        trim(m_bytes.constData() + m_begin);
    else
        trim(reinterpret_cast<const char16_t *>(m_wide.constData()));
    switch (m_format.encoding) {
    case Encoding::Utf8:
        // ASCII reads the same as Latin-1, which a caller takes without measuring it again.
        if (!m_ascii)
            return QUtf8StringView(m_bytes.constData() + m_begin + begin, end - begin);
        [[fallthrough]];
    case Encoding::Latin1:
        return QLatin1StringView(m_bytes.constData() + m_begin + begin, end - begin);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        break;
    }
    return QStringView(m_wide.constData() + begin, end - begin);
}

QString IniText::slice(qint64 begin, qint64 end) const
{
    switch (m_format.encoding) {
    case Encoding::Utf8:
        return fromUtf8KeepingMark(QByteArrayView(m_bytes.constData() + m_begin + begin, end - begin));
    case Encoding::Latin1:
        return QString::fromLatin1(m_bytes.constData() + m_begin + begin, end - begin);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        break;
    }
    return QString(m_wide.constData() + begin, end - begin);
}

QString IniText::trimmedSlice(qint64 begin, qint64 end) const
{
    while (begin < end && isBlank(unitAt(begin)))
        ++begin;
    while (end > begin && isBlank(unitAt(end - 1)))
        --end;
    return slice(begin, end);
}

qsizetype IniText::unitCount() const
{
    return m_wide.isEmpty() ? m_bytes.size() - m_begin : m_wide.size();
}

char16_t IniText::unitAt(qint64 index) const
{
    if (!m_wide.isEmpty())
        return m_wide.at(index).unicode();
    return char16_t(uchar(m_bytes.at(m_begin + index)));
}

qint64 IniText::afterLineEnd(qint64 lineEnd) const
{
    const qsizetype size = unitCount();
    if (lineEnd >= size)
        return size;
    if (unitAt(lineEnd) == u'\r' && lineEnd + 1 < size && unitAt(lineEnd + 1) == u'\n')
        return lineEnd + 2;
    return lineEnd + 1;
}

qsizetype IniText::findOption(int section, const QString &name) const
{
    for (int o = m_sections[size_t(section)].firstOccurrence; o >= 0; o = m_occurrences[size_t(o)].next) {
        const Occurrence &occurrence = m_occurrences[size_t(o)];
        for (qsizetype i = occurrence.firstOption; i < occurrence.endOption; ++i) {
            // Most names differ in length; only those of the same length are made into text.
            const Option &option = m_options[size_t(i)];
            if (option.equals >= name.size() && optionName(i) == name)
                return i;
        }
    }
    return -1;
}

IniText::Splice IniText::valueSplice(const QString &section, const QString &name, const QString &value) const
{
    const QString eol = lineEnd(m_format);
    const qsizetype size = unitCount();
    const int s = findSection(section);
    if (s < 0) {
        QString insert;
        if (size > 0) {
            const bool endsWithBreak = isLineBreak(unitAt(size - 1));
            if (!endsWithBreak) {
                insert += eol + eol;
            } else {
                // A blank line keeps the new section apart from what stands before it.
                qint64 lastLineEnd = size - 1;
                if (lastLineEnd > 0 && unitAt(lastLineEnd) == u'\n' && unitAt(lastLineEnd - 1) == u'\r')
                    --lastLineEnd;
                const bool lastLineEmpty = lastLineEnd == 0 || isLineBreak(unitAt(lastLineEnd - 1));
                if (!lastLineEmpty)
                    insert += eol;
            }
        }
        insert += u'[' + section + u']' + eol + name + u'=' + value + eol;
        return { size, size, insert };
    }
    const qsizetype found = findOption(s, name);
    if (found >= 0) {
        const Option &o = m_options[size_t(found)];
        return { o.line, o.line + o.length, name + u'=' + value };
    }
    const Occurrence &last = m_occurrences[size_t(m_sections[size_t(s)].lastOccurrence)];
    qint64 lineEnd = last.header + last.headerLength;
    if (last.endOption > last.firstOption) {
        const Option &o = m_options[size_t(last.endOption - 1)];
        lineEnd = o.line + o.length;
    }
    const qint64 at = afterLineEnd(lineEnd);
    QString insert;
    if (at == lineEnd)
        insert = eol; // the section's last line was the file's last, without a line end
    insert += name + u'=' + value + eol;
    return { at, at, insert };
}

std::vector<IniText::Splice> IniText::deletionSplices(const QString &section, const QString *name) const
{
    std::vector<Splice> splices;
    const int s = findSection(section);
    if (s < 0)
        return splices;
    for (int o = m_sections[size_t(s)].firstOccurrence; o >= 0; o = m_occurrences[size_t(o)].next) {
        const Occurrence &occurrence = m_occurrences[size_t(o)];
        if (name == nullptr) {
            qint64 lineEnd = occurrence.header + occurrence.headerLength;
            if (occurrence.endOption > occurrence.firstOption) {
                const Option &last = m_options[size_t(occurrence.endOption - 1)];
                lineEnd = last.line + last.length;
            }
            splices.push_back({ occurrence.header, afterLineEnd(lineEnd), QString() });
            continue;
        }
        for (qsizetype i = occurrence.firstOption; i < occurrence.endOption; ++i) {
            const Option &option = m_options[size_t(i)];
            if (option.equals >= name->size() && optionName(i) == *name)
                splices.push_back({ option.line, afterLineEnd(option.line + option.length), QString() });
        }
    }
    return splices;
}

bool IniText::canHold(QStringView text) const
{
    return m_format.encoding != Encoding::Latin1 || fitsLatin1(text);
}

void IniText::writeSpliced(
    const std::vector<Splice> &splices, const std::function<void(QByteArrayView)> &out, const TextFormat *as) const
{
    const TextFormat &format = as ? *as : m_format;
    const bool latin1AsUtf8 = m_format.encoding == Encoding::Latin1 && format.encoding == Encoding::Utf8;
    Q_ASSERT(format.encoding == m_format.encoding || latin1AsUtf8);
    const QByteArray mark = byteOrderMark(format);
    if (!mark.isEmpty())
        out(mark);
    const auto copy = [this, &out, latin1AsUtf8](qint64 begin, qint64 end) {
        if (m_wide.isEmpty()) {
            constexpr qint64 Piece = 1 << 20;
            for (qint64 at = begin; latin1AsUtf8 && at < end; at += Piece)
                out(QString::fromLatin1(m_bytes.constData() + m_begin + at, std::min(Piece, end - at)).toUtf8());
            if (end > begin && !latin1AsUtf8)
                out(QByteArrayView(m_bytes.constData() + m_begin + begin, end - begin));
            return;
        }
        constexpr qint64 Piece = 1 << 20;
        for (qint64 at = begin; at < end; at += Piece)
            out(encode(QStringView(m_wide).sliced(at, std::min(Piece, end - at)), m_format));
    };
    qint64 at = 0;
    for (const Splice &splice : splices) {
        copy(at, splice.begin);
        if (!splice.text.isEmpty())
            out(encode(splice.text, format));
        at = splice.end;
    }
    copy(at, unitCount());
    if (!m_oddByte.isEmpty())
        out(m_oddByte);
}

QByteArray IniText::encode(QStringView text, const TextFormat &format)
{
    switch (format.encoding) {
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Latin1:
        return text.toLatin1();
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        break;
    }
    const bool little = format.encoding == Encoding::Utf16LE;
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        out[2 * i + (little ? 0 : 1)] = char(unit & 0xFF);
        out[2 * i + (little ? 1 : 0)] = char(unit >> 8);
    }
    return out;
}

qsizetype IniText::optionAtOrigin(qint64 origin, qsizetype hint) const
{
    const qint64 place = origin - m_begin;
    const auto holds = [this, place](qsizetype o) {
        return o >= 0 && o < qsizetype(m_options.size()) && m_options[size_t(o)].line <= place
            && place < m_options[size_t(o)].line + qint64(m_options[size_t(o)].length);
    };
    if (origin < 0)
        return -1;
    if (holds(hint)) // options read in file order come one after another
        return hint;
    const auto after = std::upper_bound(
        m_options.begin(), m_options.end(), place, [](qint64 p, const Option &option) { return p < option.line; });
    const qsizetype found = qsizetype(after - m_options.begin()) - 1;
    return holds(found) ? found : -1;
}

int IniText::occurrenceAtOrigin(qint64 origin) const
{
    const qint64 place = origin - m_begin;
    if (origin < 0)
        return -1;
    const auto after = std::upper_bound(
        m_occurrences.begin(), m_occurrences.end(), place, [](qint64 p, const Occurrence &o) { return p < o.header; });
    const int found = int(after - m_occurrences.begin()) - 1;
    // An empty name of a header without ']' ("[") stands at the very end of its line.
    if (found < 0 || place > m_occurrences[size_t(found)].header + qint64(m_occurrences[size_t(found)].headerLength))
        return -1;
    return found;
}
