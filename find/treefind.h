// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <QStringMatcher>

#include "document/textview.h"
#include "find/treematches.h"
#include "find/utf8find.h"

#include <array>
#include <utility>
#include <vector>

class DocumentTree;
class OptionTexts;
class QModelIndex;

// What the find bar looks for: a text in node names, option values or both, with or without
// regard to letter case. An empty text matches nothing.
struct FindOptions {
    QString text;
    bool names = true;
    bool values = true;
    bool matchCase = false;
};

// Decides whether one node matches. A section matches by its name, an option by its name or its value.
class TreeMatcher {
public:
    explicit TreeMatcher(const FindOptions &options);

    [[nodiscard]] bool isEmpty() const { return m_empty; }
    [[nodiscard]] bool sectionMatches(const DocumentTree &tree, int section) const;
    [[nodiscard]] bool optionMatches(const DocumentTree &tree, int section, int option) const;
    // The same for the option of a section's texts; the matcher must not be empty.
    [[nodiscard]] bool optionMatches(const OptionTexts &texts, qsizetype option) const;
    // Whether the text is in the cell: a name when names are searched, a value when values are.
    [[nodiscard]] bool cellMatches(const QModelIndex &cell) const;

    // Whether the text holds the searched text.
    [[nodiscard]] bool contains(QAnyStringView text) const;
    // Every place where the searched text starts in the text, ascending, and the length it has
    // there. False when the text's encoding leaves the length open; then nothing is found.
    [[nodiscard]] bool findAll(QAnyStringView text, std::vector<qsizetype> &starts, qsizetype &length) const;
    // Whether indexIn() searches text of the given kind (Latin-1, UTF-8 or UTF-16). When it does
    // not, only contains() tells.
    [[nodiscard]] bool searchesIn(TextKind kind) const;
    // The first match in the text, of a kind searchesIn() takes, that starts at or after `from`
    // (in the text's code units): returns its start and sets `end`, or -1. A match's length may
    // vary with letter case in UTF-8.
    [[nodiscard]] qsizetype indexIn(QAnyStringView text, qsizetype from, qsizetype &end) const;

private:
    // The first place at or after `from` where the searched text starts, -1 when there is none.
    [[nodiscard]] qsizetype indexInLatin1(const unsigned char *text, qsizetype size, qsizetype from = 0) const;
    // How far the search moves on past each character (see indexInLatin1).
    std::array<qsizetype, 256> m_shift {};

    QStringMatcher m_matcher;
    Utf8Finder m_utf8;
    // The searched text as Latin-1 text holds it, letters folded to lower case unless case matters;
    // empty when Latin-1 text cannot hold it (see m_noLatin1Match) or it is empty.
    QByteArray m_latin1;
    // Whether no Latin-1 text can hold the searched text.
    bool m_noLatin1Match = false;
    bool m_names;
    bool m_values;
    bool m_matchCase;
    bool m_empty;
};

// Every matching node in display order, each once.
[[nodiscard]] TreeMatches findInTree(const DocumentTree &tree, const FindOptions &options);
