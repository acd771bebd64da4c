// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/userdialogs.h"
#include "document/documenttree.h"
#include "editor/saldrixmain.h"
#include "scripteddialogs.h"
#include "testfiles.h"
#include "wizard/saldrixwizard.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Catalogue = "[OptionSettings]\nStartMode=1\n"
                             "[1f3c9a2]\nEntryType=1\nartist=North Wind\ntitle=Low Tide\nnumtracks=2\n0=Harbour\n"
                             "1=Lighthouse\n";

} // namespace

class tst_ExportCommand : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TfrmSaldrixMain> m_window;
    TfrmSaldrixWizard *m_wizard = nullptr;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        testfiles::writeBytes(m_dir.filePath(name), bytes);
        return m_dir.filePath(name);
    }
    QByteArray readFile(const QString &name) { return testfiles::readBytes(m_dir.filePath(name)); }
    void open(const QString &path)
    {
        m_dialogs->fileAnswers << path;
        action("actFileOpen")->trigger();
        QCOMPARE(m_window->fileName(), path);
    }
    QAction *action(const char *name) { return m_window->findChild<QAction *>(QLatin1String(name)); }
    template <typename T> T *wizardChild(const QString &name) { return m_wizard->findChild<T *>(name); }
    void pressDone()
    {
        while (wizardChild<QStackedWidget>(u"NoteBook1"_s)->currentIndex() < 4)
            wizardChild<QPushButton>(u"BtnNext"_s)->click();
        wizardChild<QPushButton>(u"BtnDone"_s)->click();
    }

private Q_SLOTS:
    void init()
    {
        m_dialogs = std::make_unique<ScriptedDialogs>();
        // Opening over a changed document drops it; a changed file on disk is overwritten.
        m_dialogs->unscriptedSave = UserDialogs::Answer::No;
        m_dialogs->unscriptedConfirm = true;
        m_window = std::make_unique<TfrmSaldrixMain>(*m_dialogs);
        m_wizard = m_window->findChild<TfrmSaldrixWizard *>(QStringLiteral("SaldrixWizard"));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        m_dialogs.reset();
    }

    void exportCommandProposesTheOpenFilesName();
    void exportsUnsavedEditsWithoutTouchingTheDocument();
    void untitledDocumentProposesOnlyTheExtension();
    void refusesToOverwriteTheOpenFile();
    void mainWindowClosesWhileTheWizardIsOpen();
};

void tst_ExportCommand::exportCommandProposesTheOpenFilesName()
{
    QCOMPARE(m_window->findChild<TfrmSaldrixWizard *>(u"SaldrixWizard"_s), m_wizard);
    QVERIFY(!m_wizard->isVisible());
    open(writeFile(u"cdplayer.ini"_s, Catalogue));
    action("actFileExportCD")->trigger();
    QVERIFY(m_wizard->isVisible() && m_wizard->isWindow());
    QCOMPARE(wizardChild<QLineEdit>(u"edFileName"_s)->text(), m_dir.filePath(u"cdplayer.txt"_s));
    // Modeless: the main window stays usable while the wizard is open.
    QVERIFY(!m_wizard->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(m_window->isEnabled());

    pressDone();
    const QByteArray separator(35, '=');
    QCOMPARE(readFile(u"cdplayer.txt"_s),
        "North Wind - Low Tide\r\n" + separator + "\r\n0. Harbour\r\n1. Lighthouse\r\n\r\n\r\n\r\n");
    QCOMPARE(m_dialogs->information, QStringList { u"Export Successfully Done."_s });
    QCOMPARE(m_dialogs->informationParents, QList<QWidget *> { m_wizard });
    QVERIFY(m_wizard->isVisible());
}

void tst_ExportCommand::exportsUnsavedEditsWithoutTouchingTheDocument()
{
    open(writeFile(u"cdplayer.ini"_s, Catalogue));
    QVERIFY(m_window->document()->setData(m_window->document()->optionIndex(1, 1, 1), u"South Wind"_s));
    action("actEditSectionAdd")->trigger(); // a new disc without options, and the document is modified
    action("actFileExportCD")->trigger();
    pressDone();

    const QByteArray text = readFile(u"cdplayer.txt"_s);
    QVERIFY(text.startsWith("South Wind - Low Tide\r\n"));
    QVERIFY(text.endsWith("1. Lighthouse\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
    QVERIFY(m_window->isModified());
    QCOMPARE(m_window->document()->sectionCount(), 3);
    QCOMPARE(readFile(u"cdplayer.ini"_s), Catalogue);
}

void tst_ExportCommand::untitledDocumentProposesOnlyTheExtension()
{
    QVERIFY(!action("actFileExportCD")->isEnabled()); // an empty document has nothing to export
    action("actEditSectionAdd")->trigger();
    QVERIFY(action("actFileExportCD")->isEnabled());
    action("actFileExportCD")->trigger();
    QCOMPARE(wizardChild<QLineEdit>(u"edFileName"_s)->text(), u".txt"_s);
}

void tst_ExportCommand::refusesToOverwriteTheOpenFile()
{
    const QString document = writeFile(u"cdplayer.ini"_s, Catalogue);
    open(document);
    action("actFileExportCD")->trigger();
    wizardChild<QLineEdit>(u"edFileName"_s)->setText(document);
    pressDone();

    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_dialogs->errors.first().contains(u"open document"_s));
    QCOMPARE(m_dialogs->information, QStringList());
    QCOMPARE(readFile(u"cdplayer.ini"_s), Catalogue);
}

void tst_ExportCommand::mainWindowClosesWhileTheWizardIsOpen()
{
    open(writeFile(u"cdplayer.ini"_s, Catalogue));
    action("actFileExportCD")->trigger();
    QVERIFY(m_wizard->isVisible());
    QSignalSpy closed(m_window.get(), &TfrmSaldrixMain::closeAccepted);
    QVERIFY(m_window->close());
    QCOMPARE(closed.size(), 1);
}

QTEST_MAIN(tst_ExportCommand)
#include "tst_exportcommand.moc"
