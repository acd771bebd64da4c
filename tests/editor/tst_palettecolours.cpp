// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The colours the program paints itself, measured from the pixels of the real window in a light
// and in a dark palette: text on a find match, a marked name, the changed-on-disk bar and the
// About box's link at 4.5:1 at least, the focus frame at 3:1.
#include "mainwindowfixture.h"

#include "about/saldrixabout.h"
#include "dialogs/palettecolours.h"
#include "editor/diskchangebar.h"
#include "editor/findbar.h"
#include "treeview/treehittest.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    dark.setColor(QPalette::ToolTipBase, QColor(25, 25, 25));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Link, QColor(42, 130, 218));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, QColor(35, 35, 35));
    dark.setColor(QPalette::PlaceholderText, QColor(160, 160, 160));
    for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        dark.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
    return dark;
}

// The commonest colour of an area is its background; the one that differs most from it is the
// text's (the core of a glyph is drawn in the full colour, its edges blend).
struct Measured {
    QColor background;
    QColor ink;
    double contrast = 0;
};

Measured measure(const QImage &image, const QRect &area)
{
    QHash<QRgb, int> counts;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    Measured result;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            result.background = QColor::fromRgb(it.key());
        }
    }
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double ratio = PaletteColours::contrast(QColor::fromRgb(it.key()), result.background);
        if (ratio > result.contrast) {
            result.contrast = ratio;
            result.ink = QColor::fromRgb(it.key());
        }
    }
    return result;
}

QString show(const Measured &m)
{
    return u"%1 on %2: %3:1"_s.arg(m.ink.name(), m.background.name()).arg(m.contrast, 0, 'f', 2);
}

// A cell's text area in the window's picture, without the node image of column 0.
QRect textArea(MainWindowFixture &f, const QModelIndex &index)
{
    QRect cell = f.view().visualRect(index);
    if (index.column() == 0)
        cell.setLeft(cell.left() + TreeGeometry::ImageBoxWidth + TreeGeometry::StateImageWidth);
    return QRect(f.view().viewport()->mapTo(f.window.get(), cell.topLeft()), cell.size()).adjusted(2, 2, -2, -2);
}

} // namespace

class tst_PaletteColours : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paintedTextReadsInEveryPalette_data();
    void paintedTextReadsInEveryPalette();
    void cleanup() { QApplication::setPalette(QApplication::style()->standardPalette()); }
};

void tst_PaletteColours::paintedTextReadsInEveryPalette_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light (Qt's default)") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << darkPalette();
}

void tst_PaletteColours::paintedTextReadsInEveryPalette()
{
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    const QColor base = palette.color(QPalette::Active, QPalette::Base);

    // Two options match "apple"; the first becomes the current, selected node, the second is shown
    // highlighted. "lonely" has no option, so it is marked: a save drops it.
    MainWindowFixture f;
    f.open(f.writeFile(u"colours.ini"_s, "[fruit]\nfirst=apple\nsecond=apple pie\n[lonely]\n"));
    f.window->resize(600, 400);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.trigger("actEditFind");
    f.window->findBar()->edtFindText->setText(u"apple"_s);
    QTRY_COMPARE(f.window->findBar()->countText(), u"1 of 2"_s);
    f.window->diskChangeBar()->showChange(false);
    QTRY_VERIFY(f.window->diskChangeBar()->isVisible());
    QTest::qWait(20);

    QImage picture = f.window->grab().toImage();
    const Measured match = measure(picture, textArea(f, f.tree().optionIndex(0, 1, 1)));
    QVERIFY2(match.contrast >= 4.5, qPrintable(u"find match "_s + show(match)));
    QVERIFY2(match.background != base, qPrintable(u"the match is not highlighted: "_s + show(match)));
    const Measured marked = measure(picture, textArea(f, f.tree().sectionIndex(1)));
    QVERIFY2(marked.contrast >= 4.5, qPrintable(u"marked name "_s + show(marked)));
    QVERIFY2(PaletteColours::contrast(marked.ink, palette.color(QPalette::Text)) > 1.2,
        qPrintable(u"the mark is not coloured: "_s + show(marked)));
    QLabel *message = f.window->diskChangeBar()->lbDiskChange;
    const Measured bar = measure(picture, QRect(message->mapTo(f.window.get(), QPoint(0, 0)), message->size()));
    QVERIFY2(bar.contrast >= 4.5, qPrintable(u"changed-on-disk bar "_s + show(bar)));

    // The focus frame, around the focused cell of an unselected and of a selected row.
    f.window->findBar()->closeBar();
    f.window->diskChangeBar()->hide();
    f.view().setFocus();
    QTRY_VERIFY(f.view().hasFocus());
    for (const bool selected : { false, true }) {
        f.view().selectSingleNode(f.tree().optionIndex(0, 0));
        if (!selected)
            f.view().clearNodeSelection();
        f.view().setFocusedColumn(1);
        QTest::qWait(20);
        picture = f.window->grab().toImage();
        const QRect cell = textArea(f, f.tree().optionIndex(0, 0, 1)).adjusted(-2, -2, 2, 2);
        const QColor frame = picture.pixelColor(cell.left(), cell.center().y());
        const QColor inside = measure(picture, cell.adjusted(3, 3, -3, -3)).background;
        QVERIFY2(PaletteColours::contrast(frame, inside) >= 3.0,
            qPrintable(u"focus frame %1 on %2, selected %3"_s.arg(frame.name(), inside.name()).arg(selected)));
    }

    f.dialogs.onDialog = [](QDialog &dialog) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QImage about = dialog.grab().toImage();
        const auto *link = dialog.findChild<QWidget *>(u"lbWebLink"_s);
        const Measured measured = measure(about, link->geometry());
        QVERIFY2(measured.contrast >= 4.5, qPrintable(u"About link "_s + show(measured)));
        dialog.close();
    };
    f.trigger("actHelpAbout");
    QCOMPARE(f.dialogs.shownDialogs.size(), 1);
}

QTEST_MAIN(tst_PaletteColours)
#include "tst_palettecolours.moc"
