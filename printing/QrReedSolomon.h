#pragma once

#include <cstdint>

// Reed-Solomon error correction over GF(256) with the QR symbol's field
// polynomial x^8 + x^4 + x^3 + x^2 + 1 and generator roots alpha^0..alpha^(n-1).
namespace QrReedSolomon
{
// The most error-correction codewords one block of any symbol carries.
constexpr int MaxDegree = 30;

// Writes the degree error-correction codewords of the data block into ecc.
// degree lies in 1..MaxDegree.
void ComputeRemainder(const uint8_t* data, int length, int degree, uint8_t* ecc);
}
