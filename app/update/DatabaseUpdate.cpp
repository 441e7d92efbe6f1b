#include "DatabaseUpdate.h"

#include "ProgramFiles.h"
#include "UpdateSeams.h"
#include "UpdateTexts.h"
#include "db/DbConnection.h"
#include "web/FileHelpers.h"

#include <QDir>

CDatabaseUpdate::CDatabaseUpdate(const UpdateInstallation& installation, UpdateSeams& seams)
    : m_installation(installation), m_seams(seams)
{
}

bool CDatabaseUpdate::UpdateFromDatabase()
{
    CDbConnection db;
    if (!m_installation.ConnectDatabase(db))
        return true;

    QStringList published;
    if (!db.QueryToList(UpdateTexts::SelectPublishedVersion, {QStringLiteral("ver_0")}, published)
        || published.isEmpty())
        return false;
    const QString version = published.first();
    if (CompareVersions(m_installation.runningVersion, version) >= 0)
        return false;
    if (!UpdateMarker(m_installation.programFolder).MayInstall(version, m_installation.programPath))
        return false;

    QList<QByteArray> buffers;
    QList<int> sizes;
    const bool read = db.ReadBlobs(UpdateTexts::SelectPublishedPrograms, {QStringLiteral("exe_0")}, buffers, sizes);
    db.Close();
    if (!read || buffers.isEmpty()) {
        m_seams.ShowMessage(UpdateTexts::MsgDownloadFailed);
        return false;
    }
    if (!InstallPublished(buffers.value(0), buffers.value(1)))
        return false;
    UpdateMarker(m_installation.programFolder)
        .Note(version, m_installation.UpdateFolder() + UpdateTexts::ProgramName);
    m_seams.StartUpdater(m_installation.programFolder, UpdateTexts::UpdaterSwitch);
    return true;
}

// Only programs are written, each through a file that replaces the old one
// when complete; an empty or damaged published program installs nothing and
// starts no updater.
bool CDatabaseUpdate::InstallPublished(const QByteArray& program, const QByteArray& updater)
{
    if (!IsProgramImage(program))
        return false;
    try {
        if (IsProgramImage(updater)) {
            const QString path = m_installation.programFolder + UpdateTexts::UpdaterName;
            WriteWholeFile(path, updater);
            MakeExecutable(path);
        }
        QDir().mkpath(m_installation.UpdateFolder());
        const QString path = m_installation.UpdateFolder() + UpdateTexts::ProgramName;
        WriteWholeFile(path, program);
        return MakeExecutable(path);
    } catch (const FileException&) {
        return false;
    }
}
