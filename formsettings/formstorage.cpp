// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formsettings/formstorage.h"

#include "document/saldrixerror.h"
#include "formsettings/mrumanager.h"
#include "settings/placementtext.h"
#include "settings/settingsstore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

const QString FormVersionName = QStringLiteral("FormVersion");
const QString FlagsName = QStringLiteral("Flags");
const QString ShowCmdName = QStringLiteral("ShowCmd");
const QString PixelsPerInchName = QStringLiteral("PixelsPerInch");
const QString MinMaxPosName = QStringLiteral("MinMaxPos");
const QString NormPosName = QStringLiteral("NormPos");
const QString VisibleName = QStringLiteral("Visible");

// Placement flag: the window goes back to maximized when it is restored from minimized.
constexpr int RestoreToMaximized = 2;

// The window's placement in the terms the store keeps.
struct Placement {
    int flags = 0;
    int showCmd = 0;
    QPoint minPosition { -1, -1 };
    QPoint maxPosition { -1, -1 };
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

QSize primaryScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

int screenPixelsPerInch()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? qRound(screen->logicalDotsPerInch()) : 96;
}

Placement placementOf(const QWidget &form)
{
    Placement placement;
    const Qt::WindowStates state = form.windowState();
    if (!form.isVisible())
        placement.showCmd = 0;
    else if (state & Qt::WindowMinimized)
        placement.showCmd = 2;
    else if (state & Qt::WindowMaximized)
        placement.showCmd = 3;
    else
        placement.showCmd = 1;
    if ((state & Qt::WindowMinimized) && (state & Qt::WindowMaximized))
        placement.flags = RestoreToMaximized;
    // A maximized window's frame lies just outside the screen.
    const int frame = form.geometry().left() - form.frameGeometry().left();
    placement.maxPosition = QPoint(-frame, -frame);
    QRect normal = form.normalGeometry();
    if (!normal.isValid())
        normal = form.geometry();
    placement.left = normal.x();
    placement.top = normal.y();
    placement.right = normal.x() + normal.width();
    placement.bottom = normal.y() + normal.height();
    return placement;
}

} // namespace

FormStorage::FormStorage(QWidget *form)
    : QObject(form)
    , m_form(form)
    , m_storeFileName(SettingsStore::userFileName())
{
    setObjectName(QStringLiteral("rxRegistry"));
}

void FormStorage::setStoredProps(const QStringList &entries)
{
    m_properties.clear();
    for (const QString &entry : entries) {
        if (std::optional<StoredProperty> property = StoredProperty::bind(m_form, entry))
            m_properties.push_back(std::move(*property));
    }
}

QStringList FormStorage::storedProps() const
{
    QStringList result;
    for (const StoredProperty &property : m_properties)
        result.append(property.valueName());
    return result;
}

QString FormStorage::recentFilesSection() const
{
    return m_section + QLatin1Char('\\') + m_recentFilesKey;
}

void FormStorage::restoreFormPlacement()
{
    if (!m_active || m_form == nullptr)
        return;
    m_saved = false;
    m_placementApplied = false;
    catchErrors(
        [this] {
            const SettingsStore store(m_storeFileName);
            if (store.readInteger(m_section, FormVersionName, 0) >= m_version) {
                restorePlacement(store);
                if (m_recentFiles != nullptr)
                    m_recentFiles->load(store, recentFilesSection());
                m_restored = true;
                for (StoredProperty &property : m_properties) {
                    const QString value = store.readString(m_section, property.valueName(), property.read());
                    property.write(value.trimmed());
                }
            }
            m_restored = true;
        },
        [this](const QString &message) { reportError(message); });
}

QString FormStorage::readPositionText(const SettingsStore &store, const QString &name) const
{
    const QString text = store.readString(m_section, name + screenSizeSuffix(primaryScreenSize()), QString());
    return text.isEmpty() ? store.readString(m_section, name, QString()) : text;
}

void FormStorage::restorePlacement(const SettingsStore &store)
{
    QWidget &form = *m_form;
    const Placement current = placementOf(form);
    const int flags = store.readInteger(m_section, FlagsName, current.flags);
    const QString minMaxText = readPositionText(store, MinMaxPosName);
    const QString normalText = readPositionText(store, NormPosName);
    const int pixelsPerInch = store.readInteger(m_section, PixelsPerInchName, screenPixelsPerInch());
    // A placement taken at another resolution would put the window somewhere meaningless.
    if ((minMaxText.isEmpty() && normalText.isEmpty()) || pixelsPerInch != screenPixelsPerInch())
        return;

    // The minimized and maximized positions are the window system's business on this platform;
    // they are kept in the store for the layout's sake only.
    const auto normal = parseFourIntegers(normalText);
    int left = normal[0].value_or(current.left);
    int top = normal[1].value_or(current.top);
    int right = normal[2].value_or(current.right);
    int bottom = normal[3].value_or(current.bottom);
    if (form.minimumSize() == form.maximumSize()) {
        right = left + (current.right - current.left);
        bottom = top + (current.bottom - current.top);
    }
    if (left < right) {
        form.setGeometry(visibleNormalRect(QRect(left, top, right - left, bottom - top)));
        m_placementApplied = true;
    }

    switch (showStateOf(store.readInteger(m_section, ShowCmdName, 0))) {
    case ShowState::Minimized: {
        // Shown normal first; the minimize follows once the window is up.
        const Qt::WindowStates later
            = Qt::WindowMinimized | ((flags & RestoreToMaximized) != 0 ? Qt::WindowMaximized : Qt::WindowNoState);
        form.setWindowState(Qt::WindowNoState);
        QTimer::singleShot(0, &form, [form = m_form, later] {
            if (form != nullptr)
                form->setWindowState(later);
        });
        break;
    }
    case ShowState::Maximized:
        form.setWindowState(Qt::WindowMaximized);
        break;
    case ShowState::Normal:
        form.setWindowState(Qt::WindowNoState);
        break;
    }
}

QRect FormStorage::visibleNormalRect(const QRect &stored)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        if (screen->geometry().intersects(stored))
            return stored;
    }
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary == nullptr)
        return stored;
    const QRect available = primary->availableGeometry();
    QRect rect(QPoint(0, 0), stored.size().boundedTo(available.size()));
    rect.moveCenter(available.center());
    return rect;
}

void FormStorage::saveFormPlacement()
{
    if (m_form == nullptr || (m_active && !m_restored))
        return;
    catchErrors(
        [this] {
            SettingsStore store(m_storeFileName);
            store.writeInteger(m_section, FormVersionName, m_version);
            savePlacement(store);
            if (m_recentFiles != nullptr)
                m_recentFiles->save(store, recentFilesSection());
            for (const StoredProperty &property : m_properties)
                store.writeString(m_section, property.valueName(), property.read().trimmed());
            store.close();
            m_saved = true;
        },
        [this](const QString &message) { reportError(message); });
}

void FormStorage::savePlacement(SettingsStore &store) const
{
    const Placement placement = placementOf(*m_form);
    const QString suffix = screenSizeSuffix(primaryScreenSize());
    const QString minMax = formatFourIntegers(
        placement.minPosition.x(), placement.minPosition.y(), placement.maxPosition.x(), placement.maxPosition.y());
    const QString normal = formatFourIntegers(placement.left, placement.top, placement.right, placement.bottom);
    store.writeInteger(m_section, FlagsName, placement.flags);
    store.writeInteger(m_section, ShowCmdName, placement.showCmd);
    store.writeInteger(m_section, PixelsPerInchName, screenPixelsPerInch());
    store.writeString(m_section, MinMaxPosName + suffix, minMax);
    store.writeString(m_section, MinMaxPosName, minMax);
    store.writeString(m_section, NormPosName + suffix, normal);
    store.writeString(m_section, NormPosName, normal);
    store.writeBool(m_section, VisibleName, m_destroying);
}

void FormStorage::formCloseAllowed()
{
    if (m_form != nullptr && m_form->testAttribute(Qt::WA_WState_Created))
        saveFormPlacement();
}

void FormStorage::formDestroying()
{
    if (m_saved)
        return;
    m_destroying = true;
    saveFormPlacement();
    m_destroying = false;
}

void FormStorage::reportError(const QString &message) const
{
    if (m_errorHandler)
        m_errorHandler(message);
    else
        qWarning("%s", qPrintable(message));
}
