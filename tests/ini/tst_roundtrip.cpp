// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"
#include "ini/treeio.h"
#include "testfiles.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace testfiles;

namespace {

// Texts built from pieces that the INI rules treat specially: blanks and tabs at the ends, line
// breaks, brackets, comment marks and '=' inside, other scripts, and names that repeat.
class TextMaker {
public:
    explicit TextMaker(quint32 seed)
        : m_random(seed)
    {
    }

    int bounded(int n) { return m_random.bounded(n); }

    QString sectionName() { return pick(8) ? text(SectionPieces) : QString(); }

    QString optionName()
    {
        if (!pick(10))
            return QString();
        // An option name cannot hold '=' nor start with a comment mark or a bracket: the file
        // could not tell it from something else.
        QString name = text(NamePieces);
        while (!name.trimmed().isEmpty() && QStringLiteral(";#[").contains(name.trimmed().front()))
            name.remove(name.indexOf(name.trimmed().front()), 1);
        return name;
    }

    QString value() { return pick(6) ? text(ValuePieces) : QString(); }

private:
    enum Kind { SectionPieces, NamePieces, ValuePieces };

    bool pick(int oneIn) { return m_random.bounded(oneIn) != 0; }

    QString text(Kind kind)
    {
        static const QStringList common { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("Key"),
            QStringLiteral("key"), QStringLiteral(" "), QStringLiteral("\t"), QStringLiteral("\n"),
            QStringLiteral("\r\n"), QStringLiteral("\u00E9"), QStringLiteral("\u4E2D"), QStringLiteral("\U0001F600"),
            QStringLiteral("\""), QStringLiteral("'"), QStringLiteral("]"), QStringLiteral(";"), QStringLiteral("#") };
        static const QStringList extra { QStringLiteral("="), QStringLiteral("["), QStringLiteral("=x=") };
        QString result;
        const int pieces = 1 + m_random.bounded(kind == ValuePieces ? 8 : 3);
        for (int i = 0; i < pieces; ++i) {
            const bool useExtra = kind != NamePieces && m_random.bounded(6) == 0;
            const QStringList &from = useExtra ? extra : common;
            result += from.at(m_random.bounded(int(from.size())));
        }
        return result;
    }

    QRandomGenerator m_random;
};

QString stored(QString text)
{
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text.at(begin) == u' ' || text.at(begin) == u'\t'))
        ++begin;
    while (end > begin && (text.at(end - 1) == u' ' || text.at(end - 1) == u'\t'))
        --end;
    return text.mid(begin, end - begin);
}

// The tree as the saver leaves it in the file: unnamed nodes skipped, sections without named
// options dropped, repeated section names merged at their first place and repeated option names
// merged at their first place with the later value, names and values stored on one line.
Content expectedAfterSave(const Content &tree)
{
    Content result;
    QHash<QString, qsizetype> sectionAt;
    QList<QHash<QString, qsizetype>> optionAt;
    for (const auto &[section, options] : tree) {
        if (section.isEmpty())
            continue;
        for (const auto &[name, value] : options) {
            if (name.isEmpty())
                continue;
            const QString key = stored(section);
            if (!sectionAt.contains(key)) {
                sectionAt.insert(key, result.size());
                result.append({ key, {} });
                optionAt.append(QHash<QString, qsizetype>());
            }
            const qsizetype s = sectionAt.value(key);
            const QString option = stored(name);
            if (optionAt[s].contains(option)) {
                result[s].second[optionAt[s].value(option)].second = stored(value);
            } else {
                optionAt[s].insert(option, result[s].second.size());
                result[s].second.append({ option, stored(value) });
            }
        }
    }
    return result;
}

} // namespace

class tst_RoundTrip : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savedTreeLoadsBackAsTheSaverLeftIt_data();
    void savedTreeLoadsBackAsTheSaverLeftIt();
};

void tst_RoundTrip::savedTreeLoadsBackAsTheSaverLeftIt_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QByteArray>("oldFile");
    const QList<QPair<const char *, QByteArray>> kinds {
        { "new file", QByteArray() },
        { "UTF-8 LF", QByteArray("[old]\nx=1\n") },
        { "UTF-8 CR LF with mark", QByteArray("\xEF\xBB\xBF[old]\r\nx=1\r\n") },
        { "Latin-1", QByteArray("[old]\nx=\xE9\n") },
        { "UTF-16 LE", QByteArray("\xFF\xFE[\0o\0]\0\n\0", 10) },
        { "UTF-16 BE CR LF", QByteArray("\xFE\xFF\0[\0o\0]\0\r\0\n", 12) },
    };
    for (quint32 seed = 1; seed <= 24; ++seed) {
        const auto &kind = kinds.at(seed % kinds.size());
        QTest::addRow("seed %u, %s", seed, kind.first) << seed << kind.second;
    }
}

void tst_RoundTrip::savedTreeLoadsBackAsTheSaverLeftIt()
{
    QFETCH(quint32, seed);
    QFETCH(QByteArray, oldFile);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("round.ini"));
    if (!oldFile.isEmpty())
        writeBytes(file, oldFile);

    TextMaker maker(seed);
    DocumentTree tree;
    const int sections = 1 + maker.bounded(25);
    for (int s = 0; s < sections; ++s) {
        const int section = tree.appendSection(maker.sectionName());
        const int options = maker.bounded(12);
        for (int o = 0; o < options; ++o)
            tree.appendOption(section, maker.optionName(), maker.value());
    }
    const Content before = contentOf(tree);

    SaveTreeToIni(tree, file);
    QCOMPARE(contentOf(tree), before);
    DocumentTree loaded;
    LoadTreeFromIni(loaded, file);
    QCOMPARE(contentOf(loaded), expectedAfterSave(before));

    // Once the saver's rules have been applied, load and save change nothing any more.
    SaveTreeToIni(loaded, file);
    const QByteArray settled = readBytes(file);
    DocumentTree again;
    LoadTreeFromIni(again, file);
    SaveTreeToIni(again, file);
    QCOMPARE(readBytes(file), settled);
}

QTEST_GUILESS_MAIN(tst_RoundTrip)
#include "tst_roundtrip.moc"
