// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The choices of one export run, taken from the wizard's controls when Done is pressed.
struct ExportOptions {
    // The output file; replaced without a question when it exists.
    QString FileName;
    // The heading begins with the artist (otherwise with the title).
    bool ArtistFirst = true;
    // Joins the two parts of the heading.
    QString Separator = QStringLiteral(" - ");
    bool IncludeVolume = false;
    bool IncludeGenre = false;
    bool IncludeNumTracks = false;
    // Written on a line of its own before the first track of each disc.
    QString SeparatorLine = QString(35, u'=');
};
