// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What assistive technology sees: a name on every control of every window, the cells' descriptions,
// and focus reports that name what really has the keyboard.
#include "mainwindowfixture.h"

#include "about/saldrixabout.h"
#include "dialogs/errordisplay.h"
#include "dialogs/messageboxdialogs.h"
#include "editor/diskchangebar.h"
#include "editor/findbar.h"
#include "wizard/pagemanager.h"
#include "wizard/saldrixwizard.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

// Qt keeps accessibility off until an assistive technology asks for it, and no platform without a
// display ever asks; Qt's own tests switch it on the same way.
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using namespace Qt::StringLiterals;

namespace {

// A focus report (or the showing of a window part) as it was when it was sent.
struct FocusReport {
    QAccessible::Event type = QAccessible::Focus;
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QObject *object = nullptr;
};

QList<FocusReport> &focusReports()
{
    static QList<FocusReport> reports;
    return reports;
}

QList<FocusReport> &showReports()
{
    static QList<FocusReport> reports;
    return reports;
}

void recordEvent(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::Focus && event->type() != QAccessible::ObjectShow
        && event->type() != QAccessible::DescriptionChanged)
        return;
    QAccessibleInterface *target = event->accessibleInterface();
    if (target == nullptr)
        return;
    const FocusReport report { event->type(), target->role(), target->text(QAccessible::Name), event->object() };
    (event->type() == QAccessible::Focus ? focusReports() : showReports()) << report; // shown or changed
}

// Something a person can act on: it takes the keyboard or offers an action.
bool isInteractive(QAccessibleInterface *node)
{
    switch (node->role()) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Link:
    case QAccessible::MenuItem:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::PageTab:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::List:
        return true;
    default:
        break;
    }
    if (node->state().focusable)
        return true;
    const QAccessibleActionInterface *actions = node->actionInterface();
    return actions != nullptr && !actions->actionNames().isEmpty();
}

QString describe(QAccessibleInterface *node)
{
    QString path;
    for (QAccessibleInterface *at = node; at != nullptr; at = at->parent()) {
        const QObject *object = at->object();
        const QString name = object != nullptr && !object->objectName().isEmpty()
            ? object->objectName()
            : (object != nullptr ? QString::fromLatin1(object->metaObject()->className()) : u"?"_s);
        path.prepend(u'/' + name);
        if (object != nullptr && object->isWidgetType() && static_cast<const QWidget *>(object)->isWindow())
            break;
    }
    return path + u" role "_s + QString::number(node->role(), 16);
}

// Every visible control below `root` that a person can act on and that has no name, or a name
// with a mnemonic's "&" or a key's text after a tab in it; the rows and cells of a tree are its
// data, not controls.
void collectUnnamed(QAccessibleInterface *node, QStringList &faults, int depth = 0, bool evenHidden = false)
{
    if (node == nullptr || depth > 40 || (node->state().invisible && !evenHidden))
        return;
    if (isInteractive(node) && node->role() != QAccessible::Separator) {
        const QString name = node->text(QAccessible::Name);
        if (name.trimmed().isEmpty())
            faults << describe(node) + u" has no name"_s;
        else if (name.contains(u'&') || name.contains(u'\t'))
            faults << describe(node) + u" is named \""_s + name + u'"';
    }
    if (node->tableInterface() != nullptr)
        return;
    for (int i = 0; i < node->childCount(); ++i)
        collectUnnamed(node->child(i), faults, depth + 1, evenHidden);
}

QStringList unnamedIn(QWidget *window)
{
    QStringList faults;
    collectUnnamed(QAccessible::queryAccessibleInterface(window), faults);
    // Menus open as windows of their own, and their items count while they are closed too.
    for (QMenu *menu : window->findChildren<QMenu *>())
        collectUnnamed(QAccessible::queryAccessibleInterface(menu), faults, 0, true);
    return faults;
}

QAccessibleInterface *cellInterface(TreeList &view, int displayRow, int column)
{
    QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(&view);
    return tree->tableInterface()->cellAt(displayRow, column);
}

} // namespace

class tst_Accessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init()
    {
        focusReports().clear();
        showReports().clear();
    }
    void everyControlHasAName();
    void cellsDescribeMarksAndMatches();
    void findKeepsTheFocusReportInTheField();
    void returningToTheTreeReportsItsCell();
    void diskChangeBarIsANotification();
};

void tst_Accessibility::initTestCase()
{
    QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(platform != nullptr);
    QAccessible::installUpdateHandler(recordEvent);
    platform->setActive(true);
    QVERIFY(QAccessible::isActive());
}

void tst_Accessibility::everyControlHasAName()
{
    MainWindowFixture f;
    f.open(f.writeFile(u"names.ini"_s, SampleIni));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.trigger("actEditFind");
    f.window->findBar()->edtFindText->setText(u"v"_s); // the field's clear button shows
    f.window->diskChangeBar()->showChange(false);
    QVERIFY2(unnamedIn(f.window.get()).isEmpty(), qPrintable(unnamedIn(f.window.get()).join(u'\n')));

    // The names say what a control is: a status panel that shows nothing is still named.
    QTRY_VERIFY(f.child<QLabel>("StatusPanel1")->accessibleName().startsWith(u"Changes"_s));
    f.window->diskChangeBar()->showChange(true);
    QVERIFY2(unnamedIn(f.window.get()).isEmpty(), qPrintable(unnamedIn(f.window.get()).join(u'\n')));

    // The cell editor is named after its row and column.
    f.window->findBar()->closeBar();
    f.view().selectSingleNode(f.tree().optionIndex(0, 1));
    f.view().setFocusedColumn(1);
    f.view().editFocusedCell();
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->accessibleName(), u"Value of option y in section a"_s);
    QVERIFY2(unnamedIn(f.window.get()).isEmpty(), qPrintable(unnamedIn(f.window.get()).join(u'\n')));
    f.view().commitEditor();

    auto *wizard = f.window->findChild<TfrmSaldrixWizard *>();
    QVERIFY(wizard != nullptr);
    f.trigger("actFileExportCD");
    QVERIFY(QTest::qWaitForWindowExposed(wizard));
    auto *pages = wizard->findChild<QStackedWidget *>(u"NoteBook1"_s);
    auto *manager = wizard->findChild<PageManager *>();
    for (int page = 0; page < pages->count(); ++page) {
        manager->moveTo(page);
        QCOMPARE(pages->currentIndex(), page);
        QVERIFY2(unnamedIn(wizard).isEmpty(), qPrintable(unnamedIn(wizard).join(u'\n')));
    }
    wizard->close();

    f.dialogs.onDialog = [](QDialog &dialog) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY2(unnamedIn(&dialog).isEmpty(), qPrintable(unnamedIn(&dialog).join(u'\n')));
        auto *link = dialog.findChild<QWidget *>(u"lbWebLink"_s);
        QAccessibleInterface *linkNode = QAccessible::queryAccessibleInterface(link);
        QCOMPARE(linkNode->role(), QAccessible::Link);
        QVERIFY(linkNode->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        dialog.close();
    };
    f.trigger("actHelpAbout");
    QCOMPARE(f.dialogs.shownDialogs, QStringList { u"frmAboutDlg"_s });

    const std::unique_ptr<QMessageBox> questions[]
        = { saveChangesBox(), confirmBox(f.window.get(), u"Delete section?"_s),
              informationBox(f.window.get(), u"Export Successfully Done."_s), errorBox(f.window.get(), u"Failed"_s) };
    for (const std::unique_ptr<QMessageBox> &box : questions) {
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QVERIFY2(unnamedIn(box.get()).isEmpty(), qPrintable(unnamedIn(box.get()).join(u'\n')));
        box->close();
    }
}

void tst_Accessibility::cellsDescribeMarksAndMatches()
{
    // "=v" has an empty name, which a save drops; "b" has no option, so it is not saved either.
    MainWindowFixture f;
    f.open(f.writeFile(u"marks.ini"_s, "[a]\nx=1\n=v\n[b]\n"));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.view().expandAll();
    const QModelIndex emptyName = f.tree().optionIndex(0, 1);
    QTRY_COMPARE(emptyName.data(Qt::AccessibleDescriptionRole).toString(), u"Not saved: the name is empty"_s);
    QCOMPARE(f.tree().optionIndex(0, 0).data(Qt::AccessibleDescriptionRole).toString(), QString());
    // Display rows: a, x, (empty), b. What assistive technology reads is the same text.
    QCOMPARE(cellInterface(f.view(), 2, 0)->text(QAccessible::Description), u"Not saved: the name is empty"_s);
    QCOMPARE(cellInterface(f.view(), 3, 0)->text(QAccessible::Description),
        u"Not saved: the section has no option with a name"_s);
    QCOMPARE(cellInterface(f.view(), 1, 1)->text(QAccessible::Description), QString());

    // A find match says so, and the marks stay.
    f.trigger("actEditFind");
    f.window->findBar()->edtFindText->setText(u"v"_s);
    QTRY_COMPARE(f.window->findBar()->matchCount(), 1);
    QCOMPARE(cellInterface(f.view(), 2, 1)->text(QAccessible::Description), u"Find match"_s);
    QCOMPARE(cellInterface(f.view(), 2, 0)->text(QAccessible::Description), u"Not saved: the name is empty"_s);
    QCOMPARE(cellInterface(f.view(), 1, 1)->text(QAccessible::Description), QString());
}

void tst_Accessibility::findKeepsTheFocusReportInTheField()
{
    MainWindowFixture f;
    f.open(f.writeFile(u"find.ini"_s, "[a]\nport=80\n[b]\nhost=x\nport=8080\n"));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.view().setFocus();
    f.view().selectSingleNode(f.tree().sectionIndex(1)); // the first match after it is in b
    QTRY_VERIFY(!focusReports().isEmpty());
    focusReports().clear();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    FindBar &bar = *f.window->findBar();
    QVERIFY(bar.edtFindText->hasFocus());
    showReports().clear();
    QTest::keyClicks(bar.edtFindText, u"8080"_s);
    QTRY_COMPARE(bar.countText(), u"1 of 1"_s);
    QCOMPARE(f.focusedName(), u"port"_s); // the match became the current node
    QTest::qWait(20);
    QVERIFY(!focusReports().isEmpty());
    for (const FocusReport &report : std::as_const(focusReports()))
        QVERIFY2(report.object == bar.edtFindText, qPrintable(report.name));

    // The count is announced: the field says it, and so does the count's own name.
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(bar.edtFindText);
    QCOMPARE(field->text(QAccessible::Description), u"1 of 1"_s);
    const auto countChange = [&bar](const FocusReport &report) {
        return report.type == QAccessible::DescriptionChanged && report.object == bar.edtFindText;
    };
    QVERIFY(std::any_of(showReports().cbegin(), showReports().cend(), countChange));
    QCOMPARE(QAccessible::queryAccessibleInterface(bar.lblCount)->text(QAccessible::Name), u"Matches: 1 of 1"_s);

    // Past the last match, the wrap message joins the count.
    showReports().clear();
    QTest::keyClick(bar.edtFindText, Qt::Key_Return);
    QCOMPARE(field->text(QAccessible::Description), u"1 of 1. Passed the end, continued from the top"_s);
    QVERIFY(std::any_of(showReports().cbegin(), showReports().cend(), countChange));
}

void tst_Accessibility::returningToTheTreeReportsItsCell()
{
    MainWindowFixture f;
    f.open(f.writeFile(u"back.ini"_s, SampleIni));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.view().setFocus();
    f.view().selectSingleNode(f.tree().optionIndex(0, 1));
    f.view().setFocusedColumn(1);
    const auto lastReportIsTheCell = [] {
        return !focusReports().isEmpty() && focusReports().constLast().role == QAccessible::TreeItem
            && focusReports().constLast().name == u"2"_s;
    };

    // From a menu: opened and closed with the keyboard.
    QMenu *edit = f.window->findChild<QMenu *>(u"miEdit"_s);
    edit->popup(f.window->mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(edit));
    focusReports().clear();
    QTest::keyClick(edit, Qt::Key_Escape);
    QTRY_VERIFY(!edit->isVisible());
    QTRY_VERIFY(lastReportIsTheCell());

    // From the find bar, closed with Esc.
    f.trigger("actEditFind");
    QTRY_VERIFY(f.window->findBar()->edtFindText->hasFocus());
    focusReports().clear();
    QTest::keyClick(f.window->findBar()->edtFindText, Qt::Key_Escape);
    QTRY_VERIFY(f.view().hasFocus());
    f.view().selectSingleNode(f.tree().optionIndex(0, 1));
    QTRY_VERIFY(!focusReports().isEmpty());
    QTRY_COMPARE(focusReports().constLast().role, QAccessible::TreeItem);

    // From the cell editor, left with Esc.
    f.view().setFocusedColumn(1);
    QTest::keyClick(&f.view(), Qt::Key_F2);
    QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()) != nullptr);
    focusReports().clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(f.view().hasFocus());
    QTRY_VERIFY(lastReportIsTheCell());
}

void tst_Accessibility::diskChangeBarIsANotification()
{
    MainWindowFixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    DiskChangeBar *bar = f.window->diskChangeBar();
    showReports().clear();
    bar->showChange(false);
    // Its appearance is reported with the message, which is what a screen reader says.
    const auto shown = [bar](const FocusReport &report) {
        return report.object == bar && report.role == QAccessible::Notification
            && report.name == u"The file has changed on disk."_s;
    };
    QVERIFY(std::any_of(showReports().cbegin(), showReports().cend(), shown));
    QAccessibleInterface *node = QAccessible::queryAccessibleInterface(bar);
    QCOMPARE(node->role(), QAccessible::Notification);
    QCOMPARE(node->text(QAccessible::Name), u"The file has changed on disk."_s);
    QVERIFY(node->state().focusable == false);
    bar->hide();
    bar->showChange(true);
    QCOMPARE(node->text(QAccessible::Name), u"The file has been deleted on disk."_s);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
