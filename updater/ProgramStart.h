#pragma once

#include <chrono>
#include <string>

// Starting the main program. It runs in a session of its own with standard
// input, output and error on /dev/null, so that it outlives the updater and
// never writes into the pipes of a process that has ended.
namespace updater {

// Starts the program and returns at once; false when it could not be started.
bool StartDetached(const std::string& path);

// Starts the program as StartDetached does, handing it the start signal
// (StartSignal.h), and waits until it says that its first window shows. False,
// with the reason (UpdaterTexts.h) in failure, when it could not be started,
// ended before that, or stayed silent for `limit`; a silent one is ended
// (asked, then forced), so none of these runs on.
bool StartAndAwaitReady(const std::string& path, std::chrono::milliseconds limit, std::string& failure);

} // namespace updater
