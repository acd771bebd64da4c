// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

class QMimeData;

// Rows on their way through the clipboard: what Cut and Copy put there and what Paste takes back.
struct ClipboardOption {
    QString name;
    QString value;
    friend bool operator==(const ClipboardOption &, const ClipboardOption &) = default;
};

struct ClipboardSection {
    QString name;
    QString value; // kept, though a save never writes it
    std::vector<ClipboardOption> options;
    friend bool operator==(const ClipboardSection &, const ClipboardSection &) = default;
};

struct ClipboardNodes {
    // Options that belong to no section of their own: they join the section pasted into.
    std::vector<ClipboardOption> options;
    std::vector<ClipboardSection> sections;

    [[nodiscard]] bool empty() const { return options.empty() && sections.empty(); }
    friend bool operator==(const ClipboardNodes &, const ClipboardNodes &) = default;
};

// What the rows of the copied text are, where the text alone cannot say: the copy format has one
// line per row, with no mark of a section or an option.
enum class RowLevel { Sections, Options };

// The clipboard's contents for the nodes: `rowsText` (the copy format) for other programs, and the
// nodes whole, sections with every option, for this program.
[[nodiscard]] std::unique_ptr<QMimeData> clipboardData(const ClipboardNodes &nodes, const QString &rowsText);

// Whether Paste may find nodes in the data: this program's own, or text.
[[nodiscard]] bool clipboardMayHoldNodes(const QMimeData *data);

// The nodes on the clipboard: this program's own, or rows in the copy format whose first line is
// one of the given headers (taken at `rowLevel`), or else INI text as another program copied it.
// Empty when the clipboard holds none of these.
[[nodiscard]] ClipboardNodes clipboardNodes(const QMimeData &data, const QStringList &headers, RowLevel rowLevel);

// INI text read as a load reads a file: "[name]" lines open sections (a repeated header goes on
// with its section), "name=value" lines are options (a repeated name keeps its first value), and
// options before the first header belong to no section. Comments and other lines hold nothing.
[[nodiscard]] ClipboardNodes nodesFromIniText(QStringView text);

// Rows in the copy format: a header line, an empty line, then one "name<TAB>value" line per row.
// Empty unless the first line is one of the headers.
[[nodiscard]] ClipboardNodes nodesFromRows(QStringView text, const QStringList &headers, RowLevel rowLevel);
