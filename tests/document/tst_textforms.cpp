// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"
#include "document/textview.h"
#include "ini/treeio.h"
#include "testfiles.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// A section keeps its texts as Latin-1 bytes, as a UTF-8 file's own bytes or as UTF-16, and changes
// form when a text arrives that its form cannot hold. These cases aim at what that can break: texts
// at the edges of the buffer, the character that forces the change, the Latin-1 boundary,
// characters beyond the BMP, bytes that are not UTF-8, and long runs of edits.
using namespace testfiles;
using Form = OptionTexts::Form;

Q_DECLARE_METATYPE(OptionTexts::Form)

namespace {

QByteArray utf16le(const QString &text)
{
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

// What a save must write for the content, built through the tree's plain calls in a new document
// of the same format: a tree that went through edits must save the same bytes.
QByteArray savedFresh(const Content &content, const TextFormat &format, const QString &file)
{
    DocumentTree fresh;
    fresh.setSourceFormat(format);
    fill(fresh, content);
    SaveTreeToIni(fresh, file);
    return readBytes(file);
}

} // namespace

class tst_TextForms : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void loadedTextsKeepTheirFormAndBytes_data();
    void loadedTextsKeepTheirFormAndBytes();
    void typedCharacterBeyondTheFormKeepsEveryText_data();
    void typedCharacterBeyondTheFormKeepsEveryText();
    void textsAtTheBufferEdges();
    void loadedSectionNamesReadBackAsTheFileHoldsThem_data();
    void loadedSectionNamesReadBackAsTheFileHoldsThem();
    void renamedSectionLeavesItsCopiesAlone();
    void randomEditsMatchAPlainModel_data();
    void randomEditsMatchAPlainModel();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void tst_TextForms::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_file = m_dir->filePath(QStringLiteral("doc.ini"));
}

void tst_TextForms::loadedTextsKeepTheirFormAndBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("value"); // of the last section's first option
    QTest::addColumn<Form>("form"); // of the last section

    const QByteArray ascii = "[a]\nk=plain\n\n";
    QTest::newRow("Greek, Cyrillic, CJK") << ascii + QStringLiteral("[b]\nk=\u03b1\u0416\u4e2d x\n").toUtf8()
                                          << QStringLiteral("\u03b1\u0416\u4e2d x") << Form::Utf8;
    QTest::newRow("U+00FF in UTF-8") << ascii + QStringLiteral("[b]\nk=\u00ff\n").toUtf8() << QStringLiteral("\u00ff")
                                     << Form::Utf8;
    QTest::newRow("U+0100 and U+01FF") << ascii + QStringLiteral("[b]\n\u0100=\u01ff\n").toUtf8()
                                       << QStringLiteral("\u01ff") << Form::Utf8;
    QTest::newRow("beyond the BMP") << ascii + QStringLiteral("[b]\nk=\U0001F600\U00010400\n").toUtf8()
                                    << QStringLiteral("\U0001F600\U00010400") << Form::Utf8;
    QTest::newRow("U+FEFF starting the value")
        << ascii + QByteArray("[b]\nk=\xEF\xBB\xBFv\n") << QStringLiteral("\ufeffv") << Form::Utf8;
    QTest::newRow("Latin-1 file with U+00FF")
        << ascii + QByteArray("[b]\nk=\xFF\xE9\n") << QStringLiteral("\u00ff\u00e9") << Form::Latin1;
    // Bytes that are no UTF-8 make the file Latin-1: every byte comes back as it was.
    QTest::newRow("invalid UTF-8 sequences")
        << ascii + QByteArray("[b]\nk=\xCE\xB1 \xC3 \xE4\xB8 \xED\xA0\x80 \xF8\x88\x80\x80\x80 \xC0\xAF\n")
        << QString::fromLatin1("\xCE\xB1 \xC3 \xE4\xB8 \xED\xA0\x80 \xF8\x88\x80\x80\x80 \xC0\xAF") << Form::Latin1;
    QTest::newRow("UTF-16") << utf16le(QStringLiteral("[a]\nk=plain\n\n[b]\nk=\u03b1\U0001F600\n"))
                            << QStringLiteral("\u03b1\U0001F600") << Form::Utf16;
}

void tst_TextForms::loadedTextsKeepTheirFormAndBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, value);
    QFETCH(Form, form);
    writeBytes(m_file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    const int last = tree.sectionCount() - 1;
    QCOMPARE(tree.optionText(last, 0, DocumentTree::ValueColumn), value);
    QCOMPARE(tree.optionTexts(last).form(), form);
    QCOMPARE(tree.optionTexts(0).form(), Form::Latin1); // the ASCII section
    // The same text, whatever the form, compares equal: an unchanged commit is no edit.
    QVERIFY(!tree.setData(tree.optionIndex(last, 0, DocumentTree::ValueColumn), value));
    SaveTreeToIni(tree, m_file);
    QCOMPARE(readBytes(m_file), bytes);
}

void tst_TextForms::typedCharacterBeyondTheFormKeepsEveryText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Form>("form"); // of the section afterwards
    QTest::addColumn<QByteArray>("saved");

    const QByteArray asciiFile = "[s]\nk=ab\nl=cd\n";
    QTest::newRow("U+00FF into ASCII") << asciiFile << 0 << QStringLiteral("\u00ff") << Form::Latin1
                                       << QByteArray("[s]\nk=\xC3\xBF\nl=cd\n");
    QTest::newRow("U+0100 into ASCII") << asciiFile << 1 << QStringLiteral("x\u0100") << Form::Utf8
                                       << QByteArray("[s]\nk=ab\nl=x\xC4\x80\n");
    QTest::newRow("beyond the BMP into ASCII") << asciiFile << 0 << QStringLiteral("\U0001F600") << Form::Utf8
                                               << QByteArray("[s]\nk=\xF0\x9F\x98\x80\nl=cd\n");
    // Latin-1 bytes beyond ASCII are written anew as UTF-8, each text in its place.
    QTest::newRow("U+01FF into a Latin-1 file")
        << QByteArray("[s]\nk=caf\xE9\nl=\xFF\n") << 1 << QStringLiteral("\u01ff") << Form::Utf8
        << QByteArray("[s]\nk=caf\xC3\xA9\nl=\xC7\xBF\n");
    QTest::newRow("Greek into a Greek section, longer")
        << QStringLiteral("[s]\nk=\u03b1\nl=\u03b2\n").toUtf8() << 0 << QStringLiteral("\u03b3\u03b4\u03b5")
        << Form::Utf8 << QStringLiteral("[s]\nk=\u03b3\u03b4\u03b5\nl=\u03b2\n").toUtf8();
    // As many bytes in fewer characters, and fewer bytes in more characters.
    QTest::newRow("same bytes, fewer characters")
        << QStringLiteral("[s]\nk=ab\nl=\u03b2\n").toUtf8() << 0 << QStringLiteral("\u00e9") << Form::Utf8
        << QStringLiteral("[s]\nk=\u00e9\nl=\u03b2\n").toUtf8();
    // UTF-8 cannot hold a lone surrogate: the section turns UTF-16 and the save writes U+FFFD.
    QTest::newRow("lone surrogate into UTF-8")
        << QStringLiteral("[s]\nk=\u4e2d\nl=\u0416\n").toUtf8() << 1 << QString(QChar(0xDC00)) << Form::Utf16
        << QStringLiteral("[s]\nk=\u4e2d\nl=\ufffd\n").toUtf8();
    QTest::newRow("Greek into ASCII of a UTF-16 file")
        << utf16le(QStringLiteral("[s]\nk=ab\nl=cd\n")) << 0 << QStringLiteral("\u03b1") << Form::Utf16
        << utf16le(QStringLiteral("[s]\nk=\u03b1\nl=cd\n"));
}

void tst_TextForms::typedCharacterBeyondTheFormKeepsEveryText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, option);
    QFETCH(QString, typed);
    QFETCH(Form, form);
    QFETCH(QByteArray, saved);
    writeBytes(m_file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    Content expected = contentOf(tree);
    // Typed as the cell editor commits it, then the name of the other option, which must not move.
    QVERIFY(tree.setData(tree.optionIndex(0, option, DocumentTree::ValueColumn), typed));
    expected[0].second[option].second = typed;
    QCOMPARE(tree.optionTexts(0).form(), form);
    QCOMPARE(contentOf(tree), expected);
    SaveTreeToIni(tree, m_file);
    QCOMPARE(readBytes(m_file), saved);
}

void tst_TextForms::textsAtTheBufferEdges()
{
    // Empty texts at the start and the end of the buffer, a text that shrinks and grows at its
    // end, and enough shrinking to reclaim the unused space, in each form.
    for (const QString &wide : { QStringLiteral("e"), QStringLiteral("\u00ff"), QStringLiteral("\u03b1"),
             QStringLiteral("\U0001F600"), QString(QChar(0xD800)) }) {
        DocumentTree tree;
        const int s = tree.appendSection(QStringLiteral("s"));
        Options plain { { QString(), QString() }, { wide, QString(5000, u'x') + wide }, { QString(), wide } };
        for (const auto &[name, value] : plain)
            tree.appendOption(s, name, value);
        const auto edit = [&](int o, int column, const QString &text) {
            tree.setOptionText(s, o, column, text);
            (column == 0 ? plain[o].first : plain[o].second) = text;
            QCOMPARE(contentOf(tree).at(0).second, plain);
        };
        edit(2, 1, wide + wide); // the last text grows at the buffer's end
        edit(2, 1, QString()); // and empties
        edit(0, 0, wide); // the first, empty, fills
        edit(1, 1, wide); // shrinking by over 4 KiB reclaims the space
        edit(1, 0, QString());
        edit(0, 1, QString(3, u'y') + wide);
        tree.removeNodes({ tree.optionIndex(s, 0) });
        plain.removeFirst();
        QCOMPARE(contentOf(tree).at(0).second, plain);
    }
}

void tst_TextForms::loadedSectionNamesReadBackAsTheFileHoldsThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");

    const auto utf8 = [](const QStringList &names) {
        QByteArray bytes;
        for (const QString &name : names)
            bytes += (bytes.isEmpty() ? "[" : "\n[") + name.toUtf8() + "]\nk=v\n";
        return bytes;
    };
    const QStringList scripts { QStringLiteral("\u03b1\u03b2\u03b3"), QStringLiteral("\u0416\u0443\u043a"),
        QStringLiteral("\u4e2d\u6587"), QStringLiteral("\U0001F600 \U00010400"), QStringLiteral("a") };
    QTest::newRow("Greek, Cyrillic, CJK, beyond the BMP") << utf8(scripts) << scripts;
    // A U+FEFF that starts a name belongs to it, also right after the file's own byte order mark.
    const QStringList marked { QStringLiteral("\ufeffa"), QStringLiteral("\ufeff\u03b2") };
    QTest::newRow("U+FEFF starting a name") << utf8(marked) << marked;
    QTest::newRow("after the byte order mark") << "\xEF\xBB\xBF" + utf8(marked) << marked;
    QTest::newRow("Latin-1 file") << QByteArray("[caf\xE9 \xFF]\nk=v\n\n[a]\nk=\xE9\n")
                                  << QStringList { QStringLiteral("caf\u00e9 \u00ff"), QStringLiteral("a") };
    // A name past what 24 bits can count, as a packed length would hold it.
    const QString name = QStringLiteral("\u03b1") + QString((1 << 24) - 1, u'n');
    QTest::newRow("name of 16 MiB") << utf8({ name, QStringLiteral("a") }) << QStringList { name, QStringLiteral("a") };
}

void tst_TextForms::loadedSectionNamesReadBackAsTheFileHoldsThem()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    writeBytes(m_file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    QCOMPARE(tree.sectionCount(), names.size());
    for (int s = 0; s < tree.sectionCount(); ++s) {
        QCOMPARE(tree.sectionText(s, DocumentTree::NameColumn), names[s]);
        QCOMPARE(textToString(tree.sectionNameView(s)), names[s]);
        QCOMPARE(tree.data(tree.sectionIndex(s)).toString(), names[s]);
        QVERIFY(!tree.setData(tree.sectionIndex(s), names[s]));
    }
    SaveTreeToIni(tree, m_file);
    QVERIFY(readBytes(m_file) == bytes);
}

void tst_TextForms::renamedSectionLeavesItsCopiesAlone()
{
    writeBytes(m_file, QStringLiteral("[a]\nx=1\n[\u03b2]\ny=2\n[a]\nz=3\n").toUtf8());
    DocumentTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    LoadTreeFromIni(tree, m_file);
    const auto nameOf = [](const DocumentTree &in, int s) {
        const QString name = in.sectionText(s, DocumentTree::NameColumn);
        // Every way to read a name reads the same.
        if (textToString(in.sectionNameView(s)) != name || in.data(in.sectionIndex(s)).toString() != name)
            return QStringLiteral("<differs>");
        return name;
    };
    // A copy for another thread, as the recovery copy takes, and the section taken and put back as
    // undo does: each keeps its own name whatever becomes of the other.
    DocumentTree copy;
    copy.append(tree.copyContents());
    tree.putBack(tree.takeNodes({ tree.sectionIndex(0) }));
    QVERIFY(tree.setData(tree.sectionIndex(0), QStringLiteral("\u0434")));
    tree.setSectionText(1, DocumentTree::NameColumn, QStringLiteral("\u03b3"));
    tree.setOptionText(0, 1, DocumentTree::NameColumn, QStringLiteral("\u4e2d"));
    tree.removeNodes({ tree.optionIndex(1, 0) });
    QCOMPARE(nameOf(tree, 0), QStringLiteral("\u0434"));
    QCOMPARE(nameOf(tree, 1), QStringLiteral("\u03b3"));
    QCOMPARE(nameOf(copy, 0), QStringLiteral("a"));
    QCOMPARE(nameOf(copy, 1), QStringLiteral("\u03b2"));
    copy.setSectionText(1, DocumentTree::NameColumn, QStringLiteral("a"));
    QCOMPARE(nameOf(tree, 1), QStringLiteral("\u03b3"));

    SaveTreeToIni(tree, m_file);
    QCOMPARE(readBytes(m_file), QStringLiteral("[\u0434]\nx=1\n\u4e2d=3\n").toUtf8());
    const QString copyFile = m_dir->filePath(QStringLiteral("copy.ini"));
    SaveTreeToIni(copy, copyFile);
    QCOMPARE(readBytes(copyFile), QByteArray("[a]\nx=1\nz=3\ny=2\n"));
}

void tst_TextForms::randomEditsMatchAPlainModel_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("UTF-8 file") << QStringLiteral("[a]\nk=v\n\n[\u03b2]\n\u0416=\u4e2d\n").toUtf8();
    // Texts kept where the file holds them: blanks around '=', and a section that stands twice with
    // another between, so that its texts are spread over the file.
    QTest::newRow("UTF-8 file, texts apart")
        << QStringLiteral("[a]\nk =\tv\n[\u03b2]\n\u0416 = \u4e2d\n[a]\nl=w\n").toUtf8();
    QTest::newRow("Latin-1 file, texts apart") << QByteArray("[a]\nk = v\xFF\n[b]\nx=\xE9\n[a]\ny  =  \xE9\n");
    QTest::newRow("Latin-1 file") << QByteArray("[a]\nk=v\xFF\n\n[b]\nx=\xE9\n");
    QTest::newRow("UTF-16 file") << utf16le(QStringLiteral("[a]\nk=v\n\n[b]\n\u0416=\u4e2d\n"));
}

void tst_TextForms::randomEditsMatchAPlainModel()
{
    QFETCH(QByteArray, bytes);
    writeBytes(m_file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    Content plain = contentOf(tree);
    QRandomGenerator random(20261207);
    // The Latin-1 boundary, three scripts, a pair beyond the BMP; now and then a lone surrogate.
    const QStringList pieces { QStringLiteral("a"), QStringLiteral(" "), QStringLiteral("="), QStringLiteral("\u00ff"),
        QStringLiteral("\u0100"), QStringLiteral("\u01ff"), QStringLiteral("\u03b1"), QStringLiteral("\u0416"),
        QStringLiteral("\u4e2d"), QStringLiteral("\U0001F600"), QString(QChar(0xDC00)) };
    bool lone = false;
    const auto text = [&] {
        QString t;
        const int length = random.bounded(4) == 0 ? random.bounded(200) : random.bounded(5);
        for (int i = 0; i < length; ++i) {
            const int piece = random.bounded(int(pieces.size()) * 8);
            t += pieces.at(piece < pieces.size() * 8 - 1 ? piece % (pieces.size() - 1) : pieces.size() - 1);
        }
        lone = lone || t.contains(QChar(0xDC00));
        return t;
    };
    for (int step = 0; step < 2000; ++step) {
        const int action = random.bounded(5);
        if (action == 0) {
            const QString name = text();
            tree.appendSection(name);
            plain.append({ name, {} });
            continue;
        }
        const int s = random.bounded(int(plain.size()));
        Options &options = plain[s].second;
        const int count = int(options.size());
        if (action == 1 || count == 0) {
            const QPair<QString, QString> added { text(), text() };
            tree.appendOption(s, added.first, added.second);
            options.append(added);
        } else if (action == 2) {
            const int o = random.bounded(count);
            const int column = random.bounded(2);
            const QString t = text();
            QCOMPARE(tree.setData(tree.optionIndex(s, o, column), t),
                t != (column == 0 ? options[o].first : options[o].second));
            (column == 0 ? options[o].first : options[o].second) = t;
        } else if (action == 3) {
            const int o = random.bounded(count);
            const int to = random.bounded(int(plain.size()));
            const int toRow = random.bounded(int(plain[to].second.size()) + 1);
            if (tree.moveOption(s, o, to, toRow)) {
                const auto moved = options.takeAt(o);
                plain[to].second.insert(to == s && toRow > o ? toRow - 1 : toRow, moved);
            }
        } else {
            // Taken out and put back, as undo does, or removed.
            QModelIndexList nodes;
            Options left;
            for (int o = 0; o < count; ++o) {
                if (random.bounded(3) == 0)
                    nodes.append(tree.optionIndex(s, o));
                else
                    left.append(options[o]);
            }
            if (random.bounded(2) == 0) {
                tree.putBack(tree.takeNodes(nodes));
            } else {
                tree.removeNodes(nodes);
                options = left;
            }
        }
    }
    QCOMPARE(contentOf(tree), plain);
    // Saved, the edited tree gives the bytes of a tree built afresh from the same texts, and loads
    // back as the same texts where UTF-8 could hold them all.
    SaveTreeToIni(tree, m_file);
    const QByteArray saved = readBytes(m_file);
    QCOMPARE(saved, savedFresh(plain, tree.sourceFormat(), m_dir->filePath(QStringLiteral("fresh.ini"))));
    QVERIFY(lone); // the sequence did reach the lone surrogate
}

QTEST_GUILESS_MAIN(tst_TextForms)
#include "tst_textforms.moc"
