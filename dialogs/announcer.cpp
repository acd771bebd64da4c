// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>

namespace {

QAccessibleInterface *announcerAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("Announcer") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(announcerAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("Announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    setAccessibleName(tr("Announcements"));
    hide();
}

void Announcer::announce(const QString &text)
{
    if (text.isEmpty() || m_pending.contains(text))
        return;
    if (m_pending.isEmpty())
        QTimer::singleShot(0, this, &Announcer::speak);
    m_pending << text;
}

void Announcer::speak()
{
    if (m_pending.isEmpty())
        return;
    setAccessibleName(m_pending.join(QStringLiteral(". ")));
    m_pending.clear();
    // Hidden and shown again, so that the same text twice in a row is spoken twice.
    hide();
    show();
}
