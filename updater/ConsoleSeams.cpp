#include "ConsoleSeams.h"

#include "UpdaterTexts.h"

#include <iostream>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace updater {

bool ConsoleSeams::Confirm(const std::string& text, const std::string& caption)
{
    if (!::isatty(STDIN_FILENO))
        return true;
    std::cout << caption << '\n' << text << kConsoleAnswerHint << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    const auto first = answer.find_first_not_of(" \t");
    return first != std::string::npos && (answer[first] == 'y' || answer[first] == 'Y');
}

void ConsoleSeams::ShowMessage(const std::string& text)
{
    std::cerr << text << std::endl;
}

void ConsoleSeams::StartProgram(const std::string& path)
{
    posix_spawnattr_t attributes;
    if (::posix_spawnattr_init(&attributes) != 0)
        return;
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    char* const arguments[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    ::posix_spawn(&pid, path.c_str(), nullptr, &attributes, arguments, environ);
    ::posix_spawnattr_destroy(&attributes);
}

} // namespace updater
