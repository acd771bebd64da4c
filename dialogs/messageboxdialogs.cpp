// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/messageboxdialogs.h"

#include "dialogs/errordisplay.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

std::unique_ptr<QMessageBox> saveChangesBox()
{
    // No owner, so the box is centred on the screen. The three buttons share one role so that no
    // platform button order reshuffles them: they stand as Yes, No, Cancel.
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Information, QObject::tr("Information"), QObject::tr("Do you want to save the changes?"));
    QPushButton *yes = box->addButton(QObject::tr("&Yes"), QMessageBox::ActionRole);
    box->addButton(QObject::tr("&No"), QMessageBox::ActionRole);
    QPushButton *cancel = box->addButton(QObject::tr("Cancel"), QMessageBox::ActionRole);
    box->setDefaultButton(yes);
    box->setEscapeButton(cancel);
    return box;
}

std::unique_ptr<QMessageBox> confirmBox(QWidget *parent, const QString &text)
{
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Question, QObject::tr("Warning!"), text, QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

std::unique_ptr<QMessageBox> informationBox(QWidget *parent, const QString &text)
{
    return std::make_unique<QMessageBox>(
        QMessageBox::Information, QObject::tr("Information"), text, QMessageBox::Ok, parent);
}

UserDialogs::Answer MessageBoxDialogs::askSaveChanges(QWidget *)
{
    const std::unique_ptr<QMessageBox> box = saveChangesBox();
    box->exec();
    const QAbstractButton *clicked = box->clickedButton();
    if (clicked == box->defaultButton())
        return Answer::Yes;
    if (clicked == nullptr || clicked == box->escapeButton())
        return Answer::Cancel;
    return Answer::No;
}

bool MessageBoxDialogs::confirm(QWidget *parent, const QString &text)
{
    return confirmBox(parent, text)->exec() == QMessageBox::Yes;
}

std::optional<QString> MessageBoxDialogs::chooseFile(QFileDialog &dialog)
{
    const int result = dialog.exec();
    // A dialog kept for the whole run leaves its name completion list on screen when Enter accepts
    // a typed name; the list would take the next key or click meant for the main window.
    for (QCompleter *completer : dialog.findChildren<QCompleter *>()) {
        if (QAbstractItemView *list = completer->popup(); list->isVisible())
            list->hide();
    }
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void MessageBoxDialogs::showInformation(QWidget *parent, const QString &text)
{
    informationBox(parent, text)->exec();
}

void MessageBoxDialogs::showError(QWidget *parent, const QString &message)
{
    showErrorBox(parent, message);
}
