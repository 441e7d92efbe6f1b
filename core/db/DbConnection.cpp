#include "db/DbConnection.h"

#include "text/AppState.h"
#include "db/DbConnectText.h"
#include "db/DbFetch.h"
#include "db/DbValueText.h"
#include "db/DbScript.h"
#include "db/DbTexts.h"
#include "text/IniFile.h"
#include "text/TextScramble.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QPair>
#include <QSqlError>

namespace
{
const QString kIniFile = QStringLiteral("cfg.ini");
const QString kIniSection = QStringLiteral("SERVER");
const QString kIniKey = QStringLiteral("NAME");
constexpr int kScrambleKey = 1;

QString NewConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("tembra_db_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}
} // namespace

CDbException::CDbException(const QString& message)
    : std::runtime_error(message.toStdString()), m_strMessage(message)
{
}

CDbConnection::CDbConnection()
    : m_strError(DbText::kNoError), m_strConnectionName(NewConnectionName())
{
}

CDbConnection::CDbConnection(ConfigureTag)
    : CDbConnection()
{
    SetUpConnectText();
    theApp().m_strDbType = m_strConnect.contains(DbText::kSqlServerMark) ? QStringLiteral("1") : QStringLiteral("2");
}

CDbConnection::~CDbConnection()
{
    // The handle must be gone before the connection is removed.
    if (m_db.isValid()) {
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_strConnectionName);
    }
}

void CDbConnection::Configure()
{
    SetUpConnectText();
    if (m_strConnect.indexOf(DbText::kJet) > 0)
        theApp().m_strDbPath = DbAccessPathOf(m_strConnect);
}

// The application's stored text (scrambled) is read from cfg.ini the first
// time; a stored lookup-service address is replaced by the service's reply.
void CDbConnection::SetUpConnectText()
{
    AppState& app = theApp();
    QString text;
    if (app.m_strConnectText.isEmpty()) {
        const QString stored = ReadIniString(kIniFile, kIniSection, kIniKey);
        text = UnscrambleText(stored, kScrambleKey);
        if (IsDbLookupServiceText(text)) {
            const QString reply = DbFetchText(text.trimmed()).trimmed();
            app.m_strConnectText = reply;
            text = UnscrambleText(reply, kScrambleKey);
        } else {
            app.m_strConnectText = stored;
        }
    } else {
        text = UnscrambleText(app.m_strConnectText, kScrambleKey);
    }
    // An empty host reply leaves the address in place: Connect tries again
    // and reports the failure.
    QString failure;
    SpliceSqlServerHost(text, failure);
    SetConnectString(text);
}

void CDbConnection::SetConnectString(const QString& text)
{
    m_strConnect = text;
}

QSqlDatabase& CDbConnection::Database(const QString& driverName)
{
    if (m_db.isValid() && m_db.driverName() == driverName)
        return m_db;
    if (m_db.isValid()) {
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_strConnectionName);
    }
    m_db = QSqlDatabase::addDatabase(driverName, m_strConnectionName);
    return m_db;
}

bool CDbConnection::ConnectFailed(const QString& message)
{
    m_nResult = -1;
    m_strError = DbText::kConnect;
    m_strErrorInfo = message;
    m_bOpen = false;
    return false;
}

bool CDbConnection::Connect()
{
    m_bOpen = true;
    if (m_strConnect.isEmpty())
        m_strConnect = UnscrambleText(theApp().m_strConnectText, kScrambleKey);
    QString failure;
    if (!SpliceSqlServerHost(m_strConnect, failure))
        return ConnectFailed(failure);
    m_nDbType = DbKindOfText(m_strConnect);

    const DbDriverSettings settings = TranslateConnectText(m_strConnect);
    QSqlDatabase& db = Database(settings.driverName);
    if (!db.isValid())
        return ConnectFailed(DbText::kNoDriver.arg(settings.driverName));
    if (db.isOpen())
        db.close();
    // Opening a missing SQLite file would create an empty database in its
    // place; a mistyped path must fail as it does for Access.
    if (m_nDbType == kDbAccess
        && (settings.databaseName.isEmpty() || !QFileInfo(settings.databaseName).isFile()))
        return ConnectFailed(DbText::kNoDatabaseFile.arg(settings.databaseName));
    db.setDatabaseName(settings.databaseName);
    db.setConnectOptions(settings.options);
    if (!db.open())
        return ConnectFailed(db.lastError().text());
    return true;
}

void CDbConnection::Close()
{
    m_bOpen = false;
    m_strConnect.clear();
    if (!m_db.isValid() || !m_db.isOpen())
        return;
    const QString before = m_db.lastError().text();
    m_db.close();
    const QSqlError after = m_db.lastError();
    if (after.isValid() && after.text() != before) {
        m_nResult = -1;
        m_strError = DbText::kClose;
        m_strErrorInfo = after.text();
    }
}

bool CDbConnection::IsOpen() const
{
    return m_bOpen;
}

QString CDbConnection::GetDbTypeText() const
{
    return QString::number(m_nDbType);
}

QString CDbConnection::ErrorText(const QString& error, const QString& message)
{
    const QList<QPair<const QStringList*, const QString*>> causes = {
        {&DbText::kReadOnlyMarks, &DbText::kReadOnly},
        {&DbText::kLockedMarks, &DbText::kLocked},
    };
    for (const auto& [marks, cause] : causes) {
        for (const QString& mark : *marks) {
            if (message.contains(mark, Qt::CaseInsensitive))
                return error + (error.endsWith(u'\n') ? QString() : QStringLiteral("\n")) + *cause;
        }
    }
    return error;
}

bool CDbConnection::StatementFailed(const QString& sql, const QString& message)
{
    m_nResult = -1;
    m_strError = ErrorText(DbText::kStatement, message);
    m_strErrorInfo = sql + message;
    m_bOpen = false;
    return false;
}

bool CDbConnection::ExecuteCommand(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!RunQuery(query, sql, values))
        return StatementFailed(sql, query.lastError().text());
    m_nResult = 1;
    return true;
}

bool CDbConnection::Execute(const QString& sql)
{
    if (m_nDbType == kDbSqlServer)
        return ExecuteCommand(sql);
    return ExecuteScript(sql);
}

void CDbConnection::ExecuteNoResult(const QString& sql)
{
    Execute(sql);
}

namespace
{
// A script piece without its leading line feeds; empty when it is too short
// to be a statement or is a comment.
QString RunnablePiece(QString piece)
{
    qsizetype feeds = 0;
    while (feeds < piece.size() && piece.at(feeds) == u'\n')
        ++feeds;
    piece.remove(0, feeds);
    if (piece.size() < 6 || piece.startsWith(QStringLiteral("--")))
        return QString();
    return piece;
}
} // namespace

bool CDbConnection::RunScript(const QString& script, bool stopAtFailure, QStringList* failures)
{
    bool result = true;
    for (const QString& piece : SplitSqlScript(script)) {
        const QString statement = RunnablePiece(piece);
        if (statement.isEmpty())
            continue;
        result = ExecuteCommand(statement);
        if (!result && failures)
            failures->append(m_strErrorInfo);
        if (!result && stopAtFailure)
            break;
    }
    return result;
}

bool CDbConnection::ExecuteScript(const QString& script)
{
    return RunScript(script, true);
}

bool CDbConnection::ExecuteScriptAll(const QString& script, QStringList* failures)
{
    return RunScript(script, false, failures);
}

void CDbConnection::BeginTrans()
{
    if (!m_db.transaction())
        throw CDbException(m_db.lastError().text());
}

void CDbConnection::CommitTrans()
{
    if (!m_db.commit())
        throw CDbException(m_db.lastError().text());
}

void CDbConnection::RollbackTrans()
{
    if (!m_db.rollback())
        throw CDbException(m_db.lastError().text());
}
