// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>
#include <QStringList>

// Installs the program's own translation and Qt's for the locale's languages, into the running
// application, which owns them. Where no translation exists (C, English) the texts stay as written.
// Returns the catalogues installed, by name ("yorvsaldrix_de", "qtbase_de"), for the caller to report.
QStringList installTranslations(const QLocale &locale);
