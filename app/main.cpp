#include "editor/applicationtitle.h"
#include "editor/messageboxdialogs.h"
#include "editor/saldrixmain.h"
#include "export/mainwindowexport.h"

#include <QApplication>
#include <QSocketNotifier>

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    QApplication::setOrganizationName(QStringLiteral("Yorv"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/yorvsaldrix.png")));
    // The program ends with the main window, whatever other window is still open.
    QApplication::setQuitOnLastWindowClosed(false);

    MessageBoxDialogs dialogs;
    TfrmSaldrixMain window(dialogs);
    createExportWizard(window);
    QObject::connect(&window, &TfrmSaldrixMain::closeAccepted, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.setStartFile(QApplication::arguments().value(1));
    closeOnSignals(window);
    window.show();
    return QApplication::exec();
}
