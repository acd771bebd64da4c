// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fitcheck.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QWidget>

namespace {

QString nameOf(const QWidget *widget)
{
    QString name = widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                  : widget->objectName();
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        name += QStringLiteral(" \"%1\"").arg(label->text());
    else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        name += QStringLiteral(" \"%1\"").arg(button->text());
    return name;
}

// The room the widget's text needs, without the mnemonic's "&"; an empty size for a widget without
// a text to show.
QSize textNeeds(const QWidget *widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        if (label->text().isEmpty() || label->wordWrap())
            return {};
        // A label's own size hint is its text's, rich text included.
        return label->sizeHint();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        // A tool button that shows its icon alone names its action in a tooltip.
        if (const auto *tool = qobject_cast<const QToolButton *>(widget);
            tool != nullptr && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            return {};
        QString text = button->text();
        text.remove(QLatin1Char('&'));
        if (text.isEmpty())
            return {};
        int width = metrics.horizontalAdvance(text);
        if (qobject_cast<const QCheckBox *>(widget) != nullptr)
            width += widget->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget)
                + widget->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, widget);
        else
            width += 4;
        return { width, metrics.height() };
    }
    if (qobject_cast<const QLineEdit *>(widget) != nullptr)
        return { 0, metrics.height() };
    return {};
}

bool isLeaf(const QWidget *widget)
{
    return qobject_cast<const QLabel *>(widget) != nullptr || qobject_cast<const QAbstractButton *>(widget) != nullptr
        || qobject_cast<const QLineEdit *>(widget) != nullptr;
}

} // namespace

QStringList unfitWidgets(const QWidget *window)
{
    QStringList found;
    QList<std::pair<const QWidget *, QRect>> shown;
    const QRect inside = window->rect();
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window) || !isLeaf(widget))
            continue;
        // A widget inside another leaf (a line edit's clear button) belongs to it.
        bool part = false;
        for (const QWidget *above = widget->parentWidget(); above != window && above != nullptr;
             above = above->parentWidget())
            part = part || isLeaf(above);
        if (part)
            continue;
        const QRect place(widget->mapTo(window, QPoint(0, 0)), widget->size());
        // An empty label takes no room anyone sees.
        const auto *label = qobject_cast<const QLabel *>(widget);
        if (label != nullptr && label->text().isEmpty() && label->pixmap().isNull())
            continue;
        const QSize needs = textNeeds(widget);
        if (needs.width() > widget->width() || needs.height() > widget->height())
            found << QStringLiteral("cut: %1 is %2x%3, its text needs %4x%5")
                         .arg(nameOf(widget))
                         .arg(widget->width())
                         .arg(widget->height())
                         .arg(needs.width())
                         .arg(needs.height());
        if (!inside.contains(place))
            found << QStringLiteral("past the edge: %1").arg(nameOf(widget));
        for (const auto &[other, otherPlace] : shown) {
            if (place.intersects(otherPlace))
                found << QStringLiteral("overlap: %1 and %2").arg(nameOf(widget), nameOf(other));
        }
        shown.append({ widget, place });
    }
    return found;
}
