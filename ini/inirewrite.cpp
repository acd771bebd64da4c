// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ini/inirewrite.h"

#include "disk/filereplacer.h"
#include "document/textrules.h"
#include "document/textview.h"
#include "ini/initext.h"
#include "ini/nametable.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace {

using Encoding = TextFormat::Encoding;

// Writes text as UTF-8 at out and returns the end; a line break becomes a blank. A lone surrogate
// is kept as the three bytes its code would take, so that a UTF-16 file gets it back as it was; a
// UTF-8 file, which cannot hold it, gets U+FFFD (see ChunkWriter). Needs room for three bytes per
// UTF-16 unit.
char *putUtf8(char *out, QStringView text, bool &beyondLatin1)
{
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c < 0x80) {
            *out++ = char(lineBreakAsBlank(c));
            continue;
        }
        if (c > 0xFF)
            beyondLatin1 = true;
        if (c < 0x800) {
            *out++ = char(0xC0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3F));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
                ++i;
                *out++ = char(0xF0 | (c >> 18));
                *out++ = char(0x80 | ((c >> 12) & 0x3F));
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
                *out++ = char(0x80 | (c & 0x3F));
                continue;
            }
        }
        *out++ = char(0xE0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

// Whether the eight bytes hold one beyond ASCII or one below the blank (a line break among them).
bool plainWord(quint64 word)
{
    constexpr quint64 Ones = 0x0101010101010101ULL;
    constexpr quint64 High = 0x8080808080808080ULL;
    return ((word | ((word - 0x20 * Ones) & ~word)) & High) == 0;
}

// Whether Latin-1 text is printable ASCII, which its UTF-8 form is byte for byte.
bool isPlain(const char *in, qsizetype n)
{
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word;
        std::memcpy(&word, in + i, sizeof word);
        if (!plainWord(word))
            return false;
    }
    quint64 word = 0x2020202020202020ULL; // the last bytes, padded with blanks
    std::memcpy(&word, in + i, size_t(n - i));
    return plainWord(word);
}

// Latin-1 text as UTF-8, the same way.
char *putUtf8(char *out, QLatin1StringView text)
{
    // Most texts are printable ASCII, which stays as it is: copied eight bytes at a time.
    const char *in = text.data();
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word;
        std::memcpy(&word, in + i, sizeof word);
        if (!plainWord(word))
            break;
        std::memcpy(out + i, &word, sizeof word);
    }
    if (i < n && n - i < 8) {
        quint64 word = 0x2020202020202020ULL; // the last bytes, padded with blanks
        std::memcpy(&word, in + i, size_t(n - i));
        if (plainWord(word)) {
            std::memcpy(out + i, in + i, size_t(n - i));
            return out + n;
        }
    }
    out += i;
    for (const char byte : text.sliced(i)) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x80) {
            *out++ = char(lineBreakAsBlank(c));
            continue;
        }
        *out++ = char(0xC0 | (c >> 6));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

// Whether a byte below the blank (a line break or a tab) is among the bytes.
bool holdsControlByte(const char *in, qsizetype n)
{
    constexpr quint64 Ones = 0x0101010101010101ULL;
    constexpr quint64 High = 0x8080808080808080ULL;
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word;
        std::memcpy(&word, in + i, sizeof word);
        if (((word - 0x20 * Ones) & ~word & High) != 0)
            return true;
    }
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(in[i]) < 0x20)
            return true;
    }
    return false;
}

bool holdsByteFromC4(const char *in, qsizetype n)
{
    return std::any_of(in, in + n, [](char c) { return static_cast<unsigned char>(c) >= 0xC4; });
}

// UTF-8 bytes as they stand, a line break made a blank. Returns the end.
char *putUtf8Bytes(char *out, const char *in, qsizetype n)
{
    if (n > 0)
        std::memcpy(out, in, size_t(n));
    if (holdsControlByte(in, n)) {
        for (qsizetype i = 0; i < n; ++i)
            out[i] = lineBreakAsBlank(out[i]);
    }
    return out + n;
}

// The text that putUtf8 wrote, as UTF-16, lone surrogates included.
QString fromStoredUtf8(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const auto *b = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype used = 0;
    for (qsizetype i = 0; i < n;) {
        const uchar c = b[i];
        if (c < 0x80) {
            out[used++] = c;
            i += 1;
        } else if (c < 0xE0) {
            out[used++] = char16_t(((c & 0x1F) << 6) | (b[i + 1] & 0x3F));
            i += 2;
        } else if (c < 0xF0) {
            out[used++] = char16_t(((c & 0x0F) << 12) | ((b[i + 1] & 0x3F) << 6) | (b[i + 2] & 0x3F));
            i += 3;
        } else {
            const char32_t code
                = ((c & 0x07) << 18) | ((b[i + 1] & 0x3F) << 12) | ((b[i + 2] & 0x3F) << 6) | (b[i + 3] & 0x3F);
            out[used++] = char16_t(0xD800 + ((code - 0x10000) >> 10));
            out[used++] = char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
            i += 4;
        }
    }
    text.truncate(used);
    return text;
}

// The output goes to the file in pieces of about a megabyte, converted from UTF-8 where the
// file's encoding is another.
class ChunkWriter {
public:
    ChunkWriter(FileReplacer &file, const TextFormat &format)
        : m_file(file)
        , m_format(format)
        , m_buffer(std::make_unique_for_overwrite<char[]>(Capacity))
    {
    }

    void put(const char *bytes, qsizetype size)
    {
        if (Capacity - m_used < size) {
            flush();
            if (size > Capacity) {
                write(QByteArray::fromRawData(bytes, size));
                return;
            }
        }
        std::memcpy(m_buffer.get() + m_used, bytes, size_t(size));
        m_used += size;
    }
    void put(char c) { put(&c, 1); }

    // One "name=value" line: a single copy into the buffer when it fits.
    void putOption(const char *name, qsizetype nameLength, const char *value, qsizetype valueLength, const char *eol,
        qsizetype eolSize)
    {
        const qsizetype size = nameLength + 1 + valueLength + eolSize;
        if (Capacity - m_used < size) {
            put(name, nameLength);
            put('=');
            put(value, valueLength);
            put(eol, eolSize);
            return;
        }
        char *out = m_buffer.get() + m_used;
        if (value == name + nameLength + 1 && name[nameLength] == '=') { // the line as it stands
            std::memcpy(out, name, size_t(nameLength + 1 + valueLength));
        } else {
            std::memcpy(out, name, size_t(nameLength));
            out[nameLength] = '=';
            std::memcpy(out + nameLength + 1, value, size_t(valueLength));
        }
        std::memcpy(out + nameLength + 1 + valueLength, eol, size_t(eolSize));
        m_used += size;
    }

    void flush()
    {
        write(QByteArray::fromRawData(m_buffer.get(), m_used));
        m_used = 0;
    }

private:
    static constexpr qsizetype Capacity = 1 << 20;

    void write(const QByteArray &utf8)
    {
        if (utf8.isEmpty())
            return;
        if (m_format.encoding != Encoding::Utf8) {
            m_file.write(IniText::encode(fromStoredUtf8(utf8), m_format));
            return;
        }
        // A lone surrogate (ED A0..BF xx) has no UTF-8 form: U+FFFD takes its three bytes.
        if (utf8.indexOf('\xED') < 0) {
            m_file.write(utf8);
            return;
        }
        QByteArray valid = utf8;
        valid.detach();
        for (qsizetype i = 0; i + 2 < valid.size(); ++i) {
            if (uchar(valid[i]) == 0xED && uchar(valid[i + 1]) >= 0xA0) {
                valid[i] = '\xEF';
                valid[i + 1] = '\xBF';
                valid[i + 2] = '\xBD';
                i += 2;
            }
        }
        m_file.write(valid);
    }

    FileReplacer &m_file;
    TextFormat m_format;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_used = 0;
};

} // namespace

IniRewrite::IniRewrite(const TextFormat &format, qsizetype expectedValues)
    : m_format(format)
{
    m_records.reserve(size_t(expectedValues));
}

IniRewrite::~IniRewrite() = default;

char *IniRewrite::room(qsizetype bytes)
{
    constexpr qsizetype BlockSize = 1 << 20;
    if (m_blockEnd - m_free < bytes) {
        const qsizetype size = std::max(bytes, BlockSize);
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size_t(size)));
        m_free = m_blocks.back().get();
        m_blockEnd = m_free + size;
    }
    return m_free;
}

int IniRewrite::sectionFor(const QString &section)
{
    // The saver writes a section's options one after another: most writes name the last section.
    // The same shared text is the same name without comparing it.
    const bool same
        = section.constData() == m_lastSectionGiven.constData() && section.size() == m_lastSectionGiven.size();
    if (m_lastSection >= 0 && (same || section == m_lastSectionGiven))
        return m_lastSection;
    // The stored name is written out as UTF-8 first; equal stored names have equal bytes there.
    Section added {};
    added.header = room(3 * section.size() + 1);
    char *headerEnd = putUtf8(m_free, storedNameSpan(QStringView(section)), m_beyondLatin1);
    Q_ASSERT(headerEnd - added.header <= qint64(std::numeric_limits<quint32>::max()));
    added.headerSize = quint32(headerEnd - added.header);
    const auto headerOf = [this](qsizetype p) {
        const Section &s = m_sections[size_t(p)];
        return std::string_view(s.header, s.headerSize);
    };
    const auto position = qsizetype(m_sections.size());
    m_sections.push_back(added);
    if (position >= m_sectionIndex.room())
        m_sectionIndex.grow();
    int s = int(m_sectionIndex.findOrInsert(NameTable::hash(headerOf(position)), position, headerOf));
    if (s >= 0) {
        m_sections.pop_back(); // a name given before: its bytes are given back
    } else {
        s = int(position);
        m_free = headerEnd;
    }
    m_lastSection = s;
    m_lastSectionGiven = section;
    return s;
}

void IniRewrite::add(const QString &section, QAnyStringView name, QAnyStringView value, bool lasting)
{
    const bool utf8 = textKind(name) == TextKind::Utf8 && textKind(value) == TextKind::Utf8;
    // A UTF-8 text beside one of another kind is decoded; Latin-1 and UTF-16 are encoded as they stand.
    if (!utf8 && (textKind(name) == TextKind::Utf8 || textKind(value) == TextKind::Utf8)) {
        add(section, textKind(name) == TextKind::Utf8 ? QAnyStringView(textToString(name)) : name,
            textKind(value) == TextKind::Utf8 ? QAnyStringView(textToString(value)) : value);
        return;
    }
    Section &target = m_sections[size_t(sectionFor(section))];
    const auto record = qsizetype(m_records.size());
    if (target.lastRun < 0 || m_runs[size_t(target.lastRun)].end != record) {
        const auto run = qsizetype(m_runs.size());
        m_runs.push_back({ record, record });
        (target.lastRun < 0 ? target.firstRun : m_runs[size_t(target.lastRun)].next) = run;
        target.lastRun = run;
    }
    ++m_runs[size_t(target.lastRun)].end;
    ++target.count;

    if (utf8) {
        addUtf8(static_cast<const char *>(name.data()), name.size_bytes(), static_cast<const char *>(value.data()),
            value.size_bytes(), lasting);
        return;
    }

    if (lasting && textKind(name) == TextKind::Latin1 && textKind(value) == TextKind::Latin1) {
        const auto *nameBytes = static_cast<const char *>(name.data());
        const auto *valueBytes = static_cast<const char *>(value.data());
        // Printable ASCII is its own UTF-8; a name with a blank at either end would be trimmed.
        // The value may follow the name directly, or after a '=' as a file's line holds them.
        const qsizetype between = valueBytes - (nameBytes + name.size());
        if ((between == 0 || (between == 1 && nameBytes[name.size()] == '=')) && !name.isEmpty() && nameBytes[0] != ' '
            && nameBytes[name.size() - 1] != ' ' && value.size() < qsizetype(WholeLine)
            && isPlain(nameBytes, name.size() + between + value.size())) {
            m_records.push_back(
                { nameBytes, quint32(name.size()), quint32(value.size()) | (between == 1 ? WholeLine : 0) });
            return;
        }
    }

    const auto put = [this](char *out, QAnyStringView text, bool trim) {
        if (textKind(text) == TextKind::Latin1) {
            const QLatin1StringView latin1(static_cast<const char *>(text.data()), text.size());
            return putUtf8(out, trim ? storedNameSpan(latin1) : latin1);
        }
        const QStringView utf16(static_cast<const char16_t *>(text.data()), text.size());
        return putUtf8(out, trim ? storedNameSpan(utf16) : utf16, m_beyondLatin1);
    };
    char *text = room(3 * (name.size() + value.size()));
    char *nameEnd = put(text, name, true);
    m_free = put(nameEnd, value, false);
    // A text of 4 GiB and more cannot be held by the tree in the first place.
    Q_ASSERT(m_free - nameEnd <= qint64(std::numeric_limits<quint32>::max()));
    m_records.push_back({ text, quint32(nameEnd - text), quint32(m_free - nameEnd) });
}

void IniRewrite::addUtf8(const char *name, qsizetype nameSize, const char *value, qsizetype valueSize, bool lasting)
{
    // Only a Latin-1 file needs to know: it cannot hold a character from U+0100 on, whose UTF-8
    // starts with a byte from 0xC4 on.
    if (m_format.encoding == Encoding::Latin1 && !m_beyondLatin1)
        m_beyondLatin1 = holdsByteFromC4(name, nameSize) || holdsByteFromC4(value, valueSize);
    const auto dropped = [](char c) { return isBlank(c) || isLineBreak(c); };
    while (nameSize > 0 && dropped(name[0])) {
        ++name;
        --nameSize;
    }
    while (nameSize > 0 && dropped(name[nameSize - 1]))
        --nameSize;
    Q_ASSERT(quint64(nameSize) <= std::numeric_limits<quint32>::max()
        && quint64(valueSize) <= std::numeric_limits<quint32>::max());
    // UTF-8 is written as it stands: a text that directly follows its name, or follows it after a
    // '=' as a file's line holds them, and holds no line break is referred to where it is.
    const qsizetype between = value - (name + nameSize);
    if (lasting && (between == 0 || (between == 1 && name[nameSize] == '=')) && valueSize < qsizetype(WholeLine)
        && !holdsControlByte(name, nameSize + between + valueSize)) {
        m_records.push_back({ name, quint32(nameSize), quint32(valueSize) | (between == 1 ? WholeLine : 0) });
        return;
    }
    char *text = room(nameSize + valueSize);
    m_free = putUtf8Bytes(putUtf8Bytes(text, name, nameSize), value, valueSize);
    m_records.push_back({ text, quint32(nameSize), quint32(valueSize) });
}

void IniRewrite::linesOf(const Section &section, std::vector<qsizetype> &lines, NameTable &places) const
{
    lines.clear();
    lines.reserve(size_t(section.count));
    const auto forEachRun = [this, &section](auto &&visit) {
        for (qsizetype run = section.firstRun; run >= 0; run = m_runs[size_t(run)].next)
            visit(m_runs[size_t(run)]);
    };
    if (section.count == 1) {
        lines.push_back(m_runs[size_t(section.firstRun)].first);
        return;
    }
    // A name written again keeps its first place and takes the later value.
    const auto nameOf = [this](qsizetype r) {
        const Record &record = m_records[size_t(r)];
        return std::string_view(record.text, record.nameLength);
    };
    if (section.count <= 8) { // a handful of names: comparing them is cheaper than a table
        forEachRun([&](const Run &run) {
            for (qsizetype r = run.first; r < run.end; ++r) {
                const auto same = std::find_if(
                    lines.begin(), lines.end(), [&](qsizetype line) { return nameOf(line) == nameOf(r); });
                if (same == lines.end())
                    lines.push_back(r);
                else
                    *same = r;
            }
        });
        return;
    }
    places.reset(section.count);
    const auto nameAt = [this, &lines](qsizetype p) {
        const Record &record = m_records[size_t(lines[size_t(p)])];
        return std::string_view(record.text, record.nameLength);
    };
    forEachRun([&](const Run &run) {
        for (qsizetype r = run.first; r < run.end; ++r) {
            const Record &record = m_records[size_t(r)];
            lines.push_back(r);
            const qsizetype position = qsizetype(lines.size()) - 1;
            const size_t hash = NameTable::hash(std::string_view(record.text, record.nameLength));
            const qsizetype earlier = places.findOrInsert(hash, position, nameAt);
            if (earlier >= 0) {
                lines[size_t(earlier)] = r;
                lines.pop_back();
            }
        }
    });
}

bool IniRewrite::latin1ReadsAsUtf8() const
{
    // Each text stands between ASCII bytes ('[', ']', '=' and line ends), where no UTF-8 sequence
    // can go on, so the file is valid UTF-8 exactly when each text is.
    bool beyondAscii = false;
    std::string latin1;
    const auto validAsUtf8 = [&](const char *utf8, qsizetype size) {
        if (isAscii(utf8, size))
            return true;
        beyondAscii = true;
        latin1.clear();
        for (qsizetype i = 0; i < size; ++i) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80 || i + 1 == size) {
                latin1.push_back(char(c));
            } else {
                latin1.push_back(char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F)));
                ++i;
            }
        }
        bool ascii = false;
        return isValidUtf8(reinterpret_cast<const uchar *>(latin1.data()), qsizetype(latin1.size()), ascii);
    };
    std::vector<qsizetype> lines;
    NameTable places;
    for (const Section &section : m_sections) {
        if (!validAsUtf8(section.header, section.headerSize))
            return false;
        linesOf(section, lines, places);
        for (const qsizetype r : lines) {
            const Record &record = m_records[size_t(r)];
            if (!validAsUtf8(record.text, record.nameLength) || !validAsUtf8(valueOf(record), valueSize(record)))
                return false;
        }
    }
    return beyondAscii;
}

void IniRewrite::writeTo(FileReplacer &file) const
{
    TextFormat format = m_format;
    // UTF-8 holds all text. Latin-1 cannot hold some, or holds it in bytes that the reader would
    // take for UTF-8 ("\xC3\xA9" is read as one letter, not two).
    if (format.encoding == Encoding::Latin1 && (m_beyondLatin1 || latin1ReadsAsUtf8()))
        format.encoding = Encoding::Utf8;
    file.write(byteOrderMark(format));
    const char *eol = format.lineEndBytes();
    const auto eolSize = qsizetype(std::strlen(eol));
    ChunkWriter out(file, format);
    std::vector<qsizetype> lines;
    NameTable places;
    bool first = true;
    for (const Section &section : m_sections) {
        if (!first)
            out.put(eol, eolSize);
        first = false;
        out.put('[');
        out.put(section.header, section.headerSize);
        out.put(']');
        out.put(eol, eolSize);
        linesOf(section, lines, places);
        for (const qsizetype r : lines) {
            const Record &record = m_records[size_t(r)];
            out.putOption(record.text, record.nameLength, valueOf(record), valueSize(record), eol, eolSize);
        }
    }
    out.flush();
}
