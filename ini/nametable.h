// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

// An open-addressing index from names to the position where each first stands. It stores only
// positions below 2^32 - 1 (the names stay where they are) and is sized once per section, so finding the
// distinct names of a section costs no allocation per name.
class NameTable {
public:
    // A quick hash of a name's bytes, eight at a time: names are short and there are millions.
    [[nodiscard]] static size_t hash(std::string_view name)
    {
        constexpr quint64 Multiplier = 0x9E3779B97F4A7C15ULL;
        quint64 h = quint64(name.size()) * Multiplier;
        size_t i = 0;
        for (; i + 8 <= name.size(); i += 8) {
            quint64 word;
            std::memcpy(&word, name.data() + i, sizeof word);
            h = (h ^ word) * Multiplier;
            h ^= h >> 29;
        }
        if (i < name.size()) {
            quint64 word = 0;
            std::memcpy(&word, name.data() + i, name.size() - i);
            h = (h ^ word) * Multiplier;
        }
        h ^= h >> 32;
        h *= Multiplier;
        return size_t(h ^ (h >> 29));
    }

    // Empties the table for up to `count` names.
    void reset(qsizetype count)
    {
        size_t capacity = 8;
        while (capacity < size_t(count) * 2)
            capacity *= 2;
        m_slots.assign(capacity, Empty);
        m_mask = capacity - 1;
    }

    // How many names the table holds before it must grow.
    [[nodiscard]] qsizetype room() const { return qsizetype(m_slots.size() / 2); }
    // Doubles the room (or more, up to room for `names`), keeping every position.
    void grow(qsizetype names = 0)
    {
        size_t capacity = std::max<size_t>(m_slots.size() * 2, 16);
        while (capacity < size_t(names) * 2)
            capacity *= 2;
        std::vector<quint64> old(capacity, Empty);
        old.swap(m_slots);
        m_mask = m_slots.size() - 1;
        for (const quint64 entry : old) {
            if (entry == Empty)
                continue;
            size_t slot = size_t(entry >> 32) & m_mask;
            while (m_slots[slot] != Empty)
                slot = (slot + 1) & m_mask;
            m_slots[slot] = entry;
        }
    }

    // Reads the table's memory for a name with this hash ahead of its use.
    void prefetch(size_t hash) const { __builtin_prefetch(m_slots.data() + (tagOf(hash) & m_mask)); }

    // Returns the position stored under a name equal to the one at `position`, or stores
    // `position` and returns -1. nameAt(p) gives the name at position p; names compare with ==.
    template <typename NameAt> qsizetype findOrInsert(size_t hash, qsizetype position, NameAt &&nameAt)
    {
        Q_ASSERT(position >= 0 && position < qsizetype(0xFFFFFFFF));
        const quint32 tag = tagOf(hash);
        const auto name = nameAt(position);
        for (size_t slot = tag & m_mask;; slot = (slot + 1) & m_mask) {
            const quint64 entry = m_slots[slot];
            if (entry == Empty) {
                m_slots[slot] = (quint64(tag) << 32) | quint64(quint32(position));
                return -1;
            }
            if (quint32(entry >> 32) == tag && nameAt(qsizetype(quint32(entry))) == name)
                return qsizetype(quint32(entry));
        }
    }

    // The position stored under a name equal to `name`, or -1.
    template <typename Name, typename NameAt> qsizetype find(size_t hash, const Name &name, NameAt &&nameAt) const
    {
        if (m_slots.empty())
            return -1;
        const quint32 tag = tagOf(hash);
        for (size_t slot = tag & m_mask;; slot = (slot + 1) & m_mask) {
            const quint64 entry = m_slots[slot];
            if (entry == Empty)
                return -1;
            if (quint32(entry >> 32) == tag && nameAt(qsizetype(quint32(entry))) == name)
                return qsizetype(quint32(entry));
        }
    }

private:
    // A slot holds the upper half of its name's hash above the position, so that most names that
    // differ are told apart without reading them, and the table grows without them. The slot's
    // place comes from the same half.
    static quint32 tagOf(size_t hash) { return quint32(quint64(hash) >> 32); }
    static constexpr quint64 Empty = ~quint64(0);
    std::vector<quint64> m_slots;
    size_t m_mask = 0;
};
