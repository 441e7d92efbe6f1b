#pragma once

#include "grid/GridRecords.h"

#include <cstdint>
#include <utility>

// Where a grid row's record (ItemData) is kept. A row gets a record of its
// own only when one is asked for to be changed or handed out; until then it
// reads a record shared by the rows inserted with the same colours, which
// holds nothing else. Most rows of a large grid that is only shown never
// need one of their own.
class CGridRowRecord
{
public:
    // A row reading shared, which the grid keeps as long as the row.
    explicit CGridRowRecord(const ItemData& shared) : m_bits(reinterpret_cast<std::uintptr_t>(&shared) | kShared) {}
    CGridRowRecord(CGridRowRecord&& other) noexcept : m_bits(std::exchange(other.m_bits, 0)) {}
    CGridRowRecord& operator=(CGridRowRecord&& other) noexcept
    {
        std::swap(m_bits, other.m_bits);
        return *this;
    }
    CGridRowRecord(const CGridRowRecord&) = delete;
    CGridRowRecord& operator=(const CGridRowRecord&) = delete;
    ~CGridRowRecord();

    const ItemData& Read() const { return *Pointer(); }
    // The row's own record, made from the shared one the first time.
    ItemData& Own();
    // The row's own record, null while it has none.
    ItemData* Made() const { return m_bits & kShared ? nullptr : Pointer(); }
    // Whether item is the row's own record; one comparison, for searches
    // over every row.
    bool Holds(const ItemData* item) const { return m_bits == reinterpret_cast<std::uintptr_t>(item); }

private:
    // Set in the address of a shared record (records are aligned).
    static constexpr std::uintptr_t kShared = 1;
    ItemData* Pointer() const { return reinterpret_cast<ItemData*>(m_bits & ~kShared); }

    std::uintptr_t m_bits;
};
