// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/documenttree.h"

#include "document/textrules.h"
#include "document/textview.h"

#include <QtGlobal>

#include <algorithm>
#include <utility>

namespace {

// A typed text beyond Latin-1 goes to its section as UTF-8, the form in which a UTF-8 file's texts
// stay, so that the section is searched and saved without decoding. A UTF-16 document keeps such
// texts as UTF-16, and so does a text with a lone surrogate, which UTF-8 cannot hold.
class TypedText {
public:
    TypedText(const QString &text, const TextFormat &format)
        : m_text(text)
    {
        const bool utf16
            = format.encoding == TextFormat::Encoding::Utf16LE || format.encoding == TextFormat::Encoding::Utf16BE;
        if (!utf16 && !fitsLatin1(text) && !holdsLoneSurrogate(text))
            m_utf8 = text.toUtf8();
    }
    [[nodiscard]] QAnyStringView view() const
    {
        return m_utf8.isNull() ? QAnyStringView(m_text) : QAnyStringView(QUtf8StringView(m_utf8));
    }

private:
    const QString &m_text;
    QByteArray m_utf8;
};

} // namespace

DocumentTree::DocumentTree(QObject *parent)
    : QAbstractItemModel(parent)
{
}

DocumentTree::~DocumentTree() = default;

// Section indexes carry no pointer; option indexes carry their section, whose row is cached and
// renumbered lazily after sections were inserted, removed or moved.
QModelIndex DocumentTree::index(int row, int column, const QModelIndex &parent) const
{
    if (column < 0 || column >= ColumnCount || row < 0)
        return {};
    if (!parent.isValid())
        return row < sectionCount() ? createIndex(row, column, nullptr) : QModelIndex();
    if (parent.internalPointer() != nullptr || parent.row() >= sectionCount())
        return {};
    Section *section = m_sections[static_cast<size_t>(parent.row())].get();
    if (row >= static_cast<int>(section->options.size()))
        return {};
    return createIndex(row, column, section);
}

QModelIndex DocumentTree::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalPointer() == nullptr)
        return {};
    const auto *section = static_cast<const Section *>(child.internalPointer());
    return createIndex(rowOf(section), 0, nullptr);
}

int DocumentTree::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return sectionCount();
    if (parent.internalPointer() != nullptr || parent.column() != 0 || parent.row() >= sectionCount())
        return 0;
    return optionCount(parent.row());
}

int DocumentTree::columnCount(const QModelIndex &) const
{
    return ColumnCount;
}

bool DocumentTree::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

// Texts of an index: a section's are QStrings, an option's are decoded from its section's buffer.
QVariant DocumentTree::data(const QModelIndex &index, int role) const
{
    Section *section = sectionOf(index);
    if (section == nullptr || (level(index) == 1 && index.row() >= section->options.size()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        if (level(index) == 0)
            return index.column() == NameColumn ? section->nameText() : section->valueText();
        return section->options.text(index.row(), index.column());
    case ImageIndexRole:
        return imageIndex(index);
    case Qt::AccessibleDescriptionRole:
        return m_descriptionSource ? m_descriptionSource(index) : QString();
    default:
        return {};
    }
}

bool DocumentTree::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole)
        return false;
    Section *section = sectionOf(index);
    if (section == nullptr || (level(index) == 1 && index.row() >= section->options.size()))
        return false;
    const QString newText = lineBreaksAsBlanks(value.toString());
    QString oldText;
    if (level(index) == 0) {
        oldText = index.column() == NameColumn ? section->nameText() : section->valueText();
        if (oldText == newText)
            return false; // an unchanged commit is no edit
        // No validation: names may be empty or repeated.
        if (index.column() == NameColumn)
            section->setName(newText);
        else
            section->setValue(newText);
    } else {
        if (section->options.view(index.row(), index.column()) == QAnyStringView(newText))
            return false;
        oldText = section->options.text(index.row(), index.column());
        section->options.setText(index.row(), index.column(), TypedText(newText, m_sourceFormat).view());
    }
    emitCellChanged(index);
    Q_EMIT textEdited(index, oldText);
    Q_EMIT edited();
    return true;
}

Qt::ItemFlags DocumentTree::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (level(index) == 1 || index.column() == NameColumn)
        f |= Qt::ItemIsEditable;
    if (level(index) == 1)
        f |= Qt::ItemNeverHasChildren;
    return f;
}

QVariant DocumentTree::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return tr("Section Name / Option Name");
    case ValueColumn:
        return tr("Option Value");
    default:
        return {};
    }
}

bool DocumentTree::removeRows(int row, int count, const QModelIndex &parent)
{
    if (row < 0 || count <= 0 || row + count > rowCount(parent))
        return false;
    if (!parent.isValid()) {
        if (!inBatch())
            beginRemoveRows({}, row, row + count - 1);
        m_sections.erase(m_sections.begin() + row, m_sections.begin() + row + count);
        m_rowsDirty = true;
        if (!inBatch())
            endRemoveRows();
        return true;
    }
    Section *section = m_sections[static_cast<size_t>(parent.row())].get();
    if (!inBatch())
        beginRemoveRows(parent, row, row + count - 1);
    section->options.remove(row, count);
    if (!inBatch())
        endRemoveRows();
    return true;
}

int DocumentTree::optionCount(int section) const
{
    Q_ASSERT(section >= 0 && section < sectionCount());
    return static_cast<int>(m_sections[static_cast<size_t>(section)]->options.size());
}

QString DocumentTree::sectionText(int section, int column) const
{
    Q_ASSERT(section >= 0 && section < sectionCount());
    const Section &s = *m_sections[static_cast<size_t>(section)];
    switch (column) {
    case NameColumn:
        return s.nameText();
    case ValueColumn:
        return s.valueText();
    default:
        return {};
    }
}

QAnyStringView DocumentTree::sectionNameView(int section) const
{
    Q_ASSERT(section >= 0 && section < sectionCount());
    const Section &s = *m_sections[static_cast<size_t>(section)];
    return s.nameView();
}

QString DocumentTree::optionText(int section, int option, int column) const
{
    return textToString(optionTextView(section, option, column));
}

QAnyStringView DocumentTree::optionTextView(int section, int option, int column) const
{
    Q_ASSERT(option >= 0 && option < optionCount(section));
    return m_sections[static_cast<size_t>(section)]->options.view(option, column);
}

int DocumentTree::appendSection(const QString &name)
{
    const int row = sectionCount();
    if (!inBatch())
        beginInsertRows({}, row, row);
    auto section = std::make_unique<Section>();
    section->setName(name);
    section->image = SectionImage;
    section->row = row;
    m_sections.push_back(std::move(section));
    if (!inBatch())
        endInsertRows();
    return row;
}

int DocumentTree::appendOption(int section, const QString &name, const QString &value)
{
    Q_ASSERT(section >= 0 && section < sectionCount());
    Section &s = *m_sections[static_cast<size_t>(section)];
    const int row = static_cast<int>(s.options.size());
    if (!inBatch())
        beginInsertRows(sectionIndex(section), row, row);
    s.options.append(TypedText(name, m_sourceFormat).view(), TypedText(value, m_sourceFormat).view(), OptionImage);
    if (!inBatch())
        endInsertRows();
    return row;
}

void DocumentTree::reserveOptions(int section, int count)
{
    Q_ASSERT(section >= 0 && section < sectionCount());
    m_sections[static_cast<size_t>(section)]->options.reserve(count, 0);
}

void DocumentTree::setSectionText(int section, int column, const QString &text)
{
    const QModelIndex index = sectionIndex(section, column);
    if (Section *s = sectionOf(index)) {
        if (column == NameColumn)
            s->setName(text);
        else
            s->setValue(text);
        emitCellChanged(index);
    }
}

void DocumentTree::setOptionText(int section, int option, int column, const QString &text)
{
    const QModelIndex index = optionIndex(section, option, column);
    if (Section *s = sectionOf(index)) {
        s->options.setText(option, column, TypedText(text, m_sourceFormat).view());
        emitCellChanged(index);
    }
}

QModelIndex DocumentTree::sectionIndex(int section, int column) const
{
    return index(section, column);
}

QModelIndex DocumentTree::optionIndex(int section, int option, int column) const
{
    return index(option, column, sectionIndex(section));
}

int DocumentTree::level(const QModelIndex &index)
{
    if (!index.isValid())
        return -1;
    return index.internalPointer() == nullptr ? 0 : 1;
}

int DocumentTree::imageIndex(const QModelIndex &index) const
{
    if (Section *section = sectionOf(index)) {
        if (level(index) == 0)
            return section->image;
        return index.row() < section->options.size() ? section->options.image(index.row()) : -1;
    }
    return -1;
}

void DocumentTree::setImageIndex(const QModelIndex &index, int image)
{
    Section *section = sectionOf(index);
    if (section == nullptr)
        return;
    if (level(index) == 0)
        section->image = image;
    else if (index.row() < section->options.size())
        section->options.setImage(index.row(), image);
}

void DocumentTree::setLayoutBytes(const QByteArray &bytes)
{
    m_layoutBytes = bytes;
    m_layoutText.reset();
}

void DocumentTree::setLayoutText(std::shared_ptr<const IniText> text)
{
    m_layoutBytes = QByteArray();
    m_layoutText = std::move(text);
}

void DocumentTree::clear()
{
    setLayoutBytes(QByteArray());
    if (m_sections.empty())
        return;
    if (!inBatch())
        beginResetModel();
    m_sections.clear();
    m_removedSections.clear();
    m_rowsDirty = false;
    if (!inBatch())
        endResetModel();
}

bool DocumentTree::moveSection(int from, int to)
{
    const int count = sectionCount();
    if (from < 0 || from >= count || to < 0 || to > count || to == from || to == from + 1)
        return false;
    if (!inBatch())
        beginMoveRows({}, from, from, {}, to);
    auto node = std::move(m_sections[static_cast<size_t>(from)]);
    m_sections.erase(m_sections.begin() + from);
    const int insertAt = to > from ? to - 1 : to;
    m_sections.insert(m_sections.begin() + insertAt, std::move(node));
    m_rowsDirty = true;
    if (!inBatch())
        endMoveRows();
    return true;
}

bool DocumentTree::moveOption(int section, int option, int toSection, int toRow)
{
    if (section < 0 || section >= sectionCount() || toSection < 0 || toSection >= sectionCount())
        return false;
    Section &source = *m_sections[static_cast<size_t>(section)];
    Section &target = *m_sections[static_cast<size_t>(toSection)];
    if (option < 0 || option >= static_cast<int>(source.options.size()) || toRow < 0
        || toRow > static_cast<int>(target.options.size()))
        return false;
    if (section == toSection && (toRow == option || toRow == option + 1))
        return false;
    if (!inBatch())
        beginMoveRows(sectionIndex(section), option, option, sectionIndex(toSection), toRow);
    if (section == toSection) {
        source.options.move(option, toRow);
    } else {
        target.options.insertFrom(toRow, source.options, option);
        source.options.remove(option, 1);
    }
    if (!inBatch())
        endMoveRows();
    return true;
}

void DocumentTree::optionToSection(int section, int option, int toRow)
{
    Q_ASSERT(option >= 0 && option < optionCount(section));
    Q_ASSERT(toRow >= 0 && toRow <= sectionCount());
    const OptionTexts &options = m_sections[static_cast<size_t>(section)]->options;
    auto node = std::make_unique<Section>();
    node->setName(options.text(option, NameColumn));
    node->setValue(options.text(option, ValueColumn));
    node->image = SectionImage;
    removeRows(option, 1, sectionIndex(section));
    if (!inBatch())
        beginInsertRows({}, toRow, toRow);
    m_sections.insert(m_sections.begin() + toRow, std::move(node));
    m_rowsDirty = true;
    if (!inBatch())
        endInsertRows();
}

void DocumentTree::beginBatch()
{
    if (m_batchDepth++ == 0)
        beginResetModel();
}

void DocumentTree::endBatch()
{
    Q_ASSERT(m_batchDepth > 0);
    if (--m_batchDepth == 0)
        endResetModel();
}

DocumentTree::Section *DocumentTree::sectionOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    if (index.internalPointer() != nullptr)
        return static_cast<Section *>(index.internalPointer());
    if (index.row() >= sectionCount())
        return nullptr;
    return m_sections[static_cast<size_t>(index.row())].get();
}

int DocumentTree::rowOf(const Section *section) const
{
    const auto row = static_cast<size_t>(section->row);
    if (m_rowsDirty || row >= m_sections.size() || m_sections[row].get() != section)
        renumberSections();
    return section->row;
}

void DocumentTree::renumberSections() const
{
    int row = 0;
    for (const auto &section : m_sections)
        section->row = row++;
    m_rowsDirty = false;
}

void DocumentTree::emitCellChanged(const QModelIndex &index)
{
    if (!inBatch())
        Q_EMIT dataChanged(index, index, { Qt::DisplayRole, Qt::EditRole });
}
