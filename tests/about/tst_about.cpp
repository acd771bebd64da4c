#include "about/saldrixabout.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class tst_About : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void memoryFigureIsWholeKibibytes_data();
    void memoryFigureIsWholeKibibytes();
    void showsTheTotalPhysicalMemory();
    void controlsCarryTheirTextsAndFaces();
    void mailLinkOpensOnClick();
    void enterAndEscapeBothClose_data();
    void enterAndEscapeBothClose();
};

void tst_About::memoryFigureIsWholeKibibytes_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("figure");
    QTest::newRow("256 MiB") << quint64(256) * 1024 * 1024 << "262144 KB";
    QTest::newRow("remainder dropped") << quint64(1024 * 3 + 1023) << "3 KB";
    QTest::newRow("below one KiB") << quint64(1023) << "0 KB";
    QTest::newRow("exactly 4 GiB") << (quint64(4) << 30) << "4194304 KB";
    QTest::newRow("64 GiB") << (quint64(64) << 30) << "67108864 KB";
}

void tst_About::memoryFigureIsWholeKibibytes()
{
    QFETCH(quint64, bytes);
    QFETCH(QString, figure);
    QCOMPARE(memoryFigure(bytes), figure);
}

void tst_About::showsTheTotalPhysicalMemory()
{
    const quint64 total = totalPhysicalMemory();
    QVERIFY(total > 0);
    TfrmAboutDlg dialog;
    QCOMPARE(dialog.lbMemory2->text(), memoryFigure(total));
    QVERIFY(dialog.lbMemory2->text().endsWith(QStringLiteral(" KB")));
    QVERIFY(dialog.lbMemory2->alignment() & Qt::AlignRight);
}

void tst_About::controlsCarryTheirTextsAndFaces()
{
    TfrmAboutDlg dialog;
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About"));
    QCOMPARE(dialog.size(), QSize(321, 246));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    for (const char *name : { "imgProductIcon", "lbProductName1", "lbProductName2", "lbVersion", "lbWebLink",
             "BevelMidt", "lbMemory1", "lbMemory2", "BtnOk" }) {
        QVERIFY2(dialog.findChild<QWidget *>(QString::fromLatin1(name)) != nullptr, name);
    }
    QCOMPARE(dialog.lbProductName1->text(), QStringLiteral("Yorv"));
    QCOMPARE(dialog.lbProductName2->text(), QStringLiteral("Saldrix"));
    QCOMPARE(dialog.lbProductName1->font().pixelSize(), 21);
    QCOMPARE(dialog.lbProductName2->font().pixelSize(), 24);
    QVERIFY(dialog.lbProductName1->font().bold() && dialog.lbProductName2->font().bold());
    QCOMPARE(dialog.lbProductName1->font().styleHint(), QFont::Serif);
    QCOMPARE(dialog.lbProductName2->font().styleHint(), QFont::SansSerif);
    QCOMPARE(dialog.lbVersion->text(), QStringLiteral("Version 1.8"));
    QCOMPARE(dialog.lbMemory1->text(), QStringLiteral("Memory available to Windows:"));
    QCOMPARE(dialog.BtnOk->text(), QStringLiteral("OK"));
    QVERIFY(dialog.BtnOk->isDefault());
    // Every control fits the fixed client area.
    for (const QWidget *child : dialog.findChildren<QWidget *>())
        QVERIFY2(dialog.rect().contains(child->geometry()), qPrintable(child->objectName()));
}

void tst_About::mailLinkOpensOnClick()
{
    QList<QUrl> opened;
    TfrmAboutDlg dialog(nullptr, [&opened](const QUrl &url) { opened.append(url); });
    dialog.show();
    QTest::mouseClick(dialog.lbWebLink, Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(TfrmAboutDlg::mailLink(), "mailto: " + TfrmAboutDlg::MailAddress + "?subject=YorvSaldrix");
    QCOMPARE(opened.at(0).scheme(), QStringLiteral("mailto"));
    QCOMPARE(opened.at(0).query(), QStringLiteral("subject=YorvSaldrix"));
    QCOMPARE(opened.at(0).path().trimmed(), TfrmAboutDlg::MailAddress);
    QTest::mouseClick(dialog.lbVersion, Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
    QVERIFY(dialog.isVisible());
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
