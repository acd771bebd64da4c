// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A shown tree over a small document, with the standard handlers and helpers that name the points
// of a row. Header-only so that it links into each tree test without a shared source.

#include "document/documenttree.h"
#include "treeview/treehittest.h"
#include "treeview/treelist.h"
#include "treeview/treelistrules.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <initializer_list>
#include <utility>

struct FixtureSection {
    QString name;
    std::initializer_list<std::pair<const char *, const char *>> options;
};

class TreeFixture {
public:
    explicit TreeFixture(std::initializer_list<FixtureSection> sections, QSize size = { 400, 300 })
    {
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        tree = new TreeList(&window);
        layout->addWidget(tree);
        tree->setHandlers(&handlers);
        handlers.nodesMoved = [this] { ++moves; };
        tree->setDocument(&document);
        load(sections);
        window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    // Replaces the document the way the loader does: one batch, then the view is reset.
    void load(std::initializer_list<FixtureSection> sections)
    {
        const TreeBatch batch(document);
        document.clear();
        for (const FixtureSection &section : sections) {
            const int s = document.appendSection(section.name);
            for (const auto &[name, value] : section.options)
                document.appendOption(s, QString::fromUtf8(name), QString::fromUtf8(value));
        }
    }

    // Gives the tree the keyboard focus in an active window.
    bool focusTree()
    {
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        tree->setFocus(Qt::OtherFocusReason);
        return QTest::qWaitFor([this] { return tree->hasFocus(); });
    }

    [[nodiscard]] QModelIndex section(int s) const { return document.sectionIndex(s); }
    [[nodiscard]] QModelIndex option(int s, int o) const { return document.optionIndex(s, o); }

    // Points in viewport coordinates.
    [[nodiscard]] QPoint cellPoint(const QModelIndex &node, int column) const
    {
        const QRect cell = tree->visualRect(node.siblingAtColumn(column));
        if (column == 0)
            return { cell.left() + TreeGeometry::ImageBoxWidth + 8, cell.center().y() };
        return cell.center();
    }
    [[nodiscard]] QPoint imagePoint(const QModelIndex &node) const
    {
        const QRect cell = tree->visualRect(node);
        return { cell.left() + TreeGeometry::ImageBoxWidth / 2, cell.center().y() };
    }
    [[nodiscard]] QRect slot(const QModelIndex &node) const
    {
        const QRect cell = tree->visualRect(node);
        const int indent = tree->indentation();
        const int left = tree->header()->sectionViewportPosition(0) + DocumentTree::level(node) * indent;
        return { left, cell.top(), indent, cell.height() };
    }
    [[nodiscard]] QPoint buttonPoint(const QModelIndex &node) const
    {
        return TreeGeometry::buttonRect(slot(node)).center();
    }
    [[nodiscard]] QPoint indentPoint(const QModelIndex &node) const
    {
        return { slot(node).left() + 1, slot(node).center().y() };
    }
    [[nodiscard]] QPoint belowRows() const { return { 60, tree->viewport()->height() - 3 }; }
    [[nodiscard]] QPoint toClient(QPoint viewportPoint) const { return tree->viewport()->mapTo(tree, viewportPoint); }

    void click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(tree->viewport(), button, modifiers, at);
    }
    void clickCell(const QModelIndex &node, int column = 0, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        click(cellPoint(node, column), modifiers);
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(tree, Qt::Key(key), modifiers);
    }

    [[nodiscard]] QStringList selectedNames() const
    {
        QStringList names;
        for (const QModelIndex &node : tree->selectedNodes())
            names << node.data().toString();
        return names;
    }
    [[nodiscard]] QString focusedName() const { return tree->focusedNode().data().toString(); }

    // The document and the handlers outlive the window that shows them.
    DocumentTree document;
    StandardTreeListHandlers handlers;
    QWidget window;
    TreeList *tree = nullptr;
    int moves = 0;
};
