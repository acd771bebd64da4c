// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The search engine against a plain search, on documents read the way the editor reads them, so
// that each way texts are stored is searched. This program runs twice: with the engine as built
// and with the engine built without its vector path.
#include "document/documenttree.h"
#include "document/treeio.h"
#include "find/treefind.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <random>
#include <utility>

namespace {

const QByteArray FindIni = "[Alpha]\nkey=apple\nname=Beta\n[beta]\nx=1\ny=ALPHA\n[gamma]\nz=3\nalpha=9\n";

// Reads `ini` through the loader into `tree`.
void load(DocumentTree &tree, const QByteArray &ini)
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("doc.ini"));
    testfiles::writeBytes(name, ini);
    LoadTreeFromIni(tree, name);
}

int count(const DocumentTree &tree, const QString &text, bool names, bool values, bool matchCase)
{
    return static_cast<int>(findInTree(tree, FindOptions { text, names, values, matchCase }).size());
}

// Every node that holds the text by QString's own search, in display order.
std::vector<NodePosition> plainSearch(const DocumentTree &tree, const FindOptions &options)
{
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    std::vector<NodePosition> expected;
    if (options.text.isEmpty())
        return expected;
    for (int section = 0; section < tree.sectionCount(); ++section) {
        if (options.names && tree.sectionIndex(section).data().toString().contains(options.text, cs))
            expected.push_back({ section, -1 });
        for (int option = 0; option < tree.optionCount(section); ++option) {
            const QString name = tree.optionIndex(section, option, 0).data().toString();
            const QString value = tree.optionIndex(section, option, 1).data().toString();
            if ((options.names && name.contains(options.text, cs))
                || (options.values && value.contains(options.text, cs)))
                expected.push_back({ section, option });
        }
    }
    return expected;
}

} // namespace

class tst_TreeFind : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findCountsEachNodeOnce();
    void findAgreesWithPlainSearch();
};

void tst_TreeFind::findCountsEachNodeOnce()
{
    DocumentTree tree;
    load(tree, FindIni);
    // Section "Alpha", value "ALPHA" of y, option name "alpha"; "Alpha" section counted by name.
    QCOMPARE(count(tree, "alpha", true, true, false), 3);
    QCOMPARE(count(tree, "alpha", true, false, false), 2);
    QCOMPARE(count(tree, "alpha", false, true, false), 1);
    QCOMPARE(count(tree, "alpha", true, true, true), 1);
    QCOMPARE(count(tree, "Alpha", true, true, true), 1);
    // An option matching by both name and value counts once; a section's name matches, its value never.
    QCOMPARE(count(tree, "a", true, true, false), 7);
    QCOMPARE(count(tree, "", true, true, false), 0);
    QCOMPARE(count(tree, "alpha", false, false, false), 0);
    QCOMPARE(count(tree, "nothing", true, true, false), 0);
}

// Long texts that a search takes several characters at a time, Latin-1 letters in either case, the
// characters that differ from others in the case bit only, and a section whose texts need UTF-16:
// every search finds what a plain one finds, and no match runs from a name into its value.
void tst_TreeFind::findAgreesWithPlainSearch()
{
    const QString letters = QStringLiteral("aAzZ\u00e9\u00c9@`x");
    std::mt19937 random(7);
    const auto text = [&](int most) {
        QString result;
        const int length = static_cast<int>(random() % static_cast<unsigned>(most + 1));
        for (int i = 0; i < length; ++i)
            result += letters.at(static_cast<qsizetype>(random() % static_cast<unsigned>(letters.size())));
        return result;
    };
    QString ini;
    for (int section = 0; section < 6; ++section) {
        ini += QStringLiteral("[s%1%2]\n").arg(section).arg(text(20));
        if (section == 3)
            ini += QStringLiteral("wide=\u0416%1\n").arg(text(30)); // this section's texts are UTF-16
        for (int option = 0; option < 40; ++option)
            ini += QStringLiteral("n%1%2=%3\n").arg(option).arg(text(12), text(70));
    }
    ini += QStringLiteral("[t]\nab=cd\n");
    DocumentTree tree;
    load(tree, ini.toUtf8());
    QCOMPARE(tree.sectionCount(), 7);

    for (const QString &needle : QStringList {
             "z", "zZ", "a\u00e9", "\u00c9\u00c9", "@", "`a", "x@`", "bc", "azAZazAZazAZazAZaz", "\u0416", "n3" }) {
        for (const bool matchCase : { false, true }) {
            for (const auto &[names, values] :
                { std::pair(true, true), std::pair(true, false), std::pair(false, true) }) {
                const FindOptions options { needle, names, values, matchCase };
                QVERIFY2(findInTree(tree, options) == plainSearch(tree, options),
                    qPrintable(QStringLiteral("%1 %2%3%4").arg(needle).arg(matchCase).arg(names).arg(values)));
            }
        }
    }
}

QTEST_GUILESS_MAIN(tst_TreeFind)

#include "tst_treefind.moc"
