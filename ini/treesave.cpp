// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ini/treesave.h"

#include "disk/filereplacer.h"
#include "document/documenttree.h"
#include "document/textrules.h"
#include "document/textview.h"
#include "ini/nametable.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace {

using Form = OptionTexts::Form;

std::string_view bytesOf(QAnyStringView text)
{
    return std::string_view(static_cast<const char *>(text.data()), size_t(text.size_bytes()));
}

bool holdsLineBreak(std::string_view text)
{
    for (const char c : text) {
        if (isLineBreak(c))
            return true;
    }
    return false;
}

// Whether the reader would read the text back as the same name (Latin-1 or UTF-8 bytes).
bool standsAsName(std::string_view name)
{
    const auto dropped = [](char c) { return isBlank(c) || isLineBreak(c); };
    return !dropped(name.front()) && !dropped(name.back()) && !holdsLineBreak(name);
}

// The options of a section that a save writes (those with a name), when every one can be written
// as it stands and no name stands twice among them; false otherwise.
bool namedOptionsAsTheyStand(const OptionTexts &texts, std::vector<qsizetype> &named, NameTable &names)
{
    named.clear();
    if (texts.borrowed()) { // as the loader read them: whether one has a name is all that counts
        for (qsizetype o = 0; o < texts.size() && named.empty(); ++o) {
            if (!texts.view(o, DocumentTree::NameColumn).isEmpty())
                named.push_back(o);
        }
        return true;
    }
    if (texts.form() == Form::Utf16)
        return false; // the rewrite decides what becomes of a lone surrogate
    for (qsizetype o = 0; o < texts.size(); ++o) {
        const std::string_view name = bytesOf(texts.view(o, DocumentTree::NameColumn));
        if (name.empty())
            continue;
        if (!standsAsName(name) || holdsLineBreak(bytesOf(texts.view(o, DocumentTree::ValueColumn))))
            return false;
        named.push_back(o);
    }
    // Texts of one section share its form: equal names have equal bytes.
    const auto nameAt
        = [&texts, &named](qsizetype p) { return bytesOf(texts.view(named[size_t(p)], DocumentTree::NameColumn)); };
    if (named.size() <= 8) {
        for (size_t i = 1; i < named.size(); ++i) {
            for (size_t j = 0; j < i; ++j) {
                if (nameAt(qsizetype(i)) == nameAt(qsizetype(j)))
                    return false;
            }
        }
        return true;
    }
    names.reset(qsizetype(named.size()));
    for (qsizetype p = 0; p < qsizetype(named.size()); ++p) {
        if (names.findOrInsert(NameTable::hash(nameAt(p)), p, nameAt) >= 0)
            return false;
    }
    return true;
}

// Latin-1 text as UTF-8 at out; returns the end.
char *putLatin1AsUtf8(char *out, std::string_view text)
{
    if (isAscii(text.data(), qsizetype(text.size()))) {
        std::memcpy(out, text.data(), text.size());
        return out + text.size();
    }
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x80) {
            *out++ = char(c);
        } else {
            *out++ = char(0xC0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// A section's name as UTF-8: the bytes where it stands in a UTF-8 file, or in a Latin-1 file when
// they are ASCII; otherwise encoded into `encoded`.
std::string_view headerOf(QAnyStringView name, QByteArray &encoded)
{
    switch (textKind(name)) {
    case TextKind::Utf8:
        return bytesOf(name);
    case TextKind::Latin1:
        if (isAscii(static_cast<const char *>(name.data()), name.size()))
            return bytesOf(name);
        encoded.resize(2 * name.size());
        encoded.truncate(putLatin1AsUtf8(encoded.data(), bytesOf(name)) - encoded.constData());
        break;
    case TextKind::Utf16:
        encoded = asUtf16(name).toUtf8();
        break;
    }
    return bytesOf(QUtf8StringView(encoded));
}

// Whether no two of the given sections' names are equal.
bool namesDiffer(const DocumentTree &tree, const std::vector<int> &sections)
{
    std::vector<QByteArray> encoded(sections.size());
    std::vector<std::string_view> headers;
    headers.reserve(sections.size());
    for (size_t p = 0; p < sections.size(); ++p)
        headers.push_back(headerOf(tree.sectionNameView(sections[p]), encoded[p]));
    NameTable names;
    names.reset(qsizetype(headers.size()));
    const auto nameAt = [&headers](qsizetype p) { return headers[size_t(p)]; };
    for (qsizetype p = 0; p < qsizetype(headers.size()); ++p) {
        if (names.findOrInsert(NameTable::hash(nameAt(p)), p, nameAt) >= 0)
            return false;
    }
    return true;
}

// The bytes of a section that stands in the file it was read from just as it is written: its
// header line and then its options' lines, one after another with nothing between them, each line
// ending as the document's lines do. Empty when it does not.
std::string_view sectionAsItStands(QAnyStringView name, const OptionTexts &texts, std::string_view eol)
{
    if (!texts.borrowed() || !texts.nameBorrowed() || texts.empty())
        return {};
    const QByteArrayView source = texts.sourceBytes();
    const char *const sourceEnd = source.data() + source.size();
    const auto follows = [sourceEnd](const char *at, std::string_view bytes) {
        return sourceEnd - at >= qsizetype(bytes.size()) && std::equal(bytes.begin(), bytes.end(), at);
    };
    const char *const begin = static_cast<const char *>(name.data()) - 1;
    if (*begin != '[')
        return {};
    const char *at = begin + 1 + name.size_bytes();
    if (!follows(at, "]") || !follows(at + 1, eol))
        return {};
    at += 1 + eol.size();
    for (qsizetype o = 0; o < texts.size(); ++o) {
        const std::string_view optionName = bytesOf(texts.view(o, DocumentTree::NameColumn));
        const std::string_view value = bytesOf(texts.view(o, DocumentTree::ValueColumn));
        if (optionName.empty() || optionName.data() != at || !follows(at + optionName.size(), "="))
            return {};
        at += optionName.size() + 1;
        if (value.data() != at || !follows(at + value.size(), eol))
            return {};
        at += value.size() + eol.size();
    }
    // Latin-1 bytes stand for themselves in UTF-8 only while they are ASCII.
    if (texts.form() == Form::Latin1 && !isAscii(begin, at - begin))
        return {};
    return std::string_view(begin, size_t(at - begin));
}

// The new file's bytes, handed to the file a quarter of a megabyte at a time.
class Output {
public:
    explicit Output(FileReplacer &file)
        : m_file(file)
        , m_buffer(std::make_unique_for_overwrite<char[]>(Capacity))
    {
    }

    // Room for `size` more bytes, to be taken by advance().
    char *room(qsizetype size)
    {
        if (Capacity - m_used < size) {
            flush();
            if (size > Capacity) {
                m_large.resize(size);
                return m_large.data();
            }
        }
        return m_buffer.get() + m_used;
    }
    void advance(const char *end)
    {
        if (!m_large.isEmpty()) {
            m_file.write(QByteArrayView(m_large.constData(), end - m_large.constData()));
            m_large = QByteArray();
            return;
        }
        m_used = end - m_buffer.get();
    }
    void put(std::string_view bytes)
    {
        char *out = room(qsizetype(bytes.size()));
        std::memcpy(out, bytes.data(), bytes.size());
        advance(out + bytes.size());
    }
    void flush()
    {
        if (m_used > 0)
            m_file.write(QByteArrayView(m_buffer.get(), m_used));
        m_used = 0;
    }

private:
    static constexpr qsizetype Capacity = 1 << 18;
    FileReplacer &m_file;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_used = 0;
    QByteArray m_large; // a line longer than the buffer
};

} // namespace

bool saveTreeAsItStands(const DocumentTree &tree, const QString &fileName)
{
    const TextFormat &format = tree.sourceFormat();
    if (format.encoding != TextFormat::Encoding::Utf8)
        return false;
    // First every condition, so that a save that cannot go this way has touched nothing.
    std::vector<int> written;
    std::vector<qsizetype> named;
    NameTable optionNames;
    // Names that all stand where one file's sections were read from, in the order they stand
    // there, differ already: the loader read each name once. A copy of a section stands at the
    // same place as the section, and a moved section out of order.
    const void *source = nullptr;
    const char *lastName = nullptr;
    bool read = true;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        const QAnyStringView name = tree.sectionNameView(s);
        if (name.isEmpty())
            continue; // a section without a name is not saved
        const OptionTexts &texts = tree.optionTexts(s);
        if (!namedOptionsAsTheyStand(texts, named, optionNames))
            return false;
        if (named.empty())
            continue; // nor one without named options, which takes no name either
        if (!texts.nameBorrowed() && !keepsItsStoredName(name))
            return false; // a name as the loader read it is one
        if (textKind(name) == TextKind::Utf16 && holdsLoneSurrogate(asUtf16(name)))
            return false;
        if (written.empty())
            source = texts.source();
        read = read && texts.nameBorrowed() && texts.source() == source
            && std::less<const char *>()(lastName, static_cast<const char *>(name.data()));
        lastName = static_cast<const char *>(name.data());
        written.push_back(s);
    }
    if (!read && !namesDiffer(tree, written))
        return false;

    FileReplacer file(fileName);
    file.write(byteOrderMark(format));
    const std::string_view eol(format.lineEndBytes());
    Output out(file);
    bool first = true;
    QByteArray encoded;
    for (const int s : written) {
        if (!first)
            out.put(eol);
        first = false;
        const OptionTexts &texts = tree.optionTexts(s);
        const QAnyStringView header = tree.sectionNameView(s);
        if (const std::string_view whole = sectionAsItStands(header, texts, eol); !whole.empty()) {
            out.put(whole);
            continue;
        }
        out.put("[");
        out.put(headerOf(header, encoded));
        out.put("]");
        out.put(eol);
        const bool latin1 = texts.form() == Form::Latin1;
        for (qsizetype o = 0; o < texts.size(); ++o) {
            const std::string_view name = bytesOf(texts.view(o, DocumentTree::NameColumn));
            if (name.empty())
                continue;
            const std::string_view value = bytesOf(texts.view(o, DocumentTree::ValueColumn));
            const auto size = qsizetype((name.size() + value.size()) * (latin1 ? 2 : 1) + 1 + eol.size());
            char *line = out.room(size);
            char *end = line;
            const size_t lineSize = name.size() + 1 + value.size();
            const bool asTheFileHeldIt
                = value.data() == name.data() + name.size() + 1 && name.data()[name.size()] == '=';
            if (asTheFileHeldIt && (!latin1 || isAscii(name.data(), qsizetype(lineSize)))) {
                std::memcpy(end, name.data(), lineSize);
                end += lineSize;
            } else if (latin1) {
                end = putLatin1AsUtf8(end, name);
                *end++ = '=';
                end = putLatin1AsUtf8(end, value);
            } else {
                std::memcpy(end, name.data(), name.size());
                end += name.size();
                *end++ = '=';
                std::memcpy(end, value.data(), value.size());
                end += value.size();
            }
            std::memcpy(end, eol.data(), eol.size());
            out.advance(end + eol.size());
        }
    }
    out.flush();
    file.commit();
    return true;
}
