// Arbitrary bytes into the QR encoder (level, version and mask from the first
// byte) and into the Code 128 pattern builder: no crash, no read or write
// outside the symbol, and a symbol of the size its version gives.
#include "Code128.h"
#include "QrEncoder.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static auto encoder = std::make_unique<QrEncoder>();
    const int level = data[0] & 3;
    const int version = 1 + (data[0] >> 2) % 40;
    const int mask = static_cast<int>((data[0] >> 2) % 9) - 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    if (encoder->EncodeBytes(level, version, true, mask, bytes)) {
        if (encoder->Size() != 17 + 4 * encoder->Version() || encoder->Version() < version)
            std::abort();
    }
    static const QString kinds[] = {QStringLiteral("128a"), QStringLiteral("128b"), QStringLiteral("128c"),
                                    QStringLiteral("128e")};
    QString error;
    const QString pattern = BuildCode128Pattern(QString::fromUtf8(bytes), kinds[data[0] & 3], &error);
    if (pattern.isEmpty() == error.isEmpty() && !bytes.isEmpty())
        std::abort();
    return 0;
}
