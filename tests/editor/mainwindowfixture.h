// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/documenttree.h"
#include "editor/saldrixmain.h"
#include "scripteddialogs.h"
#include "treeview/treelist.h"

#include <QAction>
#include <QTemporaryDir>

#include <memory>

// A real main window with scripted dialogs and a temporary folder for its files.
struct MainWindowFixture {
    MainWindowFixture();

    // Writes an INI file into the temporary folder and gives its path.
    QString writeFile(const QString &name, const QByteArray &content) const;
    [[nodiscard]] QString path(const QString &name) const { return dir.filePath(name); }
    [[nodiscard]] QByteArray readFile(const QString &name) const;

    [[nodiscard]] QAction *action(const char *name) const;
    // A component of the window found by its objectName.
    template <typename T> [[nodiscard]] T *child(const char *name) const
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (found == nullptr)
            qFatal("no component %s", name);
        return found;
    }
    void trigger(const char *name) const;

    // Opens a file through File, Open on an unmodified window.
    void open(const QString &fileName);
    // Sections of the document with their options, "a(x=1,y=2) b()", for one-line comparisons.
    [[nodiscard]] QString outline() const;
    [[nodiscard]] QString caption() const { return window->windowTitle(); }
    [[nodiscard]] QString modifiedPanel() const;
    [[nodiscard]] QString focusedName() const;
    [[nodiscard]] QStringList selectedNames() const;

    [[nodiscard]] DocumentTree &tree() const { return *window->document(); }
    [[nodiscard]] TreeList &view() const { return *window->treeList(); }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmSaldrixMain> window;
};

// The sample document used throughout: two sections, the first with two options.
inline const QByteArray SampleIni = "[a]\nx=1\ny=2\n[b]\nz=3\n";
