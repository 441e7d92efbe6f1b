#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// A QR Code model 2 symbol of a text: versions 1 to 40, error-correction
// levels L, M, Q and H, numeric, alphanumeric and 8-bit byte segments. The
// text goes in as its UTF-8 bytes, without an ECI designator.
//
// All working storage is sized for the largest symbol and lives in the
// object, so one encoding allocates nothing but the UTF-8 copy of the text.
// The object is large (about 210 KB): make it on the heap.
class QrEncoder
{
public:
    enum Level { LevelL = 0, LevelM = 1, LevelQ = 2, LevelH = 3 };
    enum Mode { ModeNumeric = 0, ModeAlphanumeric = 1, ModeByte = 2 };

    static constexpr int MaxVersion = 40;
    static constexpr int MaxSize = 17 + 4 * MaxVersion;
    // The longest input any symbol can hold: 7089 digits in version 40-L.
    static constexpr int MaxInput = 7089;

    // Builds the symbol of text at level (0..3). The symbol is at least of
    // version (1..40); a text that needs a larger one is encoded in the
    // smallest that holds it when autoExtend is set, and fails otherwise.
    // maskNumber 0..7 applies that mask; -1 picks the mask of lowest penalty,
    // the lower number on a tie. An empty text, arguments out of range and a
    // text too long for version 40 give false and no symbol.
    bool Encode(int level, int version, bool autoExtend, int maskNumber, const QString& text);
    bool EncodeBytes(int level, int version, bool autoExtend, int maskNumber, const QByteArray& data);

    // The symbol of the last successful Encode.
    int Version() const { return m_version; }
    int Size() const { return m_size; }
    int Mask() const { return m_mask; }
    bool IsDark(int x, int y) const { return (m_modules[y * MaxSize + x] & Dark) != 0; }

    // The segments the data was split into.
    int SegmentCount() const { return m_segmentCount; }
    Mode SegmentMode(int index) const { return m_segments[index].mode; }
    int SegmentLength(int index) const { return m_segments[index].length; }

    // The penalty of the symbol as it stands, by the four rules of the standard.
    int Penalty();

private:
    enum : uint8_t { Dark = 1, Function = 2 };

    struct Segment
    {
        Mode mode;
        int start;
        int length;
    };

    void SplitSegments(const uint8_t* data, int length, int group);
    int StreamBits(int group) const;
    bool WriteStream(const uint8_t* data, int group, int dataCodewords);
    void AddErrorCorrection();
    void DrawFunctionPatterns();
    void DrawFormatBits(int mask);
    void DrawVersionBits();
    void PlaceCodewords();
    void ApplyMask(int mask);
    int MaskedPenalty(int mask);
    int ScoreLines() const;

    void SetFunction(int x, int y, bool dark);
    void AppendBits(uint32_t value, int count);

    int m_level = LevelM;
    int m_version = 0;
    int m_size = 0;
    int m_mask = 0;

    int m_segmentCount = 0;
    std::array<Segment, MaxInput> m_segments{};
    // Scratch of the segmentation: for every input byte and mode, the mode of
    // the byte on the cheapest path that is in that mode after it.
    std::array<std::array<uint8_t, 3>, MaxInput> m_paths{};

    static constexpr int MaxCodewords = 3706;
    std::array<uint8_t, MaxCodewords> m_data{};      // data codewords
    std::array<uint8_t, MaxCodewords> m_codewords{}; // interleaved data and error correction
    int m_bitCount = 0;

    std::array<uint8_t, MaxSize * MaxSize> m_modules{};
    // Scratch of the penalty: the modules as 0/1, by rows and by columns.
    std::array<uint8_t, MaxSize * MaxSize> m_rows{};
    std::array<uint8_t, MaxSize * MaxSize> m_columns{};
};
