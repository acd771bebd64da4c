// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/commands.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

#include <cstdio>

namespace {

// A fixed pseudo-random sequence, so that every run writes the same bytes.
class Letters {
public:
    char next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<char>('a' + (m_state >> 33) % 26);
    }

    // A number below `bound`, from the same sequence.
    int below(int bound)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((m_state >> 33) % quint64(bound));
    }

private:
    quint64 m_state = 0x5A1D81Cu;
};

// Letters of four scripts as UTF-8: Latin beyond ASCII (some of it beyond Latin-1), Greek,
// Cyrillic and CJK. A section's texts are mostly in one of them, with words of the others.
const char *const Scripts[] = {
    "\u00e0\u00e1\u00e2\u00e4\u00e7\u00e8\u00e9\u00ea\u00eb\u00ed\u00ee\u00ef\u00f1\u00f3\u00f4\u00f6\u00fa\u00fb\u00fc"
    "\u00df"
    "\u0142\u0151\u0171\u0159\u0161\u017e\u0107\u0119",
    "\u03b1\u03b2\u03b3\u03b4\u03b5\u03b6\u03b7\u03b8\u03b9\u03ba\u03bb\u03bc\u03bd\u03be\u03bf\u03c0\u03c1\u03c3\u03c4"
    "\u03c5"
    "\u03c6\u03c7\u03c8\u03c9\u0391\u0392\u0393\u0394",
    "\u0430\u0431\u0432\u0433\u0434\u0435\u0436\u0437\u0438\u0439\u043a\u043b\u043c\u043d\u043e\u043f\u0440\u0441\u0442"
    "\u0443"
    "\u0444\u0445\u0446\u0447\u0448\u0449\u044b\u044d\u044e\u044f\u0410\u0411",
    "\u7684\u4e00\u662f\u4e0d\u4e86\u4eba\u6211\u5728\u6709\u4ed6\u8fd9\u4e2d\u5927\u6765\u4e0a\u56fd\u4e2a\u5230\u8bf4"
    "\u4eec"
    "\u4e3a\u5b50\u548c\u4f60\u5730\u51fa\u9053\u4e5f",
};

// One word of `length` letters of a script, as UTF-8.
QByteArray scriptWord(Letters &letters, int script, int length)
{
    static const QList<QList<QByteArray>> alphabets = [] {
        QList<QList<QByteArray>> all;
        for (const char *characters : Scripts) {
            QList<QByteArray> alphabet;
            for (const QChar c : QString::fromUtf8(characters))
                alphabet.append(QString(c).toUtf8());
            all.append(alphabet);
        }
        return all;
    }();
    const QList<QByteArray> &alphabet = alphabets.at(script);
    QByteArray word;
    for (int i = 0; i < length; ++i)
        word += alphabet.at(letters.below(int(alphabet.size())));
    return word;
}

// `scripts`: the texts mix the four scripts above with ASCII, in nearly every section.
bool writeIni(const QString &path, int sections, int options, int valueLength, bool scripts)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    Letters letters;
    QByteArray chunk;
    chunk.reserve(1 << 21);
    for (int s = 1; s <= sections; ++s) {
        if (s > 1)
            chunk += '\n';
        // One section in twenty stays ASCII; the others are mostly in one script, turn about.
        const int script = s % 20 == 0 ? -1 : s % 4;
        chunk += "[section" + QByteArray::number(s).rightJustified(5, '0');
        if (scripts && script >= 0 && s % 3 == 0)
            chunk += ' ' + scriptWord(letters, script, 4);
        chunk += "]\n";
        for (int o = 1; o <= options; ++o) {
            // About 33 bytes a line with the default value length: "option042=00001.042 " + letters.
            const QByteArray id = QByteArray::number(o).rightJustified(3, '0');
            if (scripts && script >= 0 && o % 4 == 0)
                chunk += scriptWord(letters, script, 3) + id;
            else
                chunk += "option" + id;
            chunk += '=' + QByteArray::number(s).rightJustified(5, '0') + '.' + id + ' ';
            if (scripts && script >= 0) {
                // A word of the section's script, an ASCII word, now and then a word of another.
                const int letters1 = valueLength / 4;
                chunk += scriptWord(letters, script, letters1) + ' ';
                for (int i = 0; i < letters1; ++i)
                    chunk += letters.next();
                if (o % 3 == 0)
                    chunk += ' ' + scriptWord(letters, (script + 1 + letters.below(3)) % 4, 2);
            } else {
                for (int i = 0; i < valueLength; ++i)
                    chunk += letters.next();
            }
            chunk += '\n';
            if (chunk.size() >= (1 << 20)) {
                if (file.write(chunk) != chunk.size())
                    return false;
                chunk.resize(0);
            }
        }
    }
    return file.write(chunk) == chunk.size() && file.flush();
}

// Just under 1 GiB, the most the editor reads, of short options: sections of 1,000 lines of 11
// bytes ("o042=01234"), about 97 million options.
bool writeDenseIni(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    constexpr qint64 Limit = (qint64(1) << 30) - (1 << 20);
    QByteArray chunk;
    chunk.reserve(1 << 21);
    qint64 written = 0;
    for (int s = 0;; ++s) {
        // A blank line between sections, as a save writes them.
        chunk += (s > 0 ? "\n[d" : "[d") + QByteArray::number(s).rightJustified(6, '0') + "]\n";
        for (int o = 0; o < 1000; ++o) {
            chunk += 'o' + QByteArray::number(o).rightJustified(3, '0') + '='
                + QByteArray::number((s * 7 + o * 13) % 100000).rightJustified(5, '0') + '\n';
        }
        if (written + chunk.size() > Limit)
            break;
        if (chunk.size() >= (1 << 20)) {
            if (file.write(chunk) != chunk.size())
                return false;
            written += chunk.size();
            chunk.resize(0);
        }
    }
    return file.flush();
}

} // namespace

// Writes the test files of the round-trip benchmark, and those of the export benchmark, into DIR.
int benchGenerate(int argc, char *argv[], const QStringList &args)
{
    if (args.size() == 2 && args.at(0) == QStringLiteral("--dense")) {
        QCoreApplication app(argc, argv);
        if (writeDenseIni(args.at(1)))
            return 0;
        std::fprintf(stderr, "Unable to write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    if (args.size() != 1) {
        std::fputs("usage: saldrix_bench generate DIR | --dense FILE\n", stderr);
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QDir dir(args.at(0));
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "Unable to create %s\n", qPrintable(dir.path()));
        return 1;
    }
    struct Shape {
        const char *name;
        int sections;
        int options;
        int valueLength;
        bool scripts = false;
    };
    const Shape shapes[] = {
        { "roundtrip-1000x100.ini", 1000, 100, 12 },
        { "roundtrip-10000x100.ini", 10000, 100, 12 },
        { "roundtrip-100000x2.ini", 100000, 2, 12 },
        // 10 sections of 100 options, each value 10,000 characters long.
        { "roundtrip-1000-long-values.ini", 10, 100, 10000 - 10 },
        // One section of 100,000 options, for the view's large selections and deletions.
        { "view-1x100000.ini", 1, 100000, 12 },
        // The first three shapes again, with texts in Latin, Greek, Cyrillic and CJK in nearly every
        // section (about the same size).
        { "scripts-1000x100.ini", 1000, 100, 12, true },
        { "scripts-10000x100.ini", 10000, 100, 12, true },
        { "scripts-100000x2.ini", 100000, 2, 12, true },
    };
    for (const Shape &shape : shapes) {
        const QString path = dir.filePath(QString::fromLatin1(shape.name));
        if (!writeIni(path, shape.sections, shape.options, shape.valueLength, shape.scripts)) {
            std::fprintf(stderr, "Unable to write to %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    generateCatalogueFiles(dir.path());
    return 0;
}
