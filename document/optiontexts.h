// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QByteArrayView>
#include <QExplicitlySharedDataPointer>
#include <QList>
#include <QSharedData>
#include <QString>

#include <memory>
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
// A loaded section may instead borrow its texts where the file's bytes hold them (see Source and
// borrow()), and its own name too: a section then costs no buffer and no allocation of its own
// until its first change, which copies its own texts out of the shared bytes. The places of its
// options stand among those of every section in the Source, until they change.
class OptionTexts {
    struct Shared;

public:
    enum class Form : quint8 { Latin1, Utf8, Utf16 };

    // A file's bytes (Latin-1 or UTF-8), shared and never changed, and the places of the texts
    // that sections borrow from them, which grow as a loader appends options.
    class Source {
    public:
        explicit Source(const QByteArray &bytes);
        ~Source();
        // How many places of options the source holds, and dropping those from `count` on, which
        // no section refers to any longer (see moveSharedRecords()), with the room they took.
        [[nodiscard]] qsizetype recordCount() const;
        void truncateRecords(qsizetype count);
        Source(const Source &) = delete;
        Source &operator=(const Source &) = delete;

    private:
        friend class OptionTexts;
        QExplicitlySharedDataPointer<Shared> d;
    };

    OptionTexts();
    ~OptionTexts();
    OptionTexts(const OptionTexts &other);
    OptionTexts &operator=(const OptionTexts &other);
    OptionTexts(OptionTexts &&other) noexcept;
    OptionTexts &operator=(OptionTexts &&other) noexcept;

    [[nodiscard]] qsizetype size() const;
    [[nodiscard]] bool empty() const { return size() == 0; }

    // column 0 is the name, column 1 the value.
    [[nodiscard]] QString text(qsizetype option, int column) const;
    // The text in place, in the buffer's form; valid until the next change to this section.
    [[nodiscard]] QAnyStringView view(qsizetype option, int column) const;
    [[nodiscard]] Form form() const { return m_form; }
    [[nodiscard]] int image(qsizetype option) const;
    // Where the option was read from: a place within its line in the file's text (see
    // DocumentTree::layoutBytes()), or -1 for an option that no line holds. Moves and copies keep it.
    [[nodiscard]] qint64 origin(qsizetype option) const;
    // Every text of the section in one view, in no particular order and with unused space between
    // them: a text found nowhere in it is in no option.
    [[nodiscard]] QAnyStringView allTexts() const;

    // Makes the section's texts places in the source's bytes (Latin-1 or UTF-8, as `form` says);
    // the section must hold no options yet. appendBorrowed() then adds options whose texts stand
    // at the given places, a value at most MaxGap bytes after its name's end.
    void borrow(const Source &source, Form form);
    static constexpr qsizetype MaxGap = (1 << 24) - 1;
    void appendBorrowed(qint64 name, qsizetype nameLength, qint64 value, qsizetype valueLength);
    // Borrowed texts are the options as the loader read them, or some of them, in any order: each
    // name stands as a name and once in the section, and no value holds a line break.
    [[nodiscard]] bool borrowed() const { return m_borrowed; }
    // Appends the options of another section that borrows from the same source, as they stand.
    void appendBorrowedFrom(const OptionTexts &other);
    // For a loader that merges sections: moves the places of this section's options in the source
    // to stand from `first` on (at or below where they stand), and returns where they end there;
    // `first` for a section whose places are its own.
    qsizetype moveSharedRecords(qsizetype first);
    // For a loader, while no copy of the section exists: removes the options at the given rows
    // (ascending and distinct) where their places stand, also in the source.
    void removeRowsWhileLoading(const std::vector<int> &rows);

    // The form of borrowed texts, once a loader knows it (UTF-8 bytes that are all ASCII are Latin-1).
    void setBorrowedForm(Form form)
    {
        Q_ASSERT(m_borrowed && form != Form::Utf16);
        m_form = form;
    }
    // Gives back the room that appending kept for more options.
    void squeeze();

    // The section's own name, standing in the bytes of the source that borrow() named (Latin-1 or
    // UTF-8, as `form` says), kept there until forgetName().
    void borrowName(qint64 offset, qsizetype length, Form form);
    [[nodiscard]] bool nameBorrowed() const { return m_nameForm != NoName; }
    [[nodiscard]] QAnyStringView borrowedName() const;
    void forgetName();
    // The source whose bytes hold the borrowed texts or name (nullptr for none). The loader
    // gives the sections of one file names that differ.
    [[nodiscard]] const void *source() const { return m_shared.data(); }
    // That source's bytes (empty for none).
    [[nodiscard]] QByteArrayView sourceBytes() const;

    // Room for `count` more options with `units` characters of text between them.
    void reserve(qsizetype count, qsizetype units);
    // Texts may be Latin-1, UTF-8 or UTF-16.
    void append(QAnyStringView name, QAnyStringView value, int image, qint64 origin = -1);
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
    // What a section holds of its own: its records once they change, image indexes, and its
    // texts once they no longer stand in the shared bytes.
    struct Own {
        std::vector<Record> records;
        std::vector<int> images; // empty while every option has the option image
        // Empty while the texts are borrowed (their places are their origins) or no option has one.
        std::vector<qint32> origins;
        QByteArray bytes; // Latin-1 or UTF-8
        QString utf16;
        qsizetype unused = 0; // code units of the buffer that no record refers to
    };

    static constexpr int GapShift = 40;
    [[nodiscard]] static qint64 nameOffset(const Record &r) { return qint64(r.place & ((quint64(1) << GapShift) - 1)); }
    [[nodiscard]] static qint64 valueOffset(const Record &r)
    {
        return nameOffset(r) + r.nameLength + qint64(r.place >> GapShift);
    }

    [[nodiscard]] const Record *records() const;
    [[nodiscard]] Own &ownPart();
    // The records, as this section's own (copied out of the source at the first change).
    std::vector<Record> &ownRecords();
    [[nodiscard]] qsizetype units() const;
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
    void ownTexts();
    // Lets go of the shared bytes once neither the texts nor the name stand there.
    void releaseSource();

    static constexpr quint8 NoName = 0xFF;
    QExplicitlySharedDataPointer<Shared> m_shared; // while texts or the name stand there
    std::unique_ptr<Own> m_own;
    quint32 m_nameOffset = 0; // the borrowed name's place (files over 1 GiB are not read)
    quint32 m_nameLength = 0;
    quint32 m_first = 0; // the first record in the source, while they stand there
    quint32 m_count = 0; // and how many
    Form m_form = Form::Latin1;
    quint8 m_nameForm = NoName; // a Form while the name is borrowed
    bool m_borrowed = false; // the texts stand in the shared bytes
    bool m_sharedRecords = false; // the records stand in the source
};
