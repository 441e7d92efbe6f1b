#pragma once

#include <string>

namespace updater {

// Replaces a program file by a new one without ever leaving a half-written
// program: the new file is copied to a temporary file beside the target,
// checked to be a whole program for this machine, made executable and synced
// (Stage), and only then renamed over the target (Commit), and the folder is
// synced, so that the new name survives a power cut. A rename also works
// while the old program is still running from the file. The old program stays
// beside the new one until the new one is known to start: Restore puts it
// back, DropOld removes it. An uncommitted temporary file is removed with the
// object.
class ProgramCopy
{
public:
    explicit ProgramCopy(std::string target);
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    // Copies `source` to the temporary file. A missing source fails, and so
    // does one that is no whole program (ENOEXEC).
    bool Stage(const std::string& source);
    // Keeps the old target beside it, then renames the staged file over it.
    bool Commit();
    // Puts the old target back in place of the committed one.
    bool Restore();
    // Removes the old target kept by Commit.
    void DropOld();
    // Where Commit keeps the old target.
    const std::string& OldPath() const;

    // The system error number of the last failure; ENOEXEC for a source
    // that is no whole program.
    int Error() const;

private:
    bool Fail(int error);
    void RemoveTemporary();
    void SyncFolder() const;

    std::string m_target;
    std::string m_old;
    std::string m_temporary;
    int m_error = 0;
};

} // namespace updater
