// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program as a screen reader meets it: on a virtual display with a private D-Bus session
// and its accessibility bus, read and driven through AT-SPI (data/atspi-check.py). Names of the
// tree, the find field and every wizard field; the find count, the wrap message and a swap of the
// wizard's order spoken as notifications; a name mark as the focused cell's description.
#include "requiredtools.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_Atspi : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void screenReaderHearsTheProgram();
};

namespace {

// $1 the program, $2 the file, $3 the settings folder, $4 the leak checker's suppressions, $5 the
// shared waits, $6 the checker, $7 the wizard's expected fields. Runs inside dbus-run-session, so
// the session bus and the accessibility bus are this run's own.
const char *const Script = R"sh(
. "$5"
export XDG_CONFIG_HOME="$3"
wait_for_display
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
bus_there() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1
}
if ! wait_until 30 bus_there; then
    echo "NO ACCESSIBILITY BUS"
    exit 1
fi
# What a screen reader does when it starts: it tells the programs that assistive technology listens.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
    string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null
openbox >/dev/null 2>&1 &
wm=$!
wait_for_window_manager
LSAN_OPTIONS="suppressions=$4${LSAN_OPTIONS:+:$LSAN_OPTIONS}" QT_QPA_PLATFORM=xcb "$1" "$2" &
pid=$!
( sleep 200; kill -KILL $pid 2>/dev/null ) &
watchdog=$!
if find_window '^heard.ini - YorvSaldrix$'; then
    activate "$found"
    /usr/bin/python3 "$6" "$found" "$7"
    echo "CHECKS:$?"
fi
kill -TERM $pid
wait $pid
echo "EXIT:$?"
kill $watchdog $wm $bus 2>/dev/null
)sh";

} // namespace

void tst_Atspi::screenReaderHearsTheProgram()
{
    SALDRIX_REQUIRE_TOOLS(QStringLiteral("xvfb-run"), QStringLiteral("openbox"), QStringLiteral("xdotool"),
        QStringLiteral("xprop"), QStringLiteral("dbus-run-session"), QStringLiteral("dbus-send"));
    // The bus itself and the bindings the checker reads it with: without them nothing can be heard,
    // and the test fails instead of passing unheard.
    QVERIFY2(QFile::exists(QStringLiteral("/usr/libexec/at-spi-bus-launcher")), "at-spi2-core is not installed");
    QProcess bindings;
    bindings.start(QStringLiteral("/usr/bin/python3"),
        { QStringLiteral("-c"), QStringLiteral("import gi; gi.require_version('Atspi', '2.0')") });
    QVERIFY2(bindings.waitForFinished() && bindings.exitCode() == 0, "python3-gi or gir1.2-atspi-2.0 is missing");

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("heard.ini"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        // Two values to find; the last row, an option whose name a save would drop, carries a mark.
        out.write("[first]\nkey=value one\n[second]\nother=value two\n[third]\n=no name\n");
    }

    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QStandardPaths::findExecutable(QStringLiteral("xvfb-run")),
        virtualDisplayOptions(QStringLiteral("1280x1024x24"))
            + QStringList { QStringLiteral("dbus-run-session"), QStringLiteral("--"), QStringLiteral("sh"),
                QStringLiteral("-c"), QString::fromLatin1(Script), QStringLiteral("sh"),
                QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"), file, dir.filePath(QStringLiteral("config")),
                QStringLiteral(SALDRIX_SUPPORT_DATA "/lsan.supp"), QStringLiteral(SALDRIX_TEST_DATA "/xwindows.sh"),
                QStringLiteral(SALDRIX_TEST_DATA "/atspi-check.py"),
                QStringLiteral(SALDRIX_TEST_DATA "/atspi-wizard-fields.txt") });
    QVERIFY(run.waitForStarted());
    if (!run.waitForFinished(400000)) {
        run.kill();
        run.waitForFinished();
        QFAIL("the run did not finish in time");
    }
    const QString output = QString::fromLocal8Bit(run.readAll());
    QVERIFY2(!output.contains(QStringLiteral("NO ACCESSIBILITY BUS")), qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("\nDONE")), qPrintable(output));
    QVERIFY2(!output.contains(QStringLiteral("FAIL: ")), qPrintable(output));
    QVERIFY2(output.count(QStringLiteral("PASS: ")) >= 20, qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("CHECKS:0")), qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("EXIT:0")), qPrintable(output));
}

QTEST_GUILESS_MAIN(tst_Atspi)
#include "tst_atspi.moc"
