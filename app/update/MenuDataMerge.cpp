#include "MenuDataMerge.h"

#include "MenuDataFiles.h"
#include "UpdateSeams.h"
#include "UpdateTexts.h"
#include "db/DbConnection.h"
#include "text/SqlText.h"
#include "web/FileHelpers.h"
#include "web/HttpClient.h"

#include <QDir>

using namespace UpdateTexts;

namespace {

const QString kKindSqlServer = QStringLiteral("1");
const QString kKindAccess = QStringLiteral("2");
const QString kKindPostgreSql = QStringLiteral("3");

const QStringList kMenuFields = {"uid_0", "level_0", "leaf_0", "order_0", "pUid_0", "name_0",
                                 "update_user_uid_0", "update_time_0"};
const QStringList kButtonFields = {"uid_0", "menu_uid_0", "button_id_0", "value_0"};

// Statements one by one, stopping at the first that fails.
bool ExecuteAll(CDbConnection& db, const QStringList& statements)
{
    for (const QString& statement : statements)
        if (!db.Execute(statement))
            return false;
    return true;
}

} // namespace

CMenuDataMerge::CMenuDataMerge(const UpdateInstallation& installation, const QString& serviceHost,
                               UpdateSeams& seams)
    : m_installation(installation), m_strServiceHost(serviceHost), m_seams(seams)
{
}

QString CMenuDataMerge::FileUrl(const QString& name) const
{
    return MenuFileDownload.arg(m_strServiceHost, m_installation.dbType, m_installation.appId, name);
}

bool CMenuDataMerge::Download(const QString& name) const
{
    return DownloadToFile(FileUrl(name), m_installation.UpdateFolder() + name);
}

// The file's text; an empty file gives an empty text, an unreadable one throws.
QString CMenuDataMerge::ReadText(const QString& name) const
{
    QString text;
    ReadGb2312File(m_installation.UpdateFolder() + name, text);
    return text;
}

CMenuDataMerge::Outcome CMenuDataMerge::Run(const QString& newVersion)
{
    if (newVersion.isEmpty() || newVersion == m_installation.menuVersion) {
        m_seams.RemoveUpdateFolder();
        return Outcome::NothingNew;
    }
    QDir().mkpath(m_installation.UpdateFolder());
    if (!Download(MenuFile))
        return Outcome::NotDownloaded;
    m_bUpdating = true;
    m_seams.NoteUpdating();
    for (const QString& name : {ButtonFile, BeforeScriptFile, AfterScriptFile})
        if (!Download(name))
            return Outcome::NotDownloaded;

    CDbConnection db;
    db.SetConnectString(m_installation.connectText);
    Outcome outcome = Outcome::Refused;
    try {
        if (db.Connect())
            outcome = Merge(db, newVersion);
    } catch (const FileException&) {
        outcome = Outcome::Refused;
    } catch (const CDbException&) {
        outcome = Outcome::Refused;
    }
    db.Close();
    if (outcome != Outcome::AlreadyMerged)
        m_seams.RemoveUpdateFolder();
    return outcome;
}

CMenuDataMerge::Outcome CMenuDataMerge::Merge(CDbConnection& db, const QString& newVersion)
{
    QString appId;
    if (!db.QueryValue(SelectAppId, appId) || appId != m_installation.appId)
        return Outcome::Refused;

    QStringList installed;
    db.QueryToList(SelectMenuDump, kMenuFields, installed);
    const QString dump = MenuDataFiles::Dump(installed);
    WriteGb2312File(m_installation.UpdateFolder() + MenuDumpFile, dump);

    MenuDataFiles files;
    if (!files.Read(ReadText(MenuFile), ReadText(ButtonFile)))
        return Outcome::Refused;
    const QStringList changed = files.ChangedUids(dump);
    for (const QString& uid : changed)
        if (!Download(FormFile.arg(uid)))
            return Outcome::Refused;

    QString stored;
    if (db.QueryValue(SelectMenuVersion, stored) && stored == newVersion)
        return Outcome::AlreadyMerged;

    const QString beforeScript = ReadText(BeforeScriptFile);
    db.BeginTrans();
    bool merged = false;
    try {
        merged = StageAndMerge(db, files, changed, beforeScript, newVersion);
    } catch (...) {
        db.RollbackTrans();
        throw;
    }
    if (!merged) {
        db.RollbackTrans();
        return Outcome::Refused;
    }
    db.CommitTrans();

    // The service's clean-up comes after the merge is stored; it has no say in it.
    const QString afterScript = ReadText(AfterScriptFile);
    if (db.GetDbTypeText() == kKindAccess)
        db.ExecuteScriptAll(afterScript);
    else
        db.Execute(afterScript);
    return Outcome::Merged;
}

bool CMenuDataMerge::StageAndMerge(CDbConnection& db, const MenuDataFiles& files, const QStringList& changed,
                                   const QString& beforeScript, const QString& newVersion)
{
    // The kind of the connection open here, not the one the settings name.
    const QString kind = db.GetDbTypeText();
    const bool access = kind == kKindAccess;
    if (!beforeScript.isEmpty() && (kind == kKindSqlServer || access)) {
        if (!(access ? db.ExecuteScriptAll(beforeScript) : db.Execute(beforeScript)))
            return false;
    }
    if (!db.Execute(access ? EmptyButtonStagingAccess : EmptyButtonStaging))
        return false;
    for (const QStringList& button : files.Buttons())
        if (!db.AddRecord(SelectButtonStaging, kButtonFields, button))
            return false;
    if (!db.Execute(access ? EmptyMenuStagingAccess : EmptyMenuStaging))
        return false;
    for (const QString& line : files.MenuLines())
        if (!db.AddRecord(SelectMenuStaging, kMenuFields, MenuDataFiles::MenuFields(line)))
            return false;
    return StageForms(db, changed) && RunMerge(db, kind, newVersion);
}

bool CMenuDataMerge::StageForms(CDbConnection& db, const QStringList& changed)
{
    for (const QString& uid : changed) {
        const QByteArray form = ReadWholeFile(m_installation.UpdateFolder() + FormFile.arg(uid));
        const bool stored = form.isEmpty()
            ? db.Execute(ClearStagedForm.arg(uid))
            : db.WriteBlobs(SelectStagedForm.arg(uid), {QStringLiteral("form_0")}, {form},
                            {static_cast<int>(form.size())});
        if (!stored)
            return false;
    }
    return true;
}

bool CMenuDataMerge::RunMerge(CDbConnection& db, const QString& kind, const QString& newVersionText)
{
    // The version comes from the network.
    QString newVersion = newVersionText;
    EscapeSqlText(newVersion);
    if (kind == kKindAccess)
        return ExecuteAll(db, {MergeCarryFormsAccess, MergeEmptyMenuAccess, MergeFillMenuAccess,
                               MergeEmptyButtonsAccess, MergeFillButtonsAccess,
                               MergeStoreVersionAccess.arg(newVersion), EmptyMenuStagingAccess});
    QStringList statements;
    if (kind == kKindSqlServer)
        statements = {MergeCarryForms, MergeEmptyMenu, MergeMenuIdentityOn, MergeFillMenu, MergeMenuIdentityOff,
                      MergeCarryButtonStates, MergeEmptyButtons, MergeButtonIdentityOn, MergeFillButtons,
                      MergeButtonIdentityOff, MergeStoreVersion.arg(newVersion)};
    else if (kind == kKindPostgreSql)
        statements = {MergeCarryForms, MergeEmptyMenu, MergeFillMenu, MergeCarryButtonStates, MergeEmptyButtons,
                      MergeFillButtons, MergeStoreVersion.arg(newVersion)};
    else
        return false;
    return db.Execute(statements.join(u';')) && db.Execute(EmptyMenuStaging);
}
