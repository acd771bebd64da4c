// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The find bar in the real program on a virtual X display with a window manager, at the window's
// first-run size: opening it, typing, wrapping, closing it and F3 with it closed leave the window
// where it was and as large as it was.
#include "requiredtools.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_FindBarWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findLeavesTheWindowAsItWas();
};

namespace {

// Starts a window manager and the program on $2 (settings kept under $3, so that it starts at its
// first-run placement), waits for its window, then prints the window's placement after each step
// of a search typed with xdotool, asks it to close (SIGTERM) and prints its exit status. $4 names
// the leak checker's suppressions for a sanitizer build.
const char *const Script = R"sh(
export XDG_CONFIG_HOME="$3"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
LSAN_OPTIONS="suppressions=$4${LSAN_OPTIONS:+:$LSAN_OPTIONS}" QT_QPA_PLATFORM=xcb "$1" "$2" &
pid=$!
( sleep 40; kill -KILL $pid 2>/dev/null ) &
watchdog=$!
w=
i=0
while [ $i -lt 100 ] && [ -z "$w" ]; do
    w=$(xdotool search --name "find.ini - YorvSaldrix" 2>/dev/null | head -n 1)
    [ -n "$w" ] || sleep 0.1
    i=$((i + 1))
done
place() { echo "$1:$(xwininfo -id "$w" | grep -E 'Absolute upper-left|Width|Height' | tr -s ' ' | tr -d '\n')"; }
sleep 0.5
xdotool windowactivate --sync "$w" >/dev/null 2>&1
sleep 0.3
place START
xdotool key ctrl+f; sleep 0.5; place OPENED
xdotool type --delay 30 "value"; sleep 0.5; place TYPED
xdotool key shift+Return; sleep 0.3; place WRAPPED
xdotool key Escape; sleep 0.3; place CLOSED
xdotool key F3; sleep 0.3; place AGAIN
kill -TERM $pid
wait $pid
echo "EXIT:$?"
kill $watchdog $wm 2>/dev/null
)sh";

} // namespace

void tst_FindBarWindow::findLeavesTheWindowAsItWas()
{
    SALDRIX_REQUIRE_TOOLS(
        QStringLiteral("xvfb-run"), QStringLiteral("openbox"), QStringLiteral("xdotool"), QStringLiteral("xwininfo"));
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("find.ini"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        for (int section = 0; section < 40; ++section)
            out.write(QStringLiteral("[section %1]\nkey=value %1\n").arg(section).toUtf8());
    }

    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(xvfbRun,
        { QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"), QStringLiteral("sh"),
            QStringLiteral("-c"), QString::fromLatin1(Script), QStringLiteral("sh"),
            QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"), file, dir.filePath(QStringLiteral("config")),
            QStringLiteral(SALDRIX_TEST_DATA "/lsan.supp") });
    QVERIFY(run.waitForStarted());
    if (!run.waitForFinished(90000)) {
        run.kill();
        run.waitForFinished();
        QFAIL("the real-window run did not finish in time");
    }
    const QString output = QString::fromLocal8Bit(run.readAll());
    QString start;
    for (const QString &line : output.split(u'\n')) {
        if (line.startsWith(QStringLiteral("START:")))
            start = line.mid(6);
    }
    // The client area at its first-run size.
    QVERIFY2(start.contains(QStringLiteral("Width: 464")) && start.contains(QStringLiteral("Height: 322")),
        qPrintable(output));
    for (const char *step : { "OPENED", "TYPED", "WRAPPED", "CLOSED", "AGAIN" })
        QVERIFY2(output.contains(QStringLiteral("%1:%2").arg(QLatin1String(step), start)), qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("EXIT:0")), qPrintable(output));
}

QTEST_GUILESS_MAIN(tst_FindBarWindow)
#include "tst_findbarwindow.moc"
