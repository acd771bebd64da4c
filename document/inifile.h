// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/textformat.h"

#include <QAnyStringView>
#include <QString>
#include <QStringList>

#include <memory>

class IniText;
class IniRewrite;

// Two writers implement the same write effects: WriteValue alone edits the file's current text
// (IniText::bytesWithValue), and between beginRewrite() and commitRewrite() IniRewrite builds the
// whole file in one pass. Both store texts by the rules of textrules.h and put a new section at the
// end of the file, a new option at the end of its section and a known option's value in its place.
// tst_IniFile::rewriteEqualsTheSameWritesOnADeletedFile keeps them equal: random sequences of writes,
// given as whole strings, as lasting Latin-1 and as UTF-16 texts, must leave the same bytes either way.

// The profile store: INI-file access bound to one file name, used exactly as the caller gives it.
// Creating the object touches nothing. Every read looks at the file as it is now and never fails
// (a missing or unreadable file reads as empty); every WriteValue has changed the file by the time
// it returns, or throws SaldrixError("Unable to write to <name>").
//
// Two modes keep large files linear. Between takeSnapshot() and releaseSnapshot() reads answer from
// one parse of the file. Between beginRewrite() and commitRewrite() writes build a new file from
// nothing, which replaces the old one in a single write at the commit: the result is byte for byte
// what the same WriteValue calls would leave after the file was deleted.
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
    // Replaces the option's value in place, or appends the option at the end of its section, or
    // appends the section at the end of the file. A line break in a text is stored as a blank.
    void WriteValue(const QString &section, const QString &name, const QString &value);
    // The same for texts kept elsewhere (Latin-1, UTF-8 or UTF-16), without copying them first.
    void WriteValue(const QString &section, QAnyStringView name, QAnyStringView value);
    // The same for texts that stay valid and unchanged until commitRewrite(): a rewrite may refer
    // to them instead of copying them.
    void WriteLastingValue(const QString &section, QAnyStringView name, QAnyStringView value);

    // A file over MaxReadSize bytes is TooLarge and is not read.
    enum class SnapshotResult { Read, Missing, Unreadable, TooLarge };
    SnapshotResult takeSnapshot();
    void releaseSnapshot();
    // How the file read by the last snapshot was encoded (UTF-8 with LF when it was missing).
    [[nodiscard]] TextFormat snapshotFormat() const;

    // The new file keeps the encoding, mark and line ends of the one it replaces...
    void beginRewrite();
    // ... or is written in the given format. `valuesToCome`, when the caller knows it, is how many
    // writes will follow, so that their bookkeeping is made in one piece.
    void beginRewrite(const TextFormat &format, qsizetype valuesToCome = 0);
    void commitRewrite();

private:
    struct OptionCursor;

    [[nodiscard]] const IniText &currentText();
    [[nodiscard]] const OptionCursor *cursorFor(const QString &section);

    QString m_fileName;
    std::unique_ptr<IniText> m_text;
    bool m_pinned = false;
    std::unique_ptr<OptionCursor> m_cursor;
    std::unique_ptr<IniRewrite> m_rewrite;
};
