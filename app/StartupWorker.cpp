#include "StartupWorker.h"

#include "AppTexts.h"
#include "HostFacts.h"
#include "ShellHelpers.h"
#include "ShellUpdateSeams.h"
#include "UpdateCheck.h"
#include "WorkerDatabase.h"
#include "UpdateStages.h"
#include "db/DbConnectText.h"
#include "db/DbConnection.h"
#include "db/DbFetch.h"
#include "text/AppState.h"
#include "text/DateText.h"
#include "text/IniFile.h"
#include "text/TextScramble.h"
#include "web/FileHelpers.h"
#include "web/ModuleVersion.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kScrambleKey = 1;
// Copies of today and the days before are checked back to this age.
constexpr int kCheckedDays = 30;
// Copies from this many days back on are removed ...
constexpr int kKeptDays = 15;
// ... over this many days.
constexpr int kRemovedDays = 100;
// A menu merge younger than this (seconds) ends the run.
constexpr int64_t kRecentMerge = 300;
constexpr int kAppIdLength = 36;
constexpr int kLongestCompany = 30;

QString BackupPath(const QString& folder, const QString& fileName, const QString& day)
{
    return folder + AppText::BackupFolder + u'/' + fileName + u'.' + day + QStringLiteral(".bak");
}

// The connection text of the same database at another path.
QString TextForCopy(const QString& text, const QString& path, const QString& copy)
{
    QString result = text;
    const qsizetype at = result.indexOf(path);
    if (at >= 0)
        result.replace(at, path.size(), copy);
    return result;
}

// Whether the database file at `path` is sound: it opens, is no empty file
// (SQLite takes one for an empty database) and passes SQLite's integrity
// check, since a file with damaged pages opens as well.
bool IsSoundDatabase(const QString& text, const QString& path)
{
    if (QFileInfo(path).size() == 0)
        return false;
    CDbConnection db;
    QString verdict;
    const bool sound = ConnectAndProbe(db, text) && db.QueryValue(AppText::QuickCheck, verdict)
        && verdict == AppText::QuickCheckPassed;
    db.Close();
    return sound;
}

// The shell's seams for the update stages, handing their facts over as they
// come: the service host once it is found, the update flag once files are in
// the update folder (so that an exit before the stages end removes them).
class CStartupSeams : public CShellUpdateSeams
{
public:
    CStartupSeams(const QString& programFolder, StartupFacts& facts, std::function<void(StartupFact)> handOver)
        : CShellUpdateSeams(programFolder), m_facts(facts), m_handOver(std::move(handOver))
    {
    }

    void NoteServiceHost(const QString& host) override
    {
        m_facts.serviceHost = host;
        m_handOver(StartupFact::ServiceHost);
    }
    void NoteUpdating() override
    {
        m_facts.updating = true;
        m_handOver(StartupFact::Updating);
    }

private:
    StartupFacts& m_facts;
    std::function<void(StartupFact)> m_handOver;
};

} // namespace

bool ConnectAndProbe(CDbConnection& db, const QString& text)
{
    if (!ConnectGivenText(db, text))
        return false;
    if (DbKindOfText(text) != kDbAccess)
        return true;
    QString count;
    return db.QueryValue(AppText::CheckSqliteFile, count);
}

CStartupTasks::CStartupTasks(const QString& programFolder, const QString& programPath)
    : m_lookupUrls(CUpdateCheck::DefaultLookupUrls()), m_strProgramFolder(programFolder),
      m_strProgramPath(programPath)
{
}

void CStartupTasks::RunStartupTasks()
{
    if (RunLocalStages())
        RunUpdates();
}

void CStartupTasks::HandOver(StartupFact fact)
{
    if (m_handOver)
        m_handOver(fact, m_facts);
}

bool CStartupTasks::RunLocalStages()
{
    m_facts.exeName = QFileInfo(m_strProgramPath).fileName();
    HandOver(StartupFact::ExeName);
    ReadConnectionText();
    if (m_nKind == kDbAccess)
        BackUpAccessDatabase();
    if (MenuMergedRecently())
        return false;
    ReadInstallationFacts();
    return true;
}

void CStartupTasks::RunUpdates()
{
    UpdateInstallation installation;
    installation.programFolder = m_strProgramFolder;
    installation.programPath = m_strProgramPath;
    installation.runningVersion = GetFileVersionText(QString());
    installation.connectText = m_strConnect;
    installation.dbType = m_facts.dbType;
    installation.appId = m_facts.appId;
    installation.menuVersion = m_facts.menuVersion;
    installation.company = m_facts.company;
    installation.stockRows = m_strStockRows;
    installation.materialRows = m_strMaterialRows;
    GetMacAddress(installation.macAddress);
    GetHostNameAndIp(installation.hostName, installation.ipAddress);
    CStartupSeams seams(m_strProgramFolder, m_facts, [this](StartupFact fact) { HandOver(fact); });
    RunUpdateStages(installation, seams, m_lookupUrls);
}

void CStartupTasks::ReadConnectionText()
{
    m_strConnect = UnscrambleText(ReadIniString(AppText::IniFile, AppText::IniSection, AppText::IniName),
                                  kScrambleKey);
    if (IsDbLookupServiceText(m_strConnect))
        m_strConnect = UnscrambleText(DbFetchText(m_strConnect.trimmed()).trimmed(), kScrambleKey);
    // The kind of the text is the kind its connection opens with; an empty
    // text opens nothing and is left to the login to report.
    m_nKind = m_strConnect.isEmpty() ? 0 : DbKindOfText(m_strConnect);
    if (m_nKind != 0) {
        m_facts.dbType = QString::number(m_nKind);
        HandOver(StartupFact::DbType);
    }
}

// Dated copies beside the database: one per day, a copy that is not sound is
// dropped, copies older than two weeks are removed. Nothing is removed unless
// the live database is sound, so a missing driver, an unreadable folder or a
// damaged database can never cost the good copies; and old copies are
// pruned only once today's sound copy is in place, so the last good copies
// are never the ones removed.
void CStartupTasks::BackUpAccessDatabase()
{
    const QString path = DbAccessPathOf(m_strConnect);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !IsSoundDatabase(m_strConnect, path))
        return;
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString folder = path.left(slash + 1);
    const QString fileName = path.mid(slash + 1);
    CreateFolder(folder + AppText::BackupFolder);

    for (int i = 0; i < kCheckedDays; ++i) {
        const QString copy = BackupPath(folder, fileName, GetDateAfterDaysText(-i));
        if (QFileInfo::exists(copy) && !IsSoundDatabase(TextForCopy(m_strConnect, path, copy), copy))
            QFile::remove(copy);
    }

    // Made under another name and checked there: a copy cut short (a full
    // disk) never stands as today's.
    const QString today = BackupPath(folder, fileName, GetTodayText());
    if (!QFileInfo::exists(today)) {
        const QString partial = today + AppText::PartialSuffix;
        QFile::remove(partial);
        const bool made = QFile::copy(path, partial)
            && IsSoundDatabase(TextForCopy(m_strConnect, path, partial), partial) && QFile::rename(partial, today);
        if (!made) {
            QFile::remove(partial);
            return;
        }
    }
    for (int d = kKeptDays; d < kKeptDays + kRemovedDays; ++d)
        QFile::remove(BackupPath(folder, fileName, GetDateAfterDaysText(-d)));
}

bool CStartupTasks::MenuMergedRecently() const
{
    const int64_t age = GetFileAgeSeconds(m_strProgramFolder + AppText::UpdateFolder + u'/' + AppText::MenuFile);
    return age >= 1 && age <= kRecentMerge;
}

void CStartupTasks::ReadInstallationFacts()
{
    m_facts.factsRead = true;
    m_strStockRows = QStringLiteral("0");
    m_strMaterialRows = QStringLiteral("0");
    m_facts.appId.clear();

    CDbConnection db;
    if (ConnectGivenText(db, m_strConnect)) {
        // A fact that is not there (no row) keeps its value; a database that
        // fails while its facts are read gives the fallbacks.
        bool failed = false;
        const auto readFact = [&](const QString& sql, QString& value) {
            if (!failed && !db.QueryValue(sql, value) && db.m_nResult != 0)
                failed = true;
        };
        readFact(AppText::SelectAppId, m_facts.appId);
        readFact(AppText::SelectMenuVersion, m_facts.menuVersion);
        readFact(AppText::SelectCompany, m_facts.company);
        if (failed) {
            m_facts.appId.clear();
            m_facts.menuVersion = AppText::UnreadMenuVersion;
            m_facts.company = AppText::UnreadCompany;
        } else {
            db.QueryValue(AppText::CountStock, m_strStockRows);
            db.QueryValue(AppText::CountMaterial, m_strMaterialRows);
        }
        db.Close();
    }

    m_facts.company.replace(u' ', u'-');
    if (m_strStockRows.contains(AppText::Failure))
        m_strStockRows = QStringLiteral("0");
    if (m_strMaterialRows.contains(AppText::Failure))
        m_strMaterialRows = QStringLiteral("0");
    if (m_facts.appId.size() != kAppIdLength)
        m_facts.appId.clear();
    if (m_facts.company.size() > kLongestCompany)
        m_facts.company.clear();
    HandOver(StartupFact::Installation);
    CreateFolder(m_strProgramFolder + AppText::UpdateFolder);
}

CStartupWorker::CStartupWorker(const QString& programFolder, const QString& programPath)
    : m_tasks(programFolder, programPath)
{
    const AppState& app = theApp();
    m_tasks.m_facts.menuVersion = app.m_strMenuVersion;
    m_tasks.m_facts.company = app.m_strCompany;
}

void CStartupWorker::WriteFact(StartupFact fact, const StartupFacts& facts)
{
    AppState& app = theApp();
    switch (fact) {
    case StartupFact::ExeName:
        app.m_strExeName = facts.exeName;
        break;
    case StartupFact::DbType:
        app.m_strDbType = facts.dbType;
        break;
    case StartupFact::Installation:
        app.m_strAppId = facts.appId;
        app.m_strMenuVersion = facts.menuVersion;
        app.m_strCompany = facts.company;
        break;
    case StartupFact::ServiceHost:
        app.m_strServiceHost = facts.serviceHost;
        break;
    case StartupFact::Updating:
        app.m_bUpdating = facts.updating;
        break;
    }
}

void CStartupWorker::run()
{
    // The application state belongs to the GUI thread: each group of facts
    // goes there as a copy, in the order the stages learn them.
    m_tasks.m_handOver = [](StartupFact fact, const StartupFacts& facts) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [fact, facts] { WriteFact(fact, facts); }, Qt::QueuedConnection);
    };
    m_tasks.RunStartupTasks();
}
