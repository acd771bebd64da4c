// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whole-document changes of DocumentTree: taking a tree built elsewhere and removing any
// selection of nodes at once.
#include "document/documenttree.h"

#include "document/textview.h"

#include <algorithm>

DocumentSection::DocumentSection(const DocumentSection &other)
    : options(other.options)
    , image(other.image)
    , row(other.row)
    , origin(other.origin)
    , m_texts(other.m_texts ? std::make_unique<Texts>(*other.m_texts) : nullptr)
{
}

QString DocumentSection::nameText() const
{
    if (options.nameBorrowed())
        return textToString(options.borrowedName());
    return m_texts ? m_texts->name : QString();
}

QAnyStringView DocumentSection::nameView() const
{
    if (options.nameBorrowed())
        return options.borrowedName();
    return m_texts ? QAnyStringView(m_texts->name) : QAnyStringView(QLatin1StringView());
}

void DocumentSection::setName(const QString &text)
{
    if (!m_texts)
        m_texts = std::make_unique<Texts>();
    m_texts->name = text;
    options.forgetName();
}

void DocumentSection::setValue(const QString &text)
{
    if (!m_texts)
        m_texts = std::make_unique<Texts>();
    m_texts->value = text;
}

int DocumentContents::appendSection(const QString &name, qint64 origin)
{
    auto section = std::make_unique<DocumentSection>();
    section->origin = qint32(origin);
    if (!name.isEmpty())
        section->setName(name);
    section->image = DocumentTree::SectionImage;
    section->row = sectionCount();
    m_sections.push_back(std::move(section));
    return sectionCount() - 1;
}

void DocumentContents::moveSection(int from, int to)
{
    if (from == to)
        return;
    m_sections[size_t(to)] = std::move(m_sections[size_t(from)]);
    m_sections[size_t(to)]->row = to;
}

void DocumentContents::reserveOptions(int section, qsizetype count, qsizetype units)
{
    m_sections[static_cast<size_t>(section)]->options.reserve(count, units);
}

void DocumentContents::appendOption(int section, QAnyStringView name, QAnyStringView value, qint64 origin)
{
    m_sections[static_cast<size_t>(section)]->options.append(name, value, DocumentTree::OptionImage, origin);
}

void DocumentTree::append(DocumentContents &&contents)
{
    if (!inBatch())
        beginResetModel();
    if (m_sections.empty()) {
        std::swap(m_sections, contents.m_sections);
    } else { // appended after the sections already there
        for (auto &section : contents.m_sections)
            m_sections.push_back(std::move(section));
    }
    m_rowsDirty = true;
    if (!inBatch())
        endResetModel();
    // The old nodes go after the views have let go of them.
    contents.m_sections.clear();
}

DocumentContents DocumentTree::copyContents() const
{
    DocumentContents contents;
    contents.m_sections.reserve(m_sections.size());
    for (const auto &section : m_sections)
        contents.m_sections.push_back(std::make_unique<DocumentSection>(*section));
    return contents;
}

void DocumentTree::removeNodes(const QModelIndexList &nodes)
{
    DocumentNodes gone = takeNodes(nodes);
    // Removed sections stay alive until the next removal: a view may still hold plain indexes into
    // them until it lays itself out again.
    m_removedSections = std::move(gone.m_sections);
}

DocumentNodes DocumentTree::takeNodes(const QModelIndexList &nodes)
{
    std::vector<bool> sectionGone(static_cast<size_t>(sectionCount()), false);
    std::vector<std::vector<int>> optionsGone(static_cast<size_t>(sectionCount()));
    for (const QModelIndex &node : nodes) {
        if (node.model() != this || !node.isValid())
            continue;
        if (level(node) == 0) {
            sectionGone[static_cast<size_t>(node.row())] = true;
        } else {
            const int section = rowOf(sectionOf(node));
            optionsGone[static_cast<size_t>(section)].push_back(node.row());
        }
    }
    DocumentNodes taken;
    int runs = 0;
    for (int s = 0; s < sectionCount(); ++s) {
        auto &rows = optionsGone[static_cast<size_t>(s)];
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        if (sectionGone[static_cast<size_t>(s)]) {
            rows.clear(); // they go with their section
            taken.m_sectionRows.push_back(s);
            if (s == 0 || !sectionGone[static_cast<size_t>(s - 1)])
                ++runs;
        }
        if (rows.empty())
            continue;
        for (size_t i = 0; i < rows.size(); ++i)
            runs += i == 0 || rows[i - 1] + 1 != rows[i] ? 1 : 0;
        DocumentNodes::Options options;
        options.section = s;
        options.rows = rows;
        const OptionTexts &texts = m_sections[static_cast<size_t>(s)]->options;
        options.texts.reserve(qsizetype(rows.size()), 0);
        for (const int row : rows)
            options.texts.append(
                texts.view(row, NameColumn), texts.view(row, ValueColumn), texts.image(row), texts.origin(row));
        taken.m_options.push_back(std::move(options));
    }
    constexpr int MostRowRemovals = 16;
    if (runs > MostRowRemovals && !inBatch()) {
        removeInLayoutChange(std::move(sectionGone), std::move(optionsGone), taken);
        return taken;
    }
    // A few runs: each is one row removal, from the last back, so the rows still to go keep theirs.
    for (int s = sectionCount() - 1; s >= 0; --s) {
        const auto &rows = optionsGone[static_cast<size_t>(s)];
        for (auto end = rows.size(); end > 0;) {
            auto begin = end - 1;
            while (begin > 0 && rows[begin - 1] + 1 == rows[begin])
                --begin;
            removeRows(rows[begin], static_cast<int>(end - begin), sectionIndex(s));
            end = begin;
        }
    }
    std::vector<std::unique_ptr<Section>> sections; // the last first
    for (int end = sectionCount(); end > 0;) {
        if (!sectionGone[static_cast<size_t>(end - 1)]) {
            --end;
            continue;
        }
        int begin = end - 1;
        while (begin > 0 && sectionGone[static_cast<size_t>(begin - 1)])
            --begin;
        if (!inBatch())
            beginRemoveRows({}, begin, end - 1);
        for (int row = end - 1; row >= begin; --row)
            sections.push_back(std::move(m_sections[static_cast<size_t>(row)]));
        m_sections.erase(m_sections.begin() + begin, m_sections.begin() + end);
        m_rowsDirty = true;
        if (!inBatch())
            endRemoveRows();
        end = begin;
    }
    taken.m_sections.assign(std::make_move_iterator(sections.rbegin()), std::make_move_iterator(sections.rend()));
    return taken;
}

void DocumentTree::removeInLayoutChange(
    std::vector<bool> &&sectionGone, std::vector<std::vector<int>> &&optionsGone, DocumentNodes &taken)
{
    Q_EMIT layoutAboutToBeChanged();
    // Where every index that views hold goes: its new row, or nowhere when its node is removed.
    std::vector<int> newSectionRow(sectionGone.size(), -1);
    int next = 0;
    for (size_t s = 0; s < sectionGone.size(); ++s)
        newSectionRow[s] = sectionGone[s] ? -1 : next++;
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &index : from) {
        if (level(index) == 0) {
            const int row = newSectionRow[static_cast<size_t>(index.row())];
            to.append(row < 0 ? QModelIndex() : createIndex(row, index.column(), nullptr));
            continue;
        }
        const int section = rowOf(sectionOf(index));
        const auto &rows = optionsGone[static_cast<size_t>(section)];
        const auto below = std::lower_bound(rows.begin(), rows.end(), index.row());
        const bool gone = sectionGone[static_cast<size_t>(section)] || (below != rows.end() && *below == index.row());
        const int row = index.row() - static_cast<int>(below - rows.begin());
        to.append(gone ? QModelIndex() : createIndex(row, index.column(), index.internalPointer()));
    }
    for (size_t s = 0; s < sectionGone.size(); ++s) {
        if (!optionsGone[s].empty())
            m_sections[s]->options.removeRows(optionsGone[s]);
    }
    size_t kept = 0;
    for (size_t s = 0; s < m_sections.size(); ++s) {
        if (sectionGone[s])
            taken.m_sections.push_back(std::move(m_sections[s]));
        else
            m_sections[kept++] = std::move(m_sections[s]);
    }
    m_sections.resize(kept);
    m_rowsDirty = true;
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged();
}
