// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Every window fits its texts at any font, in every language: nothing is cut and nothing overlaps,
// and at the platform's own font the designed sizes stay as they are where the texts fit them.
#include "about/saldrixabout.h"
#include "document/documenttree.h"
#include "editor/diskchangebar.h"
#include "editor/findbar.h"
#include "editor/saldrixmain.h"
#include "fitcheck.h"
#include "scripteddialogs.h"
#include "settings/settingsstore.h"
#include "translations/translations.h"
#include "wizard/pagemanager.h"
#include "wizard/saldrixwizard.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

#include <memory>

using namespace Qt::StringLiterals;

class tst_Fitting : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QFont m_platformFont;

    // The font the desktop would give every window, at the size of the row (0: the platform's own).
    void useFont(int points)
    {
        QFont font = m_platformFont;
        if (points > 0)
            font.setPointSize(points);
        QApplication::setFont(font);
    }

private Q_SLOTS:
    void initTestCase() { m_platformFont = QApplication::font(); }
    void cleanup();
    void windowsFitTheirTexts_data();
    void aboutBoxFits();
    void aboutBoxFits_data() { windowsFitTheirTexts_data(); }
    void mainWindowFits();
    void wizardFits_data() { windowsFitTheirTexts_data(); }
    void wizardFits();
    void mainWindowFits_data() { windowsFitTheirTexts_data(); }
};

void tst_Fitting::cleanup()
{
    QApplication::setFont(m_platformFont);
    for (QTranslator *translator : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

void tst_Fitting::windowsFitTheirTexts_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("points");
    for (const QString &locale : { u"C"_s, u"de_DE"_s }) {
        for (const int points : { 0, 9, 16, 20 })
            QTest::addRow("%s, %d pt", qPrintable(locale), points) << locale << points;
    }
}

void tst_Fitting::aboutBoxFits()
{
    QFETCH(QString, locale);
    QFETCH(int, points);
    installTranslations(QLocale(locale));
    useFont(points);
    TfrmAboutDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList unfit = unfitWidgets(&dialog);
    QVERIFY2(unfit.isEmpty(), qPrintable(unfit.join(u'\n')));
    QVERIFY(dialog.width() >= 321 && dialog.height() >= 246);
    // At a font the design was made for, the designed size.
    if (points == 0
        && dialog.layout()->totalMinimumSize().boundedTo(QSize(321, 246)) == dialog.layout()->totalMinimumSize())
        QCOMPARE(dialog.size(), QSize(321, 246));
}

void tst_Fitting::mainWindowFits()
{
    QFETCH(QString, locale);
    QFETCH(int, points);
    installTranslations(QLocale(locale));
    useFont(points);
    SettingsStore::setUserFileName(m_dir.filePath(u"config/Yorv/YorvSaldrix.conf"_s));
    ScriptedDialogs dialogs;
    TfrmSaldrixMain window(dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The Modified panel shows its text.
    window.findChild<QAction *>(u"actEditSectionAdd"_s)->trigger();
    const auto *panel = window.findChild<QLabel *>(u"StatusPanel1"_s);
    QVERIFY(!panel->text().isEmpty());
    QVERIFY2(panel->width() >= panel->sizeHint().width(),
        qPrintable(u"%1 px for \"%2\""_s.arg(panel->width()).arg(panel->text())));
    // The designed size, or wider where the status bar's panels need more.
    if (locale == u"C"_s && points == 0)
        QCOMPARE(window.size(), QSize(464, 322));
    QVERIFY(window.width() >= 464 && window.height() == 322);
    // With the find bar and the changed-on-disk bar open.
    window.findChild<QAction *>(u"actEditFind"_s)->trigger();
    window.diskChangeBar()->showChange(false);
    QTRY_VERIFY(window.findBar()->isVisible() && window.diskChangeBar()->isVisible());
    QApplication::processEvents();
    // Each bar has the room its controls need: none is squeezed below its least size.
    for (const QWidget *bar :
        { static_cast<QWidget *>(window.findBar()), static_cast<QWidget *>(window.diskChangeBar()) }) {
        QVERIFY2(bar->layout()->minimumSize().width() <= bar->width()
                && bar->layout()->minimumSize().height() <= bar->height(),
            qPrintable(u"%1: %2 px wide, needs %3"_s.arg(bar->objectName())
                           .arg(bar->width())
                           .arg(bar->layout()->minimumSize().width())));
    }
    const QStringList unfit = unfitWidgets(&window);
    QVERIFY2(unfit.isEmpty(), qPrintable(unfit.join(u'\n')));
}

void tst_Fitting::wizardFits()
{
    QFETCH(QString, locale);
    QFETCH(int, points);
    installTranslations(QLocale(locale));
    useFont(points);
    DocumentTree tree;
    ScriptedDialogs dialogs;
    TfrmSaldrixWizard wizard(tree, dialogs);
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));
    // At the platform's font it keeps the designed height, widened only where a text asks for it.
    if (locale == u"C"_s && points == 0)
        QCOMPARE(wizard.height(), 362);
    QVERIFY(wizard.width() >= 512 && wizard.height() >= 362);
    // It grows no larger than the screen: on a screen too small for it, what lies past the edge
    // is where the screen ends.
    const QSize screen = wizard.screen()->availableSize();
    const bool clipped = wizard.width() == screen.width() || wizard.height() == screen.height();
    for (int page = 0; page < 5; ++page) {
        wizard.findChild<PageManager *>(u"PageManager1"_s)->moveTo(page);
        QStringList unfit = unfitWidgets(&wizard);
        if (clipped)
            unfit.removeIf([](const QString &line) { return line.startsWith(u"past the edge"_s); });
        QVERIFY2(unfit.isEmpty(), qPrintable(u"page %1: "_s.arg(page) + unfit.join(u'\n')));
    }
}

QTEST_MAIN(tst_Fitting)
#include "tst_fitting.moc"
