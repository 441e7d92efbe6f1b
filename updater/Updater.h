#pragma once

#include <string>

// The updater's work: end the running main program, put the downloaded one in
// its place and start it again.
namespace updater {

// What the updater asks of the user and the system; tests put in their own.
class UpdaterSeams
{
public:
    virtual ~UpdaterSeams() = default;
    // Asks a Yes/No question; true for Yes.
    virtual bool Confirm(const std::string& text, const std::string& caption) = 0;
    // Shows a message and returns once it is shown.
    virtual void ShowMessage(const std::string& text) = 0;
    // Starts a program on its own and returns at once; false when it could
    // not be started.
    virtual bool StartProgram(const std::string& path) = 0;
    // Starts the new main program and waits until it says that its first
    // window shows (StartSignal.h). False, with the reason in failure, when
    // it could not be started, ended before that, or stayed silent; it runs
    // no more then.
    virtual bool StartAndAwaitReady(const std::string& path, std::string& failure) = 0;
};

// The main program in `folder` (which ends in "/"), and the downloaded one.
// The main program may be named "tembra" or "Tembra" (start-up accepts both);
// the target is the one running, else the one there, else "tembra", so that
// an installation is always updated in place.
std::string TargetPath(const std::string& folder);
std::string SourcePath(const std::string& folder);

// The program's work for `argumentCount` command-line arguments (their text is
// not read) with `folder` as its own folder. Without arguments it starts the
// main program and returns -1. With arguments it asks, checks the downloaded
// program, ends every running instance of the main program, replaces it by
// the downloaded one and starts it, and returns 0. A download that is no
// whole program, a folder that cannot be written, or an instance that may not
// be ended, leaves everything as it was; a new program that does not say it
// started is replaced by the old one, which is started again. Each of these
// is said in a message, a system error with its cause and number.
int RunUpdater(int argumentCount, const std::string& folder, UpdaterSeams& seams);

} // namespace updater
