// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ini/inifile.h"

#include "disk/diskfile.h"
#include "disk/filereplacer.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"
#include "ini/inirewrite.h"

#include <QCoreApplication>
#include <QSet>

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
    return *m_text;
}

void TIniFile::GetSectionNames(QStringList &names)
{
    names.clear();
    names = currentText().sectionNames();
}

void TIniFile::GetOptionNames(const QString &section, QStringList &names)
{
    names.clear();
    const IniText &text = currentText();
    const int s = text.findSection(section);
    if (s < 0)
        return;
    names.reserve(text.optionCount(s));
    QSet<QString> seen;
    text.forEachOption(s, [&](qsizetype option) {
        QString name = text.optionName(option);
        if (!seen.contains(name)) { // a repeated name is one option
            seen.insert(name);
            names.append(std::move(name));
        }
    });
}

QString TIniFile::ReadValue(const QString &section, const QString &name, const QString &defaultValue)
{
    const IniText &text = currentText();
    const int s = text.findSection(section);
    const qsizetype option = s < 0 ? -1 : text.findOption(s, name);
    return option < 0 ? defaultValue : text.optionValue(option);
}

bool TIniFile::SectionExists(const QString &section)
{
    return currentText().findSection(section) >= 0;
}

bool TIniFile::OptionExists(const QString &section, const QString &name)
{
    const IniText &text = currentText();
    const int s = text.findSection(section);
    return s >= 0 && text.findOption(s, name) >= 0;
}

IniText TIniFile::textToChange() const
{
    QByteArray bytes;
    switch (readWholeFile(m_fileName, bytes)) {
    case ReadOutcome::Read:
        return IniText(std::move(bytes));
    case ReadOutcome::Missing:
        return IniText();
    case ReadOutcome::TooLarge:
        throw SaldrixError(unableToWrite(m_fileName) + u'\n'
            + QCoreApplication::translate("TIniFile", "The file is larger than 1 GiB."));
    case ReadOutcome::Unreadable:
        break;
    }
    // Its content could not be kept.
    throw SaldrixError(unableToWrite(m_fileName));
}

namespace {

// Whether a Latin-1 file's new bytes, taken piece by piece, would all read as UTF-8 with some byte
// beyond ASCII: a load would then take them for UTF-8 and read other texts than were written.
class ReadsAsUtf8 {
public:
    void add(QByteArrayView piece)
    {
        if (!m_valid)
            return;
        const QByteArray bytes = m_carry + piece.toByteArray();
        const qsizetype whole = wholeSequences(bytes);
        bool ascii = true;
        m_valid = isValidUtf8(reinterpret_cast<const uchar *>(bytes.constData()), whole, ascii);
        m_ascii = m_ascii && ascii;
        m_carry = bytes.sliced(whole);
    }
    [[nodiscard]] bool result() const { return m_valid && m_carry.isEmpty() && !m_ascii; }

private:
    // The bytes before a sequence that the end of the piece cuts short.
    static qsizetype wholeSequences(const QByteArray &bytes)
    {
        for (qsizetype i = bytes.size() - 1; i >= 0 && i >= bytes.size() - 3; --i) {
            const auto byte = static_cast<uchar>(bytes[i]);
            if ((byte & 0xC0) == 0x80)
                continue; // a continuation byte: its lead stands before it
            const qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return bytes.size() - i < length ? i : bytes.size();
        }
        return bytes.size();
    }

    QByteArray m_carry;
    bool m_valid = true;
    bool m_ascii = true;
};

} // namespace

void TIniFile::replaceText(const IniText &text, const std::vector<IniText::Splice> &splices)
{
    // Such a file is written as UTF-8, as the editor's Save writes it, so every text reads back as
    // it was; any other file keeps its encoding and every byte outside the splices.
    bool toUtf8 = false;
    if (text.format().encoding == TextFormat::Encoding::Latin1) {
        ReadsAsUtf8 check;
        text.writeSpliced(splices, [&check](QByteArrayView piece) { check.add(piece); });
        toUtf8 = check.result();
    }
    FileReplacer file(m_fileName);
    text.writeSpliced(splices, [&file, toUtf8](QByteArrayView piece) {
        if (toUtf8)
            file.write(QString::fromLatin1(piece).toUtf8());
        else
            file.write(piece);
    });
    file.commit();
    // A snapshot sees the write: the next read takes the file again.
    m_text.reset();
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
    const IniText current = textToChange();
    if (!current.canHold(sectionName) || !current.canHold(optionName) || !current.canHold(text)) {
        throw SaldrixError(unableToWrite(m_fileName) + u'\n'
            + QCoreApplication::translate("TIniFile", "Its encoding, Latin-1, cannot hold the new text."));
    }
    replaceText(current, { current.valueSplice(sectionName, optionName, text) });
}

bool TIniFile::DeleteOption(const QString &section, const QString &name)
{
    const IniText current = textToChange();
    const QString optionName = storedName(name);
    const std::vector<IniText::Splice> splices = current.deletionSplices(storedName(section), &optionName);
    if (splices.empty())
        return false;
    replaceText(current, splices);
    return true;
}

bool TIniFile::DeleteSection(const QString &section)
{
    const IniText current = textToChange();
    const std::vector<IniText::Splice> splices = current.deletionSplices(storedName(section), nullptr);
    if (splices.empty())
        return false;
    replaceText(current, splices);
    return true;
}

TIniFile::SnapshotResult TIniFile::takeSnapshot()
{
    QByteArray bytes;
    const ReadOutcome outcome = readWholeFile(m_fileName, bytes);
    m_text = std::make_unique<IniText>(outcome == ReadOutcome::Read ? IniText(std::move(bytes)) : IniText());
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

void TIniFile::beginRewrite(const TextFormat &format, qsizetype valuesToCome)
{
    m_rewrite = std::make_unique<IniRewrite>(format, valuesToCome);
}

void TIniFile::WriteLastingValue(const QString &section, QAnyStringView name, QAnyStringView value)
{
    Q_ASSERT(m_rewrite);
    m_rewrite->add(section, name, value, true);
}

void TIniFile::commitRewrite()
{
    Q_ASSERT(m_rewrite);
    const std::unique_ptr<IniRewrite> rewrite = std::move(m_rewrite);
    FileReplacer file(m_fileName);
    rewrite->writeTo(file);
    file.commit();
}
