// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"
#include "ini/inifile.h"
#include "ini/treeio.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

// A save writes a UTF-8 document straight from its sections when no name repeats and no text needs
// a change; otherwise the rewrite, which merges repeated names and stores texts by the text rules,
// writes it. Either way the bytes must be the rewrite's: each case here is one edit that a direct
// write could get wrong, compared against the rewrite fed by hand.
using namespace testfiles;

namespace {

using Edit = std::function<void(DocumentTree &)>;

// What the rewrite alone writes for the tree.
QByteArray rewritten(const DocumentTree &tree, const QString &file)
{
    TIniFile ini(file);
    ini.beginRewrite(tree.sourceFormat());
    for (int s = 0; s < tree.sectionCount(); ++s) {
        const QString &name = tree.sectionText(s, DocumentTree::NameColumn);
        if (name.isEmpty())
            continue;
        for (int o = 0; o < tree.optionCount(s); ++o) {
            if (!tree.optionTextView(s, o, DocumentTree::NameColumn).isEmpty())
                ini.WriteValue(name, tree.optionText(s, o, DocumentTree::NameColumn),
                    tree.optionText(s, o, DocumentTree::ValueColumn));
        }
    }
    ini.commitRewrite();
    return readBytes(file);
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class tst_TreeSave : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savesWhatTheRewriteWrites_data();
    void savesWhatTheRewriteWrites();
    void filesLoadedIntoOneTreeSaveAsOne_data();
    void filesLoadedIntoOneTreeSaveAsOne();
};

void tst_TreeSave::savesWhatTheRewriteWrites_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Edit>("edit");

    const QByteArray scripts = QStringLiteral("\ufeff[a]\r\nk=v\r\nl = w x \r\n\r\n[\u03b2]\r\n\u0416=\u4e2d\r\nm=\r\n"
                                              "[c]\r\n[a]\r\nn=\U0001F600\r\n")
                                   .toUtf8();
    const auto setName = [](int s, const QString &name) {
        return Edit([s, name](DocumentTree &tree) { tree.setSectionText(s, DocumentTree::NameColumn, name); });
    };
    const auto setText = [](int s, int o, int column, const QString &text) {
        return Edit([=](DocumentTree &tree) { tree.setOptionText(s, o, column, text); });
    };
    QTest::newRow("as loaded") << scripts << Edit([](DocumentTree &) {});
    QTest::newRow("section renamed to another's name") << scripts << setName(1, QStringLiteral("a"));
    QTest::newRow("empty section renamed to another's name") << scripts << setName(2, QStringLiteral("a"));
    QTest::newRow("section name with a blank at its end") << scripts << setName(1, QStringLiteral("\u03b2 "));
    QTest::newRow("section name stored as another's") << scripts << setName(1, QStringLiteral(" a"));
    QTest::newRow("section name with a line break") << scripts << setName(1, QStringLiteral("x\ny"));
    QTest::newRow("section name with a lone surrogate") << scripts << setName(1, QString(QChar(0xDC00)));
    QTest::newRow("section without a name") << scripts << setName(0, QString());
    QTest::newRow("option renamed to another's name") << scripts << setText(0, 1, 0, QStringLiteral("k"));
    QTest::newRow("option name stored as another's") << scripts << setText(0, 1, 0, QStringLiteral("k\t"));
    QTest::newRow("option without a name") << scripts << setText(0, 0, 0, QString());
    QTest::newRow("value with a line break") << scripts << setText(1, 0, 1, QStringLiteral("a\r\nb"));
    QTest::newRow("value with a lone surrogate") << scripts << setText(1, 0, 1, QString(QChar(0xD800)));
    QTest::newRow("Latin-1 letters typed into an ASCII section")
        << scripts << setText(0, 0, 1, QStringLiteral("caf\u00e9 \u00ff"));
    Edit manyNames = [](DocumentTree &tree) {
        for (int i = 0; i < 20; ++i)
            tree.appendOption(0, QStringLiteral("o%1").arg(i), QStringLiteral("\u00e9%1").arg(i));
    };
    QTest::newRow("many options") << scripts << manyNames;
    QTest::newRow("many options, one name twice") << scripts << Edit([manyNames](DocumentTree &tree) {
        manyNames(tree);
        tree.setOptionText(0, 15, 0, QStringLiteral("o3"));
    });
    // A loaded section's name and its options' places stay in the file's bytes until they change.
    const auto rename = [](int s, const QString &name) {
        return Edit([s, name](DocumentTree &tree) { tree.setData(tree.sectionIndex(s), name); });
    };
    QTest::newRow("section renamed in place") << scripts << rename(1, QStringLiteral("\u03b3"));
    QTest::newRow("section renamed in place to another's name") << scripts << rename(1, QStringLiteral("a"));
    QTest::newRow("sections copied into the tree")
        << scripts << Edit([](DocumentTree &tree) { tree.append(tree.copyContents()); });
    QTest::newRow("sections copied into the tree, one renamed") << scripts << Edit([](DocumentTree &tree) {
        tree.append(tree.copyContents());
        tree.setSectionText(0, DocumentTree::NameColumn, QStringLiteral("z"));
    });
    // The second [a] continues the first: its options no longer stand together in the file.
    const QByteArray repeated = QStringLiteral("[a]\nx=1\n[\u03b2]\ny=2\n[a]\nz=3\n=4\n[c]\nw=5\n").toUtf8();
    QTest::newRow("header repeated") << repeated << Edit([](DocumentTree &) {});
    QTest::newRow("header repeated, its later option edited") << repeated << setText(0, 1, 1, QStringLiteral("\u0436"));
    QTest::newRow("header repeated, its first option removed")
        << repeated << Edit([](DocumentTree &tree) { tree.removeNodes({ tree.optionIndex(0, 0) }); });
    QTest::newRow("header repeated, another renamed to it") << repeated << rename(1, QStringLiteral("a"));
    const QByteArray nameless = "[a]\n=x\nk=1\nl=2\nm=3\n[b]\nn=4\n";
    QTest::newRow("option without a name, as loaded") << nameless << Edit([](DocumentTree &) {});
    QTest::newRow("options removed") << nameless << Edit([](DocumentTree &tree) {
        tree.removeNodes({ tree.optionIndex(0, 2), tree.optionIndex(0, 0), tree.optionIndex(1, 0) });
    });
    QTest::newRow("options moved within their section") << nameless << Edit([](DocumentTree &tree) {
        QVERIFY(tree.moveOption(0, 3, 0, 0));
        QVERIFY(tree.moveOption(0, 1, 0, 4));
    });
    QTest::newRow("options taken and put back as undo does") << nameless << Edit([](DocumentTree &tree) {
        tree.putBack(tree.takeNodes({ tree.optionIndex(0, 3), tree.optionIndex(0, 1), tree.sectionIndex(1) }));
    });
    QTest::newRow("option moved to another section")
        << nameless << Edit([](DocumentTree &tree) { QVERIFY(tree.moveOption(1, 0, 0, 1)); });
    QTest::newRow("option without a name given one that stands") << nameless << setText(0, 0, 0, QStringLiteral("l"));
    QTest::newRow("Latin-1 file") << QByteArray("[a]\nk=caf\xE9\n") << Edit([](DocumentTree &) {});
    QTest::newRow("UTF-8 file without line ends") << QByteArray("[a]\nk=v") << Edit([](DocumentTree &) {});
    // A section that stands in the file as it is written is copied whole: where it does not quite.
    const Edit asLoaded = [](DocumentTree &) {};
    QTest::newRow("line ends of two kinds") << QByteArray("[a]\nk=v\r\nl=w\n[b]\r\nm=x\n[c]\nn=y\n") << asLoaded;
    QTest::newRow("CR line ends") << QByteArray("[a]\rk=v\rl=w\r\r[b]\rm=x") << asLoaded;
    QTest::newRow("headers with blanks, a comment or no bracket")
        << QByteArray("[ a ]\nk=v\n[b] ;c\nl=w\n[c\nm=x\n") << asLoaded;
    QTest::newRow("blanks around '=', comments and blank lines between options")
        << QByteArray("[a]\nk = v\n;c\nl=w\n\n[b]\n\tm=x\n\nn=y\n") << asLoaded;
    QTest::newRow("a Latin-1 letter in a UTF-8 file's ASCII section")
        << QStringLiteral("[a]\nk=v\n[\u00e9]\nl=\u00e9\n").toUtf8() << asLoaded;
    QByteArray large = "[a]\n";
    for (int o = 0; o < 30000; ++o)
        large += "option" + QByteArray::number(o) + "=" + QByteArray::number(o) + "\n";
    QTest::newRow("a section past the output buffer") << large + "[b]\nk=v\n" << asLoaded;
}

void tst_TreeSave::savesWhatTheRewriteWrites()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Edit, edit);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("doc.ini"));
    writeBytes(file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, file);
    edit(tree);
    const QByteArray expected = rewritten(tree, dir.filePath(QStringLiteral("rewritten.ini")));
    SaveTreeToIni(tree, file);
    QCOMPARE(readBytes(file), expected);
}

void tst_TreeSave::filesLoadedIntoOneTreeSaveAsOne_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QByteArray>("saved"); // in the second file's format

    QTest::newRow("a section in common") << QStringLiteral("[a]\nx=1\n[\u03b2]\ny=2\n").toUtf8()
                                         << QByteArray("[a]\nz=3\nx=9\n[c]\nw=4\n")
                                         << QStringLiteral("[a]\nx=9\nz=3\n\n[\u03b2]\ny=2\n\n[c]\nw=4\n").toUtf8();
    const QByteArray same = QStringLiteral("[\u03b1]\nx=1\n\n[b]\ny=2\n").toUtf8();
    QTest::newRow("the same file twice") << same << same << same;
    // Names read from a Latin-1 file are written as UTF-8 like the rest of their texts.
    QTest::newRow("a Latin-1 file, then a UTF-8 one") << QByteArray("[caf\xE9]\nk=\xE9\n") << QByteArray("[b]\nz=3\n")
                                                      << QByteArray("[caf\xC3\xA9]\nk=\xC3\xA9\n\n[b]\nz=3\n");
}

void tst_TreeSave::filesLoadedIntoOneTreeSaveAsOne()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(QByteArray, saved);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("doc.ini"));
    DocumentTree tree;
    for (const QByteArray &bytes : { first, second }) {
        writeBytes(file, bytes);
        LoadTreeFromIni(tree, file);
    }
    const QByteArray expected = rewritten(tree, dir.filePath(QStringLiteral("rewritten.ini")));
    SaveTreeToIni(tree, file);
    // A name read from a Latin-1 file is written in the format of the file saved to, byte for byte
    // as the rewrite writes it.
    QCOMPARE(readBytes(file), expected);
    QCOMPARE(readBytes(file), saved);
}

QTEST_GUILESS_MAIN(tst_TreeSave)
#include "tst_treesave.moc"
