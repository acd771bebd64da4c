// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How a document's text is stored on disk: read from its file at load, and written back the same way
// by every save and by the export, whatever file stands at the target when it is written.
struct TextFormat {
    enum class Encoding { Utf8, Latin1, Utf16LE, Utf16BE };
    enum class LineEnd { Lf, CrLf, Cr };

    Encoding encoding = Encoding::Utf8;
    bool byteOrderMark = false;
    LineEnd lineEnd = LineEnd::Lf;

    [[nodiscard]] const char *lineEndBytes() const
    {
        return lineEnd == LineEnd::CrLf ? "\r\n" : lineEnd == LineEnd::Cr ? "\r" : "\n";
    }

    friend bool operator==(const TextFormat &, const TextFormat &) = default;
};
