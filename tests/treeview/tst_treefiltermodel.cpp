// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the tree view shows of the document: every change of the document passed on with and
// without a filter, checked by Qt's model tester, and the nodes shown after each.
#include "document/documenttree.h"
#include "treeview/treefiltermodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// "[a]\nk1=x\n…" as a document.
void fill(DocumentTree &tree, const QList<std::pair<QString, QStringList>> &sections)
{
    for (const auto &[name, options] : sections) {
        const int section = tree.appendSection(name);
        for (const QString &option : options)
            tree.appendOption(section, option, QString());
    }
}

// What the model shows: "a(k1 k2) b()", sections by name with their shown options.
QString shown(const QAbstractItemModel &model)
{
    QStringList parts;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex section = model.index(row, 0);
        QStringList options;
        for (int option = 0; option < model.rowCount(section); ++option)
            options << model.index(option, 0, section).data().toString();
        parts << section.data().toString() + u'(' + options.join(u' ') + u')';
    }
    return parts.join(u' ');
}

struct Fixture {
    Fixture()
    {
        fill(tree, { { "a", { "k1", "k2", "k3", "k4" } }, { "b", { "q" } }, { "c", { "m", "n" } }, { "d", { "r" } } });
        model.setSourceModel(&tree);
        tester = std::make_unique<QAbstractItemModelTester>(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    DocumentTree tree;
    TreeFilterModel model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

class tst_TreeFilterModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheDocumentAndFollowsIt();
    void filterMapsRowsBothWays();
    void filteredViewFollowsTheDocument();
    void filteredViewFollowsLargeChanges();
    void switchesKeepPersistentIndexes();
    void revealAndExtendShowMore();
    void switchesThatChangeNothingAreNotTold();
};

void tst_TreeFilterModel::showsTheDocumentAndFollowsIt()
{
    Fixture f;
    QCOMPARE(shown(f.model), QStringLiteral("a(k1 k2 k3 k4) b(q) c(m n) d(r)"));
    const QPersistentModelIndex n = f.model.index(1, 0, f.model.index(2, 0));
    f.tree.moveSection(2, 0);
    f.tree.moveOption(1, 0, 1, 4); // a's k1 after its k4
    f.tree.appendOption(2, QStringLiteral("p"), {});
    f.tree.removeNodes({ f.tree.optionIndex(1, 0) });
    QCOMPARE(shown(f.model), QStringLiteral("c(m n) a(k3 k4 k1) b(q p) d(r)"));
    QCOMPARE(f.model.mapToSource(n), f.tree.optionIndex(0, 1));
    // Many runs at once come as one layout change; the view's indexes follow it.
    QModelIndexList many;
    for (const int option : { 0, 2 })
        many << f.tree.optionIndex(1, option);
    many << f.tree.sectionIndex(3);
    for (int i = 0; i < 40; ++i)
        f.tree.appendSection(QStringLiteral("s%1").arg(i));
    for (int i = 0; i < 40; i += 2)
        many << f.tree.sectionIndex(4 + i);
    const DocumentNodes taken = f.tree.takeNodes(many);
    QVERIFY(shown(f.model).startsWith(QStringLiteral("c(m n) a(k4) b(q p) s1() s3()")));
    QCOMPARE(f.model.mapToSource(n), f.tree.optionIndex(0, 1));
}

void tst_TreeFilterModel::filterMapsRowsBothWays()
{
    Fixture f;
    f.model.setFilter({ { 0, 1 }, { 0, 3 }, { 2, -1 }, { 3, 0 } });
    QVERIFY(f.model.isFiltering());
    QCOMPARE(shown(f.model), QStringLiteral("a(k2 k4) c(m n) d(r)"));
    const QModelIndex k4 = f.model.index(1, 1, f.model.index(0, 0));
    QCOMPARE(f.model.mapToSource(k4), f.tree.optionIndex(0, 3, 1));
    QCOMPARE(f.model.mapFromSource(f.tree.optionIndex(0, 3)), k4.siblingAtColumn(0));
    QCOMPARE(f.model.parent(k4), f.model.index(0, 0));
    QCOMPARE(f.model.mapToSource(f.model.index(2, 0)), f.tree.sectionIndex(3));
    // What the filter hides has no row here.
    QVERIFY(!f.model.mapFromSource(f.tree.optionIndex(0, 2)).isValid());
    QVERIFY(!f.model.mapFromSource(f.tree.sectionIndex(1)).isValid());
    QVERIFY(!f.model.mapFromSource(f.tree.optionIndex(1, 0)).isValid());
    // An edit through the view lands on the document's row.
    QVERIFY(f.model.setData(k4.siblingAtColumn(0), QStringLiteral("K4")));
    QCOMPARE(f.tree.optionText(0, 3, 0), QStringLiteral("K4"));
    f.model.clearFilter();
    QCOMPARE(shown(f.model), QStringLiteral("a(k1 k2 k3 K4) b(q) c(m n) d(r)"));
}

void tst_TreeFilterModel::filteredViewFollowsTheDocument()
{
    Fixture f;
    f.model.setFilter({ { 0, 1 }, { 0, 3 }, { 2, -1 }, { 3, 0 } });
    // Inserted nodes stay out of sight, except in a section kept whole.
    f.tree.appendOption(0, QStringLiteral("k5"), {});
    f.tree.appendOption(2, QStringLiteral("o"), {});
    f.tree.appendSection(QStringLiteral("e"));
    QCOMPARE(shown(f.model), QStringLiteral("a(k2 k4) c(m n o) d(r)"));
    f.tree.putBack(DocumentNodes::newOption(0, 0, QStringLiteral("k0"), {}, DocumentTree::OptionImage));
    f.tree.putBack(DocumentNodes::newSection(0, QStringLiteral("z")));
    QCOMPARE(shown(f.model), QStringLiteral("a(k2 k4) c(m n o) d(r)"));
    QCOMPARE(f.model.mapToSource(f.model.index(1, 0, f.model.index(0, 0))), f.tree.optionIndex(1, 4));
    // Removed nodes go; the rows around them keep what they showed.
    f.tree.removeNodes({ f.tree.optionIndex(1, 2), f.tree.sectionIndex(2) });
    QCOMPARE(shown(f.model), QStringLiteral("a(k4) c(m n o) d(r)"));
    // Moved nodes keep their state wherever they go, and show their new section.
    f.tree.moveSection(2, 1); // c before a
    QCOMPARE(shown(f.model), QStringLiteral("c(m n o) a(k4) d(r)"));
    f.tree.moveOption(2, 3, 3, 0); // a's k4 to the front of d
    QCOMPARE(shown(f.model), QStringLiteral("c(m n o) a() d(k4 r)"));
    f.tree.moveOption(2, 0, 0, 0); // a's hidden k0 to z, which stays hidden
    QCOMPARE(shown(f.model), QStringLiteral("c(m n o) a() d(k4 r)"));
    f.tree.moveOption(3, 0, 4, 0); // k4 into the hidden e, which shows with it
    QCOMPARE(shown(f.model), QStringLiteral("c(m n o) a() d(r) e(k4)"));
    f.tree.moveOption(1, 0, 3, 1); // c's m to d, after r
    QCOMPARE(shown(f.model), QStringLiteral("c(n o) a() d(r m) e(k4)"));
    f.tree.moveOption(4, 0, 1, 1); // e's k4 into c, kept whole
    QCOMPARE(shown(f.model), QStringLiteral("c(n k4 o) a() d(r m) e()"));
    f.tree.moveOption(2, 0, 1, 0); // a hidden option into c, which now holds one not shown
    QCOMPARE(shown(f.model), QStringLiteral("c(n k4 o) a() d(r m) e()"));
    QCOMPARE(f.tree.optionText(1, 0, 0), QStringLiteral("k1"));
    f.tree.optionToSection(1, 1, 0); // n becomes a section of its own, out of sight
    QCOMPARE(shown(f.model), QStringLiteral("c(k4 o) a() d(r m) e()"));
    f.tree.clear();
    QVERIFY(!f.model.isFiltering());
}

void tst_TreeFilterModel::filteredViewFollowsLargeChanges()
{
    DocumentTree tree;
    TreeFilterModel model;
    for (int section = 0; section < 40; ++section) {
        tree.appendSection(QStringLiteral("s%1").arg(section));
        for (int option = 0; option < 3; ++option)
            tree.appendOption(section, QStringLiteral("o%1.%2").arg(section).arg(option), {});
    }
    model.setSourceModel(&tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    std::vector<NodePosition> matches;
    for (int section = 0; section < 40; section += 2)
        matches.push_back({ section, 1 });
    matches.push_back({ 39, -1 });
    model.setFilter(TreeMatches::fromPositions(matches));
    QString before = shown(model);
    QVERIFY(before.startsWith(QStringLiteral("s0(o0.1) s2(o2.1) s4(o4.1)")));
    QVERIFY(before.endsWith(QStringLiteral("s38(o38.1) s39(o39.0 o39.1 o39.2)")));
    // More runs than the document tells as rows: a layout change, through which the filter keeps
    // what it showed of the nodes that stay.
    QModelIndexList nodes;
    for (int section = 1; section < 40; section += 2)
        nodes << tree.optionIndex(section, 0);
    for (int section = 0; section < 10; section += 2)
        nodes << tree.optionIndex(section, 0);
    nodes << tree.sectionIndex(2);
    DocumentNodes taken = tree.takeNodes(nodes);
    QVERIFY(shown(model).startsWith(QStringLiteral("s0(o0.1) s4(o4.1) s6(o6.1)")));
    QVERIFY(shown(model).endsWith(QStringLiteral("s39(o39.1 o39.2)")));
    // Putting them back shows nothing more by itself.
    tree.putBack(std::move(taken));
    QCOMPARE(shown(model), before.replace(QStringLiteral("s2(o2.1) "), QString()));
}

void tst_TreeFilterModel::switchesKeepPersistentIndexes()
{
    Fixture f;
    const QPersistentModelIndex k4(f.model.index(3, 1, f.model.index(0, 0)));
    const QPersistentModelIndex k3(f.model.index(2, 0, f.model.index(0, 0)));
    const QPersistentModelIndex d(f.model.index(3, 0));
    f.model.setFilter({ { 0, 3 }, { 3, -1 } });
    QCOMPARE(k4.row(), 0);
    QCOMPARE(f.model.mapToSource(k4), f.tree.optionIndex(0, 3, 1));
    QCOMPARE(d.row(), 1);
    QVERIFY(!k3.isValid()); // hidden: it leaves the view
    f.model.setFilter({ { 0, 2 }, { 0, 3 } });
    QCOMPARE(k4.row(), 1);
    QVERIFY(!d.isValid());
    f.model.clearFilter();
    QCOMPARE(k4.row(), 3);
    QCOMPARE(f.model.mapToSource(k4), f.tree.optionIndex(0, 3, 1));
}

void tst_TreeFilterModel::revealAndExtendShowMore()
{
    Fixture f;
    f.model.setFilter({ { 0, 3 } });
    f.model.reveal(f.tree.optionIndex(2, 1));
    f.model.reveal(f.tree.sectionIndex(1));
    f.model.reveal(f.tree.optionIndex(0, 0));
    QCOMPARE(shown(f.model), QStringLiteral("a(k1 k4) b() c(n)"));
    // Matches found later show too; nothing shown goes.
    QSignalSpy layouts(&f.model, &QAbstractItemModel::layoutChanged);
    f.model.extend({ { 0, 3 }, { 2, 1 } });
    QCOMPARE(layouts.count(), 0); // all shown already
    f.model.extend({ { 0, 1 }, { 3, -1 } });
    QCOMPARE(layouts.count(), 1);
    QCOMPARE(shown(f.model), QStringLiteral("a(k1 k2 k4) b() c(n) d(r)"));
    // Without a filter there is nothing to reveal or extend.
    f.model.clearFilter();
    f.model.extend({ { 0, 1 } });
    QCOMPARE(shown(f.model), QStringLiteral("a(k1 k2 k3 k4) b(q) c(m n) d(r)"));
}

// A view lays out all its rows again after a layout change: a filter that shows every node, and
// clearing it, tell it nothing.
void tst_TreeFilterModel::switchesThatChangeNothingAreNotTold()
{
    Fixture f;
    QSignalSpy layouts(&f.model, &QAbstractItemModel::layoutChanged);
    f.model.setFilter({ { 0, 0 }, { 0, 1 }, { 0, 2 }, { 0, 3 }, { 1, -1 }, { 2, 0 }, { 2, 1 }, { 3, 0 } });
    QVERIFY(f.model.isFiltering());
    f.model.clearFilter();
    QCOMPARE(layouts.count(), 0);
    f.model.setFilter({ { 0, 0 }, { 0, 1 }, { 0, 2 }, { 0, 3 }, { 1, -1 }, { 2, 0 }, { 3, 0 } });
    QCOMPARE(layouts.count(), 1);
    QCOMPARE(shown(f.model), QStringLiteral("a(k1 k2 k3 k4) b(q) c(m) d(r)"));
}

QTEST_MAIN(tst_TreeFilterModel)
#include "tst_treefiltermodel.moc"
