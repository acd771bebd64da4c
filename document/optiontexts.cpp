// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/optiontexts.h"

#include "document/documenttree.h"
#include "document/textrules.h"
#include "document/textview.h"

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// A buffer past 1 TiB, or a gap past 16 MiB, cannot be: files over 1 GiB are not read.
quint64 placeOf(qint64 offset, qint64 gap = 0)
{
    Q_ASSERT(offset >= 0 && offset < (qint64(1) << 40) && gap >= 0 && gap <= OptionTexts::MaxGap);
    return quint64(offset) | (quint64(gap) << 40);
}

quint32 checkedLength(qsizetype length)
{
    Q_ASSERT(length >= 0 && quint64(length) <= std::numeric_limits<quint32>::max());
    return quint32(length);
}

QStringView asUtf16(QAnyStringView text)
{
    return QStringView(static_cast<const char16_t *>(text.data()), text.size());
}

const char *bytesOf(QAnyStringView text)
{
    return static_cast<const char *>(text.data());
}

void appendLatin1AsUtf8(QByteArray &out, const char *text, qsizetype size)
{
    if (isAscii(text, size)) {
        out.append(text, size);
        return;
    }
    const qsizetype at = out.size();
    out.resize(at + 2 * size);
    char *o = out.data() + at;
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            *o++ = char(c);
        } else {
            *o++ = char(0xC0 | (c >> 6));
            *o++ = char(0x80 | (c & 0x3F));
        }
    }
    out.truncate(o - out.constData());
}

} // namespace

QString OptionTexts::text(qsizetype option, int column) const
{
    return textToString(view(option, column));
}

QAnyStringView OptionTexts::view(qsizetype option, int column) const
{
    const Record &r = m_records[size_t(option)];
    if (column == DocumentTree::NameColumn)
        return slice(nameOffset(r), r.nameLength);
    if (column == DocumentTree::ValueColumn)
        return slice(valueOffset(r), r.valueLength);
    return QLatin1StringView();
}

QAnyStringView OptionTexts::slice(qint64 offset, qsizetype length) const
{
    switch (m_form) {
    case Form::Latin1:
        return QLatin1StringView(m_bytes.constData() + offset, length);
    case Form::Utf8:
        return QUtf8StringView(m_bytes.constData() + offset, length);
    case Form::Utf16:
        break;
    }
    return QStringView(m_utf16.constData() + offset, length);
}

QAnyStringView OptionTexts::allTexts() const
{
    if (!m_borrowed)
        return slice(0, units());
    // The shared bytes hold every section of the file: only the stretch of this one's texts counts.
    if (m_records.empty())
        return slice(0, 0);
    qint64 begin = std::numeric_limits<qint64>::max();
    qint64 end = 0;
    for (const Record &r : m_records) {
        begin = std::min(begin, nameOffset(r));
        end = std::max(end, valueOffset(r) + r.valueLength);
    }
    return slice(begin, end - begin);
}

void OptionTexts::borrow(const QByteArray &bytes, Form form)
{
    Q_ASSERT(m_records.empty() && form != Form::Utf16);
    m_bytes = bytes;
    m_utf16 = QString();
    m_form = form;
    m_borrowed = true;
    m_unused = 0;
}

void OptionTexts::appendBorrowed(qint64 name, qsizetype nameLength, qint64 value, qsizetype valueLength)
{
    Q_ASSERT(m_borrowed && value >= name + nameLength && value - name - nameLength <= MaxGap
        && value + valueLength <= m_bytes.size());
    m_records.push_back(
        { placeOf(name, value - name - nameLength), checkedLength(nameLength), checkedLength(valueLength) });
    if (!m_images.empty())
        m_images.push_back(DocumentTree::OptionImage);
}

void OptionTexts::own()
{
    if (!m_borrowed)
        return;
    qsizetype total = 0;
    for (const Record &r : m_records)
        total += qsizetype(r.nameLength) + r.valueLength;
    OptionTexts owned;
    owned.m_form = m_form;
    owned.m_bytes.reserve(total);
    for (Record &r : m_records)
        r = owned.place(slice(nameOffset(r), r.nameLength), slice(valueOffset(r), r.valueLength));
    m_bytes = std::move(owned.m_bytes);
    m_borrowed = false;
    m_unused = 0;
}

int OptionTexts::image(qsizetype option) const
{
    return m_images.empty() ? DocumentTree::OptionImage : m_images[size_t(option)];
}

void OptionTexts::reserve(qsizetype count, qsizetype units)
{
    m_records.reserve(m_records.size() + size_t(std::max<qsizetype>(count, 0)));
    if (m_borrowed)
        return;
    if (m_form == Form::Utf16)
        m_utf16.reserve(m_utf16.size() + units);
    else
        m_bytes.reserve(m_bytes.size() + units);
}

void OptionTexts::makeRoomFor(QAnyStringView text)
{
    const TextKind kind = textKind(text);
    switch (m_form) {
    case Form::Latin1:
        if (kind == TextKind::Utf8 && !isAscii(bytesOf(text), text.size_bytes()))
            convertTo(Form::Utf8);
        else if (kind == TextKind::Utf16 && !fitsLatin1(asUtf16(text)))
            convertTo(Form::Utf16);
        return;
    case Form::Utf8:
        if (kind == TextKind::Utf16 && holdsLoneSurrogate(asUtf16(text)))
            convertTo(Form::Utf16);
        return;
    case Form::Utf16:
        return;
    }
}

void OptionTexts::convertTo(Form form)
{
    if (form == m_form)
        return;
    own();
    if (m_form == Form::Latin1 && form == Form::Utf8 && isAscii(m_bytes.constData(), m_bytes.size())) {
        m_form = form; // ASCII is the same bytes either way
        return;
    }
    if (m_form == Form::Latin1 && form == Form::Utf16) {
        m_utf16 = QString::fromLatin1(m_bytes);
        m_bytes = QByteArray();
        m_form = form;
        return;
    }
    // Every text is written anew in the new form, which also reclaims the unused space.
    OptionTexts converted;
    converted.m_form = form;
    for (Record &r : m_records)
        r = converted.place(slice(nameOffset(r), r.nameLength), slice(valueOffset(r), r.valueLength));
    m_bytes = std::move(converted.m_bytes);
    m_utf16 = std::move(converted.m_utf16);
    m_form = form;
    m_unused = 0;
}

void OptionTexts::put(QAnyStringView text)
{
    const TextKind kind = textKind(text);
    switch (m_form) {
    case Form::Latin1:
        if (kind == TextKind::Utf16) {
            const QStringView utf16 = asUtf16(text);
            const qsizetype at = m_bytes.size();
            m_bytes.resize(at + utf16.size());
            char *out = m_bytes.data() + at;
            for (const QChar c : utf16)
                *out++ = char(c.unicode());
        } else { // Latin-1, or UTF-8 that is ASCII
            m_bytes.append(bytesOf(text), text.size_bytes());
        }
        return;
    case Form::Utf8:
        if (kind == TextKind::Utf8)
            m_bytes.append(bytesOf(text), text.size_bytes());
        else if (kind == TextKind::Latin1)
            appendLatin1AsUtf8(m_bytes, bytesOf(text), text.size());
        else
            m_bytes.append(asUtf16(text).toUtf8());
        return;
    case Form::Utf16:
        if (kind == TextKind::Utf16)
            m_utf16.append(asUtf16(text));
        else if (kind == TextKind::Latin1)
            m_utf16.append(QLatin1StringView(bytesOf(text), text.size()));
        else
            m_utf16.append(textToString(text));
        return;
    }
}

OptionTexts::Record OptionTexts::place(QAnyStringView name, QAnyStringView value)
{
    const qsizetype start = units();
    put(name);
    const qsizetype middle = units();
    put(value);
    return { placeOf(start), checkedLength(middle - start), checkedLength(units() - middle) };
}

void OptionTexts::append(QAnyStringView name, QAnyStringView value, int image)
{
    if (m_borrowed) {
        // The texts may stand in the shared bytes themselves (a copy of a borrowed option).
        const QByteArray keep = m_bytes;
        own();
        append(name, value, image);
        return;
    }
    makeRoomFor(name);
    makeRoomFor(value);
    m_records.push_back(place(name, value));
    if (!m_images.empty() || image != DocumentTree::OptionImage) {
        m_images.resize(m_records.size() - 1, DocumentTree::OptionImage);
        m_images.push_back(image);
    }
}

void OptionTexts::setText(qsizetype option, int column, QAnyStringView text)
{
    // The other text is copied as it stands: the buffer may change form or grow under it.
    const QAnyStringView otherView = view(option, 1 - column);
    QByteArray otherBytes;
    QString otherUtf16;
    QAnyStringView other;
    if (textKind(otherView) == TextKind::Utf16) {
        otherUtf16 = asUtf16(otherView).toString();
        other = otherUtf16;
    } else {
        otherBytes = QByteArray(bytesOf(otherView), otherView.size_bytes());
        other = textKind(otherView) == TextKind::Utf8 ? QAnyStringView(QUtf8StringView(otherBytes))
                                                      : QAnyStringView(QLatin1StringView(otherBytes));
    }
    // A text given from the shared bytes stays valid: they live on in `keep` and every other section.
    const QByteArray keep = m_bytes;
    own();
    makeRoomFor(text);
    const bool isName = column == DocumentTree::NameColumn;
    // Written at the end first, which measures the texts in the buffer's form; when they are no
    // longer than the old ones they move over them and the end is given back.
    const Record placed = place(isName ? text : other, isName ? other : text);
    Record &r = m_records[size_t(option)];
    const qsizetype oldLength = qsizetype(r.nameLength) + r.valueLength;
    const qsizetype newLength = qsizetype(placed.nameLength) + placed.valueLength;
    if (newLength <= oldLength) {
        if (m_form == Form::Utf16) {
            std::memmove(
                m_utf16.data() + nameOffset(r), m_utf16.constData() + nameOffset(placed), size_t(newLength) * 2);
            m_utf16.truncate(nameOffset(placed));
        } else {
            std::memmove(m_bytes.data() + nameOffset(r), m_bytes.constData() + nameOffset(placed), size_t(newLength));
            m_bytes.truncate(nameOffset(placed));
        }
        m_unused += oldLength - newLength;
        r.nameLength = placed.nameLength;
        r.valueLength = placed.valueLength;
    } else {
        m_unused += oldLength;
        r = placed;
    }
    compactIfWasteful();
}

void OptionTexts::setImage(qsizetype option, int image)
{
    if (m_images.empty()) {
        if (image == DocumentTree::OptionImage)
            return;
        m_images.assign(m_records.size(), DocumentTree::OptionImage);
    }
    m_images[size_t(option)] = image;
}

void OptionTexts::remove(qsizetype first, qsizetype count)
{
    for (qsizetype i = first; i < first + count; ++i)
        m_unused += qsizetype(m_records[size_t(i)].nameLength) + m_records[size_t(i)].valueLength;
    m_records.erase(m_records.begin() + first, m_records.begin() + first + count);
    if (!m_images.empty())
        m_images.erase(m_images.begin() + first, m_images.begin() + first + count);
    compactIfWasteful();
}

void OptionTexts::removeRows(const std::vector<int> &rows)
{
    size_t kept = 0;
    size_t next = 0;
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (next < rows.size() && size_t(rows[next]) == i) {
            ++next;
            m_unused += qsizetype(m_records[i].nameLength) + m_records[i].valueLength;
            continue;
        }
        m_records[kept] = m_records[i];
        if (!m_images.empty())
            m_images[kept] = m_images[i];
        ++kept;
    }
    m_records.resize(kept);
    if (!m_images.empty())
        m_images.resize(kept);
    compactIfWasteful();
}

void OptionTexts::insertRows(const std::vector<int> &rows, const OptionTexts &from, qsizetype first)
{
    Q_ASSERT(&from != this);
    own();
    // The form is settled first: a change of form rewrites the records that the loop below copies.
    for (size_t i = 0; i < rows.size(); ++i) {
        makeRoomFor(from.view(first + qsizetype(i), DocumentTree::NameColumn));
        makeRoomFor(from.view(first + qsizetype(i), DocumentTree::ValueColumn));
    }
    const size_t total = m_records.size() + rows.size();
    std::vector<Record> records;
    records.reserve(total);
    const bool images = !m_images.empty() || !from.m_images.empty();
    std::vector<int> imageList;
    if (images)
        imageList.reserve(total);
    size_t old = 0;
    size_t next = 0;
    for (size_t i = 0; i < total; ++i) {
        if (next < rows.size() && size_t(rows[next]) == i) {
            const qsizetype option = first + qsizetype(next++);
            records.push_back(
                place(from.view(option, DocumentTree::NameColumn), from.view(option, DocumentTree::ValueColumn)));
            if (images)
                imageList.push_back(from.image(option));
        } else {
            records.push_back(m_records[old]);
            if (images)
                imageList.push_back(image(qsizetype(old)));
            ++old;
        }
    }
    Q_ASSERT(next == rows.size() && old == m_records.size());
    m_records = std::move(records);
    m_images = std::move(imageList);
}

void OptionTexts::move(qsizetype from, qsizetype to)
{
    const qsizetype insertAt = to > from ? to - 1 : to;
    const auto rotate = [from, insertAt](auto &list) {
        if (insertAt > from)
            std::rotate(list.begin() + from, list.begin() + from + 1, list.begin() + insertAt + 1);
        else
            std::rotate(list.begin() + insertAt, list.begin() + from, list.begin() + from + 1);
    };
    rotate(m_records);
    if (!m_images.empty())
        rotate(m_images);
}

void OptionTexts::insertFrom(qsizetype row, const OptionTexts &other, qsizetype option)
{
    Q_ASSERT(&other != this);
    const int movedImage = other.image(option);
    append(other.view(option, 0), other.view(option, 1), movedImage);
    move(size() - 1, row);
}

void OptionTexts::compactIfWasteful()
{
    const qsizetype total = units();
    if (m_records.empty()) {
        m_bytes = QByteArray();
        m_utf16 = QString();
        m_form = Form::Latin1;
        m_borrowed = false;
        m_unused = 0;
        return;
    }
    if (m_borrowed) // the shared bytes are not this section's to reclaim
        return;
    if (m_unused < 4096 || m_unused * 2 < total)
        return;
    QByteArray bytes;
    QString utf16;
    const bool wide = m_form == Form::Utf16;
    if (wide)
        utf16.reserve(total - m_unused);
    else
        bytes.reserve(total - m_unused);
    for (Record &r : m_records) {
        const qsizetype length = qsizetype(r.nameLength) + r.valueLength;
        const qint64 offset = wide ? utf16.size() : bytes.size();
        if (wide)
            utf16.append(QStringView(m_utf16.constData() + nameOffset(r), length));
        else
            bytes.append(m_bytes.constData() + nameOffset(r), length);
        r.place = placeOf(offset);
    }
    m_bytes = std::move(bytes);
    m_utf16 = std::move(utf16);
    m_unused = 0;
}
