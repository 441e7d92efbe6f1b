#pragma once

#include <string>

// Whether bytes are a whole program for this machine: an ELF executable or
// position-independent executable of this machine's class, byte order and
// architecture whose program headers, segments, section headers and sections
// all lie inside the bytes. A download cut short, an HTML error page or a
// shell script is refused, so neither the main program nor `up` ever puts
// such a file in place of a working program. Plain C++, shared by both.
namespace updater {

bool IsProgramImage(const std::string& bytes);
// The file's bytes as IsProgramImage judges them; false when it cannot be read.
bool IsProgramFile(const std::string& path);

} // namespace updater
