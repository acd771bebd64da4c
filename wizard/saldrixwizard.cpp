// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/saldrixwizard.h"

#include "dialogs/announcer.h"
#include "dialogs/errordisplay.h"
#include "dialogs/userdialogs.h"
#include "dialogs/waitcursor.h"
#include "document/saldrixerror.h"
#include "export/exportcatalogue.h"
#include "export/filenameparts.h"
#include "wizard/pagemanager.h"
#include "wizard/saldrixprogress.h"
#include "wizard/updown.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStackedWidget>
#include <QToolButton>

#include <initializer_list>

TfrmSaldrixWizard::TfrmSaldrixWizard(DocumentTree &tree, UserDialogs &dialogs, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_tree(tree)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("SaldrixWizard"));
    setWindowTitle(tr("Export Wizard"));
    setModal(false);
    setFixedSize(DesignWidth, 362);
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);

    createControls();
    fitToFont();
    // Beside the arrows, so that a screen reader names no more of the window around it.
    m_announcer = new Announcer(UpDown1);

    connect(PageManager1, &PageManager::pageShow, this, &TfrmSaldrixWizard::PageShow);
    connect(PageManager1, &PageManager::checkButtons, this, &TfrmSaldrixWizard::PageManager1CheckButtons);
    connect(BtnBrowse, &QPushButton::clicked, this, &TfrmSaldrixWizard::BtnBrowseClick);
    connect(UpDown1, &UpDown::changing, this, &TfrmSaldrixWizard::UpDown1Changing);
    connect(BtnDone, &QPushButton::clicked, this, &TfrmSaldrixWizard::BtnDoneClick);
    connect(BtnClose, &QPushButton::clicked, this, &TfrmSaldrixWizard::BtnCloseClick);

    PageManager1->moveTo(0);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmSaldrixWizard::showForDocument(const QString &documentFileName)
{
    m_lastDocumentFileName = documentFileName;
    edFileName->setText(DirectoryPart(documentFileName) + BareFileName(documentFileName) + QStringLiteral(".txt"));
    show();
    raise();
    activateWindow();
}

ExportOptions TfrmSaldrixWizard::exportOptions() const
{
    ExportOptions options;
    options.FileName = edFileName->text();
    options.ArtistFirst = lbArtist->text() == tr("Artist");
    options.Separator = edSeparator->text();
    options.IncludeVolume = cbVolume->isChecked();
    options.IncludeGenre = cbGenre->isChecked();
    options.IncludeNumTracks = cbNumTracks->isChecked();
    options.SeparatorLine = edLongSeparator->text();
    return options;
}

void TfrmSaldrixWizard::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A spontaneous show is the window system restoring a minimised window, not an opening.
    if (!event->spontaneous())
        FormShow();
}

void TfrmSaldrixWizard::FormShow()
{
    PageManager1->moveTo(0);
}

void TfrmSaldrixWizard::PageShow(int page)
{
    switch (page) {
    case 0:
        Page0Show();
        break;
    case 1:
        Page1Show();
        break;
    case 2:
        Page2Show();
        break;
    case 3:
        Page3Show();
        break;
    case 4:
        Page4Show();
        break;
    default:
        break;
    }
}

QStringList TfrmSaldrixWizard::topLines()
{
    return { tr("Please choose a FileName and Path to save the exported file."),
        tr("The Artist and Title of CD will be the first line of each paragraph."),
        tr("Do you want the flowing information as some extra row."),
        tr("Which characters do want to use as horisontal separator between CDs?"),
        tr("You have done. Your selected choise looks like this.") };
}

void TfrmSaldrixWizard::setTopLine(const QString &text)
{
    lbTopVar->setText(text);
    lbTopVar->adjustSize();
}

void TfrmSaldrixWizard::Page0Show()
{
    setTopLine(topLines().at(0));
}

void TfrmSaldrixWizard::Page1Show()
{
    setTopLine(topLines().at(1));
}

void TfrmSaldrixWizard::Page2Show()
{
    setTopLine(topLines().at(2));
}

void TfrmSaldrixWizard::Page3Show()
{
    setTopLine(topLines().at(3));
}

void TfrmSaldrixWizard::Page4Show()
{
    setTopLine(topLines().at(4));
}

void TfrmSaldrixWizard::PageManager1CheckButtons()
{
}

void TfrmSaldrixWizard::BtnBrowseClick()
{
    const QString text = edFileName->text();
    QFileDialog SaveDialog1(this, tr("Export To"));
    SaveDialog1.setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1.setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1.setFileMode(QFileDialog::AnyFile);
    const QStringList filters { tr("Text Files (*.txt)"), tr("PlayList M3U (*.m3u)"), tr("PlatList PLS (*.pls)"),
        tr("PlayList File (*.plf)"), tr("All Files (*)") }; // "*" as the main window's: names without a dot too
    SaveDialog1.setNameFilters(filters);
    SaveDialog1.selectNameFilter(filters.first());
    SaveDialog1.setDefaultSuffix(QStringLiteral("txt"));
    SaveDialog1.setOption(QFileDialog::DontConfirmOverwrite);
    const QString folder = DirectoryPart(text);
    if (!folder.isEmpty())
        SaveDialog1.setDirectory(folder);
    SaveDialog1.selectFile(BareFileName(text) + FileExtension(text));
    if (const std::optional<QString> chosen = m_dialogs.chooseFile(SaveDialog1))
        edFileName->setText(*chosen);
}

void TfrmSaldrixWizard::UpDown1Changing()
{
    const QString first = lbArtist->text();
    lbArtist->setText(lbTitle->text());
    lbTitle->setText(first);
    lbArtist->adjustSize();
    lbTitle->adjustSize();
    describeOrder();
    m_announcer->announce(tr("%1 first, then %2").arg(lbArtist->text(), lbTitle->text()));
}

void TfrmSaldrixWizard::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    auto *focused = qobject_cast<QPushButton *>(focusWidget());
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && focused != nullptr) {
        if (focused->isEnabled() && focused->isVisible())
            focused->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmSaldrixWizard::describeOrder()
{
    // The order is shown by two labels beside the arrows; the arrows say it too, so that pressing
    // one is answered by the new order.
    const QString order = tr("%1 first, then %2").arg(lbArtist->text(), lbTitle->text());
    for (QWidget *arrow : std::initializer_list<QWidget *> { UpDown1->leftButton(), UpDown1->rightButton() })
        arrow->setAccessibleDescription(order);
}

void TfrmSaldrixWizard::BtnDoneClick()
{
    if (m_documentBusy && m_documentBusy())
        return;
    const ExportOptions options = exportOptions();
    ExportContext context;
    context.documentFileName = m_documentFileName ? m_documentFileName() : m_lastDocumentFileName;
    context.showInformation = [this](const QString &message) { m_dialogs.showInformation(this, message); };
    context.showBusy = showWaitCursor;
    runShowingErrors(m_dialogs, this, [this, &options, &context] {
        ProgressWindowDisplay progress(this);
        ExportCatalogue(m_tree, options, progress, context);
    });
}

void TfrmSaldrixWizard::BtnCloseClick()
{
    close();
}
