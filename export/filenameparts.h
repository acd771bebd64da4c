// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Parts of a path as the export wizard proposes and browses names. The delimiter is "/".

// Everything up to and including the last "/"; empty when there is none.
[[nodiscard]] QString DirectoryPart(const QString &path);
// The file-name part from its last full stop on, the full stop included; empty when it has none.
[[nodiscard]] QString FileExtension(const QString &path);
// The file-name part less its extension: "archive.tar.gz" gives "archive.tar", ".profile" "".
[[nodiscard]] QString BareFileName(const QString &path);
