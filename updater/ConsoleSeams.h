#pragma once

#include "Updater.h"

#include <chrono>

namespace updater {

// How long a new main program may take to show its first window: a slow
// machine opening a large program, well beyond a crash at start.
inline constexpr std::chrono::milliseconds kReadyLimit = std::chrono::seconds(30);

// The updater's seams when no display can be opened.
//
// The question is asked on the terminal when standard input is one. When it is
// not, nobody can be asked, and without consent the running program must not
// be ended: the answer is No. Messages go to standard error. Programs are
// started as ProgramStart.h says; the new main program has readyLimit to say
// that it started.
class ConsoleSeams : public UpdaterSeams
{
public:
    explicit ConsoleSeams(std::chrono::milliseconds readyLimit = kReadyLimit);

    bool Confirm(const std::string& text, const std::string& caption) override;
    void ShowMessage(const std::string& text) override;
    bool StartProgram(const std::string& path) override;
    bool StartAndAwaitReady(const std::string& path, std::string& failure) override;

private:
    std::chrono::milliseconds m_readyLimit;
};

} // namespace updater
