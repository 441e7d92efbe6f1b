#include "grid/GridRowTexts.h"

#include <cstring>
#include <limits>

namespace
{
// Units of the ends: one a column when narrow, two otherwise.
size_t EndUnits(bool narrow, size_t columns)
{
    return narrow ? columns : 2 * columns;
}

void WriteEnd(char16_t* units, bool narrow, size_t column, size_t end)
{
    if (narrow) {
        units[column] = char16_t(end);
    } else {
        const std::uint32_t wide = std::uint32_t(end);
        std::memcpy(units + 2 * column, &wide, sizeof wide);
    }
}

// Adds moved to the ends of the columns from `first` on, in their width;
// the sum wraps as unsigned does, so a text made shorter subtracts.
template <typename End>
void ShiftEnds(char16_t* units, size_t first, size_t columns, size_t moved)
{
    constexpr size_t width = sizeof(End) / sizeof(char16_t);
    for (size_t column = first; column < columns; ++column) {
        End end;
        std::memcpy(&end, units + width * column, sizeof end);
        end = End(end + moved);
        std::memcpy(units + width * column, &end, sizeof end);
    }
}
} // namespace

CGridRowTexts::~CGridRowTexts()
{
    Replace(0);
}

template <typename TextOf>
std::uintptr_t CGridRowTexts::Make(size_t columns, size_t total, TextOf textOf)
{
    if (total == 0)
        return 0;
    // A row of more than 2 G characters (4 GB) is refused as memory that
    // cannot be had, as a string of that length is.
    const size_t limit = size_t(std::numeric_limits<qsizetype>::max() / 4);
    if (total > limit || columns > limit)
        qBadAlloc();
    const bool narrow = total + columns <= kNarrowMost;
    const size_t units = EndUnits(narrow, columns) + total + columns;
    auto [header, start] = Buffer::allocate(qsizetype(units));
    Q_CHECK_PTR(header);
    char16_t* characters = start + EndUnits(narrow, columns);
    size_t at = 0;
    for (size_t column = 0; column < columns; ++column) {
        const QStringView text = textOf(column);
        if (!text.isEmpty())
            std::memcpy(characters + at, text.utf16(), size_t(text.size()) * sizeof(char16_t));
        at += size_t(text.size());
        characters[at] = u'\0';
        WriteEnd(start, narrow, column, at);
        ++at;
    }
    return reinterpret_cast<std::uintptr_t>(header) | (narrow ? 1 : 0);
}

void CGridRowTexts::Replace(std::uintptr_t bits)
{
    Buffer* header = Header();
    if (header && !header->deref())
        Buffer::deallocate(header);
    m_bits = bits;
}

void CGridRowTexts::SetText(size_t column, size_t columns, QStringView text)
{
    if (column >= columns)
        return;
    if (m_bits) {
        // The ends and the texts after this one are read and moved below:
        // a short row's buffer spans about three cache lines, and asking
        // for them at once lets their loads from memory overlap.
        const char* buffer = reinterpret_cast<const char*>(Header());
        __builtin_prefetch(buffer + 64, 1);
        __builtin_prefetch(buffer + 128, 1);
    }
    const size_t length = size_t(text.size());
    const size_t start = m_bits ? Start(column) : 0;
    const size_t end = m_bits ? End(column) : 0;
    // Units of the characters and their terminators.
    const size_t used = m_bits ? End(columns - 1) + 1 : columns;
    const size_t newTotal = used - columns - (end - start) + length;
    // A new buffer when there is none yet, none is needed, another holder
    // shares it, or the ends change their width; the texts are copied
    // before the old buffer is let go.
    if (!m_bits || newTotal == 0 || Header()->isShared() || Narrow() != (newTotal + columns <= kNarrowMost)) {
        Replace(Make(columns, newTotal, [&](size_t c) { return c == column ? text : View(c, columns); }));
        return;
    }
    char16_t* characters = Characters(columns);
    const char16_t* from = text.utf16();
    if (length > 0 && from >= characters && from < characters + used) {
        // A text of this very row would move under the copy.
        SetText(column, columns, QStringView(text.toString()));
        return;
    }
    if (length != end - start) {
        // The buffer grows only when the texts need more than it holds; it
        // keeps what a shorter text leaves, for the next longer one.
        const size_t needed = EndUnits(Narrow(), columns) + used - (end - start) + length;
        if (needed > size_t(Header()->alloc)) {
            Buffer* header = Buffer::reallocateUnaligned(Header(), Units(), qsizetype(needed), QArrayData::KeepSize).first;
            Q_CHECK_PTR(header);
            m_bits = reinterpret_cast<std::uintptr_t>(header) | (m_bits & 1);
            characters = Characters(columns);
        }
        // This text's terminator and the texts after it move, and so do
        // their ends.
        std::memmove(characters + start + length, characters + end, (used - end) * sizeof(char16_t));
        const size_t moved = length - (end - start);
        if (Narrow())
            ShiftEnds<std::uint16_t>(Units(), column, columns, moved);
        else
            ShiftEnds<std::uint32_t>(Units(), column, columns, moved);
    }
    if (length > 0)
        std::memcpy(characters + start, from, length * sizeof(char16_t));
}

void CGridRowTexts::SetTexts(const std::vector<QString>& texts)
{
    size_t total = 0;
    for (const QString& text : texts)
        total += size_t(text.size());
    Replace(Make(texts.size(), total, [&](size_t column) { return QStringView(texts[column]); }));
}

void CGridRowTexts::InsertColumn(size_t column, size_t columns)
{
    if (!m_bits)
        return;
    const size_t total = End(columns - 1) + 1 - columns;
    Replace(Make(columns + 1, total, [&](size_t c) {
        return c < column ? View(c, columns) : c == column ? QStringView() : View(c - 1, columns);
    }));
}

void CGridRowTexts::RemoveColumn(size_t column, size_t columns)
{
    if (!m_bits || column >= columns)
        return;
    const size_t total = End(columns - 1) + 1 - columns - size_t(View(column, columns).size());
    Replace(Make(columns - 1, total, [&](size_t c) { return View(c < column ? c : c + 1, columns); }));
}
