#pragma once

#include <string>

// Filling the updater's fixed texts.
namespace updater {

// The cause of a system error number as the user is told it (UpdaterTexts.h).
std::string CauseOf(int error);

// A fixed text with its printf-style fields filled in.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace updater
