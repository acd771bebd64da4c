// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "document/optiontexts.h"
#include "document/textformat.h"

#include <QAbstractItemModel>
#include <QAnyStringView>
#include <QString>

#include <QByteArray>

#include <compare>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class IniText;

// One section of a document: its texts and its options' (held compactly, see OptionTexts). A
// loaded section's name stands where its options' texts do, until it changes; a name of its own and
// the value, which few sections have, are held apart.
class DocumentSection {
public:
    DocumentSection() = default;
    DocumentSection(const DocumentSection &other);
    DocumentSection &operator=(const DocumentSection &) = delete;

    [[nodiscard]] QString nameText() const;
    // The name where it is kept, without a copy; valid until the section next changes.
    [[nodiscard]] QAnyStringView nameView() const;
    [[nodiscard]] QString valueText() const { return m_texts ? m_texts->value : QString(); }
    void setName(const QString &text);
    void setValue(const QString &text);

    OptionTexts options;
    int image = 0;
    mutable int row = 0;
    // A place within the section's first header line in the file's text, or -1 (see
    // OptionTexts::origin()).
    qint32 origin = -1;

private:
    struct Texts {
        QString name; // unless options.nameBorrowed()
        QString value;
    };
    std::unique_ptr<Texts> m_texts;
};

// Sections and options built apart from any model, on any thread, then handed to a tree whole.
class DocumentContents {
public:
    [[nodiscard]] int sectionCount() const { return static_cast<int>(m_sections.size()); }
    int appendSection(const QString &name, qint64 origin = -1);
    // Room for `count` more options of the section with `units` characters of text between them.
    void reserveOptions(int section, qsizetype count, qsizetype units);
    void appendOption(int section, QAnyStringView name, QAnyStringView value, qint64 origin = -1);
    [[nodiscard]] OptionTexts &optionsOf(int section) { return m_sections[size_t(section)]->options; }
    // Puts the section at `from` in the place of the one at `to`, which goes.
    void moveSection(int from, int to);
    // Removes the sections from `count` on.
    void truncateSections(int count) { m_sections.resize(size_t(count)); }

private:
    friend class DocumentTree;
    std::vector<std::unique_ptr<DocumentSection>> m_sections;
};

// Where a node stands: a section (option -1) or one of its options.
struct NodePlace {
    int section = -1;
    int option = -1;
    friend bool operator==(const NodePlace &, const NodePlace &) = default;
    friend auto operator<=>(const NodePlace &, const NodePlace &) = default;
};

// Nodes out of a tree, held whole (texts, image indexes, a section's options) until they are put
// back where they stood. Section rows count the sections as they stand with these nodes in place.
class DocumentNodes {
public:
    DocumentNodes();
    ~DocumentNodes();
    DocumentNodes(DocumentNodes &&) noexcept;
    DocumentNodes &operator=(DocumentNodes &&) noexcept;

    // A new section without options, or a new option, to be put at the given place.
    [[nodiscard]] static DocumentNodes newSection(int row, const QString &name);
    [[nodiscard]] static DocumentNodes newOption(
        int section, int row, const QString &name, const QString &value, int image);

    // Adds a new section with new options of its own at the given row, and a new option at the given
    // row of a section. Rows count as the tree will stand with these nodes in place; add sections
    // in ascending rows, and options by ascending section, then row.
    void addSection(int row, const QString &name, const QString &value,
        const std::vector<std::pair<QString, QString>> &options, int optionImage);
    void addOption(int section, int row, const QString &name, const QString &value, int image);

    [[nodiscard]] bool empty() const { return m_sections.empty() && m_options.empty(); }
    // Where the nodes stand once they are back, in display order.
    [[nodiscard]] std::vector<NodePlace> places() const;

private:
    friend class DocumentTree;
    struct Options {
        int section = 0;
        std::vector<int> rows; // ascending
        OptionTexts texts; // one per row
    };
    std::vector<int> m_sectionRows; // ascending
    std::vector<std::unique_ptr<DocumentSection>> m_sections; // one per row
    std::vector<Options> m_options; // by ascending section
};

// The open document: an ordered list of sections, each with an ordered list of options. Column 0
// holds a node's name, column 1 an option's value (a section's column 1 is kept but never saved).
// Names need be neither unique nor non-empty. Sections are top-level rows; options are their
// children. Nothing deeper exists.
class DocumentTree : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { NameColumn = 0, ValueColumn = 1, ColumnCount = 2 };
    enum Role { ImageIndexRole = Qt::UserRole + 1 };
    enum ImageIndex { SectionImage = 0, OptionImage = 1 };

    explicit DocumentTree(QObject *parent = nullptr);
    ~DocumentTree() override;

    // QAbstractItemModel
    [[nodiscard]] QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    [[nodiscard]] QModelIndex parent(const QModelIndex &child) const override;
    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] bool hasChildren(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    // What Qt::AccessibleDescriptionRole answers for a cell: what the window knows of it beyond its
    // text (what a save would do to a name, a find match), for assistive technology to read out.
    using DescriptionSource = std::function<QString(const QModelIndex &index)>;
    void setDescriptionSource(DescriptionSource source) { m_descriptionSource = std::move(source); }

    // Plain access by position, for the loader, the saver and the export.
    [[nodiscard]] int sectionCount() const { return static_cast<int>(m_sections.size()); }
    [[nodiscard]] int optionCount(int section) const;
    [[nodiscard]] QString sectionText(int section, int column) const;
    // A section's name where it is kept, without a copy; valid until the section next changes.
    [[nodiscard]] QAnyStringView sectionNameView(int section) const;
    [[nodiscard]] QString optionText(int section, int option, int column) const;
    // An option's text where it is kept, without a copy; valid until the section next changes.
    [[nodiscard]] QAnyStringView optionTextView(int section, int option, int column) const;
    // Where the section was read from (see DocumentSection::origin).
    [[nodiscard]] qint64 sectionOrigin(int section) const { return m_sections[size_t(section)]->origin; }
    // Every option text of the section at once, for searches (see OptionTexts::allTexts).
    [[nodiscard]] const OptionTexts &optionTexts(int section) const { return m_sections[size_t(section)]->options; }

    // Appends a section after the last one; returns its row.
    int appendSection(const QString &name);
    // Appends an option after the section's last option (image index 1); returns its row.
    int appendOption(int section, const QString &name, const QString &value);
    // Lets a loader that knows how many options follow avoid regrowing the section's list.
    void reserveOptions(int section, int count);

    void setSectionText(int section, int column, const QString &text);
    void setOptionText(int section, int option, int column, const QString &text);

    [[nodiscard]] QModelIndex sectionIndex(int section, int column = NameColumn) const;
    [[nodiscard]] QModelIndex optionIndex(int section, int option, int column = NameColumn) const;
    // 0 for a section, 1 for an option, -1 for no node.
    [[nodiscard]] static int level(const QModelIndex &index);

    [[nodiscard]] int imageIndex(const QModelIndex &index) const;
    void setImageIndex(const QModelIndex &index, int image);

    // Removes every node.
    void clear();
    // Appends the given sections after the last one, reported as one reset.
    void append(DocumentContents &&contents);
    // A copy of every section and option, for another thread. The texts are shared with the tree
    // until one of them changes, so a copy costs a few bytes per option.
    [[nodiscard]] DocumentContents copyContents() const;
    // Removes the given sections and options (an option of a removed section may be among them).
    // A few runs of neighbouring rows are reported as row removals; more are reported as one
    // layout change, so that any selection costs a bounded number of notifications.
    void removeNodes(const QModelIndexList &nodes);

    // Takes the given nodes out of the tree as removeNodes() does, and hands them over whole.
    [[nodiscard]] DocumentNodes takeNodes(const QModelIndexList &nodes);
    // Puts nodes back where they stood when they were taken (or where new ones were meant to go),
    // with the same bounded notifications as a removal. The tree must stand as the taking left it.
    void putBack(DocumentNodes &&nodes);

    // Moves keep the moved node's texts and image index and are reported as row moves, so views
    // keep their persistent indexes. Destination rows count positions before the move, as
    // QAbstractItemModel::beginMoveRows does. Each returns false (and changes nothing) when the
    // move would leave the node where it is.
    bool moveSection(int from, int to);
    bool moveOption(int section, int option, int toSection, int toRow);
    // An option that leaves its section for the top level becomes a section without options that
    // keeps both of its texts; the new section stands at toRow.
    void optionToSection(int section, int option, int toRow);

    // A batch update: views are told once, at the end of the outermost batch, that everything
    // changed, instead of once per appended node. Pair every begin with an end (see TreeBatch).
    void beginBatch();
    void endBatch();
    [[nodiscard]] bool inBatch() const { return m_batchDepth > 0; }

    // The text format of the file the document was read from (UTF-8 for an untitled document).
    [[nodiscard]] const TextFormat &sourceFormat() const { return m_sourceFormat; }
    void setSourceFormat(const TextFormat &format) { m_sourceFormat = format; }

    // The file's text as it was read, whose lines a save that keeps the layout writes the tree
    // over; the nodes' origins are places in it. Null for a document that no file's text stands
    // behind (new, or saved without its layout since). The INI format layer parses it once and
    // keeps the parse here (see layoutTextOf() in ini/treeio.h), shared with the recovery copy.
    [[nodiscard]] const QByteArray &layoutBytes() const { return m_layoutBytes; }
    void setLayoutBytes(const QByteArray &bytes);
    [[nodiscard]] const std::shared_ptr<const IniText> &layoutParse() const { return m_layoutText; }
    void keepLayoutParse(std::shared_ptr<const IniText> text) const { m_layoutText = std::move(text); }
    // A parse of a text that no bytes stand behind here (the recovery copy's worker).
    void setLayoutText(std::shared_ptr<const IniText> text);

Q_SIGNALS:
    // A cell's text was changed through setData() (an in-place edit), not by a program call.
    void edited();
    // The same edit, with the cell and the text it held before; emitted just before edited().
    void textEdited(const QModelIndex &index, const QString &oldText);

private:
    using Section = DocumentSection;

    [[nodiscard]] Section *sectionOf(const QModelIndex &index) const;
    [[nodiscard]] int rowOf(const Section *section) const;
    void renumberSections() const;
    void removeInLayoutChange(
        std::vector<bool> &&sectionGone, std::vector<std::vector<int>> &&optionsGone, DocumentNodes &taken);
    void emitCellChanged(const QModelIndex &index);

    std::vector<std::unique_ptr<Section>> m_sections;
    std::vector<std::unique_ptr<Section>> m_removedSections;
    mutable bool m_rowsDirty = false;
    int m_batchDepth = 0;
    TextFormat m_sourceFormat;
    QByteArray m_layoutBytes;
    mutable std::shared_ptr<const IniText> m_layoutText;
    DescriptionSource m_descriptionSource;
};

// Begins a batch update of the tree and ends it on every way out of the scope.
class TreeBatch {
public:
    explicit TreeBatch(DocumentTree &tree)
        : m_tree(tree)
    {
        m_tree.beginBatch();
    }
    ~TreeBatch() { m_tree.endBatch(); }
    TreeBatch(const TreeBatch &) = delete;
    TreeBatch &operator=(const TreeBatch &) = delete;

private:
    DocumentTree &m_tree;
};
