// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as a catalogue, exported with the options the first byte picks: the export neither
// crashes nor fails, writes the same text every time, and leaves the catalogue as it was.
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "export/exportcatalogue.h"
#include "export/exportoptions.h"
#include "export/exportprogress.h"
#include "fuzzsupport.h"
#include "ini/treeio.h"

using namespace fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString catalogue = scratchFile("cdplayer.ini");
    static const QString exported = scratchFile("export.txt");
    const uint8_t choice = size > 0 ? data[0] : 0;
    if (size > 0) {
        ++data;
        --size;
    }
    writeFile(catalogue, data, size);
    ExportOptions options;
    options.FileName = exported;
    options.ArtistFirst = (choice & 1) != 0;
    options.IncludeVolume = (choice & 2) != 0;
    options.IncludeGenre = (choice & 4) != 0;
    options.IncludeNumTracks = (choice & 8) != 0;
    options.Separator = (choice & 16) != 0 ? QStringLiteral(" / ") : QString();
    options.SeparatorLine = (choice & 32) != 0 ? QStringLiteral("----") : QString();
    try {
        DocumentTree tree;
        LoadTreeFromIni(tree, catalogue);
        NullExportProgress progress;
        ExportContext context;
        context.documentFileName = catalogue;
        ExportCatalogue(tree, options, progress, context);
        const QByteArray first = readFile(exported);
        ExportCatalogue(tree, options, progress, context);
        if (readFile(exported) != first)
            brokenPromise("the same tree exports as the same text");
    } catch (const SaldrixError &error) {
        brokenPromise("an export into a scratch folder succeeds", error.message());
    }
    if (readFile(catalogue) != QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)))
        brokenPromise("the export leaves the catalogue as it was");
    return 0;
}
