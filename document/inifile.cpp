// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/inifile.h"

#include "document/diskfile.h"
#include "document/inirewrite.h"
#include "document/initext.h"
#include "document/nametable.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"

#include <vector>

// The option names of the section that was asked for last, with where each first stands, so that
// reading a section's values one after another in list order costs one comparison each.
struct TIniFile::OptionCursor {
    bool valid = false;
    int section = -1;
    QString sectionName;
    QStringList names;
    std::vector<qsizetype> options;
    NameTable positions; // name -> index into names
    qsizetype next = 0;
};

TIniFile::TIniFile(QString fileName)
    : m_fileName(std::move(fileName))
{
}

TIniFile::~TIniFile() = default;

const IniText &TIniFile::currentText()
{
    if (m_pinned && m_text)
        return *m_text;
    // Unpinned, every read sees the file as it is now.
    QByteArray bytes;
    const ReadOutcome outcome = readWholeFile(m_fileName, bytes);
    m_text = std::make_unique<IniText>(outcome == ReadOutcome::Read ? IniText(std::move(bytes)) : IniText());
    if (m_cursor)
        m_cursor->valid = false;
    return *m_text;
}

void TIniFile::GetSectionNames(QStringList &names)
{
    names.clear();
    names = currentText().sectionNames();
}

const TIniFile::OptionCursor *TIniFile::cursorFor(const QString &section)
{
    const IniText &text = currentText();
    if (m_cursor && m_cursor->valid && m_cursor->sectionName == section)
        return m_cursor.get();
    // Sections are mostly asked for in list order: try the one after the last before the index.
    int s = m_cursor && m_cursor->section >= 0 ? m_cursor->section + 1 : 0;
    if (s >= text.sectionCount() || text.sectionName(s) != section)
        s = text.findSection(section);
    if (s < 0)
        return nullptr;
    // One cursor serves section after section, so its buffers are allocated once per load.
    if (!m_cursor)
        m_cursor = std::make_unique<OptionCursor>();
    OptionCursor &cursor = *m_cursor;
    cursor.valid = true;
    cursor.section = s;
    cursor.sectionName = text.sectionName(s);
    cursor.next = 0;
    const qsizetype count = text.optionCount(s);
    cursor.names = QStringList();
    cursor.names.reserve(count);
    cursor.options.clear();
    cursor.options.reserve(size_t(count));
    cursor.positions.reset(count);
    const auto nameAt = [&names = cursor.names](qsizetype p) -> const QString & { return names.at(p); };
    text.forEachOption(s, [&](qsizetype option) {
        cursor.names.append(text.optionName(option));
        const qsizetype position = cursor.names.size() - 1;
        if (cursor.positions.findOrInsert(qHash(cursor.names.at(position)), position, nameAt) >= 0)
            cursor.names.removeLast(); // a repeated name reads as its first value
        else
            cursor.options.push_back(option);
    });
    return &cursor;
}

void TIniFile::GetOptionNames(const QString &section, QStringList &names)
{
    names.clear();
    if (const OptionCursor *cursor = cursorFor(section)) {
        names = cursor->names;
        m_cursor->next = 0;
    }
}

QString TIniFile::ReadValue(const QString &section, const QString &name, const QString &defaultValue)
{
    const OptionCursor *cursor = cursorFor(section);
    if (cursor == nullptr)
        return defaultValue;
    qsizetype position = cursor->next;
    if (position >= cursor->names.size() || cursor->names.at(position) != name) {
        position = cursor->positions.find(
            qHash(name), name, [&names = cursor->names](qsizetype p) -> const QString & { return names.at(p); });
        if (position < 0)
            return defaultValue;
    }
    m_cursor->next = position + 1;
    return m_text->optionValue(cursor->options[size_t(position)]);
}

void TIniFile::WriteValue(const QString &section, QAnyStringView name, QAnyStringView value)
{
    if (m_rewrite)
        m_rewrite->add(section, name, value);
    else
        WriteValue(section, name.toString(), value.toString());
}

void TIniFile::WriteLastingValue(const QString &section, QAnyStringView name, QAnyStringView value)
{
    if (m_rewrite)
        m_rewrite->add(section, name, value, true);
    else
        WriteValue(section, name, value);
}

void TIniFile::WriteValue(const QString &section, const QString &name, const QString &value)
{
    if (m_rewrite) {
        m_rewrite->add(section, name, value);
        return;
    }
    const QString sectionName = storedName(section);
    const QString optionName = storedName(name);
    const QString text = storedValue(value);
    QByteArray bytes;
    const ReadOutcome outcome = readWholeFile(m_fileName, bytes);
    if (outcome == ReadOutcome::Unreadable || outcome == ReadOutcome::TooLarge) // its content could not be kept
        throw SaldrixError(unableToWrite(m_fileName));
    const IniText current = outcome == ReadOutcome::Read ? IniText(std::move(bytes)) : IniText();
    bytes = current.bytesWithValue(sectionName, optionName, text);
    FileReplacer file(m_fileName);
    file.write(bytes);
    file.commit();
    if (m_pinned)
        m_text = std::make_unique<IniText>(std::move(bytes));
    else
        m_text.reset();
    m_cursor.reset();
}

TIniFile::SnapshotResult TIniFile::takeSnapshot()
{
    QByteArray bytes;
    const ReadOutcome outcome = readWholeFile(m_fileName, bytes);
    m_text = std::make_unique<IniText>(outcome == ReadOutcome::Read ? IniText(std::move(bytes)) : IniText());
    m_cursor.reset();
    m_pinned = true;
    switch (outcome) {
    case ReadOutcome::Read:
        return SnapshotResult::Read;
    case ReadOutcome::Missing:
        return SnapshotResult::Missing;
    case ReadOutcome::TooLarge:
        return SnapshotResult::TooLarge;
    case ReadOutcome::Unreadable:
        break;
    }
    return SnapshotResult::Unreadable;
}

void TIniFile::releaseSnapshot()
{
    m_pinned = false;
    m_cursor.reset();
    m_text.reset();
}

TextFormat TIniFile::snapshotFormat() const
{
    return m_text ? m_text->format() : TextFormat {};
}

void TIniFile::beginRewrite()
{
    // The new file keeps the encoding, mark and line ends of the one it replaces.
    FormatSniffer sniffer;
    const ReadOutcome outcome
        = readFileInPieces(m_fileName, 1 << 16, [&sniffer](QByteArrayView piece) { sniffer.feed(piece); });
    beginRewrite(outcome == ReadOutcome::Read ? sniffer.result() : TextFormat {});
}

void TIniFile::beginRewrite(const TextFormat &format, qsizetype valuesToCome)
{
    m_rewrite = std::make_unique<IniRewrite>(format, valuesToCome);
}

void TIniFile::commitRewrite()
{
    Q_ASSERT(m_rewrite);
    const std::unique_ptr<IniRewrite> rewrite = std::move(m_rewrite);
    FileReplacer file(m_fileName);
    rewrite->writeTo(file);
    file.commit();
}
