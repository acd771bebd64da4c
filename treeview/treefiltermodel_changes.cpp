// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// How the filter model follows the changes of the document.
#include "treeview/treefiltermodel.h"

#include "document/documenttree.h"

#include <algorithm>
#include <utility>

namespace {

// Where a row stands after rows [first, last] of its list moved to before row `to` of the same
// list (counted as before the move).
int rowAfterMove(int row, int first, int last, int to)
{
    const int count = last - first + 1;
    if (row >= first && row <= last)
        return (to > last ? to - count : to) + (row - first);
    if (to > last && row > last && row < to)
        return row - count;
    if (to < first && row >= to && row < first)
        return row + count;
    return row;
}

// Shifts the rows at or after `from` by `by` in an ascending list.
void shiftRows(std::vector<int> &rows, int from, int by)
{
    for (auto row = std::lower_bound(rows.begin(), rows.end(), from); row != rows.end(); ++row)
        *row += by;
}

// Removes the rows in [first, last] from an ascending list and closes the gap.
void dropRows(std::vector<int> &rows, int first, int last)
{
    const auto begin = std::lower_bound(rows.begin(), rows.end(), first);
    const auto end = std::upper_bound(begin, rows.end(), last);
    rows.erase(begin, end);
    shiftRows(rows, last + 1, -(last - first + 1));
}

} // namespace

// Following the document

void TreeFilterModel::beginLayout()
{
    forgetLookups();
    Q_EMIT layoutAboutToBeChanged();
    m_layoutFrom = persistentIndexList();
    m_layoutSources.clear();
    m_layoutSources.reserve(m_layoutFrom.size());
    for (const QModelIndex &index : std::as_const(m_layoutFrom))
        m_layoutSources.append(QPersistentModelIndex(mapToSource(index)));
}

void TreeFilterModel::endLayout()
{
    forgetLookups();
    QModelIndexList to;
    to.reserve(m_layoutFrom.size());
    for (const QPersistentModelIndex &index : std::as_const(m_layoutSources))
        to.append(mapFromSource(index));
    changePersistentIndexList(m_layoutFrom, to);
    m_layoutFrom.clear();
    m_layoutSources.clear();
    Q_EMIT layoutChanged();
}

void TreeFilterModel::sourceRowsAboutToBeInserted(const QModelIndex &parent, int first, int last)
{
    forgetLookups();
    if (!m_filtering) {
        beginInsertRows(mapFromSource(parent), first, last);
        return;
    }
    // Options inserted into a section kept whole show; other inserted nodes stay out of sight
    // until they are revealed.
    if (const int section = parent.isValid() ? proxySection(parent.row()) : -1;
        section >= 0 && m_kept[size_t(section)].whole) {
        beginInsertRows(index(section, 0), first, last);
        m_rowsPending = true;
    }
}

void TreeFilterModel::sourceRowsInserted(const QModelIndex &parent, int first, int last)
{
    forgetLookups();
    if (!m_filtering) {
        endInsertRows();
        return;
    }
    const int count = last - first + 1;
    if (!parent.isValid()) {
        for (size_t at = keptAtOrAfter(first); at < m_kept.size(); ++at)
            m_kept[at].source += count;
        renumber();
        return;
    }
    const int section = proxySection(parent.row());
    if (section < 0)
        return;
    if (!m_kept[size_t(section)].whole)
        shiftRows(m_kept[size_t(section)].options, first, count);
    if (std::exchange(m_rowsPending, false))
        endInsertRows();
}

void TreeFilterModel::sourceRowsAboutToBeRemoved(const QModelIndex &parent, int first, int last)
{
    forgetLookups();
    if (!m_filtering) {
        beginRemoveRows(mapFromSource(parent), first, last);
        return;
    }
    int begin = 0;
    int end = 0; // proxy rows [begin, end)
    QModelIndex proxyParent;
    if (!parent.isValid()) {
        begin = int(keptAtOrAfter(first));
        end = int(keptAtOrAfter(last + 1));
    } else {
        const int section = proxySection(parent.row());
        if (section < 0)
            return;
        proxyParent = index(section, 0);
        const Kept &kept = m_kept[size_t(section)];
        if (kept.whole) {
            begin = first;
            end = last + 1;
        } else {
            begin = int(std::lower_bound(kept.options.cbegin(), kept.options.cend(), first) - kept.options.cbegin());
            end = int(std::lower_bound(kept.options.cbegin(), kept.options.cend(), last + 1) - kept.options.cbegin());
        }
    }
    if (begin < end) {
        beginRemoveRows(proxyParent, begin, end - 1);
        m_rowsPending = true;
    }
}

void TreeFilterModel::sourceRowsRemoved(const QModelIndex &parent, int first, int last)
{
    forgetLookups();
    if (!m_filtering) {
        endRemoveRows();
        return;
    }
    const int count = last - first + 1;
    if (!parent.isValid()) {
        const size_t begin = keptAtOrAfter(first);
        const size_t end = keptAtOrAfter(last + 1);
        m_kept.erase(m_kept.begin() + long(begin), m_kept.begin() + long(end));
        for (size_t at = begin; at < m_kept.size(); ++at)
            m_kept[at].source -= count;
        renumber();
    } else if (const int section = proxySection(parent.row()); section >= 0 && !m_kept[size_t(section)].whole) {
        dropRows(m_kept[size_t(section)].options, first, last);
    }
    if (std::exchange(m_rowsPending, false))
        endRemoveRows();
}

void TreeFilterModel::sourceRowsAboutToBeMoved(
    const QModelIndex &parent, int first, int last, const QModelIndex &to, int row)
{
    forgetLookups();
    if (!m_filtering) {
        beginMoveRows(mapFromSource(parent), first, last, mapFromSource(to), row);
        return;
    }
    // Moved nodes keep what the filter showed of them, wherever they go.
    m_move = { parent.isValid() ? parent.row() : -1, first, to.isValid() ? to.row() : -1, row };
    beginLayout();
}

void TreeFilterModel::sourceRowsMoved(const QModelIndex &, int first, int last, const QModelIndex &, int)
{
    forgetLookups();
    if (!m_filtering) {
        endMoveRows();
        return;
    }
    const int to = m_move.toRow;
    const int count = last - first + 1;
    if (m_move.fromSection < 0) {
        for (Kept &kept : m_kept)
            kept.source = rowAfterMove(kept.source, first, last, to);
        std::sort(m_kept.begin(), m_kept.end(), [](const Kept &a, const Kept &b) { return a.source < b.source; });
        renumber();
        endLayout();
        return;
    }
    // An option's section row is the same before and after a move among options.
    const int from = proxySection(m_move.fromSection);
    if (m_move.fromSection == m_move.toSection) {
        if (from >= 0 && !m_kept[size_t(from)].whole) {
            for (int &option : m_kept[size_t(from)].options)
                option = rowAfterMove(option, first, last, to);
            std::sort(m_kept[size_t(from)].options.begin(), m_kept[size_t(from)].options.end());
        }
        endLayout();
        return;
    }
    std::vector<bool> shown(size_t(count), from >= 0 && m_kept[size_t(from)].whole);
    if (from >= 0 && !m_kept[size_t(from)].whole) {
        std::vector<int> &options = m_kept[size_t(from)].options;
        for (int row = first; row <= last; ++row)
            shown[size_t(row - first)] = std::binary_search(options.cbegin(), options.cend(), row);
        dropRows(options, first, last);
    }
    const bool anyShown = std::find(shown.cbegin(), shown.cend(), true) != shown.cend();
    int target = proxySection(m_move.toSection);
    if (target < 0 && anyShown)
        target = insertKept(m_move.toSection);
    if (target >= 0) {
        Kept &kept = m_kept[size_t(target)];
        const bool allShown = std::find(shown.cbegin(), shown.cend(), false) == shown.cend();
        if (kept.whole && !allShown) {
            kept.whole = false;
            const int options = m_source->rowCount(m_source->index(m_move.toSection, 0));
            for (int row = 0; row < options; ++row) {
                if (row < to || row >= to + count)
                    kept.options.push_back(row);
            }
        } else if (!kept.whole) {
            shiftRows(kept.options, to, count);
        }
        if (!kept.whole) {
            for (int i = 0; i < count; ++i) {
                if (shown[size_t(i)])
                    kept.options.push_back(to + i);
            }
            std::sort(kept.options.begin(), kept.options.end());
        }
    }
    endLayout();
}

void TreeFilterModel::sourceLayoutAboutToBeChanged()
{
    forgetLookups();
    beginLayout();
    if (!m_filtering)
        return;
    // The document does not say what moved: what the filter shows is held by persistent indexes of
    // the document until it is done.
    m_layoutKept.clear();
    m_layoutKept.reserve(m_kept.size());
    for (const Kept &kept : m_kept) {
        KeptPlaces places { QPersistentModelIndex(m_source->index(kept.source, 0)), kept.whole, {} };
        const QModelIndex section = places.section;
        places.options.reserve(qsizetype(kept.options.size()));
        for (const int option : kept.options)
            places.options.append(QPersistentModelIndex(m_source->index(option, 0, section)));
        m_layoutKept.push_back(std::move(places));
    }
}

void TreeFilterModel::sourceLayoutChanged()
{
    forgetLookups();
    if (m_filtering) {
        std::vector<Kept> kept;
        kept.reserve(m_layoutKept.size());
        for (const KeptPlaces &places : m_layoutKept) {
            if (!places.section.isValid())
                continue;
            Kept section { places.section.row(), places.whole, {} };
            for (const QPersistentModelIndex &option : places.options) {
                if (option.isValid())
                    section.options.push_back(option.row());
            }
            std::sort(section.options.begin(), section.options.end());
            kept.push_back(std::move(section));
        }
        std::sort(kept.begin(), kept.end(), [](const Kept &a, const Kept &b) { return a.source < b.source; });
        m_layoutKept.clear();
        m_kept = std::move(kept);
        renumber();
    }
    endLayout();
}

void TreeFilterModel::sourceDataChanged(
    const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    if (!m_filtering) {
        Q_EMIT dataChanged(mapFromSource(topLeft), mapFromSource(bottomRight), roles);
        return;
    }
    // The shown rows among the changed ones.
    int begin = 0;
    int end = 0;
    QModelIndex proxyParent;
    if (!topLeft.parent().isValid()) {
        begin = int(keptAtOrAfter(topLeft.row()));
        end = int(keptAtOrAfter(bottomRight.row() + 1));
    } else {
        const int section = proxySection(topLeft.parent().row());
        if (section < 0)
            return;
        proxyParent = index(section, 0);
        const Kept &kept = m_kept[size_t(section)];
        if (kept.whole) {
            begin = topLeft.row();
            end = bottomRight.row() + 1;
        } else {
            const auto &options = kept.options;
            begin = int(std::lower_bound(options.cbegin(), options.cend(), topLeft.row()) - options.cbegin());
            end = int(std::lower_bound(options.cbegin(), options.cend(), bottomRight.row() + 1) - options.cbegin());
        }
    }
    if (begin < end) {
        Q_EMIT dataChanged(
            index(begin, topLeft.column(), proxyParent), index(end - 1, bottomRight.column(), proxyParent), roles);
    }
}
