// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "randomini.h"

#include <algorithm>

namespace randomini {

namespace {

using Encoding = TextFormat::Encoding;

const QStringList SectionNames { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("c]d"),
    QStringLiteral("[e"), QStringLiteral("f=g"), QStringLiteral("\u00E9t\u00E9"), QStringLiteral("\u0391\u03A9"),
    QStringLiteral("\u4E2D"), QString() };
const QStringList OptionNames { QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("X"), QStringLiteral("k k"),
    QStringLiteral("\u00FCber"), QStringLiteral("\u0436"), QStringLiteral("x]"), QString() };
const QStringList Values { QStringLiteral("1"), QString(), QStringLiteral("a=b"), QStringLiteral("-1"),
    QStringLiteral("[v]"), QStringLiteral("; not a comment"), QStringLiteral("\u00FF"), QStringLiteral("\u20AC"),
    QStringLiteral("\u65E5\u672C") };
const QStringList Blanks { QString(), QString(), QString(), QStringLiteral(" "), QStringLiteral("\t"),
    QStringLiteral("  ") };
const QStringList Others { QString(), QString(), QStringLiteral("; comment"), QStringLiteral("# x=1"),
    QStringLiteral("  ;[a]"), QStringLiteral("junk"), QStringLiteral("open]"), QStringLiteral(" \t"),
    QStringLiteral("\u00E9crit") };

template <typename T> const T &pick(QRandomGenerator &random, const QList<T> &list)
{
    return list.at(random.bounded(int(list.size())));
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimmed(QString text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

bool fitsLatin1(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

bool isAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Texts the encoding can hold: a Latin-1 file gets none beyond U+00FF.
QString fitting(QRandomGenerator &random, const QStringList &texts, Encoding encoding)
{
    for (;;) {
        const QString &text = pick(random, texts);
        if (encoding != Encoding::Latin1 || fitsLatin1(text))
            return text;
    }
}

QString lineEndOf(const TextFormat &format)
{
    return QString::fromLatin1(format.lineEndBytes());
}

// The text as the file writes it.
QString textOf(const QList<Line> &lines, const TextFormat &format)
{
    QString text;
    for (const Line &line : lines)
        text += line.text + (line.lineEnd ? lineEndOf(format) : QString());
    return text;
}

QByteArray encoded(const QString &text, const TextFormat &format)
{
    QByteArray bytes;
    switch (format.encoding) {
    case Encoding::Utf8:
        return (format.byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
    case Encoding::Latin1:
        return text.toLatin1();
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        break;
    }
    const bool little = format.encoding == Encoding::Utf16LE;
    bytes = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF);
        const char high = char(c.unicode() >> 8);
        bytes.append(little ? low : high);
        bytes.append(little ? high : low);
    }
    return bytes;
}

// The encoding a reader finds: Latin-1 text that is all ASCII reads as UTF-8, the same bytes.
TextFormat foundFormat(const File &file)
{
    TextFormat format = file.format;
    if (format.encoding == Encoding::Latin1 && isAscii(textOf(file.lines, format)))
        format.encoding = Encoding::Utf8;
    // A file without a line end is taken to use LF.
    const bool anyLineEnd = std::any_of(file.lines.begin(), file.lines.end(), [](const Line &l) { return l.lineEnd; });
    if (!anyLineEnd)
        format.lineEnd = TextFormat::LineEnd::Lf;
    return format;
}

} // namespace

File randomFile(QRandomGenerator &random)
{
    File file;
    const Encoding encodings[]
        = { Encoding::Utf8, Encoding::Utf8, Encoding::Latin1, Encoding::Utf16LE, Encoding::Utf16BE };
    file.format.encoding = encodings[random.bounded(5)];
    file.format.byteOrderMark = file.format.encoding == Encoding::Utf16LE || file.format.encoding == Encoding::Utf16BE
        || (file.format.encoding == Encoding::Utf8 && random.bounded(3) == 0);
    const TextFormat::LineEnd ends[] = { TextFormat::LineEnd::Lf, TextFormat::LineEnd::CrLf, TextFormat::LineEnd::Cr };
    file.format.lineEnd = ends[random.bounded(3)];
    if (random.bounded(12) == 0) {
        file.exists = false;
        file.format = TextFormat {};
        return file;
    }
    const int count = random.bounded(0, 24);
    int section = -1;
    for (int i = 0; i < count; ++i) {
        Line line;
        const int kind = random.bounded(10);
        if (kind < 2) {
            line.kind = Line::Kind::Header;
            const QString name = fitting(random, SectionNames, file.format.encoding);
            line.name = name;
            line.text = pick(random, Blanks) + u'[' + pick(random, Blanks) + name + pick(random, Blanks) + u']'
                + pick(random, Blanks);
            section = int(file.lines.size());
        } else if (kind < 7) {
            line.kind = Line::Kind::Option;
            const QString name = fitting(random, OptionNames, file.format.encoding);
            line.text = pick(random, Blanks) + name + pick(random, Blanks) + u'='
                + fitting(random, Values, file.format.encoding) + pick(random, Blanks);
            // Before the first header an option line is read as nothing.
            line.kind = section < 0 ? Line::Kind::Other : Line::Kind::Option;
            line.name = name;
            line.section = section;
        } else {
            line.text = fitting(random, Others, file.format.encoding);
        }
        file.lines.append(line);
    }
    // An empty last line without a line end would be no line at all.
    if (!file.lines.isEmpty() && !file.lines.last().text.isEmpty() && random.bounded(4) == 0)
        file.lines.last().lineEnd = false;
    return file;
}

Edit randomEdit(QRandomGenerator &random, const File &file)
{
    Edit edit;
    const int kind = random.bounded(10);
    edit.kind = kind < 6 ? Edit::Kind::Set : kind < 9 ? Edit::Kind::DeleteOption : Edit::Kind::DeleteSection;
    // Mostly names the file holds, so that replacing and deleting happen; sometimes new ones.
    QStringList sections;
    QStringList keys;
    for (const Line &line : file.lines) {
        if (line.kind == Line::Kind::Header)
            sections << line.name;
        else if (line.kind == Line::Kind::Option)
            keys << line.name;
    }
    const auto name = [&random](const QStringList &known, const QStringList &any) {
        return !known.isEmpty() && random.bounded(4) != 0 ? pick(random, known) : pick(random, any);
    };
    edit.section = name(sections, SectionNames);
    edit.key = name(keys, OptionNames);
    // A name is taken without the blanks around it.
    if (random.bounded(5) == 0)
        edit.key = u' ' + edit.key + u'\t';
    edit.value = pick(random, Values);
    if (random.bounded(6) == 0)
        edit.value = u' ' + edit.value + u' '; // a value keeps its blanks
    return edit;
}

QByteArray bytesOf(const File &file)
{
    return encoded(textOf(file.lines, file.format), file.format);
}

std::optional<QByteArray> predicted(const File &file, const Edit &edit)
{
    const QString section = trimmed(edit.section);
    const QString key = trimmed(edit.key);
    TextFormat format = foundFormat(file);
    QList<Line> lines = file.lines;
    const auto isSection
        = [&](const Line &line) { return line.kind == Line::Kind::Header && trimmed(line.name) == section; };
    const auto inSection = [&](const Line &line) {
        return line.kind == Line::Kind::Option && line.section >= 0 && isSection(file.lines.at(line.section));
    };

    if (edit.kind == Edit::Kind::DeleteOption || edit.kind == Edit::Kind::DeleteSection) {
        QList<bool> removed(lines.size(), false);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (edit.kind == Edit::Kind::DeleteOption) {
                removed[i] = inSection(lines.at(i)) && trimmed(lines.at(i).name) == key;
            } else if (isSection(lines.at(i))) {
                // The header, and everything up to the last option under it.
                qsizetype end = i;
                for (qsizetype j = i + 1; j < lines.size() && lines.at(j).kind != Line::Kind::Header; ++j) {
                    if (lines.at(j).kind == Line::Kind::Option)
                        end = j;
                }
                for (qsizetype j = i; j <= end; ++j)
                    removed[j] = true;
            }
        }
        if (!file.exists || !removed.contains(true))
            return file.exists ? bytesOf(file) : QByteArray("<unreadable>");
        QList<Line> kept;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!removed.at(i))
                kept.append(lines.at(i));
        }
        TextFormat written = file.format;
        written.encoding = format.encoding;
        return encoded(textOf(kept, written), written);
    }

    if (format.encoding == Encoding::Latin1 && !(fitsLatin1(section) && fitsLatin1(key) && fitsLatin1(edit.value)))
        return std::nullopt;
    const QString option = key + u'=' + edit.value;
    const auto optionLine = [&] {
        Line line;
        line.kind = Line::Kind::Option;
        line.text = option;
        return line;
    };
    // A new option goes after the last option under the section's last header, or after that header.
    qsizetype lastHeader = -1;
    qsizetype lastPlace = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (isSection(lines.at(i)))
            lastHeader = lastPlace = i;
        else if (lastHeader >= 0 && lines.at(i).kind == Line::Kind::Option && lines.at(i).section == lastHeader)
            lastPlace = i;
    }
    const auto first = std::find_if(
        lines.begin(), lines.end(), [&](const Line &line) { return inSection(line) && trimmed(line.name) == key; });
    if (first != lines.end()) {
        first->text = option;
    } else if (lastPlace >= 0) {
        lines[lastPlace].lineEnd = true;
        lines.insert(lastPlace + 1, optionLine());
    } else {
        if (!lines.isEmpty()) {
            const bool blankLast = lines.last().lineEnd && lines.last().text.isEmpty();
            lines.last().lineEnd = true;
            if (!blankLast)
                lines.append(Line {});
        }
        Line header;
        header.text = u'[' + section + u']';
        lines.append(header);
        lines.append(optionLine());
    }
    TextFormat written = file.exists ? file.format : TextFormat {};
    written.encoding = format.encoding;
    written.lineEnd = format.lineEnd;
    return encoded(textOf(lines, written), written);
}

} // namespace randomini
