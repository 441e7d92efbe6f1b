#include "web/LzwDecode.h"

#include <cstddef>
#include <cstdint>

// Any bytes: the decoder must reject or decode them without reading or
// writing out of bounds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray decoded;
    LzwDecode(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), decoded);
    return 0;
}
