#include "MessageText.h"

#include "UpdaterTexts.h"

#include <cstdarg>
#include <cstdio>

namespace updater {

std::string CauseOf(int error)
{
    for (const ErrorCause& cause : kErrorCauses) {
        if (cause.error == error)
            return cause.text;
    }
    return kOtherCause;
}

std::string FormatText(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

} // namespace updater
