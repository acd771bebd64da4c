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
        ReadsAsSection, // the saved line reads as a section header
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
// a pass over the section names; a reset or a layout change recomputes everything. The owner may
// have a large change marked in slices (setSliceOptions), so that a newly loaded file of a million
// options keeps a window answering; until a section's turn comes, its marks are the ones it had.
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
    // How many options a change marks at once, at least, before the rest is left pending; 0 (the
    // default) marks every change whole.
    void setSliceOptions(qsizetype options) { m_sliceOptions = options; }
    // Whether some marks are still to be worked out: the owner calls markMore() until none are.
    [[nodiscard]] bool isPending() const { return !m_touched.isEmpty(); }
    // Marks the next slice of what is pending, looking at the tree as it is now.
    void markMore() { update(); }
    // Works out every pending mark at once.
    void finishNow();

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
    // Marks the options of the sections saved as one; `writer` becomes the index in `sections` of
    // the one the saver writes the group with (the first with a named option), or -1.
    void markGroup(const QString &groupKey, const std::vector<int> &sections, int &writer);
    void markSections(const std::vector<int> &sections, int writer);

    // Lines of a group that read back as the header of section `into`, and the option names that
    // the lines after them load into it. `from` is the group's writing section when last marked.
    struct Moved {
        QString into;
        QSet<QString> names;
        int from = -1;
        bool operator==(const Moved &) const = default;
    };
    void noteMoved(const QString &groupKey, std::vector<Moved> moved, int writerSection);
    // An option that a line of its group moved into another section, with the name it loads as.
    struct MovedOption {
        int section;
        int option;
        size_t run; // its line's index in the group's Moved list
        QString name;
    };
    // Marks the moved options whose names the section they move into holds already by then: its
    // own options when it is written above them, and the options moved into it from above.
    void markMovedOptions(const QString &groupKey, const std::vector<int> &sections, const std::vector<Moved> &moved,
        const std::vector<MovedOption> &options, int writerSection);
    // The names a group's options load back as, up to its first line that reads as a header.
    [[nodiscard]] QSet<QString> ownLoadedNames(const std::vector<int> &sections) const;
    // After a group is marked: the groups with lines that move options into it are marked again
    // when its place or its own names changed.
    void noteTarget(const QString &key, const std::vector<int> &sections);
    void touchGroup(const QString &key);
    // The section that a group is written with, or -1.
    [[nodiscard]] int writerOf(const QString &key) const;

    const DocumentTree *m_tree;
    std::vector<SectionState> m_sections;
    QSet<QString> m_touched;
    QHash<QString, int> m_written; // per key: the group's writing section, as an index in its group, or -1
    QHash<QString, std::vector<Moved>> m_moved; // per key, for the groups with lines that read as headers
    struct Target {
        int writer = -1;
        QSet<QString> names;
        bool operator==(const Target &) const = default;
    };
    QHash<QString, Target> m_targets; // per key of a group that lines of some group move options into
    QHash<QString, std::vector<int>> m_groups; // the sections that share a stored name, in file order
    bool m_sectionsChanged = true;
    int m_scan = 0; // markTouched goes on from this section
    qsizetype m_sliceOptions = 0;
};
