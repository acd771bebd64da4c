// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QModelIndex>
#include <QObject>
#include <QSet>
#include <QString>

#include <vector>

class DocumentTree;

// What saving the document and loading the file back does to one node's name (or, for an option,
// to the value it comes back with). A node without a mark comes back as it is.
struct NameMark {
    enum class Kind : quint8 {
        None,
        NotSavedEmpty, // the saver skips a node with an empty name, and a section's options with it
        NotSavedNoOptions, // a section is written only through its options
        SectionMerged, // another section of the same stored name stands above
        OptionMergedWins, // the same stored name stands above; a name written again takes the last value
        OptionMergedLoses, // ... and a later one of the same name comes after this one
        ValueReplaced, // the first of several: keeps its place, takes the last one's value
        LoadsBackAs, // the stored name reads back differently (blanks, line breaks, '=')
        ValueLoadsBackAs, // the value reads back trimmed or without its line breaks
        ReadsAsComment, // the line starts with ';' or '#'
        ReadsAsSection, // the line starts with '[' and holds a ']'
        HiddenByEarlier, // reads back under a name that an option above already has; the first is kept
    };
    Kind kind = Kind::None;
    QString name; // the other node's name or the text that comes back, as the kind says

    [[nodiscard]] bool isNone() const { return kind == Kind::None; }
    // The tooltip: what a save does to the node.
    [[nodiscard]] QString text() const;
    friend bool operator==(const NameMark &, const NameMark &) = default;

    Q_DECLARE_TR_FUNCTIONS(NameMark)
};

// The marks of a document, kept up to date with every change the model reports. An edit costs the
// options of the sections that share the edited section's stored name (they are saved as one) and
// a pass over the section names; a reset or a layout change recomputes everything. A change that
// touches more than SliceOptions options is marked in slices of about that many, one slice per
// pass of the event loop, so that a newly loaded file of a million options keeps the window
// answering; until a section's turn comes, its marks are the ones it had.
class NameMarks : public QObject {
    Q_OBJECT

public:
    explicit NameMarks(const DocumentTree *tree, QObject *parent = nullptr);

    [[nodiscard]] NameMark sectionMark(int section) const;
    [[nodiscard]] NameMark optionMark(int section, int option) const;
    // The mark of a node's name cell; none for other columns.
    [[nodiscard]] NameMark markAt(const QModelIndex &index) const;
    [[nodiscard]] qsizetype markedCount() const;

    void recomputeAll();
    // Whether some marks are still to be worked out in a later pass of the event loop.
    [[nodiscard]] bool isPending() const { return !m_touched.isEmpty(); }
    // Works out every pending mark at once.
    void finishNow();

    static constexpr qsizetype SliceOptions = 20'000;

Q_SIGNALS:
    // Some marks may have changed; a view repaints the names it shows.
    void marksChanged();

private:
    struct SectionState {
        QString key; // the name as stored; sections with the same key are saved as one
        NameMark mark;
        QHash<int, NameMark> options; // only the marked ones
    };

    void sectionsInserted(int first, int last);
    void sectionsRemoved(int first, int last);
    void sectionsMoved(int first, int last, int to);
    void touchSection(int section);
    void update();
    // Marks the touched groups in section order until `budget` options have been marked (or all
    // of them, when budget is 0), and asks for another pass when some are left.
    void markTouched(qsizetype budget);
    void markGroup(const std::vector<int> &sections, bool &written);
    void markSections(const std::vector<int> &sections, bool written);
    [[nodiscard]] bool plainLine(int section, int option) const;

    const DocumentTree *m_tree;
    std::vector<SectionState> m_sections;
    QSet<QString> m_touched;
    QHash<QString, bool> m_written; // per key: whether any option of the group is written
    QHash<QString, std::vector<int>> m_groups; // the sections that share a stored name, in file order
    bool m_sectionsChanged = true;
    int m_scan = 0; // markTouched goes on from this section
    bool m_passAsked = false;
};
