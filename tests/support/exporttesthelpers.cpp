// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exporttesthelpers.h"

#include "document/documenttree.h"

#include <QFile>
#include <QTest>

void fillTree(DocumentTree &tree, const QString &catalogue)
{
    int section = -1;
    for (const QString &line : catalogue.split(u'\n')) {
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = tree.appendSection(line.mid(1, line.size() - 2));
            continue;
        }
        if (line.isEmpty() || section < 0)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        tree.appendOption(section, line.left(eq), eq < 0 ? QString() : line.mid(eq + 1));
    }
}

QString workedExampleCatalogue()
{
    return QStringLiteral("[OptionSettings]\nStartMode=1\nIntroTime=10\n"
                          "[1f3c9a2]\nEntryType=1\nartist=North Wind\ntitle=Low Tide\nnumtracks=2\n"
                          "0=Harbour\n1=Lighthouse\norder=0 1\nnumplay=3\n"
                          "[20c3e72]\nEntryType=1\nartist=Rainfall\ntitle=Signals\ngenre=Ambient\nnumtracks=1\n"
                          "0=Pulse");
}

QByteArray crlfLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

QStringList &eventLog()
{
    static QStringList log;
    return log;
}

void recordBusyCursor(bool busy)
{
    eventLog() << (busy ? QStringLiteral("busy") : QStringLiteral("idle"));
}

void RecordingProgress::BeginProgress(int total)
{
    eventLog() << QStringLiteral("begin %1").arg(total);
    maximum = total;
    position = 0;
    shown = true;
}

void RecordingProgress::StepProgress()
{
    eventLog() << QStringLiteral("step");
    ++position;
}

void RecordingProgress::EndProgress()
{
    eventLog() << QStringLiteral("end");
    shown = false;
}
