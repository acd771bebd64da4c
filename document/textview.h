// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/textrules.h"

#include <QAnyStringView>

#include <string_view>
#include <type_traits>

// Which of its three encodings a QAnyStringView holds.
enum class TextKind { Latin1, Utf8, Utf16 };

inline TextKind textKind(QAnyStringView text)
{
    return text.visit([](auto view) {
        using View = decltype(view);
        if constexpr (std::is_same_v<View, QLatin1StringView>)
            return TextKind::Latin1;
        else if constexpr (std::is_same_v<View, QStringView>)
            return TextKind::Utf16;
        else
            return TextKind::Utf8;
    });
}

// A text that textKind() tells is UTF-16, as the view it holds.
inline QStringView asUtf16(QAnyStringView text)
{
    return QStringView(static_cast<const char16_t *>(text.data()), text.size());
}

// The text as a QString. A U+FEFF at the start of UTF-8 text is kept: it belongs to the text.
inline QString textToString(QAnyStringView text)
{
    if (textKind(text) == TextKind::Utf8)
        return fromUtf8KeepingMark(QByteArrayView(static_cast<const char *>(text.data()), text.size_bytes()));
    return text.toString();
}

// Calls unit(char16_t) for each UTF-16 code unit of the text, whatever its encoding, so that a
// text gives the same units in every form (for hashes that must agree across forms). UTF-8 must be
// valid.
template <typename Unit> void forEachUtf16Unit(QAnyStringView text, Unit &&unit)
{
    switch (textKind(text)) {
    case TextKind::Latin1:
        for (const char c : QLatin1StringView(static_cast<const char *>(text.data()), text.size()))
            unit(char16_t(static_cast<unsigned char>(c)));
        return;
    case TextKind::Utf16:
        for (const char16_t c : std::u16string_view(static_cast<const char16_t *>(text.data()), size_t(text.size())))
            unit(c);
        return;
    case TextKind::Utf8:
        break;
    }
    const auto *b = static_cast<const unsigned char *>(text.data());
    const qsizetype n = text.size_bytes();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = b[i];
        if (c < 0x80) {
            unit(char16_t(c));
            i += 1;
        } else if (c < 0xE0) {
            unit(char16_t(((c & 0x1F) << 6) | (b[i + 1] & 0x3F)));
            i += 2;
        } else if (c < 0xF0) {
            unit(char16_t(((c & 0x0F) << 12) | ((b[i + 1] & 0x3F) << 6) | (b[i + 2] & 0x3F)));
            i += 3;
        } else {
            const char32_t code
                = ((c & 0x07) << 18) | ((b[i + 1] & 0x3F) << 12) | ((b[i + 2] & 0x3F) << 6) | (b[i + 3] & 0x3F);
            unit(char16_t(0xD800 + ((code - 0x10000) >> 10)));
            unit(char16_t(0xDC00 + ((code - 0x10000) & 0x3FF)));
            i += 4;
        }
    }
}
