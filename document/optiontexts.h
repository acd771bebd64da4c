// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QString>

#include <vector>

// The names, values and image indexes of one section's options, held compactly: every text of the
// section lives in one shared buffer, one byte per character while all of them fit in Latin-1.
// From the first text that does not, the buffer takes the form that text came in: UTF-8 bytes as a
// UTF-8 file holds them (read, searched and written back without decoding), or UTF-16. A UTF-8
// buffer turns UTF-16 only for a text that UTF-8 cannot hold (a lone surrogate). An option costs
// sixteen bytes plus its texts; a QString is made only when one is asked for. A text replaced by a
// longer one moves to the end of the buffer; the space left behind is reclaimed once it makes up
// half of the buffer.
//
// A loaded section may instead borrow its texts where the file's bytes hold them, shared by every
// section of the file (see borrow()): a section then costs no buffer of its own until its first
// change, which copies its own texts out of the shared bytes.
class OptionTexts {
public:
    enum class Form : quint8 { Latin1, Utf8, Utf16 };

    [[nodiscard]] qsizetype size() const { return qsizetype(m_records.size()); }
    [[nodiscard]] bool empty() const { return m_records.empty(); }

    // column 0 is the name, column 1 the value.
    [[nodiscard]] QString text(qsizetype option, int column) const;
    // The text in place, in the buffer's form; valid until the next change to this section.
    [[nodiscard]] QAnyStringView view(qsizetype option, int column) const;
    [[nodiscard]] Form form() const { return m_form; }
    [[nodiscard]] int image(qsizetype option) const;
    // Every text of the section in one view, in no particular order and with unused space between
    // them: a text found nowhere in it is in no option.
    [[nodiscard]] QAnyStringView allTexts() const;

    // Makes the section's texts places in `bytes` (Latin-1 or UTF-8, as `form` says), shared and
    // never changed; the section must hold no options yet. appendBorrowed() then adds options
    // whose texts stand at the given places, a value at most MaxGap bytes after its name's end.
    void borrow(const QByteArray &bytes, Form form);
    static constexpr qsizetype MaxGap = (1 << 24) - 1;
    void appendBorrowed(qint64 name, qsizetype nameLength, qint64 value, qsizetype valueLength);
    [[nodiscard]] bool borrowed() const { return m_borrowed; }
    // The form of borrowed texts, once a loader knows it (UTF-8 bytes that are all ASCII are Latin-1).
    void setBorrowedForm(Form form)
    {
        Q_ASSERT(m_borrowed && form != Form::Utf16);
        m_form = form;
    }
    // Gives back the room that appending kept for more options.
    void squeeze() { m_records.shrink_to_fit(); }

    // Room for `count` more options with `units` characters of text between them.
    void reserve(qsizetype count, qsizetype units);
    // Texts may be Latin-1, UTF-8 or UTF-16.
    void append(QAnyStringView name, QAnyStringView value, int image);
    void setText(qsizetype option, int column, QAnyStringView text);
    void setImage(qsizetype option, int image);

    void remove(qsizetype first, qsizetype count);
    // Removes the options at the given rows, which must be ascending and distinct.
    void removeRows(const std::vector<int> &rows);
    // Inserts the options first, first + 1, ... of `from` at the given rows, which count the options
    // as they stand afterwards and must be ascending and distinct.
    void insertRows(const std::vector<int> &rows, const OptionTexts &from, qsizetype first = 0);
    // Moves one option to stand before the option now at `to` (rows before the move).
    void move(qsizetype from, qsizetype to);
    // Inserts at `row` the option `option` of `other` (which may not be this section).
    void insertFrom(qsizetype row, const OptionTexts &other, qsizetype option);

private:
    struct Record {
        // The name's offset in the low 40 bits; above them, how far the value stands past the
        // name's end (nothing unless the texts are borrowed).
        quint64 place;
        quint32 nameLength;
        quint32 valueLength;
    };
    static constexpr int GapShift = 40;
    [[nodiscard]] static qint64 nameOffset(const Record &r) { return qint64(r.place & ((quint64(1) << GapShift) - 1)); }
    [[nodiscard]] static qint64 valueOffset(const Record &r)
    {
        return nameOffset(r) + r.nameLength + qint64(r.place >> GapShift);
    }

    [[nodiscard]] qsizetype units() const { return m_form == Form::Utf16 ? m_utf16.size() : m_bytes.size(); }
    [[nodiscard]] QAnyStringView slice(qint64 offset, qsizetype length) const;
    // Brings the buffer to a form that can hold the text (see the class comment).
    void makeRoomFor(QAnyStringView text);
    void convertTo(Form form);
    // Puts the texts at the end of the buffer, which must be able to hold them, and returns where
    // they stand there.
    Record place(QAnyStringView name, QAnyStringView value);
    void put(QAnyStringView text);
    void compactIfWasteful();
    // Gives a section that borrows its texts a buffer of its own, before they change.
    void own();

    std::vector<Record> m_records;
    std::vector<int> m_images; // empty while every option has the option image
    QByteArray m_bytes; // Latin-1 or UTF-8
    QString m_utf16;
    Form m_form = Form::Latin1;
    bool m_borrowed = false;
    qsizetype m_unused = 0; // code units of the buffer that no record refers to
};
