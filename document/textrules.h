// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/textformat.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// How a name or value of the document stands in an INI file, each rule in one place. The model, the
// cell editor, the reader, both writers, the format sniffer, the disk layer and the export all ask
// here, so that what is typed, what is saved and what loads back cannot drift apart.

// Line breaks. A text holds one line: a CR or LF in it would split the option in two, so each is
// stored as a blank. The templates take char, char16_t and QChar alike.
template <typename Char> constexpr bool isLineBreak(Char c)
{
    return c == u'\r' || c == u'\n';
}
template <typename Char> constexpr Char lineBreakAsBlank(Char c)
{
    return isLineBreak(c) ? Char(u' ') : c;
}
// The text with each line break made a blank. Copies the text only when it holds one: names and
// values arrive here a million times per save, and almost none of them needs a change.
[[nodiscard]] QString lineBreaksAsBlanks(const QString &text);
// What a cell editor hands over: a pasted CR LF is one line break, so it becomes one blank.
[[nodiscard]] QString typedTextAsStored(QString text);

// Blanks. The reader trims names and values of blanks and tabs, and nothing else.
template <typename Char> constexpr bool isBlank(Char c)
{
    return c == u' ' || c == u'\t';
}
[[nodiscard]] QString trimmedOfBlanks(const QString &text);

// Names. A name is stored without line breaks and without the blanks around it, which the reader
// would drop anyway; a value keeps its blanks (the reader's trim of the value is not undone).
[[nodiscard]] QString storedName(const QString &name);
[[nodiscard]] QString storedValue(const QString &value);
// The part of a name that storedName keeps, without a copy: a line break at either end becomes a
// blank that is trimmed. The line breaks within are still to be made blanks.
template <typename View> View storedNameSpan(View name)
{
    const auto drops = [](QChar c) { return isBlank(c) || isLineBreak(c); };
    while (!name.isEmpty() && drops(name.front()))
        name = name.sliced(1);
    while (!name.isEmpty() && drops(name.back()))
        name.chop(1);
    return name;
}

// Whether a text holds a line break, and whether storedName leaves a name as it stands.
[[nodiscard]] bool holdsLineBreak(QAnyStringView text);
[[nodiscard]] bool keepsItsStoredName(QAnyStringView name);

// UTF-8. Whether the bytes are valid UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF); `ascii` tells whether they are all ASCII.
[[nodiscard]] bool isValidUtf8(const uchar *bytes, qsizetype size, bool &ascii);

// Latin-1. Whether every character of the text has a Latin-1 byte.
[[nodiscard]] bool fitsLatin1(QStringView text);
[[nodiscard]] bool isAscii(const char *bytes, qsizetype size);
// Whether the text's bytes can be taken as Latin-1 as they stand: UTF-8 only while it is ASCII.
[[nodiscard]] bool holdsAsLatin1(QAnyStringView text);
// Whether the text holds half of a surrogate pair without the other half, which UTF-16 files can
// hold and UTF-8 cannot.
[[nodiscard]] bool holdsLoneSurrogate(QStringView text);

// Byte-order marks. A UTF-16 mark selects UTF-16; a UTF-8 mark is skipped and the text is UTF-8 or,
// if not valid as such, Latin-1 (length 0 when the bytes begin with no mark).
struct ByteOrderMark {
    qsizetype length = 0;
    TextFormat::Encoding encoding = TextFormat::Encoding::Utf8;
};
[[nodiscard]] ByteOrderMark byteOrderMarkAt(QByteArrayView bytes);
// The mark a file in this format starts with, or nothing.
[[nodiscard]] QByteArray byteOrderMark(const TextFormat &format);
// UTF-8 text as a QString. A U+FEFF at its start is kept: within a name or value it belongs to the
// text (QString::fromUtf8 would drop it as a mark).
[[nodiscard]] QString fromUtf8KeepingMark(QByteArrayView utf8);

// The messages of a file that cannot be read or written.
[[nodiscard]] QString unableToRead(const QString &fileName);
[[nodiscard]] QString unableToWrite(const QString &fileName);
// The same, with the reason on its own line after it, as the user would say it.
[[nodiscard]] QString unableToWrite(const QString &fileName, const QString &reason);
// The reason for a system error number (errno), in the user's words.
[[nodiscard]] QString writeFailureReason(int error);
// A file that another program replaced, removed or made between the read and the write.
[[nodiscard]] QString changedMeanwhileReason();
