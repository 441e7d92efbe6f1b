// Drives the cfg.ini reader and writer over arbitrary file bytes: both must
// survive any input, and a written key must read back.
#include "text/IniFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString section = QStringLiteral("SERVER");
    const QString key = QStringLiteral("NAME");
    ReadIniValue(bytes, section, key);

    // Depending on the file the key is replaced, added to its section or
    // added with a new section at the end.
    const QString value = QStringLiteral("值=1");
    if (ReadIniValue(WriteIniValue(bytes, section, key, value), section, key) != value)
        __builtin_trap();
    return 0;
}
