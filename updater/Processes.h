#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// The running program's folder and the ending of a running program by its path.
namespace updater {

// The folder of the running executable, ending in "/"; empty when it cannot be read.
std::string GetModuleFolder();

// The executable file of a process as /proc shows it, without the " (deleted)"
// mark of a replaced file; empty when it cannot be read (another user's
// process, a zombie, a process that is gone).
std::string ExecutablePathOf(pid_t pid);

// The processes other than this one that run the program file `path`: those
// whose executable /proc shows as exactly `path` (Linux names are
// case-sensitive), and those whose executable it does not show (another
// user's) but whose command line starts with `path` or, given relative
// ("./tembra"), with its file name.
std::vector<pid_t> InstancesOf(const std::string& path);

// Ends one process: asks it with SIGTERM and, when it is still there after a
// bounded wait, forces it with SIGKILL. True once it runs no more.
bool EndProcess(pid_t pid);

// Ends every instance of `path` as EndProcess does. When one of them may not
// be ended (another user's, or one whose executable cannot be read), none is
// asked and the result is false; false too when one still runs at the end.
// True when none runs any more.
bool EndInstances(const std::string& path);

} // namespace updater
