#include "MenuDataMerge.h"

#include "MenuDataFiles.h"
#include "ServiceScript.h"
#include "UpdateSeams.h"
#include "UpdateTexts.h"
#include "db/DbConnection.h"
#include "text/ModuleFolder.h"
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

bool CMenuDataMerge::Download(const QString& name, const QString& failure) const
{
    QString why;
    if (DownloadToFile(FileUrl(name), m_installation.UpdateFolder() + name, &why))
        return true;
    Log(failure.arg(why), FileUrl(name));
    return false;
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
    if (!Download(MenuFile, FileNotDownloaded.arg(MenuFile)))
        return Outcome::NotDownloaded;
    m_bUpdating = true;
    m_seams.NoteUpdating();
    for (const QString& name : {ButtonFile, BeforeScriptFile, AfterScriptFile})
        if (!Download(name, FileNotDownloaded.arg(name)))
            return Outcome::NotDownloaded;

    CDbConnection db;
    Outcome outcome = Outcome::Refused;
    try {
        if (m_installation.ConnectDatabase(db))
            outcome = Merge(db, newVersion);
        else
            Log(NotConnected, db.m_strErrorInfo);
    } catch (const FileException& failure) {
        Log(FileRefused, failure.Path() + QStringLiteral("\n") + failure.Reason());
    } catch (const CDbException& failure) {
        Log(TransactionFailed, failure.Message());
    }
    db.Close();
    if (outcome != Outcome::AlreadyMerged)
        m_seams.RemoveUpdateFolder();
    return outcome;
}

void CMenuDataMerge::Log(const QString& failure, const QString& detail) const
{
    try {
        AppendTextFileCrlf(m_installation.programFolder + LogFileName, failure + QStringLiteral("\n\n") + detail
                                                                      + QStringLiteral("\n"));
    } catch (const FileException&) {
        // A log that cannot be written does not stop the update.
    }
}

void CMenuDataMerge::ExecuteLogged(CDbConnection& db, const QString& sql) const
{
    if (!db.Execute(sql))
        Log(StatementFailed.arg(MergeStatements), db.m_strErrorInfo);
}

// Statement by statement on every kind: sent as one text, a failing statement
// would keep every later one out on PostgreSQL and SQL Server. Inside the
// merge's transaction a failing statement on PostgreSQL costs only itself,
// as the connection rolls back to the point before each statement.
void CMenuDataMerge::RunServiceScript(CDbConnection& db, const QString& name, const QString& script) const
{
    QStringList statements;
    QString error;
    if (!SplitServiceScript(script, SqlDialectOf(db.GetDbTypeText()), statements, error)) {
        Log(ScriptNotSplit.arg(name), error);
        return;
    }
    for (const QString& statement : statements) {
        if (db.ExecuteCommand(statement))
            continue;
        // The detail holds the statement and, on a line of its own, the database's text.
        QString reason = db.m_strErrorInfo;
        if (reason.startsWith(statement))
            reason.remove(0, statement.size());
        Log(StatementFailed.arg(name), statement + QStringLiteral("\n") + reason);
    }
}

CMenuDataMerge::Outcome CMenuDataMerge::Merge(CDbConnection& db, const QString& newVersion)
{
    QString appId;
    if (!db.QueryValue(SelectAppId, appId) || appId != m_installation.appId) {
        const QString queryFailure = db.m_nResult < 0 ? QStringLiteral("\n") + db.m_strErrorInfo : QString();
        Log(OtherInstallation, InstallationIds.arg(appId, m_installation.appId) + queryFailure);
        return Outcome::Refused;
    }

    QStringList installed;
    db.QueryToList(SelectMenuDump, kMenuFields, installed);
    const QString dump = MenuDataFiles::Dump(installed);
    WriteGb2312File(m_installation.UpdateFolder() + MenuDumpFile, dump);

    MenuDataFiles files;
    files.Read(ReadText(MenuFile), ReadText(ButtonFile));
    for (const MenuDataProblem& problem : files.Problems())
        Log(problem.failure, problem.line);
    const QStringList changed = files.ChangedUids(dump);
    for (const QString& uid : changed)
        if (!Download(FormFile.arg(uid), FormNotDownloaded.arg(uid)))
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
    RunServiceScript(db, AfterScriptFile, ReadText(AfterScriptFile));
    return Outcome::Merged;
}

bool CMenuDataMerge::StageAndMerge(CDbConnection& db, const MenuDataFiles& files, const QStringList& changed,
                                   const QString& beforeScript, const QString& newVersion)
{
    // The kind of the connection open here, not the one the settings name.
    const QString kind = db.GetDbTypeText();
    const bool access = kind == kKindAccess;
    // On every kind, PostgreSQL included: the service writes it for each kind,
    // and a staging it prepares for would otherwise be refused.
    RunServiceScript(db, BeforeScriptFile, beforeScript);
    ExecuteLogged(db, access ? EmptyButtonStagingAccess : EmptyButtonStaging);
    StageRows(db, ButtonFile, SelectButtonStaging, kButtonFields, files.Buttons());
    ExecuteLogged(db, access ? EmptyMenuStagingAccess : EmptyMenuStaging);
    QList<QStringList> entries;
    for (const QString& line : files.MenuLines())
        entries.append(MenuDataFiles::MenuFields(line));
    // With no entry staged the merge would empty the installed menu.
    if (StageRows(db, MenuFile, SelectMenuStaging, kMenuFields, entries) == 0) {
        Log(NoMenuStaged, QString());
        return false;
    }
    StageForms(db, changed);
    if (RunMerge(db, kind, newVersion))
        return true;
    Log(MergeNotDone, db.m_strErrorInfo);
    return false;
}

// Each row that is refused (a uid given twice, a value of the wrong type) is
// logged with its fields; the count of rows staged.
int CMenuDataMerge::StageRows(CDbConnection& db, const QString& file, const QString& sql, const QStringList& fields,
                              const QList<QStringList>& rows) const
{
    int staged = 0;
    for (const QStringList& row : rows) {
        db.m_strErrorInfo.clear();
        if (db.AddRecord(sql, fields, row))
            ++staged;
        else
            Log(RowNotStaged.arg(file), row.join(u',') + QStringLiteral("\n") + db.m_strErrorInfo);
    }
    return staged;
}

// A form that cannot be stored ends the walk: that entry and the ones after
// it keep the installed forms, as the carry-over gives them.
void CMenuDataMerge::StageForms(CDbConnection& db, const QStringList& changed) const
{
    for (const QString& uid : changed) {
        const QByteArray form = ReadWholeFile(m_installation.UpdateFolder() + FormFile.arg(uid));
        if (form.isEmpty()) {
            ExecuteLogged(db, ClearStagedForm.arg(uid));
            continue;
        }
        db.m_strErrorInfo.clear();
        if (!db.WriteBlobs(SelectStagedForm.arg(uid), {QStringLiteral("form_0")}, {form},
                           {static_cast<int>(form.size())})) {
            Log(FormNotStored.arg(uid), db.m_strErrorInfo);
            return;
        }
    }
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
