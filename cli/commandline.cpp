// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/commandline.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"
#include "export/exportcatalogue.h"
#include "export/exportprogress.h"
#include "ini/treeio.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextStream>

#include <algorithm>

namespace {

struct Options {
    QCommandLineOption exportCd { QStringLiteral("export-cd"),
        QCoreApplication::translate(
            "CommandLine", "Exports the CD catalogue CATALOGUE.ini to OUT.txt without a window.") };
    QCommandLineOption titleFirst { QStringLiteral("title-first"),
        QCoreApplication::translate("CommandLine", "Export: headings begin with the title, not the artist.") };
    QCommandLineOption volume { QStringLiteral("volume"),
        QCoreApplication::translate("CommandLine", "Export: include the volume.") };
    QCommandLineOption genre { QStringLiteral("genre"),
        QCoreApplication::translate("CommandLine", "Export: include the genre.") };
    QCommandLineOption numTracks { QStringLiteral("numtracks"),
        QCoreApplication::translate("CommandLine", "Export: include the number of tracks.") };
    QCommandLineOption separator { QStringLiteral("separator"),
        QCoreApplication::translate("CommandLine", "Export: joins the two parts of a heading (default \" - \")."),
        QStringLiteral("TEXT") };
    QCommandLineOption separatorLine { QStringLiteral("separator-line"),
        QCoreApplication::translate("CommandLine", "Export: the line before each disc's tracks (default 35 \"=\")."),
        QStringLiteral("TEXT") };
};

// The installed program's name, whatever path it was started by.
const QString ProgramName = QStringLiteral("yorvsaldrix");

} // namespace

QString commandLineMessage(const QString &file, const QString &message)
{
    QString line = message.trimmed();
    line.replace(u'\n', QStringLiteral(": "));
    if (!file.isEmpty() && !line.contains(file))
        line = file + QStringLiteral(": ") + line;
    return ProgramName + QStringLiteral(": ") + line;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-reverse" is one unknown option, not "-r -e -v ...": a single dash never bundles letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(CommandLine::tr("Edits INI files, or exports a CD catalogue without a window."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const Options o;
    parser.addOptions({ o.exportCd, o.titleFirst, o.volume, o.genre, o.numTracks, o.separator, o.separatorLine });
    // Listed for the help only: the parser itself ends the options at "--".
    parser.addPositionalArgument(QStringLiteral("--"),
        CommandLine::tr("Ends the options, so that a FILE whose name starts with \"-\" can follow."),
        QStringLiteral("[--]"));
    parser.addPositionalArgument(
        QStringLiteral("FILE"), CommandLine::tr("The INI file to open."), QStringLiteral("[FILE]"));
    const QCommandLineOption iniCommands(
        iniCommandWords(), CommandLine::tr("Reads or changes one INI file without a window; given first (see below)."));
    parser.addOption(iniCommands);

    CommandLine result;
    const auto fail = [&result](const QString &message) {
        result.mode = CommandLine::Mode::Error;
        result.text = commandLineMessage(QString(), message);
        return result;
    };
    // A value given to --set may begin with "-": the INI commands parse their own operands.
    if (isIniCommandWord(arguments.value(1))) {
        const QString error = parseIniCommand(arguments.mid(1), result.ini);
        if (!error.isEmpty())
            return fail(error);
        result.mode = CommandLine::Mode::IniFile;
        return result;
    }
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.mode = CommandLine::Mode::Help;
        // The usage line names the program as it is installed, not the path it was started by
        // (the parser takes that path from the application object).
        QString text = parser.helpText();
        const QString started = QCoreApplication::instance() ? QCoreApplication::arguments().value(0) : QString();
        const qsizetype firstLineEnd = text.indexOf(u'\n');
        if (!started.isEmpty() && text.left(firstLineEnd).contains(started))
            text.replace(text.indexOf(started), started.size(), ProgramName);
        result.text = text
            + CommandLine::tr(
                "\nExport form:\n  %1 --export-cd CATALOGUE.ini OUT.txt [--title-first] [--volume] [--genre]\n"
                "      [--numtracks] [--separator TEXT] [--separator-line TEXT]\n")
                  .arg(ProgramName)
            + CommandLine::tr("\nINI file forms (no window; a name is taken without the blanks around it):\n")
            + iniCommandForms(ProgramName)
            + CommandLine::tr("\nExit status:\n"
                              "  0   success\n"
                              "  1   no such file, section or option; no display for the window; the export failed\n"
                              "  2   an INI file command cannot read or write its file\n"
                              "  64  a usage error: a mistake on the command line, a name or value that is refused\n");
        return result;
    }
    if (parser.isSet(version)) {
        result.mode = CommandLine::Mode::Version;
        result.text = QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() + u'\n';
        return result;
    }
    if (parser.isSet(iniCommands)) {
        const QStringList &words = iniCommandWords();
        const auto word = std::find_if(
            words.begin(), words.end(), [&parser](const QString &w) { return parser.optionNames().contains(w); });
        return fail(CommandLine::tr("--%1 must be the first argument.").arg(*word));
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(o.exportCd)) {
        if (files.size() != 2)
            return fail(CommandLine::tr("--export-cd needs a catalogue and an output file."));
        result.mode = CommandLine::Mode::ExportCd;
        result.catalogue = files.at(0);
        result.options.FileName = files.at(1);
        result.options.ArtistFirst = !parser.isSet(o.titleFirst);
        result.options.IncludeVolume = parser.isSet(o.volume);
        result.options.IncludeGenre = parser.isSet(o.genre);
        result.options.IncludeNumTracks = parser.isSet(o.numTracks);
        if (parser.isSet(o.separator))
            result.options.Separator = parser.value(o.separator);
        if (parser.isSet(o.separatorLine))
            result.options.SeparatorLine = parser.value(o.separatorLine);
        return result;
    }
    for (const QCommandLineOption *exportOnly :
        { &o.titleFirst, &o.volume, &o.genre, &o.numTracks, &o.separator, &o.separatorLine }) {
        if (parser.isSet(*exportOnly))
            return fail(
                CommandLine::tr("--%1 is only meaningful with --export-cd.").arg(exportOnly->names().constFirst()));
    }
    // The window opens on the first file, as it always has; the others are named, not opened.
    result.file = files.value(0);
    for (const QString &extra : files.mid(1))
        result.warnings << commandLineMessage(extra, CommandLine::tr("ignored: only one file is opened at a time"));
    return result;
}

bool answersWithoutDisplay(const QStringList &arguments)
{
    const CommandLine commandLine = parseCommandLine(arguments);
    if (commandLine.mode != CommandLine::Mode::Error)
        return commandLine.mode != CommandLine::Mode::Edit;
    // An unknown option may be one of Qt's own, which the application object takes out of the
    // arguments before they are parsed again; any other mistake is answered here.
    static const QStringList qtOptions { QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"), QStringLiteral("qwindowgeometry"),
        QStringLiteral("geometry"), QStringLiteral("qwindowicon"), QStringLiteral("icon"),
        QStringLiteral("qwindowtitle"), QStringLiteral("title"), QStringLiteral("reverse"), QStringLiteral("session"),
        QStringLiteral("style"), QStringLiteral("stylesheet"), QStringLiteral("widgetcount"), QStringLiteral("display"),
        QStringLiteral("name"), QStringLiteral("nograb"), QStringLiteral("dograb"), QStringLiteral("sync"),
        QStringLiteral("visual"), QStringLiteral("ncols"), QStringLiteral("cmap"), QStringLiteral("im"),
        QStringLiteral("inputstyle"), QStringLiteral("qmljsdebugger"), QStringLiteral("testability") };
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const qsizetype end = arguments.indexOf(QStringLiteral("--"));
    const QStringList options = arguments.mid(0, end);
    if (options.contains(QStringLiteral("--export-cd")))
        return true;
    parser.parse(options);
    const QStringList unknown = parser.unknownOptionNames();
    // With one of Qt's options among them, the mistake is reported once Qt has taken its own.
    return std::none_of(unknown.begin(), unknown.end(),
        [](const QString &name) { return qtOptions.contains(name.section(u'=', 0, 0)); });
}

int firstUndecodableArgument(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        QStringDecoder decoder(QStringDecoder::System, QStringDecoder::Flag::Stateless);
        (void)QString(decoder(QByteArrayView(argv[i])));
        if (decoder.hasError())
            return i;
    }
    return 0;
}

QString undecodableArgumentMessage(int index)
{
    return commandLineMessage(QString(),
        CommandLine::tr("argument %1 is not valid text in the locale's encoding (%2); nothing was done")
            .arg(index)
            .arg(QString::fromLatin1(QStringConverter::nameForEncoding(QStringConverter::System))));
}

int runExportCommand(const CommandLine &commandLine, QTextStream &errors)
{
    // A failure names the file it is about: the catalogue while it is read, then the output file.
    QString about = commandLine.catalogue;
    const bool exported = catchErrors(
        [&commandLine, &about] {
            if (!QFileInfo(commandLine.catalogue).isFile())
                throw SaldrixError(unableToRead(commandLine.catalogue));
            DocumentTree tree;
            LoadTreeFromIni(tree, commandLine.catalogue);
            about = commandLine.options.FileName;
            NullExportProgress progress;
            ExportContext context;
            context.documentFileName = commandLine.catalogue;
            ExportCatalogue(tree, commandLine.options, progress, context);
        },
        [&errors, &about](const QString &message) { errors << commandLineMessage(about, message) << Qt::endl; });
    return exported ? 0 : 1;
}
