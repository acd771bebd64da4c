// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The find bar in the real program on a virtual X display with a window manager, at the window's
// first-run size: opening it, typing, wrapping, closing it and F3 with it closed leave the window
// where it was and as large as it was.
#include "requiredtools.h"
#include "virtualdisplay.h"

#include <QFile>
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
// the leak checker's suppressions for a sanitizer build, $5 the shared waits.
const char *const Script = R"sh(
. "$5"
export XDG_CONFIG_HOME="$3"
wait_for_display
openbox >/dev/null 2>&1 &
wm=$!
wait_for_window_manager
LSAN_OPTIONS="suppressions=$4${LSAN_OPTIONS:+:$LSAN_OPTIONS}" QT_QPA_PLATFORM=xcb "$1" "$2" &
pid=$!
( sleep 100; kill -KILL $pid 2>/dev/null ) &
watchdog=$!
framed() { xprop -id "$w" _NET_FRAME_EXTENTS 2>/dev/null | grep -q ' = '; }
place() { echo "$1:$(xwininfo -id "$w" | grep -E 'Absolute upper-left|Width|Height' | tr -s ' ' | tr -d '\n')"; }
# The window is measured once it is shown, framed by the window manager and has the keyboard; after
# each key, once the program has taken it in and had a moment to lay itself out.
if find_window '^find.ini - YorvSaldrix$'; then
    w=$found
    wait_until 60 framed
    activate "$w"
    sleep 0.3
    place START
    press "$w" ctrl+f; sleep 0.3; place OPENED
    press "$w" v a l u e; sleep 0.3; place TYPED
    press "$w" shift+Return; sleep 0.3; place WRAPPED
    press "$w" Escape; sleep 0.3; place CLOSED
    press "$w" F3; sleep 0.3; place AGAIN
fi
kill -TERM $pid
wait $pid
echo "EXIT:$?"
kill $watchdog $wm 2>/dev/null
)sh";

} // namespace

void tst_FindBarWindow::findLeavesTheWindowAsItWas()
{
    SALDRIX_REQUIRE_TOOLS(QStringLiteral("xvfb-run"), QStringLiteral("openbox"), QStringLiteral("xdotool"),
        QStringLiteral("xwininfo"), QStringLiteral("xprop"));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("find.ini"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        for (int section = 0; section < 40; ++section)
            out.write(QStringLiteral("[section %1]\nkey=value %1\n").arg(section).toUtf8());
    }

    const DisplayRun run = runOnVirtualDisplay(QStringLiteral("1280x1024x24"), Script,
        QStringList { QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"), file,
            dir.filePath(QStringLiteral("config")), QStringLiteral(SALDRIX_SUPPORT_DATA "/lsan.supp"),
            QStringLiteral(SALDRIX_TEST_DATA "/xwindows.sh") },
        240000);
    QVERIFY2(run.finished, "the real-window run did not finish in time");
    const QString output = run.output;
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
