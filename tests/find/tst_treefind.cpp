// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The search engine against a plain search, on documents read the way the editor reads them, so
// that each way texts are stored is searched. This program runs twice: with the engine as built
// and with the engine built without its vector path.
#include "document/documenttree.h"
#include "find/treefind.h"
#include "ini/treeio.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
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
    void findAgreesWithPlainSearchInEveryScript_data();
    void findAgreesWithPlainSearchInEveryScript();
    void findAgreesWithPlainSearchInLatin1Text();
    void findKeepsToEachOptionsOwnTexts_data();
    void findKeepsToEachOptionsOwnTexts();
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
                QVERIFY2(findInTree(tree, options).positions() == plainSearch(tree, options),
                    qPrintable(QStringLiteral("%1 %2%3%4").arg(needle).arg(matchCase).arg(names).arg(values)));
            }
        }
    }
}

void tst_TreeFind::findAgreesWithPlainSearchInEveryScript_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::newRow("UTF-8") << QStringLiteral("UTF-8");
    QTest::newRow("UTF-16") << QStringLiteral("UTF-16");
}

// Texts in many scripts, kept as the file's UTF-8 bytes or as UTF-16: characters whose case forms
// differ in length (KELVIN SIGN and "k", LONG S and "s", the iota forms), several lower-case forms
// of one letter (the sigmas, the thetas), the Latin-1 boundary, and pairs beyond the BMP with and
// without case, and U+FEFF, a byte-order mark only at a file's start. Needles are single letters,
// pairs and pieces of the texts in changed case.
void tst_TreeFind::findAgreesWithPlainSearchInEveryScript()
{
    QFETCH(QString, encoding);
    const QString letters = QStringLiteral("aAkK\u212asS\u017f\u03c3\u03c2\u03a3\u03b8\u0398\u03d1\u03b9\u0399\u0345"
                                           "\u1fbe\u00b5\u03bc\u039c\u00ff\u0178\u0100\u0101\u01ff\u01fe\u4e2d\u0416"
                                           "\u0436\ufeff =")
        + QStringLiteral("\U0001F600\U00010400\U00010428");
    std::mt19937 random(22);
    const auto pick
        = [&random](qsizetype size) { return static_cast<qsizetype>(random() % static_cast<unsigned>(size)); };
    const auto text = [&](int most) {
        QString result;
        const auto length = pick(most + 1);
        for (qsizetype i = 0; i < length; ++i) {
            qsizetype at = pick(letters.size());
            if (letters.at(at).isLowSurrogate())
                --at;
            result += letters.at(at).isHighSurrogate() ? letters.mid(at, 2) : letters.mid(at, 1);
        }
        return result;
    };
    QString ini;
    QStringList texts;
    for (int section = 0; section < 5; ++section) {
        ini += QStringLiteral("[s%1%2]\n").arg(section).arg(text(8));
        for (int option = 0; option < 30; ++option) {
            const QString name = QStringLiteral("n%1").arg(option) + text(6);
            const QString value = text(section == 4 ? 120 : 25);
            texts << name << value;
            ini += name + u'=' + value + u'\n';
        }
    }
    QByteArray bytes = ini.toUtf8();
    if (encoding == QStringLiteral("UTF-16")) {
        bytes = QByteArray("\xFF\xFE");
        for (const QChar c : ini)
            bytes += QByteArray(reinterpret_cast<const char *>(&c), 2);
    }
    DocumentTree tree;
    load(tree, bytes);
    QCOMPARE(tree.sectionCount(), 5);

    QStringList needles;
    for (qsizetype i = 0; i < letters.size(); ++i)
        needles << (letters.at(i).isHighSurrogate() ? letters.mid(i++, 2) : letters.mid(i, 1));
    for (int i = 0; i < 60; ++i) {
        const QString &from = texts.at(pick(texts.size()));
        if (from.size() < 2)
            continue;
        qsizetype start = pick(from.size() - 1);
        start -= from.at(start).isLowSurrogate() ? 1 : 0;
        qsizetype length = 1 + pick(std::min<qsizetype>(6, from.size() - start));
        length += from.at(start + length - 1).isHighSurrogate() ? 1 : 0; // no half of a pair
        const QString piece = from.mid(start, length);
        needles << piece << piece.toUpper() << piece.toLower();
    }
    needles << QStringLiteral("k\u212a") << QStringLiteral("\u03c3\u03c3");
    const auto compareAll = [&] {
        for (const QString &needle : std::as_const(needles)) {
            for (const bool matchCase : { false, true }) {
                for (const auto &[names, values] :
                    { std::pair(true, true), std::pair(true, false), std::pair(false, true) }) {
                    const FindOptions options { needle, names, values, matchCase };
                    QVERIFY2(findInTree(tree, options).positions() == plainSearch(tree, options),
                        qPrintable(QStringLiteral("%1 (%2) %3%4%5")
                                       .arg(needle, QString::number(needle.at(0).unicode(), 16))
                                       .arg(matchCase)
                                       .arg(names)
                                       .arg(values)));
                }
            }
        }
    };
    compareAll();
    if (QTest::currentTestFailed())
        return;
    // Edited texts that grow move to the end of their section's buffer, out of the options' order.
    for (int section = 0; section < 5; ++section) {
        for (int option = section % 3; option < 30; option += 3) {
            const int column = option % 2;
            tree.setOptionText(section, option, column, text(4) + tree.optionText(section, option, column) + text(4));
        }
    }
    compareAll();
}

// A Latin-1 file is kept as its bytes. Letters up to U+00FF are searched there, in either case,
// including those whose other case lies beyond Latin-1 (U+00FF and U+0178) or has none there
// (U+00DF, U+00B5), needles from just beyond the boundary (U+0100 to U+01FF) find nothing
// that a plain search does not, and those that fold as a Latin-1 letter does (U+212A KELVIN SIGN,
// U+212B ANGSTROM SIGN, U+017F, U+039C) find what it finds.
void tst_TreeFind::findAgreesWithPlainSearchInLatin1Text()
{
    QByteArray ini = "[s\xff]\n";
    for (int c = 0xA0; c <= 0xFF; c += 4) {
        ini += "k" + QByteArray::number(c) + "=";
        for (int d = c; d < c + 4; ++d)
            ini += char(d);
        ini += " x\xff\xdf\n";
    }
    DocumentTree tree;
    load(tree, ini);
    QCOMPARE(tree.sectionCount(), 1);
    QCOMPARE(tree.sourceFormat().encoding, TextFormat::Encoding::Latin1);

    QStringList needles;
    for (char16_t c = 0xA0; c <= 0xFF; ++c) {
        const QString letter(QChar { c });
        needles << letter << letter.toUpper() << letter.toLower();
    }
    for (const char16_t c : { u'\u0100', u'\u0101', u'\u0178', u'\u01fe', u'\u01ff', u'\u1e9e', u'\u039c', u'\u03bc',
             u'\u212a', u'\u212b', u'\u017f', u'\u03b1', u'\u4e2d' })
        needles << QString(QChar { c }) << QStringLiteral("x") + QChar { c };
    needles << QStringLiteral("X\u0178") << QStringLiteral("\u00ff\u00df") << QStringLiteral("SS")
            << QStringLiteral("\u212a1") << QStringLiteral("\u017f\u00ff") << QStringLiteral("\u212a\u03b1");
    for (const QString &needle : std::as_const(needles)) {
        for (const bool matchCase : { false, true }) {
            const FindOptions options { needle, true, true, matchCase };
            QVERIFY2(findInTree(tree, options).positions() == plainSearch(tree, options),
                qPrintable(
                    QStringLiteral("U+%1 %2").arg(needle.at(0).unicode(), 4, 16, QLatin1Char('0')).arg(matchCase)));
        }
    }
}

void tst_TreeFind::findKeepsToEachOptionsOwnTexts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("UTF-8") << QStringLiteral("[a]\nk = \u03b1lpha\n[b]\nm=\u03b2eta\n[a]\nl=gamma\n").toUtf8();
    QTest::newRow("ASCII") << QByteArray("[a]\nk = alpha\n[b]\nm=beta\n[a]\nl=gamma\n");
}

// A loaded section's texts are places in the file's bytes, which hold the other sections' texts, the
// '=' and the line ends between them: none of that may be found as part of an option.
void tst_TreeFind::findKeepsToEachOptionsOwnTexts()
{
    QFETCH(QByteArray, bytes);
    DocumentTree tree;
    load(tree, bytes);
    QCOMPARE(tree.sectionCount(), 2);
    QStringList needles { QStringLiteral("k = "), QStringLiteral("k="), QStringLiteral("= "), QStringLiteral("a\nl"),
        QStringLiteral("eta"), QStringLiteral("m"), QStringLiteral("b]"), QStringLiteral("gamma"),
        QStringLiteral("a") };
    const auto compareAll = [&] {
        for (const QString &needle : std::as_const(needles)) {
            const FindOptions options { needle, true, true, false };
            QVERIFY2(findInTree(tree, options).positions() == plainSearch(tree, options), qPrintable(needle));
        }
    };
    compareAll();
    // The first section's texts, once edited, are its own; the second's still the file's.
    tree.setOptionText(0, 0, DocumentTree::ValueColumn, QStringLiteral("x"));
    needles << QStringLiteral("x");
    compareAll();
}

QTEST_GUILESS_MAIN(tst_TreeFind)

#include "tst_treefind.moc"
