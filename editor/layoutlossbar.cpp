// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/layoutlossbar.h"

#include "dialogs/palettecolours.h"
#include "ini/plainsaveloss.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// A notification, as the changed-on-disk bar is: assistive technology says it aloud when it appears.
QAccessibleInterface *barAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("LayoutLossBar") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

LayoutLossBar::LayoutLossBar(QWidget *parent)
    : QFrame(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(barAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    setObjectName(QStringLiteral("LayoutLossBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);

    lbLayoutLoss = new QLabel(this);
    lbLayoutLoss->setObjectName(QStringLiteral("lbLayoutLoss"));
    lbLayoutLoss->setWordWrap(true);
    btnKeepThem = new QPushButton(tr("&Keep Them"), this);
    btnKeepThem->setObjectName(QStringLiteral("btnKeepThem"));
    btnKeepThem->setAccessibleDescription(
        tr("Turns on View, Keep Comments and Layout, so that a save changes only what was edited"));
    btnDismiss = new QPushButton(tr("Dis&miss"), this);
    btnDismiss->setObjectName(QStringLiteral("btnDismiss"));
    btnDismiss->setAccessibleDescription(tr("Hides this bar for this file; a save still removes them"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(lbLayoutLoss, 1);
    layout->addWidget(btnKeepThem);
    layout->addWidget(btnDismiss);

    connect(btnKeepThem, &QPushButton::clicked, this, &LayoutLossBar::keepClicked);
    connect(btnDismiss, &QPushButton::clicked, this, &LayoutLossBar::dismissClicked);
    applyColours();
    hide();
}

QString LayoutLossBar::sentence(const PlainSaveLoss &loss)
{
    // One and many, spelt out: the program carries no English plural forms to pick from.
    const auto count = [](qsizetype n, const QString &one, const QString &many) { return n == 1 ? one : many.arg(n); };
    QStringList parts;
    if (loss.commentLines > 0)
        parts << count(loss.commentLines, tr("1 comment line"), tr("%1 comment lines"));
    if (loss.blankLines > 0)
        parts << count(loss.blankLines, tr("1 blank line"), tr("%1 blank lines"));
    if (loss.repeatedOptions > 0)
        parts << count(loss.repeatedOptions, tr("1 repeated option"), tr("%1 repeated options"));
    if (loss.otherLines > 0)
        parts << count(loss.otherLines, tr("1 other line"), tr("%1 other lines"));
    if (loss.emptySections > 0)
        parts << count(loss.emptySections, tr("1 section without options"), tr("%1 sections without options"));
    QString list;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            list += i + 1 == parts.size() ? tr(" and ") : tr(", ");
        list += parts[i];
    }
    const QString respaced = count(loss.respacedLines, tr("1 line"), tr("%1 lines"));
    if (list.isEmpty())
        return tr("Saving will change the spacing of %1 of this file.").arg(respaced);
    if (loss.respacedLines == 0)
        return tr("Saving will remove %1 that this file holds.").arg(list);
    return tr("Saving will remove %1 that this file holds, and change the spacing of %2.").arg(list, respaced);
}

void LayoutLossBar::showLoss(const PlainSaveLoss &loss)
{
    if (!loss.any()) {
        hide();
        return;
    }
    lbLayoutLoss->setText(sentence(loss));
    // What is said when the bar appears: the message, and what can be done about it.
    setAccessibleName(lbLayoutLoss->text());
    setAccessibleDescription(tr("Keep Them saves only what was edited."));
    show();
}

void LayoutLossBar::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !m_colouring)
        applyColours();
}

void LayoutLossBar::applyColours()
{
    // From the application's palette each time it changes, as the changed-on-disk bar does.
    m_colouring = true;
    QPalette bar = parentWidget() != nullptr ? parentWidget()->palette() : QPalette();
    const PaletteColours::CellColours colours = PaletteColours::noticeBar(bar);
    bar.setColor(QPalette::Window, colours.background);
    bar.setColor(QPalette::WindowText, colours.text);
    setPalette(bar);
    m_colouring = false;
}
