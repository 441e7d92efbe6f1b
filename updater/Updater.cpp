#include "Updater.h"

#include "MessageText.h"
#include "ProgramCopy.h"
#include "Processes.h"
#include "UpdaterTexts.h"

#include <cerrno>
#include <sched.h>
#include <unistd.h>

namespace updater {

namespace {

std::string FailureText(int error)
{
    if (error == ENOEXEC)
        return kNotAProgramText;
    return FormatText(kCopyFailedFormat, CauseOf(error).c_str(), error);
}

bool Exists(const std::string& path)
{
    return ::access(path.c_str(), F_OK) == 0;
}

} // namespace

std::string TargetPath(const std::string& folder)
{
    for (const char* name : kProgramNames) {
        if (!InstancesOf(folder + name).empty())
            return folder + name;
    }
    for (const char* name : kProgramNames) {
        if (Exists(folder + name))
            return folder + name;
    }
    return folder + kProgramNames[0];
}

std::string SourcePath(const std::string& folder)
{
    return folder + kUpdateFolderName + kProgramNames[0];
}

int RunUpdater(int argumentCount, const std::string& folder, UpdaterSeams& seams)
{
    const std::string target = TargetPath(folder);
    if (argumentCount < 1) {
        seams.StartProgram(target);
        return -1;
    }

    // No leaves the running program and the downloaded file as they are.
    if (!seams.Confirm(kConfirmText, kConfirmCaption))
        return 0;

    // The new program is copied and checked beside the old one before the
    // old one is ended, so a download that is no program ends nothing, and
    // the program folder never holds a half-written program.
    ProgramCopy copy(target);
    if (!copy.Stage(SourcePath(folder))) {
        seams.ShowMessage(FailureText(copy.Error()));
        return 0;
    }
    // Every instance is ended, not only the first two; one that may not be
    // ended stops the update before the program file is replaced.
    if (!EndInstances(target)) {
        seams.ShowMessage(kCannotEndText);
        return 0;
    }
    ::sched_yield();
    if (!copy.Commit()) {
        seams.ShowMessage(FailureText(copy.Error()));
        return 0;
    }
    std::string failure;
    if (seams.StartAndAwaitReady(target, failure)) {
        copy.DropOld();
        return 0;
    }
    // A new program that does not start would leave the user with none.
    if (!copy.Restore()) {
        seams.ShowMessage(FormatText(kRestoreFailedFormat, failure.c_str(), CauseOf(copy.Error()).c_str(),
                                     copy.Error(), copy.OldPath().c_str(), target.c_str()));
        return 0;
    }
    seams.StartProgram(target);
    seams.ShowMessage(FormatText(kNewProgramFailedFormat, failure.c_str()));
    return 0;
}

} // namespace updater
