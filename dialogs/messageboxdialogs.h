// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "dialogs/userdialogs.h"

#include <memory>

class QMessageBox;

// The boxes that the dialogs below run, made but not yet run, so that they can be looked at.
// The unsaved-changes question has Yes as its default button and Cancel as its escape button.
[[nodiscard]] std::unique_ptr<QMessageBox> saveChangesBox();
[[nodiscard]] std::unique_ptr<QMessageBox> confirmBox(QWidget *parent, const QString &text);
[[nodiscard]] std::unique_ptr<QMessageBox> informationBox(QWidget *parent, const QString &text);

// The dialogs a person answers: message boxes and the file dialogs themselves.
class MessageBoxDialogs : public UserDialogs {
public:
    Answer askSaveChanges(QWidget *parent) override;
    bool confirm(QWidget *parent, const QString &text) override;
    std::optional<QString> chooseFile(QFileDialog &dialog) override;
    void showInformation(QWidget *parent, const QString &text) override;
    void showError(QWidget *parent, const QString &message) override;
};
