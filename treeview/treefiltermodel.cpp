// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treeview/treefiltermodel.h"

#include "document/documenttree.h"

#include <algorithm>
#include <optional>
#include <utility>

TreeFilterModel::TreeFilterModel(QObject *parent)
    : QAbstractProxyModel(parent)
{
}

TreeFilterModel::~TreeFilterModel() = default;

void TreeFilterModel::setSourceModel(QAbstractItemModel *source)
{
    forgetLookups();
    beginResetModel();
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_filtering = false;
    m_kept.clear();
    m_proxyRow.clear();
    QAbstractProxyModel::setSourceModel(source);
    m_source = source;
    m_flags = {};
    if (source != nullptr) {
        using M = QAbstractItemModel;
        using F = TreeFilterModel;
        m_connections = {
            connect(source, &M::rowsAboutToBeInserted, this, &F::sourceRowsAboutToBeInserted),
            connect(source, &M::rowsInserted, this, &F::sourceRowsInserted),
            connect(source, &M::rowsAboutToBeRemoved, this, &F::sourceRowsAboutToBeRemoved),
            connect(source, &M::rowsRemoved, this, &F::sourceRowsRemoved),
            connect(source, &M::rowsAboutToBeMoved, this, &F::sourceRowsAboutToBeMoved),
            connect(source, &M::rowsMoved, this, &F::sourceRowsMoved),
            connect(source, &M::layoutAboutToBeChanged, this, &F::sourceLayoutAboutToBeChanged),
            connect(source, &M::layoutChanged, this, &F::sourceLayoutChanged),
            connect(source, &M::dataChanged, this, &F::sourceDataChanged),
            connect(source, &M::headerDataChanged, this, &M::headerDataChanged),
            connect(source, &M::modelAboutToBeReset, this,
                [this] {
                    forgetLookups();
                    beginResetModel();
                }),
            connect(source, &M::modelReset, this,
                [this] {
                    // A new document: what the filter kept belonged to the old one.
                    m_filtering = false;
                    forgetLookups();
                    m_kept.clear();
                    m_proxyRow.clear();
                    endResetModel();
                }),
        };
    }
    endResetModel();
}

// Rows between here and the document

int TreeFilterModel::sourceSection(int proxyRow) const
{
    if (!m_filtering)
        return proxyRow;
    return proxyRow >= 0 && size_t(proxyRow) < m_kept.size() ? m_kept[size_t(proxyRow)].source : -1;
}

int TreeFilterModel::proxySection(int sourceRow) const
{
    if (!m_filtering)
        return sourceRow;
    return sourceRow >= 0 && size_t(sourceRow) < m_proxyRow.size() ? m_proxyRow[size_t(sourceRow)] : -1;
}

int TreeFilterModel::sourceOption(int proxySectionRow, int proxyRow) const
{
    if (!m_filtering || m_kept[size_t(proxySectionRow)].whole)
        return proxyRow;
    const std::vector<int> &options = m_kept[size_t(proxySectionRow)].options;
    return proxyRow >= 0 && size_t(proxyRow) < options.size() ? options[size_t(proxyRow)] : -1;
}

int TreeFilterModel::proxyOption(int proxySectionRow, int sourceRow) const
{
    if (!m_filtering || m_kept[size_t(proxySectionRow)].whole)
        return sourceRow;
    const std::vector<int> &options = m_kept[size_t(proxySectionRow)].options;
    const auto at = std::lower_bound(options.cbegin(), options.cend(), sourceRow);
    return at != options.cend() && *at == sourceRow ? int(at - options.cbegin()) : -1;
}

int TreeFilterModel::shownOptionCount(int proxySectionRow) const
{
    if (m_filtering && !m_kept[size_t(proxySectionRow)].whole)
        return int(m_kept[size_t(proxySectionRow)].options.size());
    return m_source->rowCount(m_source->index(sourceSection(proxySectionRow), 0));
}

void TreeFilterModel::forgetLookups() const
{
    m_lookup = {};
    m_pointerLookup = {};
}

const TreeFilterModel::SectionLookup &TreeFilterModel::lookUpSection(int proxySectionRow) const
{
    // A view asks for the rows of one section one after the other.
    if (m_lookup.row != proxySectionRow) {
        m_lookup.row = proxySectionRow;
        m_lookup.optionCount = shownOptionCount(proxySectionRow);
        m_lookup.pointer = m_lookup.optionCount > 0 ? optionPointer(sourceSection(proxySectionRow)) : nullptr;
    }
    return m_lookup;
}

int TreeFilterModel::sectionOfPointer(void *pointer) const
{
    return sourceSectionOf(pointer).row();
}

QModelIndex TreeFilterModel::sourceSectionOf(void *pointer) const
{
    // The rows of one section are asked for one after the other.
    if (m_pointerLookup.pointer != pointer || !m_pointerLookup.section.isValid()) {
        m_pointerLookup.pointer = pointer;
        m_pointerLookup.section = m_source->parent(createSourceIndex(0, 0, pointer));
    }
    return m_pointerLookup.section;
}

void *TreeFilterModel::optionPointer(int sourceSectionRow) const
{
    return m_source->index(0, 0, m_source->index(sourceSectionRow, 0)).internalPointer();
}

QModelIndex TreeFilterModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || m_source == nullptr)
        return {};
    if (proxyIndex.internalPointer() == nullptr)
        return m_source->index(sourceSection(proxyIndex.row()), proxyIndex.column());
    const QModelIndex sourceSection = sourceSectionOf(proxyIndex.internalPointer());
    const int section = proxySection(sourceSection.row());
    if (section < 0 || (m_filtering && size_t(section) >= m_kept.size()))
        return {};
    const int row = sourceOption(section, proxyIndex.row());
    return row < 0 ? QModelIndex() : m_source->index(row, proxyIndex.column(), sourceSection);
}

QModelIndex TreeFilterModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid())
        return {};
    if (DocumentTree::level(sourceIndex) == 0) {
        const int section = proxySection(sourceIndex.row());
        return section < 0 ? QModelIndex() : createIndex(section, sourceIndex.column(), nullptr);
    }
    const int section = proxySection(sourceIndex.parent().row());
    if (section < 0)
        return {};
    const int row = proxyOption(section, sourceIndex.row());
    return row < 0 ? QModelIndex() : createIndex(row, sourceIndex.column(), sourceIndex.internalPointer());
}

QModelIndex TreeFilterModel::index(int row, int column, const QModelIndex &parent) const
{
    if (m_source == nullptr || row < 0 || column < 0 || column >= columnCount())
        return {};
    if (!parent.isValid())
        return row < rowCount() ? createIndex(row, column, nullptr) : QModelIndex();
    if (parent.internalPointer() != nullptr || parent.row() >= rowCount())
        return {};
    const SectionLookup &section = lookUpSection(parent.row());
    return row < section.optionCount ? createIndex(row, column, section.pointer) : QModelIndex();
}

QModelIndex TreeFilterModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalPointer() == nullptr)
        return {};
    const int section = proxySection(sectionOfPointer(child.internalPointer()));
    return section < 0 ? QModelIndex() : createIndex(section, 0, nullptr);
}

QModelIndex TreeFilterModel::sibling(int row, int column, const QModelIndex &index) const
{
    // The usual question, another column of the same row, needs no look at the rows.
    if (index.isValid() && row == index.row() && column >= 0 && column < columnCount())
        return createIndex(row, column, index.internalPointer());
    return QAbstractProxyModel::sibling(row, column, index);
}

int TreeFilterModel::rowCount(const QModelIndex &parent) const
{
    if (m_source == nullptr)
        return 0;
    if (!parent.isValid())
        return m_filtering ? int(m_kept.size()) : m_source->rowCount();
    if (parent.internalPointer() != nullptr || parent.column() != 0 || parent.row() >= rowCount())
        return 0;
    return lookUpSection(parent.row()).optionCount;
}

int TreeFilterModel::columnCount(const QModelIndex &) const
{
    return m_source != nullptr ? m_source->columnCount() : 0;
}

bool TreeFilterModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant TreeFilterModel::data(const QModelIndex &index, int role) const
{
    return m_source != nullptr ? m_source->data(mapToSource(index), role) : QVariant();
}

Qt::ItemFlags TreeFilterModel::flags(const QModelIndex &index) const
{
    if (m_source == nullptr)
        return Qt::NoItemFlags;
    // The document's flags depend on a node's level and column only; a view asks for them of
    // every row it lays out.
    const int level = DocumentTree::level(index);
    if (level < 0 || index.column() < 0 || index.column() >= DocumentTree::ColumnCount)
        return m_source->flags(mapToSource(index));
    std::optional<Qt::ItemFlags> &flags = m_flags[size_t(level)][size_t(index.column())];
    if (!flags)
        flags = m_source->flags(mapToSource(index));
    return *flags;
}

QVariant TreeFilterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return m_source != nullptr ? m_source->headerData(section, orientation, role) : QVariant();
}

// Switching the filter

std::vector<TreeFilterModel::Kept> TreeFilterModel::keptFor(const TreeMatches &shown) const
{
    std::vector<Kept> kept;
    kept.reserve(shown.sections().size());
    for (const TreeMatches::Section &matched : shown.sections()) {
        Kept section { matched.section, matched.self, {} };
        // A section whose every option shows is kept whole: nothing to look up per row.
        if (!section.whole && matched.matchingOptions != m_source->rowCount(m_source->index(section.source, 0))) {
            section.options.reserve(size_t(matched.matchingOptions));
            shown.forEachOption(matched, [&section](int option) { section.options.push_back(option); });
        } else {
            section.whole = true;
        }
        kept.push_back(std::move(section));
    }
    return kept;
}

void TreeFilterModel::renumber()
{
    forgetLookups();
    if (!m_filtering) {
        m_proxyRow.clear();
        return;
    }
    m_proxyRow.assign(size_t(m_source->rowCount()), -1);
    for (size_t row = 0; row < m_kept.size(); ++row)
        m_proxyRow[size_t(m_kept[row].source)] = int(row);
}

bool TreeFilterModel::showsSameRows(bool filtering, const std::vector<Kept> &kept) const
{
    const size_t sections = size_t(m_source->rowCount());
    const size_t count = m_filtering ? m_kept.size() : sections;
    if (count != (filtering ? kept.size() : sections))
        return false;
    for (size_t row = 0; row < count; ++row) {
        // Without a filter a row is its document section, kept whole.
        const Kept *now = m_filtering ? &m_kept[row] : nullptr;
        const Kept *next = filtering ? &kept[row] : nullptr;
        const int section = now != nullptr ? now->source : int(row);
        if (section != (next != nullptr ? next->source : int(row)))
            return false;
        const bool nowWhole = now == nullptr || now->whole;
        const bool nextWhole = next == nullptr || next->whole;
        if (nowWhole && nextWhole)
            continue;
        if (nowWhole != nextWhole) {
            const Kept *part = nowWhole ? next : now;
            if (int(part->options.size()) != m_source->rowCount(m_source->index(section, 0)))
                return false;
        } else if (now->options != next->options) {
            return false;
        }
    }
    return true;
}

void TreeFilterModel::switchTo(bool filtering, std::vector<Kept> &&kept)
{
    forgetLookups();
    if (showsSameRows(filtering, kept)) {
        // Nothing the view shows changes: it need not hear of it, nor lay out its rows again.
        m_filtering = filtering;
        m_kept = std::move(kept);
        renumber();
        return;
    }
    // The document stands still: the persistent indexes (the view's current node, selection and
    // open sections) are mapped through it without being kept there.
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList from = persistentIndexList();
    QModelIndexList sources;
    sources.reserve(from.size());
    for (const QModelIndex &index : from)
        sources.append(mapToSource(index));
    m_filtering = filtering;
    m_kept = std::move(kept);
    renumber();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &index : std::as_const(sources))
        to.append(mapFromSource(index));
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged();
}

void TreeFilterModel::setFilter(const TreeMatches &shown)
{
    if (m_source != nullptr)
        switchTo(true, keptFor(shown));
}

void TreeFilterModel::clearFilter()
{
    if (m_filtering)
        switchTo(false, {});
}

bool TreeFilterModel::isShown(const NodePosition &node) const
{
    const int section = proxySection(node.section);
    if (section < 0)
        return false;
    const Kept &kept = m_kept[size_t(section)];
    if (kept.whole)
        return true;
    return node.option >= 0 && std::binary_search(kept.options.cbegin(), kept.options.cend(), node.option);
}

bool TreeFilterModel::showsAll(const TreeMatches &nodes) const
{
    for (const TreeMatches::Section &section : nodes.sections()) {
        if (section.self && !isShown({ section.section, -1 }))
            return false;
        bool all = true;
        nodes.forEachOption(section, [&](int option) { all = all && isShown({ section.section, option }); });
        if (!all)
            return false;
    }
    return true;
}

void TreeFilterModel::extend(const TreeMatches &shown)
{
    forgetLookups();
    if (!m_filtering || showsAll(shown))
        return;
    std::vector<Kept> added = keptFor(shown);
    std::vector<Kept> merged;
    merged.reserve(m_kept.size() + added.size());
    auto old = m_kept.begin();
    auto add = added.begin();
    while (old != m_kept.end() || add != added.end()) {
        if (add == added.end() || (old != m_kept.end() && old->source < add->source)) {
            merged.push_back(std::move(*old++));
        } else if (old == m_kept.end() || add->source < old->source) {
            merged.push_back(std::move(*add++));
        } else {
            Kept section { old->source, old->whole || add->whole, {} };
            if (!section.whole) {
                std::set_union(old->options.cbegin(), old->options.cend(), add->options.cbegin(), add->options.cend(),
                    std::back_inserter(section.options));
            }
            merged.push_back(std::move(section));
            ++old;
            ++add;
        }
    }
    switchTo(true, std::move(merged));
}

size_t TreeFilterModel::keptAtOrAfter(int sourceRow) const
{
    return size_t(std::lower_bound(m_kept.cbegin(), m_kept.cend(), sourceRow, [](const Kept &kept, int row) {
        return kept.source < row;
    }) - m_kept.cbegin());
}

int TreeFilterModel::insertKept(int sourceRow)
{
    forgetLookups();
    const size_t at = keptAtOrAfter(sourceRow);
    m_kept.insert(m_kept.begin() + long(at), Kept { sourceRow, false, {} });
    renumber();
    return int(at);
}

void TreeFilterModel::reveal(const QModelIndex &sourceIndex)
{
    forgetLookups();
    if (!m_filtering || !sourceIndex.isValid())
        return;
    const bool isSection = DocumentTree::level(sourceIndex) == 0;
    const int sourceRow = isSection ? sourceIndex.row() : sourceIndex.parent().row();
    int section = proxySection(sourceRow);
    if (section < 0) {
        const int at = int(keptAtOrAfter(sourceRow));
        beginInsertRows({}, at, at);
        section = insertKept(sourceRow);
        endInsertRows();
    }
    Kept &kept = m_kept[size_t(section)];
    if (isSection || kept.whole)
        return;
    const auto at = std::lower_bound(kept.options.begin(), kept.options.end(), sourceIndex.row());
    if (at != kept.options.end() && *at == sourceIndex.row())
        return;
    const int row = int(at - kept.options.begin());
    beginInsertRows(index(section, 0), row, row);
    kept.options.insert(at, sourceIndex.row());
    endInsertRows();
}
