// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/textformat.h"
#include "ini/initext.h"

#include <QAnyStringView>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class IniRewrite;

// Two writers implement the same write effects: WriteValue alone edits the file's current text in
// place (IniText::valueSplice), and between beginRewrite() and commitRewrite() IniRewrite builds the
// whole file in one pass. Both store texts by the rules of textrules.h and put a new section at the
// end of the file, a new option at the end of its section and a known option's value in its place.
// tst_IniFile::rewriteEqualsTheSameWritesOnADeletedFile keeps them equal: random sequences of writes,
// given as whole strings, as lasting Latin-1 and as UTF-16 texts, must leave the same bytes either way.
//
// They differ on a Latin-1 file that cannot hold a new text: a rewrite makes the whole file UTF-8,
// while WriteValue, which promises to keep every other byte, refuses and leaves the file as it is.

// The profile store: INI-file access bound to one file name, used exactly as the caller gives it.
// Creating the object touches nothing. Every read looks at the file as it is now and never fails
// (a missing or unreadable file reads as empty); every WriteValue, DeleteOption and DeleteSection
// has changed the file by the time it returns, through the same replacing write as a save, or
// throws SaldrixError("Unable to write to <name>") and leaves the file as it was.
//
// Between takeSnapshot() and the object's end, reads answer from one read of the file, so that
// several questions about a large file cost one parse and see one state of it. Between
// beginRewrite() and commitRewrite() writes build a new file from nothing, which replaces the old
// one in a single write at the commit: the result is byte for byte what the same WriteValue calls
// would leave after the file was deleted.
class TIniFile {
public:
    explicit TIniFile(QString fileName);
    ~TIniFile();
    TIniFile(const TIniFile &) = delete;
    TIniFile &operator=(const TIniFile &) = delete;

    [[nodiscard]] const QString &FileName() const { return m_fileName; }

    // Section names in file order, each name once (a section that stands twice is one section).
    void GetSectionNames(QStringList &names);
    // The section's option names in file order, each name once.
    void GetOptionNames(const QString &section, QStringList &names);
    // The first value of the named option, or defaultValue when there is none.
    [[nodiscard]] QString ReadValue(const QString &section, const QString &name, const QString &defaultValue);
    [[nodiscard]] bool SectionExists(const QString &section);
    [[nodiscard]] bool OptionExists(const QString &section, const QString &name);

    // Replaces the option's value in place, or appends the option at the end of its section, or
    // appends the section at the end of the file; every other byte stays. A line break in a text is
    // stored as a blank.
    void WriteValue(const QString &section, const QString &name, const QString &value);
    // Removes every line of the option, or the section from each header to its last option; every
    // other byte stays. False, and nothing written, when there is no such option or section.
    bool DeleteOption(const QString &section, const QString &name);
    bool DeleteSection(const QString &section);

    // Pins the file as it is now for every later read (a write still sees the file as it is then,
    // and the reads after it see the write). A file over MaxReadSize bytes is TooLarge and not read.
    enum class SnapshotResult { Read, Missing, Unreadable, TooLarge };
    SnapshotResult takeSnapshot();

    // The new file is written in the given format. `valuesToCome`, when the caller knows it, is how
    // many writes will follow, so that their bookkeeping is made in one piece.
    void beginRewrite(const TextFormat &format, qsizetype valuesToCome = 0);
    // A write within the rewrite of texts that stay valid and unchanged until commitRewrite(): the
    // rewrite may refer to them instead of copying them.
    void WriteLastingValue(const QString &section, QAnyStringView name, QAnyStringView value);
    void commitRewrite();

private:
    [[nodiscard]] const IniText &currentText();
    [[nodiscard]] IniText textToChange() const;
    void replaceText(const IniText &text, const std::vector<IniText::Splice> &splices);

    QString m_fileName;
    std::unique_ptr<IniText> m_text;
    bool m_pinned = false;
    std::unique_ptr<IniRewrite> m_rewrite;
};
