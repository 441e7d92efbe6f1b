#include "web/LzwDecode.h"

#include "web/LzwTexts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr qsizetype kHeaderSize = 5;
constexpr int kMaxCodeWidth = 25;
constexpr int kLiteralCount = 256;

// The code stream of a stored form: w-bit codes, least-significant bit first.
class CodeReader
{
public:
    CodeReader(QByteArrayView stored, int width)
        : m_data(reinterpret_cast<const unsigned char*>(stored.data()))
        , m_bitCount(static_cast<uint64_t>(stored.size()) * 8)
        , m_width(width)
        , m_position(kHeaderSize * 8 + width)
    {
    }

    // Codes left whole in the data, the first one (already taken) included.
    uint64_t TotalCodes() const
    {
        return std::max<uint64_t>(1, (m_bitCount - kHeaderSize * 8) / m_width);
    }

    // False when the next code's bits run past the data.
    bool Next(uint32_t& code)
    {
        if (m_position + m_width > m_bitCount)
            return false;
        // A 32-bit window from the byte holding the code's first bit; bytes
        // past the data are read as zero (the code's own bits are inside).
        const uint64_t first = m_position / 8;
        const uint64_t byteCount = m_bitCount / 8;
        uint32_t window = 0;
        for (uint64_t k = 0; k < 4 && first + k < byteCount; ++k)
            window |= static_cast<uint32_t>(m_data[first + k]) << (8 * k);
        code = (window >> (m_position % 8)) & ((1u << m_width) - 1);
        m_position += m_width;
        return true;
    }

private:
    const unsigned char* m_data;
    uint64_t m_bitCount;
    uint64_t m_width;
    uint64_t m_position;
};

struct Entry
{
    qsizetype start;
    qsizetype length;
};

// The most bytes c codes can give: each string is at most one byte longer
// than the one before, and with no dictionary every string is one byte.
uint64_t MaxOutputOfCodes(uint64_t codes, int width)
{
    return width <= 8 ? codes : codes * (codes + 1) / 2;
}

bool Fail(QString& reason, const QString& text)
{
    reason = text;
    return false;
}

bool Decode(QByteArrayView stored, QByteArray& output, QString& reason)
{
    reason = LzwTexts::Damaged;
    if (stored.size() < kHeaderSize + 1)
        return Fail(reason, LzwTexts::TooShort);
    const auto* bytes = reinterpret_cast<const unsigned char*>(stored.data());
    const int32_t length = static_cast<int32_t>(static_cast<uint32_t>(bytes[0])
                                                | static_cast<uint32_t>(bytes[1]) << 8
                                                | static_cast<uint32_t>(bytes[2]) << 16
                                                | static_cast<uint32_t>(bytes[3]) << 24);
    const int width = bytes[4];
    if (width < 1 || width > kMaxCodeWidth)
        return Fail(reason, LzwTexts::BadWidth.arg(width));
    if (length < 0)
        return Fail(reason, LzwTexts::BadLength.arg(length));
    if (length > kMaxDecodedBytes)
        return Fail(reason, LzwTexts::TooLong.arg(length).arg(kMaxDecodedBytes));
    CodeReader codes(stored, width);
    if (static_cast<uint64_t>(length) > MaxOutputOfCodes(codes.TotalCodes(), width))
        return false;

    const qsizetype n = length;
    output = QByteArray(n, '\0');
    if (n == 0)
        return true;
    char* out = output.data();
    out[0] = static_cast<char>(bytes[kHeaderSize]);

    const qsizetype capacity = width > 8 ? (qsizetype(1) << width) - kLiteralCount : 0;
    std::vector<Entry> dictionary;
    qsizetype i = 1;   // next output position
    qsizetype off = 0; // the previous string is out[off, i)
    while (i < n) {
        uint32_t code;
        if (!codes.Next(code))
            return false;
        if (capacity > 0 && static_cast<qsizetype>(dictionary.size()) == capacity)
            dictionary.clear();
        qsizetype stringLength;
        if (code < kLiteralCount) {
            stringLength = 1;
            out[i] = static_cast<char>(code);
        } else if (code - kLiteralCount < dictionary.size()) {
            const Entry& entry = dictionary[code - kLiteralCount];
            stringLength = entry.length;
            if (stringLength > n - i)
                return false;
            std::memcpy(out + i, out + entry.start, stringLength);
        } else if (code - kLiteralCount == dictionary.size()) {
            // The entry defined by this very code: the previous string and
            // its own first byte.
            stringLength = i - off + 1;
            if (stringLength > n - i)
                return false;
            std::memcpy(out + i, out + off, i - off);
            out[2 * i - off] = out[off];
        } else {
            return false;
        }
        if (capacity > 0)
            dictionary.push_back({off, i - off + 1});
        off = i;
        i += stringLength;
    }
    return true;
}

} // namespace

bool LzwDecode(QByteArrayView stored, QByteArray& decoded, QString* reason)
{
    QString why;
    if (Decode(stored, decoded, why))
        return true;
    decoded.clear();
    if (reason)
        *reason = why;
    return false;
}
