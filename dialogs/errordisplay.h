// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;
class UserDialogs;

// The message as the error box shows it: a full stop is added when the last character sorts after
// "." (a letter or digit ends the sentence; "!", "?" or ")" already close it).
[[nodiscard]] QString withFullStop(const QString &message);

// The default error display: the message with the full-stop rule, the application title as
// caption, the error icon and one OK button.
void showErrorBox(QWidget *parent, const QString &message);
// The same box, made but not yet run.
[[nodiscard]] std::unique_ptr<QMessageBox> errorBox(QWidget *parent, const QString &message);

// Runs a command at the error boundary (catchErrors) and shows a failure through the dialog
// interface's error display, over parent. True when the command ran to its end.
bool runShowingErrors(UserDialogs &dialogs, QWidget *parent, const std::function<void()> &command);
