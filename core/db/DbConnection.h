#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <stdexcept>

class QComboBox;

// Raised by the transaction calls only, as the owner's event handler expects
// (every other operation reports by its result and the error members).
class CDbException : public std::runtime_error
{
public:
    explicit CDbException(const QString& message);
    QString Message() const { return m_strMessage; }

private:
    QString m_strMessage;
};

// The system's one data-access class: one database connection per object,
// opened by its owner around a piece of work and closed again. Results come
// back as text (DbValueToText); a failure leaves the result in m_nResult and
// the texts in m_strError (for the user) and m_strErrorInfo (SQL and detail).
// An object is used on one thread at a time.
class CDbConnection
{
public:
    struct ConfigureTag
    {
    };
    // Selects the configuring constructor.
    static constexpr ConfigureTag Configured{};

    CDbConnection();
    // Sets the connection text up from the application's stored text or
    // cfg.ini, and sets the application's kind text: "1" for a SQL Server
    // text, else "2".
    explicit CDbConnection(ConfigureTag);
    ~CDbConnection();
    CDbConnection(const CDbConnection&) = delete;
    CDbConnection& operator=(const CDbConnection&) = delete;

    // The connection-text set-up on an existing object; also stores the
    // database file of an Access text in the application's m_strDbPath.
    void Configure();

    void SetConnectString(const QString& text);
    // Opens the connection of m_strConnect, or of the application's stored
    // text when m_strConnect is empty.
    bool Connect();
    // Closes the connection and empties m_strConnect.
    void Close();
    bool IsOpen() const;
    QString GetDbTypeText() const;

    // One statement (kind 1: one batch). Values, when given, are bound to
    // the statement's "?" marks in order; they never become SQL text.
    bool ExecuteCommand(const QString& sql, const QVariantList& values = {});
    // Kind 1: one batch; kinds 2 and 3: statement by statement.
    bool Execute(const QString& sql);
    void ExecuteNoResult(const QString& sql);
    // Statements one by one, stopping at the first failure.
    bool ExecuteScript(const QString& script);
    // Statements one by one, all of them; the detail text of each that fails
    // goes to failures when they are asked for.
    bool ExecuteScriptAll(const QString& script, QStringList* failures = nullptr);

    // Transactions of the owner's event; a failure throws CDbException.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // A forward-only query, active when it ran; on failure the texts are set.
    // Values are bound to the "?" marks as for ExecuteCommand.
    QSqlQuery OpenQuery(const QString& sql, const QVariantList& values = {});
    // True when the query returns a row; false for none and for a failed query.
    bool HasRecords(const QString& sql);
    // The first column of the first row. True with the value; false when no
    // row came back (m_nResult 0) or the query failed (m_nResult -1, texts
    // set); the value is left as it was in both cases.
    bool QueryValue(const QString& sql, QString& value, const QVariantList& values = {});
    // The named columns of every row, row by row.
    bool QueryToList(const QString& sql, const QStringList& names, QStringList& values);
    // Every column of every row; 1, or -1 for no row or a failure.
    int QueryAllToList(const QString& sql, QStringList& values, const QVariantList& bound = {});
    bool QueryAllWithNames(const QString& sql, QStringList& names, QStringList& values);
    // One page of "selectText fromText" in the order of orderText. A
    // rowLimit above 0 lets only the first rowLimit rows of that order take
    // part: the total and the pages count no more, and no page reaches
    // past them.
    bool QueryPage(const QString& selectText, const QString& fromText, int pageSize, int pageNumber,
                   const QString& orderText, QStringList& names, QStringList& values, int& total,
                   int& pageCount, int rowLimit = 0);

    // Adds the record the query selects when it does not exist yet.
    bool AddRecord(const QString& sql, const QStringList& fields, const QStringList& values);
    // Changes the first record the query selects.
    bool UpdateRecord(const QString& sql, const QStringList& fields, const QStringList& values);
    // As AddRecord, giving the new key: 1 added, -1 existing row or failure,
    // -2 field and value counts differ.
    int InsertRecord(QString& newId, const QString& sql, const QStringList& fields,
                     const QStringList& values);

    // Appends, for each row and each field, the bytes and their count; a NULL
    // or empty field gives a null buffer and 0.
    bool ReadBlobs(const QString& sql, const QStringList& fields, QList<QByteArray>& buffers,
                   QList<int>& sizes);
    // Writes the first sizes[i] bytes of buffers[i] into fields[i] of the
    // first record the query selects.
    bool WriteBlobs(const QString& sql, const QStringList& fields, const QList<QByteArray>& buffers,
                    const QList<int>& sizes);

    // Fills an empty drop-down list with an empty entry and the query's
    // values; a list that has entries is only reselected by its text.
    bool FillComboBox(QComboBox* combo, const QString& sql, const QString& field);

    int m_nResult = -1;
    QString m_strError;
    QString m_strErrorInfo;

private:
    void SetUpConnectText();
    bool RunScript(const QString& script, bool stopAtFailure, QStringList* failures = nullptr);
    bool ConnectFailed(const QString& message);
    bool QueryFailed(const QString& sql, const QString& message);
    bool RecordFailed(const QString& sql, const QString& failure);
    bool StatementFailed(const QString& sql, const QString& message);
    // The user's error text for a failure whose driver message is `message`.
    static QString ErrorText(const QString& error, const QString& message);
    QSqlDatabase& Database(const QString& driverName);

    QString m_strConnectionName; // unique per object
    QSqlDatabase m_db;
    QString m_strConnect;        // plain text; empty: the application's stored text
    bool m_bOpen = false;
    int m_nDbType = 1;
};
