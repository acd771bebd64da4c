// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// The parts of a path around its last "/", taken from the text alone: nothing is looked up on disk.

// The name after the last "/": the whole path when it holds none, empty when it ends in "/".
[[nodiscard]] QString fileNamePart(const QString &path);
// The same for a name in the file system's encoding.
[[nodiscard]] QByteArray fileNamePart(const QByteArray &path);
// The folder that holds that name, as the system calls take it: everything before the last "/",
// "/" for a name in the root and "." for a path without a "/".
[[nodiscard]] QByteArray folderPart(const QByteArray &path);
