#include "document/inirewrite.h"

#include "document/diskfile.h"
#include "document/initext.h"
#include "document/nametable.h"

#include <limits>
#include <string_view>

namespace {

using Encoding = TextFormat::Encoding;

// Appends text as UTF-8 (a lone surrogate becomes U+FFFD, as QString::toUtf8 does); returns
// whether any character lies beyond Latin-1.
bool appendUtf8(QByteArray &out, QStringView text)
{
    bool beyondLatin1 = false;
    const qsizetype start = out.size();
    out.resize(start + text.size() * 3);
    char *p = out.data() + start;
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c < 0x80) {
            *p++ = char(c);
            continue;
        }
        if (c > 0xFF)
            beyondLatin1 = true;
        if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3F));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
                ++i;
                *p++ = char(0xF0 | (c >> 18));
                *p++ = char(0x80 | ((c >> 12) & 0x3F));
                *p++ = char(0x80 | ((c >> 6) & 0x3F));
                *p++ = char(0x80 | (c & 0x3F));
                continue;
            }
            c = 0xFFFD;
        }
        *p++ = char(0xE0 | (c >> 12));
        *p++ = char(0x80 | ((c >> 6) & 0x3F));
        *p++ = char(0x80 | (c & 0x3F));
    }
    out.truncate(p - out.constData());
    return beyondLatin1;
}

// The output goes to the file in pieces of about a megabyte, converted from UTF-8 where the
// file's encoding is another.
class ChunkWriter {
public:
    ChunkWriter(FileReplacer &file, const TextFormat &format)
        : m_file(file)
        , m_format(format)
    {
        m_chunk.reserve(Limit + Limit / 4);
    }

    QByteArray &text() { return m_chunk; }

    void maybeFlush()
    {
        if (m_chunk.size() >= Limit)
            flush();
    }

    void flush()
    {
        if (m_chunk.isEmpty())
            return;
        if (m_format.encoding == Encoding::Utf8)
            m_file.write(m_chunk);
        else
            m_file.write(IniText::encode(QString::fromUtf8(m_chunk), m_format));
        m_chunk.resize(0);
    }

private:
    static constexpr qsizetype Limit = 1 << 20;
    FileReplacer &m_file;
    TextFormat m_format;
    QByteArray m_chunk;
};

} // namespace

IniRewrite::IniRewrite(const TextFormat &format)
    : m_format(format)
{
}

void IniRewrite::add(const QString &section, const QString &name, const QString &value)
{
    int s = m_lastSection;
    if (s < 0 || section != m_lastSectionName) {
        const auto known = m_sectionIndex.constFind(section);
        if (known != m_sectionIndex.cend()) {
            s = *known;
        } else {
            s = static_cast<int>(m_sections.size());
            m_sectionIndex.insert(section, s);
            Section added;
            m_beyondLatin1 |= appendUtf8(added.header, section);
            m_sections.push_back(std::move(added));
        }
        m_lastSection = s;
        m_lastSectionName = section;
    }
    Section &target = m_sections[size_t(s)];
    const auto record = qsizetype(m_records.size());
    if (target.runs.empty() || target.runs.back().end != record)
        target.runs.push_back({ record, record });
    ++target.runs.back().end;
    ++target.count;

    const qint64 offset = m_text.size();
    m_beyondLatin1 |= appendUtf8(m_text, name);
    const qint64 nameEnd = m_text.size();
    m_beyondLatin1 |= appendUtf8(m_text, value);
    // A text of 4 GiB and more cannot be held by the tree in the first place.
    Q_ASSERT(m_text.size() - offset <= qint64(std::numeric_limits<quint32>::max()));
    m_records.push_back({ offset, quint32(nameEnd - offset), quint32(m_text.size() - nameEnd) });
}

std::vector<qsizetype> IniRewrite::linesOf(const Section &section) const
{
    std::vector<qsizetype> lines;
    lines.reserve(size_t(section.count));
    if (section.count == 1) {
        lines.push_back(section.runs.front().first);
        return lines;
    }
    // A name written again keeps its first place and takes the later value.
    NameTable places;
    places.reset(section.count);
    const auto nameAt = [this, &lines](qsizetype p) {
        const Record &record = m_records[size_t(lines[size_t(p)])];
        return std::string_view(m_text.constData() + record.offset, record.nameLength);
    };
    for (const Run &run : section.runs) {
        for (qsizetype r = run.first; r < run.end; ++r) {
            const Record &record = m_records[size_t(r)];
            lines.push_back(r);
            const qsizetype position = qsizetype(lines.size()) - 1;
            const size_t hash = qHash(QByteArrayView(m_text.constData() + record.offset, record.nameLength));
            const qsizetype earlier = places.findOrInsert(hash, position, nameAt);
            if (earlier >= 0) {
                lines[size_t(earlier)] = r;
                lines.pop_back();
            }
        }
    }
    return lines;
}

void IniRewrite::writeTo(FileReplacer &file) const
{
    TextFormat format = m_format;
    if (format.encoding == Encoding::Latin1 && m_beyondLatin1)
        format.encoding = Encoding::Utf8; // Latin-1 cannot hold the text; UTF-8 holds it all
    file.write(IniText::byteOrderMark(format));
    const QByteArray eol = format.crlf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
    ChunkWriter out(file, format);
    QByteArray &text = out.text();
    bool first = true;
    for (const Section &section : m_sections) {
        if (!first)
            text += eol;
        first = false;
        text += '[';
        text += section.header;
        text += ']';
        text += eol;
        for (const qsizetype r : linesOf(section)) {
            const Record &record = m_records[size_t(r)];
            text.append(m_text.constData() + record.offset, record.nameLength);
            text += '=';
            text.append(m_text.constData() + record.offset + record.nameLength, record.valueLength);
            text += eol;
            out.maybeFlush();
        }
    }
    out.flush();
}
