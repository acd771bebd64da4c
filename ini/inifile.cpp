// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ini/inifile.h"

#include "disk/diskfile.h"
#include "disk/filereplacer.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"
#include "ini/inirewrite.h"
#include "ini/layoutwrite.h"

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

IniText TIniFile::textToChange(FileReplacer &file) const
{
    QByteArray bytes;
    switch (file.read(bytes)) {
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
    // Its content could not be kept (read() says why itself where it can).
    throw SaldrixError(unableToWrite(m_fileName));
}

void TIniFile::replaceText(FileReplacer &file, const IniText &text, const std::vector<IniText::Splice> &splices)
{
    writeSplicedText(text, splices, file);
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
    FileReplacer file(m_fileName);
    const IniText current = textToChange(file);
    if (!current.canHold(sectionName) || !current.canHold(optionName) || !current.canHold(text)) {
        throw SaldrixError(unableToWrite(m_fileName) + u'\n'
            + QCoreApplication::translate("TIniFile", "Its encoding, Latin-1, cannot hold the new text."));
    }
    replaceText(file, current, { current.valueSplice(sectionName, optionName, text) });
}

bool TIniFile::DeleteOption(const QString &section, const QString &name)
{
    FileReplacer file(m_fileName);
    const IniText current = textToChange(file);
    const QString optionName = storedName(name);
    const std::vector<IniText::Splice> splices = current.deletionSplices(storedName(section), &optionName);
    if (splices.empty())
        return false;
    replaceText(file, current, splices);
    return true;
}

bool TIniFile::DeleteSection(const QString &section)
{
    FileReplacer file(m_fileName);
    const IniText current = textToChange(file);
    const std::vector<IniText::Splice> splices = current.deletionSplices(storedName(section), nullptr);
    if (splices.empty())
        return false;
    replaceText(file, current, splices);
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
