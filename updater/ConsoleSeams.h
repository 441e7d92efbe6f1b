#pragma once

#include "Updater.h"

namespace updater {

// The updater's seams when no display can be opened.
//
// The question is asked on the terminal when standard input is one. When it is
// not, nobody can be asked, and without consent the running program must not
// be ended: the answer is No. Messages go to standard error. Programs are
// started in a session of their own with standard input, output and error on
// /dev/null, so they outlive the updater and never write into the pipes of a
// process that has ended; a program counts as started when it still runs
// after a short wait, or has ended successfully by then.
class ConsoleSeams : public UpdaterSeams
{
public:
    bool Confirm(const std::string& text, const std::string& caption) override;
    void ShowMessage(const std::string& text) override;
    bool StartProgram(const std::string& path) override;
};

} // namespace updater
