// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/namemarks.h"
#include "treefixture.h"

#include <QHelpEvent>
#include <QToolTip>

namespace {

// Hovers over a node's name the way the window system asks for a tooltip.
void askTip(TreeFixture &fixture, const QModelIndex &node)
{
    const QPoint at = fixture.cellPoint(node, 0);
    QHelpEvent event(QEvent::ToolTip, at, fixture.tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(fixture.tree->viewport(), &event);
}

// Orange pixels (the warning colour) within a node's name cell.
int warningPixels(TreeFixture &fixture, const QModelIndex &node)
{
    QRect text = fixture.tree->visualRect(node);
    text.setLeft(text.left() + TreeGeometry::ImageBoxWidth + TreeGeometry::StateImageWidth); // not the picture
    const QImage image = fixture.tree->viewport()->grab(text).toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y); // text edges blend with the background
            count += pixel.red() > pixel.green() + 40 && pixel.green() > pixel.blue() ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class tst_NameMarkView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void markedNamesShowWhatASaveDoes();
    void aLargeChangeIsMarkedOneSliceAPass();
};

void tst_NameMarkView::markedNamesShowWhatASaveDoes()
{
    TreeFixture fixture { { u"s"_qs, { { "k", "1" }, { "k", "2" }, { "j", "3" } } } };
    fixture.tree->expandAll();
    const QModelIndex second = fixture.option(0, 1);
    const QModelIndex third = fixture.option(0, 2);

    askTip(fixture, second);
    QTRY_COMPARE(QToolTip::text(), u"Saved as one entry with the option 'k' above; this value wins"_qs);
    QVERIFY(warningPixels(fixture, second) > 0);
    QCOMPARE(warningPixels(fixture, third), 0);

    // An edit moves the mark at once, also to a row that the edit itself did not touch.
    QVERIFY(fixture.document.setData(second, u"i"_qs, Qt::EditRole));
    QVERIFY(fixture.document.setData(third, u"k"_qs, Qt::EditRole));
    QVERIFY(fixture.tree->nameMarks()->markAt(second).isNone());
    QTRY_VERIFY(warningPixels(fixture, third) > 0);
    QCOMPARE(warningPixels(fixture, second), 0);
    askTip(fixture, third);
    QTRY_COMPARE(QToolTip::text(), u"Saved as one entry with the option 'k' above; this value wins"_qs);

    // A new document brings its own marks.
    fixture.load({ { u" t"_qs, { { "a", "1" } } } });
    QCOMPARE(fixture.tree->nameMarks()->markAt(fixture.section(0)).text(), u"Loads back as 't'"_qs);
}

void tst_NameMarkView::aLargeChangeIsMarkedOneSliceAPass()
{
    TreeFixture fixture { { u"s"_qs, { { "a", "1" } } } };
    const NameMarks *marks = fixture.tree->nameMarks();
    constexpr int Sections = 5;
    const int perSection = int(TreeList::NameMarkSliceOptions / 2);
    {
        const TreeBatch batch(fixture.document);
        fixture.document.clear();
        for (int s = 0; s < Sections; ++s) {
            const int row = fixture.document.appendSection(u"s%1"_qs.arg(s));
            fixture.document.reserveOptions(row, perSection);
            for (int o = 0; o < perSection; ++o)
                fixture.document.appendOption(row, u"k%1"_qs.arg(o), u"v"_qs);
            fixture.document.setOptionText(row, 1, DocumentTree::NameColumn, u"k0"_qs);
        }
    }
    // The reset marks one slice at once and leaves the rest to later passes of the event loop.
    QVERIFY(marks->isPending());
    QVERIFY(!marks->optionMark(0, 1).isNone());
    QVERIFY(marks->optionMark(Sections - 1, 1).isNone());
    int passes = 0;
    while (marks->isPending() && passes < 100) {
        QCoreApplication::processEvents();
        ++passes;
    }
    QVERIFY(!marks->isPending());
    QCOMPARE(marks->optionMark(Sections - 1, 1).kind, NameMark::Kind::OptionMergedWins);
}

QTEST_MAIN(tst_NameMarkView)
#include "tst_namemarkview.moc"
