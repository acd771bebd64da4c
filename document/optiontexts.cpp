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

struct OptionTexts::Shared : QSharedData {
    QByteArray bytes;
    QList<Record> records; // of every borrowing section, in the order they were appended
};

OptionTexts::Source::Source(const QByteArray &bytes)
    : d(new Shared)
{
    d->bytes = bytes;
}

OptionTexts::Source::~Source() = default;

qsizetype OptionTexts::Source::recordCount() const
{
    return d->records.size();
}

void OptionTexts::Source::truncateRecords(qsizetype count)
{
    d->records.resize(count);
    if (d->records.capacity() > 2 * count)
        d->records.squeeze();
}

OptionTexts::OptionTexts() = default;
OptionTexts::~OptionTexts() = default;
OptionTexts::OptionTexts(OptionTexts &&other) noexcept = default;
OptionTexts &OptionTexts::operator=(OptionTexts &&other) noexcept = default;

OptionTexts::OptionTexts(const OptionTexts &other)
    : m_shared(other.m_shared)
    , m_own(other.m_own ? std::make_unique<Own>(*other.m_own) : nullptr)
    , m_nameOffset(other.m_nameOffset)
    , m_nameLength(other.m_nameLength)
    , m_first(other.m_first)
    , m_count(other.m_count)
    , m_form(other.m_form)
    , m_nameForm(other.m_nameForm)
    , m_borrowed(other.m_borrowed)
    , m_sharedRecords(other.m_sharedRecords)
{
}

OptionTexts &OptionTexts::operator=(const OptionTexts &other)
{
    if (this != &other)
        *this = OptionTexts(other);
    return *this;
}

qsizetype OptionTexts::size() const
{
    if (m_sharedRecords)
        return m_count;
    return m_own ? qsizetype(m_own->records.size()) : 0;
}

const OptionTexts::Record *OptionTexts::records() const
{
    if (m_sharedRecords)
        return m_shared->records.constData() + m_first;
    return m_own ? m_own->records.data() : nullptr;
}

OptionTexts::Own &OptionTexts::ownPart()
{
    if (!m_own)
        m_own = std::make_unique<Own>();
    return *m_own;
}

std::vector<OptionTexts::Record> &OptionTexts::ownRecords()
{
    Own &own = ownPart();
    if (m_sharedRecords) {
        const Record *first = m_shared->records.constData() + m_first;
        own.records.assign(first, first + m_count);
        m_sharedRecords = false;
        m_first = 0;
        m_count = 0;
    }
    return own.records;
}

qsizetype OptionTexts::units() const
{
    if (!m_own)
        return 0;
    return m_form == Form::Utf16 ? m_own->utf16.size() : m_own->bytes.size();
}

QString OptionTexts::text(qsizetype option, int column) const
{
    return textToString(view(option, column));
}

QAnyStringView OptionTexts::view(qsizetype option, int column) const
{
    const Record &r = records()[option];
    if (column == DocumentTree::NameColumn)
        return slice(nameOffset(r), r.nameLength);
    if (column == DocumentTree::ValueColumn)
        return slice(valueOffset(r), r.valueLength);
    return QLatin1StringView();
}

QAnyStringView OptionTexts::slice(qint64 offset, qsizetype length) const
{
    if (m_form == Form::Utf16)
        return QStringView(m_own->utf16.constData() + offset, length);
    const char *bytes = m_borrowed ? m_shared->bytes.constData() : m_own->bytes.constData();
    if (m_form == Form::Utf8)
        return QUtf8StringView(bytes + offset, length);
    return QLatin1StringView(bytes + offset, length);
}

QAnyStringView OptionTexts::allTexts() const
{
    if (empty())
        return QLatin1StringView();
    if (!m_borrowed)
        return slice(0, units());
    // The shared bytes hold every section of the file: only the stretch of this one's texts counts.
    qint64 begin = std::numeric_limits<qint64>::max();
    qint64 end = 0;
    const Record *r = records();
    for (qsizetype i = 0; i < size(); ++i) {
        begin = std::min(begin, nameOffset(r[i]));
        end = std::max(end, valueOffset(r[i]) + r[i].valueLength);
    }
    return slice(begin, end - begin);
}

void OptionTexts::borrow(const Source &source, Form form)
{
    Q_ASSERT(empty() && form != Form::Utf16);
    m_own.reset();
    m_shared = source.d;
    m_form = form;
    m_borrowed = true;
    m_sharedRecords = true;
    m_first = quint32(m_shared->records.size());
    m_count = 0;
}

void OptionTexts::appendBorrowed(qint64 name, qsizetype nameLength, qint64 value, qsizetype valueLength)
{
    Q_ASSERT(m_borrowed && value >= name + nameLength && value - name - nameLength <= MaxGap
        && value + valueLength <= m_shared->bytes.size());
    const Record record { placeOf(name, value - name - nameLength), checkedLength(nameLength),
        checkedLength(valueLength) };
    // A section's options stand together in the source while nothing else came between them.
    if (m_sharedRecords && qsizetype(m_first) + m_count == m_shared->records.size()) {
        Q_ASSERT(m_shared->records.size() < std::numeric_limits<quint32>::max());
        m_shared->records.append(record);
        ++m_count;
    } else {
        ownRecords().push_back(record);
    }
    if (m_own && !m_own->images.empty())
        m_own->images.push_back(DocumentTree::OptionImage);
}

void OptionTexts::appendBorrowedFrom(const OptionTexts &other)
{
    Q_ASSERT(m_borrowed && other.m_borrowed && m_shared == other.m_shared && m_form == other.m_form);
    const Record *first = other.records();
    const qsizetype count = other.size();
    std::vector<Record> &list = ownRecords();
    list.insert(list.end(), first, first + count);
    if (!m_own->images.empty() || (other.m_own && !other.m_own->images.empty())) {
        std::vector<int> &images = m_own->images;
        images.resize(list.size() - size_t(count), DocumentTree::OptionImage);
        for (qsizetype o = 0; o < count; ++o)
            images.push_back(other.image(o));
    }
}

qsizetype OptionTexts::moveSharedRecords(qsizetype first)
{
    if (!m_sharedRecords)
        return first;
    Q_ASSERT(first <= m_first);
    if (first == m_first)
        return first + m_count;
    Record *records = m_shared->records.data();
    std::memmove(records + first, records + m_first, m_count * sizeof(Record));
    m_first = quint32(first);
    return first + m_count;
}

void OptionTexts::removeRowsWhileLoading(const std::vector<int> &rows)
{
    if (!m_sharedRecords) {
        removeRows(rows);
        return;
    }
    Record *list = m_shared->records.data() + m_first;
    quint32 kept = 0;
    size_t next = 0;
    for (quint32 i = 0; i < m_count; ++i) {
        if (next < rows.size() && quint32(rows[next]) == i)
            ++next;
        else
            list[kept++] = list[i];
    }
    m_count = kept;
}

void OptionTexts::squeeze()
{
    if (m_own)
        m_own->records.shrink_to_fit();
}

void OptionTexts::borrowName(qint64 offset, qsizetype length, Form form)
{
    Q_ASSERT(m_shared && form != Form::Utf16 && offset >= 0 && length >= 0 && offset + length <= m_shared->bytes.size()
        && offset + length <= std::numeric_limits<quint32>::max());
    m_nameOffset = quint32(offset);
    m_nameLength = quint32(length);
    m_nameForm = quint8(form);
}

QAnyStringView OptionTexts::borrowedName() const
{
    Q_ASSERT(nameBorrowed());
    const char *name = m_shared->bytes.constData() + m_nameOffset;
    if (Form(m_nameForm) == Form::Utf8)
        return QUtf8StringView(name, m_nameLength);
    return QLatin1StringView(name, m_nameLength);
}

QByteArrayView OptionTexts::sourceBytes() const
{
    return m_shared ? QByteArrayView(m_shared->bytes) : QByteArrayView();
}

void OptionTexts::forgetName()
{
    m_nameForm = NoName;
    m_nameOffset = 0;
    m_nameLength = 0;
    releaseSource();
}

void OptionTexts::releaseSource()
{
    if (!m_borrowed && !nameBorrowed())
        m_shared.reset();
}

void OptionTexts::ownTexts()
{
    if (!m_borrowed)
        return;
    std::vector<Record> &records = ownRecords();
    m_own->origins.resize(records.size());
    for (size_t i = 0; i < records.size(); ++i)
        m_own->origins[i] = qint32(nameOffset(records[i]));
    qsizetype total = 0;
    for (const Record &r : records)
        total += qsizetype(r.nameLength) + r.valueLength;
    OptionTexts owned;
    owned.m_form = m_form;
    owned.ownPart().bytes.reserve(total);
    for (Record &r : records)
        r = owned.place(slice(nameOffset(r), r.nameLength), slice(valueOffset(r), r.valueLength));
    m_own->bytes = std::move(owned.m_own->bytes);
    m_own->unused = 0;
    m_borrowed = false;
    releaseSource();
}

int OptionTexts::image(qsizetype option) const
{
    return !m_own || m_own->images.empty() ? DocumentTree::OptionImage : m_own->images[size_t(option)];
}

qint64 OptionTexts::origin(qsizetype option) const
{
    if (m_borrowed)
        return nameOffset(records()[option]);
    return !m_own || m_own->origins.empty() ? -1 : m_own->origins[size_t(option)];
}

void OptionTexts::reserve(qsizetype count, qsizetype units)
{
    if (m_sharedRecords) // the source grows for every borrowing section at once
        return;
    Own &own = ownPart();
    own.records.reserve(own.records.size() + size_t(std::max<qsizetype>(count, 0)));
    if (m_borrowed)
        return;
    if (m_form == Form::Utf16)
        own.utf16.reserve(own.utf16.size() + units);
    else
        own.bytes.reserve(own.bytes.size() + units);
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
    ownTexts();
    Own &own = ownPart();
    if (m_form == Form::Latin1 && form == Form::Utf8 && isAscii(own.bytes.constData(), own.bytes.size())) {
        m_form = form; // ASCII is the same bytes either way
        return;
    }
    if (m_form == Form::Latin1 && form == Form::Utf16) {
        own.utf16 = QString::fromLatin1(own.bytes);
        own.bytes = QByteArray();
        m_form = form;
        return;
    }
    // Every text is written anew in the new form, which also reclaims the unused space.
    OptionTexts converted;
    converted.m_form = form;
    for (Record &r : own.records)
        r = converted.place(slice(nameOffset(r), r.nameLength), slice(valueOffset(r), r.valueLength));
    own.bytes = std::move(converted.ownPart().bytes);
    own.utf16 = std::move(converted.ownPart().utf16);
    own.unused = 0;
    m_form = form;
}

void OptionTexts::put(QAnyStringView text)
{
    const TextKind kind = textKind(text);
    Own &own = ownPart();
    switch (m_form) {
    case Form::Latin1:
        if (kind == TextKind::Utf16) {
            const QStringView utf16 = asUtf16(text);
            const qsizetype at = own.bytes.size();
            own.bytes.resize(at + utf16.size());
            char *out = own.bytes.data() + at;
            for (const QChar c : utf16)
                *out++ = char(c.unicode());
        } else { // Latin-1, or UTF-8 that is ASCII
            own.bytes.append(bytesOf(text), text.size_bytes());
        }
        return;
    case Form::Utf8:
        if (kind == TextKind::Utf8)
            own.bytes.append(bytesOf(text), text.size_bytes());
        else if (kind == TextKind::Latin1)
            appendLatin1AsUtf8(own.bytes, bytesOf(text), text.size());
        else
            own.bytes.append(asUtf16(text).toUtf8());
        return;
    case Form::Utf16:
        if (kind == TextKind::Utf16)
            own.utf16.append(asUtf16(text));
        else if (kind == TextKind::Latin1)
            own.utf16.append(QLatin1StringView(bytesOf(text), text.size()));
        else
            own.utf16.append(textToString(text));
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

void OptionTexts::append(QAnyStringView name, QAnyStringView value, int image, qint64 origin)
{
    if (m_borrowed) {
        // The texts may stand in the shared bytes themselves (a copy of a borrowed option).
        const QExplicitlySharedDataPointer<Shared> keep = m_shared;
        ownTexts();
        append(name, value, image, origin);
        return;
    }
    makeRoomFor(name);
    makeRoomFor(value);
    const Record record = place(name, value);
    std::vector<Record> &list = ownRecords();
    list.push_back(record);
    std::vector<int> &images = m_own->images;
    if (!images.empty() || image != DocumentTree::OptionImage) {
        images.resize(list.size() - 1, DocumentTree::OptionImage);
        images.push_back(image);
    }
    std::vector<qint32> &origins = m_own->origins;
    if (!origins.empty() || origin >= 0) {
        origins.resize(list.size() - 1, -1);
        origins.push_back(qint32(origin));
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
    const QExplicitlySharedDataPointer<Shared> keep = m_shared;
    ownTexts();
    makeRoomFor(text);
    const bool isName = column == DocumentTree::NameColumn;
    // Written at the end first, which measures the texts in the buffer's form; when they are no
    // longer than the old ones they move over them and the end is given back.
    const Record placed = place(isName ? text : other, isName ? other : text);
    Own &own = ownPart();
    Record &r = ownRecords()[size_t(option)];
    const qsizetype oldLength = qsizetype(r.nameLength) + r.valueLength;
    const qsizetype newLength = qsizetype(placed.nameLength) + placed.valueLength;
    if (newLength <= oldLength) {
        if (m_form == Form::Utf16) {
            std::memmove(
                own.utf16.data() + nameOffset(r), own.utf16.constData() + nameOffset(placed), size_t(newLength) * 2);
            own.utf16.truncate(nameOffset(placed));
        } else {
            std::memmove(
                own.bytes.data() + nameOffset(r), own.bytes.constData() + nameOffset(placed), size_t(newLength));
            own.bytes.truncate(nameOffset(placed));
        }
        own.unused += oldLength - newLength;
        r.nameLength = placed.nameLength;
        r.valueLength = placed.valueLength;
    } else {
        own.unused += oldLength;
        r = placed;
    }
    compactIfWasteful();
}

void OptionTexts::setImage(qsizetype option, int image)
{
    if (!m_own || m_own->images.empty()) {
        if (image == DocumentTree::OptionImage)
            return;
        const qsizetype count = size();
        ownPart().images.assign(size_t(count), DocumentTree::OptionImage);
    }
    m_own->images[size_t(option)] = image;
}

void OptionTexts::remove(qsizetype first, qsizetype count)
{
    std::vector<Record> &list = ownRecords();
    Own &own = *m_own;
    for (qsizetype i = first; i < first + count; ++i)
        own.unused += qsizetype(list[size_t(i)].nameLength) + list[size_t(i)].valueLength;
    list.erase(list.begin() + first, list.begin() + first + count);
    if (!own.images.empty())
        own.images.erase(own.images.begin() + first, own.images.begin() + first + count);
    if (!own.origins.empty())
        own.origins.erase(own.origins.begin() + first, own.origins.begin() + first + count);
    compactIfWasteful();
}

void OptionTexts::removeRows(const std::vector<int> &rows)
{
    std::vector<Record> &list = ownRecords();
    Own &own = *m_own;
    size_t kept = 0;
    size_t next = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (next < rows.size() && size_t(rows[next]) == i) {
            ++next;
            own.unused += qsizetype(list[i].nameLength) + list[i].valueLength;
            continue;
        }
        list[kept] = list[i];
        if (!own.images.empty())
            own.images[kept] = own.images[i];
        if (!own.origins.empty())
            own.origins[kept] = own.origins[i];
        ++kept;
    }
    list.resize(kept);
    if (!own.images.empty())
        own.images.resize(kept);
    if (!own.origins.empty())
        own.origins.resize(kept);
    compactIfWasteful();
}

void OptionTexts::insertRows(const std::vector<int> &rows, const OptionTexts &from, qsizetype first)
{
    Q_ASSERT(&from != this);
    ownTexts();
    // The form is settled first: a change of form rewrites the records that the loop below copies.
    for (size_t i = 0; i < rows.size(); ++i) {
        makeRoomFor(from.view(first + qsizetype(i), DocumentTree::NameColumn));
        makeRoomFor(from.view(first + qsizetype(i), DocumentTree::ValueColumn));
    }
    std::vector<Record> &list = ownRecords();
    Own &own = *m_own;
    const size_t total = list.size() + rows.size();
    std::vector<Record> records;
    records.reserve(total);
    const bool images = !own.images.empty() || (from.m_own && !from.m_own->images.empty());
    std::vector<int> imageList;
    if (images)
        imageList.reserve(total);
    std::vector<qint32> originList;
    originList.reserve(total);
    size_t old = 0;
    size_t next = 0;
    for (size_t i = 0; i < total; ++i) {
        if (next < rows.size() && size_t(rows[next]) == i) {
            const qsizetype option = first + qsizetype(next++);
            records.push_back(
                place(from.view(option, DocumentTree::NameColumn), from.view(option, DocumentTree::ValueColumn)));
            if (images)
                imageList.push_back(from.image(option));
            originList.push_back(qint32(from.origin(option)));
        } else {
            records.push_back(list[old]);
            if (images)
                imageList.push_back(image(qsizetype(old)));
            originList.push_back(qint32(origin(qsizetype(old))));
            ++old;
        }
    }
    Q_ASSERT(next == rows.size() && old == list.size());
    list = std::move(records);
    own.images = std::move(imageList);
    if (std::all_of(originList.begin(), originList.end(), [](qint32 o) { return o < 0; }))
        originList.clear();
    own.origins = std::move(originList);
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
    rotate(ownRecords());
    if (!m_own->images.empty())
        rotate(m_own->images);
    if (!m_own->origins.empty())
        rotate(m_own->origins);
}

void OptionTexts::insertFrom(qsizetype row, const OptionTexts &other, qsizetype option)
{
    Q_ASSERT(&other != this);
    const int movedImage = other.image(option);
    append(other.view(option, 0), other.view(option, 1), movedImage, other.origin(option));
    move(size() - 1, row);
}

void OptionTexts::compactIfWasteful()
{
    if (empty()) {
        m_own.reset();
        m_form = Form::Latin1;
        m_borrowed = false;
        m_sharedRecords = false;
        m_first = 0;
        m_count = 0;
        releaseSource();
        return;
    }
    if (m_borrowed) // the shared bytes are not this section's to reclaim
        return;
    Own &own = *m_own;
    const qsizetype total = units();
    if (own.unused < 4096 || own.unused * 2 < total)
        return;
    QByteArray bytes;
    QString utf16;
    const bool wide = m_form == Form::Utf16;
    if (wide)
        utf16.reserve(total - own.unused);
    else
        bytes.reserve(total - own.unused);
    for (Record &r : own.records) {
        const qsizetype length = qsizetype(r.nameLength) + r.valueLength;
        const qint64 offset = wide ? utf16.size() : bytes.size();
        if (wide)
            utf16.append(QStringView(own.utf16.constData() + nameOffset(r), length));
        else
            bytes.append(own.bytes.constData() + nameOffset(r), length);
        r.place = placeOf(offset);
    }
    own.bytes = std::move(bytes);
    own.utf16 = std::move(utf16);
    own.unused = 0;
}
