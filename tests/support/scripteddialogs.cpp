// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scripteddialogs.h"

#include <QFileDialog>

UserDialogs::Answer ScriptedDialogs::askSaveChanges(QWidget *)
{
    asked << QStringLiteral("save changes");
    if (saveAnswers.isEmpty()) {
        unexpected << QStringLiteral("save changes");
        return unscriptedSave;
    }
    return saveAnswers.takeFirst();
}

bool ScriptedDialogs::confirm(QWidget *, const QString &text)
{
    asked << text;
    if (confirmAnswers.isEmpty()) {
        unexpected << text;
        return unscriptedConfirm;
    }
    return confirmAnswers.takeFirst();
}

std::optional<QString> ScriptedDialogs::chooseFile(QFileDialog &dialog)
{
    asked << QStringLiteral("file:") + dialog.objectName();
    proposedFiles << dialog.selectedFiles().value(0);
    ++fileDialogs;
    if (answerFile)
        return answerFile(dialog);
    if (fileAnswers.isEmpty()) {
        unexpected << dialog.objectName();
        return std::nullopt;
    }
    return fileAnswers.takeFirst();
}

void ScriptedDialogs::showInformation(QWidget *parent, const QString &text)
{
    information << text;
    informationParents << parent;
    if (onInformation)
        onInformation();
}

void ScriptedDialogs::showError(QWidget *parent, const QString &message)
{
    errors << message;
    errorsOwned << (parent != nullptr);
    errorParents << parent;
}

void ScriptedDialogs::showDialog(QDialog &dialog)
{
    shownDialogs << dialog.objectName();
    if (onDialog)
        onDialog(dialog);
}

bool ScriptedDialogs::offerRecovery(QWidget *, const QString &documentName, const QDateTime &)
{
    asked << QStringLiteral("recover:") + documentName;
    if (recoveryAnswers.isEmpty()) {
        unexpected << QStringLiteral("recover:") + documentName;
        return unscriptedRecovery;
    }
    return recoveryAnswers.takeFirst();
}

bool ScriptedDialogs::settled() const
{
    return unexpected.isEmpty() && saveAnswers.isEmpty() && confirmAnswers.isEmpty() && fileAnswers.isEmpty()
        && recoveryAnswers.isEmpty();
}
