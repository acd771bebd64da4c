// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QString>

#include <vector>

// The names, values and image indexes of one section's options, held compactly: every text of the
// section lives in one shared buffer, one byte per character while all of them fit in Latin-1 and
// two (UTF-16) from the first text that does not. An option costs sixteen bytes plus its texts;
// a QString is made only when one is asked for. A text replaced by a longer one moves to the end
// of the buffer; the space left behind is reclaimed once it makes up half of the buffer.
class OptionTexts {
public:
    [[nodiscard]] qsizetype size() const { return qsizetype(m_records.size()); }
    [[nodiscard]] bool empty() const { return m_records.empty(); }

    // column 0 is the name, column 1 the value.
    [[nodiscard]] QString text(qsizetype option, int column) const;
    // The text in place; valid until the next change to this section.
    [[nodiscard]] QAnyStringView view(qsizetype option, int column) const;
    [[nodiscard]] int image(qsizetype option) const;
    // Every text of the section in one view, in no particular order and with unused space between
    // them: a text found nowhere in it is in no option.
    [[nodiscard]] QAnyStringView allTexts() const
    {
        return m_wide ? QAnyStringView(m_utf16) : QAnyStringView(QLatin1StringView(m_latin1));
    }

    // Room for `count` more options with `units` characters of text between them.
    void reserve(qsizetype count, qsizetype units);
    // Texts may be Latin-1, UTF-8 or UTF-16.
    void append(QAnyStringView name, QAnyStringView value, int image);
    void setText(qsizetype option, int column, QStringView text);
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
        qint64 offset; // of the name; the value follows it
        quint32 nameLength;
        quint32 valueLength;
    };

    [[nodiscard]] qsizetype units() const { return m_wide ? m_utf16.size() : m_latin1.size(); }
    [[nodiscard]] QAnyStringView slice(qint64 offset, qsizetype length) const;
    // Puts the texts at the end of the buffer and returns where they start.
    qint64 put(QAnyStringView first, QAnyStringView second);
    void widen();
    void compactIfWasteful();

    std::vector<Record> m_records;
    std::vector<int> m_images; // empty while every option has the option image
    QByteArray m_latin1;
    QString m_utf16;
    bool m_wide = false;
    qsizetype m_unused = 0; // characters of the buffer that no record refers to
};
