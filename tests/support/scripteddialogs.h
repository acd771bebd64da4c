// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "dialogs/userdialogs.h"

#include <QList>
#include <QStringList>

#include <functional>

// Answers every dialog from a script and records what was asked. A dialog that the script did not
// expect is recorded as such and answered in the safest way (Cancel, No, no file) unless the test
// names another standing answer.
class ScriptedDialogs : public UserDialogs {
public:
    QList<Answer> saveAnswers;
    QList<bool> confirmAnswers;
    QList<std::optional<QString>> fileAnswers;
    QList<bool> recoveryAnswers; // true recovers
    // Answers every file dialog when set, in place of fileAnswers.
    std::function<std::optional<QString>(QFileDialog &)> answerFile;
    Answer unscriptedSave = Answer::Cancel;
    bool unscriptedRecovery = true; // keeps the work
    bool unscriptedConfirm = false;

    // "save changes", each confirmation text, "file:<dialog name>", "recover:<document name>"
    QStringList asked;
    QStringList proposedFiles; // the file each file dialog proposed when it opened
    int fileDialogs = 0;
    QStringList errors;
    QList<bool> errorsOwned; // whether each error box was given a window to centre on
    QList<QWidget *> errorParents;
    QStringList information;
    QList<QWidget *> informationParents;
    // Runs while an information box is "shown".
    std::function<void()> onInformation;
    QStringList shownDialogs; // objectName of each of the program's own dialogs
    // Looks at a dialog while it is "shown"; the dialog is never run modally.
    std::function<void(QDialog &)> onDialog;
    QStringList unexpected;

    Answer askSaveChanges(QWidget *parent) override;
    bool confirm(QWidget *parent, const QString &text) override;
    std::optional<QString> chooseFile(QFileDialog &dialog) override;
    void showInformation(QWidget *parent, const QString &text) override;
    void showError(QWidget *parent, const QString &message) override;
    void showDialog(QDialog &dialog) override;
    bool offerRecovery(QWidget *parent, const QString &documentName, const QDateTime &written) override;

    // Everything scripted was used and nothing unscripted was asked.
    [[nodiscard]] bool settled() const;
};
