#pragma once

#include "document/textformat.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

class FileReplacer;

// A file being written from nothing, one value at a time, with the store's write effects: a new
// section goes at the end, a new option at the end of its section, a known option keeps its place
// and takes the new value. The texts are kept as UTF-8 in one buffer with a few offsets per value,
// and the file is produced in one pass at the end.
class IniRewrite {
public:
    explicit IniRewrite(const TextFormat &format);

    // Section and name must be normalised already (see IniText::normalisedName).
    void add(const QString &section, const QString &name, const QString &value);
    void writeTo(FileReplacer &file) const;

private:
    struct Record {
        qint64 offset; // name, then value, in m_text
        quint32 nameLength;
        quint32 valueLength;
    };
    struct Run {
        qsizetype first;
        qsizetype end;
    };
    struct Section {
        QByteArray header;
        std::vector<Run> runs; // the section's records, in the order they were written
        qsizetype count = 0;
    };

    [[nodiscard]] std::vector<qsizetype> linesOf(const Section &section) const;

    TextFormat m_format;
    QByteArray m_text;
    std::vector<Record> m_records;
    std::vector<Section> m_sections;
    QHash<QString, int> m_sectionIndex;
    QString m_lastSectionName;
    int m_lastSection = -1;
    bool m_beyondLatin1 = false;
};
