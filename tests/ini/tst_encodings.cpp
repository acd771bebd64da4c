// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"
#include "ini/inifile.h"
#include "ini/treeio.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace testfiles;
using namespace Qt::StringLiterals;
using Encoding = TextFormat::Encoding;
constexpr auto Lf = TextFormat::LineEnd::Lf;
constexpr auto CrLf = TextFormat::LineEnd::CrLf;
constexpr auto Cr = TextFormat::LineEnd::Cr;

Q_DECLARE_METATYPE(TextFormat)

namespace {

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char lo = char(c.unicode() & 0xFF);
        const char hi = char(c.unicode() >> 8);
        bytes += littleEndian ? lo : hi;
        bytes += littleEndian ? hi : lo;
    }
    return bytes;
}

} // namespace

class tst_Encodings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void filesKeepTheirBytesThroughLoadAndSave_data();
    void filesKeepTheirBytesThroughLoadAndSave();
    void newFileIsUtf8WithLineFeeds();
    void latin1FileStaysLatin1WhileItReadsBackTheSame_data();
    void latin1FileStaysLatin1WhileItReadsBackTheSame();
    void oddFormatsAreReadSafely_data();
    void oddFormatsAreReadSafely();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void tst_Encodings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_file = m_dir->filePath(QStringLiteral("doc.ini"));
}

void tst_Encodings::filesKeepTheirBytesThroughLoadAndSave_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextFormat>("format");
    QTest::addColumn<QString>("value");

    const QString text = QStringLiteral("[s\u00E9]\nk=\u00E9\u20AC\U0001F600\n\n[t]\nx=1\n");
    const QString crlf = QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const QString emoji = QStringLiteral("\u00E9\u20AC\U0001F600");

    QTest::newRow("UTF-8") << text.toUtf8() << TextFormat { Encoding::Utf8, false, Lf } << emoji;
    QTest::newRow("UTF-8 with mark, CR LF")
        << "\xEF\xBB\xBF" + crlf.toUtf8() << TextFormat { Encoding::Utf8, true, CrLf } << emoji;
    QTest::newRow("UTF-16 LE") << utf16(text, true) << TextFormat { Encoding::Utf16LE, true, Lf } << emoji;
    QTest::newRow("UTF-16 BE, CR LF") << utf16(crlf, false) << TextFormat { Encoding::Utf16BE, true, CrLf } << emoji;
    QTest::newRow("Latin-1 (not valid UTF-8)")
        << QByteArray("[s\xE9]\r\nk=caf\xE9 \xFF\xA0\x80\r\n") << TextFormat { Encoding::Latin1, false, CrLf }
        << QStringLiteral("caf\u00E9 \u00FF\u00A0\u0080");
    QTest::newRow("Latin-1 after a UTF-8 mark")
        << QByteArray("\xEF\xBB\xBF[s\xE9]\nk=\xE9\n") << TextFormat { Encoding::Latin1, true, Lf }
        << QStringLiteral("\u00E9");
    // The format of the file being replaced is read in pieces of 64 KiB: characters and line ends
    // that straddle two pieces.
    QTest::newRow("UTF-8 characters across pieces")
        << "[s]\nkk=" + QString(50000, QChar(0x20AC)).toUtf8() + "\n"
        << TextFormat { Encoding::Utf8, false, Lf } << QString(50000, QChar(0x20AC));
    QTest::newRow("first CR LF across pieces") << "[" + QByteArray(65533, 'a') + "]\r\nk=v\r\n"
                                               << TextFormat { Encoding::Utf8, false, CrLf } << QStringLiteral("v");
    QTest::newRow("first UTF-16 CR LF across pieces")
        << utf16(u'[' + QString(32764, u'a') + QStringLiteral("]\r\nk=v\r\n"), true)
        << TextFormat { Encoding::Utf16LE, true, CrLf } << QStringLiteral("v");
    QTest::newRow("Latin-1 byte far into the file")
        << "[s]\nk=" + QByteArray(70000, 'x') + "\xE9\n"
        << TextFormat { Encoding::Latin1, false, Lf } << QString(70000, u'x') + QChar(0xE9);
    // Each form that only looks like UTF-8 makes the file Latin-1 on its own.
    for (const char *form : { "\xC0\xAF", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5" }) {
        QTest::addRow("not UTF-8: %s", QByteArray(form).toHex(' ').constData()) << "[s]\nk=" + QByteArray(form)
                + "\n" << TextFormat { Encoding::Latin1, false, Lf } << QString::fromLatin1(form);
    }
    QTest::newRow("CR alone") << QByteArray("[s]\rk=v\r\r[t]\rx=1\r") << TextFormat { Encoding::Utf8, false, Cr }
                              << QStringLiteral("v");
    QTest::newRow("U+FEFF starting a name and a value")
        << QByteArray("[s]\n\xEF\xBB\xBF[b]=2\nk=\xEF\xBB\xBFv\xEF\xBB\xBF\n")
        << TextFormat { Encoding::Utf8, false, Lf } << QStringLiteral("2");
    QTest::newRow("option named with a '['")
        << QByteArray("[s]\n[x=1\ny=2\n") << TextFormat { Encoding::Utf8, false, Lf } << QStringLiteral("1");
    const QString lone
        = QStringLiteral("[s") + QChar(0xD800) + QStringLiteral("]\nk=") + QChar(0xDC00) + QStringLiteral("x\n");
    QTest::newRow("UTF-16 lone surrogates")
        << utf16(lone, true) << TextFormat { Encoding::Utf16LE, true, Lf } << QString(QChar(0xDC00)) + u'x';
}

void tst_Encodings::filesKeepTheirBytesThroughLoadAndSave()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextFormat, format);
    QFETCH(QString, value);
    writeBytes(m_file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    QCOMPARE(tree.sourceFormat(), format);
    QVERIFY(tree.sectionCount() >= 1);
    if (!value.isNull())
        QCOMPARE(tree.optionText(0, 0, DocumentTree::ValueColumn), value);
    SaveTreeToIni(tree, m_file);
    QCOMPARE(readBytes(m_file), bytes);
    if (value.isNull())
        return;

    // The document's format goes to a new name and over a file stored another way alike.
    const QString other = m_dir->filePath(QStringLiteral("other.ini"));
    SaveTreeToIni(tree, other);
    QCOMPARE(readBytes(other), bytes);
    writeBytes(other, "\xFF\xFE[\0o\0]\0\r\0\n\0");
    SaveTreeToIni(tree, other);
    QCOMPARE(readBytes(other), bytes);

    // An edit is written in the same encoding and with the same line ends.
    tree.setOptionText(0, 0, DocumentTree::ValueColumn, QStringLiteral("\u00E9"));
    SaveTreeToIni(tree, m_file);
    DocumentTree again;
    LoadTreeFromIni(again, m_file);
    QCOMPARE(again.sourceFormat(), format);
    QCOMPARE(again.optionText(0, 0, DocumentTree::ValueColumn), QStringLiteral("\u00E9"));
}

void tst_Encodings::newFileIsUtf8WithLineFeeds()
{
    DocumentTree tree;
    tree.appendOption(tree.appendSection(QStringLiteral("\u00E9")), QStringLiteral("k"), QStringLiteral("\u20AC"));
    tree.appendOption(tree.appendSection(QStringLiteral("b")), QStringLiteral("k"), QStringLiteral("v"));
    SaveTreeToIni(tree, m_file);
    QCOMPARE(readBytes(m_file), QByteArray("[\xC3\xA9]\nk=\xE2\x82\xAC\n\n[b]\nk=v\n"));
    // Over a Latin-1 file with CR LF too: the document's format wins.
    writeBytes(m_file, "[s]\r\nk=caf\xE9\r\n");
    SaveTreeToIni(tree, m_file);
    QCOMPARE(readBytes(m_file), QByteArray("[\xC3\xA9]\nk=\xE2\x82\xAC\n\n[b]\nk=v\n"));
    // A lone surrogate has no UTF-8 form; it becomes U+FFFD rather than making the file Latin-1.
    tree.setOptionText(1, 0, DocumentTree::ValueColumn, QString(QChar(0xD800)));
    SaveTreeToIni(tree, m_file);
    QCOMPARE(readBytes(m_file), QByteArray("[\xC3\xA9]\nk=\xE2\x82\xAC\n\n[b]\nk=\xEF\xBF\xBD\n"));
}

void tst_Encodings::latin1FileStaysLatin1WhileItReadsBackTheSame_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("U+00FF fits") << u"new"_s << u"\u00FF"_s << QByteArray("[s]\r\nk=caf\xE9\r\nnew=\xFF\r\n");
    QTest::newRow("U+0100 does not") << u"new"_s << u"\u0100"_s
                                     << QByteArray("[s]\r\nk=caf\xC3\xA9\r\nnew=\xC4\x80\r\n");
    QTest::newRow("U+01FF does not") << u"new"_s << u"\u01FF"_s
                                     << QByteArray("[s]\r\nk=caf\xC3\xA9\r\nnew=\xC7\xBF\r\n");
    QTest::newRow("U+20AC does not") << u"euro"_s << u"\u20AC"_s
                                     << QByteArray("[s]\r\nk=caf\xC3\xA9\r\neuro=\xE2\x82\xAC\r\n");
    // In Latin-1, "\u00C3\u00A9" is the bytes C3 A9, which the reader would take for UTF-8 "\u00E9".
    QTest::newRow("Latin-1 bytes that read as UTF-8")
        << u"k"_s << u"\u00C3\u00A9"_s << QByteArray("[s]\r\nk=\xC3\x83\xC2\xA9\r\n");
    QTest::newRow("Latin-1 bytes that read as UTF-8, and one that does not")
        << u"new"_s << u"\u00C3\u00A9"_s << QByteArray("[s]\r\nk=caf\xE9\r\nnew=\xC3\xA9\r\n");
}

// A Latin-1 file is saved as Latin-1 as long as it then reads back as the same text, else as UTF-8.
void tst_Encodings::latin1FileStaysLatin1WhileItReadsBackTheSame()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QByteArray, saved);
    const QByteArray original("[s]\r\nk=caf\xE9\r\n");
    writeBytes(m_file, original);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    QCOMPARE(tree.sourceFormat().encoding, Encoding::Latin1);
    if (name == u"k")
        tree.setOptionText(0, 0, DocumentTree::ValueColumn, value);
    else
        tree.appendOption(0, name, value);
    SaveTreeToIni(tree, m_file);
    QCOMPARE(readBytes(m_file), saved);
    DocumentTree again;
    LoadTreeFromIni(again, m_file);
    QCOMPARE(contentOf(again), contentOf(tree));
}

void tst_Encodings::oddFormatsAreReadSafely_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("value");
    QTest::newRow("UTF-16 with an odd last byte")
        << utf16(QStringLiteral("[s]\nk=v"), true) + 'X' << QStringLiteral("v");
    QTest::newRow("UTF-8 cut inside a character") << QByteArray("[s]\nk=\xE2\x82") << QStringLiteral("\u00E2\u0082");
    QTest::newRow("NUL bytes") << QByteArray("[s]\nk=a\0b\n", 10) << QString::fromLatin1("a\0b", 3);
    QTest::newRow("only a UTF-8 mark") << QByteArray("\xEF\xBB\xBF") << QString();
}

void tst_Encodings::oddFormatsAreReadSafely()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, value);
    writeBytes(m_file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    if (value.isNull()) {
        QCOMPARE(tree.sectionCount(), 0);
        return;
    }
    QCOMPARE(tree.optionText(0, 0, DocumentTree::ValueColumn), value);
}

QTEST_GUILESS_MAIN(tst_Encodings)
#include "tst_encodings.moc"
