// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ini/byteload.h"

#include "document/iniline.h"
#include "document/textrules.h"
#include "ini/nametable.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <vector>

namespace {

using Form = OptionTexts::Form;

// What the loader learns of a section as it reads it.
struct SectionRead {
    bool beyondAscii = false; // a text holds UTF-8 beyond ASCII
    bool namesToCheck = false; // its options were not all compared with each other as read
};

// Each option name once per section, with its first value, as a section that stands several
// times reads: its occurrences' options were appended in file order.
void dropRepeatedNames(OptionTexts &options, NameTable &names, std::vector<int> &repeated)
{
    const qsizetype count = options.size();
    if (count < 2)
        return;
    const auto nameAt = [&options](qsizetype o) {
        const QAnyStringView name = options.view(o, DocumentTree::NameColumn);
        return std::string_view(static_cast<const char *>(name.data()), size_t(name.size_bytes()));
    };
    repeated.clear();
    if (count <= 8) { // a few names are compared with each other sooner than hashed
        for (qsizetype o = 1; o < count; ++o) {
            for (qsizetype earlier = 0; earlier < o; ++earlier) {
                if (nameAt(earlier) == nameAt(o)) {
                    repeated.push_back(int(o));
                    break;
                }
            }
        }
    } else {
        names.reset(count);
        for (qsizetype o = 0; o < count; ++o) {
            if (names.findOrInsert(NameTable::hash(nameAt(o)), o, nameAt) >= 0)
                repeated.push_back(int(o));
        }
    }
    if (!repeated.empty())
        options.removeRowsWhileLoading(repeated);
}

// A section that stands several times reads as one, where it first stands, with its options in
// file order. Each header starts a section of its own, and the sections are looked up a batch at a
// time, once the sections not yet looked up are as many as those that were (at least 64 Ki): the
// names are hashed a few ahead of their lookup, so that the table's memory is read ahead of its use,
// and a file of one header repeated holds a bounded number of sections too many.
class SectionMerger {
public:
    SectionMerger(DocumentContents &contents, OptionTexts::Source &source, std::vector<SectionRead> &read)
        : m_contents(contents)
        , m_source(source)
        , m_read(read)
    {
    }

    [[nodiscard]] bool isLastSection(std::string_view name) const
    {
        return m_contents.sectionCount() > 0 && nameOf(m_contents.sectionCount() - 1) == name;
    }

    // Called before a header starts a section, with the part of the file read so far.
    void beforeSection(double partRead)
    {
        const int count = m_contents.sectionCount();
        if (count - m_done >= std::max(m_done, 1 << 16))
            lookUpNew(qsizetype(count / std::max(partRead, 0.01)));
    }

    // Looks up the sections that were not yet; a repeat gives its options to the section it
    // repeats and goes. The table makes room at once for as many sections as are expected in all.
    void lookUpNew(qsizetype expected = 0)
    {
        const int count = m_contents.sectionCount();
        if (m_index.room() < count)
            m_index.grow(std::max<qsizetype>(count, expected));
        constexpr int Ahead = 8;
        std::array<size_t, Ahead> hashes {};
        const auto lookAhead = [&](int s) {
            if (s < count) {
                hashes[size_t(s % Ahead)] = NameTable::hash(nameOf(s));
                m_index.prefetch(hashes[size_t(s % Ahead)]);
            }
        };
        for (int s = m_done; s < m_done + Ahead; ++s)
            lookAhead(s);
        // The places of these sections' options stand together at the end of the source: those
        // of the sections kept move down over those of the sections that went.
        qsizetype records = m_recordsDone;
        int kept = m_done;
        for (int s = m_done; s < count; ++s) {
            const size_t hash = hashes[size_t(s % Ahead)];
            lookAhead(s + Ahead);
            // The sections before `kept` stand where they stay; the one looked up would stand at `kept`.
            const auto nameAt = [this, s, kept](qsizetype p) { return nameOf(p == kept ? s : int(p)); };
            const qsizetype first = m_index.findOrInsert(hash, kept, nameAt);
            if (first >= 0) {
                m_contents.optionsOf(int(first)).appendBorrowedFrom(m_contents.optionsOf(s));
                SectionRead &joined = m_read[size_t(first)];
                joined.beyondAscii = joined.beyondAscii || m_read[size_t(s)].beyondAscii;
                joined.namesToCheck = true;
                continue;
            }
            records = m_contents.optionsOf(s).moveSharedRecords(records);
            m_contents.moveSection(s, kept);
            m_read[size_t(kept)] = m_read[size_t(s)];
            ++kept;
        }
        m_contents.truncateSections(kept);
        m_read.resize(size_t(kept));
        m_source.truncateRecords(records);
        m_done = kept;
        m_recordsDone = records;
    }

private:
    std::string_view nameOf(int section) const
    {
        const QAnyStringView name = m_contents.optionsOf(section).borrowedName();
        return std::string_view(static_cast<const char *>(name.data()), size_t(name.size_bytes()));
    }

    DocumentContents &m_contents;
    OptionTexts::Source &m_source;
    std::vector<SectionRead> &m_read;
    NameTable m_index;
    int m_done = 0; // sections before this one are looked up
    qsizetype m_recordsDone = 0; // and the places of their options stand before this one
};

} // namespace

std::optional<DocumentContents> contentsFromBytes(
    const QByteArray &bytes, TextFormat &format, std::atomic<int> &percent)
{
    const ByteOrderMark mark = byteOrderMarkAt(bytes);
    if (mark.length > 0 && mark.encoding != TextFormat::Encoding::Utf8)
        return std::nullopt;
    const qsizetype begin = mark.length;
    const qsizetype size = bytes.size();
    const char *text = bytes.constData();
    bool ascii = false;
    format = TextFormat();
    format.byteOrderMark = mark.length > 0;
    format.encoding = isValidUtf8(reinterpret_cast<const uchar *>(text + begin), size - begin, ascii)
        ? TextFormat::Encoding::Utf8
        : TextFormat::Encoding::Latin1;
    const bool utf8 = format.encoding == TextFormat::Encoding::Utf8 && !ascii;

    DocumentContents contents;
    // Section names stand in the file's bytes as its options' texts do.
    OptionTexts::Source source(bytes);
    std::vector<SectionRead> sectionsRead;
    SectionMerger merger(contents, source, sectionsRead);
    int section = -1;
    OptionTexts *options = nullptr;
    // The names of the section's first options, compared with each new one while they are at hand:
    // a file that repeats its header before every entry often repeats its names too.
    std::array<std::string_view, 8> firstNames;
    size_t firstNamesCount = 0;
    iniline::LineBreaks breaks;
    qsizetype nextReport = 0;
    bool firstLine = true;
    for (qsizetype pos = begin; pos < size;) {
        const qsizetype end = iniline::lineEndIn(text, pos, size, breaks);
        const IniLine line = classifyIniLine(text + pos, end - pos);
        if (line.kind == IniLine::Kind::Header) {
            const std::string_view header(text + pos + line.nameBegin, size_t(line.nameEnd - line.nameBegin));
            if (section >= 0 && merger.isLastSection(header)) {
                // The section just read goes on (a file that repeats one header before every entry).
                section = contents.sectionCount() - 1;
                options = &contents.optionsOf(section);
            } else {
                merger.beforeSection(double(pos) / double(size));
                section = contents.appendSection(QString(), pos + line.nameBegin);
                OptionTexts &sectionOptions = contents.optionsOf(section);
                sectionOptions.borrow(source, Form::Latin1);
                sectionOptions.borrowName(
                    pos + line.nameBegin, qsizetype(header.size()), utf8 ? Form::Utf8 : Form::Latin1);
                sectionsRead.emplace_back();
                options = &contents.optionsOf(section);
                firstNamesCount = 0;
            }
        } else if (line.kind == IniLine::Kind::Option && options != nullptr) {
            qsizetype valueBegin = line.valueBegin;
            qsizetype valueEnd = line.valueEnd;
            trimBlanks(text + pos, valueBegin, valueEnd);
            const qsizetype gap = valueBegin - line.nameEnd;
            if (gap > OptionTexts::MaxGap)
                return std::nullopt;
            SectionRead &read = sectionsRead[size_t(section)];
            const std::string_view name(text + pos + line.nameBegin, size_t(line.nameEnd - line.nameBegin));
            const auto firstNamesEnd = firstNames.begin() + firstNamesCount;
            if (std::find(firstNames.begin(), firstNamesEnd, name) == firstNamesEnd) {
                // Not a repeat of one of the first names, which reads as nothing: the name stood
                // before in this section, with the value that counts.
                options->appendBorrowed(
                    pos + line.nameBegin, line.nameEnd - line.nameBegin, pos + valueBegin, valueEnd - valueBegin);
                if (utf8 && !read.beyondAscii)
                    read.beyondAscii = !isAscii(text + pos + line.nameBegin, valueEnd - line.nameBegin);
                if (firstNamesCount < firstNames.size())
                    firstNames[firstNamesCount++] = name;
                else
                    read.namesToCheck = true;
            }
        }
        if (end == size)
            break;
        const bool crlf = text[end] == '\r' && end + 1 < size && text[end + 1] == '\n';
        if (firstLine) {
            format.lineEnd = crlf   ? TextFormat::LineEnd::CrLf
                : text[end] == '\r' ? TextFormat::LineEnd::Cr
                                    : TextFormat::LineEnd::Lf;
            firstLine = false;
        }
        pos = end + (crlf ? 2 : 1);
        if (pos >= nextReport) {
            percent = 10 + int(80 * pos / size);
            nextReport = pos + (1 << 20);
        }
    }
    merger.lookUpNew();
    // Options whose names stood before in their section go, and the places of the options kept
    // move down over theirs (sections stand in the order their places were taken).
    NameTable optionNames;
    std::vector<int> repeated;
    qsizetype records = 0;
    for (int s = 0; s < contents.sectionCount(); ++s) {
        OptionTexts &sectionOptions = contents.optionsOf(s);
        const SectionRead &read = sectionsRead[size_t(s)];
        if (read.beyondAscii)
            sectionOptions.setBorrowedForm(Form::Utf8);
        if (read.namesToCheck)
            dropRepeatedNames(sectionOptions, optionNames, repeated);
        records = sectionOptions.moveSharedRecords(records);
        sectionOptions.squeeze();
    }
    if (records < source.recordCount())
        source.truncateRecords(records);
    percent = 100;
    return contents;
}
