// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/textformat.h"

#include "ini/nametable.h"
#include <QAnyStringView>
#include <QString>

#include <memory>
#include <vector>

class FileReplacer;

// A file being written from nothing, one value at a time, with the store's write effects: a new
// section goes at the end, a new option at the end of its section, a known option keeps its place
// and takes the new value. The texts are kept as UTF-8 in large blocks with a few bytes of
// bookkeeping per value, and the file is produced in one pass at the end.
class IniRewrite {
public:
    // `expectedValues`: how many add() calls are likely to come (0 when unknown).
    IniRewrite(const TextFormat &format, qsizetype expectedValues);
    ~IniRewrite();
    IniRewrite(const IniRewrite &) = delete;
    IniRewrite &operator=(const IniRewrite &) = delete;

    // Takes the texts as given; they are stored the way storedName and storedValue (textrules.h)
    // describe. With `lasting`, the caller keeps the texts valid and unchanged
    // until writeTo, and a value that directly follows its name in memory and needs no change is
    // referred to instead of copied.
    void add(const QString &section, QAnyStringView name, QAnyStringView value, bool lasting = false);
    void writeTo(FileReplacer &file) const;

private:
    struct Record {
        const char *text; // name, then value, as UTF-8
        quint32 nameLength;
        quint32 valueLength; // with WholeLine: "name=value" stands at text as the file will hold it
    };
    static constexpr quint32 WholeLine = 0x80000000U;
    [[nodiscard]] static const char *valueOf(const Record &record)
    {
        return record.text + record.nameLength + ((record.valueLength & WholeLine) != 0 ? 1 : 0);
    }
    [[nodiscard]] static qsizetype valueSize(const Record &record) { return record.valueLength & ~WholeLine; }
    // A section's records in the order they were written, as runs of neighbouring records linked
    // from the first: a section costs no allocation of its own, which counts with 100,000 of them.
    struct Run {
        qsizetype first;
        qsizetype end;
        qsizetype next = -1;
    };
    struct Section {
        const char *header; // the stored name as UTF-8, in a block
        quint32 headerSize;
        qsizetype firstRun = -1;
        qsizetype lastRun = -1;
        qsizetype count = 0;
    };

    [[nodiscard]] char *room(qsizetype bytes);
    void addUtf8(const char *name, qsizetype nameSize, const char *value, qsizetype valueSize, bool lasting);
    [[nodiscard]] int sectionFor(const QString &section);
    // The records that make the section's lines, in order (reusing the caller's list and table).
    void linesOf(const Section &section, std::vector<qsizetype> &lines, NameTable &places) const;
    // Whether the file, written in Latin-1, would read back as UTF-8.
    [[nodiscard]] bool latin1ReadsAsUtf8() const;

    TextFormat m_format;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_free = nullptr;
    char *m_blockEnd = nullptr;
    std::vector<Record> m_records;
    std::vector<Run> m_runs;
    std::vector<Section> m_sections;
    NameTable m_sectionIndex; // positions in m_sections, by header
    QString m_lastSectionGiven;
    int m_lastSection = -1;
    bool m_beyondLatin1 = false;
};
