#include "QrReedSolomon.h"

#include <array>
#include <cstring>

namespace
{

// Log and antilog tables of the field and the generator polynomials of every
// degree, built once; encoding then only looks them up.
struct Field
{
    std::array<uint8_t, 512> exp{};
    std::array<int, 256> log{};
    // generator[d][i]: coefficient of x^(d-1-i) of the monic generator of
    // degree d, its leading 1 left out.
    std::array<std::array<uint8_t, QrReedSolomon::MaxDegree>, QrReedSolomon::MaxDegree + 1> generator{};

    Field()
    {
        int x = 1;
        for (int i = 0; i < 255; ++i) {
            exp[i] = static_cast<uint8_t>(x);
            log[x] = i;
            x <<= 1;
            if (x & 0x100)
                x ^= 0x11D;
        }
        // Doubling the table spares a modulo in every product.
        for (int i = 255; i < 512; ++i)
            exp[i] = exp[i - 255];

        for (int degree = 1; degree <= QrReedSolomon::MaxDegree; ++degree) {
            // Multiply (x - alpha^0)(x - alpha^1)... term by term.
            std::array<uint8_t, QrReedSolomon::MaxDegree> poly{};
            poly[degree - 1] = 1;
            uint8_t root = 1;
            for (int i = 0; i < degree; ++i) {
                for (int j = 0; j < degree; ++j) {
                    poly[j] = Multiply(poly[j], root);
                    if (j + 1 < degree)
                        poly[j] ^= poly[j + 1];
                }
                root = Multiply(root, 2);
            }
            generator[degree] = poly;
        }
    }

    uint8_t Multiply(uint8_t a, uint8_t b) const
    {
        if (a == 0 || b == 0)
            return 0;
        return exp[log[a] + log[b]];
    }
};

const Field& TheField()
{
    static const Field field;
    return field;
}

} // namespace

void QrReedSolomon::ComputeRemainder(const uint8_t* data, int length, int degree, uint8_t* ecc)
{
    const Field& field = TheField();
    const uint8_t* generator = field.generator[degree].data();
    std::memset(ecc, 0, static_cast<size_t>(degree));
    for (int i = 0; i < length; ++i) {
        const uint8_t factor = data[i] ^ ecc[0];
        std::memmove(ecc, ecc + 1, static_cast<size_t>(degree - 1));
        ecc[degree - 1] = 0;
        if (factor == 0)
            continue;
        const int logFactor = field.log[factor];
        for (int j = 0; j < degree; ++j) {
            if (generator[j] != 0)
                ecc[j] ^= field.exp[field.log[generator[j]] + logFactor];
        }
    }
}
