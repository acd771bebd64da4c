// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window speaks the user's language, Qt's own texts with it; what goes into files does not.
#include "document/documenttree.h"
#include "editor/saldrixmain.h"
#include "ini/treeio.h"
#include "scripteddialogs.h"
#include "settings/settingsstore.h"
#include "testfiles.h"
#include "translations/translations.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

using namespace Qt::StringLiterals;

class tst_Translations : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    std::unique_ptr<TfrmSaldrixMain> makeWindow(ScriptedDialogs &dialogs)
    {
        SettingsStore::setUserFileName(m_dir.filePath(u"config/Yorv/YorvSaldrix.conf"_s));
        return std::make_unique<TfrmSaldrixMain>(dialogs);
    }

private Q_SLOTS:
    void cleanup();
    void windowTextsFollowTheLocale_data();
    void windowTextsFollowTheLocale();
    void fileContentIsTheSameInEveryLanguage();
};

void tst_Translations::cleanup()
{
    for (QTranslator *translator : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

void tst_Translations::windowTextsFollowTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("texts"); // File menu, Open's hint, caption, first column, Qt's Cancel

    const QStringList german { u"&Datei"_s, u"Öffnet eine vorhandene iNi-Datei."_s, u"Unbenannt - YorvSaldrix"_s,
        u"Abschnittsname / Optionsname"_s, u"Abbrechen"_s };
    const QStringList english { u"&File"_s, u"Opens an existing iNi file."_s, u"Untitled - YorvSaldrix"_s,
        u"Section Name / Option Name"_s, u"Cancel"_s };
    QTest::newRow("de_DE") << u"de_DE"_s << QStringList { u"qtbase_de"_s, u"yorvsaldrix_de"_s } << german;
    // A country without a translation of its own takes its language's.
    QTest::newRow("de_AT") << u"de_AT"_s << QStringList { u"qtbase_de"_s, u"yorvsaldrix_de"_s } << german;
    QTest::newRow("C") << u"C"_s << QStringList() << english;
    // English is the language the texts are written in: nothing is loaded.
    QTest::newRow("en_US") << u"en_US"_s << QStringList() << english;
    // A language the program has no translation for keeps its texts; Qt's own are translated.
    QTest::newRow("Qt's translation only (fr_FR)")
        << u"fr_FR"_s << QStringList { u"qtbase_fr"_s } << english.mid(0, 4) + QStringList { u"Annuler"_s };
}

void tst_Translations::windowTextsFollowTheLocale()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, installed);
    QFETCH(QStringList, texts);
    QCOMPARE(installTranslations(QLocale(locale)), installed);

    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    const QStringList shown { window->findChild<QMenu *>(u"miFile"_s)->title(),
        window->findChild<QAction *>(u"actFileOpen"_s)->statusTip(), window->windowTitle(),
        window->document()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
        buttons.button(QDialogButtonBox::Cancel)->text() };
    QCOMPARE(shown, texts);
    QVERIFY(dialogs.settled());
}

void tst_Translations::fileContentIsTheSameInEveryLanguage()
{
    QCOMPARE(installTranslations(QLocale(u"de_DE"_s)).size(), 2);
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->findChild<QAction *>(u"actEditSectionAdd"_s)->trigger();
    window->findChild<QAction *>(u"actEditOptionAdd"_s)->trigger();
    const QString saved = m_dir.filePath(u"new.ini"_s);
    SaveTreeToIni(*window->document(), saved);
    // A new node's name is the document's, not the window's: the file reads the same for everyone.
    QCOMPARE(testfiles::readBytes(saved), QByteArray("[New Section #1]\nNew option #1=\n"));
    QVERIFY(dialogs.settled());
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
