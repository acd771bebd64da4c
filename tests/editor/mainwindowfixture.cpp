// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindowfixture.h"

#include "disk/recoverycopy.h"
#include "settings/settingsstore.h"

#include <QFile>
#include <QLabel>
#include <QTest>

MainWindowFixture::MainWindowFixture()
{
    // Each window keeps its settings in its own folder, so that no test sees another's.
    SettingsStore::setUserFileName(dir.filePath(QStringLiteral("config/Yorv/YorvSaldrix.conf")));
    // ... and its recovery copies.
    RecoveryCopy::setFolder(dir.filePath(QStringLiteral("state/recovery")));
    window = std::make_unique<TfrmSaldrixMain>(dialogs);
}

QString MainWindowFixture::writeFile(const QString &name, const QByteArray &content) const
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write test file %s", qPrintable(file.fileName()));
    return file.fileName();
}

QByteArray MainWindowFixture::readFile(const QString &name) const
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QAction *MainWindowFixture::action(const char *name) const
{
    auto *found = window->findChild<QAction *>(QLatin1String(name));
    if (found == nullptr)
        qFatal("no action %s", name);
    return found;
}

void MainWindowFixture::trigger(const char *name) const
{
    action(name)->trigger();
}

void MainWindowFixture::open(const QString &fileName)
{
    dialogs.fileAnswers << fileName;
    trigger("actFileOpen");
}

QString MainWindowFixture::outline() const
{
    QStringList sections;
    for (int s = 0; s < tree().sectionCount(); ++s) {
        QStringList options;
        for (int o = 0; o < tree().optionCount(s); ++o)
            options << tree().optionText(s, o, 0) + u'=' + tree().optionText(s, o, 1);
        sections << tree().sectionText(s, 0) + u'(' + options.join(u',') + u')';
    }
    return sections.join(u' ');
}

QString MainWindowFixture::modifiedPanel() const
{
    return window->findChild<QLabel *>(QStringLiteral("StatusPanel1"))->text();
}

QString MainWindowFixture::focusedName() const
{
    const QModelIndex focused = view().focusedNode();
    return focused.isValid() ? focused.data().toString() : QStringLiteral("<none>");
}

QStringList MainWindowFixture::selectedNames() const
{
    QStringList names;
    for (const QModelIndex &node : view().selectedNodes())
        names << node.data().toString();
    return names;
}
