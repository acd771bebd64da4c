// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cli/inicommands.h"
#include "export/exportoptions.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QTextStream;

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Mode { Edit, Help, Version, ExportCd, IniFile, Error };

    Mode mode = Mode::Edit;
    // Edit: the file to open, empty for none.
    QString file;
    // ExportCd: the catalogue to read; options.FileName is the text file to write.
    QString catalogue;
    ExportOptions options;
    // IniFile: the INI command to run.
    IniCommand ini;
    // Help: the help text; Version: the version line; Error: the message, a whole line for stderr.
    QString text;
    // Edit: what was ignored (a second file), each a whole line for stderr.
    QStringList warnings;

    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

// A line for standard error: the program's name, then the file it is about (unless the message
// names it already), then the message, on one line.
[[nodiscard]] QString commandLineMessage(const QString &file, const QString &message);

// Parses the program's arguments (the first one is the program). "--" ends the options, so a file
// whose name starts with "-" can follow it. An INI command (--get, --set, --delete, --list) comes
// first, and takes what follows it as it stands.
[[nodiscard]] CommandLine parseCommandLine(const QStringList &arguments);

// True when the arguments ask for something that needs no window (help, version, the export, an INI
// command) or hold a mistake that no window-system option could explain; then the program answers without
// creating a display connection.
[[nodiscard]] bool answersWithoutDisplay(const QStringList &arguments);

// The first argument (counted from 1, after the program) that is not valid text in the locale's
// encoding, or 0. Such an argument would reach a file as other text than the user gave.
[[nodiscard]] int firstUndecodableArgument(int argc, const char *const *argv);
[[nodiscard]] QString undecodableArgumentMessage(int index);

// The headless export: reads the catalogue and writes the text file with the wizard's generator.
// Returns the process's exit code; a failure goes to errors in the export's own words.
int runExportCommand(const CommandLine &commandLine, QTextStream &errors);
