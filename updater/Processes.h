#pragma once

#include <string>
#include <sys/types.h>

// The running program's folder and the ending of a running program by its path.
namespace updater {

// The folder of the running executable, ending in "/"; empty when it cannot be read.
std::string GetModuleFolder();

// The executable file of a process as /proc shows it, without the " (deleted)"
// mark of a replaced file; empty when it cannot be read (another user's
// process, a zombie, a process that is gone).
std::string ExecutablePathOf(pid_t pid);

// Ends the first process other than this one whose executable is exactly
// `path` (Linux names are case-sensitive), first asking it with SIGTERM and,
// when it is still there after a bounded wait, with SIGKILL. Returns whether a
// process was ended.
bool KillProcessByPath(const std::string& path);

} // namespace updater
