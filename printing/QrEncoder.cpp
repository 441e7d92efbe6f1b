#include "QrEncoder.h"

#include "QrReedSolomon.h"

#include <algorithm>
#include <cstring>

namespace
{

// Error-correction codewords per block and number of blocks, by level
// (L, M, Q, H) and version (index 0 unused).
constexpr int8_t EccPerBlock[4][41] = {
    {-1, 7, 10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {-1, 10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {-1, 13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {-1, 17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
};
constexpr int8_t BlockCount[4][41] = {
    {-1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 4, 4, 4, 4, 4, 6, 6, 6, 6, 7, 8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {-1, 1, 1, 1, 2, 2, 4, 4, 4, 5, 5, 5, 8, 9, 9, 10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {-1, 1, 1, 2, 2, 4, 4, 6, 6, 8, 8, 8, 10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {-1, 1, 1, 2, 4, 4, 4, 5, 6, 8, 8, 11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
};

// Format-information bits of the levels L, M, Q, H.
constexpr int LevelBits[4] = {1, 0, 3, 2};

// Version groups 1-9, 10-26, 27-40 and their character-count field widths
// per mode (numeric, alphanumeric, byte).
constexpr int GroupFirst[3] = {1, 10, 27};
constexpr int GroupLast[3] = {9, 26, 40};
constexpr int CountBits[3][3] = {{10, 9, 8}, {12, 11, 16}, {14, 13, 16}};
constexpr int ModeIndicator[3] = {0x1, 0x2, 0x4};

int GroupOf(int version)
{
    return version <= 9 ? 0 : version <= 26 ? 1 : 2;
}

// Modules left for codewords (and remainder bits) once every function
// pattern is drawn.
int RawDataModules(int version)
{
    int result = (16 * version + 128) * version + 64;
    if (version >= 2) {
        const int alignCount = version / 7 + 2;
        result -= (25 * alignCount - 10) * alignCount - 55;
        if (version >= 7)
            result -= 36;
    }
    return result;
}

int DataCodewords(int version, int level)
{
    return RawDataModules(version) / 8 - EccPerBlock[level][version] * BlockCount[level][version];
}

// Centre coordinates of the alignment patterns of a version, along one axis.
int AlignmentPositions(int version, int* positions)
{
    if (version == 1)
        return 0;
    const int count = version / 7 + 2;
    const int size = 17 + 4 * version;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
    positions[0] = 6;
    for (int i = count - 1, position = size - 7; i >= 1; --i, position -= step)
        positions[i] = position;
    return count;
}

constexpr int8_t AlphanumericValue(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int8_t>(c - '0');
    if (c >= 'A' && c <= 'Z')
        return static_cast<int8_t>(c - 'A' + 10);
    switch (c) {
    case ' ': return 36;
    case '$': return 37;
    case '%': return 38;
    case '*': return 39;
    case '+': return 40;
    case '-': return 41;
    case '.': return 42;
    case '/': return 43;
    case ':': return 44;
    default: return -1;
    }
}

int SegmentDataBits(QrEncoder::Mode mode, int length)
{
    switch (mode) {
    case QrEncoder::ModeNumeric: {
        static constexpr int Tail[3] = {0, 4, 7};
        return length / 3 * 10 + Tail[length % 3];
    }
    case QrEncoder::ModeAlphanumeric:
        return length / 2 * 11 + (length % 2) * 6;
    case QrEncoder::ModeByte:
        break;
    }
    return length * 8;
}

// Calls work with the condition of the mask: true where it flips a module.
template <typename Work>
void WithMask(int mask, Work work)
{
    switch (mask) {
    case 0: work([](int x, int y) { return (x + y) % 2 == 0; }); break;
    case 1: work([](int, int y) { return y % 2 == 0; }); break;
    case 2: work([](int x, int) { return x % 3 == 0; }); break;
    case 3: work([](int x, int y) { return (x + y) % 3 == 0; }); break;
    case 4: work([](int x, int y) { return (x / 3 + y / 2) % 2 == 0; }); break;
    case 5: work([](int x, int y) { return x * y % 2 + x * y % 3 == 0; }); break;
    case 6: work([](int x, int y) { return (x * y % 2 + x * y % 3) % 2 == 0; }); break;
    default: work([](int x, int y) { return ((x + y) % 2 + x * y % 3) % 2 == 0; }); break;
    }
}

// Penalty of rules 1 and 3 along one row or column of 0/1 modules.
int LinePenalty(const uint8_t* line, int size)
{
    int penalty = 0;
    int run = 1;
    for (int i = 1; i < size; ++i) {
        if (line[i] == line[i - 1]) {
            ++run;
            continue;
        }
        if (run >= 5)
            penalty += 3 + (run - 5);
        run = 1;
    }
    if (run >= 5)
        penalty += 3 + (run - 5);

    // Dark-light-dark-dark-dark-light-dark with four light modules before or
    // after it; beyond the edge lies the light quiet zone. The last seven
    // modules ride in the low bits of a window.
    auto lightSpan = [&](int from, int to) {
        for (int i = std::max(from, 0); i < std::min(to, size); ++i) {
            if (line[i])
                return false;
        }
        return true;
    };
    unsigned window = 0;
    for (int i = 0; i < size; ++i) {
        window = ((window << 1) | line[i]) & 0x7F;
        if (window == 0x5D && i >= 6) {
            const int start = i - 6;
            if (lightSpan(start - 4, start) || lightSpan(i + 1, i + 5))
                penalty += 40;
        }
    }
    return penalty;
}

} // namespace

bool QrEncoder::Encode(int level, int version, bool autoExtend, int maskNumber, const QString& text)
{
    return EncodeBytes(level, version, autoExtend, maskNumber, text.toUtf8());
}

bool QrEncoder::EncodeBytes(int level, int version, bool autoExtend, int maskNumber,
                            const QByteArray& bytes)
{
    m_version = 0;
    m_size = 0;
    m_segmentCount = 0;
    if (level < LevelL || level > LevelH || version < 1 || version > MaxVersion
        || maskNumber < -1 || maskNumber > 7 || bytes.isEmpty() || bytes.size() > MaxInput)
        return false;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const int length = static_cast<int>(bytes.size());

    int chosen = 0;
    int group = GroupOf(version);
    for (; group < 3 && chosen == 0; ++group) {
        SplitSegments(data, length, group);
        const int bits = StreamBits(group);
        if (bits < 0)
            continue;
        for (int v = std::max(version, GroupFirst[group]); v <= GroupLast[group]; ++v) {
            if (bits <= DataCodewords(v, level) * 8) {
                chosen = v;
                break;
            }
        }
    }
    if (chosen == 0 || (chosen > version && !autoExtend)) {
        m_segmentCount = 0;
        return false;
    }

    m_level = level;
    m_version = chosen;
    m_size = 17 + 4 * chosen;
    WriteStream(data, GroupOf(chosen), DataCodewords(chosen, level));
    AddErrorCorrection();
    DrawFunctionPatterns();
    PlaceCodewords();

    int mask = maskNumber;
    if (mask < 0) {
        int best = 0;
        for (int m = 0; m < 8; ++m) {
            DrawFormatBits(m);
            const int penalty = MaskedPenalty(m);
            if (m == 0 || penalty < best) {
                best = penalty;
                mask = m;
            }
        }
    }
    m_mask = mask;
    ApplyMask(mask);
    DrawFormatBits(mask);
    return true;
}

// The cheapest split of the bytes into segments for the count-field widths of
// the group: every byte may be encoded in any mode able to hold it, and a
// mode change costs a new header. Costs are in sixths of a bit so that the
// fractional per-character costs of numeric (10/3) and alphanumeric (11/2)
// modes add up exactly; they are rounded up to whole bits where a segment ends.
void QrEncoder::SplitSegments(const uint8_t* data, int length, int group)
{
    constexpr int CharCost[3] = {20, 33, 48};
    constexpr int Unreachable = 1 << 30;
    int headerCost[3];
    int costs[3];
    for (int m = 0; m < 3; ++m) {
        headerCost[m] = (4 + CountBits[group][m]) * 6;
        costs[m] = headerCost[m];
    }
    for (int i = 0; i < length; ++i) {
        const uint8_t c = data[i];
        const bool fits[3] = {c >= '0' && c <= '9', AlphanumericValue(c) >= 0, true};
        int next[3];
        for (int m = 0; m < 3; ++m) {
            next[m] = fits[m] ? costs[m] + CharCost[m] : Unreachable;
            m_paths[i][m] = static_cast<uint8_t>(m);
        }
        // Ending the segment after this byte and starting one of another mode.
        int ended[3];
        for (int m = 0; m < 3; ++m)
            ended[m] = next[m] == Unreachable ? Unreachable : (next[m] + 5) / 6 * 6;
        for (int to = 0; to < 3; ++to) {
            for (int from = 0; from < 3; ++from) {
                if (from == to || ended[from] == Unreachable)
                    continue;
                const int cost = ended[from] + headerCost[to];
                if (cost < next[to]) {
                    next[to] = cost;
                    m_paths[i][to] = static_cast<uint8_t>(from);
                }
            }
        }
        std::copy(next, next + 3, costs);
    }

    int mode = 0;
    for (int m = 1; m < 3; ++m) {
        if ((costs[m] + 5) / 6 < (costs[mode] + 5) / 6)
            mode = m;
    }
    // Walk back, writing each byte's mode into the path table's first column.
    for (int i = length - 1; i >= 0; --i) {
        mode = m_paths[i][mode];
        m_paths[i][0] = static_cast<uint8_t>(mode);
    }

    m_segmentCount = 0;
    for (int i = 0; i < length; ++i) {
        const auto m = static_cast<Mode>(m_paths[i][0]);
        if (m_segmentCount > 0 && m_segments[m_segmentCount - 1].mode == m) {
            ++m_segments[m_segmentCount - 1].length;
        } else {
            m_segments[m_segmentCount++] = {m, i, 1};
        }
    }
}

// Bits of the segments in the group, or -1 when a segment is too long for its
// count field.
int QrEncoder::StreamBits(int group) const
{
    int bits = 0;
    for (int i = 0; i < m_segmentCount; ++i) {
        const struct Segment& segment = m_segments[i];
        const int countBits = CountBits[group][segment.mode];
        if (segment.length >= (1 << countBits))
            return -1;
        bits += 4 + countBits + SegmentDataBits(segment.mode, segment.length);
    }
    return bits;
}

void QrEncoder::AppendBits(uint32_t value, int count)
{
    for (int i = count - 1; i >= 0; --i, ++m_bitCount) {
        if ((value >> i) & 1)
            m_data[m_bitCount >> 3] |= static_cast<uint8_t>(0x80 >> (m_bitCount & 7));
    }
}

bool QrEncoder::WriteStream(const uint8_t* data, int group, int dataCodewords)
{
    std::memset(m_data.data(), 0, static_cast<size_t>(dataCodewords));
    m_bitCount = 0;
    for (int s = 0; s < m_segmentCount; ++s) {
        const struct Segment& segment = m_segments[s];
        const uint8_t* bytes = data + segment.start;
        AppendBits(ModeIndicator[segment.mode], 4);
        AppendBits(static_cast<uint32_t>(segment.length), CountBits[group][segment.mode]);
        int i = 0;
        switch (segment.mode) {
        case ModeNumeric:
            for (; i + 3 <= segment.length; i += 3)
                AppendBits((bytes[i] - '0') * 100 + (bytes[i + 1] - '0') * 10 + (bytes[i + 2] - '0'), 10);
            if (segment.length - i == 2)
                AppendBits((bytes[i] - '0') * 10 + (bytes[i + 1] - '0'), 7);
            else if (segment.length - i == 1)
                AppendBits(bytes[i] - '0', 4);
            break;
        case ModeAlphanumeric:
            for (; i + 2 <= segment.length; i += 2)
                AppendBits(AlphanumericValue(bytes[i]) * 45 + AlphanumericValue(bytes[i + 1]), 11);
            if (i < segment.length)
                AppendBits(AlphanumericValue(bytes[i]), 6);
            break;
        case ModeByte:
            for (; i < segment.length; ++i)
                AppendBits(bytes[i], 8);
            break;
        }
    }
    const int capacity = dataCodewords * 8;
    if (m_bitCount > capacity)
        return false;
    AppendBits(0, std::min(4, capacity - m_bitCount));
    AppendBits(0, (8 - m_bitCount % 8) % 8);
    for (uint8_t pad = 0xEC; m_bitCount < capacity; pad ^= 0xEC ^ 0x11)
        AppendBits(pad, 8);
    return true;
}

// Splits the data codewords into the version's blocks, computes each block's
// error correction and interleaves both, block by block.
void QrEncoder::AddErrorCorrection()
{
    const int blocks = BlockCount[m_level][m_version];
    const int eccLength = EccPerBlock[m_level][m_version];
    const int rawCodewords = RawDataModules(m_version) / 8;
    const int shortBlocks = blocks - rawCodewords % blocks;
    const int shortData = rawCodewords / blocks - eccLength;

    // Error correction of block b lands at its interleaved places directly:
    // after all data codewords, at eccStart + i * blocks + b.
    const int dataTotal = rawCodewords - eccLength * blocks;
    uint8_t ecc[QrReedSolomon::MaxDegree];
    int offset = 0;
    for (int b = 0; b < blocks; ++b) {
        const int dataLength = shortData + (b < shortBlocks ? 0 : 1);
        const uint8_t* block = m_data.data() + offset;
        QrReedSolomon::ComputeRemainder(block, dataLength, eccLength, ecc);
        for (int i = 0; i < dataLength; ++i) {
            // Long blocks' last codeword follows every block's first shortData.
            const int position = i < shortData ? i * blocks + b : shortData * blocks + (b - shortBlocks);
            m_codewords[position] = block[i];
        }
        for (int i = 0; i < eccLength; ++i)
            m_codewords[dataTotal + i * blocks + b] = ecc[i];
        offset += dataLength;
    }
}

void QrEncoder::SetFunction(int x, int y, bool dark)
{
    m_modules[y * MaxSize + x] = static_cast<uint8_t>(Function | (dark ? Dark : 0));
}

void QrEncoder::DrawFunctionPatterns()
{
    for (int y = 0; y < m_size; ++y)
        std::memset(&m_modules[y * MaxSize], 0, static_cast<size_t>(m_size));

    for (int i = 0; i < m_size; ++i) {
        SetFunction(6, i, i % 2 == 0);
        SetFunction(i, 6, i % 2 == 0);
    }

    // Finder patterns with their light separators.
    const int centres[3][2] = {{3, 3}, {m_size - 4, 3}, {3, m_size - 4}};
    for (const auto& centre : centres) {
        for (int dy = -4; dy <= 4; ++dy) {
            for (int dx = -4; dx <= 4; ++dx) {
                const int x = centre[0] + dx;
                const int y = centre[1] + dy;
                if (x < 0 || x >= m_size || y < 0 || y >= m_size)
                    continue;
                const int distance = std::max(std::abs(dx), std::abs(dy));
                SetFunction(x, y, distance != 2 && distance != 4);
            }
        }
    }

    int positions[7];
    const int count = AlignmentPositions(m_version, positions);
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < count; ++j) {
            // The three corners that hold finder patterns.
            if ((i == 0 && j == 0) || (i == 0 && j == count - 1) || (i == count - 1 && j == 0))
                continue;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx)
                    SetFunction(positions[i] + dx, positions[j] + dy,
                                std::max(std::abs(dx), std::abs(dy)) != 1);
            }
        }
    }

    // Reserves the format areas (and sets the dark module) before the data.
    DrawFormatBits(0);
    DrawVersionBits();
}

void QrEncoder::DrawFormatBits(int mask)
{
    const int data = LevelBits[m_level] << 3 | mask;
    int remainder = data;
    for (int i = 0; i < 10; ++i)
        remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537);
    const int bits = (data << 10 | remainder) ^ 0x5412;
    auto bit = [bits](int i) { return ((bits >> i) & 1) != 0; };

    // Around the top-left finder.
    for (int i = 0; i <= 5; ++i)
        SetFunction(8, i, bit(i));
    SetFunction(8, 7, bit(6));
    SetFunction(8, 8, bit(7));
    SetFunction(7, 8, bit(8));
    for (int i = 9; i < 15; ++i)
        SetFunction(14 - i, 8, bit(i));

    // The copy beside the other two finders, and the dark module.
    for (int i = 0; i < 8; ++i)
        SetFunction(m_size - 1 - i, 8, bit(i));
    for (int i = 8; i < 15; ++i)
        SetFunction(8, m_size - 15 + i, bit(i));
    SetFunction(8, m_size - 8, true);
}

void QrEncoder::DrawVersionBits()
{
    if (m_version < 7)
        return;
    int remainder = m_version;
    for (int i = 0; i < 12; ++i)
        remainder = (remainder << 1) ^ ((remainder >> 11) * 0x1F25);
    const int bits = m_version << 12 | remainder;
    for (int i = 0; i < 18; ++i) {
        const bool dark = ((bits >> i) & 1) != 0;
        const int a = m_size - 11 + i % 3;
        const int b = i / 3;
        SetFunction(a, b, dark);
        SetFunction(b, a, dark);
    }
}

// Codeword bits go up and down the symbol in columns two modules wide, from
// the right, skipping the vertical timing pattern; remainder bits stay light.
void QrEncoder::PlaceCodewords()
{
    const int totalBits = RawDataModules(m_version) / 8 * 8;
    int i = 0;
    for (int right = m_size - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int vertical = 0; vertical < m_size; ++vertical) {
            const int y = upward ? m_size - 1 - vertical : vertical;
            for (int j = 0; j < 2; ++j) {
                const int x = right - j;
                uint8_t& module = m_modules[y * MaxSize + x];
                if (module & Function)
                    continue;
                if (i < totalBits && ((m_codewords[i >> 3] >> (7 - (i & 7))) & 1))
                    module = Dark;
                ++i;
            }
        }
    }
}

void QrEncoder::ApplyMask(int mask)
{
    WithMask(mask, [this](auto flips) {
        for (int y = 0; y < m_size; ++y) {
            uint8_t* row = &m_modules[y * MaxSize];
            for (int x = 0; x < m_size; ++x) {
                if (!(row[x] & Function) && flips(x, y))
                    row[x] ^= Dark;
            }
        }
    });
}

// The symbol as it would be with the mask, as rows and as columns of 0/1
// modules, scored; the symbol itself is left alone.
int QrEncoder::MaskedPenalty(int mask)
{
    WithMask(mask, [this](auto flips) {
        for (int y = 0; y < m_size; ++y) {
            const uint8_t* row = &m_modules[y * MaxSize];
            uint8_t* rowOut = &m_rows[y * MaxSize];
            for (int x = 0; x < m_size; ++x) {
                const uint8_t dark = (row[x] & Dark) ^ ((row[x] & Function) ? 0 : uint8_t(flips(x, y)));
                rowOut[x] = dark;
                m_columns[x * MaxSize + y] = dark;
            }
        }
    });
    return ScoreLines();
}

int QrEncoder::Penalty()
{
    for (int y = 0; y < m_size; ++y) {
        for (int x = 0; x < m_size; ++x) {
            const uint8_t dark = m_modules[y * MaxSize + x] & Dark;
            m_rows[y * MaxSize + x] = dark;
            m_columns[x * MaxSize + y] = dark;
        }
    }
    return ScoreLines();
}

int QrEncoder::ScoreLines() const
{
    int penalty = 0;
    int darkCount = 0;
    for (int i = 0; i < m_size; ++i) {
        penalty += LinePenalty(&m_rows[i * MaxSize], m_size);
        penalty += LinePenalty(&m_columns[i * MaxSize], m_size);
    }
    for (int y = 0; y + 1 < m_size; ++y) {
        const uint8_t* row = &m_rows[y * MaxSize];
        const uint8_t* below = row + MaxSize;
        for (int x = 0; x + 1 < m_size; ++x) {
            const uint8_t c = row[x];
            darkCount += c;
            if (row[x + 1] == c && below[x] == c && below[x + 1] == c)
                penalty += 3;
        }
        darkCount += row[m_size - 1];
    }
    for (int x = 0; x < m_size; ++x)
        darkCount += m_rows[(m_size - 1) * MaxSize + x];
    // 10 for every full 5 % the dark share lies away from one half.
    const int total = m_size * m_size;
    penalty += std::abs(darkCount * 20 - total * 10) / total * 10;
    return penalty;
}
