// Drives the cfg.ini reader and writer over arbitrary file bytes: both must
// survive any input, and a written key must read back.
#include "text/IniFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ReadIniValue(bytes, QStringLiteral("SERVER"), QStringLiteral("NAME"));
    ReadIniValue(bytes, QStringLiteral("TABLECOLS"), QStringLiteral("T1_2_3_4"));

    const QString value = QStringLiteral("值=1");
    for (const QString& section : {QStringLiteral("SERVER"), QStringLiteral("NEW")}) {
        const QByteArray written = WriteIniValue(bytes, section, QStringLiteral("NAME"), value);
        if (ReadIniValue(written, section, QStringLiteral("NAME")) != value)
            __builtin_trap();
    }
    return 0;
}
