// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/textformat.h"

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <optional>

// Random INI files built line by line, and what one write or delete must make of them, worked out
// on the lines alone: an oracle for the claim that such an edit keeps every other byte.
namespace randomini {

struct Line {
    enum class Kind { Header, Option, Other };
    Kind kind = Kind::Other;
    QString text; // without its line end
    QString name; // a header's or an option's name as the reader takes it
    int section = -1; // the header line an option belongs to, -1 before the first header
    bool lineEnd = true; // false only for a last line without a line end
};

struct File {
    QList<Line> lines;
    TextFormat format; // encoding and mark as written; the line-end style of every line end
    bool exists = true;
};

struct Edit {
    enum class Kind { Set, DeleteOption, DeleteSection };
    Kind kind = Kind::Set;
    QString section; // as given, possibly with blanks around
    QString key;
    QString value;
};

File randomFile(QRandomGenerator &random);
Edit randomEdit(QRandomGenerator &random, const File &file);

// The file's bytes on disk.
QByteArray bytesOf(const File &file);
// What the file holds after the edit; nothing when the edit must be refused (a Latin-1 file that
// cannot hold the new text). A delete of what is not there predicts the bytes unchanged.
std::optional<QByteArray> predicted(const File &file, const Edit &edit);

} // namespace randomini
