// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the tree tells assistive technology: which cell has the keyboard, and what a cell means
// beyond its text.
#include "treeview/treelist.h"

#include "document/documenttree.h"
#include "document/namemarks.h"

#include <QAccessible>
#include <QPointer>

void TreeList::describeToAssistiveTechnology()
{
    setAccessibleName(tr("Sections and options"));
    setAccessibleDescription(
        tr("Sections with their options and values; Tab moves between the columns, Ctrl+Tab to the next control"));
}

void TreeList::describeCells(DocumentTree *tree)
{
    if (tree == nullptr)
        return;
    tree->setDescriptionSource([view = QPointer<TreeList>(this)](const QModelIndex &index) {
        return view != nullptr ? view->cellDescription(index) : QString();
    });
}

QString TreeList::cellDescription(const QModelIndex &index) const
{
    QStringList parts;
    if (isCellHighlighted(index))
        parts << tr("Find match");
    if (m_nameMarks != nullptr) {
        if (const NameMark mark = m_nameMarks->markAt(index); !mark.isNone())
            parts << mark.text();
    }
    return parts.join(QStringLiteral(". "));
}

void TreeList::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // QTreeView tells assistive technology that the new current cell has the focus even while the
    // keyboard is elsewhere (the find bar moves the current node as the user types); only a tree
    // that has the keyboard may say so.
    if (hasFocus() || viewport()->hasFocus())
        QTreeView::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous);
}

void TreeList::announceFocusedCell()
{
    // Qt reports the tree itself when it takes the focus, after this view's focus-in handler has
    // run; the cell that has the keyboard is reported once that is done.
    if (!QAccessible::isActive() || !(hasFocus() || viewport()->hasFocus()) || !currentIndex().isValid())
        return;
    QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(this);
    QAccessibleInterface *cell = tree != nullptr ? tree->focusChild() : nullptr;
    if (cell == nullptr || cell == tree)
        return;
    QAccessibleEvent focus(cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

QString TreeList::cellEditorName(const QModelIndex &index) const
{
    const auto nameOf = [](const QModelIndex &node) {
        const QString name = node.siblingAtColumn(DocumentTree::NameColumn).data().toString();
        return name.isEmpty() ? tr("without a name") : name;
    };
    if (!index.parent().isValid())
        return tr("Name of section %1").arg(nameOf(index));
    if (index.column() == DocumentTree::NameColumn)
        return tr("Name of option %1 in section %2").arg(nameOf(index), nameOf(index.parent()));
    return tr("Value of option %1 in section %2").arg(nameOf(index), nameOf(index.parent()));
}
