// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "childprogram.h"
#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "ini/treeio.h"
#include "savefaults.h"
#include "testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testfiles;

namespace {

ino_t inodeOf(const QString &fileName)
{
    struct stat info { };
    return ::lstat(QFile::encodeName(fileName).constData(), &info) == 0 ? info.st_ino : 0;
}

// A name of exactly `bytes` bytes in UTF-8, made of `unit` repeated and padded with 'x'.
QString nameOfBytes(const QString &unit, qsizetype bytes)
{
    QString name;
    while (name.toUtf8().size() + unit.toUtf8().size() <= bytes)
        name += unit;
    while (name.toUtf8().size() < bytes)
        name += u'x';
    return name;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

void fillOne(DocumentTree &tree)
{
    tree.appendOption(tree.appendSection(QStringLiteral("a")), QStringLiteral("x"), QStringLiteral("1"));
}

} // namespace

class tst_TemporaryFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void longNamesAreReplacedWhole_data();
    void longNamesAreReplacedWhole();
    void killedSaveLeavesATemporaryTheNextSaveRemoves();
    void onlyTemporariesOfDeadSavesAreRemoved_data();
    void onlyTemporariesOfDeadSavesAreRemoved();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_TemporaryFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void tst_TemporaryFiles::longNamesAreReplacedWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("existing");
    // The temporary name is longer than the file's own: these once passed the longest name a
    // folder takes, so a new file could not be made and an old one was rewritten in place.
    for (const qsizetype bytes : { 240, 248, 249, 250, 254, 255 }) {
        QTest::addRow("%lld bytes, new", qlonglong(bytes)) << nameOfBytes(QStringLiteral("n"), bytes) << false;
        QTest::addRow("%lld bytes, existing", qlonglong(bytes)) << nameOfBytes(QStringLiteral("n"), bytes) << true;
    }
    // Cut between characters: a name may not hold half a character.
    QTest::newRow("Greek, 255 bytes") << nameOfBytes(QStringLiteral("αβγ"), 255) << true;
    QTest::newRow("Cyrillic, 254 bytes") << QString(127, QChar(u'ж')) << true;
    QTest::newRow("CJK, 255 bytes") << QString(85, QChar(u'漢')) << false;
}

void tst_TemporaryFiles::longNamesAreReplacedWhole()
{
    QFETCH(QString, name);
    QFETCH(bool, existing);
    const QString file = m_dir->filePath(name);
    QVERIFY(QFile::encodeName(name).size() <= 255);
    if (existing)
        writeBytes(file, "[old]\nx=1\n");
    const ino_t before = inodeOf(file);
    DocumentTree tree;
    fillOne(tree);
    QCOMPARE(errorOfSave(tree, file), QStringLiteral("<done>"));
    QCOMPARE(readBytes(file), QByteArray("[a]\nx=1\n"));
    // Replaced by a new file, not rewritten in place, and nothing left beside it.
    if (existing)
        QVERIFY(inodeOf(file) != before);
    QCOMPARE(entries(m_dir->path()), QStringList { name });
}

void tst_TemporaryFiles::killedSaveLeavesATemporaryTheNextSaveRemoves()
{
    // A save large enough to be caught part-way, in the real program.
    const QString source = m_dir->filePath(QStringLiteral("source/big.ini"));
    QDir().mkpath(QFileInfo(source).path());
    QByteArray big;
    for (int option = 0; option < 400000; ++option)
        big += "option" + QByteArray::number(option) + "=a value of some length, " + QByteArray::number(option) + '\n';
    writeBytes(source, "[s]\n" + big);
    const QString file = m_dir->filePath(QStringLiteral("doc.ini"));
    writeBytes(file, "[old]\nx=1\n");

    QString left;
    for (int attempt = 0; attempt < 5 && left.isEmpty(); ++attempt) {
        QProcess bench;
        bench.start(benchProgram(), { QStringLiteral("roundtrip"), source, file });
        QVERIFY(bench.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        while (left.isEmpty() && bench.state() == QProcess::Running && waited.elapsed() < 30000) {
            for (const QString &entry : entries(m_dir->path())) {
                if (entry.startsWith(QStringLiteral("doc.ini~")))
                    left = entry;
            }
            if (left.isEmpty())
                ::usleep(500);
        }
        ::kill(pid_t(bench.processId()), SIGKILL);
        bench.waitForFinished();
        if (!QFileInfo::exists(m_dir->filePath(left)))
            left.clear(); // the save got further than the kill: try again
    }
    QVERIFY2(!left.isEmpty(), "no save was caught with its temporary file");
    QCOMPARE(readBytes(file), QByteArray("[old]\nx=1\n"));

    // The next save of the file finds it unlocked, its writer gone, and removes it.
    DocumentTree tree;
    fillOne(tree);
    QCOMPARE(errorOfSave(tree, file), QStringLiteral("<done>"));
    QCOMPARE(entries(m_dir->path()), (QStringList { QStringLiteral("doc.ini"), QStringLiteral("source") }));
}

void tst_TemporaryFiles::onlyTemporariesOfDeadSavesAreRemoved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("removed");
    const QString ours = QStringLiteral("doc.ini~saldrix.Ab3xYz");
    QTest::newRow("left by a killed save") << ours << QStringLiteral("file") << true;
    QTest::newRow("a save still writing it") << ours << QStringLiteral("locked") << false;
    QTest::newRow("another user's") << ours << QStringLiteral("nobody's") << false;
    QTest::newRow("a link of that name") << ours << QStringLiteral("link") << false;
    QTest::newRow("a folder of that name") << ours << QStringLiteral("folder") << false;
    QTest::newRow("a second name of another file") << ours << QStringLiteral("hard link") << false;
    QTest::newRow("another file's") << QStringLiteral("other.ini~saldrix.Ab3xYz") << QStringLiteral("file") << false;
    QTest::newRow("five random letters") << QStringLiteral("doc.ini~saldrix.Ab3xY") << QStringLiteral("file") << false;
    QTest::newRow("seven random letters")
        << QStringLiteral("doc.ini~saldrix.Ab3xYzq") << QStringLiteral("file") << false;
    QTest::newRow("a user's own backup") << QStringLiteral("doc.ini.backup") << QStringLiteral("file") << false;
    QTest::newRow("not a random letter") << QStringLiteral("doc.ini~saldrix.Ab3x-z") << QStringLiteral("file") << false;
}

void tst_TemporaryFiles::onlyTemporariesOfDeadSavesAreRemoved()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, removed);
    const QString path = m_dir->filePath(name);
    const QString file = m_dir->filePath(QStringLiteral("doc.ini"));
    const QString elsewhere = m_dir->filePath(QStringLiteral("elsewhere"));
    writeBytes(file, "[old]\nx=1\n");
    writeBytes(elsewhere, "keep");
    int held = -1;
    if (kind == u"link") {
        QVERIFY(QFile::link(QStringLiteral("elsewhere"), path));
    } else if (kind == u"folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"hard link") {
        QCOMPARE(::link(QFile::encodeName(elsewhere).constData(), QFile::encodeName(path).constData()), 0);
    } else {
        writeBytes(path, "half a save");
        if (kind == u"locked") {
            held = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
            QCOMPARE(::flock(held, LOCK_EX | LOCK_NB), 0);
        } else if (kind == u"nobody's") {
            if (::geteuid() != 0)
                QSKIP("needs root: only root can make another user's file");
            QCOMPARE(::chown(QFile::encodeName(path).constData(), Nobody, Nobody), 0);
        }
    }
    const QStringList before = entries(m_dir->path());

    DocumentTree tree;
    fillOne(tree);
    QCOMPARE(errorOfSave(tree, file), QStringLiteral("<done>"));
    if (held >= 0)
        ::close(held);
    QStringList expected = before;
    if (removed)
        expected.removeOne(name);
    QCOMPARE(entries(m_dir->path()), expected);
    QCOMPARE(readBytes(elsewhere), QByteArray("keep"));
    QCOMPARE(readBytes(file), QByteArray("[a]\nx=1\n"));
}

QTEST_GUILESS_MAIN(tst_TemporaryFiles)
#include "tst_temporaryfiles.moc"
