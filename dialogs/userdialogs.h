// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QDialog>
#include <QString>

#include <optional>

class QFileDialog;
class QWidget;

// Every question, message box and file dialog of the program goes through this seam, so that
// tests answer them from a script and never wait on a real modal window.
class UserDialogs {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~UserDialogs() = default;

    // "Do you want to save the changes?" captioned "Information": Yes, No or Cancel.
    virtual Answer askSaveChanges(QWidget *parent) = 0;
    // A Yes/No question captioned "Warning!" with the question icon; true for Yes.
    virtual bool confirm(QWidget *parent, const QString &text) = 0;
    // Shows a configured file dialog modally; the chosen file, or nothing when cancelled.
    virtual std::optional<QString> chooseFile(QFileDialog &dialog) = 0;
    // An information box captioned "Information" with one OK button.
    virtual void showInformation(QWidget *parent, const QString &text) = 0;
    // The default error display: the message (with the full-stop rule), the application title as
    // caption, the error icon and OK.
    virtual void showError(QWidget *parent, const QString &message) = 0;
    // Offers back the recovery copy of the named document (a file name, or "Untitled") written at the
    // given time: true to recover it (the default button), false to discard it.
    virtual bool offerRecovery(QWidget *parent, const QString &documentName, const QDateTime &written) = 0;
    // Shows one of the program's own dialogs (the About box) modally until it closes.
    virtual void showDialog(QDialog &dialog) { dialog.exec(); }
};
