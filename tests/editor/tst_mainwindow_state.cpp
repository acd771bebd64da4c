// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's make-up and its state table: caption, status panels and the enable rules.
#include "dialogs/errordisplay.h"
#include "editor/commandstate.h"
#include "mainwindowfixture.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

class tst_MainWindowState : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enableRulesFollowTreeState_data();
    void enableRulesFollowTreeState();
    void startsUntitledWithDocumentCommandsDisabled();
    void actionsCarryTheirTableEntries_data();
    void actionsCarryTheirTableEntries();
    void menusAndToolbarListCommandsInOrder();
    void enabledStateFollowsFocusAndSelection();
    void captionShowsTheNameAfterTheLastSlashVerbatim_data();
    void captionShowsTheNameAfterTheLastSlashVerbatim();
    void hintsGoToTheFirstPanel();
    void errorMessagesEndInAFullStop_data();
    void errorMessagesEndInAFullStop();
};

void tst_MainWindowState::enableRulesFollowTreeState_data()
{
    QTest::addColumn<int>("sections");
    QTest::addColumn<int>("focusedLevel");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("enabled"); // D document, S section, A add option, O option, X delete selection

    QTest::newRow("empty tree") << 0 << -1 << 0 << "";
    QTest::newRow("empty tree, stale selection") << 0 << -1 << 2 << "";
    QTest::newRow("section focused") << 1 << 0 << 0 << "DSA";
    QTest::newRow("option focused") << 3 << 1 << 0 << "DAO";
    QTest::newRow("option focused, selection") << 3 << 1 << 1 << "DAOX";
    QTest::newRow("no focus") << 2 << -1 << 0 << "DA";
    QTest::newRow("no focus, selection") << 2 << -1 << 3 << "DAX";
}

void tst_MainWindowState::enableRulesFollowTreeState()
{
    QFETCH(int, sections);
    QFETCH(int, focusedLevel);
    QFETCH(int, selected);
    QFETCH(QString, enabled);
    const CommandState state = commandState(sections, focusedLevel, selected);
    QCOMPARE(state.documentCommands, enabled.contains(u'D'));
    QCOMPARE(state.sectionCommands, enabled.contains(u'S'));
    QCOMPARE(state.optionAdd, enabled.contains(u'A'));
    QCOMPARE(state.optionCommands, enabled.contains(u'O'));
    QCOMPARE(state.deleteSelection, enabled.contains(u'X'));
}

void tst_MainWindowState::startsUntitledWithDocumentCommandsDisabled()
{
    MainWindowFixture f;
    QCOMPARE(f.caption(), QStringLiteral("Untitled - YorvSaldrix"));
    QCOMPARE(f.modifiedPanel(), QString());
    for (const char *name : { "actFileSave", "actFileSaveAs", "actFileClose", "actFileExportCD", "actEditSectionDelete",
             "actEditSectionRename", "actEditOptionAdd", "actEditOptionDelete", "actEditOptionRename",
             "actEditOptionModifyValue", "actEditDeleteSelection" })
        QVERIFY2(!f.action(name)->isEnabled(), name);
    for (const char *name : { "actFileNew", "actFileOpen", "actFileExit", "actHelpAbout", "actEditSectionAdd" })
        QVERIFY2(f.action(name)->isEnabled(), name);
}

void tst_MainWindowState::actionsCarryTheirTableEntries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<int>("image");
    QTest::addColumn<int>("tag");

    const auto row = [](const char *name, const char *category, const char *caption, const char *shortcut,
                         const char *hint, int image, int tag) {
        QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(category) << QString::fromUtf8(caption)
                            << QString::fromUtf8(shortcut) << QString::fromUtf8(hint) << image << tag;
    };
    row("actFileNew", "File", "&New", "Ctrl+N", "New iNi file.", 4, 11);
    row("actFileOpen", "File", "&Open...", "Ctrl+O", "Opens an existing iNi file.", 5, 12);
    row("actFileSave", "File", "&Save", "Ctrl+S", "Saves the current iNi file.", 7, 13);
    row("actFileSaveAs", "File", "Save &As...", "Alt+S", "Saves the current work as an new iNi file.", 8, 14);
    row("actFileClose", "File", "&Close", "Ctrl+F4", "Closes the current iNi file.", 9, 15);
    row("actFileExportCD", "File", "Export &CDPlayer.iNi", "",
        "Exports the cdplayer.ini to an easy readable text file.", 10, 0);
    row("actFileExit", "File", "E&xit", "Alt+F4", "Quit the application.", 11, 0);
    row("actHelpAbout", "Help", "&About", "", "About the YorvSaldrix", 20, 0);
    row("actEditSectionAdd", "Edit", "&Add Section", "Alt+Ins", "Adds a new section", 12, 0);
    row("actEditSectionDelete", "Edit", "&Delete Section", "Alt+Del", "Deletes the selected section", 13, 0);
    row("actEditSectionRename", "Edit", "&Rename Section", "", "Renames the selected section", 14, 0);
    // The option commands show the shared keys; the section commands answer them.
    row("actEditOptionAdd", "Edit", "A&dd Option", "Alt+Ins", "Adds a new option", 15, 0);
    row("actEditOptionDelete", "Edit", "De&lete Option", "Alt+Del", "Deletes the selected option", 16, 0);
    row("actEditOptionRename", "Edit", "Re&name Option", "", "Renames the selected option", 17, 0);
    row("actEditOptionModifyValue", "Edit", "&Modify Option Value", "", "Modifys value for the selected option", 18, 0);
    row("actEditDeleteSelection", "Edit", "Delete &Selection", "", "Deletes all that is selected", 19, 0);
}

void tst_MainWindowState::actionsCarryTheirTableEntries()
{
    QFETCH(QString, name);
    MainWindowFixture f;
    const QAction *action = f.action(name.toLatin1().constData());
    QTEST(action->property("Category").toString(), "category");
    QTEST(action->text(), "caption");
    QTEST(action->shortcut().toString(QKeySequence::PortableText), "shortcut");
    QTEST(action->statusTip(), "hint");
    QTEST(action->property("ImageIndex").toInt(), "image");
    QTEST(action->property("Tag").toInt(), "tag");
    QVERIFY(!action->icon().isNull());
    QVERIFY(!action->icon().pixmap(16, 16).isNull());
}

namespace {

QStringList names(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions)
        result << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    return result;
}

} // namespace

void tst_MainWindowState::menusAndToolbarListCommandsInOrder()
{
    MainWindowFixture f;
    QStringList menuTitles;
    for (const QAction *menu : f.window->menuBar()->actions())
        menuTitles << menu->text();
    QCOMPARE(menuTitles, QStringList({ "&File", "&Edit", "&View", "&Help" }));
    QCOMPARE(names(f.child<QMenu>("miFile")->actions()),
        QStringList({ "actFileNew", "actFileOpen", "miFileReopenAction", "actFileSave", "actFileSaveAs", "actFileClose",
            "|", "actFileExportCD", "|", "actFileExit" }));
    const QStringList editCommands { "actEditSectionAdd", "actEditSectionDelete", "actEditSectionRename", "|",
        "actEditOptionAdd", "actEditOptionDelete", "actEditOptionRename", "actEditOptionModifyValue", "|",
        "actEditDeleteSelection", "|", "actEditUndo", "actEditRedo", "|", "actEditFind", "|", "actEditCut",
        "actEditCopy", "actEditPaste" };
    QCOMPARE(names(f.child<QMenu>("miEdit")->actions()), editCommands);
    QCOMPARE(names(f.child<QMenu>("PopupMenu")->actions()),
        QStringList({ "pmiEditSectionAdd", "pmiEditSectionDelete", "pmiEditSectionRename", "|", "pmiEditOptionAdd",
            "pmiEditOptionDelete", "pmiEditOptionRename", "pmiEditOptionModify", "|", "pmiEditDeleteSelection", "|",
            "actEditFind", "|", "actEditCut", "actEditCopy", "actEditPaste" }));
    QCOMPARE(names(f.child<QMenu>("miHelp")->actions()), QStringList({ "actHelpAbout", "actHelpContents" }));

    QStringList toolbar = names(f.child<QToolBar>("ToolBar")->actions());
    toolbar[2]
        = f.child<QToolBar>("ToolBar")->widgetForAction(f.child<QToolBar>("ToolBar")->actions().at(2))->objectName();
    QCOMPARE(toolbar,
        QStringList({ "actFileNew", "actFileOpen", "ToolButton3", "actFileSave", "actFileSaveAs", "actFileClose", "|",
            "actEditSectionAdd", "actEditSectionDelete", "actEditSectionRename", "|", "actEditOptionAdd",
            "actEditOptionDelete", "actEditOptionRename", "actEditOptionModifyValue", "|", "actEditDeleteSelection",
            "|", "actFileExportCD", "actHelpAbout", "actFileExit" }));
    QCOMPARE(f.child<QToolButton>("ToolButton3")->defaultAction()->text(), QStringLiteral("&Reopen"));
    QCOMPARE(f.child<QToolButton>("ToolButton3")->defaultAction()->menu<QMenu *>(), f.child<QMenu>("miFileReopen"));
    QCOMPARE(f.child<QToolButton>("ToolButton3")->popupMode(), QToolButton::InstantPopup);
}

void tst_MainWindowState::enabledStateFollowsFocusAndSelection()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("sample.ini"), SampleIni));
    const auto enabled = [&f] {
        QString result;
        for (const char *name : { "actFileSave", "actEditSectionDelete", "actEditOptionAdd", "actEditOptionDelete",
                 "actEditDeleteSelection" })
            result += f.action(name)->isEnabled() ? u'1' : u'0';
        return result;
    };
    // A freshly opened file has its first section focused and nothing selected.
    QCOMPARE(f.focusedName(), QStringLiteral("a"));
    QCOMPARE(f.view().selectionCount(), 0);
    QCOMPARE(enabled(), QStringLiteral("11100"));
    f.view().setFocusedNode(f.tree().optionIndex(0, 1));
    QCOMPARE(enabled(), QStringLiteral("10110"));
    f.view().selectNode(f.tree().optionIndex(0, 0));
    QCOMPARE(enabled(), QStringLiteral("10111"));
    f.view().clearNodeSelection();
    QCOMPARE(enabled(), QStringLiteral("10110"));
    // Removing every node by hand leaves nothing to act on.
    f.tree().removeRows(0, 2);
    QCOMPARE(enabled(), QStringLiteral("00000"));
    QVERIFY(f.action("actEditSectionAdd")->isEnabled());
}

void tst_MainWindowState::captionShowsTheNameAfterTheLastSlashVerbatim_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    QTest::newRow("plain") << "settings.ini"
                           << "settings.ini - YorvSaldrix";
    QTest::newRow("placeholder in the name") << "%1 and %2.ini"
                                             << "%1 and %2.ini - YorvSaldrix";
    // On Linux a backslash or a colon is part of the name, not a folder separator.
    QTest::newRow("backslash and colon") << "c:\\dir\\x.ini"
                                         << "c:\\dir\\x.ini - YorvSaldrix";
    QTest::newRow("modified mark in the name") << "draft[*].ini"
                                               << "draft[*].ini - YorvSaldrix";
}

void tst_MainWindowState::captionShowsTheNameAfterTheLastSlashVerbatim()
{
    QFETCH(QString, file);
    MainWindowFixture f;
    f.open(f.writeFile(file, SampleIni));
    f.window->winId(); // the platform window's title is what the user sees
    QTEST(f.window->windowHandle()->title(), "caption");
    QCOMPARE(f.window->fileName(), f.path(file));
    QCOMPARE(f.modifiedPanel(), QString());
    f.trigger("actEditSectionAdd");
    QCOMPARE(f.modifiedPanel(), QStringLiteral("Modified"));
}

void tst_MainWindowState::hintsGoToTheFirstPanel()
{
    MainWindowFixture f;
    auto *panel = f.window->findChild<QLabel *>(QStringLiteral("StatusPanel0"));
    QWidget *button = f.child<QToolBar>("ToolBar")->widgetForAction(f.action("actFileOpen"));
    QVERIFY(f.action("actFileOpen")->showStatusText(button));
    QCOMPARE(panel->text(), QStringLiteral("Opens an existing iNi file."));
    // Menu items hand their hint to the menu bar, or, in the pop-up menu, to the action's window.
    f.action("actFileSave")->showStatusText(f.window->menuBar());
    QCOMPARE(panel->text(), QStringLiteral("Saves the current iNi file."));
    f.action("actEditSectionAdd")->showStatusText();
    QCOMPARE(panel->text(), QStringLiteral("Adds a new section"));
}

void tst_MainWindowState::errorMessagesEndInAFullStop_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Unable to read a.ini"
                            << "Unable to read a.ini.";
    QTest::newRow("digit") << "Error 5"
                           << "Error 5.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("exclamation") << "Stop!"
                                 << "Stop!";
    QTest::newRow("closing parenthesis") << "Failed (disk)"
                                         << "Failed (disk)";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_MainWindowState::errorMessagesEndInAFullStop()
{
    QFETCH(QString, message);
    QTEST(withFullStop(message), "shown");
}

QTEST_MAIN(tst_MainWindowState)
#include "tst_mainwindow_state.moc"
