// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "formsettings/storedproperty.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <functional>
#include <vector>

class MRUManager;
class QWidget;
class SettingsStore;

// Keeps a window's placement, its recent-files list and some of its components' properties in the
// settings store between runs. The window restores them when it is first shown (once it has taken
// its designed position, before its own show handler runs) and saves them when it is allowed to
// close, or, when no save has happened since the restore, while it is destroyed. Nothing is saved
// in a run whose restore failed, so a store that could not be read is never overwritten with the
// built-in placement.
class FormStorage : public QObject {
    Q_OBJECT

public:
    using ErrorHandler = std::function<void(const QString &message)>;

    // The window becomes the parent; objectName "rxRegistry".
    explicit FormStorage(QWidget *form);

    // The file of the store; the user's own unless set.
    void setStoreFileName(const QString &fileName) { m_storeFileName = fileName; }
    [[nodiscard]] const QString &storeFileName() const { return m_storeFileName; }

    // The key path of the window's values below the application key.
    [[nodiscard]] const QString &section() const { return m_section; }
    // A stored layout older than this version is not restored; every save writes it.
    void setVersion(int version) { m_version = version; }
    [[nodiscard]] int version() const { return m_version; }
    void setActive(bool active) { m_active = active; }
    [[nodiscard]] bool isActive() const { return m_active; }

    // Binds "Component.Property" entries to the window's components; entries that cannot be bound
    // are dropped.
    void setStoredProps(const QStringList &entries);
    [[nodiscard]] QStringList storedProps() const;

    // The recent-files list and its key below the section ("TfrmSaldrixMain.MRUManager1" for the
    // main window, as stored files have it).
    void setRecentFiles(MRUManager *recentFiles, const QString &key)
    {
        m_recentFiles = recentFiles;
        m_recentFilesKey = key;
    }
    [[nodiscard]] QString recentFilesSection() const;

    // Where store failures go; without a handler they are only logged.
    void setErrorHandler(ErrorHandler handler) { m_errorHandler = std::move(handler); }

    void restoreFormPlacement();
    void saveFormPlacement();
    // The window's close was allowed: save while it still has its platform window.
    void formCloseAllowed();
    // The window is being destroyed: save once more unless a save happened since the restore.
    void formDestroying();

    [[nodiscard]] bool isRestored() const { return m_restored; }
    [[nodiscard]] bool isSaved() const { return m_saved; }
    // True when the last restore placed the window at a stored rectangle.
    [[nodiscard]] bool placementApplied() const { return m_placementApplied; }

    // The rectangle a stored normal rectangle becomes: as it stands when it meets a screen,
    // otherwise its size (no larger than the available area) centred on the primary screen.
    [[nodiscard]] static QRect visibleNormalRect(const QRect &stored);

private:
    void restorePlacement(const SettingsStore &store);
    void savePlacement(SettingsStore &store) const;
    [[nodiscard]] QString readPositionText(const SettingsStore &store, const QString &name) const;
    void reportError(const QString &message) const;

    QPointer<QWidget> m_form;
    QString m_storeFileName;
    QString m_section = QStringLiteral("Main");
    int m_version = 1000;
    bool m_active = true;
    std::vector<StoredProperty> m_properties;
    QPointer<MRUManager> m_recentFiles;
    QString m_recentFilesKey;
    ErrorHandler m_errorHandler;

    bool m_restored = false;
    bool m_saved = false;
    bool m_destroying = false;
    bool m_placementApplied = false;
};
