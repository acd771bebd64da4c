// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The marks of options that a line reading as a section header moves into another section: the
// loader keeps the first option of a name there, so a moved option is lost when that section
// holds its name already, from its own options written above or from lines moved there before.
#include "document/documenttree.h"
#include "document/namemarks.h"
#include "document/textview.h"

#include <algorithm>
#include <utility>

using Kind = NameMark::Kind;

void NameMarks::markMovedOptions(const QString &groupKey, const std::vector<int> &sections,
    const std::vector<Moved> &moved, const std::vector<MovedOption> &options, int writerSection)
{
    QHash<QString, QSet<QString>> held; // per section moved into: the names it holds by then
    for (const MovedOption &option : options) {
        const QString &into = moved[option.run].into;
        auto names = held.find(into);
        if (names == held.end()) {
            QSet<QString> before;
            if (into == groupKey) {
                before = ownLoadedNames(sections);
            } else if (const Target target = m_targets.value(into);
                       target.writer >= 0 && target.writer < writerSection) {
                before = target.names;
            }
            for (auto other = m_moved.cbegin(); other != m_moved.cend(); ++other) {
                for (const Moved &m : *other) {
                    if (other.key() != groupKey && m.into == into && m.from >= 0 && m.from < writerSection)
                        before.unite(m.names);
                }
            }
            names = held.insert(into, before);
        }
        if (names->contains(option.name))
            m_sections[size_t(option.section)].options.insert(option.option, { Kind::HiddenByEarlier, option.name });
        else
            names->insert(option.name);
    }
}

QSet<QString> NameMarks::ownLoadedNames(const std::vector<int> &sections) const
{
    QSet<QString> names;
    for (const int s : sections) {
        const QHash<int, NameMark> &marks = m_sections[size_t(s)].options;
        for (int o = 0; o < m_tree->optionCount(s); ++o) {
            const NameMark mark = marks.value(o);
            switch (mark.kind) {
            case Kind::None:
            case Kind::ValueReplaced:
            case Kind::ValueLoadsBackAs:
                names.insert(textToString(m_tree->optionTextView(s, o, DocumentTree::NameColumn)));
                break;
            case Kind::LoadsBackAs:
            case Kind::HiddenByEarlier:
                names.insert(mark.name);
                break;
            case Kind::ReadsAsSection:
                return names;
            default:
                break;
            }
        }
    }
    return names;
}

void NameMarks::noteTarget(const QString &key, const std::vector<int> &sections)
{
    QStringList movers;
    for (auto other = m_moved.cbegin(); other != m_moved.cend(); ++other) {
        if (other.key() != key
            && std::any_of(other->cbegin(), other->cend(), [&key](const Moved &m) { return m.into == key; }))
            movers << other.key();
    }
    if (movers.isEmpty()) {
        m_targets.remove(key);
        return;
    }
    Target target { writerOf(key), ownLoadedNames(sections) };
    if (m_targets.value(key, Target { -2, {} }) == target)
        return;
    m_targets.insert(key, std::move(target));
    for (const QString &mover : std::as_const(movers))
        touchGroup(mover);
}

void NameMarks::noteMoved(const QString &groupKey, std::vector<Moved> moved, int writerSection)
{
    for (Moved &m : moved)
        m.from = writerSection;
    const auto old = m_moved.constFind(groupKey);
    if (old == m_moved.cend() ? moved.empty() : *old == moved)
        return;
    // The sections these lines move options into are marked again, and so are the other groups
    // whose lines move options there, which may now find their names taken or free.
    QSet<QString> targets;
    if (old != m_moved.cend()) {
        for (const Moved &m : *old)
            targets.insert(m.into);
    }
    for (const Moved &m : moved)
        targets.insert(m.into);
    for (const QString &target : std::as_const(targets))
        touchGroup(target);
    for (auto other = m_moved.cbegin(); other != m_moved.cend(); ++other) {
        if (other.key() != groupKey && std::any_of(other->cbegin(), other->cend(), [&targets](const Moved &m) {
                return targets.contains(m.into);
            }))
            touchGroup(other.key());
    }
    if (moved.empty())
        m_moved.remove(groupKey);
    else
        m_moved.insert(groupKey, std::move(moved));
}
