// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "ini/inifile.h"
#include "ini/treeio.h"
#include "testfiles.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace testfiles;

namespace {

Options opts(std::initializer_list<QPair<QString, QString>> list)
{
    return Options(list);
}
QString s(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

class tst_TreeIo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void loadsEmptyAndMissingFilesAsEmptyTrees();
    void loadsSectionsAndOptionsInFileOrder();
    void loadAppendsAfterExistingNodes();
    void loadIsOneBatchAndReportsProgress();
    void loadsWhatTheStoreReads_data();
    void loadsWhatTheStoreReads();
    void repeatedSectionsReadAsOneInLargeFiles();

    void saves_data();
    void saves();
    void saveOverTheLoadedFileRewritesItInTreeOrder();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void tst_TreeIo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_file = m_dir->filePath(QStringLiteral("doc.ini"));
}

void tst_TreeIo::loadsEmptyAndMissingFilesAsEmptyTrees()
{
    DocumentTree tree;
    LoadTreeFromIni(tree, m_dir->filePath(QStringLiteral("none.ini")));
    QCOMPARE(tree.sectionCount(), 0);
    for (const char *bytes : { "", "; only a comment\nx=outside any section\n" }) {
        writeBytes(m_file, bytes);
        LoadTreeFromIni(tree, m_file);
        QCOMPARE(tree.sectionCount(), 0);
    }
}

void tst_TreeIo::loadsSectionsAndOptionsInFileOrder()
{
    writeBytes(m_file,
        "[a]\nx=1\n[b]\n[]\n=nameless\n[c]\nlong=" + QByteArray(5000, 'L') + "\nempty=\ny=2\n[a]\nz=3\nx=ignored\n");
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    LoadTreeFromIni(tree, m_file);
    const Content expected {
        { s("a"), opts({ { s("x"), s("1") }, { s("z"), s("3") } }) },
        { s("b"), {} },
        { QString(), opts({ { QString(), s("nameless") } }) },
        { s("c"), opts({ { s("long"), QString(5000, u'L') }, { s("empty"), QString() }, { s("y"), s("2") } }) },
    };
    QCOMPARE(contentOf(tree), expected);
    for (int section = 0; section < tree.sectionCount(); ++section) {
        QCOMPARE(tree.imageIndex(tree.sectionIndex(section)), int(DocumentTree::SectionImage));
        QCOMPARE(tree.sectionText(section, DocumentTree::ValueColumn), QString());
        for (int option = 0; option < tree.optionCount(section); ++option)
            QCOMPARE(tree.imageIndex(tree.optionIndex(section, option)), int(DocumentTree::OptionImage));
    }
}

void tst_TreeIo::loadAppendsAfterExistingNodes()
{
    writeBytes(m_file, "[a]\nx=1\n");
    DocumentTree tree;
    fill(tree, { { s("kept"), opts({ { s("k"), s("v") } }) } });
    LoadTreeFromIni(tree, m_file);
    LoadTreeFromIni(tree, m_file);
    const Content expected { { s("kept"), opts({ { s("k"), s("v") } }) }, { s("a"), opts({ { s("x"), s("1") } }) },
        { s("a"), opts({ { s("x"), s("1") } }) } };
    QCOMPARE(contentOf(tree), expected);
}

void tst_TreeIo::loadIsOneBatchAndReportsProgress()
{
    QByteArray bytes;
    for (int section = 0; section < 50; ++section) {
        bytes += "[s" + QByteArray::number(section) + "]\n";
        for (int option = 0; option < 200; ++option)
            bytes += "o" + QByteArray::number(option) + "=v\n";
    }
    writeBytes(m_file, bytes);
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&tree, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&tree, &QAbstractItemModel::rowsInserted);
    int received = 0;
    QMetaObject::invokeMethod(
        this, [&received] { ++received; }, Qt::QueuedConnection);

    // The reports come on the caller's thread, rising to 100, before the tree changes.
    QList<int> reports;
    const QThread *caller = QThread::currentThread();
    LoadTreeFromIni(tree, m_file, [&](int percent) {
        QCOMPARE(QThread::currentThread(), caller);
        QCOMPARE(tree.sectionCount(), 0);
        QVERIFY(reports.isEmpty() || reports.constLast() <= percent);
        reports << percent;
    });
    QVERIFY(!reports.isEmpty());
    QCOMPARE(reports.constLast(), 100);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(tree.sectionCount(), 50);
    QVERIFY(!tree.inBatch());
    // The load runs no event loop of its own: what runs meanwhile is the caller's choice.
    QCOMPARE(received, 0);

    SaveTreeToIni(tree, m_file);
    QCoreApplication::processEvents();
    QCOMPARE(received, 1);
}

void tst_TreeIo::loadsWhatTheStoreReads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("comments, blank lines, lines before the first section")
        << QByteArray("x=1\n; top\n# also\n\n[a]\n  ; x=1\njunk\n\t# y=2\nz=3\n\n");
    QTest::newRow("blanks around names and values") << QByteArray(" \t[ a b ] \n\t x y \t=\t 1 2 \t\nk=\n=v\n");
    QTest::newRow("headers without their bracket")
        << QByteArray("[a]b] tail\nx=1\n [ open \t\ny=2\n[\nz=3\n[x=1\n[c=d]\n");
    QTest::newRow("sections and options that stand twice")
        << QByteArray("[a]\nx=1\nx=2\n[b]\ny=2\n[a]\nz=3\nx=9\n[]\n=v\n[b]\n");
    QTest::newRow("line ends") << QByteArray("[a]\r\nx=1\ry=2\n\r\nz=3\r[b]\rw=4");
    QTest::newRow("UTF-8 mark and scripts")
        << QStringLiteral("\ufeff[\u03b1]\n\u0416 = \u4e2d\nk=\ufeffv\n[a]\nk=v\n[\u03b1]\n\u0416=x\nl=\U0001F600\n")
               .toUtf8();
    QTest::newRow("Latin-1") << QByteArray("[\xE9]\nk=caf\xE9\n[a]\nx=\xFF\n[\xE9]\nk=2\nl=3\n");
    // The first eight names of a section are compared as they are read; later ones are looked up.
    QByteArray pastEight = "[a]\n";
    for (int o = 1; o <= 9; ++o)
        pastEight += "o" + QByteArray::number(o) + "=" + QByteArray::number(o) + "\n";
    QTest::newRow("names repeated past the first eight")
        << pastEight + "o1=late\no9=late\n[b]\no1=1\no2=2\no1=3\n[c]\n" + pastEight.mid(4) + "o8=late\n";
    QTest::newRow("a header repeated at once, with a name repeated across it")
        << QByteArray("[a]\nx=1\n[a]\nx=2\ny=3\n[a]\ny=4\n[b]\nx=1\n");
    QByteArray manyTwice;
    for (int s = 0; s < 40; ++s)
        manyTwice += "[s" + QByteArray::number(s % 25) + "]\n" + "o" + QByteArray::number(s % 3) + "="
            + QByteArray::number(s) + "\n";
    QTest::newRow("many sections, some twice") << manyTwice;
    // A value too far from its name to be kept where the file holds it.
    QTest::newRow("value 16 MiB past its name")
        << "[a]\nk=" + QByteArray(1 << 24, ' ') + "far\nl=near\n[b]\n\xCE\xB1=\xCE\xB2\n";
}

// The tree holds what the store's own reader reads: the same sections, each option name once with
// its first value, in file order.
void tst_TreeIo::loadsWhatTheStoreReads()
{
    QFETCH(QByteArray, bytes);
    writeBytes(m_file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    TIniFile ini(m_file);
    QStringList sections;
    ini.GetSectionNames(sections);
    QCOMPARE(tree.sectionCount(), sections.size());
    for (int s = 0; s < tree.sectionCount(); ++s) {
        QCOMPARE(tree.sectionText(s, DocumentTree::NameColumn), sections.at(s));
        QStringList names;
        ini.GetOptionNames(sections.at(s), names);
        QCOMPARE(tree.optionCount(s), names.size());
        for (int o = 0; o < tree.optionCount(s); ++o) {
            QCOMPARE(tree.optionText(s, o, DocumentTree::NameColumn), names.at(o));
            QCOMPARE(tree.optionText(s, o, DocumentTree::ValueColumn),
                ini.ReadValue(sections.at(s), names.at(o), QString()));
        }
    }
}

// Sections are looked up a batch at a time, 64 Ki at least: repeats across and within batches,
// and one header repeated far more often than a batch holds.
void tst_TreeIo::repeatedSectionsReadAsOneInLargeFiles()
{
    QByteArray bytes;
    for (int s = 0; s < 70000; ++s)
        bytes += "[s" + QByteArray::number(s) + "]\nk=" + QByteArray::number(s) + "\n";
    for (int s = 0; s < 70000; s += 997)
        bytes += "[s" + QByteArray::number(s) + "]\nk=again\nl=" + QByteArray::number(s) + "\n";
    for (int s = 0; s < 140000; ++s)
        bytes += "[x]\nk" + QByteArray::number(s % 7) + "=" + QByteArray::number(s) + "\n";
    writeBytes(m_file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    QCOMPARE(tree.sectionCount(), 70001);
    for (int s = 0; s < 70000; ++s) {
        QCOMPARE(tree.sectionText(s, DocumentTree::NameColumn), QStringLiteral("s%1").arg(s));
        QCOMPARE(tree.optionCount(s), s % 997 == 0 ? 2 : 1);
        QCOMPARE(tree.optionText(s, 0, DocumentTree::ValueColumn), QString::number(s));
        if (s % 997 == 0)
            QCOMPARE(tree.optionText(s, 1, DocumentTree::ValueColumn), QString::number(s));
    }
    QCOMPARE(tree.sectionText(70000, DocumentTree::NameColumn), QStringLiteral("x"));
    QCOMPARE(tree.optionCount(70000), 7);
    for (int o = 0; o < 7; ++o) {
        QCOMPARE(tree.optionText(70000, o, DocumentTree::NameColumn), QStringLiteral("k%1").arg(o));
        QCOMPARE(tree.optionText(70000, o, DocumentTree::ValueColumn), QString::number(o));
    }
}

void tst_TreeIo::saves_data()
{
    QTest::addColumn<Content>("tree");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("section without options leaves no trace")
        << Content { { s("a"), opts({ { s("x"), s("1") } }) }, { s("b"), {} } } << QByteArray("[a]\nx=1\n");
    QTest::newRow("unnamed section is dropped with its options")
        << Content { { QString(), opts({ { s("x"), s("1") } }) }, { s("b"), opts({ { s("y"), s("2") } }) } }
        << QByteArray("[b]\ny=2\n");
    QTest::newRow("unnamed option is dropped, empty value kept")
        << Content { { s("a"), opts({ { QString(), s("lost") }, { s("e"), QString() } }) } } << QByteArray("[a]\ne=\n");
    QTest::newRow("section with only unnamed options leaves no trace")
        << Content { { s("a"), opts({ { QString(), s("1") } }) }, { s("b"), opts({ { s("y"), s("2") } }) } }
        << QByteArray("[b]\ny=2\n");
    QTest::newRow("repeated option: one entry with the later value")
        << Content { { s("a"), opts({ { s("x"), s("1") }, { s("y"), s("2") }, { s("x"), s("3") } }) } }
        << QByteArray("[a]\nx=3\ny=2\n");
    QTest::newRow("repeated section: merged at the first place")
        << Content { { s("a"), opts({ { s("x"), s("1") }, { s("y"), s("2") } }) },
               { s("b"), opts({ { s("q"), s("0") } }) }, { s("a"), opts({ { s("y"), s("3") }, { s("z"), s("4") } }) } }
        << QByteArray("[a]\nx=1\ny=3\nz=4\n\n[b]\nq=0\n");
    QTest::newRow("nothing to save leaves an empty file") << Content { { s("empty"), {} } } << QByteArray();
    QTest::newRow("value longer than 2047 characters kept whole")
        << Content { { s("a"), opts({ { s("x"), QString(3000, u'v') } }) } }
        << QByteArray("[a]\nx=" + QByteArray(3000, 'v') + "\n");
    QTest::newRow("line breaks in texts written as blanks")
        << Content { { s("a\nb"), opts({ { s("x\ry"), s("1\r\n2") } }) } } << QByteArray("[a b]\nx y=1  2\n");
}

void tst_TreeIo::saves()
{
    QFETCH(Content, tree);
    QFETCH(QByteArray, file);
    DocumentTree document;
    fill(document, tree);
    // The section value column is never written, and the save leaves the tree alone.
    document.setSectionText(0, DocumentTree::ValueColumn, QStringLiteral("never saved"));
    writeBytes(m_file, "[old]\nx=1\n");
    QSignalSpy changes(&document, &QAbstractItemModel::dataChanged);
    QSignalSpy resets(&document, &QAbstractItemModel::modelReset);
    SaveTreeToIni(document, m_file);
    QCOMPARE(readBytes(m_file), file);
    QCOMPARE(contentOf(document), tree);
    QCOMPARE(changes.count() + resets.count(), 0);
}

void tst_TreeIo::saveOverTheLoadedFileRewritesItInTreeOrder()
{
    // The second header has lost its ']': it still opens its section.
    writeBytes(m_file, "; comment\n[first]\nx=1\n\n# another\n[second\ny=2\nz=3\n");
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    QVERIFY(tree.moveSection(1, 0));
    QVERIFY(tree.moveOption(0, 1, 0, 0));
    SaveTreeToIni(tree, m_file);
    QCOMPARE(readBytes(m_file), QByteArray("[second]\nz=3\ny=2\n\n[first]\nx=1\n"));
}

QTEST_GUILESS_MAIN(tst_TreeIo)
#include "tst_treeio.moc"
