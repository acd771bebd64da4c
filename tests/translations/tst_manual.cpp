// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The user manual in each language names every command of the window's menus and every key the
// window answers, and nothing that is not there; Help, Contents and F1 open it.
#include "about/manualopener.h"
#include "document/documenttree.h"
#include "editor/findbar.h"
#include "editor/saldrixmain.h"
#include "ini/treeio.h"
#include "scripteddialogs.h"
#include "settings/settingsstore.h"
#include "translations/translations.h"
#include "treeview/treelist.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTranslator>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString BuildManual = QStringLiteral(SALDRIX_BINARY_DIR "/app/manual");

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

QString plain(QString html)
{
    html.remove(QRegularExpression(u"<[^>]*>"_s));
    html.replace(u"&amp;"_s, u"&"_s).replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s);
    return html.simplified();
}

QStringList matches(const QString &html, const QString &pattern)
{
    QStringList found;
    auto it = QRegularExpression(pattern).globalMatch(html);
    while (it.hasNext())
        found << plain(it.next().captured(1));
    return found;
}

// The key names of the German page, as the German keyboard labels them, in Qt's portable names.
QString portableKey(QString key)
{
    static const QList<std::pair<QString, QString>> german { { u"Strg"_s, u"Ctrl"_s }, { u"Umschalt"_s, u"Shift"_s },
        { u"Einfg"_s, u"Ins"_s }, { u"Entf"_s, u"Del"_s }, { u"Pos1"_s, u"Home"_s }, { u"Ende"_s, u"End"_s },
        { u"Bild auf"_s, u"PgUp"_s }, { u"Bild ab"_s, u"PgDown"_s }, { u"Eingabe"_s, u"Enter"_s },
        { u"Auf"_s, u"Up"_s }, { u"Ab"_s, u"Down"_s }, { u"Links"_s, u"Left"_s }, { u"Rechts"_s, u"Right"_s } };
    const QStringList parts = key.split(u'+');
    QStringList portable;
    for (const QString &part : parts) {
        QString name = part;
        for (const auto &[label, qt] : german)
            if (name == label)
                name = qt;
        portable << name;
    }
    return portable.join(u'+');
}

// The commands of a menu and its submenus, as the items show them without their mnemonics.
void collectCommands(const QMenu *menu, QStringList &commands)
{
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        commands << action->text().remove(u'&');
        if (action->menu() != nullptr && action->menu()->objectName() != u"miFileReopen"_s)
            collectCommands(action->menu(), commands);
    }
}

// Whether the widget, or one of the widgets above it, takes the key.
bool takesKey(QWidget *widget, const QKeySequence &key)
{
    const QKeyCombination combination = key[0];
    QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
    QApplication::sendEvent(widget, &press);
    return press.isAccepted();
}

} // namespace

class tst_Manual : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    std::unique_ptr<TfrmSaldrixMain> makeWindow(ScriptedDialogs &dialogs)
    {
        SettingsStore::setUserFileName(m_dir.filePath(u"config/Yorv/YorvSaldrix.conf"_s));
        auto window = std::make_unique<TfrmSaldrixMain>(dialogs);
        window->setManualFolder(BuildManual);
        return window;
    }

    // A program standing in for xdg-open: it keeps the URL it was given and ends with the status.
    QString browser(int status)
    {
        const QString path = m_dir.filePath(u"browser-%1"_s.arg(status));
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        script.write(u"#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n"_s
                         .arg(m_dir.filePath(u"opened"_s), QString::number(status))
                         .toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

private Q_SLOTS:
    void cleanup();
    void theManualNamesWhatTheWindowHas_data();
    void theManualNamesWhatTheWindowHas();
    void pagesForTheLanguages();
    void contentsOpensTheManual_data();
    void contentsOpensTheManual();
    void aMissingManualIsReported();
};

void tst_Manual::cleanup()
{
    for (QTranslator *translator : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QFile::remove(m_dir.filePath(u"opened"_s));
}

void tst_Manual::theManualNamesWhatTheWindowHas_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("page");
    QTest::newRow("English") << u"C"_s << u"index.html"_s;
    QTest::newRow("German") << u"de_DE"_s << u"index.de.html"_s;
}

void tst_Manual::theManualNamesWhatTheWindowHas()
{
    QFETCH(QString, locale);
    QFETCH(QString, page);
    installTranslations(QLocale(locale));
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->show();
    const QString html = readText(BuildManual + u'/' + page);

    // Commands: the items of every menu, the ones added after the Parts' included.
    QStringList windowCommands;
    for (QAction *menu : window->menuBar()->actions())
        collectCommands(menu->menu(), windowCommands);
    const QStringList manualCommands = matches(html, uR"(<td class="command">(.*?)</td>)"_s);
    QVERIFY(windowCommands.size() >= 20);
    for (const QString &command : windowCommands)
        QVERIFY2(manualCommands.contains(command), qPrintable(u"not in the manual: "_s + command));
    for (const QString &command : manualCommands)
        QVERIFY2(windowCommands.contains(command), qPrintable(u"not in the window: "_s + command));

    // Keys: every key of every action of the window (menus, find bar) is in the manual; the file
    // dialogs' own keys are Qt's.
    QSet<QString> windowKeys;
    for (const QAction *action : window->findChildren<QAction *>()) {
        bool inDialog = false;
        for (const QObject *owner = action->parent(); owner != nullptr; owner = owner->parent())
            inDialog = inDialog || owner->inherits("QDialog");
        if (inDialog)
            continue;
        for (const QKeySequence &key : action->shortcuts())
            windowKeys << key.toString(QKeySequence::PortableText);
    }
    QStringList manualKeys;
    for (const QString &key : matches(html, u"<kbd>(.*?)</kbd>"_s))
        manualKeys << portableKey(key);
    QVERIFY(windowKeys.size() >= 15);
    for (const QString &key : std::as_const(windowKeys))
        QVERIFY2(manualKeys.contains(key), qPrintable(u"not in the manual: "_s + key));

    // A key of the manual that no action holds is one that the tree or the find bar's field takes;
    // F2 last, since it opens an editor that then has the keys.
    const QString sample = m_dir.filePath(u"sample.ini"_s);
    QFile file(sample);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[a]\nx=1\ny=2\n[b]\nz=3\n");
    file.close();
    LoadTreeFromIni(*window->document(), sample);
    window->SelectSingleNode(window->document()->index(0, 0));
    QLineEdit *findField = window->findBar()->findChild<QLineEdit *>();
    QVERIFY(findField != nullptr);
    manualKeys.removeDuplicates();
    std::stable_partition(manualKeys.begin(), manualKeys.end(), [](const QString &key) { return key != u"F2"_s; });
    for (const QString &key : std::as_const(manualKeys)) {
        if (windowKeys.contains(key))
            continue;
        const QKeySequence sequence = QKeySequence::fromString(key, QKeySequence::PortableText);
        QVERIFY2(sequence.count() == 1, qPrintable(u"not a key: "_s + key));
        QVERIFY2(takesKey(window->treeList(), sequence) || takesKey(findField, sequence),
            qPrintable(u"nothing takes "_s + key));
    }
    QVERIFY(window->treeList()->isEditing());
    QVERIFY(dialogs.settled());
}

void tst_Manual::pagesForTheLanguages()
{
    QCOMPARE(manualFolder(u"" SALDRIX_BINARY_DIR "/app"_s), QDir::cleanPath(BuildManual));
    QCOMPARE(manualFolder(m_dir.path()), QString());
    const QString english = BuildManual + u"/index.html"_s;
    const QString german = BuildManual + u"/index.de.html"_s;
    QCOMPARE(manualPage(BuildManual, u"index.de.html"_s), german);
    QCOMPARE(manualPage(BuildManual, u"index.html"_s), english);
    // A language without a page of its own, or a name that leads out of the folder, reads English.
    QCOMPARE(manualPage(BuildManual, u"index.fr.html"_s), english);
    QCOMPARE(manualPage(BuildManual, QString()), english);
    QCOMPARE(manualPage(BuildManual, u"../manual/index.de.html"_s), english);
    QCOMPARE(manualPage(BuildManual, german), english);
    QCOMPARE(manualPage(m_dir.path(), u"index.html"_s), QString());
}

void tst_Manual::contentsOpensTheManual_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("status"); // of the browser program; -1 when there is none
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("viewerTitle"); // empty when no viewer shows

    QTest::newRow("browser") << u"C"_s << 0 << u"index.html"_s << QString();
    QTest::newRow("browser, German") << u"de_DE"_s << 0 << u"index.de.html"_s << QString();
    QTest::newRow("browser fails") << u"C"_s << 4 << u"index.html"_s << u"YorvSaldrix manual"_s;
    QTest::newRow("no browser, German") << u"de_DE"_s << -1 << QString() << u"YorvSaldrix – Handbuch"_s;
}

void tst_Manual::contentsOpensTheManual()
{
    QFETCH(QString, locale);
    QFETCH(int, status);
    QFETCH(QString, page);
    QFETCH(QString, viewerTitle);
    installTranslations(QLocale(locale));
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->manualOpener()->setBrowserProgram(status < 0 ? m_dir.filePath(u"no-such-browser"_s) : browser(status));
    window->show();
    QApplication::setActiveWindow(window.get());
    QVERIFY(QTest::qWaitForWindowActive(window.get()));

    // Contents stands after About in the Help menu, and F1 runs it.
    const QList<QAction *> help = window->findChild<QMenu *>(u"miHelp"_s)->actions();
    QCOMPARE(help.mid(0, 2),
        (QList<QAction *> {
            window->findChild<QAction *>(u"actHelpAbout"_s), window->findChild<QAction *>(u"actHelpContents"_s) }));
    QSignalSpy answered(window->manualOpener(), &ManualOpener::browserAnswered);
    QTest::keyClick(window.get(), Qt::Key_F1);
    QVERIFY(answered.wait(20000));
    QCOMPARE(answered.at(0).at(0).toBool(), viewerTitle.isEmpty());

    QFile opened(m_dir.filePath(u"opened"_s));
    if (page.isEmpty()) {
        QVERIFY(!opened.exists());
    } else {
        QVERIFY(opened.open(QIODevice::ReadOnly));
        QCOMPARE(QUrl(QString::fromUtf8(opened.readAll())), QUrl::fromLocalFile(BuildManual + u'/' + page));
    }
    ManualViewer *viewer = window->manualOpener()->viewer();
    QCOMPARE(viewer != nullptr, !viewerTitle.isEmpty());
    if (viewer != nullptr) {
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), viewerTitle);
        // Its links stay within the manual: the other language's page opens in it.
        QVERIFY(viewer->Browser->toPlainText().contains(u"Ctrl+F"_s)
            || viewer->Browser->toPlainText().contains(u"Strg+F"_s));
        viewer->Browser->setSource(viewer->Browser->source().resolved(QUrl(u"index.html#keys"_s)));
        QCOMPARE(viewer->windowTitle(), u"YorvSaldrix manual"_s);
    }
    QVERIFY(dialogs.settled());
}

void tst_Manual::aMissingManualIsReported()
{
    ScriptedDialogs dialogs;
    const auto window = makeWindow(dialogs);
    window->setManualFolder(m_dir.path());
    window->manualOpener()->setBrowserProgram(browser(0));
    window->findChild<QAction *>(u"actHelpContents"_s)->trigger();
    QCOMPARE(dialogs.errors, QStringList { u"The user manual is not installed."_s });
    QVERIFY(!QFile::exists(m_dir.filePath(u"opened"_s)));
    QVERIFY(dialogs.settled());
}

QTEST_MAIN(tst_Manual)
#include "tst_manual.moc"
