#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Decodes a stored form description: a little-endian signed 32-bit output
// length N, one byte of code width w (at most 25), then codes of w bits
// packed least-significant bit first. Codes below 256 are literal bytes and
// 256 + k names dictionary entry k; the dictionary holds (1 << w) - 256
// entries and is emptied when full. The first code is a literal.
//
// On success decoded holds the N output bytes (the description in UTF-16LE)
// and the result is true. A damaged form (under 6 bytes, a width of 0 or
// above 25, a negative N or one more than its codes can give, a code whose
// bits run past the data, a code naming an undefined entry, a string running
// past N) gives false and an empty result. Bytes past the data read as zero.
// A declared N above kMaxDecodedBytes is refused before anything is
// allocated: forms are kilobytes, and a few hundred kilobytes of codes can
// declare gigabytes. On failure, reason (when given) says why for the user.
bool LzwDecode(QByteArrayView stored, QByteArray& decoded, QString* reason = nullptr);

// 64 MiB of UTF-16 text.
inline constexpr qsizetype kMaxDecodedBytes = qsizetype(64) << 20;
