// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The section and option editing commands, their questions and the shared shortcut keys.
#include "mainwindowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

class tst_MainWindowEdit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesCountOnForTheWholeRun();
    void addSectionOnAnEmptyTreeFocusesAndSelectsIt();
    void addOptionGoesToTheEndOfTheFocusedSection();
    void deleteAsksAboutWhatItWillDelete_data();
    void deleteAsksAboutWhatItWillDelete();
    void deleteFocusesTheNodeAboveOrBelow_data();
    void deleteFocusesTheNodeAboveOrBelow();
    void deletingEverySectionLeavesOnlyAddSection();
    void renameMarksTheDocumentBeforeAnyTyping();
    void sharedKeysRunTheSectionCommands_data();
    void sharedKeysRunTheSectionCommands();
    void toolbarTipsNameTheKeyThatRunsTheButton();
    void altKeysNeverClash();
};

void tst_MainWindowEdit::namesCountOnForTheWholeRun()
{
    MainWindowFixture f;
    f.trigger("actEditSectionAdd");
    f.trigger("actEditOptionAdd");
    f.trigger("actEditSectionAdd");
    QCOMPARE(f.outline(), QStringLiteral("New Section #1(New option #1=) New Section #2()"));
    // Neither New nor Open starts the numbering again, and a loaded name of the same form is no hint.
    f.dialogs.saveAnswers << UserDialogs::Answer::No;
    f.trigger("actFileNew");
    f.open(f.writeFile(QStringLiteral("doc.ini"), "[New Section #1]\nNew option #1=v\n"));
    f.trigger("actEditSectionAdd");
    f.trigger("actEditOptionAdd");
    QCOMPARE(f.outline(), QStringLiteral("New Section #1(New option #1=v) New Section #3(New option #2=)"));
    QVERIFY(f.dialogs.settled());
}

void tst_MainWindowEdit::addSectionOnAnEmptyTreeFocusesAndSelectsIt()
{
    MainWindowFixture f;
    f.trigger("actEditSectionAdd");
    QCOMPARE(f.focusedName(), QStringLiteral("New Section #1"));
    QCOMPARE(f.selectedNames(), QStringList({ "New Section #1" }));
    QVERIFY(f.window->isModified());
    QCOMPARE(f.modifiedPanel(), QStringLiteral("Modified"));
    QCOMPARE(f.caption(), QStringLiteral("Untitled - YorvSaldrix"));
    QVERIFY(f.action("actFileSave")->isEnabled());
    QVERIFY(f.action("actEditSectionRename")->isEnabled());
    QVERIFY(!f.view().isEditing()); // adding opens no editor
}

void tst_MainWindowEdit::addOptionGoesToTheEndOfTheFocusedSection()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    // From an option: the end of that option's section, not after the option.
    f.view().setFocusedNode(f.tree().optionIndex(0, 0));
    f.trigger("actEditOptionAdd");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2,New option #1=) b(z=3)"));
    QCOMPARE(f.selectedNames(), QStringList({ "New option #1" }));
    // From a collapsed section: the section opens to show the new option.
    f.view().collapse(f.tree().sectionIndex(1));
    f.view().setFocusedNode(f.tree().sectionIndex(1));
    f.trigger("actEditOptionAdd");
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2,New option #1=) b(z=3,New option #2=)"));
    QVERIFY(f.view().isExpanded(f.tree().sectionIndex(1)));
    QCOMPARE(f.focusedName(), QStringLiteral("New option #2"));
    QCOMPARE(f.selectedNames(), QStringList({ "New option #2" }));
}

void tst_MainWindowEdit::deleteAsksAboutWhatItWillDelete_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("focus"); // "s.o": section s, option o (-1 for the section itself)
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("afterYes");

    QTest::newRow("section, nothing selected")
        << QByteArray("actEditSectionDelete") << "0.-1" << QStringList() << "section?"
        << "b(z=3)";
    QTest::newRow("option, nothing selected")
        << QByteArray("actEditOptionDelete") << "0.1" << QStringList() << "option?"
        << "a(x=1) b(z=3)";
    QTest::newRow("one node selected") << QByteArray("actEditDeleteSelection") << "1.-1" << QStringList({ "1.-1" })
                                       << "ALL selected items?"
                                       << "a(x=1,y=2)";
    // Whichever delete runs, a selection is what goes: here options of another section.
    QTest::newRow("section focused, options selected")
        << QByteArray("actEditSectionDelete") << "1.-1" << QStringList({ "0.0", "0.1" }) << "ALL selected items?"
        << "a() b(z=3)";
}

namespace {

QModelIndex nodeFor(const DocumentTree &tree, const QString &where)
{
    const QStringList parts = where.split(u'.');
    const int section = parts.at(0).toInt();
    const int option = parts.at(1).toInt();
    return option < 0 ? tree.sectionIndex(section) : tree.optionIndex(section, option);
}

} // namespace

void tst_MainWindowEdit::deleteAsksAboutWhatItWillDelete()
{
    QFETCH(QByteArray, command);
    QFETCH(QString, focus);
    QFETCH(QStringList, selected);
    QFETCH(QString, question);
    QFETCH(QString, afterYes);

    for (const bool yes : { false, true }) {
        MainWindowFixture f;
        f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
        f.view().expandAll();
        f.view().setFocusedNode(nodeFor(f.tree(), focus));
        for (const QString &node : selected)
            f.view().selectNode(nodeFor(f.tree(), node));
        f.dialogs.confirmAnswers << yes;
        f.trigger(command.constData());
        QCOMPARE(f.dialogs.asked, QStringList({ "file:OpenDialog1", "Do you really want to delete " + question }));
        QCOMPARE(f.outline(), yes ? afterYes : QStringLiteral("a(x=1,y=2) b(z=3)"));
        QCOMPARE(f.window->isModified(), yes);
        QCOMPARE(f.modifiedPanel(), yes ? QStringLiteral("Modified") : QString());
    }
}

void tst_MainWindowEdit::deleteFocusesTheNodeAboveOrBelow_data()
{
    QTest::addColumn<QStringList>("doomed"); // selected nodes, or the focused one alone
    QTest::addColumn<bool>("expanded");
    QTest::addColumn<QString>("target");

    QTest::newRow("first section") << QStringList({ "0.-1" }) << false << "b";
    QTest::newRow("last section, previous collapsed") << QStringList({ "1.-1" }) << false << "a";
    QTest::newRow("last section, previous expanded") << QStringList({ "1.-1" }) << true << "y";
    QTest::newRow("first option") << QStringList({ "0.0" }) << true << "a";
    QTest::newRow("second option") << QStringList({ "0.1" }) << true << "x";
    QTest::newRow("every option of a section") << QStringList({ "0.0", "0.1" }) << true << "a";
}

void tst_MainWindowEdit::deleteFocusesTheNodeAboveOrBelow()
{
    QFETCH(QStringList, doomed);
    QFETCH(bool, expanded);
    QFETCH(QString, target);

    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    if (expanded)
        f.view().expandAll();
    f.view().setFocusedNode(nodeFor(f.tree(), doomed.constFirst()));
    if (doomed.size() > 1) {
        for (const QString &node : doomed)
            f.view().selectNode(nodeFor(f.tree(), node));
    }
    const char *command = doomed.size() > 1 ? "actEditDeleteSelection"
        : f.view().focusedLevel() == 0      ? "actEditSectionDelete"
                                            : "actEditOptionDelete";
    f.dialogs.confirmAnswers << true;
    f.trigger(command);
    QVERIFY(f.dialogs.settled());
    QCOMPARE(f.focusedName(), target);
    QCOMPARE(f.selectedNames(), QStringList({ target }));
}

void tst_MainWindowEdit::deletingEverySectionLeavesOnlyAddSection()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    f.view().selectNode(f.tree().sectionIndex(0));
    f.view().selectNode(f.tree().sectionIndex(1));
    f.dialogs.confirmAnswers << true;
    f.trigger("actEditDeleteSelection");
    QCOMPARE(f.tree().sectionCount(), 0);
    QVERIFY(!f.view().focusedNode().isValid());
    // Of the section and option commands; Undo, Redo and Find at the menu's end are not among them.
    for (QAction *action : f.child<QMenu>("miEdit")->actions().mid(0, 10)) {
        if (!action->isSeparator())
            QCOMPARE(action->isEnabled(), action == f.action("actEditSectionAdd"));
    }
    // The empty document cannot be saved nor closed, yet New still clears it.
    QVERIFY(!f.action("actFileSave")->isEnabled());
    QVERIFY(!f.action("actFileClose")->isEnabled());
    f.dialogs.saveAnswers << UserDialogs::Answer::Yes << UserDialogs::Answer::No;
    f.trigger("actFileNew");
    QVERIFY(f.window->isModified());
    QCOMPARE(f.window->fileName(), f.path(QStringLiteral("doc.ini")));
    f.trigger("actFileNew");
    QVERIFY(!f.window->isModified());
    QCOMPARE(f.caption(), QStringLiteral("Untitled - YorvSaldrix"));
    QVERIFY(f.dialogs.settled());
}

void tst_MainWindowEdit::renameMarksTheDocumentBeforeAnyTyping()
{
    MainWindowFixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    f.trigger("actEditSectionRename");
    QVERIFY(f.window->isModified());
    QCOMPARE(f.modifiedPanel(), QStringLiteral("Modified"));
    QTRY_VERIFY(f.view().isEditing());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!f.view().isEditing());
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
    QVERIFY(f.window->isModified());
    // Modify Option Value moves the focused cell to the value column and edits it.
    f.view().setFocusedNode(f.tree().optionIndex(0, 1));
    f.trigger("actEditOptionModifyValue");
    QCOMPARE(f.view().focusedColumn(), 1);
    QCOMPARE(f.focusedName(), QStringLiteral("y"));
    QTRY_VERIFY(f.view().isEditing());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(f.tree().optionText(0, 1, 1), QStringLiteral("7"));
}

void tst_MainWindowEdit::sharedKeysRunTheSectionCommands_data()
{
    QTest::addColumn<QString>("focus"); // "" empty tree
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("question"); // "" none asked
    QTest::addColumn<QString>("outline");

    QTest::newRow("Alt+Ins, empty tree") << "" << int(Qt::Key_Insert) << ""
                                         << "New Section #1()";
    QTest::newRow("Alt+Ins, option focused") << "0.1" << int(Qt::Key_Insert) << ""
                                             << "a(x=1,y=2) b(z=3) New Section #1()";
    QTest::newRow("Alt+Del, section focused") << "1.-1" << int(Qt::Key_Delete) << "section?"
                                              << "a(x=1,y=2)";
    QTest::newRow("Alt+Del, option focused") << "0.1" << int(Qt::Key_Delete) << ""
                                             << "a(x=1,y=2) b(z=3)";
    QTest::newRow("Alt+Del, empty tree") << "" << int(Qt::Key_Delete) << ""
                                         << "";
}

void tst_MainWindowEdit::sharedKeysRunTheSectionCommands()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, question);

    MainWindowFixture f;
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    if (!focus.isEmpty()) {
        f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
        f.view().expandAll();
        f.view().setFocusedNode(nodeFor(f.tree(), focus));
    }
    f.view().setFocus();
    f.dialogs.asked.clear();
    if (!question.isEmpty())
        f.dialogs.confirmAnswers << true;
    QTest::keyClick(&f.view(), Qt::Key(key), Qt::AltModifier);
    QVERIFY(f.dialogs.settled());
    QCOMPARE(f.dialogs.asked,
        question.isEmpty() ? QStringList() : QStringList({ "Do you really want to delete " + question }));
    QTEST(f.outline(), "outline");
}

void tst_MainWindowEdit::toolbarTipsNameTheKeyThatRunsTheButton()
{
    MainWindowFixture f;
    const QList<std::pair<const char *, QString>> tips {
        { "actEditSectionAdd", QStringLiteral("Add Section (Alt+Ins)") },
        { "actEditSectionDelete", QStringLiteral("Delete Section (Alt+Del)") },
        { "actEditOptionAdd", QStringLiteral("Add Option") },
        { "actEditOptionDelete", QStringLiteral("Delete Option") },
        { "actFileSave", QStringLiteral("Save (Ctrl+S)") },
        { "actFileOpen", QStringLiteral("Open (Ctrl+O)") },
        { "actEditDeleteSelection", QStringLiteral("Delete Selection") },
    };
    for (const auto &[name, tip] : tips)
        QCOMPARE(f.action(name)->toolTip(), tip);
    // The menus still show the shared keys beside the option commands, which never answer them:
    // with an option focused and with the Edit menu open, Alt+Ins adds a section.
    QCOMPARE(f.action("actEditOptionAdd")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Insert));
    QCOMPARE(f.action("actEditOptionDelete")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Delete));
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    f.view().expandAll();
    f.view().setFocusedNode(f.tree().optionIndex(0, 0));
    f.view().setFocus();
    QTest::keyClick(&f.view(), Qt::Key_Insert, Qt::AltModifier);
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3) New Section #1()"));
    auto *edit = f.window->findChild<QMenu *>(QStringLiteral("miEdit"));
    edit->popup(f.window->mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(edit));
    QTest::keyClick(edit, Qt::Key_Insert, Qt::AltModifier);
    edit->close();
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3) New Section #1() New Section #2()"));
}

// The window's Alt keys, gathered from its widgets: the menu bar's menus, the buttons and labelled
// fields of every bar (shown or not), and the actions' own Alt keys. No key may reach two of them.
// Inside each menu no two items share a letter either, but for the two pairs whose captions are
// given as they are: "&Delete Section" and "A&dd Option", "&Close" and "Export &CDPlayer.iNi".
void tst_MainWindowEdit::altKeysNeverClash()
{
    MainWindowFixture f;
    QMap<QKeySequence, QStringList> owners;
    const auto add = [&owners](const QKeySequence &key, const QString &owner) {
        if (!key.isEmpty())
            owners[key] << owner;
    };
    for (const QAction *menu : f.window->menuBar()->actions())
        add(QKeySequence::mnemonic(menu->text()), menu->text());
    for (const QAbstractButton *button : f.window->findChildren<QAbstractButton *>()) {
        if (button->window() == f.window.get())
            add(QKeySequence::mnemonic(button->text()), button->objectName());
    }
    for (const QLabel *label : f.window->findChildren<QLabel *>()) {
        if (label->window() == f.window.get() && label->buddy() != nullptr)
            add(QKeySequence::mnemonic(label->text()), label->objectName());
    }
    for (const QAction *action : f.window->findChildren<QAction *>()) {
        for (const QKeySequence &key : action->shortcuts()) {
            const QKeyCombination combination = key[0];
            const int letter = static_cast<int>(combination.key());
            if (key.count() == 1 && combination.keyboardModifiers() == Qt::AltModifier
                && ((letter >= Qt::Key_A && letter <= Qt::Key_Z) || (letter >= Qt::Key_0 && letter <= Qt::Key_9)))
                add(key, action->objectName());
        }
    }
    // The bars' controls are among them.
    for (const char *name :
        { "btnReload", "btnIgnore", "lblFind", "btnFindPrevious", "btnFindNext", "btnFindOptions", "btnClose" })
        QVERIFY2(std::any_of(owners.cbegin(), owners.cend(), [name](const QStringList &o) { return o.contains(name); }),
            name);
    for (auto key = owners.cbegin(); key != owners.cend(); ++key)
        QVERIFY2(key.value().size() == 1, qPrintable(key.key().toString() + u' ' + key.value().join(u',')));

    const QList<QStringList> givenPairs { { QStringLiteral("&Delete Section"), QStringLiteral("A&dd Option") },
        { QStringLiteral("&Close"), QStringLiteral("Export &CDPlayer.iNi") } };
    for (const QMenu *menu : f.window->findChildren<QMenu *>()) {
        QMap<QKeySequence, QStringList> items;
        for (const QAction *action : menu->actions()) {
            const QKeySequence key = QKeySequence::mnemonic(action->text());
            if (!action->isSeparator() && !key.isEmpty())
                items[key] << action->text().section(u'\t', 0, 0);
        }
        for (auto key = items.cbegin(); key != items.cend(); ++key) {
            QVERIFY2(key.value().size() == 1 || givenPairs.contains(key.value()),
                qPrintable(menu->objectName() + u' ' + key.key().toString() + u' ' + key.value().join(u',')));
        }
    }

    // Alt+E, R opens the in-place editor on the focused section's name.
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.view().setFocus();
    QTest::keyClick(f.window.get(), Qt::Key_E, Qt::AltModifier);
    QMenu *edit = f.child<QMenu>("miEdit");
    QTRY_VERIFY(edit->isVisible());
    QTest::keyClick(edit, Qt::Key_R);
    QTRY_VERIFY(f.view().isEditing());
    QVERIFY(f.window->isModified());
}

QTEST_MAIN(tst_MainWindowEdit)
#include "tst_mainwindow_edit.moc"
