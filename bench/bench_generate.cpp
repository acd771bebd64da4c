// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/commands.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

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

private:
    quint64 m_state = 0x5A1D81Cu;
};

bool writeIni(const QString &path, int sections, int options, int valueLength)
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
        chunk += "[section" + QByteArray::number(s).rightJustified(5, '0') + "]\n";
        for (int o = 1; o <= options; ++o) {
            // About 33 bytes a line with the default value length: "option042=00001.042 " + letters.
            const QByteArray id = QByteArray::number(o).rightJustified(3, '0');
            chunk += "option" + id + '=' + QByteArray::number(s).rightJustified(5, '0') + '.' + id + ' ';
            for (int i = 0; i < valueLength; ++i)
                chunk += letters.next();
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

} // namespace

// Writes the test files of the round-trip benchmark, and those of the export benchmark, into DIR.
int benchGenerate(int argc, char *argv[], const QStringList &args)
{
    if (args.size() != 1) {
        std::fputs("usage: saldrix_bench generate DIR\n", stderr);
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
    };
    const Shape shapes[] = {
        { "roundtrip-1000x100.ini", 1000, 100, 12 },
        { "roundtrip-10000x100.ini", 10000, 100, 12 },
        { "roundtrip-100000x2.ini", 100000, 2, 12 },
        // 10 sections of 100 options, each value 10,000 characters long.
        { "roundtrip-1000-long-values.ini", 10, 100, 10000 - 10 },
        // One section of 100,000 options, for the view's large selections and deletions.
        { "view-1x100000.ini", 1, 100000, 12 },
    };
    for (const Shape &shape : shapes) {
        const QString path = dir.filePath(QString::fromLatin1(shape.name));
        if (!writeIni(path, shape.sections, shape.options, shape.valueLength)) {
            std::fprintf(stderr, "Unable to write to %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    generateCatalogueFiles(dir.path());
    return 0;
}
