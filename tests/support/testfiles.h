// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

class DocumentTree;
class TIniFile;

// Small helpers shared by the document tests.
namespace testfiles {

QByteArray readBytes(const QString &fileName);
void writeBytes(const QString &fileName, const QByteArray &bytes);

// A tree's content as plain data: sections with their (name, value) options.
using Options = QList<QPair<QString, QString>>;
using Content = QList<QPair<QString, Options>>;
Content contentOf(const DocumentTree &tree);
void fill(DocumentTree &tree, const Content &content);

// What the store reads from a file, as "[section]\nname=value\n" lines.
QString dump(TIniFile &ini);

// True when this process may open files whatever their permission bits say (root).
bool permissionsBypassed();

} // namespace testfiles
