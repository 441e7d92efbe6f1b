#include "ConsoleSeams.h"

#include "ProgramStart.h"
#include "UpdaterTexts.h"

#include <iostream>
#include <unistd.h>

namespace updater {

ConsoleSeams::ConsoleSeams(std::chrono::milliseconds readyLimit) : m_readyLimit(readyLimit) {}

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

bool ConsoleSeams::StartProgram(const std::string& path)
{
    return StartDetached(path);
}

bool ConsoleSeams::StartAndAwaitReady(const std::string& path, std::string& failure)
{
    return updater::StartAndAwaitReady(path, m_readyLimit, failure);
}

} // namespace updater
