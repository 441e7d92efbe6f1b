#include "ShellUpdateSeams.h"

#include "AppTexts.h"
#include "ShellHelpers.h"

#include <QDir>

CShellUpdateSeams::CShellUpdateSeams(const QString& programFolder)
    : m_strProgramFolder(programFolder)
{
}

void CShellUpdateSeams::RemoveUpdateFolder()
{
    RemoveUpdateFolderOf(m_strProgramFolder);
}

void RemoveUpdateFolderOf(const QString& programFolder)
{
    const QString folder = programFolder + AppText::UpdateFolder;
    EmptyFolder(folder);
    QDir().rmdir(folder);
}
