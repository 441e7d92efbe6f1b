#include "Updater.h"

#include "ProgramCopy.h"
#include "Processes.h"
#include "UpdaterTexts.h"

#include <cstdio>
#include <sched.h>

namespace updater {

namespace {

std::string CopyFailedText(int error)
{
    char text[512];
    std::snprintf(text, sizeof text, kCopyFailedFormat, error);
    return text;
}

} // namespace

std::string TargetPath(const std::string& folder)
{
    return folder + kProgramName;
}

std::string SourcePath(const std::string& folder)
{
    return folder + kUpdateFolderName + kProgramName;
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

    // The new program is copied beside the old one before the old one is
    // ended, so a source that cannot be read (missing, empty) ends nothing,
    // and the program folder never holds a half-written program.
    ProgramCopy copy(target);
    if (copy.Stage(SourcePath(folder))) {
        // Twice, so that a second running instance is ended as well.
        KillProcessByPath(target);
        KillProcessByPath(target);
        ::sched_yield();
        if (copy.Commit()) {
            seams.StartProgram(target);
            return 0;
        }
    }
    seams.ShowMessage(CopyFailedText(copy.Error()));
    return 0;
}

} // namespace updater
