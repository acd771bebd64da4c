// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exporttesthelpers.h"

#include "document/documenttree.h"
#include "export/exportcatalogue.h"
#include "export/exportoptions.h"
#include "ini/treeio.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// The expected lines of a file, written as one text with '|' between them.
QStringList bars(const QString &lines)
{
    return lines.split(u'|');
}
} // namespace

class tst_ExportCatalogue : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    [[nodiscard]] QString outPath() const { return m_dir.filePath(u"out.txt"_s); }

    // Runs one export of the catalogue text; returns the bytes written.
    QByteArray exportText(const QString &catalogue, const ExportOptions &options,
        TextFormat::Encoding encoding = TextFormat::Encoding::Utf8)
    {
        DocumentTree tree;
        fillTree(tree, catalogue);
        tree.setSourceFormat(TextFormat { encoding, false, TextFormat::LineEnd::Lf });
        NullExportProgress progress;
        ExportCatalogue(tree, options, progress);
        return readBytes(options.FileName);
    }

    [[nodiscard]] ExportOptions workedOptions() const
    {
        ExportOptions options;
        options.FileName = outPath();
        options.IncludeVolume = true;
        options.IncludeGenre = true;
        options.SeparatorLine = QString(10, u'=');
        return options;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void init() { eventLog().clear(); }

    void workedExample_data();
    void workedExample();
    void edgeCases_data();
    void edgeCases();
    void emptyCataloguesGiveEmptyFiles_data();
    void emptyCataloguesGiveEmptyFiles();
    void progressCountsEverySectionAndStepsPerDisc();
    void crossesTheWriteBufferIntact();
    void writesTheDocumentsEncoding_data();
    void writesTheDocumentsEncoding();
    void exportsALoadedFileInItsEncoding_data();
    void exportsALoadedFileInItsEncoding();
    void leavesTheTreeUnchanged();
};

void tst_ExportCatalogue::workedExample_data()
{
    QTest::addColumn<bool>("artistFirst");
    QTest::addColumn<bool>("volume");
    QTest::addColumn<bool>("genre");
    QTest::addColumn<bool>("numTracks");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("artist first, volume and genre")
        << true << true << true << false
        << bars(
               u"North Wind - Low Tide|Volume=1F3C9A2|==========|0. Harbour|1. Lighthouse||||Rainfall - Signals|Volume=20C3E72|Genre=Ambient|==========|0. Pulse|||"_s);
    QTest::newRow("title first")
        << false << true << true << false
        << bars(
               u"Low Tide - North Wind|Volume=1F3C9A2|==========|0. Harbour|1. Lighthouse||||Signals - Rainfall|Volume=20C3E72|Genre=Ambient|==========|0. Pulse|||"_s);
    QTest::newRow("with track counts")
        << true << true << true << true
        << bars(
               u"North Wind - Low Tide|Volume=1F3C9A2|NumTracks=2|==========|0. Harbour|1. Lighthouse||||Rainfall - Signals|Volume=20C3E72|Genre=Ambient|NumTracks=1|==========|0. Pulse|||"_s);
    QTest::newRow("no extra lines")
        << true << false << false << false
        << bars(
               u"North Wind - Low Tide|==========|0. Harbour|1. Lighthouse||||Rainfall - Signals|==========|0. Pulse|||"_s);
}

void tst_ExportCatalogue::workedExample()
{
    QFETCH(bool, artistFirst);
    QFETCH(bool, volume);
    QFETCH(bool, genre);
    QFETCH(bool, numTracks);
    QFETCH(QStringList, lines);

    ExportOptions options = workedOptions();
    options.ArtistFirst = artistFirst;
    options.IncludeVolume = volume;
    options.IncludeGenre = genre;
    options.IncludeNumTracks = numTracks;
    QCOMPARE(exportText(workedExampleCatalogue(), options), crlfLines(lines));
}

void tst_ExportCatalogue::edgeCases_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("separatorLine");
    QTest::addColumn<QStringList>("lines");

    const QString dash = u" - "_s;
    const QString line = u"=="_s;

    // Names: keywords in any ASCII case, nothing else.
    QTest::newRow("keywords in any case")
        << u"[a]\nARTIST=A\nTitle=T\nGenre=G\nNUMTRACKS=3\nentrytype=1\nOrder=0\nNumPlay=2"_s << dash << line
        << bars(u"A - T|Volume=A|Genre=G|NumTracks=3|||"_s);
    QTest::newRow("keyword with a leading blank is a track")
        << u"[a]\n artist=A"_s << dash << line << bars(u"==| artist. A|||"_s);
    QTest::newRow("only ASCII letters are upper-cased") << u"[a]\nt\u0131tle=T\nartist=A\n\u017fenre=x"_s << dash
                                                        << line << bars(u"==|t\u0131tle. T|\u017fenre. x|||"_s);
    QTest::newRow("empty option name ignored") << u"[a]\n=lost\n1=One"_s << dash << line << bars(u"==|1. One|||"_s);
    QTest::newRow("settings section skipped in any case, not with a blank")
        << u"[optionsettings]\n0=x\n[OPTIONSETTINGS]\n0=y\n[Option Settings]\n0=z"_s << dash << line
        << bars(u"==|0. z|||"_s);
    QTest::newRow("section without a name skipped") << u"[]\n0=x\n[b]"_s << dash << line << bars(u"||"_s);
    QTest::newRow("volume upper-cased, other lines keep their case")
        << u"[2a96f9b\u00e4]\nartist=aB\ntitle=cD\ngenre=eF\nnumtracks=gH\nxY=iJ"_s << dash << line
        << bars(u"aB - cD|Volume=2A96F9B\u00e4|Genre=eF|NumTracks=gH|==|xY. iJ|||"_s);

    // Headings.
    QTest::newRow("artist without title gives no heading")
        << u"[a]\nartist=A\n0=x"_s << dash << line << bars(u"==|0. x|||"_s);
    QTest::newRow("genre and track count before the heading")
        << u"[a]\ngenre=G\nnumtracks=1\ngenre=H\ntitle=T\n0=x\nartist=A"_s << dash << line
        << bars(u"Genre=G|NumTracks=1|Genre=H|==|0. x|A - T|Volume=A|||"_s);
    QTest::newRow("empty value keeps the heading pending")
        << u"[a]\nartist=\ntitle=T\nartist=A"_s << dash << line << bars(u"A - T|Volume=A|||"_s);
    QTest::newRow("second pair gives a second heading") << u"[a]\nartist=A\ntitle=T\ntitle=U\nartist=B"_s << dash
                                                        << line << bars(u"A - T|Volume=A|B - U|Volume=A|||"_s);
    // A pending artist or title never reaches the next disc.
    QTest::newRow("artist left pending does not join the next disc's title")
        << u"[a]\nartist=A1\n[b]\ntitle=T2\nartist=A2"_s << dash << line << bars(u"|||A2 - T2|Volume=B|||"_s);
    QTest::newRow("title left pending does not join the next disc's artist")
        << u"[a]\ntitle=T1\n[b]\nartist=A2\ntitle=T2"_s << dash << line << bars(u"|||A2 - T2|Volume=B|||"_s);
    QTest::newRow("half a pair in each disc gives no heading")
        << u"[a]\nartist=A1\n[b]\ntitle=T2"_s << dash << line << bars(u"|||||"_s);
    QTest::newRow("skipped section between discs")
        << u"[a]\nartist=A1\n[OptionSettings]\ntitle=x\n[b]\ntitle=T2"_s << dash << line << bars(u"|||||"_s);

    // Separators.
    QTest::newRow("empty separator") << u"[a]\nartist=A\ntitle=T"_s << QString() << line << bars(u"AT|Volume=A|||"_s);
    QTest::newRow("three-character separator")
        << u"[a]\nartist=A\ntitle=T"_s << u" / "_s << line << bars(u"A / T|Volume=A|||"_s);
    QTest::newRow("empty separator line") << u"[a]\n0=x"_s << dash << QString() << bars(u"|0. x|||"_s);

    // Tracks.
    QTest::newRow("separator line once per disc")
        << u"[a]\n0=x\nartist=A\n1=y\n[b]\n0=z"_s << dash << line << bars(u"==|0. x|1. y||||==|0. z|||"_s);
    QTest::newRow("disc without tracks has no separator line")
        << u"[a]\nartist=A\ntitle=T\ngenre=G"_s << dash << line << bars(u"A - T|Volume=A|Genre=G|||"_s);
    QTest::newRow("disc without options") << u"[a]"_s << dash << line << bars(u"||"_s);
    QTest::newRow("track with an empty title") << u"[a]\n7="_s << dash << line << bars(u"==|7. |||"_s);
    QTest::newRow("settings of another program become tracks")
        << u"[Window]\nLeft=10\nTop=20"_s << dash << line << bars(u"==|Left. 10|Top. 20|||"_s);
    QTest::newRow("values keep blanks and equals signs")
        << u"[a]\n 0 = x=y "_s << dash << line << bars(u"==| 0 .  x=y |||"_s);
}

void tst_ExportCatalogue::edgeCases()
{
    QFETCH(QString, catalogue);
    QFETCH(QString, separator);
    QFETCH(QString, separatorLine);
    QFETCH(QStringList, lines);

    ExportOptions options = workedOptions();
    options.IncludeNumTracks = true;
    options.Separator = separator;
    options.SeparatorLine = separatorLine;
    QCOMPARE(exportText(catalogue, options), crlfLines(lines));
}

void tst_ExportCatalogue::emptyCataloguesGiveEmptyFiles_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<int>("maximum");
    QTest::newRow("no sections") << QString() << 0;
    QTest::newRow("only the settings section") << u"[OptionSettings]\nStartMode=1"_s << 1;
}

void tst_ExportCatalogue::emptyCataloguesGiveEmptyFiles()
{
    QFETCH(QString, catalogue);
    QFETCH(int, maximum);

    DocumentTree tree;
    fillTree(tree, catalogue);
    RecordingProgress progress;
    QStringList messages;
    const ExportOptions options = workedOptions();
    writeBytes(options.FileName, QByteArray(100000, 'x')); // an existing file is replaced
    ExportCatalogue(tree, options, progress, { {}, [&](const QString &text) { messages << text; }, {} });
    QCOMPARE(readBytes(options.FileName), QByteArray(""));
    QCOMPARE(progress.maximum, maximum);
    QCOMPARE(progress.position, 0);
    QCOMPARE(messages, QStringList { u"Export Successfully Done."_s });
}

void tst_ExportCatalogue::progressCountsEverySectionAndStepsPerDisc()
{
    DocumentTree tree;
    fillTree(tree, workedExampleCatalogue() + u"\n[]\n[c]"_s);
    RecordingProgress progress;
    const ExportOptions options = workedOptions();
    ExportCatalogue(tree, options, progress,
        { {},
            [&](const QString &text) {
                QVERIFY(!progress.shown);
                eventLog() << text;
            },
            recordBusyCursor });

    QCOMPARE(progress.maximum, 5);
    QCOMPARE(progress.position, 3);
    QCOMPARE(eventLog(),
        QStringList({ u"busy"_s, u"begin 5"_s, u"step"_s, u"step"_s, u"step"_s, u"end"_s, u"idle"_s,
            u"Export Successfully Done."_s }));
}

void tst_ExportCatalogue::crossesTheWriteBufferIntact()
{
    // Lines shorter and longer than the file layer's buffer, in many discs.
    QString catalogue;
    QStringList lines;
    const QString longTitle = QString(150000, u'l');
    for (int disc = 0; disc < 3000; ++disc) {
        const QString title = disc % 1000 == 7 ? longTitle : u"Title %1"_s.arg(disc);
        catalogue += u"[d%1]\nartist=Artist %1\ntitle=%2\n0=One\n1=Two\n"_s.arg(disc).arg(title);
        lines << u"Artist %1 - %2"_s.arg(disc).arg(title) << u"Volume=D%1"_s.arg(disc) << u"=========="_s << u"0. One"_s
              << u"1. Two"_s << QString() << QString() << QString();
    }
    QCOMPARE(exportText(catalogue, workedOptions()), crlfLines(lines));
}

void tst_ExportCatalogue::writesTheDocumentsEncoding_data()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<QByteArray>("bytes");

    const auto utf8 = int(TextFormat::Encoding::Utf8);
    const auto latin1 = int(TextFormat::Encoding::Latin1);
    QTest::newRow("utf-8") << utf8 << u"[\u00e9]\n\u00f6=\u20ac"_s
                           << QByteArray("==========\r\n\xc3\xb6. \xe2\x82\xac\r\n\r\n\r\n\r\n");
    QTest::newRow("latin-1 keeps single bytes") << latin1 << u"[a]\nartist=Bj\u00f6rk\ntitle=D\u00e9but"_s
                                                << QByteArray("Bj\xf6rk - D\xe9"
                                                              "but\r\nVolume=A\r\n\r\n\r\n\r\n");
    QTest::newRow("latin-1 with a character beyond it falls back to utf-8")
        << latin1 << u"[a]\n\u00f6=\u20ac"_s << QByteArray("==========\r\n\xc3\xb6. \xe2\x82\xac\r\n\r\n\r\n\r\n");
    QTest::newRow("utf-16 is written as utf-8") << int(TextFormat::Encoding::Utf16LE) << u"[a]\n1=\u00e9"_s
                                                << QByteArray("==========\r\n1. \xc3\xa9\r\n\r\n\r\n\r\n");
}

void tst_ExportCatalogue::writesTheDocumentsEncoding()
{
    QFETCH(int, encoding);
    QFETCH(QString, catalogue);
    QFETCH(QByteArray, bytes);
    QCOMPARE(exportText(catalogue, workedOptions(), TextFormat::Encoding(encoding)), bytes);
}

void tst_ExportCatalogue::exportsALoadedFileInItsEncoding_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("latin-1") << QByteArray("[a]\r\nartist=Bj\xf6rk\r\ntitle=Homog\xe9nic\r\n")
                             << QByteArray("Bj\xf6rk - Homog\xe9nic\r\nVolume=A\r\n\r\n\r\n\r\n");
    QTest::newRow("utf-16 with byte-order mark") << QByteArray("\xff\xfe[\0a\0]\0\n\0"
                                                               "0\0=\0\xe9\0\n\0",
        18) << QByteArray("==========\r\n0. \xc3\xa9\r\n\r\n\r\n\r\n");
}

void tst_ExportCatalogue::exportsALoadedFileInItsEncoding()
{
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, text);
    const QString iniName = m_dir.filePath(u"loaded.ini"_s);
    writeBytes(iniName, ini);
    DocumentTree tree;
    LoadTreeFromIni(tree, iniName);
    NullExportProgress progress;
    ExportCatalogue(tree, workedOptions(), progress);
    QCOMPARE(readBytes(outPath()), text);
}

void tst_ExportCatalogue::leavesTheTreeUnchanged()
{
    DocumentTree tree;
    fillTree(tree, workedExampleCatalogue());
    int changes = 0;
    connect(&tree, &QAbstractItemModel::dataChanged, this, [&] { ++changes; });
    connect(&tree, &DocumentTree::edited, this, [&] { ++changes; });
    NullExportProgress progress;
    ExportCatalogue(tree, workedOptions(), progress);
    QCOMPARE(changes, 0);
    QCOMPARE(tree.sectionText(1, 0), u"1f3c9a2"_s);
    QCOMPARE(tree.optionText(1, 1, 0), u"artist"_s);
}

QTEST_GUILESS_MAIN(tst_ExportCatalogue)
#include "tst_exportcatalogue.moc"
