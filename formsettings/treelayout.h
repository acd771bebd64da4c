// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QTreeView;
class SettingsStore;

// The column layout of a tree view kept in the settings store: the tree's own values, one band
// holding every column, and per column (named by its component name) its width, visibility and
// position. Qt's header knows widths, visibility and order; the other values have no meaning for
// it and are kept here as they were read, so that a save writes back what the store held.
class TreeLayout {
public:
    static const QString DefaultPath;

    TreeLayout(QTreeView *view, const QStringList &columnNames);

    void setStoreLayout(bool on) { m_storeLayout = on; }
    // How stored widths (one per column) reach a view that sizes its columns itself; without it
    // each header section is resized.
    void setWidthsApplier(std::function<void(const QList<int> &)> apply) { m_applyWidths = std::move(apply); }
    [[nodiscard]] bool storesLayout() const { return m_storeLayout; }

    // "\Software\...\Tree" with exactly one leading backslash and no trailing one.
    [[nodiscard]] static QString normalisedPath(const QString &path);

    // Applies the stored layout; false (and nothing changed) when storing is off, the path is
    // empty or its key does not exist.
    bool load(const SettingsStore &store, const QString &path = DefaultPath);
    void save(SettingsStore &store, const QString &path = DefaultPath) const;

    // The row height derived from the view's font.
    [[nodiscard]] int defaultRowHeight() const;

private:
    struct Column {
        QString name;
        int width = 0;
        int bandIndex = 0;
        int rowIndex = 0;
        int sorted = 0;
        int sortedOrder = -1;
        int storedRowIndex = 0;
    };

    [[nodiscard]] int bandWidth() const;

    QPointer<QTreeView> m_view;
    std::vector<Column> m_columns;
    std::function<void(const QList<int> &)> m_applyWidths;
    bool m_storeLayout = true;
    bool m_showGrid = false;
    bool m_showPreviewGrid = true;
    int m_bandRowCount = 1;
    int m_headerPanelRowCount = -1;
    bool m_bandVisible = true;
    int m_bandIndex = 0;
};
