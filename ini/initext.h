// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/textformat.h"
#include "ini/nametable.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <string_view>
#include <vector>

// One parse of an INI file's text. The text is kept as it was read (bytes for UTF-8 and Latin-1,
// UTF-16 code units otherwise) and every section and option is a few offsets into it, so a
// million options cost a few bytes each until a name or value is asked for.
//
// Each line is taken by classifyIniLine (iniline.h): comments, section headers, options, and lines
// that hold nothing. Options before the first section hold nothing either. Names match exactly,
// letter case included. A section that stands several times is one section holding the options of
// every occurrence in file order.
class IniText {
public:
    IniText() = default;
    // An empty text that is written in the given format.
    explicit IniText(const TextFormat &format)
        : m_format(format)
    {
    }
    // Takes a file's bytes: a UTF-16 byte-order mark selects UTF-16, valid UTF-8 is UTF-8 (a
    // UTF-8 mark is skipped), anything else is Latin-1. LF, CR LF and CR all end lines.
    explicit IniText(QByteArray fileBytes);

    [[nodiscard]] const TextFormat &format() const { return m_format; }

    // Distinct section names, where each first stands.
    [[nodiscard]] QStringList sectionNames() const;
    [[nodiscard]] int sectionCount() const { return int(m_sections.size()); }
    [[nodiscard]] int findSection(const QString &name) const;
    [[nodiscard]] QString sectionName(int section) const;

    // Options of a section across all its occurrences, in file order, duplicates included.
    template <typename F> void forEachOption(int section, F &&visit) const
    {
        for (int o = m_sections[size_t(section)].firstOccurrence; o >= 0; o = m_occurrences[size_t(o)].next) {
            const Occurrence &occurrence = m_occurrences[size_t(o)];
            for (qsizetype i = occurrence.firstOption; i < occurrence.endOption; ++i)
                visit(i);
        }
    }
    [[nodiscard]] qsizetype optionCount(int section) const;
    [[nodiscard]] QString optionName(qsizetype option) const;
    [[nodiscard]] QString optionValue(qsizetype option) const;
    // The same texts where the parse keeps them, without a copy: UTF-8 or Latin-1 bytes, as
    // format() says (Latin-1 for UTF-8 text that is all ASCII), or UTF-16. Valid as long as this object.
    [[nodiscard]] QAnyStringView optionNameView(qsizetype option) const;
    [[nodiscard]] QAnyStringView optionValueView(qsizetype option) const;

    // The file's bytes, mark included, when the text is UTF-8 or Latin-1 (empty for UTF-16); the
    // views above point into them.
    [[nodiscard]] const QByteArray &bytes() const { return m_bytes; }

    // A change to the text: the code units [begin, end) make way for `text`.
    struct Splice {
        qint64 begin;
        qint64 end;
        QString text;
    };
    // One write with the store's effects: the first option of that name in the section gets the value
    // in place; a new name goes after the section's last option; a new section goes at the end of the
    // file. Texts must already be in their stored form (storedName, storedValue).
    [[nodiscard]] Splice valueSplice(const QString &section, const QString &name, const QString &value) const;
    // What deleting removes, in text order: with a name, every line of that option in each place
    // where the section stands; without one, each of those places from its header to its last
    // option. Comments and blank lines after a section's last option belong to what follows it.
    // Empty when the file holds no such section or option.
    [[nodiscard]] std::vector<Splice> deletionSplices(const QString &section, const QString *name) const;
    // Whether the file's encoding can hold the text (Latin-1 holds U+0000 to U+00FF only).
    [[nodiscard]] bool canHold(QStringView text) const;
    // The file's bytes with the splices applied (sorted, not overlapping), mark included, in pieces
    // of at most a few megabytes each, so that the whole new file is never held at once.
    // With `as`, the bytes are written in that format's encoding and mark instead (Latin-1 text as
    // UTF-8 is the one change of encoding there is).
    void writeSpliced(const std::vector<Splice> &splices, const std::function<void(QByteArrayView)> &out,
        const TextFormat *as = nullptr) const;

    // Where the loader's nodes say they were read from (see OptionTexts::origin()): a place within
    // the section's first header line or the option's line, counted in the file's bytes (mark
    // included) for UTF-8 and Latin-1 text and in code units after the mark for UTF-16.
    [[nodiscard]] qint64 sectionOrigin(int section) const { return m_sections[size_t(section)].name + m_begin; }
    [[nodiscard]] qint64 optionOrigin(qsizetype option) const { return m_options[size_t(option)].line + m_begin; }

    // The option whose line holds the place that a node's origin names, and the section occurrence
    // whose header line does, or -1. `hint`: an option to try first (the one after the last found).
    [[nodiscard]] qsizetype optionAtOrigin(qint64 origin, qsizetype hint = -1) const;
    [[nodiscard]] int occurrenceAtOrigin(qint64 origin) const;

    // The first option of the section named so, or -1.
    [[nodiscard]] qsizetype findOption(int section, const QString &name) const;

    // A line end in the format's style, as UTF-16 text.
    [[nodiscard]] static QString lineEnd(const TextFormat &format)
    {
        return QString::fromLatin1(format.lineEndBytes());
    }
    // Encodes text in the format's encoding (no byte-order mark).
    [[nodiscard]] static QByteArray encode(QStringView text, const TextFormat &format);

private:
    friend class LayoutWriter;
    friend struct PlainSaveLoss;
    friend struct LineNotes;
    struct Option {
        qint64 line; // start of the line in code units
        quint32 length; // the line's length without its line end
        quint32 equals; // offset of the first '=' within the line
    };
    struct Occurrence {
        qint64 header; // start of the "[name]" line
        quint32 headerLength;
        qsizetype firstOption;
        qsizetype endOption;
        int next = -1; // the section's next occurrence
    };
    // A section's name is a place in the text: sections cost no string of their own.
    struct Section {
        qint64 name;
        quint32 nameLength;
        int firstOccurrence;
        int lastOccurrence;
    };

    template <typename Char> void parse(const Char *text, qsizetype size);
    template <typename Char> void addLine(const Char *text, qsizetype begin, qsizetype end);
    [[nodiscard]] QString slice(qint64 begin, qint64 end) const;
    [[nodiscard]] QString trimmedSlice(qint64 begin, qint64 end) const;
    [[nodiscard]] QAnyStringView trimmedView(qint64 begin, qint64 end) const;
    [[nodiscard]] qsizetype unitCount() const;
    [[nodiscard]] char16_t unitAt(qint64 index) const;
    [[nodiscard]] qint64 afterLineEnd(qint64 lineEnd) const;
    // A section's name as the text holds it, as bytes to hash and compare.
    [[nodiscard]] std::string_view nameBytes(qint64 begin, qsizetype length) const;
    [[nodiscard]] std::string_view sectionNameBytes(qsizetype section) const
    {
        const Section &s = m_sections[size_t(section)];
        return nameBytes(s.name, s.nameLength);
    }

    TextFormat m_format;
    QByteArray m_bytes; // UTF-8 or Latin-1 text, starting at m_begin (after any mark)
    qsizetype m_begin = 0;
    bool m_ascii = false; // UTF-8 text without a byte beyond ASCII
    QString m_wide; // UTF-16 text
    QByteArray m_oddByte; // a UTF-16 file's last byte, which holds no character but is written back
    std::vector<Option> m_options;
    std::vector<Occurrence> m_occurrences;
    std::vector<Section> m_sections;
    NameTable m_sectionIndex; // positions in m_sections
    qsizetype m_sectionIndexRoom = 0; // how many names the index holds before it must grow
};
