// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program under a window manager on a virtual X display, driven by keys: a file opened by
// typing its name in the Open dialog and pressing Enter, then Ctrl+O brings the dialog back (the
// dialog's name completion list must not stay behind and swallow the key).
#include "requiredtools.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_OpenDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typedNameOpensAndCtrlOAsksAgain();
};

namespace {

// Runs in the folder that holds the files: $1 the program, $2 the suppressions of a sanitizer
// build. Prints a line per step reached; a watchdog ends a run that hangs.
const char *const Script = R"SH(
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# The window manager hands out the keyboard: the program starts once it is there.
i=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || [ $i -ge 400 ]; do
    sleep 0.05; i=$((i + 1))
done
LSAN_OPTIONS="suppressions=$2${LSAN_OPTIONS:+:$LSAN_OPTIONS}" QT_QPA_PLATFORM=xcb "$1" &
pid=$!
( sleep 100; kill -KILL $pid 2>/dev/null ) &
watchdog=$!
find_window() {
    i=0
    while [ $i -lt "${2:-200}" ]; do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$found" ] && return 0
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}
# Waits until window $1 has the keyboard, asking the window manager again while it has not.
activate() {
    i=0
    while [ $i -lt 100 ]; do
        xdotool windowactivate --sync "$1" 2>/dev/null
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && { sleep 0.2; return 0; }
        sleep 0.2
        i=$((i + 1))
    done
    return 1
}
if find_window '^Untitled - YorvSaldrix$'; then
    echo "STEP:started"
    main=$found
    # The first Ctrl+O is tried again while a busy machine has not yet given the window the keys.
    for attempt in 1 2 3 4 5; do
        activate "$main"
        xdotool key ctrl+o
        find_window '^Open$' 50 && break
    done
    if [ -n "$found" ] && [ "$found" != "$main" ]; then
        echo "STEP:dialog"
        activate "$found"
        xdotool type --delay 50 'sample.ini'; sleep 0.5
        xdotool key Return
        if find_window '^sample.ini - YorvSaldrix$'; then
            echo "STEP:opened"
            activate "$found"
            xdotool key ctrl+o
            if find_window '^Open$'; then
                echo "STEP:asked again"
                xdotool key Escape
            fi
        fi
    fi
fi
sleep 0.3
kill -TERM $pid
wait $pid
echo "EXIT:$?"
kill $watchdog $wm 2>/dev/null
)SH";

} // namespace

void tst_OpenDialog::typedNameOpensAndCtrlOAsksAgain()
{
    SALDRIX_REQUIRE_TOOLS(QStringLiteral("xvfb-run"), QStringLiteral("openbox"), QStringLiteral("xdotool"));
    QTemporaryDir dir;
    // Two names with a common start, so that the completion list has something to show.
    for (const char *name : { "sample.ini", "samples.ini" }) {
        QFile out(dir.filePath(QLatin1String(name)));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[a]\nx=1\n");
    }

    QProcess run;
    run.setWorkingDirectory(dir.path());
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QStandardPaths::findExecutable(QStringLiteral("xvfb-run")),
        { QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24"), QStringLiteral("sh"),
            QStringLiteral("-c"), QString::fromLatin1(Script), QStringLiteral("sh"),
            QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"), QStringLiteral(SALDRIX_TEST_DATA "/lsan.supp") });
    QVERIFY(run.waitForStarted());
    if (!run.waitForFinished(150000)) {
        run.kill();
        run.waitForFinished();
        QFAIL("the run did not finish in time");
    }
    const QString output = QString::fromLocal8Bit(run.readAll());
    for (const char *step : { "STEP:started", "STEP:dialog", "STEP:opened", "STEP:asked again", "EXIT:0" })
        QVERIFY2(output.contains(QLatin1String(step)), qPrintable(output));
}

QTEST_GUILESS_MAIN(tst_OpenDialog)
#include "tst_opendialog.moc"
