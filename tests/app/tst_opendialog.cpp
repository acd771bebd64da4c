// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program under a window manager on a virtual X display, driven by keys: a file opened by
// typing its name in the Open dialog and pressing Enter, then Ctrl+O brings the dialog back (the
// dialog's name completion list must not stay behind and swallow the key).
#include "requiredtools.h"
#include "virtualdisplay.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_OpenDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typedNameOpensAndCtrlOAsksAgain();
};

namespace {

// Runs in the folder that holds the files: $1 the program, $2 the suppressions of a sanitizer
// build, $3 the shared waits. Prints a line per step reached; a watchdog ends a run that hangs.
const char *const Script = R"SH(
. "$3"
wait_for_display
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
wait_for_window_manager
LSAN_OPTIONS="suppressions=$2${LSAN_OPTIONS:+:$LSAN_OPTIONS}" QT_QPA_PLATFORM=xcb "$1" &
pid=$!
( sleep 200; kill -KILL $pid 2>/dev/null ) &
watchdog=$!
if find_window '^Untitled - YorvSaldrix$'; then
    echo "STEP:started"
    main=$found
    # Right after the start the program may take the key in before it acts on keys: it is pressed
    # again until the dialog shows.
    for attempt in 1 2 3 4 5; do
        activate "$main" && press "$main" ctrl+o && find_window '^Open$' 10 && break
    done
    if [ -n "$found" ] && [ "$found" != "$main" ]; then
        echo "STEP:dialog"
        dialog=$found
        activate "$dialog"
        # Once the dialog has taken the typing in, the completion list that it fills from the
        # folder meanwhile is given a moment to show.
        before=$(user_time "$dialog")
        xdotool type --delay 50 'sample.ini'
        wait_until 30 _user_time_not "$dialog" "$before"
        sleep 0.5
        xdotool key Return
        if find_window '^sample.ini - YorvSaldrix$' && wait_gone '^Open$'; then
            echo "STEP:opened"
            activate "$found"
            press "$found" ctrl+o
            if find_window '^Open$'; then
                echo "STEP:asked again"
                xdotool key Escape
                wait_gone '^Open$'
            fi
        fi
    fi
fi
kill -TERM $pid
wait $pid
echo "EXIT:$?"
kill $watchdog $wm 2>/dev/null
)SH";

} // namespace

void tst_OpenDialog::typedNameOpensAndCtrlOAsksAgain()
{
    SALDRIX_REQUIRE_TOOLS(
        QStringLiteral("xvfb-run"), QStringLiteral("openbox"), QStringLiteral("xdotool"), QStringLiteral("xprop"));
    QTemporaryDir dir;
    // Two names with a common start, so that the completion list has something to show.
    for (const char *name : { "sample.ini", "samples.ini" }) {
        QFile out(dir.filePath(QLatin1String(name)));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[a]\nx=1\n");
    }

    const DisplayRun run = runOnVirtualDisplay(QStringLiteral("1024x768x24"), Script,
        QStringList { QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"),
            QStringLiteral(SALDRIX_SUPPORT_DATA "/lsan.supp"), QStringLiteral(SALDRIX_TEST_DATA "/xwindows.sh") },
        300000, dir.path());
    QVERIFY2(run.finished, "the run did not finish in time");
    const QString output = run.output;
    for (const char *step : { "STEP:started", "STEP:dialog", "STEP:opened", "STEP:asked again", "EXIT:0" })
        QVERIFY2(output.contains(QLatin1String(step)), qPrintable(output));
}

QTEST_GUILESS_MAIN(tst_OpenDialog)
#include "tst_opendialog.moc"
