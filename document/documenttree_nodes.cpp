// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Nodes held out of the document tree, and putting them back.
#include "document/documenttree.h"

#include <algorithm>
#include <unordered_map>

DocumentNodes::DocumentNodes() = default;
DocumentNodes::~DocumentNodes() = default;
DocumentNodes::DocumentNodes(DocumentNodes &&) noexcept = default;
DocumentNodes &DocumentNodes::operator=(DocumentNodes &&) noexcept = default;

DocumentNodes DocumentNodes::newSection(int row, const QString &name)
{
    DocumentNodes nodes;
    auto section = std::make_unique<DocumentSection>();
    section->setName(name);
    section->image = DocumentTree::SectionImage;
    nodes.m_sectionRows.push_back(row);
    nodes.m_sections.push_back(std::move(section));
    return nodes;
}

DocumentNodes DocumentNodes::newOption(int section, int row, const QString &name, const QString &value, int image)
{
    DocumentNodes nodes;
    Options options;
    options.section = section;
    options.rows.push_back(row);
    options.texts.append(name, value, image);
    nodes.m_options.push_back(std::move(options));
    return nodes;
}

void DocumentNodes::addSection(int row, const QString &name, const QString &value,
    const std::vector<std::pair<QString, QString>> &options, int optionImage)
{
    Q_ASSERT(m_sectionRows.empty() || m_sectionRows.back() < row);
    auto section = std::make_unique<DocumentSection>();
    section->setName(name);
    if (!value.isEmpty())
        section->setValue(value);
    section->image = DocumentTree::SectionImage;
    for (const auto &[optionName, optionValue] : options)
        section->options.append(optionName, optionValue, optionImage);
    m_sectionRows.push_back(row);
    m_sections.push_back(std::move(section));
}

void DocumentNodes::addOption(int section, int row, const QString &name, const QString &value, int image)
{
    if (m_options.empty() || m_options.back().section != section) {
        Q_ASSERT(m_options.empty() || m_options.back().section < section);
        m_options.emplace_back();
        m_options.back().section = section;
    }
    Options &options = m_options.back();
    Q_ASSERT(options.rows.empty() || options.rows.back() < row);
    options.rows.push_back(row);
    options.texts.append(name, value, image);
}

std::vector<NodePlace> DocumentNodes::places() const
{
    std::vector<NodePlace> places;
    for (const int row : m_sectionRows)
        places.push_back({ row, -1 });
    for (const Options &options : m_options) {
        for (const int row : options.rows)
            places.push_back({ options.section, row });
    }
    std::sort(places.begin(), places.end());
    return places;
}

namespace {

// The runs of neighbouring rows among ascending rows, as [first, end) positions in the list.
template <typename Visit> void forEachRun(const std::vector<int> &rows, Visit visit)
{
    for (size_t begin = 0; begin < rows.size();) {
        size_t end = begin + 1;
        while (end < rows.size() && rows[end - 1] + 1 == rows[end])
            ++end;
        visit(begin, end);
        begin = end;
    }
}

int runCount(const std::vector<int> &rows)
{
    int runs = 0;
    forEachRun(rows, [&runs](size_t, size_t) { ++runs; });
    return runs;
}

// Where each row of a list that the given rows were inserted into stands afterwards.
std::vector<int> rowsAfterInsertion(int oldCount, const std::vector<int> &inserted)
{
    std::vector<int> newRow(static_cast<size_t>(oldCount));
    size_t next = 0;
    int row = 0;
    for (int old = 0; old < oldCount; ++old, ++row) {
        while (next < inserted.size() && inserted[next] == row) {
            ++next;
            ++row;
        }
        newRow[static_cast<size_t>(old)] = row;
    }
    return newRow;
}

} // namespace

void DocumentTree::putBack(DocumentNodes &&nodes)
{
    int runs = runCount(nodes.m_sectionRows);
    for (const auto &options : nodes.m_options)
        runs += runCount(options.rows);
    constexpr int MostRowInsertions = 16;
    const bool oneLayoutChange = runs > MostRowInsertions && !inBatch();
    const bool notifyRows = !oneLayoutChange && !inBatch();

    QModelIndexList from;
    std::vector<int> oldSectionRows;
    if (oneLayoutChange) {
        Q_EMIT layoutAboutToBeChanged();
        from = persistentIndexList();
        oldSectionRows.reserve(static_cast<size_t>(from.size()));
        for (const QModelIndex &index : from)
            oldSectionRows.push_back(level(index) == 0 ? index.row() : -1);
    }
    const int oldSectionCount = sectionCount();

    forEachRun(nodes.m_sectionRows, [&](size_t begin, size_t end) {
        const int first = nodes.m_sectionRows[begin];
        if (notifyRows)
            beginInsertRows({}, first, first + static_cast<int>(end - begin) - 1);
        m_sections.insert(m_sections.begin() + first, std::make_move_iterator(nodes.m_sections.begin() + long(begin)),
            std::make_move_iterator(nodes.m_sections.begin() + long(end)));
        m_rowsDirty = true;
        if (notifyRows)
            endInsertRows();
    });

    // The options' rows in their sections before the insertion, by section, for the layout change.
    std::unordered_map<const Section *, std::vector<int>> newOptionRows;
    for (auto &options : nodes.m_options) {
        Section *section = m_sections[static_cast<size_t>(options.section)].get();
        if (!notifyRows) {
            if (oneLayoutChange)
                newOptionRows[section] = rowsAfterInsertion(static_cast<int>(section->options.size()), options.rows);
            section->options.insertRows(options.rows, options.texts);
            continue;
        }
        forEachRun(options.rows, [&](size_t begin, size_t end) {
            const std::vector<int> rows(options.rows.begin() + long(begin), options.rows.begin() + long(end));
            beginInsertRows(sectionIndex(options.section), rows.front(), rows.back());
            section->options.insertRows(rows, options.texts, qsizetype(begin));
            endInsertRows();
        });
    }

    if (oneLayoutChange) {
        const std::vector<int> newSectionRow = rowsAfterInsertion(oldSectionCount, nodes.m_sectionRows);
        QModelIndexList to;
        to.reserve(from.size());
        for (qsizetype i = 0; i < from.size(); ++i) {
            const QModelIndex &index = from[i];
            if (oldSectionRows[size_t(i)] >= 0) {
                to.append(createIndex(newSectionRow[size_t(oldSectionRows[size_t(i)])], index.column(), nullptr));
                continue;
            }
            const auto moved = newOptionRows.find(static_cast<const Section *>(index.internalPointer()));
            const int row = moved == newOptionRows.end() ? index.row() : moved->second[size_t(index.row())];
            to.append(createIndex(row, index.column(), index.internalPointer()));
        }
        changePersistentIndexList(from, to);
        Q_EMIT layoutChanged();
    }
    nodes = DocumentNodes();
}
