#include "UpdateStages.h"

#include "DatabaseUpdate.h"
#include "MenuDataMerge.h"
#include "UpdateCheck.h"
#include "UpdateSeams.h"

UpdateStagesResult RunUpdateStages(const UpdateInstallation& installation, UpdateSeams& seams,
                                   const QStringList& lookupUrls)
{
    UpdateStagesResult result;
    const QString serviceHost = CUpdateCheck::FindServiceHost(lookupUrls);
    seams.NoteServiceHost(serviceHost);
    const UpdateCheckResult check = CUpdateCheck(installation, seams).Run(serviceHost);
    result.serviceHost = check.serviceHost;
    if (check.updaterStarted) {
        result.updaterStarted = true;
        return result;
    }
    if (check.programVersion.isEmpty() && CDatabaseUpdate(installation, seams).UpdateFromDatabase())
        return result;
    CMenuDataMerge merge(installation, check.serviceHost, seams);
    merge.Run(check.menuVersion);
    result.updating = merge.Updating();
    return result;
}
