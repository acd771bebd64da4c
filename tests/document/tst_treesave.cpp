// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"
#include "document/inifile.h"
#include "document/treeio.h"
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
    QTest::newRow("Latin-1 file") << QByteArray("[a]\nk=caf\xE9\n") << Edit([](DocumentTree &) {});
    QTest::newRow("UTF-8 file without line ends") << QByteArray("[a]\nk=v") << Edit([](DocumentTree &) {});
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

QTEST_GUILESS_MAIN(tst_TreeSave)
#include "tst_treesave.moc"
