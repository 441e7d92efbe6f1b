#pragma once

#include "UpdateInstallation.h"

class UpdateSeams;

// The update through the database: when a newer program is published in
// c_app, it is written into the update folder, the published `up` beside the
// program, and `up` is started.
class CDatabaseUpdate
{
public:
    CDatabaseUpdate(const UpdateInstallation& installation, UpdateSeams& seams);

    // True ends the start-up worker's run: the database did not open, or `up`
    // was started. False lets the run go on with the menu data.
    bool UpdateFromDatabase();

private:
    bool InstallPublished(const QByteArray& program, const QByteArray& updater);

    const UpdateInstallation& m_installation;
    UpdateSeams& m_seams;
};
