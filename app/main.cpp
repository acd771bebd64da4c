// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/commandline.h"
#include "dialogs/applicationtitle.h"
#include "dialogs/messageboxdialogs.h"
#include "editor/saldrixmain.h"
#include "translations/translations.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

int g_signalPipe[2] = { -1, -1 };

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

// SIGTERM, SIGHUP and SIGINT end the program without a question: unsaved changes go to the
// recovery copy, and the file on disk stays as it is. Signal handlers may only write to a pipe.
void endOnSignals(TfrmSaldrixMain &window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(g_signalPipe[0], &byte, 1);
        window.endOnSignal();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : { SIGTERM, SIGHUP, SIGINT })
        ::sigaction(number, &action, nullptr);
}

void setNames()
{
    QCoreApplication::setApplicationName(applicationTitle());
    QCoreApplication::setApplicationVersion(QStringLiteral(SALDRIX_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Yorv"));
}

// The desktop entry's name, by which a Wayland desktop finds the window's icon and entry.
void setDesktopName()
{
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.YorvSaldrix"));
}

// Help, version, the export, the INI commands and plain mistakes are answered by a core
// application: no display.
int answerWithoutDisplay(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    setNames();
    installTranslations(QLocale::system());
    const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments());
    QTextStream out(stdout);
    QTextStream errors(stderr);
    if (const int undecodable = firstUndecodableArgument(argc, argv)) {
        errors << undecodableArgumentMessage(undecodable) << Qt::endl;
        return ExitUsage;
    }
    switch (commandLine.mode) {
    case CommandLine::Mode::Help:
    case CommandLine::Mode::Version:
        out << commandLine.text;
        return 0;
    case CommandLine::Mode::ExportCd:
        return runExportCommand(commandLine, errors);
    case CommandLine::Mode::IniFile:
        return runIniCommand(commandLine.ini, out, errors);
    case CommandLine::Mode::Error:
        errors << commandLine.text << Qt::endl;
        return ExitUsage;
    case CommandLine::Mode::Edit:
        break;
    }
    errors << commandLine.text << Qt::endl;
    return 1;
}

// Qt ends the program with abort() when no platform plugin starts, in practice when there is no
// display. While the application object is made, that becomes one line on standard error and exit
// status 1; the warnings Qt gives on the way are held back, and passed on only when it succeeds.
class DisplayCheck {
public:
    explicit DisplayCheck(const QString &file)
    {
        s_file = file;
        s_previous = qInstallMessageHandler(onMessage);
    }
    ~DisplayCheck()
    {
        qInstallMessageHandler(s_previous);
        for (const Held &held : s_held) {
            const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
            s_previous(held.type, context, held.message);
        }
        s_held.clear();
    }
    DisplayCheck(const DisplayCheck &) = delete;
    DisplayCheck &operator=(const DisplayCheck &) = delete;

private:
    struct Held {
        QtMsgType type;
        QByteArray category;
        QString message;
    };

    static void onMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type != QtFatalMsg) {
            s_held.push_back({ type, QByteArray(context.category), message });
            return;
        }
        const QByteArray display = qgetenv("DISPLAY");
        const QString why = display.isEmpty()
            ? CommandLine::tr("no display to show the window on (DISPLAY is not set)")
            : CommandLine::tr("no display to show the window on (DISPLAY \"%1\" cannot be reached)")
                  .arg(QString::fromLocal8Bit(display));
        const QString line = s_file.isEmpty() ? commandLineMessage(QString(), why)
                                              : commandLineMessage(s_file, CommandLine::tr("not opened: %1").arg(why));
        std::fputs((line + u'\n').toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        ::_exit(1);
    }

    static inline QString s_file;
    static inline QtMessageHandler s_previous = nullptr;
    static inline std::vector<Held> s_held;
};

} // namespace

int main(int argc, char *argv[])
{
    // A write past a file-size limit (ulimit -f, LimitFSIZE) would otherwise end the program with
    // the user's edits; ignored, the write fails with EFBIG and the save reports it.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    if (firstUndecodableArgument(argc, argv) != 0 || answersWithoutDisplay(rawArguments))
        return answerWithoutDisplay(argc, argv);

    // Qt takes its own options (-style, -reverse) out of the arguments, but only those before "--":
    // a file named like one of them is opened when it follows "--".
    const qsizetype endOfOptions = rawArguments.indexOf(QStringLiteral("--"));
    int qtArgc = endOfOptions < 0 ? argc : int(endOfOptions);
    // Before Qt has taken its own options out, the file to open is sure only when the arguments
    // parse as they stand, or when it follows "--".
    const CommandLine early = parseCommandLine(rawArguments);
    auto displayCheck = std::make_unique<DisplayCheck>(early.mode == CommandLine::Mode::Edit
            ? early.file
            : (endOfOptions < 0 ? QString() : rawArguments.value(endOfOptions + 1)));
    QApplication app(qtArgc, argv);
    displayCheck.reset();
    setNames();
    setDesktopName();
    installTranslations(QLocale::system());
    const CommandLine commandLine = parseCommandLine(
        QApplication::arguments() + (endOfOptions < 0 ? QStringList() : rawArguments.mid(endOfOptions)));
    QTextStream errors(stderr);
    if (commandLine.mode != CommandLine::Mode::Edit) {
        errors << commandLine.text << Qt::endl;
        return commandLine.mode == CommandLine::Mode::Error ? ExitUsage : 1;
    }
    for (const QString &warning : commandLine.warnings)
        errors << warning << Qt::endl;
    errors.flush();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/yorvsaldrix.png")));
    // The program ends with the main window, whatever other window is still open.
    QApplication::setQuitOnLastWindowClosed(false);

    MessageBoxDialogs dialogs;
    TfrmSaldrixMain window(dialogs);
    QObject::connect(&window, &TfrmSaldrixMain::closeAccepted, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.setStartFile(commandLine.file);
    endOnSignals(window);
    window.show();
    return QApplication::exec();
}
