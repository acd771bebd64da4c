// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/namemarks.h"

#include "document/documenttree.h"
#include "document/textrules.h"
#include "document/textview.h"

#include <QCoreApplication>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <deque>

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

// Whether the saver stores the name otherwise than as it stands.
bool storedOtherwise(QAnyStringView name)
{
    return name.visit([](auto text) {
        const auto dropped = [](auto c) { return isBlank(c) || isLineBreak(c); };
        if (text.isEmpty() || dropped(text.front()) || dropped(text.back()))
            return true;
        for (const auto c : text) {
            if (isLineBreak(c))
                return true;
        }
        return false;
    });
}

bool holdsEquals(QAnyStringView name)
{
    return name.visit([](auto text) {
        for (const auto c : text) {
            if (c == '=')
                return true;
        }
        return false;
    });
}

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
            markSections(*group, m_written.value(group.key()));
        m_sectionsChanged = false;
    }
    markTouched(SliceOptions);
}

void NameMarks::finishNow()
{
    update();
    markTouched(0);
}

void NameMarks::markTouched(qsizetype budget)
{
    qsizetype marked = 0;
    while (!m_touched.isEmpty() && m_scan < int(m_sections.size()) && (budget == 0 || marked < budget)) {
        const QString &key = m_sections[size_t(m_scan++)].key;
        if (key.isNull() || !m_touched.remove(key))
            continue;
        const std::vector<int> &group = m_groups[key];
        bool written = false;
        markGroup(group, written);
        m_written.insert(key, written);
        markSections(group, written);
        for (const int s : group)
            marked += m_tree->optionCount(s);
    }
    if (m_scan >= int(m_sections.size())) {
        for (const QString &key : std::as_const(m_touched))
            m_written.remove(key); // no section has that name any more
        m_touched.clear();
    }
    if (!m_touched.isEmpty() && !m_passAsked) {
        m_passAsked = true;
        // The tree may change before then: update() looks at it again first.
        QTimer::singleShot(0, this, [this] {
            m_passAsked = false;
            update();
        });
    }
    Q_EMIT marksChanged();
}

void NameMarks::markSections(const std::vector<int> &sections, bool written)
{
    const int first = sections.front();
    for (const int s : sections) {
        SectionState &state = m_sections[size_t(s)];
        const QString &name = m_tree->sectionText(s, DocumentTree::NameColumn);
        if (!written)
            state.mark = { Kind::NotSavedNoOptions, {} };
        else if (s != first)
            state.mark = { Kind::SectionMerged, m_tree->sectionText(first, DocumentTree::NameColumn) };
        else if (state.key != name)
            state.mark = { Kind::LoadsBackAs, state.key };
        else
            state.mark = {};
    }
}

void NameMarks::markGroup(const std::vector<int> &sections, bool &written)
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
    bool anyEquals = false; // only a stored name with '=' reads back as another name
    const auto nameOf
        = [this](int s, int o) { return textToString(m_tree->optionTextView(s, o, DocumentTree::NameColumn)); };
    const auto valueOf
        = [this](int s, int o) { return textToString(m_tree->optionTextView(s, o, DocumentTree::ValueColumn)); };
    qsizetype total = 0;
    for (const int s : sections)
        total += m_tree->optionCount(s);
    entryOf.reserve(size_t(total));
    byKey.reserve(total);
    for (const int s : sections) {
        for (int o = 0; o < m_tree->optionCount(s); ++o) {
            QAnyStringView key = m_tree->optionTextView(s, o, DocumentTree::NameColumn);
            if (key.isEmpty()) {
                entryOf.push_back(-1);
                continue;
            }
            if (storedOtherwise(key)) {
                storedNames.push_back(storedName(textToString(key)));
                key = storedNames.back();
            }
            const qsizetype known = byKey.size();
            int &slot = byKey[NameKey { key }];
            if (byKey.size() != known) {
                slot = int(entries.size());
                entries.push_back({ { s, o }, { s, o }, 0 });
                anyEquals = anyEquals || holdsEquals(key);
            }
            Entry &entry = entries[size_t(slot)];
            ++entry.count;
            entry.last = { s, o };
            entryOf.push_back(slot);
        }
    }
    written = !entries.empty();

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
            if (!anyEquals && entry.count == 1 && plainLine(s, o))
                continue; // the common case, without a copy of its texts
            const QString name = nameOf(s, o);
            const QString key = storedName(name);
            if (key.startsWith(u';') || key.startsWith(u'#')) {
                marks.insert(o, { Kind::ReadsAsComment, {} });
                continue;
            }
            const QString lastValue = valueOf(entry.last.section, entry.last.option);
            const QString line = key + u'=' + storedValue(lastValue);
            const qsizetype close = key.startsWith(u'[') ? line.lastIndexOf(u']') : -1;
            if (close > 0) {
                marks.insert(o, { Kind::ReadsAsSection, trimmedOfBlanks(line.sliced(1, close - 1)) });
                continue;
            }
            const qsizetype equals = line.indexOf(u'=');
            const QString loadedName = trimmedOfBlanks(line.first(equals));
            if (anyEquals) {
                if (loaded.contains(loadedName)) {
                    marks.insert(o, { Kind::HiddenByEarlier, loadedName });
                    continue;
                }
                loaded.insert(loadedName);
            }
            if (loadedName != name) {
                marks.insert(o, { Kind::LoadsBackAs, loadedName });
                continue;
            }
            const QString value = valueOf(s, o);
            const QString loadedValue = trimmedOfBlanks(line.sliced(equals + 1));
            if (loadedValue == value)
                continue;
            if (entry.count > 1 && lastValue != value)
                marks.insert(o, { Kind::ValueReplaced, nameOf(entry.last.section, entry.last.option) });
            else
                marks.insert(o, { Kind::ValueLoadsBackAs, loadedValue });
        }
    }
}

bool NameMarks::plainLine(int section, int option) const
{
    // A name and value that the line "name=value" gives back unchanged.
    const auto plain = [](auto text, bool isName) {
        if (text.isEmpty())
            return !isName;
        if (isBlank(text.front()) || isBlank(text.back()))
            return false;
        if (isName && (text.front() == ';' || text.front() == '#' || text.front() == '['))
            return false;
        for (const auto c : text) {
            if (isLineBreak(c) || (isName && c == '='))
                return false;
        }
        return true;
    };
    const auto check = [&](int column) {
        return m_tree->optionTextView(section, option, column).visit([&](auto text) {
            return plain(text, column == DocumentTree::NameColumn);
        });
    };
    return check(DocumentTree::NameColumn) && check(DocumentTree::ValueColumn);
}
