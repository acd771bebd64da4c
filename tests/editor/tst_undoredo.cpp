// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The history: each kind of change done, undone and redone, the Modified flag that follows it, and
// the fresh history of each new document.
#include "mainwindowfixture.h"

#include "treeview/treemovelog.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QUndoStack>

namespace {

// Every text and image index of the tree, in order: "a|v|0(x|1|1,y|2|1) b||0()".
QString snapshot(const DocumentTree &tree)
{
    QStringList sections;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        QStringList options;
        for (int o = 0; o < tree.optionCount(s); ++o) {
            options << tree.optionText(s, o, 0) + u'|' + tree.optionText(s, o, 1) + u'|'
                    + QString::number(tree.imageIndex(tree.optionIndex(s, o)));
        }
        sections << tree.sectionText(s, 0) + u'|' + tree.sectionText(s, 1) + u'|'
                + QString::number(tree.imageIndex(tree.sectionIndex(s))) + u'(' + options.join(u',') + u')';
    }
    return sections.join(u' ');
}

const QByteArray ThreeSections = "[a]\nx=1\ny=2\nw=4\nv=5\n[b]\nz=3\n[c]\nq=7\n";

} // namespace

class tst_UndoRedo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addingSectionsAndOptions();
    void deletingRestoresTextsImagesAndOrder_data();
    void deletingRestoresTextsImagesAndOrder();
    void scatteredDeleteIsBoundedAndUndoesExactly();
    void editsOfEachCellAreSteps();
    void dropMovesAreOneStep_data();
    void dropMovesAreOneStep();
    void moveLogRevertsEveryKindOfMove();
    void modifiedFollowsTheHistory();
    void newOpenAndCloseStartAnEmptyHistory();
    void keysAndMenuPlace();
};

void tst_UndoRedo::addingSectionsAndOptions()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    const QString loaded = snapshot(f.tree());
    QVERIFY(!f.action("actEditUndo")->isEnabled());
    QVERIFY(!f.action("actEditRedo")->isEnabled());
    QCOMPARE(f.action("actEditUndo")->text(), QStringLiteral("&Undo"));

    f.trigger("actEditSectionAdd");
    const QString afterSection = snapshot(f.tree());
    QCOMPARE(f.action("actEditUndo")->text(), QStringLiteral("&Undo Add Section"));
    f.trigger("actEditOptionAdd");
    const QString afterOption = snapshot(f.tree());
    QCOMPARE(afterOption, loaded + QStringLiteral(" New Section #1||0(New option #1||1)"));
    QCOMPARE(f.action("actEditUndo")->text(), QStringLiteral("&Undo Add Option"));

    f.trigger("actEditUndo");
    QCOMPARE(snapshot(f.tree()), afterSection);
    QCOMPARE(f.action("actEditRedo")->text(), QStringLiteral("Red&o Add Option"));
    QCOMPARE(f.focusedName(), QStringLiteral("New Section #1"));
    f.trigger("actEditUndo");
    QCOMPARE(snapshot(f.tree()), loaded);
    QVERIFY(!f.action("actEditUndo")->isEnabled());
    QCOMPARE(f.focusedName(), QStringLiteral("b")); // the node shown above the removed one

    f.trigger("actEditRedo");
    f.trigger("actEditRedo");
    QCOMPARE(snapshot(f.tree()), afterOption);
    QCOMPARE(f.focusedName(), QStringLiteral("New option #1"));
    QCOMPARE(f.selectedNames(), QStringList({ "New option #1" }));
    QVERIFY(!f.action("actEditRedo")->isEnabled());
}

void tst_UndoRedo::deletingRestoresTextsImagesAndOrder_data()
{
    QTest::addColumn<QString>("focus"); // "s.o", o = -1 for the section
    QTest::addColumn<QStringList>("selected"); // "s.o" each
    QTest::addColumn<QString>("step");
    QTest::addColumn<QStringList>("restored");

    QTest::newRow("focused section") << "0.-1" << QStringList() << "Delete Section" << QStringList { "a" };
    QTest::newRow("focused option") << "0.1" << QStringList() << "Delete Option" << QStringList { "y" };
    QTest::newRow("options with gaps") << "0.0" << QStringList { "0.0", "0.2", "0.3" } << "Delete Selection"
                                       << QStringList { "x", "w", "v" };
    QTest::newRow("sections with gaps") << "0.-1" << QStringList { "0.-1", "2.-1" } << "Delete Selection"
                                        << QStringList { "a", "c" };
    QTest::newRow("last sections") << "1.-1" << QStringList { "1.-1", "2.-1" } << "Delete Selection"
                                   << QStringList { "b", "c" };
}

void tst_UndoRedo::deletingRestoresTextsImagesAndOrder()
{
    QFETCH(QString, focus);
    QFETCH(QStringList, selected);
    QFETCH(QString, step);
    QFETCH(QStringList, restored);

    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), ThreeSections));
    // Values and image indexes a file never gives must come back as well.
    f.tree().setSectionText(0, DocumentTree::ValueColumn, QStringLiteral("kept"));
    f.tree().setImageIndex(f.tree().optionIndex(0, 2), 7);
    f.tree().setImageIndex(f.tree().sectionIndex(2), 5);
    const auto node = [&f](const QString &where) {
        const int s = where.section(u'.', 0, 0).toInt();
        const int o = where.section(u'.', 1, 1).toInt();
        return o < 0 ? f.tree().sectionIndex(s) : f.tree().optionIndex(s, o);
    };
    // Sections come back open or closed as they were.
    f.view().expand(f.tree().sectionIndex(0));
    f.view().expand(f.tree().sectionIndex(2));
    const auto expansion = [&f] {
        QString open;
        for (int s = 0; s < f.tree().sectionCount(); ++s)
            open += f.view().isExpanded(f.tree().sectionIndex(s)) ? u'+' : u'-';
        return open;
    };
    f.view().setFocusedNode(node(focus));
    f.view().clearNodeSelection();
    for (const QString &where : selected)
        f.view().selectNode(node(where));
    const QString before = snapshot(f.tree());
    const QString openBefore = expansion();

    f.dialogs.confirmAnswers << true;
    if (!selected.isEmpty())
        f.trigger("actEditDeleteSelection");
    else
        f.trigger(focus.endsWith(QStringLiteral("-1")) ? "actEditSectionDelete" : "actEditOptionDelete");
    const QString after = snapshot(f.tree());
    QVERIFY(after != before);
    const QString focusAfter = f.focusedName();
    QCOMPARE(f.action("actEditUndo")->text(), QStringLiteral("&Undo ") + step);

    f.trigger("actEditUndo");
    QCOMPARE(snapshot(f.tree()), before);
    QCOMPARE(expansion(), openBefore);
    QCOMPARE(f.selectedNames(), restored);
    QCOMPARE(f.focusedName(), restored.constFirst());
    QCOMPARE(f.action("actEditRedo")->text(), QStringLiteral("Red&o ") + step);

    f.trigger("actEditRedo");
    QCOMPARE(snapshot(f.tree()), after);
    QCOMPARE(f.focusedName(), focusAfter);
    f.trigger("actEditUndo");
    QCOMPARE(snapshot(f.tree()), before);
    QCOMPARE(expansion(), openBefore);
    QVERIFY(f.dialogs.settled()); // undo and redo ask nothing
}

// Many runs are removed and put back in one layout change each; the rows must still come back in
// place, wide texts and image indexes with them, and the view must follow.
void tst_UndoRedo::scatteredDeleteIsBoundedAndUndoesExactly()
{
    QByteArray file = "[a]\n";
    for (int i = 0; i < 60; ++i)
        file += "o" + QByteArray::number(i) + '=' + (i % 7 == 0 ? "\xc3\xa9t\xc3\xa9\xe2\x82\xac" : "v") + '\n';
    for (int i = 0; i < 40; ++i)
        file += "[s" + QByteArray::number(i) + "]\np=" + QByteArray::number(i) + '\n';
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("many.ini"), file));
    f.tree().setImageIndex(f.tree().optionIndex(0, 4), 9);
    f.view().expandAll();
    const QString before = snapshot(f.tree());
    const auto deleteEveryOther = [&f](const QModelIndex &parent, int first, int count) {
        f.view().clearNodeSelection();
        f.view().setFocusedNode(f.tree().index(first, 0, parent));
        for (int row = first; row < first + count; row += 2)
            f.view().selectNode(f.tree().index(row, 0, parent));
        f.dialogs.confirmAnswers << true;
        f.trigger("actEditDeleteSelection");
    };

    deleteEveryOther(f.tree().sectionIndex(0), 0, 60);
    const QString after = snapshot(f.tree());
    QCOMPARE(f.tree().optionCount(0), 30);
    QCOMPARE(f.tree().optionText(0, 0, 0), QStringLiteral("o1"));
    f.trigger("actEditUndo");
    QCOMPARE(snapshot(f.tree()), before);
    QCOMPARE(f.selectedNames().size(), 30);
    QCOMPARE(f.focusedName(), QStringLiteral("o0"));
    QVERIFY(f.view().isExpanded(f.tree().sectionIndex(0)));
    QCOMPARE(f.tree().imageIndex(f.tree().optionIndex(0, 4)), 9);
    QCOMPARE(f.tree().optionText(0, 14, 1), QStringLiteral(u"\u00e9t\u00e9\u20ac"));
    f.trigger("actEditRedo");
    QCOMPARE(snapshot(f.tree()), after);
    f.trigger("actEditUndo");
    QCOMPARE(snapshot(f.tree()), before);

    // Sections go with their options; those that stayed keep their expanded state.
    f.view().collapse(f.tree().sectionIndex(2));
    deleteEveryOther({}, 1, 40);
    QCOMPARE(f.tree().sectionCount(), 21);
    QCOMPARE(f.tree().sectionText(1, 0), QStringLiteral("s1"));
    f.trigger("actEditUndo");
    QCOMPARE(snapshot(f.tree()), before);
    QCOMPARE(f.selectedNames().size(), 20);
    QVERIFY(f.view().isExpanded(f.tree().sectionIndex(4)));
    QVERIFY(!f.view().isExpanded(f.tree().sectionIndex(2)));
}

void tst_UndoRedo::editsOfEachCellAreSteps()
{
    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), SampleIni));
    const QString loaded = snapshot(f.tree());
    // The in-place editor stores its text through setData.
    QVERIFY(f.tree().setData(f.tree().sectionIndex(1), QStringLiteral("bb")));
    QCOMPARE(f.action("actEditUndo")->text(), QStringLiteral("&Undo Rename Section"));
    QVERIFY(f.tree().setData(f.tree().optionIndex(0, 1), QStringLiteral("yy")));
    QCOMPARE(f.action("actEditUndo")->text(), QStringLiteral("&Undo Rename Option"));
    QVERIFY(f.tree().setData(f.tree().optionIndex(0, 0, DocumentTree::ValueColumn), QStringLiteral("one")));
    QCOMPARE(f.action("actEditUndo")->text(), QStringLiteral("&Undo Edit Value"));
    // An unchanged commit is no step.
    QVERIFY(!f.tree().setData(f.tree().optionIndex(0, 0, DocumentTree::ValueColumn), QStringLiteral("one")));
    QCOMPARE(f.window->undoStack()->count(), 3);
    const QString edited = snapshot(f.tree());

    f.trigger("actEditUndo");
    QCOMPARE(f.tree().optionText(0, 0, 1), QStringLiteral("1"));
    QCOMPARE(f.focusedName(), QStringLiteral("x"));
    QCOMPARE(f.view().focusedColumn(), int(DocumentTree::ValueColumn));
    QCOMPARE(f.action("actEditRedo")->text(), QStringLiteral("Red&o Edit Value"));
    f.trigger("actEditUndo");
    QCOMPARE(f.action("actEditRedo")->text(), QStringLiteral("Red&o Rename Option"));
    f.trigger("actEditUndo");
    QCOMPARE(snapshot(f.tree()), loaded);
    QCOMPARE(f.selectedNames(), QStringList({ "b" }));
    for (int i = 0; i < 3; ++i)
        f.trigger("actEditRedo");
    QCOMPARE(snapshot(f.tree()), edited);
    QCOMPARE(f.window->undoStack()->count(), 3);
}

void tst_UndoRedo::dropMovesAreOneStep_data()
{
    QTest::addColumn<QString>("selected"); // "s.o" each, comma-separated
    QTest::addColumn<QString>("target"); // "cell s" (last child), "indent s" (before), "below"
    QTest::addColumn<QString>("moved");

    QTest::newRow("options into a section") << "0.0,0.2"
                                            << "cell 2"
                                            << "a(y,v) b(z) c(q,x,w)";
    QTest::newRow("section before a section") << "2.-1"
                                              << "indent 0"
                                              << "c(q) a(x,y,w,v) b(z)";
    QTest::newRow("sections after the last") << "0.-1,1.-1"
                                             << "below"
                                             << "c(q) a(x,y,w,v) b(z)";
    QTest::newRow("options become sections") << "0.1,0.3"
                                             << "below"
                                             << "a(x,w) b(z) c(q) y() v()";
    QTest::newRow("options before a section") << "0.0,0.1"
                                              << "indent 1"
                                              << "a(w,v) y() x() b(z) c(q)";
}

void tst_UndoRedo::dropMovesAreOneStep()
{
    QFETCH(QString, selected);
    QFETCH(QString, target);
    QFETCH(QString, moved);

    MainWindowFixture f;
    f.open(f.writeFile(QStringLiteral("doc.ini"), ThreeSections));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    TreeList &view = f.view();
    view.expandAll();
    const QString before = snapshot(f.tree());
    QStringList names;
    view.clearNodeSelection();
    for (const QString &where : selected.split(u',')) {
        const int s = where.section(u'.', 0, 0).toInt();
        const int o = where.section(u'.', 1, 1).toInt();
        const QModelIndex node = o < 0 ? f.tree().sectionIndex(s) : f.tree().optionIndex(s, o);
        view.selectNode(node);
        names << node.data().toString();
    }
    QPoint at(60, view.viewport()->height() - 3);
    if (target != QStringLiteral("below")) {
        const QRect cell = view.visualRect(f.tree().sectionIndex(target.section(u' ', 1).toInt()));
        at = target.startsWith(u'c') ? QPoint(cell.left() + 30, cell.center().y())
                                     : QPoint(cell.left() - view.indentation() + 1, cell.center().y());
    }
    at = view.viewport()->mapTo(&view, at);
    f.window->TreeListDragDrop(&view, &view, at.x(), at.y());
    // Names only, for readability: texts stay with their nodes.
    QStringList outline;
    for (int s = 0; s < f.tree().sectionCount(); ++s) {
        QStringList options;
        for (int o = 0; o < f.tree().optionCount(s); ++o)
            options << f.tree().optionText(s, o, 0);
        outline << f.tree().sectionText(s, 0) + u'(' + options.join(u',') + u')';
    }
    QCOMPARE(outline.join(u' '), moved);
    const QString after = snapshot(f.tree());
    QCOMPARE(f.window->undoStack()->count(), 1);
    QCOMPARE(f.action("actEditUndo")->text(), QStringLiteral("&Undo Move"));

    f.trigger("actEditUndo");
    QCOMPARE(snapshot(f.tree()), before);
    QCOMPARE(f.selectedNames(), names);
    f.trigger("actEditRedo");
    QCOMPARE(snapshot(f.tree()), after);
    f.trigger("actEditUndo");
    QCOMPARE(snapshot(f.tree()), before);
}

// Moves in both directions and across sections, each applied and reverted in turn.
void tst_UndoRedo::moveLogRevertsEveryKindOfMove()
{
    DocumentTree tree;
    for (int s = 0; s < 4; ++s) {
        tree.appendSection(QString::number(s));
        for (int o = 0; o < 4; ++o)
            tree.appendOption(s, QStringLiteral("%1.%2").arg(s).arg(o), QString::number(o));
    }
    tree.setImageIndex(tree.optionIndex(1, 2), 9);
    const QString start = snapshot(tree);
    using K = TreeMove::Kind;
    const auto toSection = [](int section, int row, int toRow, const char *name, const char *value, int image) {
        TreeMove move = TreeMove::make(K::OptionToSection, section, row, -1, toRow);
        move.name = QLatin1String(name);
        move.value = QLatin1String(value);
        move.image = image;
        return move;
    };
    const QList<TreeMove> moves { TreeMove::make(K::Section, -1, 0, -1, 3), TreeMove::make(K::Section, -1, 3, -1, 0),
        TreeMove::make(K::Section, -1, 1, -1, 4), TreeMove::make(K::Option, 1, 0, 1, 3),
        TreeMove::make(K::Option, 1, 3, 1, 0), TreeMove::make(K::Option, 0, 1, 2, 4),
        TreeMove::make(K::Option, 2, 3, 0, 0), toSection(1, 2, 0, "1.2", "2", 9), toSection(2, 0, 4, "2.0", "0", 1),
        toSection(3, 3, 2, "3.3", "3", 1) };
    for (const TreeMove &move : moves) {
        const QString before = snapshot(tree);
        const QModelIndex node
            = move.kind == K::Section ? tree.sectionIndex(move.row) : tree.optionIndex(move.section, move.row);
        const QString name = node.data().toString();
        const QModelIndex at = applyTreeMove(tree, move);
        QCOMPARE(at.data().toString(), name);
        QVERIFY(snapshot(tree) != before);
        const QModelIndex back = revertTreeMove(tree, move);
        QCOMPARE(back.data().toString(), name);
        QCOMPARE(snapshot(tree), before);
    }
    QCOMPARE(snapshot(tree), start);
}

void tst_UndoRedo::modifiedFollowsTheHistory()
{
    MainWindowFixture f;
    const QString file = f.writeFile(QStringLiteral("doc.ini"), SampleIni);
    f.open(file);
    f.trigger("actEditSectionAdd");
    QVERIFY(f.window->isModified());
    f.trigger("actEditUndo");
    QVERIFY(!f.window->isModified());
    QCOMPARE(f.modifiedPanel(), QString());
    f.trigger("actEditRedo");
    QVERIFY(f.window->isModified());
    QCOMPARE(f.modifiedPanel(), QStringLiteral("Modified"));

    // A save marks the state it wrote; leaving it either way is a change, coming back is none.
    f.trigger("actFileSave");
    QVERIFY(!f.window->isModified());
    f.trigger("actEditUndo");
    QVERIFY(f.window->isModified());
    f.trigger("actEditRedo");
    QVERIFY(!f.window->isModified());
    f.trigger("actEditOptionAdd");
    f.trigger("actEditUndo");
    QVERIFY(!f.window->isModified());
    // Closing at the saved state asks nothing.
    f.window->close();
    QVERIFY(!f.dialogs.asked.contains(QStringLiteral("save changes")));
    QVERIFY(f.dialogs.settled());

    // A new step after undoing past the saved state makes that state unreachable.
    f.trigger("actEditUndo");
    f.trigger("actEditOptionAdd");
    QVERIFY(f.window->isModified());
    f.trigger("actEditUndo");
    QVERIFY(f.window->isModified());

    // Rename then Esc changes no text but marks the document changed; undoing later steps, even
    // back to the saved state, keeps the mark until the next save, load or clear.
    f.trigger("actFileSave");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.view().selectSingleNode(f.tree().sectionIndex(0));
    f.trigger("actEditSectionRename");
    QTRY_VERIFY(f.view().isEditing());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!f.view().isEditing());
    f.trigger("actEditSectionAdd");
    f.trigger("actEditUndo");
    QCOMPARE(f.modifiedPanel(), QStringLiteral("Modified"));
    f.trigger("actEditRedo");
    f.trigger("actEditUndo");
    QVERIFY(f.window->isModified());
    f.dialogs.saveAnswers << UserDialogs::Answer::Cancel;
    QVERIFY(!f.window->close());
    QVERIFY(f.dialogs.asked.endsWith(QStringLiteral("save changes")));
    f.trigger("actFileSave");
    QVERIFY(!f.window->isModified());
    f.trigger("actEditSectionAdd");
    f.trigger("actEditUndo");
    QVERIFY(!f.window->isModified());
    QVERIFY(f.dialogs.settled());
}

void tst_UndoRedo::newOpenAndCloseStartAnEmptyHistory()
{
    MainWindowFixture f;
    const QString file = f.writeFile(QStringLiteral("doc.ini"), SampleIni);
    f.open(file);
    for (const char *command : { "actFileNew", "actFileClose", "actFileOpen" }) {
        f.trigger("actEditSectionAdd");
        f.trigger("actEditSectionAdd");
        f.trigger("actEditUndo");
        QVERIFY(f.window->undoStack()->canRedo());
        f.dialogs.saveAnswers << UserDialogs::Answer::No;
        if (qstrcmp(command, "actFileOpen") == 0)
            f.dialogs.fileAnswers << file;
        f.trigger(command);
        QVERIFY2(!f.window->undoStack()->canUndo(), command);
        QVERIFY2(!f.window->undoStack()->canRedo(), command);
        QVERIFY(!f.action("actEditUndo")->isEnabled());
        QVERIFY(!f.action("actEditRedo")->isEnabled());
        QCOMPARE(f.action("actEditRedo")->text(), QStringLiteral("Red&o"));
        QVERIFY(!f.window->isModified());
    }
    QCOMPARE(f.outline(), QStringLiteral("a(x=1,y=2) b(z=3)"));
    QVERIFY(f.dialogs.settled());
}

void tst_UndoRedo::keysAndMenuPlace()
{
    MainWindowFixture f;
    QCOMPARE(f.action("actEditUndo")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(f.action("actEditRedo")->shortcuts(),
        QList<QKeySequence>({ QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) }));
    // No key is answered by two actions (the option commands only show the section commands' keys).
    QList<QKeySequence> keys;
    for (const QAction *action : f.window->findChildren<QAction *>()) {
        if (action->parent() != f.window.get() || action->shortcutContext() == Qt::WidgetShortcut)
            continue;
        for (const QKeySequence &key : action->shortcuts()) {
            QVERIFY2(!keys.contains(key), qPrintable(key.toString()));
            keys << key;
        }
    }
    // Undo and Redo, then Find, follow the menu's first items, each group after a separator.
    const QList<QAction *> items = f.child<QMenu>("miEdit")->actions();
    const qsizetype undo = items.indexOf(f.action("actEditUndo"));
    QVERIFY(undo >= 1 && undo + 3 < items.size());
    QVERIFY(items.at(undo - 1)->isSeparator());
    QCOMPARE(items.at(undo + 1), f.action("actEditRedo"));
    QVERIFY(items.at(undo + 2)->isSeparator());
    QCOMPARE(items.at(undo + 3), f.action("actEditFind"));
    QVERIFY(f.child<QMenu>("PopupMenu")->actions().contains(f.action("actEditFind")));
}

QTEST_MAIN(tst_UndoRedo)
#include "tst_undoredo.moc"
