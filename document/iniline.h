// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/textrules.h"

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <type_traits>

// The grammar of one line of an INI file, without its line end. The reader builds the document
// with it and the name marks predict with it what a saved line reads back as, so both take a line
// the same way:
//
// - A blank line, or one whose first non-blank character is ';' or '#', is a comment.
// - A line whose first non-blank character is '[' is a section header when it holds a ']' (the name
//   is the text up to the line's last ']') or when it holds no '=' (the name is the rest of the
//   line). Files written by hand drop the ']' now and then, and "[abc" has always opened section
//   "abc". A '[' line with '=' and no ']' is an option: the saver writes an option name that starts
//   with '[' that way.
// - Any other line with a '=' is an option: the name before the first '=', the value after it.
// - Anything else holds nothing.
//
// Names and values are trimmed of blanks and tabs. Only ASCII characters decide, so the function
// takes UTF-8 and Latin-1 bytes alike (char) as well as UTF-16 (char16_t).
struct IniLine {
    enum class Kind : quint8 { Comment, Header, Option, Other };
    Kind kind = Kind::Other;
    // The header's or the option's name, [nameBegin, nameEnd), trimmed.
    qsizetype nameBegin = 0;
    qsizetype nameEnd = 0;
    // An option's first '=' and its value, [valueBegin, valueEnd), trimmed.
    qsizetype equals = -1;
    qsizetype valueBegin = 0;
    qsizetype valueEnd = 0;
};

namespace iniline {

template <typename Char> qsizetype indexOf(const Char *line, qsizetype begin, qsizetype end, Char c)
{
    if constexpr (sizeof(Char) == 1) {
        const void *found = std::memchr(line + begin, c, size_t(end - begin));
        return found ? static_cast<const Char *>(found) - line : -1;
    } else {
        for (qsizetype i = begin; i < end; ++i) {
            if (line[i] == c)
                return i;
        }
        return -1;
    }
}

template <typename Char> qsizetype lastIndexOf(const Char *line, qsizetype begin, qsizetype end, Char c)
{
    for (qsizetype i = end - 1; i >= begin; --i) {
        if (line[i] == c)
            return i;
    }
    return -1;
}

// The next CR and LF at or after a place, found once for many lines: a file with one kind of line
// end is not rescanned for the other kind at every line. Start both at -1.
struct LineBreaks {
    qsizetype nextCr = -1;
    qsizetype nextLf = -1;
};

// Where the line that starts at pos ends (the index of its CR or LF, or size).
inline qsizetype lineEndIn(const char *text, qsizetype pos, qsizetype size, LineBreaks &breaks)
{
    const auto next = [text, pos, size](char c) {
        const void *found = std::memchr(text + pos, c, size_t(size - pos));
        return found ? static_cast<const char *>(found) - text : size;
    };
    if (breaks.nextLf < pos)
        breaks.nextLf = next('\n');
    if (breaks.nextCr < pos)
        breaks.nextCr = next('\r');
    return std::min(breaks.nextCr, breaks.nextLf);
}

inline qsizetype lineEndIn(const char16_t *text, qsizetype pos, qsizetype size, LineBreaks &)
{
    while (pos < size && !isLineBreak(text[pos]))
        ++pos;
    return pos;
}

} // namespace iniline

// The span [begin, end) of the text without the blanks and tabs around it.
template <typename Char> void trimBlanks(const Char *text, qsizetype &begin, qsizetype &end)
{
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
}

template <typename Char> IniLine classifyIniLine(const Char *line, qsizetype length)
{
    static_assert(std::is_same_v<Char, char> || std::is_same_v<Char, char16_t>);
    IniLine result;
    qsizetype first = 0;
    while (first < length && isBlank(line[first]))
        ++first;
    if (first == length || line[first] == Char(';') || line[first] == Char('#')) {
        result.kind = IniLine::Kind::Comment;
        return result;
    }
    const qsizetype equals = iniline::indexOf(line, first, length, Char('='));
    if (line[first] == Char('[')) {
        qsizetype close = iniline::lastIndexOf(line, first + 1, length, Char(']'));
        if (close < 0 && equals < 0)
            close = length;
        if (close >= 0) {
            result.kind = IniLine::Kind::Header;
            result.nameBegin = first + 1;
            result.nameEnd = close;
            trimBlanks(line, result.nameBegin, result.nameEnd);
            return result;
        }
    }
    if (equals < 0)
        return result;
    result.kind = IniLine::Kind::Option;
    result.equals = equals;
    result.nameBegin = first;
    result.nameEnd = equals;
    trimBlanks(line, result.nameBegin, result.nameEnd);
    result.valueBegin = equals + 1;
    result.valueEnd = length;
    trimBlanks(line, result.valueBegin, result.valueEnd);
    return result;
}
