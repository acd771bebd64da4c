// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treedragplay.h"
#include "treefixture.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QScrollBar>

#include <functional>
#include <optional>

namespace {

// A(a1 a2 a3) B(b1 b2) C() D(d1)
TreeFixture *makeTree()
{
    auto *f = new TreeFixture({
        { QStringLiteral("A"), { { "a1", "1" }, { "a2", "2" }, { "a3", "3" } } },
        { QStringLiteral("B"), { { "b1", "4" }, { "b2", "5" } } },
        { QStringLiteral("C"), {} },
        { QStringLiteral("D"), { { "d1", "6" } } },
    });
    f->tree->expandAll();
    return f;
}

QStringList sectionNames(const DocumentTree &d)
{
    QStringList names;
    for (int s = 0; s < d.sectionCount(); ++s)
        names << d.sectionText(s, 0);
    return names;
}

QStringList optionNames(const DocumentTree &d, int s)
{
    QStringList names;
    for (int o = 0; o < d.optionCount(s); ++o)
        names << d.optionText(s, o, 0);
    return names;
}

bool samePicture(const QPixmap &a, const QPixmap &b)
{
    return a.isNull() == b.isNull() && (a.isNull() || a.toImage() == b.toImage());
}

// The arrow's tip: the first picture point, row by row, that is mostly opaque.
QPoint arrowTip(const QPixmap &picture)
{
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 127) // not the faint edge around it
                return { x, y };
    return { -1, -1 };
}

enum class Spot { Cell, Indent, Below };

QPoint spotOf(const TreeFixture &f, const QModelIndex &node, Spot spot)
{
    switch (spot) {
    case Spot::Cell:
        return f.cellPoint(node, 1);
    case Spot::Indent:
        return f.indentPoint(node);
    case Spot::Below:
        break;
    }
    return f.belowRows();
}

} // namespace

Q_DECLARE_METATYPE(Spot)

class tst_TreeDragDrop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dragStartsAfterFiveMovedPixels();
    void cursorTellsOneFromMany();
    void cursorHotSpotIsTheArrowsTip();
    void dragOverAcceptance_data();
    void dragOverAcceptance();
    void dragFromElsewhereIsRefused();
    void optionDroppedOnSectionRowBecomesItsLastOption();
    void threeOptionsKeepTheirOrder();
    void sectionDroppedBelowTheRowsMovesToTheEnd();
    void optionDroppedOnEmptySpaceOrIndentationBecomesSection();
    void dropsThatChangeNothing();
    void nodesAtTheDestinationAreSkipped();
    void sectionsNeverGoUnderASection();
    void draggingScrollsFollowsAndExpands();
};

void tst_TreeDragDrop::dragStartsAfterFiveMovedPixels()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    DragPlay play(f->tree);
    const QPoint a1 = f->cellPoint(f->option(0, 0), 0);
    play.dragFrom(a1, { 5, -5 });
    QVERIFY(!play.started);
    play.dragFrom(a1, { 0, 6 });
    QVERIFY(play.started);
    QCOMPARE(f->handlers.DragNodeLevel, 1);
    QCOMPARE(f->selectedNames(), QStringList { "a1" });

    play.started = false;
    play.dragFrom(f->cellPoint(f->section(1), 0), { -6, 0 });
    QVERIFY(play.started);
    QCOMPARE(f->handlers.DragNodeLevel, 0);
    QCOMPARE(f->focusedName(), QStringLiteral("B"));

    // Nothing drags from the indentation or the button.
    play.started = false;
    play.dragFrom(f->indentPoint(f->option(0, 0)), { 0, 10 });
    play.dragFrom(f->buttonPoint(f->section(0)), { 0, 10 });
    QVERIFY(!play.started);
}

void tst_TreeDragDrop::cursorTellsOneFromMany()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    DragPlay play(f->tree);
    play.dragFrom(f->cellPoint(f->option(0, 0), 0), { 0, 8 });
    QVERIFY(samePicture(play.cursor, TreeList::singleDragCursor()));

    f->clickCell(f->option(0, 2), 0, Qt::ShiftModifier);
    QCOMPARE(f->tree->selectionCount(), 3);
    play.dragFrom(f->cellPoint(f->option(0, 1), 0), { 0, 8 });
    QVERIFY(!TreeList::multiDragCursor().isNull());
    QVERIFY(samePicture(play.cursor, TreeList::multiDragCursor()));
}

void tst_TreeDragDrop::cursorHotSpotIsTheArrowsTip()
{
    // The platform's drag takes the picture alone, so the hot spot is a plain cursor's default.
    for (const QPixmap &picture : { TreeList::singleDragCursor(), TreeList::multiDragCursor() }) {
        QVERIFY(!picture.isNull());
        QCOMPARE(QCursor(picture).hotSpot(), arrowTip(picture));
    }

    // With the tip low in section C's row, the drop lands in C, not in D below it.
    std::unique_ptr<TreeFixture> f(makeTree());
    const QPixmap picture = TreeList::singleDragCursor();
    const QRect row = f->tree->visualRect(f->section(2));
    const QPoint tipAt(f->cellPoint(f->section(2), 0).x(), row.bottom() - 1);
    DragPlay play(f->tree);
    play.dropAt = tipAt - arrowTip(picture) + QCursor(picture).hotSpot();
    play.dragFrom(f->cellPoint(f->option(0, 0), 0), { 0, 8 });
    QVERIFY(play.dropped);
    QCOMPARE(optionNames(f->document, 2), (QStringList { "a1" }));
    QCOMPARE(optionNames(f->document, 3), (QStringList { "d1" }));
}

void tst_TreeDragDrop::dragOverAcceptance_data()
{
    QTest::addColumn<int>("dragSection");
    QTest::addColumn<int>("dragOption");
    QTest::addColumn<int>("overSection");
    QTest::addColumn<int>("overOption");
    QTest::addColumn<Spot>("spot");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("option over a section row") << 0 << 0 << 1 << -1 << Spot::Cell << true;
    QTest::newRow("option over its own section row") << 0 << 0 << 0 << -1 << Spot::Cell << true;
    QTest::newRow("option over a section's indentation") << 0 << 0 << 2 << -1 << Spot::Indent << true;
    QTest::newRow("option over an option row") << 0 << 0 << 1 << 0 << Spot::Cell << false;
    QTest::newRow("option over its own row") << 0 << 0 << 0 << 0 << Spot::Cell << false;
    QTest::newRow("option below the rows") << 0 << 0 << -1 << -1 << Spot::Below << true;
    QTest::newRow("section over a section row") << 0 << -1 << 1 << -1 << Spot::Cell << false;
    QTest::newRow("section over a section's indentation") << 0 << -1 << 1 << -1 << Spot::Indent << false;
    QTest::newRow("section over an option row") << 0 << -1 << 1 << 0 << Spot::Cell << false;
    QTest::newRow("section below the rows") << 0 << -1 << -1 << -1 << Spot::Below << true;
}

void tst_TreeDragDrop::dragOverAcceptance()
{
    QFETCH(int, dragSection);
    QFETCH(int, dragOption);
    QFETCH(int, overSection);
    QFETCH(int, overOption);
    QFETCH(Spot, spot);
    QFETCH(bool, accepted);
    std::unique_ptr<TreeFixture> f(makeTree());
    const QModelIndex dragged = dragOption < 0 ? f->section(dragSection) : f->option(dragSection, dragOption);
    const QModelIndex over = overSection < 0 ? QModelIndex()
        : overOption < 0                     ? f->section(overSection)
                                             : f->option(overSection, overOption);
    DragPlay play(f->tree);
    play.path = { spotOf(*f, over, spot) };
    play.dragFrom(f->cellPoint(dragged, 0), { 0, 8 });
    QVERIFY(play.started);
    QVERIFY(play.accepted.first()); // the tree follows its own drag everywhere
    QCOMPARE(play.accepted.last(), accepted);
}

void tst_TreeDragDrop::dragFromElsewhereIsRefused()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->clickCell(f->option(0, 0));
    QMimeData foreign;
    foreign.setText(QStringLiteral("a2"));
    const QPoint at = f->cellPoint(f->section(1), 0);
    QWidget *viewport = f->tree->viewport();
    QDragEnterEvent enter(at, Qt::MoveAction | Qt::CopyAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QVERIFY(!enter.isAccepted());
    QDragMoveEvent move(f->belowRows(), Qt::MoveAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QVERIFY(!move.isAccepted());
    QDropEvent drop(at, Qt::MoveAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    QVERIFY(!drop.isAccepted());
    QCOMPARE(optionNames(f->document, 0), (QStringList { "a1", "a2", "a3" }));
    QCOMPARE(f->moves, 0);
}

void tst_TreeDragDrop::optionDroppedOnSectionRowBecomesItsLastOption()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->tree->collapse(f->section(1));
    DragPlay play(f->tree);
    play.dropAt = f->cellPoint(f->section(1), 0);
    play.dragFrom(f->cellPoint(f->option(0, 0), 1), { 0, 8 });
    QVERIFY(play.dropped);
    QCOMPARE(optionNames(f->document, 1), (QStringList { "b1", "b2", "a1" }));
    QCOMPARE(optionNames(f->document, 0), (QStringList { "a2", "a3" }));
    QCOMPARE(f->tree->focusedNode(), f->option(1, 2));
    QCOMPARE(f->tree->focusedColumn(), 1);
    QCOMPARE(f->tree->selectionCount(), 0);
    QVERIFY(f->tree->isExpanded(f->section(1)));
    QCOMPARE(f->moves, 1);

    // An option dropped on its own section's row goes to the end of that section.
    play.dropAt = f->imagePoint(f->section(0));
    play.dragFrom(f->cellPoint(f->option(0, 0), 0), { 0, 8 });
    QCOMPARE(optionNames(f->document, 0), (QStringList { "a3", "a2" }));
}

void tst_TreeDragDrop::threeOptionsKeepTheirOrder()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->clickCell(f->option(0, 2));
    f->clickCell(f->option(0, 0), 0, Qt::ShiftModifier);
    DragPlay play(f->tree);
    play.dropAt = f->buttonPoint(f->section(3));
    play.dragFrom(f->cellPoint(f->option(0, 1), 0), { 0, 8 });
    QVERIFY(samePicture(play.cursor, TreeList::multiDragCursor()));
    QCOMPARE(optionNames(f->document, 3), (QStringList { "d1", "a1", "a2", "a3" }));
    QCOMPARE(f->focusedName(), QStringLiteral("a3"));
    QCOMPARE(f->tree->selectionCount(), 0);

    // Section A lost its options: no button, the closed image.
    QVERIFY(!f->document.hasChildren(f->section(0)));
    QCOMPARE(f->tree->nodeImageIndex(f->section(0), false), 0);
    QCOMPARE(f->tree->hitTest(f->toClient(f->buttonPoint(f->section(0)))).part, TreeHitPart::Nowhere);
}

void tst_TreeDragDrop::sectionDroppedBelowTheRowsMovesToTheEnd()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->tree->collapseAll();
    DragPlay play(f->tree);
    play.dropAt = f->belowRows();
    play.dragFrom(f->cellPoint(f->section(0), 0), { 0, 8 });
    QCOMPARE(sectionNames(f->document), (QStringList { "B", "C", "D", "A" }));
    QCOMPARE(optionNames(f->document, 3), (QStringList { "a1", "a2", "a3" }));
    QCOMPARE(f->focusedName(), QStringLiteral("A"));
    QCOMPARE(f->tree->selectionCount(), 0);
    QCOMPARE(f->moves, 1);
}

void tst_TreeDragDrop::optionDroppedOnEmptySpaceOrIndentationBecomesSection()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    DragPlay play(f->tree);
    play.dropAt = f->belowRows();
    play.dragFrom(f->cellPoint(f->option(0, 1), 0), { 0, 8 });
    QCOMPARE(sectionNames(f->document), (QStringList { "A", "B", "C", "D", "a2" }));
    QCOMPARE(f->document.sectionText(4, 1), QStringLiteral("2")); // the value stays, unedited
    QCOMPARE(f->document.optionCount(4), 0);
    QCOMPARE(f->focusedName(), QStringLiteral("a2"));
    QVERIFY(!(f->document.flags(f->document.sectionIndex(4, 1)) & Qt::ItemIsEditable));

    play.dropAt = f->indentPoint(f->section(2));
    play.dragFrom(f->cellPoint(f->option(1, 0), 0), { 0, 8 });
    QCOMPARE(sectionNames(f->document), (QStringList { "A", "B", "b1", "C", "D", "a2" }));
    QCOMPARE(f->focusedName(), QStringLiteral("b1"));
    QCOMPARE(f->moves, 2);
}

void tst_TreeDragDrop::dropsThatChangeNothing()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->clickCell(f->option(0, 0));
    const QPoint header = f->tree->header()->geometry().center();
    f->handlers.DragNodeLevel = 1;

    // Over the headers a drop is accepted, and then does nothing.
    bool accept = false;
    f->handlers.TreeListDragOver(f->tree, f->tree, header.x(), header.y(), accept);
    QVERIFY(accept);
    f->handlers.TreeListDragDrop(f->tree, f->tree, header.x(), header.y());
    QCOMPARE(optionNames(f->document, 0), (QStringList { "a1", "a2", "a3" }));
    QCOMPARE(f->tree->selectionCount(), 1);

    // The same through the pointer: a real drag over the headers shows the drop cursor, and a
    // drop there is taken without moving anything.
    {
        DragPlay play(f->tree);
        QWidget *headers = f->tree->header()->viewport();
        bool overHeaders = false;
        bool droppedOnHeaders = false;
        play.whileOver = [&] {
            // Crossing into the headers, the platform enters them before it moves over them.
            const QPoint at = headers->rect().center();
            QDragEnterEvent enter(at, Qt::MoveAction, play.mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(headers, &enter);
            QDragMoveEvent move(at, Qt::MoveAction, play.mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(headers, &move);
            overHeaders = move.isAccepted();
            QDropEvent drop(at, Qt::MoveAction, play.mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(headers, &drop);
            droppedOnHeaders = drop.isAccepted();
        };
        play.dragFrom(f->cellPoint(f->option(0, 1), 0), { 0, 8 });
        QVERIFY(play.started);
        QVERIFY(overHeaders);
        QVERIFY(droppedOnHeaders);
        QCOMPARE(optionNames(f->document, 0), (QStringList { "a1", "a2", "a3" }));
        QCOMPARE(f->moves, 0);
    }

    // Right of the last column.
    {
        const QSignalBlocker blocker(f->tree->header());
        f->tree->header()->resizeSection(1, 40);
    }
    const QPoint right
        = f->toClient({ f->tree->columnWidths().at(0) + 45, f->tree->visualRect(f->section(1)).center().y() });
    f->handlers.TreeListDragDrop(f->tree, f->tree, right.x(), right.y());
    QCOMPARE(optionNames(f->document, 1), (QStringList { "b1", "b2" }));

    // With nothing selected.
    f->tree->clearNodeSelection();
    const QPoint below = f->toClient(f->belowRows());
    f->handlers.TreeListDragDrop(f->tree, f->tree, below.x(), below.y());
    QCOMPARE(f->document.sectionCount(), 4);
    QCOMPARE(f->moves, 0);
}

void tst_TreeDragDrop::nodesAtTheDestinationAreSkipped()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->tree->collapseAll();
    f->clickCell(f->section(0));
    f->clickCell(f->section(2), 0, Qt::ShiftModifier);
    QCOMPARE(f->selectedNames(), (QStringList { "A", "B", "C" }));
    DragPlay play(f->tree);
    play.dropAt = f->belowRows();
    play.dragFrom(f->cellPoint(f->section(1), 0), { 0, 8 });
    QCOMPARE(sectionNames(f->document), (QStringList { "D", "A", "B", "C" }));
    QCOMPARE(f->focusedName(), QStringLiteral("C"));

    // Dropped before C: C itself stays where it is.
    f->clickCell(f->section(1));
    f->clickCell(f->section(3), 0, Qt::ShiftModifier);
    play.dropAt = f->indentPoint(f->section(3));
    play.path = { *play.dropAt };
    play.dragFrom(f->cellPoint(f->section(1), 0), { 0, 8 });
    QVERIFY(!play.accepted.last()); // a row lies under the pointer: sections are refused there
    QCOMPARE(sectionNames(f->document), (QStringList { "D", "A", "B", "C" }));

    // Called directly, the handler skips the node that is the destination.
    f->clickCell(f->section(1));
    f->clickCell(f->section(3), 0, Qt::ShiftModifier);
    const QPoint beforeC = f->toClient(f->indentPoint(f->section(3)));
    QVERIFY(treeDropSelection(*f->tree, beforeC));
    QCOMPARE(sectionNames(f->document), (QStringList { "D", "A", "B", "C" }));
    QCOMPARE(f->focusedName(), QStringLiteral("B"));
    QCOMPARE(f->tree->selectionCount(), 0);
}

void tst_TreeDragDrop::sectionsNeverGoUnderASection()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    f->clickCell(f->section(0));
    f->clickCell(f->section(1), 0, Qt::ControlModifier);
    QCOMPARE(f->selectedNames(), (QStringList { "A", "B" }));

    // A drag begun with Ctrl on an option, which cannot join a selection of sections.
    DragPlay play(f->tree);
    play.path = { f->cellPoint(f->section(2), 0), f->indentPoint(f->section(2)), f->belowRows() };
    play.dropAt = f->cellPoint(f->section(2), 0);
    play.dragFrom(f->cellPoint(f->option(3, 0), 0), { 0, 8 }, Qt::ControlModifier);
    QVERIFY(play.started);
    QCOMPARE(f->handlers.DragNodeLevel, 1);
    QCOMPARE(f->selectedNames(), (QStringList { "A", "B" }));
    QCOMPARE(play.accepted.mid(1), (QList<bool> { false, true, true }));
    QVERIFY(!play.dropped);
    QCOMPARE(sectionNames(f->document), (QStringList { "A", "B", "C", "D" }));
    QCOMPARE(f->moves, 0);

    // The handler refuses the same drop when called directly.
    const QPoint onC = f->toClient(f->cellPoint(f->section(2), 0));
    QVERIFY(!treeDropSelection(*f->tree, onC));
    QCOMPARE(optionNames(f->document, 2), QStringList());
}

void tst_TreeDragDrop::draggingScrollsFollowsAndExpands()
{
    TreeFixture f({}, { 300, 200 });
    {
        const TreeBatch batch(f.document);
        for (int s = 0; s < 30; ++s) {
            f.document.appendSection(QStringLiteral("S%1").arg(s));
            f.document.appendOption(s, QStringLiteral("o%1").arg(s), QString());
        }
    }
    f.tree->expand(f.section(0));
    QScrollBar *bar = f.tree->verticalScrollBar();
    QCOMPARE(bar->value(), 0);
    DragPlay play(f.tree);
    play.whileOver = [&] {
        // The pointer rests on the last visible row: the tree scrolls a row every 100 ms.
        const QPoint last(60, f.tree->viewport()->height() - 2);
        play.move(last);
        QTRY_VERIFY(bar->value() >= 2);
        QCOMPARE(f.tree->focusedNode(), f.tree->nodeAtViewport(last.y()));
        QCOMPARE(f.selectedNames(), QStringList { "o0" });
        // On the first visible row it scrolls back.
        const int value = bar->value();
        play.move({ 60, 2 });
        QTRY_VERIFY(bar->value() < value);
        // Resting on a collapsed section's button expands it.
        const QModelIndex section = f.tree->nodeAtViewport(f.tree->viewport()->height() / 2);
        QVERIFY(!f.tree->isExpanded(section));
        play.move(f.buttonPoint(section));
        QTRY_VERIFY(f.tree->isExpanded(section));
    };
    play.dragFrom(f.cellPoint(f.option(0, 0), 0), { 0, 8 });
    QVERIFY(play.started);
}

QTEST_MAIN(tst_TreeDragDrop)
#include "tst_treedragdrop.moc"
