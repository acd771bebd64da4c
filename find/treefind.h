// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <QStringMatcher>

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

// A node by position: option -1 for the section itself.
struct NodePosition {
    int section = 0;
    int option = -1;
    friend bool operator==(const NodePosition &, const NodePosition &) = default;
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
    // Every match in UTF-8 text as its start and end (a match's length in bytes may vary with letter
    // case), ascending. False when the searched text has no UTF-8 search; then nothing is found.
    [[nodiscard]] bool findAllUtf8(QUtf8StringView text, std::vector<std::pair<qsizetype, qsizetype>> &matches) const;

private:
    // The first place at or after `from` where the searched text starts, -1 when there is none.
    [[nodiscard]] qsizetype indexInLatin1(const unsigned char *text, qsizetype size, qsizetype from = 0) const;
    // How far the search moves on past each character (see indexInLatin1).
    std::array<qsizetype, 256> m_shift {};

    QStringMatcher m_matcher;
    Utf8Finder m_utf8;
    // The searched text in Latin-1, letters folded to lower case unless case matters; empty when it
    // does not fit Latin-1 (then every text is searched through m_matcher).
    QByteArray m_latin1;
    bool m_names;
    bool m_values;
    bool m_matchCase;
    bool m_empty;
};

// Every matching node in display order, each once.
[[nodiscard]] std::vector<NodePosition> findInTree(const DocumentTree &tree, const FindOptions &options);
