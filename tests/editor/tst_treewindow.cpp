// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tree inside the real main window: what its behaviour means to the document and the window.
#include "mainwindowfixture.h"
#include "treedragplay.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace {

QLineEdit *openEditor(TreeList &tree)
{
    for (QLineEdit *editor : tree.viewport()->findChildren<QLineEdit *>()) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}

QPoint cellPoint(TreeList &tree, const QModelIndex &node, int column)
{
    const QRect cell = tree.visualRect(node.siblingAtColumn(column));
    return column == 0 ? QPoint(cell.left() + TreeGeometry::ImageBoxWidth + 6, cell.center().y()) : cell.center();
}

// A shown, active window with the sample document open and the keyboard focus in the tree.
bool openSample(MainWindowFixture &f)
{
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    if (!QTest::qWaitForWindowActive(f.window.get()))
        return false;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    f.view().setFocus();
    return QTest::qWaitFor([&f] { return f.view().hasFocus(); });
}

} // namespace

class tst_TreeWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void inPlaceEditsMarkTheDocumentOnlyWhenTheTextChanges();
    void dropMovesAndShowsModified();
    void popupMenuMirrorsTheEditCommands();
    void rightButtonAndMenuKeyOpenThePopupMenu();
};

void tst_TreeWindow::inPlaceEditsMarkTheDocumentOnlyWhenTheTextChanges()
{
    MainWindowFixture f;
    QVERIFY(openSample(f));
    f.view().expandAll();
    f.view().setFocusedNode(f.tree().optionIndex(0, 0));
    f.view().setFocusedColumn(1);

    // Stored unchanged, or cancelled: nothing to save.
    QTest::keyClick(&f.view(), Qt::Key_F2);
    QTest::keyClick(openEditor(f.view()), Qt::Key_Return);
    QTRY_VERIFY(!f.view().isEditing());
    QTest::keyClick(&f.view(), Qt::Key_F2);
    openEditor(f.view())->setText(QStringLiteral("dropped"));
    QTest::keyClick(openEditor(f.view()), Qt::Key_Escape);
    QTRY_VERIFY(!f.view().isEditing());
    QVERIFY(!f.window->isModified());
    QCOMPARE(f.modifiedPanel(), QString());

    // A changed text is an unsaved change, shown at once, though no command opened the editor.
    QTest::keyClick(&f.view(), Qt::Key_F2);
    openEditor(f.view())->setText(QStringLiteral("42"));
    QTest::keyClick(openEditor(f.view()), Qt::Key_Down);
    QTRY_VERIFY(!f.view().isEditing());
    QCOMPARE(f.outline(), QStringLiteral("a(x=42,y=2) b(z=3)"));
    QVERIFY(f.window->isModified());
    QCOMPARE(f.modifiedPanel(), QStringLiteral("Modified"));
    QCOMPARE(f.focusedName(), QStringLiteral("y"));

    f.dialogs.saveAnswers << UserDialogs::Answer::Cancel;
    QVERIFY(!f.window->close());
    QVERIFY(f.dialogs.settled());
}

void tst_TreeWindow::dropMovesAndShowsModified()
{
    MainWindowFixture f;
    QVERIFY(openSample(f));
    TreeList &tree = f.view();
    tree.expand(f.tree().sectionIndex(0));

    // A drop that moves nothing (nothing is selected) is no change.
    const QPoint onB = tree.viewport()->mapTo(&tree, cellPoint(tree, f.tree().sectionIndex(1), 0));
    f.window->TreeListDragDrop(&tree, &tree, onB.x(), onB.y());
    QVERIFY(!f.window->isModified());

    DragPlay play(&tree);
    play.dropAt = cellPoint(tree, f.tree().sectionIndex(1), 0);
    play.dragFrom(cellPoint(tree, f.tree().optionIndex(0, 0), 0), { 0, 8 });
    QVERIFY(play.dropped);
    QCOMPARE(f.window->dragNodeLevel(), 1);
    QCOMPARE(f.outline(), QStringLiteral("a(y=2) b(z=3,x=1)"));
    QVERIFY(f.window->isModified());
    QCOMPARE(f.modifiedPanel(), QStringLiteral("Modified"));
}

void tst_TreeWindow::popupMenuMirrorsTheEditCommands()
{
    MainWindowFixture f;
    QVERIFY(openSample(f));
    auto *menu = f.window->findChild<QMenu *>(QStringLiteral("PopupMenu"));
    QVERIFY(menu != nullptr);
    QCOMPARE(f.view().popupMenu(), menu);
    const QList<std::pair<const char *, const char *>> items {
        { "pmiEditSectionAdd", "actEditSectionAdd" },
        { "pmiEditSectionDelete", "actEditSectionDelete" },
        { "pmiEditSectionRename", "actEditSectionRename" },
        { "pmiEditOptionAdd", "actEditOptionAdd" },
        { "pmiEditOptionDelete", "actEditOptionDelete" },
        { "pmiEditOptionRename", "actEditOptionRename" },
        { "pmiEditOptionModify", "actEditOptionModifyValue" },
        { "pmiEditDeleteSelection", "actEditDeleteSelection" },
    };
    const auto mirrored = [&](const char *itemName, const char *actionName) {
        const auto *item = menu->findChild<QAction *>(QLatin1String(itemName));
        const QAction *action = f.action(actionName);
        return item != nullptr && item->text() == action->text() && item->statusTip() == action->statusTip()
            && item->shortcut() == action->shortcut() && item->isEnabled() == action->isEnabled()
            && item->icon().cacheKey() == action->icon().cacheKey();
    };
    for (const auto &[item, action] : items)
        QVERIFY2(mirrored(item, action), item);
    QCOMPARE(menu->findChild<QAction *>(QStringLiteral("pmiEditSectionAdd"))->shortcut(),
        QKeySequence(Qt::ALT | Qt::Key_Insert));

    // The enabled state follows the focus; an item runs its command.
    f.view().expandAll();
    f.view().setFocusedNode(f.tree().optionIndex(0, 1));
    for (const auto &[item, action] : items)
        QVERIFY2(mirrored(item, action), item);
    menu->findChild<QAction *>(QStringLiteral("pmiEditOptionAdd"))->trigger();
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2,New option #1=) b(z=3)"));
    QVERIFY(f.window->isModified());
}

void tst_TreeWindow::rightButtonAndMenuKeyOpenThePopupMenu()
{
    MainWindowFixture f;
    QVERIFY(openSample(f));
    TreeList &tree = f.view();
    QMenu *menu = f.child<QMenu>("PopupMenu");
    tree.expandAll();

    // The press focuses and selects first; the platform's context-menu event follows it.
    const QPoint at = cellPoint(tree, f.tree().optionIndex(0, 1), 1);
    QTest::mousePress(tree.viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, tree.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(tree.viewport(), &request);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(f.focusedName(), QStringLiteral("y"));
    QCOMPARE(f.view().focusedColumn(), 1);
    QCOMPARE(f.selectedNames(), QStringList { "y" });
    QVERIFY(menu->findChild<QAction *>(QStringLiteral("pmiEditOptionRename"))->isEnabled());
    QVERIFY(!menu->findChild<QAction *>(QStringLiteral("pmiEditSectionRename"))->isEnabled());
    menu->close();
    QTRY_VERIFY(!menu->isVisible());

    tree.setFocus();
    QTRY_VERIFY(tree.hasFocus());
    QTest::keyClick(&tree, Qt::Key_Menu);
    QTRY_VERIFY(menu->isVisible());
    menu->close();
}

QTEST_MAIN(tst_TreeWindow)
#include "tst_treewindow.moc"
