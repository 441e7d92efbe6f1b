#pragma once

#include "UpdateInstallation.h"

#include <QStringList>

class UpdateSeams;

// What the start-up worker hands to the application state after the updates.
struct UpdateStagesResult
{
    QString serviceHost;     // m_strServiceHost
    bool updating = false;   // m_bUpdating: remove the update folder at exit
    bool updaterStarted = false; // `up` is about to replace this program
};

// The worker's update stages in their order: the update check, the update
// through the database when the service gave no program version, then the
// menu and form data merge; the first that ends the run ends it.
UpdateStagesResult RunUpdateStages(const UpdateInstallation& installation, UpdateSeams& seams,
                                   const QStringList& lookupUrls);
