// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/documenttree.h"
#include "find/treefind.h"

#include <QAbstractProxyModel>
#include <QList>
#include <QPersistentModelIndex>

#include <array>
#include <optional>
#include <vector>

// What the tree view shows of the document: all of it, or only some sections and options. It
// follows the document's two levels: sections at the top, their options beneath. Option indexes
// carry what the document's own option indexes carry, so that they stay valid as the document's do.
//
// Without a filter every row is shown as it stands and the document's changes are passed on as
// they come. With one, a switch of what is shown is told as one layout change, and the document's
// changes are followed: nodes removed go, moved nodes keep their state, nodes inserted stay out
// of sight until reveal() or extend() shows them. A section kept whole shows every option it has,
// new ones included.
class TreeFilterModel : public QAbstractProxyModel {
    Q_OBJECT

public:
    explicit TreeFilterModel(QObject *parent = nullptr);
    ~TreeFilterModel() override;

    void setSourceModel(QAbstractItemModel *source) override;

    [[nodiscard]] bool isFiltering() const { return m_filtering; }
    // Shows only the given nodes, in display order (option -1 names a section, which is then kept
    // whole); a section shows when it or any of its options does.
    void setFilter(const TreeMatches &shown);
    // Shows the given nodes too, hiding nothing; nothing is told when they all show already.
    void extend(const TreeMatches &shown);
    // Shows every node.
    void clearFilter();
    // Shows a node of the document that the filter hides, with its section.
    void reveal(const QModelIndex &sourceIndex);

    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // A section shown while filtering: its row in the document and which of its options show.
    struct Kept {
        int source = 0;
        bool whole = false;
        std::vector<int> options; // document rows, ascending; unused when whole
    };
    // A filter state kept across a change the document reports only as a layout change.
    struct KeptPlaces {
        QPersistentModelIndex section;
        bool whole = false;
        QList<QPersistentModelIndex> options;
    };

    [[nodiscard]] int sourceSection(int proxyRow) const;
    [[nodiscard]] int proxySection(int sourceRow) const;
    [[nodiscard]] int sourceOption(int proxySectionRow, int proxyRow) const;
    [[nodiscard]] int proxyOption(int proxySectionRow, int sourceRow) const;
    [[nodiscard]] int shownOptionCount(int proxySectionRow) const;
    // What index() and rowCount() need of the section last asked for; forgotten on every change.
    struct SectionLookup {
        int row = -1;
        int optionCount = 0;
        void *pointer = nullptr;
    };
    [[nodiscard]] const SectionLookup &lookUpSection(int proxySectionRow) const;
    struct PointerLookup {
        void *pointer = nullptr;
        QModelIndex section;
    };
    // The document's section whose option indexes carry the pointer.
    [[nodiscard]] QModelIndex sourceSectionOf(void *pointer) const;
    void forgetLookups() const;
    // The section row of an option index's pointer, as the document numbers it now.
    [[nodiscard]] int sectionOfPointer(void *pointer) const;
    [[nodiscard]] void *optionPointer(int sourceSectionRow) const;
    [[nodiscard]] bool isShown(const NodePosition &node) const;
    [[nodiscard]] bool showsAll(const TreeMatches &nodes) const;

    // Builds the filter state for the given nodes.
    [[nodiscard]] std::vector<Kept> keptFor(const TreeMatches &shown) const;
    // Replaces the filter state, telling views one layout change; the document stands still.
    void switchTo(bool filtering, std::vector<Kept> &&kept);
    // Whether the given state shows the same rows as the one in place.
    [[nodiscard]] bool showsSameRows(bool filtering, const std::vector<Kept> &kept) const;
    void renumber();
    // The first kept section at or after a document row.
    [[nodiscard]] size_t keptAtOrAfter(int sourceRow) const;
    // Inserts a kept section for a document row that shows nothing yet; returns its proxy row.
    int insertKept(int sourceRow);

    // The layout-change bracket around a document change that the filter cannot tell as rows.
    void beginLayout();
    void endLayout();

    void sourceRowsAboutToBeInserted(const QModelIndex &parent, int first, int last);
    void sourceRowsInserted(const QModelIndex &parent, int first, int last);
    void sourceRowsAboutToBeRemoved(const QModelIndex &parent, int first, int last);
    void sourceRowsRemoved(const QModelIndex &parent, int first, int last);
    void sourceRowsAboutToBeMoved(const QModelIndex &parent, int first, int last, const QModelIndex &to, int row);
    void sourceRowsMoved(const QModelIndex &parent, int first, int last, const QModelIndex &to, int row);
    void sourceLayoutAboutToBeChanged();
    void sourceLayoutChanged();
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles);

    // The document, as sourceModel() gives it; that call costs more than the mapping itself.
    QAbstractItemModel *m_source = nullptr;
    bool m_filtering = false;
    mutable SectionLookup m_lookup;
    // The document's flags by level (sections, options) and column.
    mutable std::array<std::array<std::optional<Qt::ItemFlags>, DocumentTree::ColumnCount>, 2> m_flags;
    mutable PointerLookup m_pointerLookup;
    std::vector<Kept> m_kept; // in display order
    std::vector<int> m_proxyRow; // by document section row: its row here, or -1
    QList<QMetaObject::Connection> m_connections;

    bool m_rowsPending = false; // an insertion or removal was begun here
    int m_layoutDepth = 0;
    QModelIndexList m_layoutFrom;
    QList<QPersistentModelIndex> m_layoutSources;
    std::vector<KeptPlaces> m_layoutKept;
    struct Move {
        int fromSection = -1; // -1: a section moves
        int first = 0;
        int toSection = -1;
        int toRow = 0;
    } m_move;
};
