// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treefixture.h"

#include <QClipboard>
#include <QSignalSpy>

namespace {

// A(a1 a2 a3) B(b1 b2) C() D(d1)
TreeFixture *makeTree(QSize size = { 400, 300 })
{
    return new TreeFixture(
        {
            { QStringLiteral("A"), { { "a1", "1" }, { "a2", "2" }, { "a3", "3" } } },
            { QStringLiteral("B"), { { "b1", "4" }, { "b2", "5" } } },
            { QStringLiteral("C"), {} },
            { QStringLiteral("D"), { { "d1", "6" } } },
        },
        size);
}

QModelIndex named(const TreeFixture &f, const QString &name)
{
    const DocumentTree &d = f.document;
    for (int s = 0; s < d.sectionCount(); ++s) {
        if (d.sectionText(s, 0) == name)
            return d.sectionIndex(s);
        for (int o = 0; o < d.optionCount(s); ++o) {
            if (d.optionText(s, o, 0) == name)
                return d.optionIndex(s, o);
        }
    }
    return {};
}

} // namespace

class tst_TreeList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void looksAndColumnsAsConfigured();
    void columnsAlwaysFillTheWidthInProportion();
    void loadFocusesFirstSectionWithNothingSelected();
    void firstKeySelectsTheFocusedNode_data();
    void firstKeySelectsTheFocusedNode();
    void keyboardTable_data();
    void keyboardTable();
    void plusAndMinusExpandAndCollapse();
    void collapseLeavesNothingHiddenFocusedOrSelected();
    void plainPressSelectsAloneAndReleaseNarrows();
    void ctrlPressTogglesWithinOneParent();
    void shiftRangesKeepOneParent();
    void pressOnIndentationOrButton();
    void doubleClickTogglesExpansion();
    void removalPassesFocusOn_data();
    void removalPassesFocusOn();
    void nodeAddedToEmptyTreeIsFocused();
    void imagesFollowExpansionAndOptions();
    void copyKeysCopySelectionInDisplayOrder();
    void hitTestNamesRowParts();
    void hitTestOutsideTheRows();
};

void tst_TreeList::looksAndColumnsAsConfigured()
{
    TreeList bare;
    DocumentTree document;
    bare.setDocument(&document);
    QCOMPARE(bare.columnWidths(), QList<int>({ 164, 217 }));
    // The selection keeps its colour when the tree loses the keyboard focus.
    QCOMPARE(bare.palette().color(QPalette::Inactive, QPalette::Highlight),
        bare.palette().color(QPalette::Active, QPalette::Highlight));
}

void tst_TreeList::columnsAlwaysFillTheWidthInProportion()
{
    std::unique_ptr<TreeFixture> f(makeTree({ 400, 300 }));
    TreeList *tree = f->tree;
    auto fills = [tree] {
        const QList<int> widths = tree->columnWidths();
        return widths.at(0) + widths.at(1) == tree->viewport()->width();
    };
    QVERIFY(fills());
    QVERIFY(qAbs(tree->columnWidths().at(0) - tree->viewport()->width() * 164.0 / 381.0) <= 1.0);

    f->window.resize(800, 300);
    QTRY_VERIFY(tree->viewport()->width() > 700);
    QVERIFY(fills());
    QVERIFY(qAbs(tree->columnWidths().at(0) - tree->viewport()->width() * 164.0 / 381.0) <= 1.0);

    // A column resized by the user keeps its width; the other one takes the rest.
    tree->header()->resizeSection(0, 100);
    QCOMPARE(tree->columnWidths().at(0), 100);
    QVERIFY(fills());
    tree->header()->resizeSection(1, 300);
    QCOMPARE(tree->columnWidths().at(1), 300);
    QVERIFY(fills());
    const double share = double(tree->columnWidths().at(0)) / tree->viewport()->width();
    f->window.resize(500, 300);
    QTRY_VERIFY(tree->viewport()->width() < 500);
    QVERIFY(fills());
    QVERIFY(qAbs(tree->columnWidths().at(0) - tree->viewport()->width() * share) <= 1.0);

    // Widths restored from the settings before the first show keep their proportion.
    TreeList restored;
    DocumentTree document;
    restored.setDocument(&document);
    restored.header()->resizeSection(0, 100);
    restored.header()->resizeSection(1, 300);
    restored.resize(600, 200);
    restored.show();
    QVERIFY(QTest::qWaitForWindowExposed(&restored));
    QCOMPARE(restored.columnWidths().at(0) + restored.columnWidths().at(1), restored.viewport()->width());
    QVERIFY(qAbs(restored.columnWidths().at(0) - restored.viewport()->width() / 4.0) <= 1.0);
}

void tst_TreeList::loadFocusesFirstSectionWithNothingSelected()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->tree->setFocusedNode(f->option(1, 1));
    f->clickCell(f->option(1, 1));
    QCOMPARE(f->tree->selectionCount(), 1);

    f->load({ { QStringLiteral("X"), { { "x", "1" } } }, { QStringLiteral("Y"), {} } });
    QCOMPARE(f->tree->focusedNode(), f->section(0));
    QCOMPARE(f->tree->focusedColumn(), 0);
    QCOMPARE(f->tree->selectionCount(), 0);
    QVERIFY(!f->tree->isExpanded(f->section(0)));
}

void tst_TreeList::firstKeySelectsTheFocusedNode_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("selection");
    QTest::newRow("Down") << int(Qt::Key_Down) << 0 << QStringList { "B" };
    QTest::newRow("Right") << int(Qt::Key_Right) << 0 << QStringList { "A" };
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << QStringList { "A" };
    QTest::newRow("Ctrl+Down leaves it unselected") << int(Qt::Key_Down) << int(Qt::ControlModifier) << QStringList();
    QTest::newRow("a letter is no key of the tree") << int(Qt::Key_K) << 0 << QStringList();
}

void tst_TreeList::firstKeySelectsTheFocusedNode()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, selection);
    std::unique_ptr<TreeFixture> f(makeTree());
    QCOMPARE(f->tree->selectionCount(), 0);
    f->key(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f->selectedNames(), selection);
}

void tst_TreeList::keyboardTable_data()
{
    QTest::addColumn<int>("startColumn");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("selection");
    // Display order with A and B expanded: A a1 a2 a3 B b1 b2 C D; a2 is focused and selected.
    const int none = 0;
    const int shift = int(Qt::ShiftModifier);
    const int ctrl = int(Qt::ControlModifier);
    QTest::newRow("Down") << 0 << int(Qt::Key_Down) << none << "a3" << 0 << QStringList { "a3" };
    QTest::newRow("Up") << 1 << int(Qt::Key_Up) << none << "a1" << 1 << QStringList { "a1" };
    QTest::newRow("Shift+Up") << 0 << int(Qt::Key_Up) << shift << "a1" << 0 << QStringList { "a1", "a2" };
    QTest::newRow("Shift+Down") << 0 << int(Qt::Key_Down) << shift << "a3" << 0 << QStringList { "a2", "a3" };
    QTest::newRow("Ctrl+Down") << 0 << int(Qt::Key_Down) << ctrl << "a3" << 0 << QStringList { "a2" };
    QTest::newRow("Ctrl+Up") << 0 << int(Qt::Key_Up) << ctrl << "a1" << 0 << QStringList { "a2" };
    QTest::newRow("PgDn") << 0 << int(Qt::Key_PageDown) << none << "D" << 0 << QStringList { "D" };
    QTest::newRow("PgUp") << 0 << int(Qt::Key_PageUp) << none << "A" << 0 << QStringList { "A" };
    QTest::newRow("Ctrl+Home") << 1 << int(Qt::Key_Home) << ctrl << "A" << 1 << QStringList { "a2" };
    QTest::newRow("Ctrl+End") << 0 << int(Qt::Key_End) << ctrl << "D" << 0 << QStringList { "a2" };
    QTest::newRow("Left stops at column 0") << 0 << int(Qt::Key_Left) << none << "a2" << 0 << QStringList { "a2" };
    QTest::newRow("Left") << 1 << int(Qt::Key_Left) << none << "a2" << 0 << QStringList { "a2" };
    QTest::newRow("Right") << 0 << int(Qt::Key_Right) << none << "a2" << 1 << QStringList { "a2" };
    QTest::newRow("Right stops at column 1") << 1 << int(Qt::Key_Right) << none << "a2" << 1 << QStringList { "a2" };
    QTest::newRow("Home") << 1 << int(Qt::Key_Home) << none << "a2" << 0 << QStringList { "a2" };
    QTest::newRow("End") << 0 << int(Qt::Key_End) << none << "a2" << 1 << QStringList { "a2" };
    QTest::newRow("Tab") << 0 << int(Qt::Key_Tab) << none << "a2" << 1 << QStringList { "a2" };
    QTest::newRow("Tab to the next node") << 1 << int(Qt::Key_Tab) << none << "a3" << 0 << QStringList { "a2" };
    QTest::newRow("Shift+Tab") << 1 << int(Qt::Key_Tab) << shift << "a2" << 0 << QStringList { "a2" };
    QTest::newRow("Shift+Tab to the node above") << 0 << int(Qt::Key_Tab) << shift << "a1" << 1 << QStringList { "a2" };
}

void tst_TreeList::keyboardTable()
{
    QFETCH(int, startColumn);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, focus);
    QFETCH(int, column);
    QFETCH(QStringList, selection);
    std::unique_ptr<TreeFixture> f(makeTree({ 400, 600 }));
    f->tree->expand(f->section(0));
    f->tree->expand(f->section(1));
    QVERIFY(f->focusTree());
    f->clickCell(f->option(0, 1), startColumn);
    QCOMPARE(f->focusedName(), QStringLiteral("a2"));
    QSignalSpy changes(f->tree, &TreeList::stateChanged);

    f->key(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f->focusedName(), focus);
    QCOMPARE(f->tree->focusedColumn(), column);
    QCOMPARE(f->selectedNames(), selection);
    const bool changed = focus != QLatin1String("a2") || column != startColumn || selection != QStringList { "a2" };
    QCOMPARE(changes.count() > 0, changed);
    // Tab and Shift+Tab stay in the tree.
    QVERIFY(f->tree->hasFocus());
}

void tst_TreeList::plusAndMinusExpandAndCollapse()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    QVERIFY(f->focusTree());
    QTest::keyClicks(f->tree, QStringLiteral("+"));
    QVERIFY(f->tree->isExpanded(f->section(0)));
    QCOMPARE(f->selectedNames(), QStringList { "A" });
    QTest::keyClicks(f->tree, QStringLiteral("-"));
    QVERIFY(!f->tree->isExpanded(f->section(0)));
}

void tst_TreeList::collapseLeavesNothingHiddenFocusedOrSelected()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->tree->expandAll();
    f->clickCell(f->option(0, 0), 1);
    f->clickCell(f->option(0, 1), 1, Qt::ShiftModifier);
    QCOMPARE(f->selectedNames(), (QStringList { "a1", "a2" }));

    // The button hides the focused option: the focus moves up to its section, column kept.
    f->click(f->buttonPoint(f->section(0)));
    QVERIFY(!f->tree->isExpanded(f->section(0)));
    QCOMPARE(f->focusedName(), QStringLiteral("A"));
    QCOMPARE(f->tree->focusedColumn(), 1);
    QCOMPARE(f->tree->selectionCount(), 0);
    QVERIFY(f->focusTree());
    f->key(Qt::Key_Down);
    QCOMPARE(f->focusedName(), QStringLiteral("B"));
    f->key(Qt::Key_Up);
    QCOMPARE(f->focusedName(), QStringLiteral("A"));

    // The key, with the focus already on the section: the options selected below it leave the selection.
    f->tree->expand(f->section(0));
    f->clickCell(f->option(0, 2));
    f->key(Qt::Key_Up, Qt::ControlModifier);
    f->key(Qt::Key_Up, Qt::ControlModifier);
    f->key(Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(f->focusedName(), QStringLiteral("A"));
    QCOMPARE(f->selectedNames(), QStringList { "a3" });
    QTest::keyClicks(f->tree, QStringLiteral("-"));
    QVERIFY(!f->selectedNames().contains(QStringLiteral("a3")));
    // A range now starts at the section, not at the hidden option.
    f->key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f->selectedNames(), (QStringList { "A", "B" }));

    // Collapsing another section leaves focus and selection alone.
    f->tree->expandAll();
    f->clickCell(f->option(1, 0));
    f->tree->collapse(f->section(0));
    QCOMPARE(f->focusedName(), QStringLiteral("b1"));
    QCOMPARE(f->selectedNames(), QStringList { "b1" });
}

void tst_TreeList::plainPressSelectsAloneAndReleaseNarrows()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->tree->expandAll();
    f->clickCell(f->option(0, 0), 1);
    QCOMPARE(f->focusedName(), QStringLiteral("a1"));
    QCOMPARE(f->tree->focusedColumn(), 1);
    f->clickCell(f->option(0, 2), 0, Qt::ControlModifier);
    QCOMPARE(f->selectedNames(), (QStringList { "a1", "a3" }));

    // Pressing a selected node keeps the selection (a drag would take all of it) ...
    QTest::mousePress(f->tree->viewport(), Qt::LeftButton, {}, f->imagePoint(f->option(0, 0)));
    QCOMPARE(f->selectedNames(), (QStringList { "a1", "a3" }));
    QCOMPARE(f->tree->focusedColumn(), 0);
    // ... and releasing it without a drag selects it alone.
    QTest::mouseRelease(f->tree->viewport(), Qt::LeftButton, {}, f->imagePoint(f->option(0, 0)));
    QCOMPARE(f->selectedNames(), QStringList { "a1" });

    f->clickCell(f->section(1));
    QCOMPARE(f->selectedNames(), QStringList { "B" });
    QCOMPARE(f->focusedName(), QStringLiteral("B"));
}

void tst_TreeList::ctrlPressTogglesWithinOneParent()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->tree->expandAll();
    f->clickCell(f->option(0, 0));
    f->clickCell(f->option(0, 1), 0, Qt::ControlModifier);
    QCOMPARE(f->selectedNames(), (QStringList { "a1", "a2" }));
    f->clickCell(f->option(0, 0), 0, Qt::ControlModifier);
    QCOMPARE(f->selectedNames(), QStringList { "a2" });
    QCOMPARE(f->focusedName(), QStringLiteral("a1"));

    // An option of another section is focused but not selected.
    f->clickCell(f->option(1, 0), 1, Qt::ControlModifier);
    QCOMPARE(f->focusedName(), QStringLiteral("b1"));
    QCOMPARE(f->tree->focusedColumn(), 1);
    QCOMPARE(f->selectedNames(), QStringList { "a2" });
    // Nor is a section.
    f->clickCell(f->section(2), 0, Qt::ControlModifier);
    QCOMPARE(f->selectedNames(), QStringList { "a2" });
    QCOMPARE(f->focusedName(), QStringLiteral("C"));
}

void tst_TreeList::shiftRangesKeepOneParent()
{
    std::unique_ptr<TreeFixture> f(makeTree({ 400, 600 }));
    f->tree->expandAll();

    // Nothing pressed yet: the range runs from the focused node, and with nothing selected the
    // first node of the range decides the parent.
    f->clickCell(f->option(1, 0), 0, Qt::ShiftModifier);
    QCOMPARE(f->selectedNames(), (QStringList { "A", "B" }));
    QCOMPARE(f->focusedName(), QStringLiteral("b1"));

    // A range from a2 that runs into section B keeps to the options of A.
    f->clickCell(f->option(0, 1));
    f->clickCell(f->option(1, 1), 0, Qt::ShiftModifier);
    QCOMPARE(f->selectedNames(), (QStringList { "a2", "a3" }));
    QCOMPARE(f->focusedName(), QStringLiteral("b2"));
    // The anchor stays at a2; a range upwards replaces the selection.
    f->clickCell(f->option(0, 0), 0, Qt::ShiftModifier);
    QCOMPARE(f->selectedNames(), (QStringList { "a1", "a2" }));

    // Ctrl+Shift adds the range; nodes of another parent stay out.
    f->clickCell(f->option(3, 0));
    f->clickCell(f->option(1, 1), 0, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f->selectedNames(), QStringList { "d1" });
    f->clickCell(f->option(1, 0));
    f->clickCell(f->option(1, 1), 0, Qt::ControlModifier);
    f->clickCell(f->option(1, 0), 0, Qt::ControlModifier);
    QCOMPARE(f->selectedNames(), QStringList { "b2" });
    f->clickCell(f->option(0, 2), 0, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f->selectedNames(), (QStringList { "b1", "b2" }));

    // Shift+Down out of a section keeps the selection within it.
    f->clickCell(f->option(0, 2));
    f->key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f->focusedName(), QStringLiteral("B"));
    QCOMPARE(f->selectedNames(), QStringList { "a3" });
    f->key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f->focusedName(), QStringLiteral("b1"));
    QCOMPARE(f->selectedNames(), QStringList { "a3" });
    f->key(Qt::Key_Up, Qt::ShiftModifier);
    f->key(Qt::Key_Up, Qt::ShiftModifier);
    f->key(Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(f->focusedName(), QStringLiteral("a2"));
    QCOMPARE(f->selectedNames(), (QStringList { "a2", "a3" }));
}

void tst_TreeList::pressOnIndentationOrButton()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->clickCell(f->section(1));
    f->click(f->indentPoint(f->section(0)));
    QCOMPARE(f->focusedName(), QStringLiteral("B"));
    QCOMPARE(f->selectedNames(), QStringList { "B" });

    f->click(f->buttonPoint(f->section(0)));
    QVERIFY(f->tree->isExpanded(f->section(0)));
    QCOMPARE(f->focusedName(), QStringLiteral("B"));
    QCOMPARE(f->selectedNames(), QStringList { "B" });
    f->click(f->buttonPoint(f->section(0)));
    QVERIFY(!f->tree->isExpanded(f->section(0)));
}

void tst_TreeList::doubleClickTogglesExpansion()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    QTest::mouseDClick(f->tree->viewport(), Qt::LeftButton, {}, f->cellPoint(f->section(1), 1));
    QVERIFY(f->tree->isExpanded(f->section(1)));
    QCOMPARE(f->focusedName(), QStringLiteral("B"));
    QTest::mouseDClick(f->tree->viewport(), Qt::LeftButton, {}, f->imagePoint(f->section(1)));
    QVERIFY(!f->tree->isExpanded(f->section(1)));
}

void tst_TreeList::removalPassesFocusOn_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("option: previous sibling") << "a2"
                                              << "a2"
                                              << "a1";
    QTest::newRow("first option: its section") << "a1"
                                               << "a1"
                                               << "A";
    QTest::newRow("section: previous section") << "B"
                                               << "B"
                                               << "A";
    QTest::newRow("first section: the next one") << "A"
                                                 << "A"
                                                 << "B";
    QTest::newRow("option of a removed first section") << "a3"
                                                       << "A"
                                                       << "B";
    QTest::newRow("option of a removed section") << "b2"
                                                 << "B"
                                                 << "A";
    QTest::newRow("another node: focus stays") << "b2"
                                               << "a1"
                                               << "b2";
    // Several rows at once ("first+count"): the focus inside the run leaves it altogether.
    QTest::newRow("run of options, focus on its last") << "a3"
                                                       << "a2+2"
                                                       << "a1";
    QTest::newRow("run of sections from the first") << "b2"
                                                    << "A+2"
                                                    << "C";
}

void tst_TreeList::removalPassesFocusOn()
{
    QFETCH(QString, focused);
    QFETCH(QString, removed);
    QFETCH(QString, expected);
    std::unique_ptr<TreeFixture> f(makeTree());
    f->tree->expandAll();
    f->clickCell(named(*f, focused), 1);
    const QStringList run = removed.split(u'+');
    const QModelIndex gone = named(*f, run.constFirst());
    f->document.removeRows(gone.row(), run.size() > 1 ? run.constLast().toInt() : 1, gone.parent());
    QCOMPARE(f->focusedName(), expected);
    QCOMPARE(f->tree->focusedColumn(), 1);
}

void tst_TreeList::nodeAddedToEmptyTreeIsFocused()
{
    TreeFixture f({}, { 400, 300 });
    QVERIFY(!f.tree->focusedNode().isValid());
    QCOMPARE(f.tree->focusedLevel(), -1);
    f.document.appendSection(QStringLiteral("New"));
    QCOMPARE(f.tree->focusedNode(), f.section(0));
    QCOMPARE(f.tree->selectionCount(), 0);
    f.document.removeRows(0, 1);
    QVERIFY(!f.tree->focusedNode().isValid());
}

void tst_TreeList::imagesFollowExpansionAndOptions()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    TreeList *tree = f->tree;
    auto images = [tree](const QModelIndex &node) {
        const int shown = tree->nodeImageIndex(node, false);
        return shown == tree->nodeImageIndex(node, true) ? shown : -1;
    };
    QCOMPARE(images(f->section(0)), 0);
    tree->expand(f->section(0));
    QCOMPARE(images(f->section(0)), 1);
    QCOMPARE(images(f->option(0, 0)), 2);
    tree->expand(f->section(2));
    QCOMPARE(images(f->section(2)), 0); // no options: counts as collapsed

    // The only option of D goes: D keeps its place without a button and shows image 0.
    tree->expand(f->section(3));
    QCOMPARE(images(f->section(3)), 1);
    f->document.removeRows(0, 1, f->section(3));
    QCOMPARE(images(f->section(3)), 0);
    QCOMPARE(tree->hitTest(f->toClient(f->buttonPoint(f->section(3)))).part, TreeHitPart::Nowhere);
}

void tst_TreeList::copyKeysCopySelectionInDisplayOrder()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    QVERIFY(f->focusTree());
    const QString header = QStringLiteral("Section Name / Option Name\tOption Value\r\n\r\n");
    f->key(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), header);

    f->tree->expandAll();
    f->clickCell(f->option(0, 2));
    f->clickCell(f->option(0, 0), 0, Qt::ControlModifier);
    f->key(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), header + QStringLiteral("a1\t1\r\na3\t3\r\n"));

    // Ctrl+C copies the same; Ctrl+Shift+C copies nothing.
    QGuiApplication::clipboard()->clear();
    f->key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    f->key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), header + QStringLiteral("a1\t1\r\na3\t3\r\n"));
}

void tst_TreeList::hitTestNamesRowParts()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    TreeList *tree = f->tree;
    tree->expand(f->section(0));
    const QModelIndex a = f->section(0);
    const QModelIndex a1 = f->option(0, 0);
    const QModelIndex c = f->section(2);
    auto hit = [&](QPoint viewportPoint) { return tree->hitTest(f->toClient(viewportPoint)); };
    auto part = [&](QPoint viewportPoint) { return hit(viewportPoint).part; };

    QCOMPARE(part(f->indentPoint(a)), TreeHitPart::Indent);
    QCOMPARE(hit(f->indentPoint(a)).node, a);
    QCOMPARE(part(f->buttonPoint(a)), TreeHitPart::Button);
    QCOMPARE(part(f->buttonPoint(c)), TreeHitPart::Nowhere); // no options, no button: a gap
    QCOMPARE(part(f->imagePoint(a)), TreeHitPart::Image);
    QCOMPARE(hit(f->cellPoint(a, 0)).column, 0);
    QCOMPARE(part(f->cellPoint(a, 1)), TreeHitPart::Cell);
    QCOMPARE(hit(f->cellPoint(a, 1)).column, 1);

    // An option row: the section's slot is indentation, its own slot a gap, then image and cells.
    const QRect slot = f->slot(a1);
    QCOMPARE(part({ slot.left() - 2, slot.center().y() }), TreeHitPart::Indent);
    QCOMPARE(part({ slot.right() - 1, slot.center().y() }), TreeHitPart::Nowhere);
    QCOMPARE(hit({ slot.right() - 1, slot.center().y() }).node, a1);
    QCOMPARE(part(f->imagePoint(a1)), TreeHitPart::Image);
    QCOMPARE(hit(f->cellPoint(a1, 1)).node, a1);

    // The node under a point ignores the part; there is none below the last row.
    QCOMPARE(tree->nodeAt(f->toClient(f->indentPoint(a1))), a1);
    QCOMPARE(part(f->belowRows()), TreeHitPart::Nowhere);
    QVERIFY(!tree->nodeAt(f->toClient(f->belowRows())).isValid());

    // Columns narrower than the control leave an area right of the last column.
    const QSignalBlocker blocker(tree->header());
    tree->header()->resizeSection(1, 40);
    const QPoint right(tree->columnWidths().at(0) + 45, tree->visualRect(a).center().y());
    QCOMPARE(part(right), TreeHitPart::RightOfColumns);
}

void tst_TreeList::hitTestOutsideTheRows()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    TreeList *tree = f->tree;
    QCOMPARE(tree->hitTest(tree->header()->geometry().center()).part, TreeHitPart::Header);
    QCOMPARE(tree->hitTest({ -5, 40 }).part, TreeHitPart::Outside);
    QCOMPARE(tree->hitTest({ 40, tree->height() + 5 }).part, TreeHitPart::Outside);
    QCOMPARE(tree->hitTest({ 0, tree->height() - 1 }).part, TreeHitPart::Outside); // the frame
    QVERIFY(!tree->nodeAt(tree->header()->geometry().center()).isValid());
}

QTEST_MAIN(tst_TreeList)
#include "tst_treelist.moc"
