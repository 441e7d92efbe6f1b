#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>

class CDbConnection;

// What the start-up worker learns for the application state.
struct StartupFacts
{
    QString exeName;
    QString dbType;
    QString appId;
    QString menuVersion;
    QString company;
    bool factsRead = false; // the installation facts of c_app were looked up
    QString serviceHost;    // the update service's host, empty without one
    bool updating = false;  // update files are in the update folder
};

// The groups of facts, each handed over as soon as its stage has learnt it.
enum class StartupFact
{
    ExeName,      // exeName
    DbType,       // dbType, when the connection text names a kind
    Installation, // appId, menuVersion, company
    ServiceHost,  // serviceHost
    Updating,     // updating
};

// The stages the worker runs beside the login dialog, in order; a stage may
// end the run. Works on its own database objects and a copy of the facts, so
// it can run on any thread (and in tests on the caller's).
class CStartupTasks
{
public:
    // programFolder ends in "/"; programPath is the running program's file.
    CStartupTasks(const QString& programFolder, const QString& programPath);

    // Every stage in order, the update stages last.
    void RunStartupTasks();
    // The stages before the updates; false when one ended the run.
    bool RunLocalStages();

    // Where the update service's host is asked for, in order.
    QStringList m_lookupUrls;
    // Called on the worker's thread as each group of facts is learnt, so the
    // login and the first forms need not wait for the slow update stages.
    std::function<void(StartupFact, const StartupFacts&)> m_handOver;

    StartupFacts m_facts;
    // Row counts the update request reports ("0" until read).
    QString m_strStockRows = QStringLiteral("0");
    QString m_strMaterialRows = QStringLiteral("0");

private:
    void HandOver(StartupFact fact);
    void ReadConnectionText();
    void BackUpAccessDatabase();
    bool MenuMergedRecently() const;
    void ReadInstallationFacts();
    void RunUpdates();

    QString m_strProgramFolder;
    QString m_strProgramPath;
    QString m_strConnect; // plain connection text
    int m_nKind = 0;
};

// The worker thread: runs the stages and hands each group of facts to the GUI
// thread as it is learnt; the GUI thread writes it into the application state.
class CStartupWorker : public QThread
{
    Q_OBJECT

public:
    CStartupWorker(const QString& programFolder, const QString& programPath);

    // The stages it runs; set up before the thread starts.
    CStartupTasks& Tasks() { return m_tasks; }

    // Writes a group of facts into the application state (GUI thread).
    static void WriteFact(StartupFact fact, const StartupFacts& facts);

protected:
    void run() override;

private:
    CStartupTasks m_tasks;
};

// Opens db on text and, for an SQLite file, reads it once: opening such a
// file reads nothing, so a damaged file would otherwise pass. An empty text
// opens nothing (ConnectGivenText).
bool ConnectAndProbe(CDbConnection& db, const QString& text);
