// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"
#include "ini/initext.h"
#include "ini/plainsaveloss.h"
#include "ini/treeio.h"
#include "testfiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace testfiles;

namespace {

const char *const StyleFiles[] = { "php.ini", "smb.conf", "my.cnf", "backup.service", "gitconfig", "editor.desktop",
    "windows.ini", "utf16.ini", "latin1.ini" };

QString styleFile(const char *name)
{
    return QStringLiteral(SALDRIX_TEST_DATA "/styles/") + QLatin1StringView(name);
}

int sectionNamed(const DocumentTree &tree, const QString &name)
{
    for (int s = 0; s < tree.sectionCount(); ++s) {
        if (tree.sectionText(s, DocumentTree::NameColumn) == name)
            return s;
    }
    return -1;
}

int optionNamed(const DocumentTree &tree, int section, const QString &name)
{
    for (int o = 0; o < tree.optionCount(section); ++o) {
        if (tree.optionText(section, o, DocumentTree::NameColumn) == name)
            return o;
    }
    return -1;
}

// Applies one edit written as "verb|section|...", the way the window's commands change the tree.
void applyEdit(DocumentTree &tree, const QString &edit)
{
    const QStringList w = edit.split(u'|');
    const int s = w.size() > 1 ? sectionNamed(tree, w[1]) : -1;
    QVERIFY2(w[0].startsWith(u"add-section") || s >= 0, qPrintable(edit));
    const int o = w.size() > 2 && s >= 0 ? optionNamed(tree, s, w[2]) : -1;
    const QString &verb = w[0];
    if (verb == u"value") {
        tree.setOptionText(s, o, DocumentTree::ValueColumn, w[3]);
    } else if (verb == u"rename") {
        tree.setOptionText(s, o, DocumentTree::NameColumn, w[3]);
    } else if (verb == u"rename-section") {
        tree.setSectionText(s, DocumentTree::NameColumn, w[2]);
    } else if (verb == u"delete") {
        tree.removeNodes({ tree.optionIndex(s, o) });
    } else if (verb == u"delete-section") {
        tree.removeNodes({ tree.sectionIndex(s) });
    } else if (verb == u"add") {
        tree.appendOption(s, w[2], w[3]);
    } else if (verb == u"add-section") {
        const int added = tree.appendSection(w[1]);
        for (int i = 2; i + 1 < w.size(); i += 2)
            tree.appendOption(added, w[i], w[i + 1]);
    } else if (verb == u"move") { // move|section|option|to section|to row
        tree.moveOption(s, o, sectionNamed(tree, w[3]), w[4].toInt());
    } else if (verb == u"move-section") {
        tree.moveSection(s, w[2].toInt());
    } else {
        QFAIL(qPrintable(edit));
    }
}

} // namespace

class tst_LayoutSave : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void withoutAnEditEveryByteStays_data();
    void withoutAnEditEveryByteStays();
    void eachEditChangesOnlyItsLines_data();
    void eachEditChangesOnlyItsLines();
    void editsUndoneGiveTheFileAsItWasOpened_data();
    void editsUndoneGiveTheFileAsItWasOpened();
    void latin1FileTakesATextBeyondItAsUtf8();
    void randomEditsKeepEveryUntouchedLine();
    void plainSaveLossCountsWhatThePlainSaveTakesOut_data();
    void plainSaveLossCountsWhatThePlainSaveTakesOut();

private:
    [[nodiscard]] QByteArray saveAfter(const QByteArray &bytes, const QStringList &edits);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void tst_LayoutSave::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_file = m_dir->filePath(QStringLiteral("doc.ini"));
}

QByteArray tst_LayoutSave::saveAfter(const QByteArray &bytes, const QStringList &edits)
{
    writeBytes(m_file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    for (const QString &edit : edits)
        applyEdit(tree, edit);
    const QString out = m_dir->filePath(QStringLiteral("out.ini"));
    saveTreeKeepingLayout(tree, out);
    // What the window showed is what loads back.
    DocumentTree reloaded;
    LoadTreeFromIni(reloaded, out);
    if (contentOf(reloaded) != contentOf(tree)) {
        qWarning() << contentOf(tree) << "\nloaded back as\n" << contentOf(reloaded);
        return "(does not load back as the tree)";
    }
    return readBytes(out);
}

void tst_LayoutSave::withoutAnEditEveryByteStays_data()
{
    QTest::addColumn<QByteArray>("bytes");
    for (const char *name : StyleFiles)
        QTest::newRow(name) << readBytes(styleFile(name));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no line end at the end") << QByteArray("[a]\nx = 1");
    QTest::newRow("CR line ends, options before any section") << QByteArray("x=1\r[a]\ry=2\r\r");
    QTest::newRow("section standing twice, repeated names") << QByteArray("[a]\nx=1\n[b]\ny=2\n[a]\nx=3\nz=4\n");
    QTest::newRow("empty header and section without options") << QByteArray("[]\nq=1\n[e]\n; nothing\n");
    QTest::newRow("header without ']' and an empty name, alone and repeated")
        << QByteArray("[\nx=1\n[a]\ny=2\n[\n]\n[  ]\nz=3\n");
    QTest::newRow("unread lines") << QByteArray("junk\n[a]\njunk too\nx=1\n  more\n");
    QTest::newRow("UTF-16 with an odd last byte") << QByteArray("\xff\xfe[\0a\0]\0\n\0x\0=\0\x31\0\n", 17);
}

void tst_LayoutSave::withoutAnEditEveryByteStays()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(saveAfter(bytes, {}), bytes);
}

void tst_LayoutSave::eachEditChangesOnlyItsLines_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QByteArray>("before"); // the part of the file that changes
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("value") << "php.ini" << QStringList { "value|PHP|memory_limit|256M" }
                           << QByteArray("memory_limit = 128M\n") << QByteArray("memory_limit = 256M\n");
    QTest::newRow("value to empty") << "php.ini" << QStringList { "value|PHP|display_errors|" }
                                    << QByteArray("display_errors = Off\n") << QByteArray("display_errors = \n");
    QTest::newRow("value of an option continued on the next line")
        << "backup.service" << QStringList { "value|Service|ExecStart|/usr/bin/true \\" }
        << QByteArray("ExecStart=/usr/bin/rsync -a --delete \\\n") << QByteArray("ExecStart=/usr/bin/true \\\n");
    QTest::newRow("value with a tab before the name")
        << "gitconfig" << QStringList { "value|core|bare|true" } << QByteArray("\tbare = false\n")
        << QByteArray("\tbare = true\n");
    QTest::newRow("value in CR LF with a mark")
        << "windows.ini" << QStringList { "value|Settings|WindowWidth|1024" } << QByteArray("WindowWidth = 800\r\n")
        << QByteArray("WindowWidth = 1024\r\n");
    QTest::newRow("renamed option") << "my.cnf" << QStringList { "rename|mysqld|user|owner" }
                                    << QByteArray("user\t\t= mysql\n") << QByteArray("owner\t\t= mysql\n");
    QTest::newRow("renamed section, where it stands once") << "smb.conf" << QStringList { "rename-section|homes|home" }
                                                           << QByteArray("[homes]\n") << QByteArray("[home]\n");
    QTest::newRow("deleted option takes its comments")
        << "php.ini" << QStringList { "delete|PHP|memory_limit" }
        << QByteArray(
               "; Maximum amount of memory a script may consume\n; http://example.org/memory-limit\nmemory_limit = "
               "128M\n")
        << QByteArray();
    QTest::newRow("deleted option takes its continuation")
        << "backup.service" << QStringList { "delete|Service|ExecStart" }
        << QByteArray("# The trailing backslash continues the command on the next line.\nExecStart=/usr/bin/rsync -a "
                      "--delete \\\n    /srv/ /backup/srv/\n")
        << QByteArray();
    QTest::newRow("deleted option takes its repeated lines, each with its comments")
        << "php.ini" << QStringList { "delete|PHP|extension" }
        << QByteArray("\n;;;;;;;;;;;;;;;;;;;;;;\n; Dynamic Extensions "
                      ";\n;;;;;;;;;;;;;;;;;;;;;;\n;extension=bz2\nextension=curl\n"
                      ";extension=ffi\nextension=mbstring\nextension=openssl\nextension=mbstring\nextension=openssl\n")
        << QByteArray("\n");
    QTest::newRow("renamed option renames its repeated lines")
        << "php.ini" << QStringList { "rename|PHP|extension|zend_extension" }
        << QByteArray("extension=curl\n;extension=ffi\nextension=mbstring\nextension=openssl\nextension=mbstring\n"
                      "extension=openssl\n")
        << QByteArray("zend_extension=curl\n;extension=ffi\nzend_extension=mbstring\nzend_extension=openssl\n"
                      "zend_extension=mbstring\nzend_extension=openssl\n");
    QTest::newRow("deleted section, up to its last option")
        << "php.ini" << QStringList { "delete-section|Session" }
        << QByteArray("[Session]\n; Handler used to store/retrieve data.\nsession.save_handler = files\n"
                      "session.use_strict_mode = 0\n\n")
        << QByteArray("\n");
    QTest::newRow("added option, after the last one, with the file's spacing")
        << "smb.conf" << QStringList { "add|homes|guest ok|no" } << QByteArray("   read only = yes\n")
        << QByteArray("   read only = yes\n   guest ok = no\n");
    QTest::newRow("added option in a file without spaces around =")
        << "editor.desktop" << QStringList { "add|Desktop Entry|StartupNotify|true" }
        << QByteArray("MimeType=text/plain;\n") << QByteArray("MimeType=text/plain;\nStartupNotify=true\n");
    QTest::newRow("added section at the end")
        << "backup.service" << QStringList { "add-section|Timer|OnCalendar|daily" }
        << QByteArray("WantedBy=multi-user.target\n")
        << QByteArray("WantedBy=multi-user.target\n\n[Timer]\nOnCalendar=daily\n");
    QTest::newRow("moved option carries its comment")
        << "php.ini" << QStringList { "move|PHP|max_execution_time|Session|0" }
        << QByteArray("max_execution_time = 30\ndisplay_errors = Off\n\n;;;;;;;;;;;;;;;;;;;;;;\n; Dynamic Extensions "
                      ";\n;;;;;;;;;;;;;;;;;;;;;;\n;extension=bz2\nextension=curl\n;extension=ffi\nextension=mbstring\n"
                      "extension=openssl\nextension=mbstring\nextension=openssl\n\n[Session]\n; Handler used to "
                      "store/retrieve data.\n")
        << QByteArray(
               "display_errors = Off\n\n;;;;;;;;;;;;;;;;;;;;;;\n; Dynamic Extensions "
               ";\n;;;;;;;;;;;;;;;;;;;;;;\n;extension=bz2\nextension=curl\n;extension=ffi\nextension=mbstring\n"
               "extension=openssl\nextension=mbstring\nextension=openssl\n\n[Session]\nmax_execution_time = 30\n; "
               "Handler used to store/retrieve data.\n");
    QTest::newRow("moved section carries its comments")
        << "windows.ini" << QStringList { "move-section|Recent|0" }
        << QByteArray("; Settings of a Windows program\r\n[Settings]\r\nLanguage=English\r\nWindowWidth = 800\r\n\r\n; "
                      "Recently used\r\n[Recent]\r\nFile1=C:\\Users\\Anna\\report.txt\r\nFile2=C:\\Users\\Anna\\budget."
                      "xls\r\n")
        << QByteArray(
               "; Recently used\r\n[Recent]\r\nFile1=C:\\Users\\Anna\\report.txt\r\nFile2=C:\\Users\\Anna\\budget."
               "xls\r\n; Settings of a Windows program\r\n[Settings]\r\nLanguage=English\r\nWindowWidth = "
               "800\r\n\r\n");
}

void tst_LayoutSave::eachEditChangesOnlyItsLines()
{
    QFETCH(QString, file);
    QFETCH(QStringList, edits);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QByteArray original = readBytes(styleFile(file.toUtf8().constData()));
    QCOMPARE(original.count(before), 1);
    QByteArray expected = original;
    expected.replace(before, after);
    QCOMPARE(saveAfter(original, edits), expected);
}

void tst_LayoutSave::editsUndoneGiveTheFileAsItWasOpened_data()
{
    QTest::addColumn<QString>("file");
    for (const char *name : StyleFiles)
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_LayoutSave::editsUndoneGiveTheFileAsItWasOpened()
{
    QFETCH(QString, file);
    const QByteArray original = readBytes(styleFile(file.toUtf8().constData()));
    writeBytes(m_file, original);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    QVERIFY(tree.sectionCount() >= 2);
    QVERIFY(tree.optionCount(0) >= 1);
    // Each edit and its undo, as the window's undo takes it back.
    const QString name = tree.optionText(0, 0, DocumentTree::NameColumn);
    const QString value = tree.optionText(0, 0, DocumentTree::ValueColumn);
    tree.setOptionText(0, 0, DocumentTree::ValueColumn, QStringLiteral("changed ä"));
    tree.setOptionText(0, 0, DocumentTree::NameColumn, QStringLiteral("renamed"));
    const QString section = tree.sectionText(1, DocumentTree::NameColumn);
    tree.setSectionText(1, DocumentTree::NameColumn, QStringLiteral("other"));
    QVERIFY(tree.moveOption(0, 0, 1, 0));
    QVERIFY(tree.moveSection(1, 0));
    DocumentNodes taken = tree.takeNodes({ tree.sectionIndex(1), tree.optionIndex(0, 0) });
    const int added = tree.appendSection(QStringLiteral("new"));
    tree.appendOption(added, QStringLiteral("k"), QStringLiteral("v"));
    saveTreeKeepingLayout(tree, m_dir->filePath(QStringLiteral("between.ini")));

    tree.removeNodes({ tree.sectionIndex(added) });
    tree.putBack(std::move(taken));
    QVERIFY(tree.moveSection(0, 2));
    QVERIFY(tree.moveOption(1, 0, 0, 0));
    tree.setSectionText(1, DocumentTree::NameColumn, section);
    tree.setOptionText(0, 0, DocumentTree::NameColumn, name);
    tree.setOptionText(0, 0, DocumentTree::ValueColumn, value);
    saveTreeKeepingLayout(tree, m_file);
    QCOMPARE(readBytes(m_file), original);
}

void tst_LayoutSave::latin1FileTakesATextBeyondItAsUtf8()
{
    const QByteArray original = readBytes(styleFile("latin1.ini"));
    const QByteArray saved = saveAfter(original, { "value|Café|prix|2 €" });
    QCOMPARE(saved, QString::fromLatin1(original).replace(u"prix = 2"_qs, u"prix = 2 €"_qs).toUtf8());
}

namespace {

// A file as the test writes it: each line with the node it belongs to, known from how it was made,
// not from reading it.
struct Line {
    QByteArray text; // with its line end
    int section = -1; // the section whose region holds it (-1: before the first)
    QString option; // the option whose own line it is (its comment, line, continuation or repeat)
    bool header = false;
    bool repeat = false; // a later line of an option's name, which the tree does not show
};

struct RandomFile {
    std::vector<Line> lines;
    QByteArray bytes() const
    {
        QByteArray all;
        for (const Line &line : lines)
            all += line.text;
        return all;
    }
};

RandomFile randomFile(QRandomGenerator &random)
{
    RandomFile file;
    const QByteArray eol = random.bounded(3) == 0 ? "\r\n" : "\n";
    int nextName = 0;
    const auto add = [&](QByteArray text, int section, const QString &option = {}, bool header = false) {
        file.lines.push_back({ text + eol, section, option, header, false });
    };
    if (random.bounded(2)) { // apart from the first section: comments right above a header are its own
        add("; about this file", -1);
        add("", -1);
    }
    const int sections = 1 + int(random.bounded(5));
    for (int s = 0; s < sections; ++s) {
        if (random.bounded(2))
            add("# section s" + QByteArray::number(s), s);
        add("[s" + QByteArray::number(s) + "]", s, {}, true);
        QStringList names;
        const int options = int(random.bounded(6));
        for (int o = 0; o < options; ++o) {
            if (random.bounded(4) == 0)
                add("", s);
            if (random.bounded(4) == 0) {
                add("; a note", s);
                add("", s);
            }
            const QString name = u"o%1"_qs.arg(nextName++);
            if (random.bounded(3) == 0)
                add("; about " + name.toUtf8(), s, name);
            const char *const spacing[] = { "=", " = ", "\t= ", "  =  " };
            add(name.toUtf8() + spacing[random.bounded(4)] + QByteArray::number(random.bounded(100)), s, name);
            if (random.bounded(5) == 0)
                add("    continued", s, name);
            names.append(name);
            if (random.bounded(6) == 0) {
                const QString repeated = names[int(random.bounded(names.size()))];
                add(repeated.toUtf8() + "=repeat", s, repeated);
                file.lines.back().repeat = true;
            }
        }
        if (random.bounded(3) == 0)
            add("", s);
    }
    return file;
}

} // namespace

// Random edits of random files, checked against what the test knows of each line: every line of a
// node that no edit touched is written again, and those of options in order; the file loads back
// as the tree; and the edits taken back in reverse give the file's own bytes.
void tst_LayoutSave::randomEditsKeepEveryUntouchedLine()
{
    QRandomGenerator random(31);
    for (int round = 0; round < 300; ++round) {
        const RandomFile file = randomFile(random);
        const QByteArray original = file.bytes();
        writeBytes(m_file, original);
        DocumentTree tree;
        LoadTreeFromIni(tree, m_file);
        QSet<QString> touched; // options whose lines may change
        QSet<QString> sectionsTouched;
        int nextName = 1000;
        const int edits = 1 + int(random.bounded(6));
        for (int e = 0; e < edits && tree.sectionCount() > 0; ++e) {
            const int s = int(random.bounded(tree.sectionCount()));
            const QString sectionName = tree.sectionText(s, 0);
            const int count = tree.optionCount(s);
            const int o = count > 0 ? int(random.bounded(count)) : -1;
            const QString optionName = o >= 0 ? tree.optionText(s, o, 0) : QString();
            switch (random.bounded(8)) {
            case 0:
                if (o < 0)
                    break;
                touched.insert(optionName);
                tree.setOptionText(s, o, 1, u"v%1"_qs.arg(random.bounded(1000)));
                break;
            case 1:
                if (o < 0)
                    break;
                touched.insert(optionName);
                tree.setOptionText(s, o, 0, u"o%1"_qs.arg(nextName++));
                break;
            case 2: {
                if (o < 0)
                    break;
                touched.insert(optionName);
                tree.removeNodes({ tree.optionIndex(s, o) });
                break;
            }
            case 3:
                tree.appendOption(s, u"o%1"_qs.arg(nextName++), QStringLiteral("new"));
                break;
            case 4: {
                if (o < 0)
                    break;
                const int to = int(random.bounded(tree.sectionCount()));
                const int row = int(random.bounded(tree.optionCount(to) + 1));
                if (tree.moveOption(s, o, to, row))
                    touched.insert(optionName);
                break;
            }
            case 5:
                sectionsTouched.insert(sectionName);
                tree.removeNodes({ tree.sectionIndex(s) });
                break;
            case 6: {
                const int to = int(random.bounded(tree.sectionCount() + 1));
                if (tree.moveSection(s, to))
                    sectionsTouched.insert(sectionName);
                break;
            }
            case 7: {
                const int added = tree.appendSection(u"n%1"_qs.arg(nextName++));
                tree.appendOption(added, u"o%1"_qs.arg(nextName++), QStringLiteral("x"));
                break;
            }
            }
        }
        const QString out = m_dir->filePath(QStringLiteral("out.ini"));
        saveTreeKeepingLayout(tree, out);
        const QByteArray saved = readBytes(out);
        DocumentTree reloaded;
        LoadTreeFromIni(reloaded, out);
        QVERIFY2(contentOf(reloaded) == contentOf(tree),
            qPrintable(
                u"round %1:\n%2\n---\n%3"_qs.arg(round).arg(QString::fromUtf8(original), QString::fromUtf8(saved))));

        // Untouched lines: those of options that no edit touched, in sections that stayed, in order;
        // the lines that repeat a name may go along with the option they repeat.
        QList<QByteArray> savedLines;
        for (qsizetype at = 0; at < saved.size();) {
            qsizetype end = saved.indexOf('\n', at);
            end = end < 0 ? saved.size() : end + 1;
            savedLines.append(saved.mid(at, end - at));
            at = end;
        }
        qsizetype next = 0;
        for (const Line &line : file.lines) {
            const QString section = line.section >= 0 ? u"s%1"_qs.arg(line.section) : QString();
            if (line.option.isEmpty() || touched.contains(line.option) || sectionsTouched.contains(section))
                continue;
            if (line.repeat) {
                QVERIFY2(savedLines.contains(line.text), qPrintable(u"round %1"_qs.arg(round)));
                continue;
            }
            while (next < savedLines.size() && savedLines[next] != line.text)
                ++next;
            QVERIFY2(next < savedLines.size(),
                qPrintable(u"round %1, line %2 lost or out of order:\n%3\n---\n%4"_qs.arg(round).arg(
                    QString::fromUtf8(line.text), QString::fromUtf8(original), QString::fromUtf8(saved))));
            ++next;
        }
        for (const Line &line : file.lines) {
            if (line.section < 0) // before the first section, nothing moves
                QVERIFY2(savedLines.contains(line.text),
                    qPrintable(u"round %1:\n%2\n---\n%3"_qs.arg(round).arg(
                        QString::fromUtf8(original), QString::fromUtf8(saved))));
        }
    }
}

void tst_LayoutSave::plainSaveLossCountsWhatThePlainSaveTakesOut_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // comment, blank, repeated, other, without options, respaced
    QTest::addColumn<QList<int>>("counts");
    const QList<int> none { 0, 0, 0, 0, 0, 0 };
    QTest::newRow("as the plain save writes it") << QByteArray("[a]\nx=1\ny=\n\n[b]\nz=2\n") << none;
    QTest::newRow("the same in CR LF with a mark")
        << QByteArray("\xef\xbb\xbf[a]\r\nx=1\r\n\r\n[b]\r\nz=2\r\n") << none;
    QTest::newRow("sections not kept apart") << QByteArray("[a]\nx=1\n[b]\nz=2\n") << none;
    QTest::newRow("php.ini") << readBytes(styleFile("php.ini")) << QList<int> { 16, 5, 4, 0, 0, 6 };
    QTest::newRow("backup.service") << readBytes(styleFile("backup.service")) << QList<int> { 1, 0, 0, 1, 0, 0 };
    QTest::newRow("gitconfig") << readBytes(styleFile("gitconfig")) << QList<int> { 1, 0, 0, 0, 0, 10 };
    QTest::newRow("my.cnf") << readBytes(styleFile("my.cnf")) << QList<int> { 5, 2, 0, 4, 0, 7 };
    QTest::newRow("section standing twice, without options, unnamed")
        << QByteArray("[a]\nx=1\n[e]\n[a]\nx=2\n[]\nq=1\n") << QList<int> { 0, 0, 1, 1, 1, 0 };
}

// What the bar counts is what a plain save takes out: a file it counts nothing in is written back
// as it stands, and a file it counts something in is not.
void tst_LayoutSave::plainSaveLossCountsWhatThePlainSaveTakesOut()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, counts);
    writeBytes(m_file, bytes);
    DocumentTree tree;
    LoadTreeFromIni(tree, m_file);
    const PlainSaveLoss loss = PlainSaveLoss::of(*layoutTextOf(tree), tree);
    QCOMPARE((QList<int> { int(loss.commentLines), int(loss.blankLines), int(loss.repeatedOptions),
                 int(loss.otherLines), int(loss.emptySections), int(loss.respacedLines) }),
        counts);
    const QString out = m_dir->filePath(QStringLiteral("plain.ini"));
    SaveTreeToIni(tree, out);
    const bool sectionsApart = QTest::currentDataTag() == QByteArrayView("sections not kept apart");
    QCOMPARE(readBytes(out) != bytes, loss.any() || sectionsApart);
}

QTEST_GUILESS_MAIN(tst_LayoutSave)
#include "tst_layoutsave.moc"
