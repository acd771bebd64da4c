// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

QString scratchFile(const char *name)
{
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/saldrix-fuzz-XXXXXX"));
    if (!folder.isValid())
        brokenPromise("a scratch folder can be made");
    return folder.filePath(QString::fromLatin1(name));
}

void writeFile(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        brokenPromise("the scratch file can be written", path);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void brokenPromise(const char *promise, const QString &detail)
{
    std::fprintf(stderr, "Broken promise: %s\n%s\n", promise, qUtf8Printable(detail));
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzzing
