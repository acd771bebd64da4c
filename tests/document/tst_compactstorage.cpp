// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <utility>
#include <vector>

// The tree keeps a section's option texts in one shared buffer; these cases aim at what that can
// break: texts next to each other, texts that grow and shrink, wide characters arriving late,
// options changing sections, and removals of scattered rows.
class tst_CompactStorage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void neighbouringTextsStayApartThroughEdits();
    void wideTextWidensTheSectionKeepingItsOtherTexts();
    void textsAtTheLatin1BoundaryKeepTheirCharacters_data();
    void textsAtTheLatin1BoundaryKeepTheirCharacters();
    void optionsMoveBetweenSectionsWithTheirTexts();
    void scatteredRemovalKeepsTheRestAndPersistentIndexes();
    void randomEditsMatchAPlainModel();
};

namespace {

using Option = std::pair<QString, QString>;
using Plain = std::vector<std::pair<QString, std::vector<Option>>>;

void compare(const DocumentTree &tree, const Plain &plain)
{
    QCOMPARE(tree.sectionCount(), int(plain.size()));
    for (int s = 0; s < tree.sectionCount(); ++s) {
        QCOMPARE(tree.sectionText(s, 0), plain[size_t(s)].first);
        const auto &options = plain[size_t(s)].second;
        QCOMPARE(tree.optionCount(s), int(options.size()));
        for (int o = 0; o < tree.optionCount(s); ++o) {
            QCOMPARE(tree.optionText(s, o, 0), options[size_t(o)].first);
            QCOMPARE(tree.data(tree.optionIndex(s, o, 1)).toString(), options[size_t(o)].second);
        }
    }
}

} // namespace

void tst_CompactStorage::neighbouringTextsStayApartThroughEdits()
{
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    tree.appendSection(QStringLiteral("s"));
    const QString longText(100000, QLatin1Char('x'));
    tree.appendOption(0, QStringLiteral("a"), QString());
    tree.appendOption(0, QString(), QStringLiteral("b"));
    tree.appendOption(0, QStringLiteral("c"), longText);
    tree.appendOption(0, QStringLiteral("d"), QStringLiteral("e"));

    QVERIFY(tree.setData(tree.optionIndex(0, 0, 1), QStringLiteral("longer than before")));
    QVERIFY(tree.setData(tree.optionIndex(0, 2, 1), QStringLiteral("y")));
    QVERIFY(tree.setData(tree.optionIndex(0, 3, 0), QString()));
    QVERIFY(tree.setData(tree.optionIndex(0, 1, 0), longText));
    compare(tree,
        { { QStringLiteral("s"),
            { { QStringLiteral("a"), QStringLiteral("longer than before") }, { longText, QStringLiteral("b") },
                { QStringLiteral("c"), QStringLiteral("y") }, { QString(), QStringLiteral("e") } } } });
    // Many edits leave old texts behind; the buffer is tidied without moving any text.
    for (int i = 0; i < 200; ++i)
        tree.setOptionText(0, 1, 0, QString(i % 7 * 1000, QLatin1Char('n')));
    QCOMPARE(tree.optionText(0, 1, 0), QString(199 % 7 * 1000, QLatin1Char('n')));
    QCOMPARE(tree.optionText(0, 2, 1), QStringLiteral("y"));
}

void tst_CompactStorage::wideTextWidensTheSectionKeepingItsOtherTexts()
{
    DocumentTree tree;
    tree.appendSection(QStringLiteral("s"));
    tree.appendOption(0, QStringLiteral("caf\u00e9"), QStringLiteral("na\u00efve"));
    tree.appendOption(0, QStringLiteral("plain"), QStringLiteral("text"));
    tree.setOptionText(0, 1, 1, QStringLiteral("\u65e5\u672c \U0001F600"));
    tree.appendOption(0, QStringLiteral("after"), QStringLiteral("\u00ff"));
    compare(tree,
        { { QStringLiteral("s"),
            { { QStringLiteral("caf\u00e9"), QStringLiteral("na\u00efve") },
                { QStringLiteral("plain"), QStringLiteral("\u65e5\u672c \U0001F600") },
                { QStringLiteral("after"), QStringLiteral("\u00ff") } } } });

    DocumentContents contents;
    contents.appendSection(QStringLiteral("u"));
    contents.appendOption(0, QUtf8StringView("\xc3\xa9t\xc3\xa9"), QUtf8StringView("ascii"));
    contents.appendOption(0, QLatin1StringView("latin"), QUtf8StringView("\xe2\x82\xac"));
    tree.append(std::move(contents));
    QCOMPARE(tree.optionText(1, 0, 0), QStringLiteral("\u00e9t\u00e9"));
    QCOMPARE(tree.optionText(1, 1, 1), QStringLiteral("\u20ac"));
}

void tst_CompactStorage::textsAtTheLatin1BoundaryKeepTheirCharacters_data()
{
    QTest::addColumn<QString>("character");
    QTest::newRow("U+00FF, the last of Latin-1") << QStringLiteral("\u00ff");
    QTest::newRow("U+0100, the first beyond") << QStringLiteral("\u0100");
    QTest::newRow("U+01FF") << QStringLiteral("\u01ff");
}

// A section of one-byte texts takes a character at either side of the Latin-1 boundary, typed,
// edited in place or read from a file, and gives every text back as it was.
void tst_CompactStorage::textsAtTheLatin1BoundaryKeepTheirCharacters()
{
    QFETCH(QString, character);
    DocumentTree tree;
    tree.appendSection(QStringLiteral("s"));
    tree.appendOption(0, QStringLiteral("caf\u00e9"), QStringLiteral("x"));
    tree.appendOption(0, QStringLiteral("plain"), QStringLiteral("text"));
    tree.setOptionText(0, 0, 1, character); // in place: no longer than before
    tree.appendOption(0, character, character + character);
    tree.setOptionText(0, 1, 0, QStringLiteral("ab") + character);
    compare(tree,
        { { QStringLiteral("s"),
            { { QStringLiteral("caf\u00e9"), character }, { QStringLiteral("ab") + character, QStringLiteral("text") },
                { character, character + character } } } });

    DocumentContents contents;
    contents.appendSection(QStringLiteral("u"));
    const QByteArray utf8 = character.toUtf8();
    contents.appendOption(0, QLatin1StringView("\xff"), QUtf8StringView(utf8));
    contents.appendOption(0, QUtf8StringView(utf8), QLatin1StringView("l\xe0"));
    tree.append(std::move(contents));
    QCOMPARE(tree.optionText(1, 0, 0), QStringLiteral("\u00ff"));
    QCOMPARE(tree.optionText(1, 0, 1), character);
    QCOMPARE(tree.optionText(1, 1, 0), character);
    QCOMPARE(tree.optionText(1, 1, 1), QStringLiteral("l\u00e0"));
}

void tst_CompactStorage::optionsMoveBetweenSectionsWithTheirTexts()
{
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    tree.appendSection(QStringLiteral("narrow"));
    tree.appendSection(QStringLiteral("wide"));
    tree.appendOption(0, QStringLiteral("n1"), QStringLiteral("v1"));
    tree.appendOption(0, QStringLiteral("n2"), QStringLiteral("v2"));
    tree.appendOption(1, QStringLiteral("\u0416"), QStringLiteral("\u0436"));
    tree.setImageIndex(tree.optionIndex(0, 1), 7);

    QVERIFY(tree.moveOption(1, 0, 0, 1)); // wide text into the narrow section
    QVERIFY(tree.moveOption(0, 2, 1, 0)); // n2 with its image index
    QCOMPARE(tree.imageIndex(tree.optionIndex(1, 0)), 7);
    QVERIFY(tree.moveOption(0, 0, 0, 2)); // within a section
    compare(tree,
        { { QStringLiteral("narrow"),
              { { QStringLiteral("\u0416"), QStringLiteral("\u0436") },
                  { QStringLiteral("n1"), QStringLiteral("v1") } } },
            { QStringLiteral("wide"), { { QStringLiteral("n2"), QStringLiteral("v2") } } } });
    QCOMPARE(tree.imageIndex(tree.optionIndex(0, 1)), int(DocumentTree::OptionImage));
}

void tst_CompactStorage::scatteredRemovalKeepsTheRestAndPersistentIndexes()
{
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    Plain plain;
    for (int s = 0; s < 4; ++s) {
        tree.appendSection(QString::number(s));
        plain.push_back({ QString::number(s), {} });
        for (int o = 0; o < 100; ++o) {
            tree.appendOption(s, QStringLiteral("n%1").arg(o), QStringLiteral("v%1.%2").arg(s).arg(o));
            plain.back().second.push_back({ QStringLiteral("n%1").arg(o), QStringLiteral("v%1.%2").arg(s).arg(o) });
        }
    }
    const QPersistentModelIndex kept = tree.optionIndex(2, 51);
    const QPersistentModelIndex gone = tree.optionIndex(2, 50);
    const QPersistentModelIndex keptSection = tree.sectionIndex(3);
    const QPersistentModelIndex inGoneSection = tree.optionIndex(1, 3);
    QModelIndexList nodes { tree.sectionIndex(1), tree.optionIndex(1, 5) }; // an option of a removed section too
    for (int o = 0; o < 100; o += 2)
        nodes.append(tree.optionIndex(2, o));
    QSignalSpy removals(&tree, &QAbstractItemModel::rowsRemoved);
    QSignalSpy layouts(&tree, &QAbstractItemModel::layoutChanged);
    tree.removeNodes(nodes);
    QCOMPARE(removals.count() + layouts.count(), 1); // 51 runs, one notification

    plain.erase(plain.begin() + 1);
    std::vector<Option> odd;
    for (size_t o = 1; o < 100; o += 2)
        odd.push_back(plain[1].second[o]);
    plain[1].second = odd;
    compare(tree, plain);
    QCOMPARE(kept.row(), 25);
    QCOMPARE(kept.parent().row(), 1);
    QCOMPARE(kept.data().toString(), QStringLiteral("n51"));
    QVERIFY(!gone.isValid());
    QVERIFY(!inGoneSection.isValid());
    QCOMPARE(keptSection.row(), 2);

    // A few runs are reported row by row.
    tree.removeNodes({ tree.optionIndex(0, 0), tree.optionIndex(0, 1), tree.optionIndex(2, 99) });
    QCOMPARE(removals.count(), 2);
    QCOMPARE(tree.optionCount(0), 98);
    QCOMPARE(tree.optionText(0, 0, 0), QStringLiteral("n2"));
}

void tst_CompactStorage::randomEditsMatchAPlainModel()
{
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    Plain plain;
    QRandomGenerator random(20261207);
    const auto text = [&random] {
        static const QString alphabet = QStringLiteral("ab =\u00e9\u0416\U0001F600");
        QString t;
        const int length = random.bounded(3) == 0 ? random.bounded(300) : random.bounded(6);
        for (int i = 0; i < length; ++i)
            t += alphabet.at(random.bounded(int(alphabet.size()) - 1)); // no half of a surrogate pair
        return t;
    };
    for (int step = 0; step < 3000; ++step) {
        const int sections = int(plain.size());
        const int action = random.bounded(6);
        if (sections == 0 || action == 0) {
            const QString name = text();
            tree.appendSection(name);
            plain.push_back({ name, {} });
            continue;
        }
        const int s = random.bounded(sections);
        auto &options = plain[size_t(s)].second;
        const int count = int(options.size());
        if (action == 1 || count == 0) {
            const Option added { text(), text() };
            tree.appendOption(s, added.first, added.second);
            options.push_back(added);
        } else if (action == 2) {
            const int o = random.bounded(count);
            const int column = random.bounded(2);
            const QString t = text();
            tree.setOptionText(s, o, column, t);
            (column == 0 ? options[size_t(o)].first : options[size_t(o)].second) = t;
        } else if (action == 3) {
            const int o = random.bounded(count);
            const int to = random.bounded(sections);
            const int toRow = random.bounded(int(plain[size_t(to)].second.size()) + 1);
            if (tree.moveOption(s, o, to, toRow)) {
                const Option moved = options[size_t(o)];
                options.erase(options.begin() + o);
                auto &target = plain[size_t(to)].second;
                target.insert(target.begin() + (to == s && toRow > o ? toRow - 1 : toRow), moved);
            }
        } else {
            QModelIndexList nodes;
            std::vector<Option> left;
            for (int o = 0; o < count; ++o) {
                if (random.bounded(3) == 0)
                    nodes.append(tree.optionIndex(s, o));
                else
                    left.push_back(options[size_t(o)]);
            }
            tree.removeNodes(nodes);
            options = left;
        }
    }
    compare(tree, plain);
}

QTEST_GUILESS_MAIN(tst_CompactStorage)
#include "tst_compactstorage.moc"
