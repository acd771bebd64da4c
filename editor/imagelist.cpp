// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/imagelist.h"

#include <array>

namespace {

constexpr std::array<const char *, ImageListCount> ImageNames = {
    "section-closed", // 0
    "section-open", // 1
    "option", // 2
    "ini-file", // 3
    "file-new", // 4
    "file-open", // 5
    "file-recent", // 6
    "file-save", // 7
    "file-save-as", // 8
    "file-close", // 9
    "file-export", // 10
    "file-exit", // 11
    "section-add", // 12
    "section-delete", // 13
    "section-rename", // 14
    "option-add", // 15
    "option-delete", // 16
    "option-rename", // 17
    "option-modify-value", // 18
    "delete-selection", // 19
    "help-about", // 20
};

} // namespace

QIcon imageListIcon(int index)
{
    if (index < 0 || index >= ImageListCount)
        return {};
    // The list is read once; QIcon picks the "@2x" picture beside each one on dense screens.
    static const std::array<QIcon, ImageListCount> icons = [] {
        std::array<QIcon, ImageListCount> loaded;
        for (int i = 0; i < ImageListCount; ++i)
            loaded[static_cast<size_t>(i)]
                = QIcon(QStringLiteral(":/images/%1.png").arg(QLatin1String(ImageNames[static_cast<size_t>(i)])));
        return loaded;
    }();
    return icons[static_cast<size_t>(index)];
}
