// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "export/exportprogress.h"
#include "testfiles.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class DocumentTree;

// Fills the tree from a compact text: "[name]" starts a section, "name=value" adds an option to
// the last section (split at the first '='; nothing is trimmed, so " artist=x" keeps its blank).
void fillTree(DocumentTree &tree, const QString &catalogue);

// The three-section catalogue used throughout: a settings section and two discs.
QString workedExampleCatalogue();

// The lines, each ended by CR LF, as UTF-8.
QByteArray crlfLines(const QStringList &lines);

using testfiles::readBytes;
using testfiles::writeBytes;

// A shared log of what the run did, in order: progress calls, cursor changes and messages.
QStringList &eventLog();
// A context's busy cursor that writes "busy" and "idle" into eventLog().
void recordBusyCursor(bool busy);

// Records every progress call into eventLog() and keeps the display's range and position.
class RecordingProgress final : public ExportProgress {
public:
    void BeginProgress(int total) override;
    void StepProgress() override;
    void EndProgress() override;

    int maximum = -1;
    int position = -1;
    bool shown = false;
};
