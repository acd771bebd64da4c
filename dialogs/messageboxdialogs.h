// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "dialogs/userdialogs.h"

// The dialogs a person answers: message boxes and the file dialogs themselves.
class MessageBoxDialogs : public UserDialogs {
public:
    Answer askSaveChanges(QWidget *parent) override;
    bool confirm(QWidget *parent, const QString &text) override;
    std::optional<QString> chooseFile(QFileDialog &dialog) override;
    void showInformation(QWidget *parent, const QString &text) override;
    void showError(QWidget *parent, const QString &message) override;
    bool offerRecovery(QWidget *parent, const QString &documentName, const QDateTime &written) override;
};
