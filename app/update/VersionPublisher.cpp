#include "VersionPublisher.h"

#include "ProgramFiles.h"
#include "UpdateInstallation.h"
#include "UpdateSeams.h"
#include "UpdateTexts.h"
#include "db/DbConnection.h"
#include "web/FileHelpers.h"

namespace {

const QString kDbSqlServer = QStringLiteral("1");

bool WriteProgram(CDbConnection& db, const QString& row, const QByteArray& bytes)
{
    return db.WriteBlobs(UpdateTexts::SelectPublishedRow.arg(row), {QStringLiteral("exe_0")}, {bytes},
                         {static_cast<int>(bytes.size())});
}

} // namespace

CVersionPublisher::CVersionPublisher(const QString& programFolder, const QString& programPath,
                                     const QString& runningVersion, const QString& programTime,
                                     const QString& connectText, UpdateSeams& seams)
    : m_strProgramFolder(programFolder),
      m_strProgramPath(programPath),
      m_strVersion(runningVersion),
      m_strProgramTime(programTime),
      m_strConnect(connectText),
      m_seams(seams)
{
}

bool CVersionPublisher::PublishNewVersion()
{
    CDbConnection db;
    db.SetConnectString(m_strConnect);
    if (!db.Connect())
        return false;
    QStringList published;
    if (!db.QueryToList(UpdateTexts::SelectPublishedVersion, {QStringLiteral("ver_0")}, published)
        || published.isEmpty())
        return false;
    if (CompareVersions(m_strVersion, published.first()) < 1) {
        m_seams.ShowMessage(UpdateTexts::MsgNoNewVersion);
        return true;
    }
    const QString updaterPath = m_strProgramFolder + UpdateTexts::UpdaterName;
    if (!IsProgramFile(updaterPath)) {
        m_seams.ShowMessage(UpdateTexts::MsgUpdaterMissing);
        return false;
    }
    if (!m_seams.AskYesNo(UpdateTexts::MsgPublishQuestion, UpdateTexts::MsgPublishCaption))
        return false;

    QByteArray program, updater;
    try {
        program = ReadWholeFile(m_strProgramPath);
        updater = ReadWholeFile(updaterPath);
    } catch (const FileException&) {
        m_seams.ShowMessage(UpdateTexts::MsgPublishProgramFailed);
        return false;
    }
    // Both files and the version go in together: another installation must
    // never find the new version beside the old program, or half of a pair.
    try {
        db.BeginTrans();
        if (!WriteProgram(db, QStringLiteral("1"), program)) {
            db.RollbackTrans();
            m_seams.ShowMessage(UpdateTexts::MsgPublishProgramFailed);
            return false;
        }
        if (!WriteProgram(db, QStringLiteral("2"), updater)) {
            db.RollbackTrans();
            m_seams.ShowMessage(UpdateTexts::MsgPublishUpdaterFailed);
            return false;
        }
        const QString& store = db.GetDbTypeText() == kDbSqlServer ? UpdateTexts::StorePublishedVersion
                                                                   : UpdateTexts::StorePublishedVersionOther;
        if (db.Execute(store.arg(m_strVersion, m_strProgramTime))) {
            db.CommitTrans();
            m_seams.ShowMessage(UpdateTexts::MsgPublished);
        } else {
            db.RollbackTrans();
            m_seams.ShowMessage(UpdateTexts::MsgVersionNotStored);
        }
    } catch (const CDbException& error) {
        m_seams.ShowMessage(error.Message());
        return false;
    }
    return true;
}
