// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The name after the last "/" and the folder before it, as the window's title, the export's
// proposed names and the saves' temporary files take them.
#include "document/pathnames.h"

#include <QTest>

class tst_PathNames : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void partsAroundTheLastSlash_data();
    void partsAroundTheLastSlash();
};

void tst_PathNames::partsAroundTheLastSlash_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");

    QTest::newRow("empty") << QString() << QString() << QStringLiteral(".");
    QTest::newRow("no slash") << QStringLiteral("doc.ini") << QStringLiteral("doc.ini") << QStringLiteral(".");
    QTest::newRow("trailing slash") << QStringLiteral("/home/user/") << QString() << QStringLiteral("/home/user");
    QTest::newRow("in the root") << QStringLiteral("/doc.ini") << QStringLiteral("doc.ini") << QStringLiteral("/");
    QTest::newRow("root alone") << QStringLiteral("/") << QString() << QStringLiteral("/");
    QTest::newRow("relative") << QStringLiteral("sub/doc.ini") << QStringLiteral("doc.ini") << QStringLiteral("sub");
    // A backslash is part of a name here, and the last part keeps its dots and blanks.
    QTest::newRow("backslash and dots") << QStringLiteral("/a b/c\\d.tar.gz ") << QStringLiteral("c\\d.tar.gz ")
                                        << QStringLiteral("/a b");
    QTest::newRow("doubled slash") << QStringLiteral("/a//b") << QStringLiteral("b") << QStringLiteral("/a/");
    QTest::newRow("not ASCII") << QStringLiteral("/Ελληνικά/Ключ/設定.ini") << QStringLiteral("設定.ini")
                               << QStringLiteral("/Ελληνικά/Ключ");
}

void tst_PathNames::partsAroundTheLastSlash()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QCOMPARE(fileNamePart(path), name);
    // The encoded name has the same parts: "/" is one byte in UTF-8 and in no character's tail.
    QCOMPARE(fileNamePart(path.toUtf8()), name.toUtf8());
    QCOMPARE(folderPart(path.toUtf8()), folder.toUtf8());
}

QTEST_GUILESS_MAIN(tst_PathNames)
#include "tst_pathnames.moc"
