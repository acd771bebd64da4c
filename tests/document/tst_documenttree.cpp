// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

class tst_DocumentTree : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keepsSectionsAndOptionsInOrder();
    void inPlaceEditReportsOnlyRealChanges();
    void movesKeepPersistentIndexes();
    void optionBecomesSectionKeepingItsTexts();
    void batchAppendsReportOneReset();
};

void tst_DocumentTree::keepsSectionsAndOptionsInOrder()
{
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const int a = tree.appendSection(QStringLiteral("a"));
    const int b = tree.appendSection(QStringLiteral("a")); // repeated names stay two nodes
    tree.appendOption(a, QStringLiteral("x"), QStringLiteral("1"));
    tree.appendOption(a, QString(), QStringLiteral("2"));
    tree.appendOption(b, QStringLiteral("x"), QStringLiteral("3"));
    QCOMPARE(tree.sectionCount(), 2);
    QCOMPARE(tree.optionCount(a), 2);
    QCOMPARE(tree.optionText(a, 1, DocumentTree::ValueColumn), QStringLiteral("2"));
    QCOMPARE(tree.optionIndex(b, 0).parent(), tree.sectionIndex(b));
    QCOMPARE(tree.imageIndex(tree.sectionIndex(a)), 0);
    QCOMPARE(tree.imageIndex(tree.optionIndex(a, 0)), 1);
    // Unwritten columns read empty, and a section's value cannot be edited.
    QCOMPARE(tree.sectionText(a, DocumentTree::ValueColumn), QString());
    QCOMPARE(tree.sectionText(a, 7), QString());
    QVERIFY(!(tree.flags(tree.sectionIndex(a, DocumentTree::ValueColumn)) & Qt::ItemIsEditable));
    tree.removeRows(0, 1);
    QCOMPARE(tree.optionIndex(0, 0).parent().row(), 0);
    QCOMPARE(tree.optionText(0, 0, DocumentTree::ValueColumn), QStringLiteral("3"));
}

void tst_DocumentTree::inPlaceEditReportsOnlyRealChanges()
{
    DocumentTree tree;
    const int s = tree.appendSection(QStringLiteral("s"));
    tree.appendOption(s, QStringLiteral("k"), QStringLiteral("v"));
    QSignalSpy edited(&tree, &DocumentTree::edited);
    const QModelIndex value = tree.optionIndex(s, 0, DocumentTree::ValueColumn);
    QVERIFY(!tree.setData(value, QStringLiteral("v")));
    QCOMPARE(edited.count(), 0);
    QVERIFY(tree.setData(value, QStringLiteral("two\nlines\r")));
    QCOMPARE(edited.count(), 1);
    QCOMPARE(tree.optionText(s, 0, DocumentTree::ValueColumn), QStringLiteral("two lines "));
}

void tst_DocumentTree::movesKeepPersistentIndexes()
{
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const char *name : { "a", "b", "c" }) {
        const int s = tree.appendSection(QString::fromLatin1(name));
        tree.appendOption(s, QStringLiteral("o1"), QString());
        tree.appendOption(s, QStringLiteral("o2"), QString());
    }
    const QPersistentModelIndex c = tree.sectionIndex(2);
    const QPersistentModelIndex a1 = tree.optionIndex(0, 0);
    QVERIFY(tree.moveSection(2, 0));
    QCOMPARE(c.row(), 0);
    QCOMPARE(tree.sectionText(1, 0), QStringLiteral("a"));
    QVERIFY(tree.moveOption(1, 0, 2, 2)); // a/o1 to the end of b
    QCOMPARE(a1.parent().row(), 2);
    QCOMPARE(a1.row(), 2);
    QVERIFY(!tree.moveOption(2, 2, 2, 3)); // already last
    QVERIFY(!tree.moveSection(0, 1));
}

void tst_DocumentTree::optionBecomesSectionKeepingItsTexts()
{
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const int s = tree.appendSection(QStringLiteral("s"));
    tree.appendOption(s, QStringLiteral("k"), QStringLiteral("v"));
    tree.optionToSection(s, 0, 1);
    QCOMPARE(tree.sectionCount(), 2);
    QCOMPARE(tree.optionCount(0), 0);
    QCOMPARE(tree.sectionText(1, DocumentTree::NameColumn), QStringLiteral("k"));
    QCOMPARE(tree.sectionText(1, DocumentTree::ValueColumn), QStringLiteral("v"));
    QCOMPARE(tree.imageIndex(tree.sectionIndex(1)), 0);
}

void tst_DocumentTree::batchAppendsReportOneReset()
{
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy reset(&tree, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&tree, &QAbstractItemModel::rowsInserted);
    {
        TreeBatch outer(tree);
        TreeBatch inner(tree);
        for (int i = 0; i < 100; ++i)
            tree.appendOption(tree.appendSection(QString::number(i)), QStringLiteral("k"), QStringLiteral("v"));
    }
    QCOMPARE(reset.count(), 1);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(tree.rowCount(), 100);
}

QTEST_GUILESS_MAIN(tst_DocumentTree)
#include "tst_documenttree.moc"
