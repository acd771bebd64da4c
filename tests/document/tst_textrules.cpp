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
    void utf8IsToldFromOtherBytes_data();
    void utf8IsToldFromOtherBytes();
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

void tst_TextRules::utf8IsToldFromOtherBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    const auto row
        = [](const char *name, const QByteArray &bytes, bool valid) { QTest::newRow(name) << bytes << valid; };
    row("Greek, Cyrillic, Latin", "\xCE\xB1\xD0\x96\xC3\xA9\xC2\x80\xDF\xBF", true);
    row("CJK and the ends of three bytes", "\xE4\xB8\xAD\xE1\x80\x80\xEC\xBF\xBF\xEE\x80\x80\xEF\xBF\xBF", true);
    row("E0 and ED at their edges", "\xE0\xA0\x80\xED\x9F\xBF", true);
    row("four bytes at their edges", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", true);
    row("overlong two bytes", "\xC1\xBF", false);
    row("overlong three bytes", "\xE0\x9F\xBF", false);
    row("surrogate", "\xED\xA0\x80", false);
    row("overlong four bytes", "\xF0\x8F\xBF\xBF", false);
    row("past U+10FFFF", "\xF4\x90\x80\x80", false);
    row("no continuation", "\xCE\x41", false);
    row("three bytes, second missing", "\xE4\x41\x80", false);
    row("three bytes, third missing", "\xE4\xB8\x41", false);
    row("lone continuation", "\x80", false);
    row("Latin-1 letter", "caf\xE9", false);
    // Sequences cut short at the end, with and without ASCII before them that is read by the word.
    row("two bytes cut short", "abcdefgh\xCE", false);
    row("three bytes cut short", "\xE4\xB8", false);
    row("four bytes cut short", "abcdefghij\xF0\x90\x80", false);
}

void tst_TextRules::utf8IsToldFromOtherBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    bool ascii = true;
    QCOMPARE(isValidUtf8(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(), ascii), valid);
    if (valid)
        QVERIFY(!ascii);
    // After ASCII of every length up to three blocks of sixteen, so that the bytes fall at each
    // place of a block the check skips at once.
    for (int before = 0; before <= 48; ++before) {
        const QByteArray padded = QByteArray(before, 'a') + bytes + "0123456789";
        QVERIFY2(isValidUtf8(reinterpret_cast<const uchar *>(padded.constData()), padded.size(), ascii) == valid,
            qPrintable(QString::number(before)));
    }
}

QTEST_GUILESS_MAIN(tst_TextRules)
#include "tst_textrules.moc"
