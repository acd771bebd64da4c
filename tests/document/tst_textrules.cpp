// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/textrules.h"

#include <QTest>

using Encoding = TextFormat::Encoding;

Q_DECLARE_METATYPE(TextFormat)

class tst_TextRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyWriterStoresANameAlike_data();
    void everyWriterStoresANameAlike();
    void marksAreReadAsTheyAreWritten_data();
    void marksAreReadAsTheyAreWritten();
};

void tst_TextRules::everyWriterStoresANameAlike_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << QStringLiteral("x") << QStringLiteral("x") << QStringLiteral("x");
    QTest::newRow("empty") << QString() << QString() << QString();
    QTest::newRow("blanks and tabs around")
        << QStringLiteral(" \tx y\t ") << QStringLiteral("x y") << QStringLiteral(" \tx y\t ");
    QTest::newRow("line breaks at the ends")
        << QStringLiteral("\r\nx\n") << QStringLiteral("x") << QStringLiteral("  x ");
    QTest::newRow("line breaks within") << QStringLiteral("a\r\nb\rc\nd") << QStringLiteral("a  b c d")
                                        << QStringLiteral("a  b c d");
    QTest::newRow("only breaks and blanks") << QStringLiteral("\n \t\r") << QString() << QStringLiteral("  \t ");
    QTest::newRow("beyond Latin-1") << QStringLiteral("\n\u20AC\r") << QStringLiteral("\u20AC")
                                    << QStringLiteral(" \u20AC ");
}

// The per-call writer stores a whole string; the one-pass writer trims a view of the text where it
// stands and turns the line breaks within into blanks as it copies. Both must give the same name.
void tst_TextRules::everyWriterStoresANameAlike()
{
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QString, value);

    QCOMPARE(storedName(typed), name);
    QCOMPARE(storedValue(typed), value);
    QCOMPARE(lineBreaksAsBlanks(storedNameSpan(QStringView(typed)).toString()), name);
    if (fitsLatin1(typed)) {
        const QByteArray latin1 = typed.toLatin1();
        QCOMPARE(lineBreaksAsBlanks(storedNameSpan(QLatin1StringView(latin1)).toString()), name);
    }
    // The cell editor takes a pasted CR LF as one line break, and what it hands over is stored as
    // it stands.
    const QString edited = typedTextAsStored(typed);
    QCOMPARE(storedValue(edited), edited);
    QCOMPARE(edited,
        QString(typed).replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' '));
}

void tst_TextRules::marksAreReadAsTheyAreWritten_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<TextFormat>("format"); // the format whose mark the bytes begin with, when they do

    QTest::newRow("UTF-8") << QByteArray("\xEF\xBB\xBF[a]") << qsizetype(3)
                           << TextFormat { Encoding::Utf8, true, TextFormat::LineEnd::Lf };
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE[\0", 4) << qsizetype(2)
                               << TextFormat { Encoding::Utf16LE, true, TextFormat::LineEnd::Lf };
    QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF\0[", 4) << qsizetype(2)
                               << TextFormat { Encoding::Utf16BE, true, TextFormat::LineEnd::Lf };
    QTest::newRow("no mark") << QByteArray("[a]") << qsizetype(0) << TextFormat {};
    QTest::newRow("empty") << QByteArray() << qsizetype(0) << TextFormat {};
    QTest::newRow("a mark cut short") << QByteArray("\xEF\xBB") << qsizetype(0) << TextFormat {};
    QTest::newRow("one byte of a UTF-16 mark") << QByteArray("\xFF") << qsizetype(0) << TextFormat {};
    QTest::newRow("Latin-1 letters, no mark") << QByteArray("\xFE\xE9") << qsizetype(0) << TextFormat {};
}

void tst_TextRules::marksAreReadAsTheyAreWritten()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qsizetype, length);
    QFETCH(TextFormat, format);

    const ByteOrderMark mark = byteOrderMarkAt(bytes);
    QCOMPARE(mark.length, length);
    QCOMPARE(byteOrderMark(format), bytes.left(length));
    if (length > 0)
        QCOMPARE(mark.encoding, format.encoding);
}

QTEST_GUILESS_MAIN(tst_TextRules)
#include "tst_textrules.moc"
