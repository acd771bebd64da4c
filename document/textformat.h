#pragma once

// How a file's text was stored on disk, so that a save (and an export) writes it back the same way.
struct TextFormat {
    enum class Encoding { Utf8, Latin1, Utf16LE, Utf16BE };

    Encoding encoding = Encoding::Utf8;
    bool byteOrderMark = false;
    bool crlf = false;

    friend bool operator==(const TextFormat &, const TextFormat &) = default;
};
