// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program on a virtual X display: it opens the file named on the command line, shows it
// in its title in the user's language, and ends cleanly when asked to close.
#include "requiredtools.h"
#include "virtualdisplay.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_EndToEnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensTheCommandLineFileAndClosesOnRequest_data();
    void opensTheCommandLineFileAndClosesOnRequest();
};

namespace {

// Starts the program on $2, waits up to 90 seconds for a shown window titled $3 (the window shows
// "Untitled" until the file is read), prints the last title seen, asks the program to close
// (SIGTERM) and prints its exit status. $4 names the leak checker's suppressions for a
// sanitizer build; $5 is put before the file name and $7 after it when they are not empty; $6 is
// the locale (LC_ALL) when not empty. A watchdog kills a program that does not end in time.
const char *const Script = R"SH(
# A client that connects right after xvfb-run has started the server is at times turned away on a
# busy machine: the program starts once the display answers.
until=$(($(date +%s) + 60))
until xwininfo -root >/dev/null 2>&1 || [ "$(date +%s)" -ge $until ]; do sleep 0.05; done
LSAN_OPTIONS="suppressions=$4${LSAN_OPTIONS:+:$LSAN_OPTIONS}" QT_QPA_PLATFORM=xcb env ${6:+LC_ALL=$6} \
    "$1" ${5:+"$5"} "$2" ${7:+"$7"} &
pid=$!
( sleep 120; kill -KILL $pid 2>/dev/null ) &
watchdog=$!
# The title of the program's window once it is mapped (shown on the display).
shown_title() {
    xwininfo -root -tree 2>/dev/null | grep '"[^"]* - YorvSaldrix"' | while read -r id rest; do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
        printf '%s\n' "$rest" | grep -o '"[^"]* - YorvSaldrix"'
        break
    done
}
title=
until=$(($(date +%s) + 90))
while [ "$title" != "\"$3\"" ] && [ "$(date +%s)" -lt $until ];
do
    title=$(shown_title)
    [ "$title" = "\"$3\"" ] || sleep 0.05
done
echo "TITLE:$title"
kill -TERM $pid
wait $pid
echo "EXIT:$?"
kill $watchdog 2>/dev/null
)SH";

} // namespace

void tst_EndToEnd::opensTheCommandLineFileAndClosesOnRequest_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("endOfOptions");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("said"); // all the program prints

    const QString plain = QStringLiteral("end to end.ini");
    QTest::newRow("plain name") << plain << true << QString() << QString() << QString()
                                << plain + QStringLiteral(" - YorvSaldrix") << QString();
    // Qt would take this name as its own option; after "--" it is a file.
    QTest::newRow("Qt option's name after --")
        << QStringLiteral("-reverse") << true << QStringLiteral("--") << QString() << QString()
        << QStringLiteral("-reverse - YorvSaldrix") << QString();
    // Only the first file opens; the second is named on standard error.
    QTest::newRow("second file") << plain << true << QString() << QStringLiteral("second.ini") << QString()
                                 << plain + QStringLiteral(" - YorvSaldrix")
                                 << QStringLiteral(
                                        "yorvsaldrix: second.ini: ignored: only one file is opened at a time\n");
    // A missing file is ignored without a word, and the window speaks the user's language.
    QTest::newRow("missing file, C") << QStringLiteral("missing.ini") << false << QString() << QString()
                                     << QStringLiteral("C") << QStringLiteral("Untitled - YorvSaldrix") << QString();
    QTest::newRow("missing file, German")
        << QStringLiteral("missing.ini") << false << QString() << QString() << QStringLiteral("de_DE.UTF-8")
        << QStringLiteral("Unbenannt - YorvSaldrix") << QString();
}

void tst_EndToEnd::opensTheCommandLineFileAndClosesOnRequest()
{
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QFETCH(QString, endOfOptions);
    QFETCH(QString, second);
    QFETCH(QString, locale);
    QFETCH(QString, title);
    QFETCH(QString, said);
    SALDRIX_REQUIRE_TOOLS(QStringLiteral("xvfb-run"), QStringLiteral("xwininfo"));

    QTemporaryDir dir;
    const QString file = dir.filePath(name);
    const QByteArray content = "[a]\nx=1\n";
    if (exists) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }

    // The program is given the bare name, so that a name starting with "-" reaches it as such.
    // Everything the program prints is compared: Qt's note on a missing runtime folder is not the program's.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    const DisplayRun run = runOnVirtualDisplay(QStringLiteral("1024x768x24"), Script,
        QStringList { QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"), name, title,
            QStringLiteral(SALDRIX_SUPPORT_DATA "/lsan.supp"), endOfOptions, locale, second },
        180000, dir.path(), environment);
    QVERIFY2(run.finished, "the end-to-end run did not finish in time");
    const QString output = run.output;
    QCOMPARE(output, said + QStringLiteral("TITLE:\"%1\"\nEXIT:0\n").arg(title));
    QFile in(file);
    QCOMPARE(in.open(QIODevice::ReadOnly), exists);
    if (exists)
        QCOMPARE(in.readAll(), content);
}

QTEST_GUILESS_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
