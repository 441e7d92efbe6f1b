#include "web/LzwEncode.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace {

class BitWriter
{
public:
    explicit BitWriter(QByteArray& out) : m_out(out) {}

    void Put(uint32_t code, int width)
    {
        for (int bit = 0; bit < width; ++bit, ++m_position) {
            if (m_position % 8 == 0)
                m_out.append('\0');
            if (code >> bit & 1)
                m_out[m_out.size() - 1] = static_cast<char>(m_out.back() | (1 << (m_position % 8)));
        }
    }

private:
    QByteArray& m_out;
    uint64_t m_position = 0;
};

} // namespace

QByteArray LzwEncode(const QByteArray& input, int width)
{
    QByteArray out;
    const auto n = static_cast<uint32_t>(input.size());
    for (int k = 0; k < 4; ++k)
        out.append(static_cast<char>(n >> (8 * k)));
    out.append(static_cast<char>(width));
    if (input.isEmpty())
        return out;

    BitWriter writer(out);
    const size_t capacity = width > 8 ? (size_t(1) << width) - 256 : 0;
    std::unordered_map<std::string, uint32_t> dictionary;
    const auto codeOf = [&](const std::string& s) {
        return s.size() == 1 ? static_cast<uint8_t>(s[0]) : dictionary.at(s);
    };
    std::string current(1, input[0]);
    for (qsizetype p = 1; p < input.size(); ++p) {
        const std::string longer = current + input[p];
        if (dictionary.count(longer)) {
            current = longer;
            continue;
        }
        writer.Put(codeOf(current), width);
        if (capacity > 0) {
            if (dictionary.size() == capacity)
                dictionary.clear();
            dictionary.emplace(longer, static_cast<uint32_t>(256 + dictionary.size()));
        }
        current.assign(1, input[p]);
    }
    writer.Put(codeOf(current), width);
    return out;
}
