// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/saldrixerror.h"
#include "ini/inifile.h"
#include "randomini.h"
#include "testfiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace testfiles;
using namespace Qt::StringLiterals;

namespace {

QByteArray utf16le(const char *text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (; *text != 0; ++text)
        bytes.append(*text).append('\0');
    return bytes;
}

} // namespace

class tst_IniFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void readsByTheTextRules_data();
    void readsByTheTextRules();
    void findsSectionsInTheFilesOwnForm_data();
    void findsSectionsInTheFilesOwnForm();
    void readsNothingFromAMissingFile();
    void readsTheFileAsItIsNow();
    void readsLongValuesAndLongNameListsWhole();

    void writeEffects_data();
    void writeEffects();
    void failedWriteRaisesUnableToWrite();
    void deleteEffects_data();
    void deleteEffects();
    void writeKeepsALatin1FileThatCannotHoldTheText();
    void aLatin1FileThatWouldReadAsUtf8BecomesUtf8_data();
    void aLatin1FileThatWouldReadAsUtf8BecomesUtf8();
    void editsKeepEveryOtherByte();
    void rewriteEqualsTheSameWritesOnADeletedFile_data();
    void rewriteEqualsTheSameWritesOnADeletedFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void tst_IniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_file = m_dir->filePath(QStringLiteral("test.ini"));
}

void tst_IniFile::readsByTheTextRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("comments and blank lines")
        << QByteArray("; top\n# also\n\n[a]\n  ; x=1\n\t# y=2\nz=3\n\n") << QStringLiteral("[a]\nz=3\n");
    QTest::newRow("lines before the first section and lines without =")
        << QByteArray("x=1\njunk\n[a]\njunk line\ny=2\n") << QStringLiteral("[a]\ny=2\n");
    QTest::newRow("blanks and tabs trimmed")
        << QByteArray(" \t[ a b ] \n\t x y \t=\t 1 2 \t\n") << QStringLiteral("[a b]\nx y=1 2\n");
    QTest::newRow("section name up to the last bracket")
        << QByteArray("[a]b] tail\nx=1\n[c=d]\ny=2\n") << QStringLiteral("[a]b]\nx=1\n[c=d]\ny=2\n");
    // A header that lost its ']' still opens its section; a '[' line with '=' and no ']' is what the
    // saver writes for an option name that starts with '['.
    QTest::newRow("header without its bracket")
        << QByteArray("[a]\nx=1\n [ open \t\ny=2\n[\nz=3\n") << QStringLiteral("[a]\nx=1\n[open]\ny=2\n[]\nz=3\n");
    QTest::newRow("'[' line with '=' and no bracket is an option")
        << QByteArray("[a]\n[x=1\n [y = [2\n") << QStringLiteral("[a]\n[x=1\n[y=[2\n");
    QTest::newRow("UTF-16 header without its bracket")
        << utf16le("[a]\r\n[x=1\r\n[open\r\ny=2\r\n") << QStringLiteral("[a]\n[x=1\n[open]\ny=2\n");
    QTest::newRow("value keeps = and quotes") << QByteArray("[a]\nx=1=2\ny=\"q\" ; not a comment\n")
                                              << QStringLiteral("[a]\nx=1=2\ny=\"q\" ; not a comment\n");
    QTest::newRow("letter case counts") << QByteArray("[A]\nx=1\nX=2\n[a]\nx=3\n")
                                        << QStringLiteral("[A]\nx=1\nX=2\n[a]\nx=3\n");
    QTest::newRow("repeated section is one section")
        << QByteArray("[a]\nx=1\n[b]\ny=2\n[a]\nz=3\nx=9\n") << QStringLiteral("[a]\nx=1\nz=3\n[b]\ny=2\n");
    QTest::newRow("repeated option reads its first value")
        << QByteArray("[a]\nx=1\nx=2\n") << QStringLiteral("[a]\nx=1\n");
    QTest::newRow("empty names are listed with what follows")
        << QByteArray("[]\n=v\nx=1\n=\n[b]\ny=2\n") << QStringLiteral("[]\n=v\nx=1\n[b]\ny=2\n");
    QTest::newRow("sections without options") << QByteArray("[a]\n[b]\nx=1") << QStringLiteral("[a]\n[b]\nx=1\n");
    QTest::newRow("CR LF line ends") << QByteArray("[a]\r\nx=1\r\ny=2\r\n") << QStringLiteral("[a]\nx=1\ny=2\n");
    QTest::newRow("CR line ends") << QByteArray("[a]\rx=1\ry=2\r") << QStringLiteral("[a]\nx=1\ny=2\n");
    QTest::newRow("mixed line ends") << QByteArray("[a]\r\nx=1\ry=2\n\r\nz=3")
                                     << QStringLiteral("[a]\nx=1\ny=2\nz=3\n");
    QTest::newRow("UTF-8 byte-order mark skipped")
        << QByteArray("\xEF\xBB\xBF[a]\nx=\xC3\xA9\n") << QStringLiteral("[a]\nx=\u00E9\n");
    QTest::newRow("empty file") << QByteArray() << QString();
    // Far more sections than the name index first has room for, each standing twice.
    QByteArray many;
    QString manyRead;
    for (int round = 0; round < 2; ++round) {
        for (int s = 0; s < 300; ++s) {
            many += QStringLiteral("[\u03b1%1]\nk%2=%3\n").arg(s).arg(round).arg(s).toUtf8();
            if (round == 0)
                manyRead += QStringLiteral("[\u03b1%1]\nk0=%1\nk1=%1\n").arg(s);
        }
    }
    QTest::newRow("hundreds of sections, each twice") << many << manyRead;
}

// A section is looked up in the file's own encoding: a name that the encoding cannot hold is in no
// file of it, even where its nearest stand-in ('?', U+FFFD) is.
void tst_IniFile::findsSectionsInTheFilesOwnForm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("value"); // of its option x, empty when there is no such section

    const QByteArray standIns = "[?]\nx=q\n[\xEF\xBF\xBD]\nx=r\n";
    QTest::newRow("UTF-8, a lone surrogate") << standIns << QString(QChar(0xD800)) << QString();
    QTest::newRow("UTF-8, U+FFFD") << standIns << QStringLiteral("\ufffd") << QStringLiteral("r");
    QTest::newRow("Latin-1, beyond it") << QByteArray("[?]\nx=q\n[\xE9]\nx=e\n") << QStringLiteral("\u0100")
                                        << QString();
    QTest::newRow("Latin-1, U+00E9") << QByteArray("[?]\nx=q\n[\xE9]\nx=e\n") << QStringLiteral("\u00e9")
                                     << QStringLiteral("e");
    QByteArray wide("\xFF\xFE", 2);
    for (const QChar c : QStringLiteral("[a]\r\nx=1\r\n[\u4e2d]\r\nx=2\r\n"))
        wide.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    QTest::newRow("UTF-16, CJK") << wide << QStringLiteral("\u4e2d") << QStringLiteral("2");
}

void tst_IniFile::findsSectionsInTheFilesOwnForm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    QFETCH(QString, value);
    writeBytes(m_file, bytes);
    TIniFile ini(m_file);
    QCOMPARE(ini.SectionExists(section), !value.isEmpty());
    QCOMPARE(ini.ReadValue(section, QStringLiteral("x"), QString()), value);
}

void tst_IniFile::readsByTheTextRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    writeBytes(m_file, bytes);
    TIniFile ini(m_file);
    QCOMPARE(dump(ini), expected);
    // A pinned snapshot answers exactly as reading the file each time does.
    QCOMPARE(ini.takeSnapshot(), TIniFile::SnapshotResult::Read);
    QCOMPARE(dump(ini), expected);
}

void tst_IniFile::readsNothingFromAMissingFile()
{
    TIniFile ini(m_dir->filePath(QStringLiteral("missing/none.ini")));
    QStringList names { QStringLiteral("stale") };
    ini.GetSectionNames(names);
    QVERIFY(names.isEmpty());
    names = QStringList { QStringLiteral("stale") };
    ini.GetOptionNames(QStringLiteral("a"), names);
    QVERIFY(names.isEmpty());
    QCOMPARE(ini.ReadValue(QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("def")), QStringLiteral("def"));
    QCOMPARE(ini.takeSnapshot(), TIniFile::SnapshotResult::Missing);

    // Neither does a folder or a FIFO, which must not block the read either.
    const QString fifo = m_dir->filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &name : { m_dir->path(), fifo }) {
        TIniFile odd(name);
        odd.GetSectionNames(names);
        QVERIFY(names.isEmpty());
        QCOMPARE(odd.ReadValue(QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("d")), QStringLiteral("d"));
        QCOMPARE(odd.takeSnapshot(), TIniFile::SnapshotResult::Unreadable);
    }

    writeBytes(m_file, "[a]\nx=1\n");
    TIniFile present(m_file);
    for (const auto &[section, name] : { std::pair { "a", "y" }, { "b", "x" }, { "A", "x" } })
        QCOMPARE(present.ReadValue(QString::fromLatin1(section), QString::fromLatin1(name), QStringLiteral("d")),
            QStringLiteral("d"));
}

void tst_IniFile::readsTheFileAsItIsNow()
{
    writeBytes(m_file, "[a]\nx=1\n");
    TIniFile ini(m_file);
    QCOMPARE(ini.ReadValue(QStringLiteral("a"), QStringLiteral("x"), QString()), QStringLiteral("1"));
    writeBytes(m_file, "[a]\nx=2\n"); // same size, possibly the same time stamp
    QCOMPARE(ini.ReadValue(QStringLiteral("a"), QStringLiteral("x"), QString()), QStringLiteral("2"));

    // Values are found by name, in any order and more than once.
    writeBytes(m_file, "[a]\nx=1\ny=2\nz=3\n");
    QCOMPARE(ini.takeSnapshot(), TIniFile::SnapshotResult::Read);
    for (const char *name : { "z", "x", "x", "y", "w" })
        QCOMPARE(ini.ReadValue(QStringLiteral("a"), QString::fromLatin1(name), QStringLiteral("-")),
            QString::fromLatin1(*name == 'w' ? "-"
                    : *name == 'x'           ? "1"
                    : *name == 'y'           ? "2"
                                             : "3"));
}

void tst_IniFile::readsLongValuesAndLongNameListsWhole()
{
    const QString longValue = QString(100000, u'v') + u'!';
    QByteArray bytes = "[long]\nvalue=" + longValue.toLatin1() + "\n";
    // Far more than 16 KB of section names, and of option names in one section.
    for (int s = 0; s < 3000; ++s)
        bytes += "[section-with-a-long-name-" + QByteArray::number(s) + "]\nx=1\n";
    bytes += "[many]\n";
    for (int o = 0; o < 3000; ++o)
        bytes += "option-with-a-long-name-" + QByteArray::number(o) + "=" + QByteArray::number(o) + "\n";
    writeBytes(m_file, bytes);

    TIniFile ini(m_file);
    QCOMPARE(ini.ReadValue(QStringLiteral("long"), QStringLiteral("value"), QString()), longValue);
    QStringList names;
    ini.GetSectionNames(names);
    QCOMPARE(names.size(), 3002);
    QCOMPARE(names.at(3000), QStringLiteral("section-with-a-long-name-2999"));
    ini.GetOptionNames(QStringLiteral("many"), names);
    QCOMPARE(names.size(), 3000);
    QCOMPARE(names.last(), QStringLiteral("option-with-a-long-name-2999"));
    QCOMPARE(ini.ReadValue(QStringLiteral("many"), names.last(), QString()), QStringLiteral("2999"));
}

using Writes = QList<QStringList>; // section, name, value

void tst_IniFile::writeEffects_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<Writes>("writes");
    QTest::addColumn<QByteArray>("after");
    const auto w = [](const char *s, const char *n, const char *v) {
        return QStringList { QString::fromUtf8(s), QString::fromUtf8(n), QString::fromUtf8(v) };
    };

    QTest::newRow("first write creates the file")
        << QByteArray() << Writes { w("a", "x", "1") } << QByteArray("[a]\nx=1\n");
    QTest::newRow("new section at the end")
        << QByteArray("[a]\nx=1\n") << Writes { w("b", "y", "2") } << QByteArray("[a]\nx=1\n\n[b]\ny=2\n");
    QTest::newRow("new section after a blank last line")
        << QByteArray("[a]\nx=1\n\n") << Writes { w("b", "y", "2") } << QByteArray("[a]\nx=1\n\n[b]\ny=2\n");
    QTest::newRow("new option at the end of its section")
        << QByteArray("[a]\nx=1\n; about b\n[b]\ny=2\n") << Writes { w("a", "z", "3") }
        << QByteArray("[a]\nx=1\nz=3\n; about b\n[b]\ny=2\n");
    QTest::newRow("new option in a section without options")
        << QByteArray("[a]\n[b]\ny=2\n") << Writes { w("a", "z", "3") } << QByteArray("[a]\nz=3\n[b]\ny=2\n");
    QTest::newRow("replace in place keeps the rest")
        << QByteArray("; top\n[a]\n x = 1 \ny=2\n") << Writes { w("a", "x", "9") }
        << QByteArray("; top\n[a]\nx=9\ny=2\n");
    QTest::newRow("empty value stays an option")
        << QByteArray("[a]\nx=1\n") << Writes { w("a", "x", "") } << QByteArray("[a]\nx=\n");
    QTest::newRow("repeated option: the first is replaced")
        << QByteArray("[a]\nx=1\nx=2\n") << Writes { w("a", "x", "9") } << QByteArray("[a]\nx=9\nx=2\n");
    QTest::newRow("repeated section grows at its last place")
        << QByteArray("[a]\nx=1\n[b]\ny=2\n[a]\nz=3\n") << Writes { w("a", "w", "4"), w("a", "z", "5") }
        << QByteArray("[a]\nx=1\n[b]\ny=2\n[a]\nz=5\nw=4\n");
    QTest::newRow("no line end at the end of the file")
        << QByteArray("[a]\nx=1") << Writes { w("a", "y", "2"), w("b", "z", "3") }
        << QByteArray("[a]\nx=1\ny=2\n\n[b]\nz=3\n");
    QTest::newRow("CR LF file keeps CR LF")
        << QByteArray("[a]\r\nx=1\r\n") << Writes { w("a", "y", "2"), w("b", "z", "3"), w("a", "x", "0") }
        << QByteArray("[a]\r\nx=0\r\ny=2\r\n\r\n[b]\r\nz=3\r\n");
    QTest::newRow("line breaks in texts become blanks")
        << QByteArray() << Writes { w("s\nt", "x\r\ny", "1\n2\r3") } << QByteArray("[s t]\nx  y=1 2 3\n");
    QTest::newRow("names are trimmed and matched as read")
        << QByteArray("[a]\nx=1\n") << Writes { w(" a\t", " x ", " 2 ") } << QByteArray("[a]\nx= 2 \n");
    QTest::newRow("letter case makes another section")
        << QByteArray("[a]\nx=1\n") << Writes { w("A", "X", "2") } << QByteArray("[a]\nx=1\n\n[A]\nX=2\n");
    QTest::newRow("empty names are written") << QByteArray() << Writes { w("", "", "v") } << QByteArray("[]\n=v\n");
    QTest::newRow("UTF-8 text") << QByteArray() << Writes { w("\xC3\xA9t\xC3\xA9", "cl\xC3\xA9", "\xE2\x82\xAC") }
                                << QByteArray("[\xC3\xA9t\xC3\xA9]\ncl\xC3\xA9=\xE2\x82\xAC\n");
}

void tst_IniFile::writeEffects()
{
    QFETCH(QByteArray, before);
    QFETCH(Writes, writes);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        writeBytes(m_file, before);
    TIniFile ini(m_file);
    QCOMPARE(ini.takeSnapshot(), before.isEmpty() ? TIniFile::SnapshotResult::Missing : TIniFile::SnapshotResult::Read);
    for (const QStringList &write : writes) {
        ini.WriteValue(write.at(0), write.at(1), write.at(2));
        // Each write is on disk when it returns, and a pinned snapshot sees it too.
        const QString section = write.at(0).trimmed().replace(u'\n', u' ');
        QCOMPARE(ini.ReadValue(section, write.at(1).trimmed().replace(u'\n', u' ').replace(u'\r', u' '), QString()),
            write.at(2).trimmed().replace(u'\n', u' ').replace(u'\r', u' '));
    }
    QCOMPARE(readBytes(m_file), after);
}

void tst_IniFile::failedWriteRaisesUnableToWrite()
{
    const QStringList names { m_dir->filePath(QStringLiteral("no-such-folder/x.ini")), m_dir->path(), QString() };
    for (const QString &name : names) {
        TIniFile ini(name);
        try {
            ini.WriteValue(QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("1"));
            QFAIL("the write did not fail");
        } catch (const SaldrixError &error) {
            QCOMPARE(error.message(), QStringLiteral("Unable to write to %1").arg(name));
        }
    }
}

void tst_IniFile::deleteEffects_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("option"); // "-" deletes the section
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("option, comments kept") << QByteArray("; top\n[a]\n; about x\nx=1\ny=2\n") << u"a"_s << u"x"_s
                                           << QByteArray("; top\n[a]\n; about x\ny=2\n");
    QTest::newRow("every line of a repeated option, in every place of its section") << QByteArray(
        "[a]\nx=1\n[b]\nx=2\n[a]\n x =3\ny=4\n") << u"a"_s << u"x"_s << QByteArray("[a]\n[b]\nx=2\n[a]\ny=4\n");
    QTest::newRow("last line without a line end")
        << QByteArray("[a]\nx=1\ny=2") << u"a"_s << u"y"_s << QByteArray("[a]\nx=1\n");
    QTest::newRow("section up to its last option; what follows stays")
        << QByteArray("[a]\nx=1\n; inside\ny=2\n\n; about b\n[b]\nz=3\n") << u"a"_s << u"-"_s
        << QByteArray("\n; about b\n[b]\nz=3\n");
    QTest::newRow("repeated section, each place")
        << QByteArray("[a]\nx=1\n[b]\ny=2\n[a]\nz=3\n") << u"a"_s << u"-"_s << QByteArray("[b]\ny=2\n");
    QTest::newRow("section without options")
        << QByteArray("[a]\n[b]\ny=2\n") << u"a"_s << u"-"_s << QByteArray("[b]\ny=2\n");
    QTest::newRow("CR LF") << QByteArray("[a]\r\nx=1\r\ny=2\r\n[b]\r\n") << u"a"_s << u"x"_s
                           << QByteArray("[a]\r\ny=2\r\n[b]\r\n");
    QTest::newRow("CR only") << QByteArray("[a]\rx=1\r[b]\ry=2\r") << u"b"_s << u"-"_s << QByteArray("[a]\rx=1\r");
    QTest::newRow("UTF-16 with its mark") << QByteArray("\xFF\xFE[\0a\0]\0\n\0x\0=\0\x01\x04\n\0y\0=\0"
                                                        "2\0\n\0",
        26) << u"a"_s << u"x"_s
                                          << QByteArray("\xFF\xFE[\0a\0]\0\n\0y\0=\0"
                                                        "2\0\n\0",
                                                 18);
    QTest::newRow("names as the reader takes them")
        << QByteArray("[a b]\nk k=1\n") << u" a b\t"_s << u" k k"_s << QByteArray("[a b]\n");
}

void tst_IniFile::deleteEffects()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, option);
    QFETCH(QByteArray, after);
    writeBytes(m_file, before);
    TIniFile ini(m_file);
    const bool deleted = option == u"-" ? ini.DeleteSection(section) : ini.DeleteOption(section, option);
    QVERIFY(deleted);
    QCOMPARE(readBytes(m_file), after);
    // Again: nothing is left to delete, and nothing is written.
    QVERIFY(!(option == u"-" ? ini.DeleteSection(section) : ini.DeleteOption(section, option)));
    QCOMPARE(readBytes(m_file), after);
}

void tst_IniFile::writeKeepsALatin1FileThatCannotHoldTheText()
{
    const QByteArray latin1("[caf\xE9]\nx=\xFF\n");
    writeBytes(m_file, latin1);
    TIniFile ini(m_file);
    ini.WriteValue(u"caf\u00E9"_s, u"y"_s, u"\u00E0"_s);
    QCOMPARE(readBytes(m_file), QByteArray("[caf\xE9]\nx=\xFF\ny=\xE0\n"));
    try {
        ini.WriteValue(u"caf\u00E9"_s, u"y"_s, u"\u20AC"_s);
        QFAIL("the write did not fail");
    } catch (const SaldrixError &error) {
        QVERIFY2(error.message().startsWith(u"Unable to write to %1\n"_s.arg(m_file)), qPrintable(error.message()));
    }
    QCOMPARE(readBytes(m_file), QByteArray("[caf\xE9]\nx=\xFF\ny=\xE0\n"));
}

void tst_IniFile::aLatin1FileThatWouldReadAsUtf8BecomesUtf8_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("deleteK");
    QTest::addColumn<QByteArray>("after");

    // The only byte that is not UTF-8 goes; "\xC3\xA9" and "\xF0\x9F\x98\x80" alone would read
    // as one character each.
    QTest::newRow("write") << QByteArray("[s]\nk=\xE9\nm=\xC3\xA9\n") << false
                           << QByteArray("[s]\nk=x\nm=\xC3\x83\xC2\xA9\n");
    QTest::newRow("delete") << QByteArray("[s]\nk=\xE9\nm=\xF0\x9F\x98\x80\n") << true
                            << QByteArray("[s]\nm=\xC3\xB0\xC2\x9F\xC2\x98\xC2\x80\n");
    // Bytes beyond ASCII that stay invalid UTF-8, or none at all: the file keeps its bytes.
    QTest::newRow("still Latin-1") << QByteArray("[s]\nk=\xE9\nm=\xC3\n") << false << QByteArray("[s]\nk=x\nm=\xC3\n");
    QTest::newRow("all ASCII") << QByteArray("[s]\nk=\xE9\nm=1\n") << false << QByteArray("[s]\nk=x\nm=1\n");
}

void tst_IniFile::aLatin1FileThatWouldReadAsUtf8BecomesUtf8()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, deleteK);
    writeBytes(m_file, before);
    const QString m = TIniFile(m_file).ReadValue(u"s"_s, u"m"_s, QString());
    TIniFile ini(m_file);
    if (deleteK)
        QVERIFY(ini.DeleteOption(u"s"_s, u"k"_s));
    else
        ini.WriteValue(u"s"_s, u"k"_s, u"x"_s);
    QTEST(readBytes(m_file), "after");
    QCOMPARE(TIniFile(m_file).ReadValue(u"s"_s, u"m"_s, QString()), m);
}

void tst_IniFile::editsKeepEveryOtherByte()
{
    // Random files, one random write or delete each, and the whole file against the oracle's bytes.
    QRandomGenerator random(2026);
    for (int round = 0; round < 400; ++round) {
        const randomini::File file = randomini::randomFile(random);
        const randomini::Edit edit = randomini::randomEdit(random, file);
        QFile::remove(m_file);
        const QByteArray before = randomini::bytesOf(file);
        if (file.exists)
            writeBytes(m_file, before);
        const std::optional<QByteArray> expected = randomini::predicted(file, edit);
        TIniFile ini(m_file);
        bool refused = false;
        try {
            switch (edit.kind) {
            case randomini::Edit::Kind::Set:
                ini.WriteValue(edit.section, edit.key, edit.value);
                break;
            case randomini::Edit::Kind::DeleteOption:
                (void)ini.DeleteOption(edit.section, edit.key);
                break;
            case randomini::Edit::Kind::DeleteSection:
                (void)ini.DeleteSection(edit.section);
                break;
            }
        } catch (const SaldrixError &) {
            refused = true;
        }
        const QByteArray context = "round " + QByteArray::number(round) + ", edit " + QByteArray::number(int(edit.kind))
            + " [" + edit.section.toUtf8() + "] " + edit.key.toUtf8() + "=" + edit.value.toUtf8()
            + "\nbefore: " + before.toPercentEncoding(" =[];#");
        QVERIFY2(refused == !expected.has_value(), context.constData());
        const QByteArray after = readBytes(m_file);
        if (after != expected.value_or(before)) {
            qWarning("%s\nafter:  %s\nwanted: %s", context.constData(), after.toPercentEncoding(" =[];#").constData(),
                expected.value_or(before).toPercentEncoding(" =[];#").constData());
            QFAIL("the file is not what the edit predicts");
        }
    }
}

void tst_IniFile::rewriteEqualsTheSameWritesOnADeletedFile_data()
{
    // The old file holds no text, only the kind of file the new one must be.
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("oldFile");
    QTest::newRow("new file") << 1u << false << QByteArray();
    QTest::newRow("empty file") << 2u << true << QByteArray();
    QTest::newRow("UTF-8 with a mark") << 3u << true << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("UTF-16 LE") << 4u << true << QByteArray("\xFF\xFE");
    QTest::newRow("UTF-16 BE") << 5u << true << QByteArray("\xFE\xFF");
    QTest::newRow("another sequence") << 6u << false << QByteArray();
}

void tst_IniFile::rewriteEqualsTheSameWritesOnADeletedFile()
{
    QFETCH(quint32, seed);
    QFETCH(bool, exists);
    QFETCH(QByteArray, oldFile);
    QRandomGenerator random(seed);
    const QStringList sections { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("A"), QStringLiteral(" b "),
        QStringLiteral("c]d"), QStringLiteral("\u00E9t\u00E9"), QString() };
    const QStringList names { QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("X"), QStringLiteral(" y"),
        QStringLiteral("long name"), QStringLiteral("\u20AC"), QString(), QStringLiteral("tab\t"),
        QStringLiteral("name longer than eight") };
    const QStringList values { QStringLiteral("1"), QString(), QStringLiteral(" spaced "), QStringLiteral("a=b"),
        QStringLiteral("line\nbreak"), QStringLiteral("\u00FF"), QStringLiteral("\u4E2D"),
        QStringLiteral("a value of some length\r"), QStringLiteral("\tx") };
    Writes writes;
    for (int i = 0; i < 80; ++i)
        writes.append({ sections.at(random.bounded(int(sections.size()))), names.at(random.bounded(int(names.size()))),
            values.at(random.bounded(int(values.size()))) });

    const QString single = m_dir->filePath(QStringLiteral("single.ini"));
    const QString batched = m_dir->filePath(QStringLiteral("batched.ini"));
    if (exists) {
        writeBytes(single, oldFile);
        writeBytes(batched, oldFile);
    }
    TIniFile one(single);
    for (const QStringList &write : writes)
        one.WriteValue(write.at(0), write.at(1), write.at(2));

    // The new file is written in the format of the file it replaces.
    const TextFormat format = exists ? IniText(oldFile).format() : TextFormat {};
    TIniFile all(batched);
    all.beginRewrite(format);
    for (const QStringList &write : writes)
        all.WriteValue(write.at(0), write.at(1), write.at(2));
    QCOMPARE(readBytes(batched), exists ? oldFile : QByteArray("<unreadable>")); // nothing written before the commit
    all.commitRewrite();
    QCOMPARE(readBytes(batched), readBytes(single));

    // The texts held the way the document holds them, one byte per character with each value
    // right after its name, which the rewrite may refer to instead of copying.
    const QString lasting = m_dir->filePath(QStringLiteral("lasting.ini"));
    if (exists)
        writeBytes(lasting, oldFile);
    std::vector<QByteArray> held;
    TIniFile kept(lasting);
    kept.beginRewrite(format);
    for (const QStringList &write : writes) {
        const QString &name = write.at(1);
        const QString &value = write.at(2);
        const QByteArray both = (name + value).toLatin1();
        if (QString::fromLatin1(both) != name + value) {
            kept.WriteLastingValue(write.at(0), QStringView(name), QStringView(value));
            continue;
        }
        held.push_back(both);
        const char *bytes = held.back().constData();
        kept.WriteLastingValue(
            write.at(0), QLatin1StringView(bytes, name.size()), QLatin1StringView(bytes + name.size(), value.size()));
    }
    kept.commitRewrite();
    QCOMPARE(readBytes(lasting), readBytes(single));
}

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
