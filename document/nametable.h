#pragma once

#include <QtGlobal>

#include <vector>

// An open-addressing index from names to the position where each first stands. It stores only
// positions (the names stay where they are) and is sized once per section, so finding the
// distinct names of a section costs no allocation per name.
class NameTable {
public:
    // Empties the table for up to `count` names.
    void reset(qsizetype count)
    {
        size_t capacity = 8;
        while (capacity < size_t(count) * 2)
            capacity *= 2;
        m_slots.assign(capacity, Empty);
        m_mask = capacity - 1;
    }

    // Returns the position stored under a name equal to the one at `position`, or stores
    // `position` and returns -1. nameAt(p) gives the name at position p; names compare with ==.
    template <typename NameAt> qsizetype findOrInsert(size_t hash, qsizetype position, NameAt &&nameAt)
    {
        const auto name = nameAt(position);
        for (size_t slot = hash & m_mask;; slot = (slot + 1) & m_mask) {
            if (m_slots[slot] == Empty) {
                m_slots[slot] = position;
                return -1;
            }
            if (nameAt(m_slots[slot]) == name)
                return m_slots[slot];
        }
    }

    // The position stored under a name equal to `name`, or -1.
    template <typename Name, typename NameAt> qsizetype find(size_t hash, const Name &name, NameAt &&nameAt) const
    {
        if (m_slots.empty())
            return -1;
        for (size_t slot = hash & m_mask;; slot = (slot + 1) & m_mask) {
            if (m_slots[slot] == Empty)
                return -1;
            if (nameAt(m_slots[slot]) == name)
                return m_slots[slot];
        }
    }

private:
    static constexpr qsizetype Empty = -1;
    std::vector<qsizetype> m_slots;
    size_t m_mask = 0;
};
