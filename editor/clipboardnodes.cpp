// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/clipboardnodes.h"

#include "document/iniline.h"

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QMimeData>
#include <QSet>

#include <optional>

namespace {

const QString NodesFormat = QStringLiteral("application/x-yorvsaldrix-nodes");
// Raised when the layout of the nodes format changes; another version is read as plain text.
constexpr qint32 NodesFormatVersion = 1;

QByteArray encodeNodes(const ClipboardNodes &nodes)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << NodesFormatVersion << qint64(nodes.options.size());
    for (const ClipboardOption &option : nodes.options)
        out << option.name << option.value;
    out << qint64(nodes.sections.size());
    for (const ClipboardSection &section : nodes.sections) {
        out << section.name << section.value << qint64(section.options.size());
        for (const ClipboardOption &option : section.options)
            out << option.name << option.value;
    }
    return bytes;
}

// Another instance may have put anything under the format's name: a count is trusted only as far
// as the bytes go.
std::optional<ClipboardNodes> decodeNodes(const QByteArray &bytes)
{
    QDataStream in(bytes);
    qint32 version = 0;
    in >> version;
    if (version != NodesFormatVersion)
        return std::nullopt;
    const auto readOptions = [&in](std::vector<ClipboardOption> &options) {
        qint64 count = 0;
        in >> count;
        for (qint64 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
            ClipboardOption option;
            in >> option.name >> option.value;
            options.push_back(std::move(option));
        }
    };
    ClipboardNodes nodes;
    readOptions(nodes.options);
    qint64 sections = 0;
    in >> sections;
    for (qint64 i = 0; i < sections && in.status() == QDataStream::Ok; ++i) {
        ClipboardSection section;
        in >> section.name >> section.value;
        readOptions(section.options);
        nodes.sections.push_back(std::move(section));
    }
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return nodes;
}

// The lines of a text, whichever line ends it uses.
template <typename Visit> void forEachLine(QStringView text, Visit visit)
{
    qsizetype begin = 0;
    while (begin < text.size()) {
        qsizetype end = begin;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        visit(text.sliced(begin, end - begin));
        if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
            ++end;
        begin = end + 1;
    }
}

} // namespace

std::unique_ptr<QMimeData> clipboardData(const ClipboardNodes &nodes, const QString &rowsText)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(rowsText);
    data->setData(NodesFormat, encodeNodes(nodes));
    return data;
}

bool clipboardMayHoldNodes(const QMimeData *data)
{
    return data != nullptr && (data->hasText() || data->hasFormat(NodesFormat));
}

ClipboardNodes clipboardNodes(const QMimeData &data, const QStringList &headers, RowLevel rowLevel)
{
    if (data.hasFormat(NodesFormat)) {
        if (std::optional<ClipboardNodes> nodes = decodeNodes(data.data(NodesFormat)))
            return std::move(*nodes);
    }
    if (!data.hasText())
        return {};
    const QString text = data.text();
    ClipboardNodes rows = nodesFromRows(text, headers, rowLevel);
    if (!rows.empty())
        return rows;
    return nodesFromIniText(text);
}

ClipboardNodes nodesFromIniText(QStringView text)
{
    ClipboardNodes nodes;
    QHash<QString, qsizetype> sectionAt; // a repeated header goes on with its section
    // The option names of each section so far (the first for the options of no section): a
    // repeated name keeps its first value.
    std::vector<QSet<QString>> names(1);
    qsizetype current = -1;
    forEachLine(text, [&](QStringView line) {
        const auto *units = reinterpret_cast<const char16_t *>(line.data());
        const IniLine parsed = classifyIniLine(units, line.size());
        const auto part
            = [&line](qsizetype begin, qsizetype end) { return line.sliced(begin, end - begin).toString(); };
        if (parsed.kind == IniLine::Kind::Header) {
            const QString name = part(parsed.nameBegin, parsed.nameEnd);
            auto found = sectionAt.constFind(name);
            if (found == sectionAt.cend()) {
                found = sectionAt.insert(name, qsizetype(nodes.sections.size()));
                nodes.sections.push_back({ name, {}, {} });
                names.emplace_back();
            }
            current = *found;
        } else if (parsed.kind == IniLine::Kind::Option) {
            QString name = part(parsed.nameBegin, parsed.nameEnd);
            QSet<QString> &known = names[size_t(current + 1)];
            if (known.contains(name))
                return;
            known.insert(name);
            auto &options = current < 0 ? nodes.options : nodes.sections[size_t(current)].options;
            options.push_back({ std::move(name), part(parsed.valueBegin, parsed.valueEnd) });
        }
    });
    return nodes;
}

ClipboardNodes nodesFromRows(QStringView text, const QStringList &headers, RowLevel rowLevel)
{
    ClipboardNodes nodes;
    int line = 0;
    bool isCopy = false;
    forEachLine(text, [&](QStringView row) {
        ++line;
        if (line == 1) {
            isCopy = headers.contains(row.toString());
            return;
        }
        if (!isCopy || (line == 2 && row.isEmpty()))
            return;
        if (row.isEmpty())
            return; // a node's row always holds its tab
        const qsizetype tab = row.indexOf(u'\t');
        ClipboardOption option { (tab < 0 ? row : row.first(tab)).toString(),
            tab < 0 ? QString() : row.sliced(tab + 1).toString() };
        if (rowLevel == RowLevel::Options)
            nodes.options.push_back(std::move(option));
        else
            nodes.sections.push_back({ std::move(option.name), std::move(option.value), {} });
    });
    return nodes;
}
