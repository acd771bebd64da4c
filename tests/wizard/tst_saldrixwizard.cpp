// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exporttesthelpers.h"
#include "scripteddialogs.h"

#include "dialogs/userdialogs.h"
#include "document/documenttree.h"
#include "wizard/pagemanager.h"
#include "wizard/saldrixprogress.h"
#include "wizard/saldrixwizard.h"
#include "wizard/updown.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QStringList TopLines { u"Please choose a FileName and Path to save the exported file."_s,
    u"The Artist and Title of CD will be the first line of each paragraph."_s,
    u"Do you want the flowing information as some extra row."_s,
    u"Which characters do want to use as horisontal separator between CDs?"_s,
    u"You have done. Your selected choise looks like this."_s };

} // namespace

class tst_SaldrixWizard : public QObject {
    Q_OBJECT

private:
    DocumentTree *m_tree = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    TfrmSaldrixWizard *m_wizard = nullptr;
    QTemporaryDir m_dir;

    template <typename T> T *child(const QString &name) const
    {
        T *found = m_wizard->findChild<T *>(name);
        if (!found)
            qFatal("no child %s", qPrintable(name));
        return found;
    }
    [[nodiscard]] int page() const { return child<QStackedWidget>(u"NoteBook1"_s)->currentIndex(); }
    [[nodiscard]] QString topLine() const { return child<QLabel>(u"lbTopVar"_s)->text(); }
    void goToPage(int target)
    {
        while (page() < target)
            child<QPushButton>(u"BtnNext"_s)->click();
        while (page() > target)
            child<QPushButton>(u"BtnBack"_s)->click();
    }

private Q_SLOTS:
    void init()
    {
        m_tree = new DocumentTree;
        m_dialogs = new ScriptedDialogs;
        m_wizard = new TfrmSaldrixWizard(*m_tree, *m_dialogs);
    }
    void cleanup()
    {
        delete m_wizard;
        delete m_dialogs;
        delete m_tree;
    }

    void startsHiddenOnTheFirstPageWithItsDefaults();
    void everyTextFitsAtThePlatformFont();
    void pageMovesRunTheirEventsInOrder();
    void buttonsAndTopLineFollowThePage();
    void enterPressesOnlyAnEnabledNext();
    void escapeAndCloseOnlyHide();
    void everyOpeningStartsOnTheFirstPage();
    void arrowsSwapTheLabels();
    void usableWithTheKeyboardAlone();
    void proposesTheOutputName_data();
    void proposesTheOutputName();
    void browseOffersTheSaveDialog_data();
    void browseOffersTheSaveDialog();
    void doneExportsTheTreeAsItStands();
    void doneFailureKeepsTheWizardAsItWas();
    void doneRefusesTheDocumentsOwnFile();
    void doneWaitsWhileTheDocumentIsRead();
    void progressWindowPaintsEachStepAtOnce();
};

void tst_SaldrixWizard::startsHiddenOnTheFirstPageWithItsDefaults()
{
    QVERIFY(!m_wizard->isVisible());
    QVERIFY(!m_wizard->isModal());
    QCOMPARE(m_wizard->minimumSize(), m_wizard->maximumSize());
    QVERIFY(!(m_wizard->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(page(), 0);
    QVERIFY(!child<QPushButton>(u"BtnBack"_s)->isEnabled());
    QVERIFY(child<QPushButton>(u"BtnNext"_s)->isEnabled());
    QVERIFY(child<QPushButton>(u"BtnNext"_s)->isDefault());

    // The pictures are compiled in and reach this program without being asked for.
    const QList<QLabel *> pictures = m_wizard->findChildren<QLabel *>(QRegularExpression(u"^Image"_s));
    QCOMPARE(pictures.size(), 6);
    for (const QLabel *picture : pictures)
        QVERIFY2(!picture->pixmap().isNull(), qPrintable(picture->objectName()));

    QCOMPARE(child<QLineEdit>(u"edFileName"_s)->text(), u"C:\\Winnt\\CDPLayer.txt"_s);
    QCOMPARE(child<QLineEdit>(u"edSeparator"_s)->maxLength(), 3);
    const ExportOptions options = m_wizard->exportOptions();
    const ExportOptions defaults;
    QVERIFY(options.ArtistFirst);
    QCOMPARE(options.Separator, defaults.Separator);
    QCOMPARE(options.SeparatorLine, QString(35, u'='));
    QVERIFY(!options.IncludeVolume && !options.IncludeGenre && !options.IncludeNumTracks);
}

void tst_SaldrixWizard::everyTextFitsAtThePlatformFont()
{
    m_wizard->show();
    const QRect window = m_wizard->rect();
    const QRect picture = child<QLabel>(u"ImageTop"_s)->geometry();
    for (int p = 0; p < 5; ++p) {
        goToPage(p);
        for (const QLabel *label : m_wizard->findChildren<QLabel *>()) {
            if (!label->isVisibleTo(m_wizard) || label->text().isEmpty())
                continue;
            const QString where = u"page %1, %2"_s.arg(p).arg(label->objectName());
            // The text's own extent, line by line, at the label's font.
            const QRect text = label->fontMetrics().boundingRect(
                QRect(QPoint(0, 0), QSize(10000, 10000)), int(label->alignment()), label->text());
            QVERIFY2(text.width() <= label->contentsRect().width(), qPrintable(where));
            QVERIFY2(text.height() <= label->contentsRect().height(), qPrintable(where));
            // Inside the window with a margin, and clear of the picture at the top right.
            const QRect placed(label->mapTo(m_wizard, QPoint(0, 0)), label->size());
            QVERIFY2(placed.right() + 4 < window.right() && window.contains(placed), qPrintable(where));
            if (label->parentWidget()->objectName() == u"PanelUp"_s && label->objectName() != u"ImageTop"_s)
                QVERIFY2(!placed.intersects(picture), qPrintable(where));
        }
    }
    // The buttons stay at the right edge, at least as far from it as they were designed (a wider
    // window spreads their places with everything else).
    const QPushButton *close = child<QPushButton>(u"BtnClose"_s);
    const int margin = m_wizard->width() - (close->mapTo(m_wizard, QPoint(0, 0)).x() + close->width());
    QVERIFY2(margin >= 512 - 491, qPrintable(QString::number(margin)));
}

void tst_SaldrixWizard::pageMovesRunTheirEventsInOrder()
{
    auto *manager = m_wizard->findChild<PageManager *>(u"PageManager1"_s);
    QVERIFY(manager);
    auto *back = child<QPushButton>(u"BtnBack"_s);
    auto *next = child<QPushButton>(u"BtnNext"_s);
    QStringList events;
    const auto note = [&](const QString &event) { events << u"%1 @%2"_s.arg(event).arg(page()); };
    connect(manager, &PageManager::pageLeave, this, [&](int p) { note(u"leave %1"_s.arg(p)); });
    connect(manager, &PageManager::pageEnter, this, [&](int p) { note(u"enter %1"_s.arg(p)); });
    connect(child<QStackedWidget>(u"NoteBook1"_s), &QStackedWidget::currentChanged, this, [&] { note(u"switch"_s); });
    connect(manager, &PageManager::checkButtons, this,
        [&] { note(u"buttons %1%2"_s.arg(back->isEnabled() ? u"B"_s : u"-"_s, next->isEnabled() ? u"N"_s : u"-"_s)); });
    connect(manager, &PageManager::pageHide, this, [&](int p) { note(u"hide %1"_s.arg(p)); });
    connect(manager, &PageManager::pageShow, this,
        [&](int p) { note(u"show %1 %2"_s.arg(p).arg(topLine() == TopLines.at(p) ? u"top set"_s : u"top stale"_s)); });
    connect(manager, &PageManager::pageChanged, this, [&](int p) { note(u"changed %1"_s.arg(p)); });

    next->click();
    QCOMPARE(events,
        QStringList({ u"leave 0 @0"_s, u"enter 1 @0"_s, u"switch @1"_s, u"buttons BN @1"_s, u"hide 0 @1"_s,
            u"show 1 top set @1"_s, u"changed 1 @1"_s }));

    events.clear();
    manager->moveTo(1); // the page already shown: the same events, without a switch of the notebook
    QCOMPARE(events,
        QStringList({ u"leave 1 @1"_s, u"enter 1 @1"_s, u"buttons BN @1"_s, u"hide 1 @1"_s, u"show 1 top set @1"_s,
            u"changed 1 @1"_s }));

    goToPage(4);
    events.clear();
    back->click();
    QCOMPARE(events,
        QStringList({ u"leave 4 @4"_s, u"enter 3 @4"_s, u"switch @3"_s, u"buttons BN @3"_s, u"hide 4 @3"_s,
            u"show 3 top set @3"_s, u"changed 3 @3"_s }));
}

void tst_SaldrixWizard::buttonsAndTopLineFollowThePage()
{
    auto *back = child<QPushButton>(u"BtnBack"_s);
    auto *next = child<QPushButton>(u"BtnNext"_s);
    m_wizard->show();
    for (int p = 0; p < 5; ++p) {
        goToPage(p);
        QCOMPARE(topLine(), TopLines.at(p));
        QCOMPARE(back->isEnabled(), p > 0);
        QCOMPARE(next->isEnabled(), p < 4);
    }
    // Back goes to the next lower page, whatever the way here was.
    for (int p = 3; p >= 0; --p) {
        back->click();
        QCOMPARE(page(), p);
        QCOMPARE(topLine(), TopLines.at(p));
    }
}

void tst_SaldrixWizard::enterPressesOnlyAnEnabledNext()
{
    m_wizard->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_wizard));
    child<QLineEdit>(u"edFileName"_s)->setText(m_dir.filePath(u"by-enter.txt"_s));
    child<QLineEdit>(u"edFileName"_s)->setFocus();
    QTest::keyClick(child<QLineEdit>(u"edFileName"_s), Qt::Key_Return);
    QCOMPARE(page(), 1);
    // From a check box, an order arrow or a text field, Enter presses Next.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(m_wizard, Qt::Key_Return);
    QCOMPARE(page(), 4);
    QCOMPARE(m_dialogs->information.size() + m_dialogs->errors.size(), 0);
    // Next is disabled on the last page and the keyboard is on Done: Enter presses Done, once.
    QCOMPARE(m_wizard->focusWidget()->objectName(), u"BtnDone"_s);
    QTest::keyClick(m_wizard, Qt::Key_Return);
    QVERIFY(m_wizard->isVisible());
    QCOMPARE(m_dialogs->information, QStringList { u"Export Successfully Done."_s });
    QVERIFY(QFile::exists(m_dir.filePath(u"by-enter.txt"_s)));
}

void tst_SaldrixWizard::escapeAndCloseOnlyHide()
{
    QPointer<TfrmSaldrixWizard> wizard = m_wizard;
    for (int p = 0; p < 5; ++p) {
        m_wizard->show();
        goToPage(p);
        QTest::keyClick(m_wizard, Qt::Key_Escape);
        QVERIFY2(!m_wizard->isVisible(), qPrintable(u"page %1"_s.arg(p)));
    }
    m_wizard->show();
    child<QPushButton>(u"BtnClose"_s)->click();
    QVERIFY(!m_wizard->isVisible());
    QVERIFY(!wizard.isNull());
}

void tst_SaldrixWizard::everyOpeningStartsOnTheFirstPage()
{
    auto *separator = child<QLineEdit>(u"edLongSeparator"_s);
    m_wizard->showForDocument(u"/data/first.ini"_s);
    goToPage(3);
    separator->setText(u"-*-"_s);
    child<QCheckBox>(u"cbGenre"_s)->setChecked(true);
    child<QPushButton>(u"BtnClose"_s)->click();

    m_wizard->showForDocument(u"/data/second.ini"_s);
    QVERIFY(m_wizard->isVisible());
    QCOMPARE(page(), 0);
    QCOMPARE(topLine(), TopLines.at(0));
    QCOMPARE(separator->text(), u"-*-"_s);
    QVERIFY(child<QCheckBox>(u"cbGenre"_s)->isChecked());

    // Opening it again while it is shown renews the name and keeps the page.
    goToPage(2);
    m_wizard->showForDocument(u"/data/third.ini"_s);
    QCOMPARE(page(), 2);
    QCOMPARE(child<QLineEdit>(u"edFileName"_s)->text(), u"/data/third.txt"_s);
}

void tst_SaldrixWizard::arrowsSwapTheLabels()
{
    auto *updown = m_wizard->findChild<UpDown *>(u"UpDown1"_s);
    QVERIFY(updown);
    auto *artist = child<QLabel>(u"lbArtist"_s);
    auto *title = child<QLabel>(u"lbTitle"_s);

    updown->leftButton()->click(); // towards the lower bound: it still swaps
    QCOMPARE(updown->position(), 0);
    QCOMPARE(artist->text(), u"Title"_s);
    QCOMPARE(title->text(), u"Artist"_s);
    QVERIFY(!m_wizard->exportOptions().ArtistFirst);

    updown->rightButton()->click();
    QCOMPARE(updown->position(), 1);
    QCOMPARE(artist->text(), u"Artist"_s);
    QVERIFY(m_wizard->exportOptions().ArtistFirst);

    for (int i = 0; i < 101; ++i)
        updown->rightButton()->click();
    QCOMPARE(updown->position(), 100); // no wrap
    QCOMPARE(artist->text(), u"Title"_s); // 101 swaps: odd
}

// Every step by keys sent to whatever has the keyboard: the file name and Browse, the order of
// artist and title, the extra lines, the separator line and Done.
void tst_SaldrixWizard::usableWithTheKeyboardAlone()
{
    fillTree(*m_tree, workedExampleCatalogue());
    m_wizard->showForDocument(m_dir.filePath(u"cd.ini"_s));
    QVERIFY(QTest::qWaitForWindowActive(m_wizard));
    const auto focused = [] { return QApplication::focusWidget(); };
    const auto key = [&](Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QVERIFY(focused() != nullptr);
        QTest::keyClick(focused(), code, modifiers);
    };
    const auto focusedName = [&] { return focused() != nullptr ? focused()->objectName() : QString(); };

    QCOMPARE(focusedName(), u"edFileName"_s);
    key(Qt::Key_Tab);
    QCOMPARE(focusedName(), u"BtnBrowse"_s);
    const QString chosen = m_dir.filePath(u"by-keys.txt"_s);
    m_dialogs->fileAnswers << chosen;
    key(Qt::Key_Space);
    QCOMPARE(child<QLineEdit>(u"edFileName"_s)->text(), chosen);

    key(Qt::Key_N, Qt::AltModifier); // a button's Alt key clicks it a moment later
    QTRY_COMPARE(page(), 1);
    // Each arrow is reached by Tab and pressed by Space; three presses put the title first.
    auto *updown = m_wizard->findChild<UpDown *>(u"UpDown1"_s);
    QCOMPARE(focused(), updown->leftButton());
    key(Qt::Key_Space);
    QCOMPARE(child<QLabel>(u"lbArtist"_s)->text(), u"Title"_s);
    QCOMPARE(updown->leftButton()->accessibleDescription(), u"Title first, then Artist"_s);
    key(Qt::Key_Tab);
    QCOMPARE(focused(), updown->rightButton());
    key(Qt::Key_Space);
    key(Qt::Key_Space);
    QCOMPARE(child<QLabel>(u"lbArtist"_s)->text(), u"Title"_s);
    key(Qt::Key_Tab);
    QCOMPARE(focusedName(), u"edSeparator"_s);
    key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focused(), u" / "_s);

    key(Qt::Key_Return); // Next is the default button
    QCOMPARE(page(), 2);
    QCOMPARE(focusedName(), u"cbVolume"_s);
    key(Qt::Key_Space);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    QCOMPARE(focusedName(), u"cbNumTracks"_s);
    key(Qt::Key_Space);

    key(Qt::Key_Return);
    QCOMPARE(page(), 3);
    QCOMPARE(focusedName(), u"edLongSeparator"_s);
    key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focused(), u"--"_s);

    key(Qt::Key_Return);
    QCOMPARE(page(), 4);
    QCOMPARE(focusedName(), u"BtnDone"_s);
    key(Qt::Key_Return); // Enter presses the focused Done
    QCOMPARE(m_dialogs->information, QStringList { u"Export Successfully Done."_s });
    QVERIFY(readBytes(chosen).startsWith("Low Tide / North Wind\r\nVolume=1F3C9A2\r\nNumTracks=2\r\n--\r\n"));

    key(Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(page(), 3);
    key(Qt::Key_Escape);
    QVERIFY(!m_wizard->isVisible());
}

void tst_SaldrixWizard::proposesTheOutputName_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("proposal");
    QTest::newRow("named") << u"/home/ann/folder/cdplayer.ini"_s << u"/home/ann/folder/cdplayer.txt"_s;
    QTest::newRow("untitled") << QString() << u".txt"_s;
    QTest::newRow("two extensions") << u"/a/archive.tar.gz"_s << u"/a/archive.tar.txt"_s;
    QTest::newRow("no extension, dotted folder") << u"/a.b/notes"_s << u"/a.b/notes.txt"_s;
    QTest::newRow("name is only an extension") << u"/a/.profile"_s << u"/a/.txt"_s;
    QTest::newRow("no folder") << u"songs.ini"_s << u"songs.txt"_s;
}

void tst_SaldrixWizard::proposesTheOutputName()
{
    QFETCH(QString, document);
    QFETCH(QString, proposal);
    m_wizard->showForDocument(document);
    QCOMPARE(child<QLineEdit>(u"edFileName"_s)->text(), proposal);
    QVERIFY(m_wizard->isVisible());
}

void tst_SaldrixWizard::browseOffersTheSaveDialog_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("setsFolder");
    QTest::addColumn<QString>("offeredName");
    QTest::addColumn<bool>("confirm");

    QTest::newRow("full path, confirmed") << u"%1/list.m3u"_s << true << u"list.m3u"_s << true;
    QTest::newRow("full path, cancelled") << u"%1/list.m3u"_s << true << u"list.m3u"_s << false;
    QTest::newRow("two extensions") << u"%1/a.tar.gz"_s << true << u"a.tar.gz"_s << true;
    QTest::newRow("empty name") << QString() << false << QString() << true;
}

void tst_SaldrixWizard::browseOffersTheSaveDialog()
{
    QFETCH(QString, fileName);
    QFETCH(bool, setsFolder);
    QFETCH(QString, offeredName);
    QFETCH(bool, confirm);

    auto *edit = child<QLineEdit>(u"edFileName"_s);
    const QString text = fileName.contains(u'%') ? fileName.arg(m_dir.path()) : fileName;
    edit->setText(text);
    const QString chosen = m_dir.filePath(u"chosen.pls"_s);
    QString folder;
    QString offered;
    m_dialogs->answerFile = [&](QFileDialog &dialog) -> std::optional<QString> {
        [&] {
            QCOMPARE(dialog.windowTitle(), u"Export To"_s);
            QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog.nameFilters(),
                QStringList({ u"Text Files (*.txt)"_s, u"PlayList M3U (*.m3u)"_s, u"PlatList PLS (*.pls)"_s,
                    u"PlayList File (*.plf)"_s, u"All Files (*)"_s }));
            // The last entry shows every file, names without a dot too, as the main window's dialogs do.
            const QString all = dialog.nameFilters().constLast();
            const QString patterns = all.mid(all.indexOf(u'(') + 1).chopped(1);
            QVERIFY(QDir::match(patterns.split(u' '), u"README"_s));
            QCOMPARE(dialog.selectedNameFilter(), u"Text Files (*.txt)"_s);
            QCOMPARE(dialog.defaultSuffix(), u"txt"_s);
            QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        }();
        folder = dialog.directory().absolutePath();
        const QStringList selected = dialog.selectedFiles();
        offered = selected.isEmpty() ? QString() : QFileInfo(selected.first()).fileName();
        if (!dialog.directory().exists() || QFileInfo(selected.value(0)).isDir())
            offered.clear();
        return confirm ? std::optional<QString>(chosen) : std::nullopt;
    };
    child<QPushButton>(u"BtnBrowse"_s)->click();

    QCOMPARE(m_dialogs->fileDialogs, 1);
    // Without a folder in the name the dialog opens where it likes (its last folder, say).
    if (setsFolder)
        QCOMPARE(folder, QDir(m_dir.path()).absolutePath());
    QCOMPARE(offered, offeredName);
    QCOMPARE(edit->text(), confirm ? chosen : text);
}

void tst_SaldrixWizard::doneExportsTheTreeAsItStands()
{
    fillTree(*m_tree, workedExampleCatalogue());
    const QString out = m_dir.filePath(u"export.txt"_s);
    m_wizard->showForDocument(m_dir.filePath(u"export.ini"_s));
    QCOMPARE(child<QLineEdit>(u"edFileName"_s)->text(), out);
    goToPage(2);
    child<QCheckBox>(u"cbVolume"_s)->setChecked(true);
    child<QCheckBox>(u"cbGenre"_s)->setChecked(true);
    goToPage(3);
    child<QLineEdit>(u"edLongSeparator"_s)->setText(QString(10, u'='));
    goToPage(4);
    m_dialogs->onInformation = [&] { QVERIFY(!m_wizard->findChild<TfrmSaldrixProgress *>()); };
    child<QPushButton>(u"BtnDone"_s)->click();

    const QString sep = QString(10, u'=');
    QCOMPARE(readBytes(out),
        crlfLines({ u"North Wind - Low Tide"_s, u"Volume=1F3C9A2"_s, sep, u"0. Harbour"_s, u"1. Lighthouse"_s, {}, {},
            {}, u"Rainfall - Signals"_s, u"Volume=20C3E72"_s, u"Genre=Ambient"_s, sep, u"0. Pulse"_s, {}, {}, {} }));
    QCOMPARE(m_dialogs->information, QStringList { u"Export Successfully Done."_s });
    QCOMPARE(m_dialogs->informationParents, QList<QWidget *> { m_wizard });
    QCOMPARE(page(), 4);
    QVERIFY(m_wizard->isVisible());

    // An unsaved edit and a changed choice count at the next Done.
    m_tree->setOptionText(1, 1, 1, u"South Wind"_s);
    child<QPushButton>(u"BtnBack"_s)->click();
    QCOMPARE(page(), 3);
    child<QLineEdit>(u"edLongSeparator"_s)->setText(u"--"_s);
    goToPage(4);
    child<QPushButton>(u"BtnDone"_s)->click();
    QVERIFY(readBytes(out).startsWith("South Wind - Low Tide\r\nVolume=1F3C9A2\r\n--\r\n"));
    QCOMPARE(m_dialogs->information.size(), 2);
    QCOMPARE(m_dialogs->errors, QStringList());
    QCOMPARE(child<QLineEdit>(u"edLongSeparator"_s)->text(), u"--"_s);
}

void tst_SaldrixWizard::doneFailureKeepsTheWizardAsItWas()
{
    fillTree(*m_tree, workedExampleCatalogue());
    m_wizard->showForDocument(m_dir.filePath(u"missing/cdplayer.ini"_s));
    goToPage(4);
    const ExportOptions before = m_wizard->exportOptions();
    child<QPushButton>(u"BtnDone"_s)->click();

    QCOMPARE(m_dialogs->errors, QStringList { u"Invalid filename"_s });
    QCOMPARE(m_dialogs->errorParents, QList<QWidget *> { m_wizard });
    QCOMPARE(m_dialogs->information, QStringList());
    QVERIFY(!m_wizard->findChild<TfrmSaldrixProgress *>());
    QCOMPARE(page(), 4);
    QCOMPARE(m_wizard->exportOptions().FileName, before.FileName);
    QVERIFY(m_wizard->isVisible());
}

void tst_SaldrixWizard::doneRefusesTheDocumentsOwnFile()
{
    // An INI file named songs.txt: the proposed export name is the document itself.
    const QString document = m_dir.filePath(u"songs.txt"_s);
    writeBytes(document, "[1f3c9a2]\r\nartist=North Wind\r\n");
    fillTree(*m_tree, workedExampleCatalogue());
    m_wizard->showForDocument(document);
    QCOMPARE(child<QLineEdit>(u"edFileName"_s)->text(), document);
    goToPage(4);
    child<QPushButton>(u"BtnDone"_s)->click();

    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_dialogs->errors.first().contains(u"open document"_s));
    QCOMPARE(m_dialogs->information, QStringList());
    QCOMPARE(readBytes(document), QByteArray("[1f3c9a2]\r\nartist=North Wind\r\n"));

    // The name source of the main window wins over the name of the opening.
    m_wizard->setDocumentFileNameSource([] { return QString(); });
    child<QPushButton>(u"BtnDone"_s)->click();
    QCOMPARE(m_dialogs->information.size(), 1);
}

void tst_SaldrixWizard::doneWaitsWhileTheDocumentIsRead()
{
    fillTree(*m_tree, u"[a]\nartist=A"_s);
    bool loading = true;
    m_wizard->setDocumentBusySource([&] { return loading; });
    m_wizard->showForDocument(m_dir.filePath(u"loading.ini"_s));
    goToPage(4);
    child<QPushButton>(u"BtnDone"_s)->click();
    QVERIFY(!QFile::exists(m_dir.filePath(u"loading.txt"_s)));
    QCOMPARE(m_dialogs->information, QStringList());

    loading = false;
    child<QPushButton>(u"BtnDone"_s)->click();
    QVERIFY(QFile::exists(m_dir.filePath(u"loading.txt"_s)));
}

namespace {

class PaintCounter : public QObject {
public:
    using QObject::QObject;
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

void tst_SaldrixWizard::progressWindowPaintsEachStepAtOnce()
{
    m_wizard->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_wizard));
    ProgressWindowDisplay display(m_wizard);

    display.BeginProgress(3);
    auto *window = m_wizard->findChild<TfrmSaldrixProgress *>(u"SaldrixProgress"_s);
    QVERIFY(window);
    QCOMPARE(window->parentWidget(), m_wizard);
    QVERIFY(window->isVisible());
    QVERIFY(m_wizard->rect().contains(window->geometry()));
    QProgressBar *bar = window->progressBar();
    QCOMPARE(bar->maximum(), 3);
    QCOMPARE(bar->value(), 0);

    PaintCounter counter;
    bar->installEventFilter(&counter);
    display.StepProgress(); // no event loop runs between these
    QCOMPARE(bar->value(), 1);
    QVERIFY(counter.paints > 0);
    const int painted = counter.paints;
    display.StepProgress();
    QCOMPARE(bar->value(), 2);
    QVERIFY(counter.paints > painted);

    display.EndProgress();
    QVERIFY(!m_wizard->findChild<TfrmSaldrixProgress *>());
    display.BeginProgress(0); // a new window for every run
    QCOMPARE(m_wizard->findChildren<TfrmSaldrixProgress *>().size(), 1);
    display.EndProgress();
}

QTEST_MAIN(tst_SaldrixWizard)
#include "tst_saldrixwizard.moc"
