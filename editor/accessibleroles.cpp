// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/accessibleroles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

namespace {

// A menu item that carries a check mark: a check box, checked or not, that toggles when pressed.
class CheckItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CheckItemAccessible(QMenu *menu, QAction *action)
        : m_menu(menu)
        , m_action(action)
    {
    }

    [[nodiscard]] bool isValid() const override { return m_menu != nullptr && m_action != nullptr; }
    [[nodiscard]] QObject *object() const override { return m_action; }
    [[nodiscard]] QWindow *window() const override { return m_menu != nullptr ? m_menu->windowHandle() : nullptr; }
    [[nodiscard]] QAccessibleInterface *focusChild() const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_menu.data());
    }
    [[nodiscard]] QAccessibleInterface *child(int) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        switch (kind) {
        case QAccessible::Name:
            return QString(m_action->text()).remove(u'&');
        case QAccessible::Description:
            return m_action->statusTip();
        case QAccessible::Accelerator:
            return m_action->shortcut().toString(QKeySequence::NativeText);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override { }
    [[nodiscard]] QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = m_menu->actionGeometry(m_action);
        return QRect(m_menu->mapToGlobal(local.topLeft()), local.size());
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::CheckBox; }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.checkable = true;
        s.checked = m_action->isChecked();
        s.disabled = !m_action->isEnabled();
        s.focusable = true;
        s.invisible = !m_menu->isVisible() || !m_action->isVisible();
        s.focused = m_menu->activeAction() == m_action;
        s.hotTracked = s.focused;
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    [[nodiscard]] QStringList actionNames() const override { return { toggleAction() }; }
    void doAction(const QString &name) override
    {
        if (isValid() && m_action->isEnabled() && (name == toggleAction() || name == pressAction()))
            m_action->trigger();
    }
    [[nodiscard]] QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<QMenu> m_menu;
    QPointer<QAction> m_action;
};

// A widget whose role Qt does not know, with the name it is told by when it has none of its own.
class RoleAccessible : public QAccessibleWidget {
public:
    RoleAccessible(QWidget *widget, QAccessible::Role role, const char *name)
        : QAccessibleWidget(widget, role)
        , m_name(name)
    {
    }
    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            text = QCoreApplication::translate("TfrmSaldrixMain", m_name);
        return text;
    }

private:
    const char *m_name;
};

// The tool bar's button for the buttons that do not fit: pressed, it shows them.
class ExtensionAccessible : public RoleAccessible {
public:
    explicit ExtensionAccessible(QWidget *button)
        : RoleAccessible(button, QAccessible::ButtonMenu, QT_TRANSLATE_NOOP("TfrmSaldrixMain", "More tool bar buttons"))
    {
    }
    [[nodiscard]] QStringList actionNames() const override
    {
        return QStringList { showMenuAction() } + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override
    {
        if (name == showMenuAction() || name == pressAction())
            static_cast<QToolButton *>(widget())->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface *trueRole(const QString &className, QObject *object)
{
    if (className == QLatin1String("QAction")) {
        auto *action = static_cast<QAction *>(object);
        if (!action->isCheckable() || action->isSeparator())
            return nullptr;
        for (QObject *owner : action->associatedObjects()) {
            if (auto *menu = qobject_cast<QMenu *>(owner))
                return new CheckItemAccessible(menu, action);
        }
        return nullptr;
    }
    if (!object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("QFrame")) {
        const QFrame::Shape shape = static_cast<QFrame *>(widget)->frameShape();
        if (shape == QFrame::HLine || shape == QFrame::VLine)
            return new QAccessibleWidget(widget, QAccessible::Separator);
        return nullptr;
    }
    if (className == QLatin1String("QToolBarSeparator"))
        return new QAccessibleWidget(widget, QAccessible::Separator);
    // Screen readers know no grip role (the bus calls it unknown): the grip is a picture to drag.
    if (className == QLatin1String("QSizeGrip"))
        return new RoleAccessible(widget, QAccessible::Graphic, QT_TRANSLATE_NOOP("TfrmSaldrixMain", "Size grip"));
    if (className == QLatin1String("QToolBarExtension"))
        return new ExtensionAccessible(widget);
    return nullptr;
}

} // namespace

void installAccessibleRoles()
{
    static const bool installed = [] {
        QAccessible::installFactory(trueRole);
        return true;
    }();
    Q_UNUSED(installed);
}
