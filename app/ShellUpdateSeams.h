#pragma once

#include "UpdateSeams.h"

// What the update stages and the publishing ask of the shell.
class CShellUpdateSeams : public UpdateSeams
{
public:
    // programFolder ends in "/".
    explicit CShellUpdateSeams(const QString& programFolder);

    void RemoveUpdateFolder() override;

private:
    QString m_strProgramFolder;
};

// Deletes the files of the program folder's "update" folder and then the
// folder; whatever cannot be removed stays.
void RemoveUpdateFolderOf(const QString& programFolder);
