// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;

// Total physical memory in whole kibibytes followed by " KB", from a byte count that may well
// exceed 4 GiB.
[[nodiscard]] QString memoryFigure(quint64 totalBytes);
// The machine's total (not free) physical memory in bytes; 0 when the system does not say.
[[nodiscard]] quint64 totalPhysicalMemory();

// Help, About: the product's name and version, a mail link and the machine's memory.
class TfrmAboutDlg : public QDialog {
    Q_OBJECT

public:
    // Opens a link with the desktop's handler; the result is not looked at.
    using UrlOpener = std::function<void(const QUrl &url)>;

    static const QString MailAddress;

    explicit TfrmAboutDlg(QWidget *parent = nullptr, UrlOpener opener = {});

    // The text handed to the desktop for the mail link.
    [[nodiscard]] static QString mailLink();
    // The cursor shown over the link; the platform's pointing hand unless set.
    void setLinkCursor(const QCursor &cursor);

    QLabel *imgProductIcon = nullptr;
    QLabel *lbProductName1 = nullptr;
    QLabel *lbProductName2 = nullptr;
    QLabel *lbVersion = nullptr;
    QLabel *lbNotice = nullptr;
    QLabel *lbWebLink = nullptr;
    QFrame *BevelMidt = nullptr;
    QLabel *lbMemory1 = nullptr;
    QLabel *lbMemory2 = nullptr;
    QPushButton *BtnOk = nullptr;

public Q_SLOTS:
    void lbWebLinkClick();
    void BtnOkClick();

private:
    void createControls();
    void FormCreate();

    UrlOpener m_opener;
};
