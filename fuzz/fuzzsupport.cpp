// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fuzzsupport.h"

#include "document/documenttree.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace fuzzing {

QString scratchFile(const char *name)
{
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/saldrix-fuzz-XXXXXX"));
    if (!folder.isValid())
        brokenPromise("a scratch folder can be made");
    return folder.filePath(QString::fromLatin1(name));
}

void writeFile(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        brokenPromise("the scratch file can be written", path);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void appendRecords(DocumentTree &tree, QStringView records)
{
    constexpr char16_t SectionMark = 0x1D;
    constexpr char16_t ValueSeparator = 0x1F;
    int section = -1;
    for (const QStringView record : records.split(RecordSeparator)) {
        if (record.startsWith(SectionMark)) {
            section = tree.appendSection(record.mid(1).toString());
            continue;
        }
        if (section < 0)
            section = tree.appendSection(QStringLiteral("s"));
        const qsizetype split = record.indexOf(ValueSeparator);
        tree.appendOption(section, (split < 0 ? record : record.first(split)).toString(),
            split < 0 ? QString() : record.mid(split + 1).toString());
    }
}

namespace {

// A text as a report shows it: control characters as \xNN, so that none ends or breaks the line.
QString shown(const QString &text)
{
    QString out;
    for (const QChar c : text)
        out += c.unicode() < 0x20 || c.unicode() == 0x7F
            ? u"\\x"_s + QString::number(c.unicode(), 16).rightJustified(2, u'0')
            : QString(c);
    return out;
}

} // namespace

QString describeTree(const DocumentTree &tree, const std::function<QString(int section, int option)> &note)
{
    const auto noteOf = [&note](int section, int option) { return note ? u' ' + note(section, option) : QString(); };
    QString text;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        text += QStringLiteral("['%1']%2\n").arg(shown(tree.sectionText(s, DocumentTree::NameColumn)), noteOf(s, -1));
        for (int o = 0; o < tree.optionCount(s); ++o)
            text += QStringLiteral("  '%1' = '%2'%3\n")
                        .arg(shown(tree.optionText(s, o, DocumentTree::NameColumn)),
                            shown(tree.optionText(s, o, DocumentTree::ValueColumn)), noteOf(s, o));
    }
    return text;
}

void brokenPromise(const char *promise, const QString &detail)
{
    std::fprintf(stderr, "Broken promise: %s\n%s\n", promise, qUtf8Printable(detail));
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzzing
