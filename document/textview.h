// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/textrules.h"

#include <QAnyStringView>

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

// The text as a QString. A U+FEFF at the start of UTF-8 text is kept: it belongs to the text.
inline QString textToString(QAnyStringView text)
{
    if (textKind(text) == TextKind::Utf8)
        return fromUtf8KeepingMark(QByteArrayView(static_cast<const char *>(text.data()), text.size_bytes()));
    return text.toString();
}
