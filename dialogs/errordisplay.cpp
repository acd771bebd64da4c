// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/errordisplay.h"

#include "dialogs/applicationtitle.h"
#include "dialogs/userdialogs.h"
#include "document/saldrixerror.h"

#include <QMessageBox>

QString withFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

std::unique_ptr<QMessageBox> errorBox(QWidget *parent, const QString &message)
{
    return std::make_unique<QMessageBox>(
        QMessageBox::Critical, applicationTitle(), withFullStop(message), QMessageBox::Ok, parent);
}

void showErrorBox(QWidget *parent, const QString &message)
{
    errorBox(parent, message)->exec();
}

bool runShowingErrors(UserDialogs &dialogs, QWidget *parent, const std::function<void()> &command)
{
    return catchErrors(command, [&dialogs, parent](const QString &message) { dialogs.showError(parent, message); });
}
