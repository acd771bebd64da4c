// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Many scripts writing one file at once, as the real program: every write that says it was done is
// in the file, and every other one says why it was not.
#include "testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;
using testfiles::readBytes;
using testfiles::writeBytes;

class tst_ConcurrentWrites : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noWriterLosesAnothersChange_data();
    void noWriterLosesAnothersChange();
};

void tst_ConcurrentWrites::noWriterLosesAnothersChange_data()
{
    QTest::addColumn<int>("writers");
    QTest::addColumn<bool>("sticky"); // the file stands in a sticky folder that all may write to
    QTest::newRow("2 writers") << 2 << false;
    QTest::newRow("50 writers") << 50 << false;
    QTest::newRow("50 writers in a sticky folder") << 50 << true;
}

void tst_ConcurrentWrites::noWriterLosesAnothersChange()
{
    QFETCH(int, writers);
    QFETCH(bool, sticky);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString folder = dir.path();
    if (sticky) {
        folder = dir.filePath(u"tmp"_s);
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 01777) == 0);
    }
    const QString file = folder + u"/shared.ini"_s;
    writeBytes(file, "; kept\n[s]\nfirst=0\n");

    // Half of them set a key of their own, a quarter delete one that stood before, a quarter set
    // keys of a new section: each run's change is one that no other run makes.
    std::vector<std::unique_ptr<QProcess>> runs;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_s);
    QByteArray start = "; kept\n[s]\nfirst=0\n[gone]\n";
    for (int i = 0; i < writers; ++i)
        start += "d" + QByteArray::number(i) + "=x\n";
    writeBytes(file, start);
    for (int i = 0; i < writers; ++i) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        const QString n = QString::number(i);
        QStringList arguments;
        if (i % 4 == 1)
            arguments = { u"--delete"_s, file, u"gone"_s, u"d"_s + n };
        else if (i % 4 == 3)
            arguments = { u"--set"_s, file, u"new"_s, u"n"_s + n, n };
        else
            arguments = { u"--set"_s, file, u"s"_s, u"k"_s + n, n };
        process->start(QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix"), arguments);
        runs.push_back(std::move(process));
    }
    int done = 0;
    QStringList refused;
    for (auto &process : runs) {
        QVERIFY(process->waitForFinished(120000));
        const QByteArray err = process->readAllStandardError();
        if (process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0) {
            ++done;
            continue;
        }
        // A writer that waited too long says so, names the lock and changes nothing.
        QVERIFY2(process->exitCode() == 2 && err.contains(QFile::encodeName(file) + ".lock exists"), err.constData());
        refused << process->arguments().at(3);
    }
    qInfo("%d of %d writers done, %lld refused after waiting", done, writers, qlonglong(refused.size()));
    QVERIFY(done > 0);

    const QByteArray after = readBytes(file);
    QVERIFY2(after.startsWith("; kept\n[s]\nfirst=0\n"), after.constData());
    for (int i = 0; i < writers; ++i) {
        const QByteArray n = QByteArray::number(i);
        const bool wasRefused = refused.contains(QString::fromLatin1((i % 4 == 1 ? "d" : i % 4 == 3 ? "n" : "k") + n));
        const bool present = i % 4 == 1 ? !after.contains("\nd" + n + "=x\n")
            : i % 4 == 3                ? after.contains("\nn" + n + "=" + n + "\n")
                                        : after.contains("\nk" + n + "=" + n + "\n");
        QVERIFY2(
            present != wasRefused, qPrintable(u"change of writer %1 lost: %2"_s.arg(i).arg(QString::fromUtf8(after))));
    }
    // Nothing is left beside the file: no lock, no temporary file.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList { u"shared.ini"_s });
}

QTEST_GUILESS_MAIN(tst_ConcurrentWrites)
#include "tst_concurrentwrites.moc"
