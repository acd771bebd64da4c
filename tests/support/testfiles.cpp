// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testfiles.h"

#include "document/documenttree.h"
#include "ini/inifile.h"

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace testfiles {

QByteArray readBytes(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void writeBytes(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(fileName));
}

Content contentOf(const DocumentTree &tree)
{
    Content content;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        Options options;
        for (int o = 0; o < tree.optionCount(s); ++o)
            options.append(
                { tree.optionText(s, o, DocumentTree::NameColumn), tree.optionText(s, o, DocumentTree::ValueColumn) });
        content.append({ tree.sectionText(s, DocumentTree::NameColumn), options });
    }
    return content;
}

void fill(DocumentTree &tree, const Content &content)
{
    for (const auto &[name, options] : content) {
        const int s = tree.appendSection(name);
        for (const auto &[option, value] : options)
            tree.appendOption(s, option, value);
    }
}

QString dump(TIniFile &ini)
{
    QString text;
    QStringList sections;
    QStringList options;
    ini.GetSectionNames(sections);
    for (const QString &section : sections) {
        text += u'[' + section + QStringLiteral("]\n");
        ini.GetOptionNames(section, options);
        for (const QString &option : options)
            text += option + u'=' + ini.ReadValue(section, option, QStringLiteral("<default>")) + u'\n';
    }
    return text;
}

bool permissionsBypassed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("probe"));
    writeBytes(path, "x");
    QFile::setPermissions(path, QFileDevice::Permissions());
    return ::access(QFile::encodeName(path).constData(), R_OK) == 0;
}

} // namespace testfiles
