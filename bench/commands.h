// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

// One function per benchmark command; each returns the process exit code. Arguments exclude the
// command's own name. Each command creates the application object it needs.
int benchRoundtrip(int argc, char *argv[], const QStringList &args);
int benchGenerate(int argc, char *argv[], const QStringList &args);
int benchView(int argc, char *argv[], QStringList args);
int benchExport(int argc, char *argv[], const QStringList &args);
int benchUndo(int argc, char *argv[], const QStringList &args);
int benchFind(int argc, char *argv[], const QStringList &args);
int benchMarks(int argc, char *argv[], const QStringList &args);
int benchCommands(int argc, char *argv[], const QStringList &args);

// Writes the catalogue test file(s) of the export benchmark into dir; used by benchGenerate.
void generateCatalogueFiles(const QString &dir);
