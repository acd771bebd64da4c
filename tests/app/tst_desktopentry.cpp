// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop entry offers the program for INI files, not for every text file.
#include <QFile>
#include <QMimeDatabase>
#include <QTest>

class tst_DesktopEntry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void claimsNoTypeThatEveryTextFileHas();
};

void tst_DesktopEntry::claimsNoTypeThatEveryTextFileHas()
{
    QFile entry(QStringLiteral(SALDRIX_TEST_DATA "/../../../app/org.example.YorvSaldrix.desktop"));
    QVERIFY2(entry.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(entry.fileName()));
    QStringList types;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith(QLatin1String("MimeType=")))
            types = line.mid(9).split(u';', Qt::SkipEmptyParts);
    }
    QVERIFY(!types.isEmpty());
    const QMimeDatabase mime;
    const QMimeType text = mime.mimeTypeForName(QStringLiteral("text/plain"));
    for (const QString &name : std::as_const(types)) {
        // A plain text file is of text/plain and of every type text/plain inherits.
        QVERIFY2(name != text.name() && !text.inherits(name), qPrintable(name));
    }
}

QTEST_GUILESS_MAIN(tst_DesktopEntry)
#include "tst_desktopentry.moc"
