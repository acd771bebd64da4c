// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"
#include "document/namemarks.h"
#include "document/textrules.h"
#include "ini/treeio.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace testfiles;

namespace {

// Every node's tooltip in tree order: a section, then its options; empty for an unmarked node.
QStringList marksOf(const DocumentTree &tree, const NameMarks &marks)
{
    QStringList texts;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        texts << marks.sectionMark(s).text();
        for (int o = 0; o < tree.optionCount(s); ++o)
            texts << marks.optionMark(s, o).text();
    }
    return texts;
}

Content section(const QString &name, const Options &options = {})
{
    return { { name, options } };
}

// Small texts that meet the save's and the load's special cases. No ']': a line that turns into a
// section header moves the options after it, which this oracle does not follow (the fuzz target
// of the marks does).
QString pieces(QRandomGenerator &random, const QStringList &from, int most)
{
    QString text;
    const int count = random.bounded(most + 1);
    for (int i = 0; i < count; ++i)
        text += from.at(random.bounded(int(from.size())));
    return text;
}

DocumentTree *randomTree(QRandomGenerator &random, QObject *parent)
{
    static const QStringList sectionPieces { u"x"_qs, u"y"_qs, u" "_qs, u"\t"_qs, u"\n"_qs };
    static const QStringList namePieces { u"a"_qs, u"k"_qs, u"k"_qs, u" "_qs, u"="_qs, u";"_qs, u"#"_qs, u"["_qs,
        u"\n"_qs, u"\t"_qs };
    static const QStringList valuePieces { u"1"_qs, u"2"_qs, u" "_qs, u"\n"_qs, u"="_qs, u"v"_qs };
    auto *tree = new DocumentTree(parent);
    const int sections = 1 + random.bounded(5);
    for (int s = 0; s < sections; ++s) {
        const int row = tree->appendSection(pieces(random, sectionPieces, 2));
        const int options = random.bounded(6);
        for (int o = 0; o < options; ++o)
            tree->appendOption(row, pieces(random, namePieces, 3), pieces(random, valuePieces, 2));
    }
    return tree;
}

} // namespace

class tst_NameMarks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void marksSayWhatASaveDoes_data();
    void marksSayWhatASaveDoes();
    void exactlyTheMarkedNodesChangeInASaveAndLoad();
    void marksFollowEveryChangeOfTheModel();
    void aLargeChangeIsMarkedInSlicesThatEndAsOneMarkingDoes();
};

void tst_NameMarks::marksSayWhatASaveDoes_data()
{
    QTest::addColumn<Content>("tree");
    QTest::addColumn<QStringList>("marks");
    const QString none;
    const QString empty = u"Not saved: the name is empty"_qs;
    const QString noOptions = u"Not saved: the section has no option with a name"_qs;
    const QString comment = u"Not loaded back: a line that starts with ';' or '#' is a comment"_qs;

    QTest::newRow("plain names") << section(u"s"_qs, { { u"a"_qs, u"1"_qs }, { u"b"_qs, u"2"_qs } })
                                 << QStringList { none, none, none };
    QTest::newRow("empty option name") << section(u"s"_qs, { { QString(), u"1"_qs }, { u"a"_qs, u"2"_qs } })
                                       << QStringList { none, empty, none };
    QTest::newRow("empty section name, its options go with it") << section(QString(), { { u"a"_qs, u"1"_qs } })
            + section(u"t"_qs, { { u"b"_qs, u"2"_qs } }) << QStringList { empty, none, none, none };
    QTest::newRow("section without options") << section(u"s"_qs) << QStringList { noOptions };
    QTest::newRow("section with unnamed options only")
        << section(u"s"_qs, { { QString(), u"1"_qs } }) << QStringList { noOptions, empty };
    QTest::newRow("repeated section") << section(u"x"_qs, { { u"a"_qs, u"1"_qs } })
            + section(u"x"_qs, { { u"b"_qs, u"2"_qs } })
                                      << QStringList { none, none, u"Saved into the section 'x' above"_qs, none };
    QTest::newRow("section stored under the name above")
        << section(u"x"_qs, { { u"a"_qs, u"1"_qs } }) + section(u" x\t"_qs, { { u"b"_qs, u"2"_qs } })
        << QStringList { none, none, u"Saved into the section 'x' above"_qs, none };
    // The saver writes a section with its first named option: sections of that name above it have
    // nothing in the file, and the section stands where that option's section stands.
    QTest::newRow("empty first section is not saved; the one with options is")
        << section(u"x"_qs) + section(u"x"_qs, { { u"b"_qs, u"2"_qs } }) << QStringList { noOptions, none, none };
    QTest::newRow("empty first section does not put the section above the ones between")
        << section(u"a"_qs) + section(u"b"_qs, { { u"k"_qs, u"1"_qs } }) + section(u"a"_qs, { { u"j"_qs, u"2"_qs } })
            + section(u"a"_qs)
        << QStringList { noOptions, none, none, none, none, u"Saved into the section 'a' above"_qs };
    QTest::newRow("section name with blanks")
        << section(u" x "_qs, { { u"a"_qs, u"1"_qs } }) << QStringList { u"Loads back as 'x'"_qs, none };
    QTest::newRow("blank section name") << section(u" \t"_qs, { { u"a"_qs, u"1"_qs } })
                                        << QStringList { u"Loads back as ''"_qs, none };
    QTest::newRow("section name with a line break")
        << section(u"x\ny"_qs, { { u"a"_qs, u"1"_qs } }) << QStringList { u"Loads back as 'x y'"_qs, none };
    QTest::newRow("section names that read as comments or hold '=' load back")
        << section(u";x"_qs, { { u"a"_qs, u"1"_qs } }) + section(u"a=b"_qs, { { u"a"_qs, u"1"_qs } })
        << QStringList { none, none, none, none };

    QTest::newRow("repeated option: the last value is saved")
        << section(u"s"_qs, { { u"k"_qs, u"1"_qs }, { u"k"_qs, u"2"_qs } })
        << QStringList { none, u"Saved as one entry with the option 'k' below, whose value wins"_qs,
               u"Saved as one entry with the option 'k' above; this value wins"_qs };
    QTest::newRow("three of a name")
        << section(u"s"_qs, { { u"k"_qs, u"1"_qs }, { u"k"_qs, u"2"_qs }, { u"k"_qs, u"3"_qs } })
        << QStringList { none, u"Saved as one entry with the option 'k' below, whose value wins"_qs,
               u"Saved as one entry with the option 'k' above; the value of a later one wins"_qs,
               u"Saved as one entry with the option 'k' above; this value wins"_qs };
    QTest::newRow("repeated option with the same value keeps the first as it is")
        << section(u"s"_qs, { { u"k"_qs, u"1"_qs }, { u"k"_qs, u"1"_qs } })
        << QStringList { none, none, u"Saved as one entry with the option 'k' above; this value wins"_qs };
    QTest::newRow("option stored under a name above")
        << section(u"s"_qs, { { u"k"_qs, u"1"_qs }, { u" k"_qs, u"1"_qs } })
        << QStringList { none, none, u"Saved as one entry with the option 'k' above; this value wins"_qs };
    QTest::newRow("repeated option across repeated sections")
        << section(u"x"_qs, { { u"k"_qs, u"1"_qs } }) + section(u"x"_qs, { { u"k"_qs, u"2"_qs } })
        << QStringList { none, u"Saved as one entry with the option 'k' below, whose value wins"_qs,
               u"Saved into the section 'x' above"_qs,
               u"Saved as one entry with the option 'k' above; this value wins"_qs };
    // The first section holds its texts as Latin-1, the second as UTF-8 (for its Greek name).
    QTest::newRow("repeated option across sections of other text forms")
        << section(u"x"_qs, { { u"\u00e9"_qs, u"1"_qs } })
            + section(u"x"_qs, { { u"\u00e9"_qs, u"2"_qs }, { u"\u03b1"_qs, u"3"_qs } })
        << QStringList { none, u"Saved as one entry with the option '\u00e9' below, whose value wins"_qs,
               u"Saved into the section 'x' above"_qs,
               u"Saved as one entry with the option '\u00e9' above; this value wins"_qs, none };
    QTest::newRow("same option name in other sections") << section(u"x"_qs, { { u"k"_qs, u"1"_qs } })
            + section(u"y"_qs, { { u"k"_qs, u"2"_qs } }) << QStringList { none, none, none, none };

    QTest::newRow("option name holding '='")
        << section(u"s"_qs, { { u"a = b"_qs, u"c"_qs } }) << QStringList { none, u"Loads back as 'a'"_qs };
    QTest::newRow("'=' name that meets the name it loads back as")
        << section(u"s"_qs, { { u"a=b"_qs, u"1"_qs }, { u"a"_qs, u"2"_qs } })
        << QStringList { none, u"Loads back as 'a'"_qs,
               u"Not loaded back: it reads as 'a', and the option 'a' above is kept"_qs };
    QTest::newRow("option names starting with comment marks")
        << section(u"s"_qs, { { u";x"_qs, u"1"_qs }, { u" #y"_qs, u"2"_qs }, { u"x;"_qs, u"3"_qs } })
        << QStringList { none, comment, comment, none };
    QTest::newRow("blank option name") << section(u"s"_qs, { { u" \t"_qs, u"1"_qs } })
                                       << QStringList { none, u"Loads back as ''"_qs };
    QTest::newRow("option name with blanks around")
        << section(u"s"_qs, { { u" k "_qs, u"1"_qs } }) << QStringList { none, u"Loads back as 'k'"_qs };
    QTest::newRow("option name with a line break")
        << section(u"s"_qs, { { u"a\r\nb"_qs, u"1"_qs } }) << QStringList { none, u"Loads back as 'a  b'"_qs };
    // A line that reads as a header takes the lines after it into that section. Where the section
    // stands further down, the loader keeps the moved option and drops the section's own.
    QTest::newRow("option line that moves options into a section below")
        << section(u"a"_qs, { { u"[b]"_qs, u"v"_qs }, { u"k"_qs, u"1"_qs }, { u"m"_qs, u"3"_qs } })
            + section(u"b"_qs, { { u"k"_qs, u"2"_qs }, { u"j"_qs, u"2"_qs } })
        << QStringList { none, u"Loads back as the section 'b', which takes the options after it"_qs, none, none, none,
               u"Not loaded back: it reads as 'k', and the option 'k' above is kept"_qs, none };
    // Where it stands above, or lines of another group moved the name there first, the loader
    // keeps that one and drops the moved option.
    QTest::newRow("option line that moves options into a section above")
        << section(u"b"_qs, { { u"k"_qs, u"2"_qs } })
            + section(u"a"_qs, { { u"[ b ]"_qs, u"v"_qs }, { u"k"_qs, u"1"_qs }, { u"m"_qs, u"1"_qs } })
        << QStringList { none, none, none, u"Loads back as the section 'b', which takes the options after it"_qs,
               u"Not loaded back: it reads as 'k', and the option 'k' above is kept"_qs, none };
    QTest::newRow("option lines of two sections that move options into one")
        << section(u"a"_qs, { { u"[c]"_qs, u"v"_qs }, { u"k"_qs, u"1"_qs } })
            + section(u"b"_qs, { { u"[c]"_qs, u"v"_qs }, { u"k"_qs, u"2"_qs }, { u"m"_qs, u"2"_qs } })
        << QStringList { none, u"Loads back as the section 'c', which takes the options after it"_qs, none, none,
               u"Loads back as the section 'c', which takes the options after it"_qs,
               u"Not loaded back: it reads as 'k', and the option 'k' above is kept"_qs, none };
    QTest::newRow("option line that reads as a header")
        << section(u"s"_qs, { { u"[t"_qs, u"x]"_qs }, { u"[u"_qs, u"x"_qs } })
        << QStringList { none, u"Loads back as the section 't=x', which takes the options after it"_qs, none };
    QTest::newRow("value with blanks and line breaks")
        << section(u"s"_qs, { { u"a"_qs, u" v "_qs }, { u"b"_qs, u"x\ny"_qs }, { u"c"_qs, u"x\n"_qs } })
        << QStringList { none, u"Loads back with the value 'v'"_qs, u"Loads back with the value 'x y'"_qs,
               u"Loads back with the value 'x'"_qs };
}

void tst_NameMarks::marksSayWhatASaveDoes()
{
    QFETCH(Content, tree);
    QFETCH(QStringList, marks);
    DocumentTree document;
    fill(document, tree);
    const NameMarks names(&document);
    QCOMPARE(marksOf(document, names), marks);
}

void tst_NameMarks::exactlyTheMarkedNodesChangeInASaveAndLoad()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"marks.ini"_qs);
    QRandomGenerator random(14);
    for (int round = 0; round < 200; ++round) {
        QObject owner;
        const DocumentTree &tree = *randomTree(random, &owner);
        const NameMarks marks(&tree);
        SaveTreeToIni(tree, file);
        DocumentTree loaded;
        LoadTreeFromIni(loaded, file);
        QHash<QString, Options> loadedSections;
        QStringList loadedOrder;
        for (const auto &[name, options] : contentOf(loaded)) {
            loadedSections.insert(name, options);
            loadedOrder << name;
        }

        const Content before = contentOf(tree);
        QHash<QString, QList<int>> groups; // sections saved as one, by stored name
        QStringList keys;
        QSet<QString> written; // groups whose section has been written: the first with a named option
        QStringList unmarkedOrder;
        for (int s = 0; s < tree.sectionCount(); ++s) {
            const QString &name = before[s].first;
            const bool firstOfGroup = !name.isEmpty() && !groups.contains(storedName(name));
            const bool hasNamedOption = std::any_of(before[s].second.cbegin(), before[s].second.cend(),
                [](const auto &option) { return !option.first.isEmpty(); });
            const bool writer = !name.isEmpty() && hasNamedOption && !written.contains(storedName(name));
            if (!name.isEmpty()) {
                if (firstOfGroup)
                    keys << storedName(name);
                groups[storedName(name)] << s;
            }
            if (writer)
                written.insert(storedName(name));
            const bool comesBack = writer && loadedSections.contains(name);
            QVERIFY2(marks.sectionMark(s).isNone() == comesBack,
                qPrintable(u"round %1, section '%2': %3"_qs.arg(round).arg(name, marks.sectionMark(s).text())));
            if (comesBack)
                unmarkedOrder << name;
        }
        // The unmarked sections come back in their order.
        const QSet<QString> unmarkedSections(unmarkedOrder.cbegin(), unmarkedOrder.cend());
        loadedOrder.removeIf([&](const QString &name) { return !unmarkedSections.contains(name); });
        QCOMPARE(loadedOrder, unmarkedOrder);
        for (const QString &key : std::as_const(keys)) {
            const Options after = loadedSections.value(key);
            Options unmarked;
            QSet<QString> unmarkedNames;
            QHash<QString, int> loadsBackAs; // how many nodes might load back under a name
            for (const int s : groups.value(key)) {
                for (const auto &[name, value] : before[s].second) {
                    const QString stored = storedName(name);
                    ++loadsBackAs[stored.first(stored.contains(u'=') ? stored.indexOf(u'=') : stored.size()).trimmed()];
                }
            }
            for (const int s : groups.value(key)) {
                for (int o = 0; o < tree.optionCount(s); ++o) {
                    const auto &[name, value] = before[s].second[o];
                    const QString context = u"round %1, section '%2', option '%3'='%4': %5"_qs.arg(round).arg(
                        key, name, value, marks.optionMark(s, o).text());
                    if (marks.optionMark(s, o).isNone()) {
                        unmarked << qMakePair(name, value);
                        QVERIFY2(!unmarkedNames.contains(name), qPrintable(context));
                        unmarkedNames.insert(name);
                    } else {
                        // A marked node may only seem to come back when another node loads back
                        // under its name.
                        QVERIFY2(!after.contains(qMakePair(name, value)) || loadsBackAs.value(name) > 1,
                            qPrintable(context));
                    }
                }
            }
            Options cameBack;
            for (const auto &option : after) {
                if (unmarkedNames.contains(option.first))
                    cameBack << option;
            }
            QCOMPARE(cameBack, unmarked);
        }
    }
}

void tst_NameMarks::marksFollowEveryChangeOfTheModel()
{
    QRandomGenerator random(1414);
    static const QStringList names { u"k"_qs, u" k"_qs, QString(), u"x"_qs, u"a=b"_qs, u";c"_qs, u"[x]"_qs };
    for (int round = 0; round < 60; ++round) {
        QObject owner;
        DocumentTree &tree = *randomTree(random, &owner);
        const NameMarks marks(&tree);
        for (int step = 0; step < 25; ++step) {
            const int sections = tree.sectionCount();
            const int s = random.bounded(std::max(sections, 1));
            const int options = sections > 0 ? tree.optionCount(s) : 0;
            const QString name = names.at(random.bounded(int(names.size())));
            switch (sections == 0 ? 1 : random.bounded(10)) {
            case 0:
                tree.setData(tree.sectionIndex(s), name, Qt::EditRole);
                break;
            case 1:
                tree.appendSection(name);
                break;
            case 2:
                tree.appendOption(s, name, u"1"_qs);
                break;
            case 3:
                if (options > 0)
                    tree.setData(tree.optionIndex(s, random.bounded(options), random.bounded(2)), name, Qt::EditRole);
                break;
            case 4:
                tree.moveSection(s, random.bounded(sections + 1));
                break;
            case 5:
                if (options > 0)
                    tree.moveOption(s, random.bounded(options), random.bounded(sections), 0);
                break;
            case 6:
                if (options > 0)
                    tree.optionToSection(s, random.bounded(options), random.bounded(sections + 1));
                break;
            case 7: {
                QModelIndexList nodes { tree.sectionIndex(s) };
                const int t = random.bounded(sections);
                for (int o = 0; o < tree.optionCount(t); o += 2)
                    nodes << tree.optionIndex(t, o);
                tree.removeNodes(nodes);
                break;
            }
            case 8: { // a removal and its undo
                QModelIndexList nodes { tree.sectionIndex(random.bounded(sections)) };
                if (options > 0)
                    nodes << tree.optionIndex(s, random.bounded(options));
                DocumentNodes taken = tree.takeNodes(nodes);
                const NameMarks between(&tree);
                QCOMPARE(marksOf(tree, marks), marksOf(tree, between));
                tree.putBack(std::move(taken));
                break;
            }
            default: {
                const TreeBatch batch(tree);
                tree.appendOption(s, name, u"2"_qs);
                tree.setSectionText(s, DocumentTree::NameColumn, name);
            }
            }
            const NameMarks fresh(&tree);
            QCOMPARE(marksOf(tree, marks), marksOf(tree, fresh));
        }
    }
}

void tst_NameMarks::aLargeChangeIsMarkedInSlicesThatEndAsOneMarkingDoes()
{
    // Three and a half slices of options, with marks near both ends and a section name that stands
    // twice, far apart: the second section is saved into the first.
    constexpr int Sections = 35;
    constexpr qsizetype Slice = 20'000;
    const int perSection = int(Slice / 10);
    DocumentTree tree;
    NameMarks marks(&tree);
    marks.setSliceOptions(Slice);
    {
        const TreeBatch batch(tree);
        for (int s = 0; s < Sections; ++s) {
            const int row = tree.appendSection(s == Sections - 1 ? u"s0"_qs : u"s%1"_qs.arg(s));
            tree.reserveOptions(row, perSection);
            for (int o = 0; o < perSection; ++o)
                tree.appendOption(row, u"k%1"_qs.arg(o), u"v"_qs);
            tree.setOptionText(row, 1, DocumentTree::NameColumn, u"k0"_qs);
            tree.setOptionText(row, 2, DocumentTree::NameColumn, u" spaced"_qs);
        }
    } // the batch ends with a reset: everything is marked again
    QVERIFY(marks.isPending());
    QVERIFY(marks.optionMark(Sections - 2, 1).isNone()); // its turn has not come yet
    QVERIFY(!marks.optionMark(0, 1).isNone()); // the first slice is marked at once

    // Changes while slices are pending: an edit near the end, a removal near the start.
    tree.setData(tree.optionIndex(Sections - 3, 5), u"k4"_qs, Qt::EditRole);
    tree.removeNodes({ tree.sectionIndex(1) });
    // Nothing goes on by itself: the owner asks for each further slice.
    QCoreApplication::processEvents();
    QVERIFY(marks.isPending());
    int slices = 0;
    while (marks.isPending() && slices < 10) {
        marks.markMore();
        ++slices;
    }
    QVERIFY(!marks.isPending());

    NameMarks fresh(&tree);
    QVERIFY(!fresh.isPending()); // without slices, a change is marked whole
    const QStringList expected = marksOf(tree, fresh);
    QCOMPARE(marksOf(tree, marks), expected);
    QVERIFY(!marks.optionMark(Sections - 4, 5).isNone()); // the edit, now in section Sections - 4
    QCOMPARE(marks.sectionMark(Sections - 2).kind, NameMark::Kind::SectionMerged);

    // An edit of a small group is marked before the model's signal returns.
    tree.setData(tree.optionIndex(0, 7), u"k6"_qs, Qt::EditRole);
    QVERIFY(!marks.isPending());
    QCOMPARE(marks.optionMark(0, 7).kind, NameMark::Kind::OptionMergedLoses); // the "k6" of the last section wins
}

QTEST_GUILESS_MAIN(tst_NameMarks)
#include "tst_namemarks.moc"
