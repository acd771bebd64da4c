// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

class DocumentTree;
class ExportProgress;
struct ExportOptions;

// What an export run needs from the window layer. Every part may stay empty (tests, benchmark).
struct ExportContext {
    // The file the open document was read from. The run refuses to write over it: the export
    // would replace the catalogue while the editor still counts it as saved.
    QString documentFileName;
    // Shows the completion message and returns once the user has closed it.
    std::function<void(const QString &message)> showInformation;
    // Shows the busy cursor (true) and takes it back (false); the run calls it once each way.
    std::function<void(bool busy)> showBusy;
};

// Writes the CD catalogue held by the tree, as it stands now, to options.FileName as plain text:
// one paragraph per disc, every line ended by CR LF, in the encoding the document was read in.
// Shows the busy cursor and drives the progress display meanwhile. After a complete run it shows
// "Export Successfully Done." through the context; a failure throws SaldrixError after the
// progress display is removed, the cursor restored and the file closed, in that order.
void ExportCatalogue(const DocumentTree &tree, const ExportOptions &options, ExportProgress &progress,
    const ExportContext &context = {});
