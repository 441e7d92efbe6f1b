#pragma once

#include <QString>

class UpdateSeams;

// Publishing the running program and `up` beside it into c_app, so that the
// installations sharing the database fetch them at their next start.
class CVersionPublisher
{
public:
    // programFolder ends in "/"; programTime is the program file's time as
    // GetFileTimeText gives it.
    CVersionPublisher(const QString& programFolder, const QString& programPath, const QString& runningVersion,
                      const QString& programTime, const QString& connectText, UpdateSeams& seams);

    // True when the versions were compared (published, nothing newer, or the
    // version could not be stored); false when it stopped before.
    bool PublishNewVersion();

private:
    QString m_strProgramFolder;
    QString m_strProgramPath;
    QString m_strVersion;
    QString m_strProgramTime;
    QString m_strConnect;
    UpdateSeams& m_seams;
};
