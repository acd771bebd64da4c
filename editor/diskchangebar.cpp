// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/diskchangebar.h"

#include "dialogs/palettecolours.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// Assistive technology says a notification aloud when it appears, so the bar is one.
QAccessibleInterface *barAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("DiskChangeBar") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

DiskChangeBar::DiskChangeBar(QWidget *parent)
    : QFrame(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(barAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    setObjectName(QStringLiteral("DiskChangeBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);

    lbDiskChange = new QLabel(this);
    lbDiskChange->setObjectName(QStringLiteral("lbDiskChange"));
    btnReload = new QPushButton(tr("&Reload"), this);
    btnReload->setObjectName(QStringLiteral("btnReload"));
    btnReload->setAccessibleDescription(tr("Reads the file again; changes not saved are lost"));
    btnIgnore = new QPushButton(tr("&Ignore"), this);
    btnIgnore->setObjectName(QStringLiteral("btnIgnore"));
    btnIgnore->setAccessibleDescription(tr("Keeps the document as it is and hides this bar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(lbDiskChange, 1);
    layout->addWidget(btnReload);
    layout->addWidget(btnIgnore);

    connect(btnReload, &QPushButton::clicked, this, &DiskChangeBar::reloadClicked);
    connect(btnIgnore, &QPushButton::clicked, this, &DiskChangeBar::ignoreClicked);
    applyColours();
    hide();
}

void DiskChangeBar::showChange(bool deleted)
{
    lbDiskChange->setText(deleted ? tr("The file has been deleted on disk.") : tr("The file has changed on disk."));
    // What is said when the bar appears: the message, and what can be done about it.
    setAccessibleName(lbDiskChange->text());
    setAccessibleDescription(deleted ? tr("Save writes the file again.") : tr("Reload reads it again."));
    btnReload->setVisible(!deleted);
    show();
}

void DiskChangeBar::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !m_colouring)
        applyColours();
}

void DiskChangeBar::applyColours()
{
    // Made from the application's palette each time it changes, so a theme switched while the
    // program runs is followed; the bar's own palette is not the one to start from.
    m_colouring = true;
    QPalette bar = parentWidget() != nullptr ? parentWidget()->palette() : QPalette();
    const PaletteColours::CellColours colours = PaletteColours::noticeBar(bar);
    bar.setColor(QPalette::Window, colours.background);
    bar.setColor(QPalette::WindowText, colours.text);
    setPalette(bar);
    m_colouring = false;
}
