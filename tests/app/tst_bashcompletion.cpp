// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The bash completion, run by bash against the real program: options, file names, then the
// section and option names of the named file, quoted for the shell and never run, whatever they
// hold.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_BashCompletion : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // What completing the last word of `words` offers, one per line, as bash would insert it.
    QStringList complete(const QStringList &words)
    {
        QString array;
        for (const QString &word : words) {
            QString quoted = word;
            quoted.replace(u"'"_s, u"'\\''"_s);
            array += u" '"_s + quoted + u'\'';
        }
        const QString script = u"source '" SALDRIX_SOURCE_DIR "/app/yorvsaldrix.bash-completion'\n"
                               "COMP_WORDS=(%1)\nCOMP_CWORD=%2\n_yorvsaldrix\n"
                               "printf '%s\\n' \"${COMPREPLY[@]}\"\n"_s.arg(array)
                                   .arg(words.size() - 1);
        QProcess bash;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PATH"_s, u"" SALDRIX_BINARY_DIR "/app:"_s + environment.value(u"PATH"_s));
        environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
        environment.remove(u"DISPLAY"_s);
        bash.setProcessEnvironment(environment);
        bash.setWorkingDirectory(m_dir.path());
        bash.start(u"bash"_s, { u"--norc"_s, u"-c"_s, script });
        if (!bash.waitForFinished(30000))
            qFatal("bash did not end");
        QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        offered.sort();
        return offered;
    }

private Q_SLOTS:
    void initTestCase();
    void completesEachOperand_data();
    void completesEachOperand();
};

void tst_BashCompletion::initTestCase()
{
    QFile file(m_dir.filePath(u"app.ini"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[net]\nport=80\nproxy host=x\n[$(touch ran)]\n`touch ran`=1\n[it's]\na=1\n[n\xc3\xa4me]\n");
    file.close();
    QFile(m_dir.filePath(u"other.ini"_s)).open(QIODevice::WriteOnly);
}

void tst_BashCompletion::completesEachOperand_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("offered");
    const QString p = u"yorvsaldrix"_s;
    QTest::newRow("options") << QStringList { p, u"--li"_s } << QStringList { u"--list"_s };
    QTest::newRow("export options after the first word")
        << QStringList { p, u"--export-cd"_s, u"--vo"_s } << QStringList { u"--volume"_s };
    QTest::newRow("no command word after the first")
        << QStringList { p, u"x.ini"_s, u"--ge"_s } << QStringList { u"--genre"_s };
    QTest::newRow("file") << QStringList { p, u"--get"_s, u"ap"_s } << QStringList { u"app.ini"_s };
    QTest::newRow("file after --") << QStringList { p, u"--get"_s, u"--"_s, u"oth"_s }
                                   << QStringList { u"other.ini"_s };
    QTest::newRow("sections, quoted for the shell") << QStringList { p, u"--get"_s, u"app.ini"_s,
        u""_s } << QStringList { u"\\$\\(touch\\ ran\\)"_s, u"it\\'s"_s, u"net"_s, u"n\u00e4me"_s };
    QTest::newRow("sections by what is typed")
        << QStringList { p, u"--set"_s, u"app.ini"_s, u"n"_s } << QStringList { u"net"_s, u"n\u00e4me"_s };
    QTest::newRow("options of the section") << QStringList { p, u"--delete"_s, u"app.ini"_s, u"net"_s, u""_s }
                                            << QStringList { u"port"_s, u"proxy\\ host"_s };
    QTest::newRow("options of a quoted section") << QStringList { p, u"--get"_s, u"app.ini"_s, u"'$(touch ran)'"_s,
        u""_s } << QStringList { u"\\`touch\\ ran\\`"_s };
    QTest::newRow("a quoted typed name") << QStringList { p, u"--get"_s, u"app.ini"_s, u"'it"_s }
                                         << QStringList { u"it\\'s"_s };
    QTest::newRow("--list takes no option name")
        << QStringList { p, u"--list"_s, u"app.ini"_s, u"net"_s, u""_s } << QStringList {};
    QTest::newRow("a file that is not there") << QStringList { p, u"--get"_s, u"none.ini"_s, u""_s } << QStringList {};
}

void tst_BashCompletion::completesEachOperand()
{
    QFETCH(QStringList, words);
    QFETCH(QStringList, offered);
    offered.sort();
    QCOMPARE(complete(words), offered);
    // Nothing the file holds was run.
    QVERIFY(!QFile::exists(m_dir.filePath(u"ran"_s)));
}

QTEST_MAIN(tst_BashCompletion)
#include "tst_bashcompletion.moc"
