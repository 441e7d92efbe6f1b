#include "MenuDataFiles.h"

#include <QString>
#include <cstddef>
#include <cstdint>

// The menu-data files come from the network: reading them must never crash,
// and what is read must hold the promised field counts and integer uids.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = bytes.indexOf('\0');
    const QString menu = QString::fromUtf8(split < 0 ? bytes : bytes.left(split));
    const QString buttons = split < 0 ? QString() : QString::fromUtf8(bytes.mid(split + 1));
    MenuDataFiles files;
    files.Read(menu, buttons);
    for (const QString& line : files.MenuLines())
        if (MenuDataFiles::MenuFields(line).size() != 8)
            __builtin_trap();
    for (const QStringList& button : files.Buttons())
        if (button.size() != 4)
            __builtin_trap();
    files.ChangedUids(menu);
    return 0;
}
