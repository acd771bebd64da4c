// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/textrules.h"

#include "document/textview.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

QString lineBreaksAsBlanks(const QString &text)
{
    const qsizetype first = [&text] {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (isLineBreak(text.at(i)))
                return i;
        }
        return qsizetype(-1);
    }();
    if (first < 0)
        return text;
    QString result = text;
    for (qsizetype i = first; i < result.size(); ++i)
        result[i] = lineBreakAsBlank(result.at(i));
    return result;
}

QString typedTextAsStored(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lineBreaksAsBlanks(text);
}

QString trimmedOfBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return begin == 0 && end == text.size() ? text : text.sliced(begin, end - begin);
}

QString storedName(const QString &name)
{
    return trimmedOfBlanks(lineBreaksAsBlanks(name));
}

QString storedValue(const QString &value)
{
    return lineBreaksAsBlanks(value);
}

bool holdsLineBreak(QAnyStringView text)
{
    return text.visit([](auto view) {
        for (const auto c : view) {
            if (isLineBreak(c))
                return true;
        }
        return false;
    });
}

bool keepsItsStoredName(QAnyStringView name)
{
    return name.visit([](auto text) {
        const auto dropped = [](auto c) { return isBlank(c) || isLineBreak(c); };
        if (!text.isEmpty() && (dropped(text.front()) || dropped(text.back())))
            return false;
        for (const auto c : text) {
            if (isLineBreak(c))
                return false;
        }
        return true;
    });
}

bool isValidUtf8(const uchar *s, qsizetype n, bool &ascii)
{
    ascii = true;
    qsizetype i = 0;
    while (i < n) {
        const uchar c = s[i];
        if (c < 0x80) {
            // Most INI text is ASCII: a run of it is passed at once, sixteen bytes at most (a word
            // without SSE2), and a character beyond ASCII costs no look at the bytes after it.
#ifdef __SSE2__
            if (i + 16 <= n) {
                const auto high = [s](qsizetype at) {
                    return unsigned(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s + at))));
                };
                unsigned bits = high(i);
                while (bits == 0 && i + 32 <= n) {
                    i += 16;
                    bits = high(i);
                }
                i += bits == 0 ? 16 : std::countr_zero(bits);
                continue;
            }
#else
            if (i + 8 <= n) {
                quint64 word;
                std::memcpy(&word, s + i, sizeof word);
                if ((word & 0x8080808080808080ULL) == 0) {
                    i += 8;
                    continue;
                }
            }
#endif
            ++i;
            continue;
        }
        ascii = false;
        // Two- and three-byte characters without exceptions come first: Greek, Cyrillic, CJK.
        const auto continues = [s](qsizetype at) { return (s[at] & 0xC0) == 0x80; };
        if (c >= 0xC2 && c <= 0xDF && n - i >= 2 && continues(i + 1)) {
            i += 2;
            continue;
        }
        if (c >= 0xE1 && c <= 0xEC && n - i >= 3 && continues(i + 1) && continues(i + 2)) {
            i += 3;
            continue;
        }
        qsizetype length = 0;
        if (c >= 0xC2 && c <= 0xDF)
            length = 2;
        else if (c >= 0xE0 && c <= 0xEF)
            length = 3;
        else if (c >= 0xF0 && c <= 0xF4)
            length = 4;
        else
            return false;
        if (n - i < length)
            return false;
        for (qsizetype k = 1; k < length; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
        }
        const uchar next = s[i + 1];
        if ((c == 0xE0 && next < 0xA0) || (c == 0xED && next >= 0xA0) || (c == 0xF0 && next < 0x90)
            || (c == 0xF4 && next >= 0x90))
            return false; // overlong forms, surrogates, beyond U+10FFFF
        i += length;
    }
    return true;
}

bool fitsLatin1(QStringView text)
{
    char16_t any = 0;
    for (const QChar c : text)
        any |= c.unicode();
    return any < 0x100;
}

bool isAscii(const char *bytes, qsizetype size)
{
    quint64 any = 0;
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, bytes + i, sizeof word);
        any |= word;
    }
    for (; i < size; ++i)
        any |= static_cast<unsigned char>(bytes[i]);
    return (any & 0x8080808080808080ULL) == 0;
}

bool holdsAsLatin1(QAnyStringView text)
{
    switch (textKind(text)) {
    case TextKind::Latin1:
        return true;
    case TextKind::Utf8:
        return isAscii(static_cast<const char *>(text.data()), text.size_bytes());
    case TextKind::Utf16:
        break;
    }
    return fitsLatin1(QStringView(static_cast<const char16_t *>(text.data()), text.size()));
}

bool holdsLoneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!c.isSurrogate())
            continue;
        if (c.isLowSurrogate() || i + 1 == text.size() || !text.at(i + 1).isLowSurrogate())
            return true;
        ++i;
    }
    return false;
}

ByteOrderMark byteOrderMarkAt(QByteArrayView bytes)
{
    const auto *b = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE)
        return { 2, TextFormat::Encoding::Utf16LE };
    if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF)
        return { 2, TextFormat::Encoding::Utf16BE };
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        return { 3, TextFormat::Encoding::Utf8 };
    return {};
}

QByteArray byteOrderMark(const TextFormat &format)
{
    if (!format.byteOrderMark)
        return {};
    switch (format.encoding) {
    case TextFormat::Encoding::Utf16LE:
        return QByteArray("\xFF\xFE", 2);
    case TextFormat::Encoding::Utf16BE:
        return QByteArray("\xFE\xFF", 2);
    case TextFormat::Encoding::Utf8:
    case TextFormat::Encoding::Latin1:
        break;
    }
    return QByteArray("\xEF\xBB\xBF", 3);
}

QString fromUtf8KeepingMark(QByteArrayView utf8)
{
    if (utf8.size() >= 3 && std::memcmp(utf8.data(), "\xEF\xBB\xBF", 3) == 0) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(utf8);
    }
    return QString::fromUtf8(utf8);
}

QString unableToRead(const QString &fileName)
{
    return QCoreApplication::translate("TIniFile", "Unable to read %1").arg(fileName);
}

QString unableToWrite(const QString &fileName)
{
    return QCoreApplication::translate("TIniFile", "Unable to write to %1").arg(fileName);
}
