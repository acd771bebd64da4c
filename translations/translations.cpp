// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "translations/translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

bool install(const QLocale &locale, const QString &name, const QString &folder, QStringList &installed)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, name, QStringLiteral("_"), folder)
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed << QFileInfo(translator->filePath()).completeBaseName();
    return true;
}

} // namespace

QStringList installTranslations(const QLocale &locale)
{
    QStringList installed;
    // Qt's own first: the translator installed last is asked first, so the program's own texts win
    // where both have one. Only Qt's base catalogue: "qt_xx" names the catalogues of every Qt
    // module, and fails to load when one of them is not installed.
    install(locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath), installed);
    install(locale, QStringLiteral("yorvsaldrix"), QStringLiteral(":/i18n"), installed);
    return installed;
}
