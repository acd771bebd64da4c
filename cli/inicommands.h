// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QTextStream;

// One INI file read or changed from a script, through the profile store, without a window:
//   --get FILE SECTION KEY          prints the value
//   --set FILE SECTION KEY VALUE    writes one value, every other byte of the file kept
//   --delete FILE SECTION [KEY]     removes an option, or a section with its options
//   --list FILE [SECTION]           prints the section names, or the section's option names
struct IniCommand {
    enum class Kind { Get, Set, Delete, List };

    Kind kind = Kind::Get;
    QString file;
    QString section;
    QString key;
    QString value;
    bool hasSection = false; // --list: a section was given
    bool hasKey = false; // --delete: a key was given

    Q_DECLARE_TR_FUNCTIONS(IniCommand)
};

// The command words, for the command-line parser's help.
[[nodiscard]] const QStringList &iniCommandWords();

// The help's lines of the INI file forms, one a command word: the program, the word, its operands
// and what it does.
[[nodiscard]] QString iniCommandForms(const QString &program);

// Whether the argument is one of the command words ("--get" and the others).
[[nodiscard]] bool isIniCommandWord(const QString &argument);

// Parses the command word and what follows it. The operands are taken as they stand, so that a
// value may begin with "-"; a "--" right after the word is passed over. Returns the error text, or
// an empty text when the command is complete.
[[nodiscard]] QString parseIniCommand(const QStringList &arguments, IniCommand &command);

// The exit statuses of the command-line forms, for scripts to tell the failures apart.
enum ExitStatus : int {
    ExitDone = 0,
    ExitNotFound = 1, // the file, section or option asked for is not there
    ExitReadWriteFailure = 2, // the file could not be read or written
    ExitUsage = 64, // the arguments are not a command that can be run (as sysexits.h's EX_USAGE)
};

// Runs the command: the answer goes to out, a failure to errors as one line that begins with the
// program's name and names the file. Returns the process's exit status (ExitStatus).
int runIniCommand(const IniCommand &command, QTextStream &out, QTextStream &errors);
