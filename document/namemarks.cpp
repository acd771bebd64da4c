// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/namemarks.h"

#include "document/documenttree.h"
#include "document/iniline.h"
#include "document/textrules.h"
#include "document/textview.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>
#include <deque>
#include <string>
#include <utility>

namespace {

using Kind = NameMark::Kind;

// A name as the hash of the marking pass holds it: a view into the tree, or into a stored form
// kept aside. Latin-1 and UTF-16 views of the same text are equal and hash alike.
struct NameKey {
    QAnyStringView text;
    friend bool operator==(const NameKey &a, const NameKey &b) { return QAnyStringView::equal(a.text, b.text); }
};

size_t qHash(const NameKey &key, size_t seed)
{
    // The same name in sections of different forms (Latin-1, UTF-8, UTF-16) hashes alike.
    size_t hash = seed ^ 0xcbf29ce484222325ULL;
    forEachUtf16Unit(key.text, [&hash](char16_t c) { hash = (hash ^ c) * 0x100000001b3ULL; });
    return hash;
}

// The line the saver writes for a stored name and value, as the line grammar reads it. Only ASCII
// decides there, so texts of one byte per unit (Latin-1, UTF-8) are joined as bytes, and any
// other pair as UTF-16. The buffers are kept from call to call.
class SavedLine {
public:
    IniLine read(QAnyStringView name, QAnyStringView value)
    {
        m_nameLength = name.size();
        if (textKind(name) != TextKind::Utf16 && textKind(value) != TextKind::Utf16) {
            m_bytes.assign(static_cast<const char *>(name.data()), size_t(name.size()));
            m_bytes.push_back('=');
            m_bytes.append(static_cast<const char *>(value.data()), size_t(value.size()));
            m_length = qsizetype(m_bytes.size());
            return classifyIniLine(m_bytes.data(), m_length);
        }
        m_wide.clear();
        const auto append = [this](char16_t c) { m_wide.push_back(c); };
        forEachUtf16Unit(name, append);
        m_nameLength = qsizetype(m_wide.size());
        m_wide.push_back(u'=');
        forEachUtf16Unit(value, append);
        m_length = qsizetype(m_wide.size());
        return classifyIniLine(m_wide.data(), m_length);
    }
    // Whether the line read gives the name and the value back as they stand.
    [[nodiscard]] bool givesBack(const IniLine &line) const
    {
        return line.kind == IniLine::Kind::Option && line.nameBegin == 0 && line.nameEnd == m_nameLength
            && line.valueBegin == m_nameLength + 1 && line.valueEnd == m_length;
    }
    // Whether the line read gives the name back as another option name.
    [[nodiscard]] bool renames(const IniLine &line) const
    {
        return line.kind == IniLine::Kind::Option && (line.nameBegin != 0 || line.nameEnd != m_nameLength);
    }

private:
    std::string m_bytes;
    std::u16string m_wide;
    qsizetype m_nameLength = 0;
    qsizetype m_length = 0;
};

} // namespace

QString NameMark::text() const
{
    switch (kind) {
    case Kind::None:
        break;
    case Kind::NotSavedEmpty:
        return tr("Not saved: the name is empty");
    case Kind::NotSavedNoOptions:
        return tr("Not saved: the section has no option with a name");
    case Kind::SectionMerged:
        return tr("Saved into the section '%1' above").arg(name);
    case Kind::OptionMergedWins:
        return tr("Saved as one entry with the option '%1' above; this value wins").arg(name);
    case Kind::OptionMergedLoses:
        return tr("Saved as one entry with the option '%1' above; the value of a later one wins").arg(name);
    case Kind::ValueReplaced:
        return tr("Saved as one entry with the option '%1' below, whose value wins").arg(name);
    case Kind::LoadsBackAs:
        return tr("Loads back as '%1'").arg(name);
    case Kind::ValueLoadsBackAs:
        return tr("Loads back with the value '%1'").arg(name);
    case Kind::ReadsAsComment:
        return tr("Not loaded back: a line that starts with ';' or '#' is a comment");
    case Kind::ReadsAsSection:
        return tr("Loads back as the section '%1', which takes the options after it").arg(name);
    case Kind::HiddenByEarlier:
        return tr("Not loaded back: it reads as '%1', and the option '%1' above is kept").arg(name);
    }
    return {};
}

NameMarks::NameMarks(const DocumentTree *tree, QObject *parent)
    : QObject(parent)
    , m_tree(tree)
{
    connect(tree, &QAbstractItemModel::dataChanged, this,
        [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
            if (topLeft.parent().isValid()) {
                touchSection(topLeft.parent().row());
            } else if (topLeft.column() == DocumentTree::NameColumn) {
                for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
                    touchSection(row);
                    const QString &name = m_tree->sectionText(row, DocumentTree::NameColumn);
                    m_sections[size_t(row)].key = name.isEmpty() ? QString() : storedName(name);
                    touchSection(row);
                }
                m_sectionsChanged = true;
            }
            update();
        });
    connect(tree, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &under, int first, int last) {
        if (under.isValid())
            touchSection(under.row());
        else
            sectionsInserted(first, last);
        update();
    });
    connect(tree, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex &under, int first, int last) {
        if (under.isValid())
            touchSection(under.row());
        else
            sectionsRemoved(first, last);
        update();
    });
    connect(tree, &QAbstractItemModel::rowsMoved, this,
        [this](const QModelIndex &from, int first, int last, const QModelIndex &to, int row) {
            if (from.isValid() || to.isValid()) {
                // Moving options leaves the sections where they are.
                if (from.isValid())
                    touchSection(from.row());
                if (to.isValid())
                    touchSection(to.row());
            } else {
                sectionsMoved(first, last, row);
            }
            update();
        });
    // A layout change may be a large scattered removal: recounting is simpler than following it.
    connect(tree, &QAbstractItemModel::layoutChanged, this, &NameMarks::recomputeAll);
    connect(tree, &QAbstractItemModel::modelReset, this, &NameMarks::recomputeAll);
    recomputeAll();
}

NameMark NameMarks::sectionMark(int section) const
{
    if (section < 0 || size_t(section) >= m_sections.size())
        return {};
    return m_sections[size_t(section)].mark;
}

NameMark NameMarks::optionMark(int section, int option) const
{
    if (section < 0 || size_t(section) >= m_sections.size())
        return {};
    return m_sections[size_t(section)].options.value(option);
}

NameMark NameMarks::markAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.column() != DocumentTree::NameColumn)
        return {};
    const QModelIndex parent = index.parent();
    return parent.isValid() ? optionMark(parent.row(), index.row()) : sectionMark(index.row());
}

qsizetype NameMarks::markedCount() const
{
    qsizetype count = 0;
    for (const SectionState &section : m_sections)
        count += (section.mark.isNone() ? 0 : 1) + section.options.size();
    return count;
}

void NameMarks::recomputeAll()
{
    m_sections.assign(size_t(m_tree->sectionCount()), {});
    m_touched.clear();
    m_written.clear();
    m_moved.clear();
    m_targets.clear();
    for (int s = 0; s < m_tree->sectionCount(); ++s) {
        const QString &name = m_tree->sectionText(s, DocumentTree::NameColumn);
        if (!name.isEmpty())
            m_sections[size_t(s)].key = storedName(name);
        touchSection(s);
    }
    m_sectionsChanged = true;
    update();
}

void NameMarks::sectionsInserted(int first, int last)
{
    m_sections.insert(m_sections.begin() + first, size_t(last - first + 1), {});
    for (int s = first; s <= last; ++s) {
        const QString &name = m_tree->sectionText(s, DocumentTree::NameColumn);
        if (!name.isEmpty())
            m_sections[size_t(s)].key = storedName(name);
        touchSection(s);
    }
    m_sectionsChanged = true;
}

void NameMarks::sectionsRemoved(int first, int last)
{
    for (int s = first; s <= last; ++s)
        touchSection(s);
    m_sections.erase(m_sections.begin() + first, m_sections.begin() + last + 1);
    m_sectionsChanged = true;
}

void NameMarks::sectionsMoved(int first, int last, int to)
{
    // `to` counts rows before the move, as beginMoveRows does.
    for (int s = first; s <= last; ++s)
        touchSection(s);
    const auto begin = m_sections.begin();
    if (to < first)
        std::rotate(begin + to, begin + first, begin + last + 1);
    else
        std::rotate(begin + first, begin + last + 1, begin + to);
    m_sectionsChanged = true;
}

void NameMarks::touchSection(int section)
{
    if (section >= 0 && size_t(section) < m_sections.size() && !m_sections[size_t(section)].key.isNull()) {
        m_touched.insert(m_sections[size_t(section)].key);
        m_scan = 0;
    }
}

void NameMarks::update()
{
    if (m_sections.size() != size_t(m_tree->sectionCount())) {
        recomputeAll(); // a change made inside a batch, reported by the reset at its end
        return;
    }
    if (m_sectionsChanged) {
        m_groups.clear();
        for (int s = 0; s < int(m_sections.size()); ++s) {
            SectionState &state = m_sections[size_t(s)];
            if (!state.key.isNull()) {
                m_groups[state.key].push_back(s);
            } else {
                state.mark = { Kind::NotSavedEmpty, {} };
                state.options.clear(); // not saved with their section, which says so
            }
        }
        // Which section of a group stands first may have changed.
        for (auto group = m_groups.cbegin(); group != m_groups.cend(); ++group)
            markSections(*group, m_written.value(group.key(), -1));
        m_sectionsChanged = false;
    }
    markTouched(m_sliceOptions);
}

void NameMarks::finishNow()
{
    update();
    markTouched(0);
}

void NameMarks::markTouched(qsizetype budget)
{
    qsizetype marked = 0;
    while (!m_touched.isEmpty() && (budget == 0 || marked < budget)) {
        if (m_scan >= int(m_sections.size())) {
            // No section has these names any more. Lines of theirs that read as another section's
            // header no longer move options into that section.
            const QSet<QString> gone = std::exchange(m_touched, {});
            for (const QString &key : gone) {
                m_written.remove(key);
                m_targets.remove(key);
                for (const Moved &moved : m_moved.take(key))
                    touchGroup(moved.into);
            }
            continue;
        }
        const QString &key = m_sections[size_t(m_scan++)].key;
        if (key.isNull() || !m_touched.remove(key))
            continue;
        const std::vector<int> &group = m_groups[key];
        int writer = -1;
        markGroup(key, group, writer);
        m_written.insert(key, writer);
        markSections(group, writer);
        noteTarget(key, group);
        for (const int s : group)
            marked += m_tree->optionCount(s);
    }
    Q_EMIT marksChanged();
}

void NameMarks::touchGroup(const QString &key)
{
    if (m_groups.contains(key)) {
        m_touched.insert(key);
        m_scan = 0;
    }
}

int NameMarks::writerOf(const QString &key) const
{
    const auto group = m_groups.constFind(key);
    const int writer = m_written.value(key, -1);
    if (group == m_groups.cend() || writer < 0 || size_t(writer) >= group->size())
        return -1;
    return (*group)[size_t(writer)];
}

void NameMarks::markSections(const std::vector<int> &sections, int writer)
{
    // The saver writes a section with its first named option, so the group stands in the file where
    // its writer stands, and the sections above the writer have nothing of their own in the file.
    for (int g = 0; g < int(sections.size()); ++g) {
        const int s = sections[size_t(g)];
        SectionState &state = m_sections[size_t(s)];
        const QString &name = m_tree->sectionText(s, DocumentTree::NameColumn);
        if (writer < 0 || g < writer)
            state.mark = { Kind::NotSavedNoOptions, {} };
        else if (g != writer)
            state.mark
                = { Kind::SectionMerged, m_tree->sectionText(sections[size_t(writer)], DocumentTree::NameColumn) };
        else if (state.key != name)
            state.mark = { Kind::LoadsBackAs, state.key };
        else
            state.mark = {};
    }
}

void NameMarks::markGroup(const QString &groupKey, const std::vector<int> &sections, int &writer)
{
    // The saver writes the group as one section: each stored name once, where it first stands, with
    // the value written last. The loader then reads each line and keeps the first of a name.
    struct Place {
        int section;
        int option;
        bool operator==(const Place &) const = default;
    };
    struct Entry {
        Place first;
        Place last;
        qsizetype count = 0;
    };
    std::vector<Entry> entries;
    std::vector<int> entryOf; // per option of the group in order; -1 for an unnamed one
    QHash<NameKey, int> byKey;
    std::deque<QString> storedNames; // the stored forms that differ from the names in the tree
    bool anyRenamed = false; // whether some stored name reads back as another option name
    SavedLine saved;
    const auto nameOf
        = [this](int s, int o) { return textToString(m_tree->optionTextView(s, o, DocumentTree::NameColumn)); };
    const auto valueOf
        = [this](int s, int o) { return textToString(m_tree->optionTextView(s, o, DocumentTree::ValueColumn)); };
    qsizetype total = 0;
    for (const int s : sections)
        total += m_tree->optionCount(s);
    entryOf.reserve(size_t(total));
    byKey.reserve(total);
    writer = -1;
    for (int g = 0; g < int(sections.size()); ++g) {
        const int s = sections[size_t(g)];
        for (int o = 0; o < m_tree->optionCount(s); ++o) {
            QAnyStringView key = m_tree->optionTextView(s, o, DocumentTree::NameColumn);
            if (key.isEmpty()) {
                entryOf.push_back(-1);
                continue;
            }
            if (writer < 0)
                writer = g;
            if (!keepsItsStoredName(key)) {
                storedNames.push_back(storedName(textToString(key)));
                key = storedNames.back();
            }
            const qsizetype known = byKey.size();
            int &slot = byKey[NameKey { key }];
            if (byKey.size() != known) {
                slot = int(entries.size());
                entries.push_back({ { s, o }, { s, o }, 0 });
                anyRenamed = anyRenamed || saved.renames(saved.read(key, u""));
            }
            Entry &entry = entries[size_t(slot)];
            ++entry.count;
            entry.last = { s, o };
            entryOf.push_back(slot);
        }
    }

    // Lines of this group that read as another section's header take the lines after them there.
    std::vector<Moved> moved;
    std::vector<MovedOption> movedOptions;
    QSet<QString> loaded;
    size_t i = 0;
    for (const int s : sections) {
        QHash<int, NameMark> &marks = m_sections[size_t(s)].options;
        marks.clear();
        for (int o = 0; o < m_tree->optionCount(s); ++o) {
            const int slot = entryOf[i++];
            if (slot < 0) {
                marks.insert(o, { Kind::NotSavedEmpty, {} });
                continue;
            }
            const Entry &entry = entries[size_t(slot)];
            if (entry.first != Place { s, o }) {
                const Kind kind = entry.last == Place { s, o } ? Kind::OptionMergedWins : Kind::OptionMergedLoses;
                marks.insert(o, { kind, nameOf(entry.first.section, entry.first.option) });
                continue;
            }
            if (!anyRenamed && entry.count == 1) {
                // The common case, without a copy of its texts.
                const QAnyStringView nameView = m_tree->optionTextView(s, o, DocumentTree::NameColumn);
                const QAnyStringView valueView = m_tree->optionTextView(s, o, DocumentTree::ValueColumn);
                if (!holdsLineBreak(nameView) && !holdsLineBreak(valueView)
                    && saved.givesBack(saved.read(nameView, valueView))) {
                    if (!moved.empty()) {
                        moved.back().names.insert(textToString(nameView));
                        movedOptions.push_back({ s, o, moved.size() - 1, textToString(nameView) });
                    }
                    continue;
                }
            }
            const QString name = nameOf(s, o);
            const QString lastValue = valueOf(entry.last.section, entry.last.option);
            const QString line = storedName(name) + u'=' + storedValue(lastValue);
            const IniLine read = classifyIniLine(reinterpret_cast<const char16_t *>(line.utf16()), line.size());
            if (read.kind == IniLine::Kind::Header) {
                const QString header = line.sliced(read.nameBegin, read.nameEnd - read.nameBegin);
                marks.insert(o, { Kind::ReadsAsSection, header });
                moved.push_back({ header, {}, -1 });
                loaded.clear();
                continue;
            }
            if (read.kind != IniLine::Kind::Option) {
                marks.insert(o, { Kind::ReadsAsComment, {} });
                continue;
            }
            const QString loadedName = line.sliced(read.nameBegin, read.nameEnd - read.nameBegin);
            if (anyRenamed || !moved.empty()) {
                if (loaded.contains(loadedName)) {
                    marks.insert(o, { Kind::HiddenByEarlier, loadedName });
                    continue;
                }
                loaded.insert(loadedName);
            }
            if (!moved.empty()) {
                moved.back().names.insert(loadedName);
                movedOptions.push_back({ s, o, moved.size() - 1, loadedName });
            }
            if (loadedName != name) {
                marks.insert(o, { Kind::LoadsBackAs, loadedName });
                continue;
            }
            const QString value = valueOf(s, o);
            const QString loadedValue = line.sliced(read.valueBegin, read.valueEnd - read.valueBegin);
            if (loadedValue == value)
                continue;
            if (entry.count > 1 && lastValue != value)
                marks.insert(o, { Kind::ValueReplaced, nameOf(entry.last.section, entry.last.option) });
            else
                marks.insert(o, { Kind::ValueLoadsBackAs, loadedValue });
        }
    }

    const int here = writer >= 0 ? sections[size_t(writer)] : -1;
    if (!movedOptions.empty())
        markMovedOptions(groupKey, sections, moved, movedOptions, here);
    noteMoved(groupKey, std::move(moved), here);
    if (here < 0)
        return;
    // Options that lines of a group above moved into this section first: the loader keeps theirs.
    QSet<QString> taken;
    for (auto other = m_moved.cbegin(); other != m_moved.cend(); ++other) {
        const int there = other.key() == groupKey ? -1 : writerOf(other.key());
        if (there < 0 || there > here)
            continue;
        for (const Moved &m : *other) {
            if (m.into == groupKey)
                taken.unite(m.names);
        }
    }
    if (taken.isEmpty())
        return;
    for (const int s : sections) {
        QHash<int, NameMark> &marks = m_sections[size_t(s)].options;
        for (int o = 0; o < m_tree->optionCount(s); ++o) {
            if (marks.contains(o))
                continue;
            const QString name = nameOf(s, o);
            if (taken.contains(name))
                marks.insert(o, { Kind::HiddenByEarlier, name });
        }
    }
}
