#include "editor/errordisplay.h"

#include "editor/applicationtitle.h"

#include <QMessageBox>

QString withFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void showErrorBox(QWidget *parent, const QString &message)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), withFullStop(message), QMessageBox::Ok, parent);
    box.exec();
}
