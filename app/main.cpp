// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/applicationtitle.h"
#include "dialogs/messageboxdialogs.h"
#include "document/heaptuning.h"
#include "editor/saldrixmain.h"
#include "export/commandline.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = { -1, -1 };

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT become a close request to the main window, so that the unsaved-changes
// question and the settings run as on any other close. Signal handlers may only write to a pipe.
void closeOnSignals(QWidget &window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(g_signalPipe[0], &byte, 1);
        window.close();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

void setNames()
{
    QCoreApplication::setApplicationName(applicationTitle());
    QCoreApplication::setApplicationVersion(QStringLiteral(SALDRIX_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Yorv"));
}

// Help, version, the export, the INI commands and plain mistakes are answered by a core
// application: no display.
int answerWithoutDisplay(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    setNames();
    const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments());
    QTextStream out(stdout);
    QTextStream errors(stderr);
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
    case CommandLine::Mode::Edit:
        break;
    }
    errors << commandLine.text << Qt::endl;
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    tuneHeapForDocuments();
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    if (answersWithoutDisplay(rawArguments))
        return answerWithoutDisplay(argc, argv);

    // Qt takes its own options (-style, -reverse) out of the arguments, but only those before "--":
    // a file named like one of them is opened when it follows "--".
    const qsizetype endOfOptions = rawArguments.indexOf(QStringLiteral("--"));
    int qtArgc = endOfOptions < 0 ? argc : int(endOfOptions);
    QApplication app(qtArgc, argv);
    setNames();
    const CommandLine commandLine = parseCommandLine(
        QApplication::arguments() + (endOfOptions < 0 ? QStringList() : rawArguments.mid(endOfOptions)));
    if (commandLine.mode != CommandLine::Mode::Edit) {
        QTextStream(stderr) << commandLine.text << Qt::endl;
        return 1;
    }
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/yorvsaldrix.png")));
    // The program ends with the main window, whatever other window is still open.
    QApplication::setQuitOnLastWindowClosed(false);

    MessageBoxDialogs dialogs;
    TfrmSaldrixMain window(dialogs);
    QObject::connect(&window, &TfrmSaldrixMain::closeAccepted, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.setStartFile(commandLine.file);
    closeOnSignals(window);
    window.show();
    return QApplication::exec();
}
