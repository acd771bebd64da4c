// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storefiles.h"

#include "formsettings/treelayout.h"
#include "settings/settingsstore.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

namespace {

const QStringList ColumnNames { QStringLiteral("OptionsTreeListColumn1"), QStringLiteral("OptionsTreeListColumn2") };
const QString Column1 = QStringLiteral("Tree/Columns/OptionsTreeListColumn1");
const QString Column2 = QStringLiteral("Tree/Columns/OptionsTreeListColumn2");

// The editor's tree as far as its layout goes: two columns of 164 and 217 pixels.
struct Tree {
    Tree()
        : model(0, 2)
    {
        view.setModel(&model);
        view.header()->setStretchLastSection(false);
        view.header()->resizeSection(0, 164);
        view.header()->resizeSection(1, 217);
    }
    QStandardItemModel model;
    QTreeView view;
};

void save(const StoreFile &file, const TreeLayout &layout)
{
    SettingsStore store(file.fileName());
    layout.save(store, QStringLiteral("\\Software\\Yorv\\YorvSaldrix\\Tree\\"));
    store.close();
}

} // namespace

class tst_TreeLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesEveryValueOfTheOneBandAndBothColumns();
    void columnWidthsSurviveARestart();
    void missingKeyKeepsTheBuiltInLayout();
    void storedOrderAndVisibilityComeBack();
};

void tst_TreeLayout::writesEveryValueOfTheOneBandAndBothColumns()
{
    StoreFile file;
    Tree tree;
    save(file, TreeLayout(&tree.view, ColumnNames));
    QCOMPARE(file.names(QStringLiteral("Tree")),
        (QStringList { "BandRowCount", "DefaultRowHeight", "HeaderPanelRowCount", "ShowGrid", "ShowPreviewGrid" }));
    QCOMPARE(file.value(QStringLiteral("Tree"), QStringLiteral("HeaderPanelRowCount")), QStringLiteral("-1"));
    QCOMPARE(file.value(QStringLiteral("Tree"), QStringLiteral("DefaultRowHeight")).toInt(),
        tree.view.fontMetrics().height() + 2);
    QCOMPARE(file.names(QStringLiteral("Tree/Band/Band0")), (QStringList { "ID", "Index", "Visible", "Width" }));
    QCOMPARE(file.value(QStringLiteral("Tree/Band/Band0"), QStringLiteral("Width")), QStringLiteral("381"));
    const QStringList columnValues { "BandIndex", "ColIndex", "Index", "RowIndex", "Sorted", "SortedOrder",
        "StoredRowIndex", "Visible", "Width" };
    QCOMPARE(file.names(Column1), columnValues);
    QCOMPARE(file.names(Column2), columnValues);
    QCOMPARE(file.value(Column2, QStringLiteral("ColIndex")), QStringLiteral("1"));
    QCOMPARE(file.value(Column2, QStringLiteral("SortedOrder")), QStringLiteral("-1"));
}

void tst_TreeLayout::columnWidthsSurviveARestart()
{
    StoreFile file;
    {
        Tree tree;
        tree.view.header()->resizeSection(0, 250);
        tree.view.header()->resizeSection(1, 90);
        save(file, TreeLayout(&tree.view, ColumnNames));
    }
    Tree tree;
    TreeLayout layout(&tree.view, ColumnNames);
    QVERIFY(layout.load(SettingsStore(file.fileName())));
    QCOMPARE(tree.view.header()->sectionSize(0), 250);
    QCOMPARE(tree.view.header()->sectionSize(1), 90);
}

void tst_TreeLayout::missingKeyKeepsTheBuiltInLayout()
{
    StoreFile file;
    file.write(QStringLiteral("Main"), QStringLiteral("FormVersion"), QStringLiteral("1000"));
    Tree tree;
    TreeLayout layout(&tree.view, ColumnNames);
    QVERIFY(!layout.load(SettingsStore(file.fileName())));
    QCOMPARE(tree.view.header()->sectionSize(0), 164);

    // Turned off, the layout neither reads nor writes.
    file.write(Column1, QStringLiteral("Width"), QStringLiteral("300"));
    layout.setStoreLayout(false);
    QVERIFY(!layout.load(SettingsStore(file.fileName())));
    QCOMPARE(tree.view.header()->sectionSize(0), 164);
    save(file, layout);
    QCOMPARE(file.names(QStringLiteral("Tree")), QStringList());
}

void tst_TreeLayout::storedOrderAndVisibilityComeBack()
{
    StoreFile file;
    file.write(Column1, QStringLiteral("Index"), QStringLiteral("1"));
    file.write(Column2, QStringLiteral("Index"), QStringLiteral("0"));
    file.write(Column2, QStringLiteral("Visible"), QStringLiteral("0"));
    file.write(Column2, QStringLiteral("Width"), QStringLiteral("not a number"));
    file.write(Column1, QStringLiteral("Sorted"), QStringLiteral("2"));
    Tree tree;
    TreeLayout layout(&tree.view, ColumnNames);
    QVERIFY(layout.load(SettingsStore(file.fileName())));
    QCOMPARE(tree.view.header()->visualIndex(1), 0);
    QCOMPARE(tree.view.header()->visualIndex(0), 1);
    QVERIFY(tree.view.header()->isSectionHidden(1));
    StoreFile again;
    save(again, layout);
    QCOMPARE(again.value(Column2, QStringLiteral("Width")), QStringLiteral("217"));
    tree.view.header()->setSectionHidden(1, false);
    QCOMPARE(tree.view.header()->sectionSize(1), 217);
    // What the header has no notion of is written back as it was read.
    QCOMPARE(again.value(Column1, QStringLiteral("Sorted")), QStringLiteral("2"));
    QCOMPARE(again.value(Column1, QStringLiteral("Index")), QStringLiteral("1"));
    QCOMPARE(again.value(Column2, QStringLiteral("Visible")), QStringLiteral("0"));
}

QTEST_MAIN(tst_TreeLayout)
#include "tst_treelayout.moc"
