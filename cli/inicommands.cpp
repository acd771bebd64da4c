// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/inicommands.h"

#include "cli/commandline.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"
#include "ini/inifile.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <iterator>

namespace {

struct Shape {
    const char *word;
    IniCommand::Kind kind;
    qsizetype least; // operands, the file included
    qsizetype most;
    const char *operands;
    const char *description; // one line for the help
};

const Shape Shapes[] = {
    { "--get", IniCommand::Kind::Get, 3, 3, QT_TRANSLATE_NOOP("IniCommand", "FILE SECTION KEY"),
        QT_TRANSLATE_NOOP("IniCommand", "prints the value") },
    { "--set", IniCommand::Kind::Set, 4, 4, QT_TRANSLATE_NOOP("IniCommand", "FILE SECTION KEY VALUE"),
        QT_TRANSLATE_NOOP("IniCommand", "writes the value; every other byte stays") },
    { "--delete", IniCommand::Kind::Delete, 2, 3, QT_TRANSLATE_NOOP("IniCommand", "FILE SECTION [KEY]"),
        QT_TRANSLATE_NOOP("IniCommand", "removes the option, or the section") },
    { "--list", IniCommand::Kind::List, 1, 2, QT_TRANSLATE_NOOP("IniCommand", "FILE [SECTION]"),
        QT_TRANSLATE_NOOP("IniCommand", "prints the sections, or the section's options") },
};

const Shape *shapeOf(const QString &word)
{
    const auto found = std::find_if(std::begin(Shapes), std::end(Shapes),
        [&word](const Shape &shape) { return word == QLatin1String(shape.word); });
    return found == std::end(Shapes) ? nullptr : found;
}

// Whether the reader would take "KEY=..." for something else: the name ends at the first "=", and a
// line that begins with "[", ";" or "#" may be a header or a comment.
bool unreadableKey(const QString &key)
{
    const QString name = storedName(key);
    return name.contains(u'=') || name.startsWith(u'[') || name.startsWith(u';') || name.startsWith(u'#');
}

// A failure of the command, with the exit status that tells scripts which kind it was.
class CommandFailure : public SaldrixError {
public:
    CommandFailure(const QString &message, ExitStatus status)
        : SaldrixError(message)
        , m_status(status)
    {
    }
    [[nodiscard]] ExitStatus status() const { return m_status; }

private:
    ExitStatus m_status;
};

[[noreturn]] void fail(const QString &message, ExitStatus status)
{
    throw CommandFailure(message, status);
}

// Reads the whole file once for the questions that follow; a file that is not there, or cannot be
// read, is a failure here, where the store itself would read it as empty.
void readAtOnce(TIniFile &ini)
{
    switch (ini.takeSnapshot()) {
    case TIniFile::SnapshotResult::Read:
        return;
    case TIniFile::SnapshotResult::Missing:
        fail(IniCommand::tr("%1 does not exist").arg(ini.FileName()), ExitNotFound);
    case TIniFile::SnapshotResult::TooLarge:
        fail(unableToRead(ini.FileName()) + u'\n'
                + QCoreApplication::translate("TIniFile", "The file is larger than 1 GiB."),
            ExitReadWriteFailure);
    case TIniFile::SnapshotResult::Unreadable:
        break;
    }
    fail(unableToRead(ini.FileName()), ExitReadWriteFailure);
}

void requireSection(TIniFile &ini, const QString &section)
{
    if (!ini.SectionExists(section))
        fail(IniCommand::tr("%1 has no section [%2]").arg(ini.FileName(), section), ExitNotFound);
}

void run(const IniCommand &command, QTextStream &out)
{
    const bool changes = command.kind == IniCommand::Kind::Set || command.kind == IniCommand::Kind::Delete;
    if (holdsLineBreak(command.section) || holdsLineBreak(command.key) || holdsLineBreak(command.value)) {
        fail(changes ? IniCommand::tr("%1 was not changed: a name or value cannot hold a line break").arg(command.file)
                     : IniCommand::tr("%1 was not read: a name cannot hold a line break").arg(command.file),
            ExitUsage);
    }
    // Names are looked up as the file can hold them: without the blanks around them.
    const QString section = storedName(command.section);
    const QString key = storedName(command.key);
    TIniFile ini(command.file);
    switch (command.kind) {
    case IniCommand::Kind::Get:
        readAtOnce(ini);
        requireSection(ini, section);
        if (!ini.OptionExists(section, key))
            fail(IniCommand::tr("%1 has no option \"%3\" in section [%2]").arg(command.file, section, key),
                ExitNotFound);
        out << ini.ReadValue(section, key, QString()) << '\n';
        return;
    case IniCommand::Kind::List: {
        readAtOnce(ini);
        QStringList names;
        if (command.hasSection) {
            requireSection(ini, section);
            ini.GetOptionNames(section, names);
        } else {
            ini.GetSectionNames(names);
        }
        for (const QString &name : std::as_const(names))
            out << name << '\n';
        return;
    }
    case IniCommand::Kind::Set:
        if (unreadableKey(key)) {
            fail(IniCommand::tr(
                     "%1 was not changed: an option name cannot hold \"=\" or begin with \"[\", \";\" or \"#\"")
                     .arg(command.file),
                ExitUsage);
        }
        ini.WriteValue(section, key, command.value);
        return;
    case IniCommand::Kind::Delete:
        // What is not there is already deleted: nothing is written.
        if (command.hasKey)
            (void)ini.DeleteOption(section, key);
        else
            (void)ini.DeleteSection(section);
        return;
    }
}

} // namespace

const QStringList &iniCommandWords()
{
    static const QStringList words = [] {
        QStringList list;
        for (const Shape &shape : Shapes)
            list << QString::fromLatin1(shape.word).mid(2);
        return list;
    }();
    return words;
}

QString iniCommandForms(const QString &program)
{
    // The descriptions start in one column, past the longest form.
    constexpr qsizetype DescriptionColumn = 32;
    QString forms;
    for (const Shape &shape : Shapes) {
        const QString form
            = QString::fromLatin1(shape.word) + u' ' + QCoreApplication::translate("IniCommand", shape.operands);
        forms += QStringLiteral("  ") + program + u' ' + form.leftJustified(DescriptionColumn)
            + QCoreApplication::translate("IniCommand", shape.description) + u'\n';
    }
    return forms;
}

bool isIniCommandWord(const QString &argument)
{
    return shapeOf(argument) != nullptr;
}

QString parseIniCommand(const QStringList &arguments, IniCommand &command)
{
    const Shape *shape = shapeOf(arguments.value(0));
    Q_ASSERT(shape);
    QStringList operands = arguments.mid(1);
    if (operands.value(0) == u"--")
        operands.removeFirst();
    if (operands.size() < shape->least || operands.size() > shape->most) {
        return IniCommand::tr("%1 takes %2.")
            .arg(QLatin1String(shape->word), QCoreApplication::translate("IniCommand", shape->operands));
    }
    command = IniCommand();
    command.kind = shape->kind;
    command.file = operands.at(0);
    command.section = operands.value(1);
    command.hasSection = operands.size() > 1;
    command.key = operands.value(2);
    command.hasKey = operands.size() > 2;
    command.value = operands.value(3);
    return QString();
}

int runIniCommand(const IniCommand &command, QTextStream &out, QTextStream &errors)
{
    const auto report = [&errors, &command](const QString &message) {
        errors << commandLineMessage(command.file, message) << Qt::endl;
    };
    // Every other failure is the file's: it could not be read or written.
    ExitStatus status = ExitReadWriteFailure;
    const auto work = [&command, &out, &status] {
        try {
            run(command, out);
        } catch (const CommandFailure &failure) {
            status = failure.status();
            throw;
        }
    };
    if (!catchErrors(work, report))
        return status;
    out.flush();
    if (out.status() != QTextStream::Ok) {
        report(IniCommand::tr("Unable to write to the standard output"));
        return ExitReadWriteFailure;
    }
    return ExitDone;
}
