// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program on a virtual X display: it opens the file named on the command line, shows it
// in its title, and ends cleanly when asked to close.
#include "requiredtools.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_EndToEnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensTheCommandLineFileAndClosesOnRequest_data();
    void opensTheCommandLineFileAndClosesOnRequest();
};

namespace {

// Starts the program on $2, waits up to ten seconds for a window titled $3 (the window shows
// "Untitled" until the file is read), prints the last title seen, asks the program to close
// (SIGTERM) and prints its exit status. $4 names the leak checker's suppressions for a
// sanitizer build; $5 is put before the file name when it is not empty. A watchdog kills a program that does not end in
// time.
const char *const Script = R"(
LSAN_OPTIONS="suppressions=$4${LSAN_OPTIONS:+:$LSAN_OPTIONS}" QT_QPA_PLATFORM=xcb "$1" ${5:+"$5"} "$2" &
pid=$!
( sleep 20; kill -KILL $pid 2>/dev/null ) &
watchdog=$!
title=
i=0
while [ $i -lt 100 ] && [ "$title" != "\"$3\"" ]; do
    title=$(xwininfo -root -tree 2>/dev/null | grep -o '"[^"]* - YorvSaldrix"' | head -n 1)
    [ "$title" = "\"$3\"" ] || sleep 0.1
    i=$((i + 1))
done
echo "TITLE:$title"
kill -TERM $pid
wait $pid
echo "EXIT:$?"
kill $watchdog 2>/dev/null
)";

} // namespace

void tst_EndToEnd::opensTheCommandLineFileAndClosesOnRequest_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("endOfOptions");
    QTest::newRow("plain name") << QStringLiteral("end to end.ini") << QString();
    // Qt would take this name as its own option; after "--" it is a file.
    QTest::newRow("Qt option's name after --") << QStringLiteral("-reverse") << QStringLiteral("--");
}

void tst_EndToEnd::opensTheCommandLineFileAndClosesOnRequest()
{
    QFETCH(QString, name);
    QFETCH(QString, endOfOptions);
    SALDRIX_REQUIRE_TOOLS(QStringLiteral("xvfb-run"), QStringLiteral("xwininfo"));
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));

    QTemporaryDir dir;
    const QString file = dir.filePath(name);
    const QByteArray content = "[a]\nx=1\n";
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }

    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    // The program is given the bare name, so that a name starting with "-" reaches it as such.
    run.setWorkingDirectory(dir.path());
    run.start(xvfbRun,
        { QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24"), QStringLiteral("sh"),
            QStringLiteral("-c"), QString::fromLatin1(Script), QStringLiteral("sh"),
            QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"), name, name + QStringLiteral(" - YorvSaldrix"),
            QStringLiteral(SALDRIX_TEST_DATA "/lsan.supp"), endOfOptions });
    QVERIFY(run.waitForStarted());
    if (!run.waitForFinished(60000)) {
        run.kill();
        run.waitForFinished();
        QFAIL("the end-to-end run did not finish in time");
    }
    const QString output = QString::fromLocal8Bit(run.readAll());
    QVERIFY2(output.contains(QStringLiteral("TITLE:\"%1 - YorvSaldrix\"").arg(name)), qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("EXIT:0")), qPrintable(output));
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(in.readAll(), content);
}

QTEST_GUILESS_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
