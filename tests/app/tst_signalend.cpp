// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program under a window manager on a virtual X display, told to end by a signal: with
// unsaved changes it puts them in the recovery copy and ends without a question, leaving the file
// as it was, and the next start on the file offers them back; without changes it just ends.
#include "requiredtools.h"
#include "virtualdisplay.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_SignalEnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unsavedChangesSurviveTheSignal_data();
    void unsavedChangesSurviveTheSignal();
};

namespace {

// Runs in the folder that holds doc.ini: $1 the program, $2 the suppressions of a sanitizer build,
// $3 the signal, $4 "change" to delete the first section (Alt+Del, Enter) before the signal,
// $5 the state folder, $6 the shared waits. Prints a line per step reached and how long the program
// took to end.
const char *const Script = R"SH(
. "$6"
wait_for_display
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
wait_for_window_manager
export XDG_STATE_HOME="$5" LSAN_OPTIONS="suppressions=$2${LSAN_OPTIONS:+:$LSAN_OPTIONS}" QT_QPA_PLATFORM=xcb
# Sends the signal and waits at most ten seconds for the program to end.
end_with() {
    start=$(date +%s%N)
    kill -"$1" $pid
    i=0
    while kill -0 $pid 2>/dev/null && [ $i -lt 200 ]; do sleep 0.05; i=$((i + 1)); done
    end=$(date +%s%N)
    kill -KILL $pid 2>/dev/null
    wait $pid
    echo "EXIT:$?"
    echo "MS:$(( (end - start) / 1000000 ))"
}
# Answers the question box titled $1 with Enter, once it has the keyboard, and waits until it is gone.
answer() {
    find_window "$1" && activate "$found" && press "$found" Return && wait_gone "$1"
}
"$1" doc.ini &
pid=$!
if find_window '^doc.ini - YorvSaldrix$'; then
    echo "STEP:started"
    main=$found
    if [ "$4" = change ]; then
        # Right after the start the program may take the key in before it has a focused section to
        # delete: the key is pressed again until the question shows.
        for attempt in 1 2 3 4 5; do
            activate "$main" && press "$main" alt+Delete && find_window '^Warning!$' 10 && break
        done
        answer '^Warning!$' && echo "STEP:changed"
    fi
fi
end_with "$3"
if [ "$4" = change ]; then
    # The next start on the file asks first; its default button recovers.
    "$1" doc.ini &
    pid=$!
    if answer '^Information$'; then
        echo "STEP:offered"
        if find_window '^doc.ini - YorvSaldrix$'; then
            echo "STEP:recovered"
        fi
    fi
    end_with TERM
fi
kill $wm 2>/dev/null
)SH";

} // namespace

void tst_SignalEnd::unsavedChangesSurviveTheSignal_data()
{
    QTest::addColumn<QString>("signal");
    QTest::addColumn<bool>("change");
    for (const char *signal : { "TERM", "HUP" })
        QTest::addRow("SIG%s with changes", signal) << QString::fromLatin1(signal) << true;
    QTest::newRow("SIGTERM without changes") << QStringLiteral("TERM") << false;
}

void tst_SignalEnd::unsavedChangesSurviveTheSignal()
{
    QFETCH(QString, signal);
    QFETCH(bool, change);
    SALDRIX_REQUIRE_TOOLS(
        QStringLiteral("xvfb-run"), QStringLiteral("openbox"), QStringLiteral("xdotool"), QStringLiteral("xprop"));
    QTemporaryDir dir;
    const QByteArray content = "[a]\nx=1\n[b]\ny=2\n";
    {
        QFile out(dir.filePath(QStringLiteral("doc.ini")));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    const QString state = dir.filePath(QStringLiteral("state"));

    const DisplayRun run = runOnVirtualDisplay(QStringLiteral("1024x768x24"), Script,
        QStringList { QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"),
            QStringLiteral(SALDRIX_SUPPORT_DATA "/lsan.supp"), signal, change ? QStringLiteral("change") : QString(),
            state, QStringLiteral(SALDRIX_TEST_DATA "/xwindows.sh") },
        300000, dir.path());
    QVERIFY2(run.finished, "the run did not finish in time");
    const QString output = run.output;
    QVERIFY2(output.contains(QLatin1String("STEP:started")), qPrintable(output));
    // It ends on the signal, with no question in the way, and well within the five seconds
    // that a session's end grants it (it takes a few milliseconds).
    const QStringList exits = output.split(u'\n').filter(QStringLiteral("EXIT:"));
    QVERIFY2(!exits.isEmpty() && exits.constFirst() == u"EXIT:0", qPrintable(output));
    const QString ms = output.split(u'\n').filter(QStringLiteral("MS:")).value(0).mid(3);
    QVERIFY2(!ms.isEmpty() && ms.toInt() < 5000, qPrintable(output));
    QFile file(dir.filePath(QStringLiteral("doc.ini")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);

    const QDir copies(state + QStringLiteral("/Yorv/YorvSaldrix/recovery"));
    if (!change) {
        QVERIFY(copies.entryList({ QStringLiteral("*.ini") }, QDir::Files).isEmpty());
        return;
    }
    for (const char *step : { "STEP:changed", "STEP:offered", "STEP:recovered" })
        QVERIFY2(output.contains(QLatin1String(step)), qPrintable(output));
    QCOMPARE(exits.size(), 2);
    QVERIFY2(exits.constLast() == u"EXIT:0", qPrintable(output));
    // The recovered document is modified again, so the second signal kept its copy in turn.
    const QStringList kept = copies.entryList({ QStringLiteral("*.ini") }, QDir::Files);
    QCOMPARE(kept.size(), 1);
    QFile copy(copies.filePath(kept.constFirst()));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("[b]\ny=2\n"));
}

QTEST_GUILESS_MAIN(tst_SignalEnd)
#include "tst_signalend.moc"
