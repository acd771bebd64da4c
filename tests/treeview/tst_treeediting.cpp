// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "treefixture.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleHints>

#include <limits>

namespace {

// A(a1 a2) B(b1)
TreeFixture *makeTree()
{
    return new TreeFixture({
        { QStringLiteral("A"), { { "a1", "1" }, { "a2", "2" } } },
        { QStringLiteral("B"), { { "b1", "3" } } },
    });
}

// The open editor; a closed one lingers until its deferred deletion.
QLineEdit *editorOf(TreeList *tree)
{
    for (QLineEdit *editor : tree->viewport()->findChildren<QLineEdit *>()) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}

// Counts the editing handler's calls while applying the standard rule.
class CountingHandlers : public StandardTreeListHandlers {
public:
    void TreeListEditing(TreeList *sender, const QModelIndex &node, bool &allow) override
    {
        ++calls;
        StandardTreeListHandlers::TreeListEditing(sender, node, allow);
    }
    int calls = 0;
};

} // namespace

class tst_TreeEditing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void f2OpensWhereEditingIsAllowed_data();
    void f2OpensWhereEditingIsAllowed();
    void typingAndEnterDoNotOpen();
    void editorKeysStoreThenMove_data();
    void editorKeysStoreThenMove();
    void escRestoresAndPressElsewhereStores();
    void lineBreaksAreStoredAsBlanks();
    void clickOnFocusedCellOpensAfterDoubleClickTime();
    void secondClickWithinDoubleClickTimeOpensNothing();
    void clickThatFocusesOrMovesOpensNothing();
    void editorOpensOnceAndWithoutLengthLimit();
};

void tst_TreeEditing::initTestCase()
{
    // Short enough to keep the delayed-editor tests quick, long enough for two synthesised clicks.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(300);
}

void tst_TreeEditing::f2OpensWhereEditingIsAllowed_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("opens");
    QTest::newRow("section name") << -1 << 0 << true;
    QTest::newRow("section value") << -1 << 1 << false;
    QTest::newRow("option name") << 0 << 0 << true;
    QTest::newRow("option value") << 0 << 1 << true;
}

void tst_TreeEditing::f2OpensWhereEditingIsAllowed()
{
    QFETCH(int, option);
    QFETCH(int, column);
    QFETCH(bool, opens);
    std::unique_ptr<TreeFixture> f(makeTree());
    CountingHandlers handlers;
    f->tree->setHandlers(&handlers);
    QVERIFY(f->focusTree());
    f->tree->setFocusedNode(option < 0 ? f->section(1) : f->option(1, option));
    f->tree->setFocusedColumn(column);
    f->key(Qt::Key_F2);
    QCOMPARE(f->tree->isEditing(), opens);
    QCOMPARE(handlers.calls, 1);
    if (opens)
        QCOMPARE(editorOf(f->tree)->text(), f->tree->currentIndex().data().toString());
}

void tst_TreeEditing::typingAndEnterDoNotOpen()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    QVERIFY(f->focusTree());
    f->tree->expandAll();
    f->clickCell(f->option(0, 0), 1);
    QTest::keyClicks(f->tree, QStringLiteral("xy"));
    f->key(Qt::Key_Return);
    f->key(Qt::Key_Enter);
    QVERIFY(!f->tree->isEditing());
    QCOMPARE(f->document.optionText(0, 0, 1), QStringLiteral("1"));
}

void tst_TreeEditing::editorKeysStoreThenMove_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("column");
    QTest::newRow("Enter") << int(Qt::Key_Return) << "a1" << 1;
    QTest::newRow("Up") << int(Qt::Key_Up) << "A" << 1;
    QTest::newRow("Down") << int(Qt::Key_Down) << "a2" << 1;
    QTest::newRow("PgDn") << int(Qt::Key_PageDown) << "b1" << 1;
    QTest::newRow("PgUp") << int(Qt::Key_PageUp) << "A" << 1;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << "a2" << 0;
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << "a1" << 0;
}

void tst_TreeEditing::editorKeysStoreThenMove()
{
    QFETCH(int, key);
    QFETCH(QString, focus);
    QFETCH(int, column);
    std::unique_ptr<TreeFixture> f(makeTree());
    QVERIFY(f->focusTree());
    f->tree->expandAll();
    f->clickCell(f->option(0, 0), 1);
    QSignalSpy edited(&f->document, &DocumentTree::edited);
    f->key(Qt::Key_F2);
    QLineEdit *editor = editorOf(f->tree);
    QVERIFY(editor != nullptr);
    editor->setText(QStringLiteral("new"));
    QTest::keyClick(editor, Qt::Key(key));

    QTRY_VERIFY(!f->tree->isEditing());
    QCOMPARE(f->document.optionText(0, 0, 1), QStringLiteral("new"));
    QCOMPARE(edited.count(), 1);
    QCOMPARE(f->focusedName(), focus);
    QCOMPARE(f->tree->focusedColumn(), column);
    QVERIFY(f->tree->selectionCount() > 0);
}

void tst_TreeEditing::escRestoresAndPressElsewhereStores()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    QVERIFY(f->focusTree());
    f->tree->expandAll();
    f->clickCell(f->option(0, 0));
    f->key(Qt::Key_F2);
    editorOf(f->tree)->setText(QStringLiteral("typed"));
    QTest::keyClick(editorOf(f->tree), Qt::Key_Escape);
    QTRY_VERIFY(!f->tree->isEditing());
    QCOMPARE(f->document.optionText(0, 0, 0), QStringLiteral("a1"));
    QCOMPARE(f->focusedName(), QStringLiteral("a1"));

    f->key(Qt::Key_F2);
    editorOf(f->tree)->setText(QStringLiteral("kept"));
    f->clickCell(f->option(1, 0), 1);
    QTRY_VERIFY(!f->tree->isEditing());
    QCOMPARE(f->document.optionText(0, 0, 0), QStringLiteral("kept"));
    QCOMPARE(f->focusedName(), QStringLiteral("b1"));
    QCOMPARE(f->tree->focusedColumn(), 1);
}

void tst_TreeEditing::lineBreaksAreStoredAsBlanks()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    QVERIFY(f->focusTree());
    f->tree->setFocusedNode(f->option(0, 1));
    f->tree->setFocusedColumn(1);
    f->key(Qt::Key_F2);
    QLineEdit *editor = editorOf(f->tree);
    editor->setText(QString());
    editor->insert(QStringLiteral("one\r\ntwo\nthree"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!f->tree->isEditing());
    QCOMPARE(f->document.optionText(0, 1, 1), QStringLiteral("one two three"));
}

void tst_TreeEditing::clickOnFocusedCellOpensAfterDoubleClickTime()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    QVERIFY(f->focusTree());
    f->tree->expandAll();
    f->clickCell(f->option(0, 1), 1);
    QVERIFY(!f->tree->isEditing());
    f->clickCell(f->option(0, 1), 1);
    QVERIFY(!f->tree->isEditing()); // not before the double-click time is over
    QTRY_VERIFY(f->tree->isEditing());
    QCOMPARE(f->tree->currentIndex(), f->document.optionIndex(0, 1, 1));
}

void tst_TreeEditing::secondClickWithinDoubleClickTimeOpensNothing()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    QVERIFY(f->focusTree());
    f->clickCell(f->section(0));
    f->clickCell(f->section(0));
    QTest::qWait(2 * QGuiApplication::styleHints()->mouseDoubleClickInterval());
    QVERIFY(!f->tree->isEditing());

    // A real double-click: the section opens and no editor follows.
    f->clickCell(f->section(1));
    QTest::mouseDClick(f->tree->viewport(), Qt::LeftButton, {}, f->cellPoint(f->section(1), 0));
    QTest::qWait(2 * QGuiApplication::styleHints()->mouseDoubleClickInterval());
    QVERIFY(!f->tree->isEditing());
    QVERIFY(f->tree->isExpanded(f->section(1)));
}

void tst_TreeEditing::clickThatFocusesOrMovesOpensNothing()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    QVERIFY(f->focusTree());
    // Another column of the focused node, the image, or the cell with Ctrl.
    f->clickCell(f->section(0), 1);
    f->click(f->imagePoint(f->section(0)));
    QTest::qWait(500);
    f->clickCell(f->section(0), 0, Qt::ControlModifier);
    QTest::qWait(2 * QGuiApplication::styleHints()->mouseDoubleClickInterval());
    QVERIFY(!f->tree->isEditing());

    // A click that brings the keyboard focus to the tree.
    auto *other = new QLineEdit(&f->window);
    other->show();
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    f->clickCell(f->section(0), 0);
    QTest::qWait(2 * QGuiApplication::styleHints()->mouseDoubleClickInterval());
    QVERIFY(!f->tree->isEditing());
}

void tst_TreeEditing::editorOpensOnceAndWithoutLengthLimit()
{
    std::unique_ptr<TreeFixture> f(makeTree());
    CountingHandlers handlers;
    f->tree->setHandlers(&handlers);
    QVERIFY(f->focusTree());
    f->tree->editFocusedCell();
    QVERIFY(f->tree->isEditing());
    QCOMPARE(editorOf(f->tree)->maxLength(), std::numeric_limits<int>::max());
    f->tree->editFocusedCell(); // not while an editor is open
    QCOMPARE(handlers.calls, 1);
    QCOMPARE(f->tree->viewport()->findChildren<QLineEdit *>().size(), 1);
    QCOMPARE(editorOf(f->tree)->text(), QStringLiteral("A"));
    f->tree->commitEditor();
    QTRY_VERIFY(!f->tree->isEditing());
}

QTEST_MAIN(tst_TreeEditing)
#include "tst_treeediting.moc"
