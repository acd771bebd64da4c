// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a screen reader is told beyond the focus: changes spoken as notifications, each once; the
// true roles of check items, lines and the window's grips; and a keyboard that shows where it is,
// leaves the tree and presses the button it is on.
#include "mainwindowfixture.h"

#include "about/saldrixabout.h"
#include "dialogs/palettecolours.h"
#include "editor/findbar.h"
#include "wizard/pagemanager.h"
#include "wizard/saldrixwizard.h"
#include "wizard/updown.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSizeGrip>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using namespace Qt::StringLiterals;

namespace {

// What a screen reader speaks without a focus move: each notification that appears, by its name.
QStringList &heard()
{
    static QStringList spoken;
    return spoken;
}

void recordEvent(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::ObjectShow)
        return;
    QAccessibleInterface *node = event->accessibleInterface();
    if (node != nullptr && node->role() == QAccessible::Notification)
        heard() << node->text(QAccessible::Name);
}

qsizetype heardContaining(const QString &part)
{
    return std::count_if(
        heard().cbegin(), heard().cend(), [&part](const QString &text) { return text.contains(part); });
}

// The colour most unlike the window's among a widget's painted pixels, and its contrast with it.
double strongestContrast(QWidget &widget)
{
    const QImage image = widget.grab().toImage();
    const QColor window = widget.palette().color(QPalette::Window);
    double best = 1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            best = std::max(best, PaletteColours::contrast(image.pixelColor(x, y), window));
    }
    return best;
}

// The contrast of the ring's pixels (the widget's outer two pixels) with the window, at their weakest
// where the widget has the focus and something is drawn there.
double ringContrast(QWidget &widget)
{
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor window = widget.palette().color(QPalette::Window);
    double weakest = 21;
    const auto look
        = [&](int x, int y) { weakest = std::min(weakest, PaletteColours::contrast(image.pixelColor(x, y), window)); };
    const qreal ratio = image.devicePixelRatio();
    const int w = int(image.width() / ratio);
    const int h = int(image.height() / ratio);
    for (int x = 2; x < w - 2; ++x) {
        look(int(x * ratio), int(1 * ratio));
        look(int(x * ratio), int((h - 2) * ratio));
    }
    for (int y = 2; y < h - 2; ++y) {
        look(int(1 * ratio), int(y * ratio));
        look(int((w - 2) * ratio), int(y * ratio));
    }
    return weakest;
}

} // namespace

class tst_Spoken : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { heard().clear(); }
    void findIsSpokenOnceTheTypingStops();
    void treeChangesAreSpoken();
    void menusAreSpokenAsTheyOpen();
    void wizardOrderIsSpokenAfterASwap();
    void findOptionsAreCheckItems();
    void linesGripsAndOverflowHaveTrueRoles();
    void tabLeavesTheTree();
    void enterPressesTheFocusedButton();
    void focusShowsAtThreeToOne();
};

void tst_Spoken::initTestCase()
{
    QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(platform != nullptr);
    QAccessible::installUpdateHandler(recordEvent);
    platform->setActive(true);
    QVERIFY(QAccessible::isActive());
}

void tst_Spoken::findIsSpokenOnceTheTypingStops()
{
    MainWindowFixture f;
    f.open(f.writeFile(u"find.ini"_s, "[a]\nk=value one\n[b]\nl=value two\n"));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.view().setFocus();
    QTest::keyClick(&f.view(), Qt::Key_F, Qt::ControlModifier);
    FindBar &bar = *f.window->findBar();
    QTRY_COMPARE(heardContaining(u"Find bar opened"_s), 1);

    // Letter by letter: nothing is said until the typing stops, and then the count once.
    heard().clear();
    QTest::keyClicks(bar.edtFindText, u"value"_s);
    QCOMPARE(heard(), QStringList());
    QTRY_COMPARE(bar.countText(), u"1 of 2"_s);
    QTRY_COMPARE(heard(), QStringList { u"1 of 2"_s });

    // Each step says where it is, and passing the end says so too.
    heard().clear();
    const auto step = [&bar](qsizetype heardBefore) {
        QTest::keyClick(bar.edtFindText, Qt::Key_Return);
        return QTest::qWaitFor([heardBefore] { return heard().size() > heardBefore; });
    };
    QVERIFY(step(0));
    QCOMPARE(heard(), QStringList { u"2 of 2"_s });
    QVERIFY(step(1));
    QCOMPARE(heard().constLast(), u"1 of 2. Passed the end, continued from the top"_s);
    // The same words twice in a row are said twice.
    QVERIFY(step(2));
    QVERIFY(step(3));
    QCOMPARE(heard().constLast(), heard().at(1));
    QCOMPARE(heard().size(), 4);

    heard().clear();
    QTest::keyClicks(bar.edtFindText, u"zz"_s);
    QTRY_COMPARE(heard(), QStringList { u"No matches"_s });
    // The options menu says it opened; ticking an option says the new count.
    heard().clear();
    bar.edtFindText->setText(u"VALUE"_s);
    QTRY_COMPARE(heard(), QStringList { u"1 of 2"_s });
    heard().clear();
    bar.chkMatchCase->setChecked(true);
    QTRY_COMPARE(heard(), QStringList { u"No matches"_s });
    bar.btnOptions->menu()->popup(bar.mapToGlobal(QPoint(0, 0)));
    QTRY_COMPARE(heardContaining(u"Find options menu"_s), 1);
    bar.btnOptions->menu()->hide();
}

void tst_Spoken::treeChangesAreSpoken()
{
    MainWindowFixture f;
    f.open(f.writeFile(u"tree.ini"_s, "[a]\nx=1\n=v\n[b]\ny=2\n"));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    TreeList &view = f.view();
    view.setFocus();
    QTRY_VERIFY(view.hasFocus());
    QTest::keyClicks(&view, u"+"_s);
    QTRY_COMPARE(heard(), QStringList { u"Expanded"_s });
    QTest::keyClicks(&view, u"-"_s);
    QTRY_COMPARE(heard(), QStringList({ u"Expanded"_s, u"Collapsed"_s }));

    // A cell's name mark is its description, which is read with the cell: it is not said again.
    heard().clear();
    QTest::keyClicks(&view, u"+"_s);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Down);
    QTRY_COMPARE(heard(), QStringList { u"Expanded"_s });
    QCOMPARE(view.currentIndex().data(Qt::AccessibleDescriptionRole).toString(), u"Not saved: the name is empty"_s);

    // The find bar moves the focused node while the keyboard stays in its field: only it speaks.
    f.trigger("actEditFind");
    QTRY_VERIFY(f.window->findBar()->edtFindText->hasFocus());
    QTRY_COMPARE(heardContaining(u"Find bar opened"_s), 1);
    heard().clear();
    f.window->findBar()->edtFindText->setText(u"y"_s);
    QTRY_VERIFY(!heard().isEmpty());
    QCOMPARE(heard(), QStringList { u"1 of 1"_s });
}

void tst_Spoken::menusAreSpokenAsTheyOpen()
{
    MainWindowFixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    for (const char *name : { "miFile", "miEdit", "miHelp", "PopupMenu" }) {
        auto *menu = f.child<QMenu>(name);
        menu->popup(f.window->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        menu->hide();
    }
    QTRY_COMPARE(heard(), QStringList({ u"File menu"_s, u"Edit menu"_s, u"Help menu"_s, u"Pop-up menu"_s }));
}

void tst_Spoken::wizardOrderIsSpokenAfterASwap()
{
    MainWindowFixture f;
    f.open(f.writeFile(u"cd.ini"_s, SampleIni));
    auto *wizard = f.window->findChild<TfrmSaldrixWizard *>();
    f.trigger("actFileExportCD");
    QVERIFY(QTest::qWaitForWindowExposed(wizard));
    wizard->findChild<PageManager *>()->moveTo(1);
    auto *order = wizard->findChild<UpDown *>();
    order->leftButton()->click();
    QTRY_COMPARE(heard(), QStringList { u"Title first, then Artist"_s });
    order->rightButton()->click();
    QTRY_COMPARE(heard().size(), 2);
    QCOMPARE(heard().constLast(), u"Artist first, then Title"_s);
    wizard->close();
}

void tst_Spoken::findOptionsAreCheckItems()
{
    MainWindowFixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.trigger("actEditFind");
    QMenu *options = f.window->findBar()->btnOptions->menu();
    options->popup(f.window->mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(options));
    QAccessibleInterface *menu = QAccessible::queryAccessibleInterface(options);
    QStringList items;
    for (int i = 0; i < menu->childCount(); ++i) {
        QAccessibleInterface *item = menu->child(i);
        if (item->role() == QAccessible::Separator)
            continue;
        QCOMPARE(item->role(), QAccessible::CheckBox);
        QVERIFY(item->state().checkable);
        QCOMPARE(item->parent()->object(), options);
        QVERIFY(!item->rect().isEmpty());
        items << item->text(QAccessible::Name) + (item->state().checked ? u"+"_s : u"-"_s);
    }
    QCOMPARE(items, QStringList({ u"Names+"_s, u"Values+"_s, u"Match case-"_s, u"Show only matches-"_s }));
    // Toggled through assistive technology, the option changes and says so.
    QAccessibleInterface *matchCase = menu->child(2);
    matchCase->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(f.window->findBar()->chkMatchCase->isChecked());
    QVERIFY(matchCase->state().checked);
    options->hide();
    // Items without a check mark stay menu items.
    QAccessibleInterface *edit = QAccessible::queryAccessibleInterface(f.child<QMenu>("miEdit"));
    QCOMPARE(edit->child(0)->role(), QAccessible::MenuItem);
}

void tst_Spoken::linesGripsAndOverflowHaveTrueRoles()
{
    MainWindowFixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    auto *grip = f.window->statusBar()->findChild<QSizeGrip *>();
    QVERIFY(grip != nullptr);
    QAccessibleInterface *gripNode = QAccessible::queryAccessibleInterface(grip);
    QCOMPARE(gripNode->role(), QAccessible::Graphic);
    QCOMPARE(gripNode->text(QAccessible::Name), u"Size grip"_s);

    auto *overflow = f.child<QToolBar>("ToolBar")->findChild<QToolButton *>(u"qt_toolbar_ext_button"_s);
    QVERIFY(overflow != nullptr);
    QAccessibleInterface *overflowNode = QAccessible::queryAccessibleInterface(overflow);
    QCOMPARE(overflowNode->role(), QAccessible::ButtonMenu);
    QCOMPARE(overflowNode->text(QAccessible::Name), u"More tool bar buttons"_s);
    QVERIFY(overflowNode->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()));

    for (QWidget *bar : f.child<QToolBar>("ToolBar")->findChildren<QWidget *>()) {
        if (bar->inherits("QToolBarSeparator"))
            QCOMPARE(QAccessible::queryAccessibleInterface(bar)->role(), QAccessible::Separator);
    }

    auto *wizard = f.window->findChild<TfrmSaldrixWizard *>();
    for (const char *line : { "Bevel1", "BevelLine" }) {
        auto *frame = wizard->findChild<QFrame *>(QLatin1String(line));
        QVERIFY2(frame != nullptr, line);
        QCOMPARE(QAccessible::queryAccessibleInterface(frame)->role(), QAccessible::Separator);
    }
    f.dialogs.onDialog = [](QDialog &dialog) {
        auto *line = dialog.findChild<QFrame *>(u"BevelMidt"_s);
        QVERIFY(line != nullptr);
        QCOMPARE(QAccessible::queryAccessibleInterface(line)->role(), QAccessible::Separator);
        // A framed label is no line.
        auto *label = dialog.findChild<QLabel *>();
        QVERIFY(QAccessible::queryAccessibleInterface(label)->role() != QAccessible::Separator);
    };
    f.trigger("actHelpAbout");
    QCOMPARE(f.dialogs.shownDialogs, QStringList { u"frmAboutDlg"_s });
}

void tst_Spoken::tabLeavesTheTree()
{
    MainWindowFixture f;
    f.open(f.writeFile(u"tab.ini"_s, SampleIni));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    TreeList &view = f.view();
    f.trigger("actEditFind");
    QLineEdit *field = f.window->findBar()->edtFindText;
    QTRY_VERIFY(field->hasFocus());

    // Within the tree Tab goes from cell to cell; past the last cell it goes on to the find bar.
    view.setFocus();
    view.selectSingleNode(f.tree().sectionIndex(1));
    view.setFocusedColumn(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(view.hasFocus());
    QCOMPARE(view.focusedColumn(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_VERIFY(field->hasFocus());
    // Shift+Tab comes back, to the cell it left.
    QTest::keyClick(field, Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(view.hasFocus());
    QCOMPARE(f.focusedName(), u"b"_s);
    // Before the first cell Shift+Tab leaves it backwards, and Ctrl+Tab leaves it from any cell.
    view.selectSingleNode(f.tree().sectionIndex(0));
    view.setFocusedColumn(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(!view.hasFocus());
    view.setFocus();
    QTRY_VERIFY(view.hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(f.focusedName(), u"a"_s);
}

void tst_Spoken::enterPressesTheFocusedButton()
{
    MainWindowFixture f;
    f.open(f.writeFile(u"cd.ini"_s, "[2a96f9b]\nartist=A\ntitle=T\nnumtracks=1\n0=one\n"));
    auto *wizard = f.window->findChild<TfrmSaldrixWizard *>();
    f.trigger("actFileExportCD");
    QVERIFY(QTest::qWaitForWindowActive(wizard));
    auto *pages = wizard->findChild<QStackedWidget *>(u"NoteBook1"_s);
    auto *manager = wizard->findChild<PageManager *>();
    manager->moveTo(2);
    auto *back = wizard->findChild<QPushButton *>(u"BtnBack"_s);
    back->setFocus();
    QTRY_VERIFY(back->hasFocus());
    QTest::keyClick(back, Qt::Key_Return);
    QCOMPARE(pages->currentIndex(), 1);
    // Elsewhere Enter is still the default button's, Next.
    auto *separator = wizard->findChild<QLineEdit *>(u"edSeparator"_s);
    separator->setFocus();
    QTRY_VERIFY(separator->hasFocus());
    QTest::keyClick(separator, Qt::Key_Return);
    QCOMPARE(pages->currentIndex(), 2);

    // On the last page, Done with the keyboard on it exports.
    const QString out = f.path(u"out.txt"_s);
    wizard->findChild<QLineEdit *>(u"edFileName"_s)->setText(out);
    manager->moveTo(4);
    auto *done = wizard->findChild<QPushButton *>(u"BtnDone"_s);
    done->setFocus();
    QTRY_VERIFY(done->hasFocus());
    QTest::keyClick(done, Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(QFile::exists(out));
    QCOMPARE(f.dialogs.information, QStringList { u"Export Successfully Done."_s });
    wizard->close();
}

void tst_Spoken::focusShowsAtThreeToOne()
{
    // Light and dark windows, and a highlight that is too pale on its own.
    QPalette light;
    light.setColor(QPalette::Window, QColor(239, 239, 239));
    light.setColor(QPalette::Highlight, QColor(200, 220, 240));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::Highlight, QColor(30, 60, 90));
    for (const QPalette &palette : { light, dark, QApplication::palette() }) {
        QVERIFY(PaletteColours::contrast(PaletteColours::focusRing(palette), palette.color(QPalette::Window))
            >= PaletteColours::MarkContrast);
    }

    // Drawn: each wizard arrow shows its ring when it has the keyboard, and not otherwise.
    MainWindowFixture f;
    f.open(f.writeFile(u"cd.ini"_s, SampleIni));
    auto *wizard = f.window->findChild<TfrmSaldrixWizard *>();
    f.trigger("actFileExportCD");
    QVERIFY(QTest::qWaitForWindowActive(wizard));
    wizard->findChild<PageManager *>()->moveTo(1);
    auto *order = wizard->findChild<UpDown *>();
    for (QToolButton *arrow : { order->leftButton(), order->rightButton() }) {
        arrow->setFocus();
        QTRY_VERIFY(arrow->hasFocus());
        QVERIFY2(
            ringContrast(*arrow) >= PaletteColours::MarkContrast, qPrintable(QString::number(ringContrast(*arrow))));
    }
    wizard->findChild<QLineEdit *>(u"edSeparator"_s)->setFocus();
    QTRY_VERIFY(!order->rightButton()->hasFocus());
    QVERIFY(ringContrast(*order->rightButton()) < PaletteColours::MarkContrast);
    wizard->close();

    f.dialogs.onDialog = [](QDialog &dialog) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *link = dialog.findChild<QWidget *>(u"lbWebLink"_s);
        link->setFocus();
        QTRY_VERIFY(link->hasFocus());
        QVERIFY2(ringContrast(*link) >= PaletteColours::MarkContrast, qPrintable(QString::number(ringContrast(*link))));
        QVERIFY(strongestContrast(*link) >= PaletteColours::MarkContrast);
        dialog.close();
    };
    f.trigger("actHelpAbout");
}

QTEST_MAIN(tst_Spoken)
#include "tst_spoken.moc"
