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

// ASCII held as UTF-8 is the same bytes as Latin-1.
QAnyStringView asLatin1(QAnyStringView text)
{
    return QLatin1StringView(static_cast<const char *>(text.data()), text.size_bytes());
}

quint32 checkedLength(qsizetype length)
{
    Q_ASSERT(length >= 0 && quint64(length) <= std::numeric_limits<quint32>::max());
    return quint32(length);
}

} // namespace

QString OptionTexts::text(qsizetype option, int column) const
{
    return view(option, column).toString();
}

QAnyStringView OptionTexts::view(qsizetype option, int column) const
{
    const Record &r = m_records[size_t(option)];
    if (column == DocumentTree::NameColumn)
        return slice(r.offset, r.nameLength);
    if (column == DocumentTree::ValueColumn)
        return slice(r.offset + r.nameLength, r.valueLength);
    return QLatin1StringView();
}

QAnyStringView OptionTexts::slice(qint64 offset, qsizetype length) const
{
    if (m_wide)
        return QStringView(m_utf16.constData() + offset, length);
    return QLatin1StringView(m_latin1.constData() + offset, length);
}

int OptionTexts::image(qsizetype option) const
{
    return m_images.empty() ? DocumentTree::OptionImage : m_images[size_t(option)];
}

void OptionTexts::reserve(qsizetype count, qsizetype units)
{
    m_records.reserve(m_records.size() + size_t(std::max<qsizetype>(count, 0)));
    if (m_wide)
        m_utf16.reserve(m_utf16.size() + units);
    else
        m_latin1.reserve(m_latin1.size() + units);
}

void OptionTexts::widen()
{
    m_utf16 = QString::fromLatin1(m_latin1);
    m_latin1 = QByteArray();
    m_wide = true;
}

qint64 OptionTexts::put(QAnyStringView first, QAnyStringView second)
{
    if (!m_wide && textKind(first) != TextKind::Utf16 && textKind(second) != TextKind::Utf16) {
        // The common case, one byte per character on both sides: one copy, no conversion.
        Q_ASSERT(holdsAsLatin1(first) && holdsAsLatin1(second));
        const qsizetype offset = m_latin1.size();
        m_latin1.resize(offset + first.size_bytes() + second.size_bytes());
        char *out = m_latin1.data() + offset;
        if (first.size_bytes() > 0)
            std::memcpy(out, first.data(), size_t(first.size_bytes()));
        if (second.size_bytes() > 0)
            std::memcpy(out + first.size_bytes(), second.data(), size_t(second.size_bytes()));
        return offset;
    }
    if (!m_wide && (!holdsAsLatin1(first) || !holdsAsLatin1(second)))
        widen();
    const qint64 offset = units();
    for (const QAnyStringView text : { first, second }) {
        if (m_wide) {
            if (textKind(text) == TextKind::Utf16)
                m_utf16.append(QStringView(static_cast<const char16_t *>(text.data()), text.size()));
            else
                m_utf16.append(textToString(text));
        } else if (textKind(text) == TextKind::Utf16) {
            for (const QChar c : QStringView(static_cast<const char16_t *>(text.data()), text.size()))
                m_latin1.append(char(c.unicode()));
        } else {
            m_latin1.append(static_cast<const char *>(text.data()), text.size_bytes());
        }
    }
    return offset;
}

void OptionTexts::append(QAnyStringView name, QAnyStringView value, int image)
{
    // A UTF-8 text beyond ASCII is measured in UTF-16 units once it is decoded.
    if (textKind(name) == TextKind::Utf8) {
        if (!holdsAsLatin1(name)) {
            append(textToString(name), value, image);
            return;
        }
        name = asLatin1(name);
    }
    if (textKind(value) == TextKind::Utf8) {
        if (!holdsAsLatin1(value)) {
            append(name, textToString(value), image);
            return;
        }
        value = asLatin1(value);
    }
    const qint64 offset = put(name, value);
    m_records.push_back({ offset, checkedLength(name.size()), checkedLength(value.size()) });
    if (!m_images.empty() || image != DocumentTree::OptionImage) {
        m_images.resize(m_records.size() - 1, DocumentTree::OptionImage);
        m_images.push_back(image);
    }
}

void OptionTexts::setText(qsizetype option, int column, QStringView text)
{
    Record &r = m_records[size_t(option)];
    const QString name = column == DocumentTree::NameColumn ? text.toString() : view(option, 0).toString();
    const QString value = column == DocumentTree::ValueColumn ? text.toString() : view(option, 1).toString();
    const qsizetype oldLength = qsizetype(r.nameLength) + r.valueLength;
    if (name.size() + value.size() <= oldLength && (m_wide || (fitsLatin1(name) && fitsLatin1(value)))) {
        // Shorter or as long: written over the old texts.
        const QString both = name + value;
        for (qsizetype i = 0; i < both.size(); ++i) {
            if (m_wide)
                m_utf16[r.offset + i] = both[i];
            else
                m_latin1[r.offset + i] = char(both[i].unicode());
        }
        m_unused += oldLength - both.size();
    } else {
        m_unused += oldLength;
        r.offset = put(name, value);
    }
    r.nameLength = checkedLength(name.size());
    r.valueLength = checkedLength(value.size());
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
            const QAnyStringView name = from.view(option, DocumentTree::NameColumn);
            const QAnyStringView value = from.view(option, DocumentTree::ValueColumn);
            records.push_back({ put(name, value), checkedLength(name.size()), checkedLength(value.size()) });
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
        m_latin1 = QByteArray();
        m_utf16 = QString();
        m_wide = false;
        m_unused = 0;
        return;
    }
    if (m_unused < 4096 || m_unused * 2 < total)
        return;
    QByteArray latin1;
    QString utf16;
    if (m_wide)
        utf16.reserve(total - m_unused);
    else
        latin1.reserve(total - m_unused);
    for (Record &r : m_records) {
        const qsizetype length = qsizetype(r.nameLength) + r.valueLength;
        const qint64 offset = m_wide ? utf16.size() : latin1.size();
        if (m_wide)
            utf16.append(QStringView(m_utf16.constData() + r.offset, length));
        else
            latin1.append(m_latin1.constData() + r.offset, length);
        r.offset = offset;
    }
    m_latin1 = std::move(latin1);
    m_utf16 = std::move(utf16);
    m_unused = 0;
}
