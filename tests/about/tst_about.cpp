// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "about/saldrixabout.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

class tst_About : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void memoryFigureIsWholeKibibytes_data();
    void memoryFigureIsWholeKibibytes();
    void mailLinkOpensOnClick();
    void enterAndEscapeBothClose_data();
    void enterAndEscapeBothClose();
};

void tst_About::memoryFigureIsWholeKibibytes_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("figure");
    QTest::newRow("remainder dropped") << quint64(1024 * 3 + 1023) << "3 KB";
    QTest::newRow("below one KiB") << quint64(1023) << "0 KB";
    QTest::newRow("exactly 4 GiB") << (quint64(4) << 30) << "4194304 KB";
    QTest::newRow("64 GiB") << (quint64(64) << 30) << "67108864 KB";
    QTest::newRow("this machine") << quint64(0) << QString();
}

void tst_About::memoryFigureIsWholeKibibytes()
{
    QFETCH(quint64, bytes);
    QFETCH(QString, figure);
    if (figure.isNull()) { // the dialog shows the machine's total in the same form
        QVERIFY(totalPhysicalMemory() > 0);
        TfrmAboutDlg dialog;
        QCOMPARE(dialog.lbMemory2->text(), memoryFigure(totalPhysicalMemory()));
        QVERIFY(dialog.lbMemory2->text().endsWith(QStringLiteral(" KB")));
        return;
    }
    QCOMPARE(memoryFigure(bytes), figure);
}

void tst_About::mailLinkOpensOnClick()
{
    QList<QUrl> opened;
    TfrmAboutDlg dialog(nullptr, [&opened](const QUrl &url) { opened.append(url); });
    dialog.show();
    QTest::mouseClick(dialog.lbWebLink, Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.at(0).scheme(), QStringLiteral("mailto"));
    QCOMPARE(opened.at(0).query(), QStringLiteral("subject=YorvSaldrix"));
    QCOMPARE(opened.at(0).path().trimmed(), TfrmAboutDlg::MailAddress);
    QTest::mouseClick(dialog.lbVersion, Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
}

void tst_About::enterAndEscapeBothClose_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void tst_About::enterAndEscapeBothClose()
{
    QFETCH(int, key);
    TfrmAboutDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy finished(&dialog, &QDialog::finished);
    QTest::keyClick(&dialog, Qt::Key(key));
    QCOMPARE(finished.size(), 1);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
