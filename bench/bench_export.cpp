// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/commands.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "export/exportcatalogue.h"
#include "export/exportoptions.h"
#include "export/exportprogress.h"
#include "ini/treeio.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int CatalogueDiscs = 5000;

// A small fixed generator so that every run writes the same catalogue.
class Sequence {
public:
    std::uint32_t next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint32_t>(bound)); }

private:
    std::uint32_t m_state = 20261207u;
};

const std::array<const char *, 16> Words = { "North", "Wind", "Low", "Tide", "Harbour", "Lighthouse", "Rainfall",
    "Signals", "Pulse", "Amber", "Glass", "River", "Static", "Morning", "Echo", "Velvet" };

QByteArray words(Sequence &sequence, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += Words[static_cast<std::size_t>(sequence.below(static_cast<int>(Words.size())))];
    }
    return text;
}

} // namespace

void generateCatalogueFiles(const QString &dir)
{
    QDir().mkpath(dir);
    QByteArray text = "[OptionSettings]\r\nEjectAtExit=0\r\nStartMode=0\r\nIntroTime=10\r\n\r\n";
    Sequence sequence;
    for (int disc = 0; disc < CatalogueDiscs; ++disc) {
        const int tracks = 5 + sequence.below(16);
        text += '[' + QByteArray::number(0x1000000 + disc * 7919, 16) + "]\r\nEntryType=1\r\n";
        text += "artist=" + words(sequence, 2) + "\r\ntitle=" + words(sequence, 3) + "\r\n";
        if (disc % 3 == 0)
            text += "genre=" + words(sequence, 1) + "\r\n";
        text += "numtracks=" + QByteArray::number(tracks) + "\r\n";
        QByteArray order = "order=";
        for (int track = 0; track < tracks; ++track) {
            text += QByteArray::number(track) + '=' + words(sequence, 1 + sequence.below(4)) + "\r\n";
            order += QByteArray::number(track) + ' ';
        }
        text += order.trimmed() + "\r\nnumplay=" + QByteArray::number(tracks) + "\r\n\r\n";
    }
    QFile file(QDir(dir).filePath(QStringLiteral("catalogue.ini")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() || !file.flush())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
}

int benchExport(int argc, char *argv[], const QStringList &args)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption titleFirst(QStringLiteral("title-first"));
    const QCommandLineOption separator(QStringLiteral("separator"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption volume(QStringLiteral("volume"));
    const QCommandLineOption genre(QStringLiteral("genre"));
    const QCommandLineOption numTracks(QStringLiteral("numtracks"));
    const QCommandLineOption separatorLine(QStringLiteral("separator-line"), {}, QStringLiteral("TEXT"));
    parser.addOptions({ titleFirst, separator, volume, genre, numTracks, separatorLine });
    parser.addPositionalArgument(QStringLiteral("IN"), {});
    parser.addPositionalArgument(QStringLiteral("OUT"), {});
    if (!parser.parse(QStringList { QStringLiteral("export") } + args) || parser.positionalArguments().size() != 2) {
        std::fprintf(stderr,
            "usage: saldrix_bench export IN OUT [--title-first] [--separator TEXT] [--volume] "
            "[--genre] [--numtracks] [--separator-line TEXT]\n");
        return 2;
    }

    ExportOptions options;
    options.FileName = parser.positionalArguments().at(1);
    options.ArtistFirst = !parser.isSet(titleFirst);
    if (parser.isSet(separator))
        options.Separator = parser.value(separator);
    options.IncludeVolume = parser.isSet(volume);
    options.IncludeGenre = parser.isSet(genre);
    options.IncludeNumTracks = parser.isSet(numTracks);
    if (parser.isSet(separatorLine))
        options.SeparatorLine = parser.value(separatorLine);

    try {
        DocumentTree tree;
        LoadTreeFromIni(tree, parser.positionalArguments().at(0));
        NullExportProgress progress;
        // The INI file is the document here: writing the export over it is refused, as the
        // wizard refuses it.
        ExportContext context;
        context.documentFileName = parser.positionalArguments().at(0);
        QElapsedTimer timer;
        timer.start();
        ExportCatalogue(tree, options, progress, context);
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        std::printf("export_ms=%.3f bytes=%lld\n", ms, static_cast<long long>(QFileInfo(options.FileName).size()));
    } catch (const SaldrixError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
