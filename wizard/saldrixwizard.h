// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "export/exportoptions.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class Announcer;
class DocumentTree;
class PageManager;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class UpDown;
class UserDialogs;

// The five-page export wizard. It is made once, hidden, when the program starts and lives until
// it ends; Close (or Esc) only hides it, so its settings last from one opening to the next. Done
// exports the document tree as it stands at that moment.
class TfrmSaldrixWizard : public QDialog {
    Q_OBJECT

public:
    TfrmSaldrixWizard(DocumentTree &tree, UserDialogs &dialogs, QWidget *parent = nullptr);

    // What the main window's Export command does: proposes the output name from the open document's
    // file name (folder, bare name, ".txt") and shows the wizard or brings it to the front.
    void showForDocument(const QString &documentFileName);

    // Where the wizard asks for the open document's file name when Done is pressed (the export
    // refuses to write over it). Without a source, the name given to the last opening is used.
    void setDocumentFileNameSource(std::function<QString()> source) { m_documentFileName = std::move(source); }
    // True while the document is still being read: Done then does nothing, as the main window's
    // commands do, rather than export half a document and report success.
    void setDocumentBusySource(std::function<bool()> source) { m_documentBusy = std::move(source); }

    // The choices the controls hold now.
    [[nodiscard]] ExportOptions exportOptions() const;

protected:
    void showEvent(QShowEvent *event) override;
    // Enter presses the push button that has the keyboard, and the default button from anywhere else
    // (a check box or an order arrow included).
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    // Widens the window where a text at the platform's font would not fit the designed width,
    // keeping the right-hand controls at the right edge, and sizes the sample to its lines.
    void fitToFont();
    static constexpr int DesignWidth = 512;
    [[nodiscard]] static QStringList topLines();
    QWidget *createFileNamePage();
    QWidget *createArtistTitlePage();
    QWidget *createExtraLinesPage();
    QWidget *createSeparatorLinePage();
    QWidget *createDonePage();
    QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, int x, int y);
    void addPageImage(QWidget *page, int index);

    void FormShow();
    void PageShow(int page);
    void Page0Show();
    void Page1Show();
    void Page2Show();
    void Page3Show();
    void Page4Show();
    void PageManager1CheckButtons();
    void BtnBrowseClick();
    void UpDown1Changing();
    void describeOrder();
    void BtnDoneClick();
    void BtnCloseClick();
    void setTopLine(const QString &text);

    DocumentTree &m_tree;
    UserDialogs &m_dialogs;
    std::function<QString()> m_documentFileName;
    std::function<bool()> m_documentBusy;
    QString m_lastDocumentFileName;

    QLabel *lbTopVar = nullptr;
    QStackedWidget *NoteBook1 = nullptr;
    PageManager *PageManager1 = nullptr;
    QPushButton *BtnBack = nullptr;
    QPushButton *BtnNext = nullptr;
    QPushButton *BtnClose = nullptr;
    QLineEdit *edFileName = nullptr;
    QPushButton *BtnBrowse = nullptr;
    UpDown *UpDown1 = nullptr;
    QLabel *lbArtist = nullptr;
    QLabel *lbTitle = nullptr;
    QLineEdit *edSeparator = nullptr;
    QCheckBox *cbVolume = nullptr;
    QCheckBox *cbGenre = nullptr;
    QCheckBox *cbNumTracks = nullptr;
    QLineEdit *edLongSeparator = nullptr;
    QPushButton *BtnDone = nullptr;
    // Speaks the new order after a swap: the keyboard stays on the arrow, which does not change.
    Announcer *m_announcer = nullptr;
};
