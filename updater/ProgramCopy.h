#pragma once

#include <string>

namespace updater {

// Replaces a program file by a new one without ever leaving a half-written
// program: the new file is copied to a temporary file beside the target, made
// executable and synced (Stage), and only then renamed over the target
// (Commit). A rename also works while the old program is still running from
// the file. An uncommitted temporary file is removed with the object.
class ProgramCopy
{
public:
    explicit ProgramCopy(std::string target);
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    // Copies `source` to the temporary file. A missing or empty source fails.
    bool Stage(const std::string& source);
    // Renames the staged file over the target.
    bool Commit();

    // The system error number of the last failure; ENOEXEC for an empty source.
    int Error() const;

private:
    bool Fail(int error);
    void RemoveTemporary();

    std::string m_target;
    std::string m_temporary;
    int m_error = 0;
};

} // namespace updater
