#pragma once

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
