#include "ConsoleSeams.h"

#include "UpdaterTexts.h"

#include <fcntl.h>
#include <iostream>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace updater {

namespace {
constexpr const char* kNullDevice = "/dev/null";
}

bool ConsoleSeams::Confirm(const std::string& text, const std::string& caption)
{
    if (!::isatty(STDIN_FILENO))
        return false;
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
    posix_spawn_file_actions_t files;
    if (::posix_spawn_file_actions_init(&files) != 0) {
        ::posix_spawnattr_destroy(&attributes);
        return;
    }
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    ::posix_spawn_file_actions_addopen(&files, STDIN_FILENO, kNullDevice, O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, kNullDevice, O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&files, STDERR_FILENO, kNullDevice, O_WRONLY, 0);
    char* const arguments[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    ::posix_spawn(&pid, path.c_str(), &files, &attributes, arguments, environ);
    ::posix_spawn_file_actions_destroy(&files);
    ::posix_spawnattr_destroy(&attributes);
}

} // namespace updater
