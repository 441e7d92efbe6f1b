#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

// The texts of one grid row in one buffer of Qt's own string storage:
// first the end of each column's text, then the texts one after the other,
// each followed by a terminating zero. The ends take one UTF-16 unit each
// while the row holds at most 65,535 characters (nearly every row), two
// beyond. A row whose texts are all empty holds no buffer.
//
// A cell's text handed out (Text) is a QString that shares the buffer, as
// a string shares its data with its copies: no characters are copied. The
// row writes into its buffer only while nobody else holds it, and into a
// fresh copy otherwise; the last holder frees it.
//
// A row thus costs its characters, four bytes a column and one allocation,
// where a string object per cell costs its own allocation and header
// besides: several times the characters of a short text.
//
// The row does not know the grid's column count; every call is given it
// (for InsertColumn and RemoveColumn, the count before the change).
class CGridRowTexts
{
public:
    CGridRowTexts() = default;
    CGridRowTexts(CGridRowTexts&& other) noexcept : m_bits(std::exchange(other.m_bits, 0)) {}
    CGridRowTexts& operator=(CGridRowTexts&& other) noexcept
    {
        std::swap(m_bits, other.m_bits);
        return *this;
    }
    CGridRowTexts(const CGridRowTexts&) = delete;
    CGridRowTexts& operator=(const CGridRowTexts&) = delete;
    ~CGridRowTexts();

    QString Text(size_t column, size_t columns) const
    {
        const QStringView text = View(column, columns);
        if (text.isEmpty())
            return QString();
        Header()->ref();
        return QString(QString::DataPointer(Header(), const_cast<char16_t*>(text.utf16()), text.size()));
    }
    // The text without a hold on the buffer: valid until the row's texts or
    // columns next change.
    QStringView View(size_t column, size_t columns) const
    {
        if (!m_bits || column >= columns)
            return {};
        const char16_t* units = Units();
        if (Narrow()) {
            const size_t start = column == 0 ? 0 : units[column - 1] + 1u;
            return QStringView(units + columns + start, qsizetype(units[column] - start));
        }
        const size_t start = Start(column);
        return QStringView(units + 2 * columns + start, qsizetype(End(column) - start));
    }
    void SetText(size_t column, size_t columns, QStringView text);
    // Every text at once, one a column.
    void SetTexts(const std::vector<QString>& texts);
    // An empty text at column.
    void InsertColumn(size_t column, size_t columns);
    void RemoveColumn(size_t column, size_t columns);

private:
    using Buffer = QTypedArrayData<char16_t>;

    // The buffer's header; its lowest bit (free, as headers are aligned) is
    // set when the ends take one unit each.
    std::uintptr_t m_bits = 0;

    static constexpr size_t kNarrowMost = 0xFFFF;
    bool Narrow() const { return m_bits & 1; }
    Buffer* Header() const { return reinterpret_cast<Buffer*>(m_bits & ~std::uintptr_t(1)); }
    char16_t* Units() const { return Buffer::dataStart(Header(), alignof(Buffer::AlignmentDummy)); }
    size_t End(size_t column) const
    {
        if (Narrow())
            return Units()[column];
        std::uint32_t wide = 0;
        std::memcpy(&wide, Units() + 2 * column, sizeof wide);
        return wide;
    }
    size_t Start(size_t column) const { return column == 0 ? 0 : End(column - 1) + 1; }
    char16_t* Characters(size_t columns) const { return Units() + (Narrow() ? columns : 2 * columns); }
    // A new buffer of the texts textOf(0..columns-1), total characters in all.
    template <typename TextOf>
    static std::uintptr_t Make(size_t columns, size_t total, TextOf textOf);
    void Replace(std::uintptr_t bits);
};
