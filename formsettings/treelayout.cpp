// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formsettings/treelayout.h"

#include "settings/settingsstore.h"

#include <QHeaderView>
#include <QTreeView>

#include <algorithm>

const QString TreeLayout::DefaultPath = QStringLiteral("\\Software\\Yorv\\YorvSaldrix\\Tree");

namespace {
constexpr int BandId = 0;
const QString BandKey = QStringLiteral("\\Band\\Band0");
const QString ColumnsKey = QStringLiteral("\\Columns\\");
} // namespace

TreeLayout::TreeLayout(QTreeView *view, const QStringList &columnNames)
    : m_view(view)
{
    for (const QString &name : columnNames) {
        const int logical = int(m_columns.size());
        const int width = view != nullptr ? view->header()->sectionSize(logical) : 0;
        m_columns.push_back(Column { name, width });
    }
}

QString TreeLayout::normalisedPath(const QString &path)
{
    QString result = path;
    while (result.endsWith(QLatin1Char('\\')))
        result.chop(1);
    if (!result.isEmpty() && !result.startsWith(QLatin1Char('\\')))
        result.prepend(QLatin1Char('\\'));
    return result;
}

int TreeLayout::defaultRowHeight() const
{
    // A line of text with a pixel above and below it.
    return m_view != nullptr ? m_view->fontMetrics().height() + 2 : 0;
}

int TreeLayout::bandWidth() const
{
    int width = 0;
    const QHeaderView *header = m_view->header();
    for (int i = 0; i < header->count(); ++i) {
        if (!header->isSectionHidden(i))
            width += header->sectionSize(i);
    }
    return width;
}

bool TreeLayout::load(const SettingsStore &store, const QString &path)
{
    const QString key = normalisedPath(path);
    if (!m_storeLayout || m_view == nullptr || key.isEmpty() || !store.keyExists(key))
        return false;
    QHeaderView *header = m_view->header();

    m_showGrid = store.readBool(key, QStringLiteral("ShowGrid"), m_showGrid);
    m_showPreviewGrid = store.readBool(key, QStringLiteral("ShowPreviewGrid"), m_showPreviewGrid);
    m_bandRowCount = std::max(1, store.readInteger(key, QStringLiteral("BandRowCount"), m_bandRowCount));
    m_headerPanelRowCount = store.readInteger(key, QStringLiteral("HeaderPanelRowCount"), m_headerPanelRowCount);
    // The row height follows the font here, so the stored one is not applied.

    const QString band = key + BandKey;
    if (store.readInteger(band, QStringLiteral("ID"), -1) == BandId) {
        m_bandVisible = store.readBool(band, QStringLiteral("Visible"), m_bandVisible);
        m_bandIndex = store.readInteger(band, QStringLiteral("Index"), m_bandIndex);
    }

    std::vector<std::pair<int, int>> order; // stored index, logical column
    QList<int> widths;
    QList<bool> visible;
    for (int logical = 0; logical < header->count(); ++logical) {
        widths.append(header->isSectionHidden(logical) && logical < int(m_columns.size())
                ? m_columns[std::size_t(logical)].width
                : header->sectionSize(logical));
        visible.append(!header->isSectionHidden(logical));
    }
    for (int logical = 0; logical < int(m_columns.size()) && logical < header->count(); ++logical) {
        Column &column = m_columns[std::size_t(logical)];
        const QString columnKey = key + ColumnsKey + column.name;
        if (!store.keyExists(columnKey)) {
            order.emplace_back(header->visualIndex(logical), logical);
            continue;
        }
        visible[logical] = store.readBool(columnKey, QStringLiteral("Visible"), true);
        const int width = store.readInteger(columnKey, QStringLiteral("Width"), 0);
        if (width > 0)
            widths[logical] = width;
        column.sorted = store.readInteger(columnKey, QStringLiteral("Sorted"), column.sorted);
        column.sortedOrder = store.readInteger(columnKey, QStringLiteral("SortedOrder"), column.sortedOrder);
        order.emplace_back(
            store.readInteger(columnKey, QStringLiteral("Index"), header->visualIndex(logical)), logical);
        column.bandIndex = store.readInteger(columnKey, QStringLiteral("BandIndex"), column.bandIndex);
        column.rowIndex = store.readInteger(columnKey, QStringLiteral("RowIndex"), column.rowIndex);
        column.storedRowIndex = store.readInteger(columnKey, QStringLiteral("StoredRowIndex"), column.storedRowIndex);
    }
    // A hidden section reports no size, so the width it comes back with is kept here.
    for (int logical = 0; logical < int(m_columns.size()) && logical < widths.size(); ++logical)
        m_columns[std::size_t(logical)].width = widths.at(logical);
    if (m_applyWidths) {
        m_applyWidths(widths);
    } else {
        for (int logical = 0; logical < widths.size(); ++logical)
            header->resizeSection(logical, widths.at(logical));
    }
    for (int logical = 0; logical < visible.size(); ++logical)
        header->setSectionHidden(logical, !visible.at(logical));
    std::stable_sort(order.begin(), order.end());
    for (int visual = 0; visual < int(order.size()); ++visual) {
        const int logical = order[std::size_t(visual)].second;
        header->moveSection(header->visualIndex(logical), visual);
    }
    return true;
}

void TreeLayout::save(SettingsStore &store, const QString &path) const
{
    const QString key = normalisedPath(path);
    if (!m_storeLayout || m_view == nullptr || key.isEmpty())
        return;
    const QHeaderView *header = m_view->header();

    store.writeBool(key, QStringLiteral("ShowGrid"), m_showGrid);
    store.writeBool(key, QStringLiteral("ShowPreviewGrid"), m_showPreviewGrid);
    store.writeInteger(key, QStringLiteral("BandRowCount"), m_bandRowCount);
    store.writeInteger(key, QStringLiteral("DefaultRowHeight"), defaultRowHeight());
    store.writeInteger(key, QStringLiteral("HeaderPanelRowCount"), m_headerPanelRowCount);

    const QString band = key + BandKey;
    store.writeInteger(band, QStringLiteral("ID"), BandId);
    store.writeBool(band, QStringLiteral("Visible"), m_bandVisible);
    store.writeInteger(band, QStringLiteral("Index"), m_bandIndex);
    store.writeInteger(band, QStringLiteral("Width"), bandWidth());

    for (int logical = 0; logical < int(m_columns.size()) && logical < header->count(); ++logical) {
        const Column &column = m_columns[std::size_t(logical)];
        const QString columnKey = key + ColumnsKey + column.name;
        const int visual = header->visualIndex(logical);
        const bool hidden = header->isSectionHidden(logical);
        store.writeInteger(columnKey, QStringLiteral("BandIndex"), column.bandIndex);
        store.writeInteger(columnKey, QStringLiteral("RowIndex"), column.rowIndex);
        store.writeInteger(columnKey, QStringLiteral("ColIndex"), visual);
        store.writeBool(columnKey, QStringLiteral("Visible"), !hidden);
        store.writeInteger(columnKey, QStringLiteral("Index"), visual);
        store.writeInteger(columnKey, QStringLiteral("Width"), hidden ? column.width : header->sectionSize(logical));
        store.writeInteger(columnKey, QStringLiteral("Sorted"), column.sorted);
        store.writeInteger(columnKey, QStringLiteral("SortedOrder"), column.sortedOrder);
        store.writeInteger(columnKey, QStringLiteral("StoredRowIndex"), column.storedRowIndex);
    }
}
