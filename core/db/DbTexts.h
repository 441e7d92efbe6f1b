#pragma once

#include <QString>
#include <QStringList>

// The fixed texts of the database layer: what CDbConnection leaves in
// m_strError, the prefixes of m_strErrorInfo, and the SQL it writes itself.
// Owners show and log these texts, so they stay exactly as they are.
namespace DbText
{
inline const QString kNoError = QStringLiteral("未设置错误信息");
inline const QString kStatement = QStringLiteral("数据异常!");
inline const QString kQuery = QStringLiteral("查询异常!");
inline const QString kData = QStringLiteral("数据异常!\n");
inline const QString kValueList = QStringLiteral("操作异常!\n");
inline const QString kConnect = QStringLiteral("\n连接服务器异常，请正确设置服务器，并确认网络正常");
inline const QString kClose = QStringLiteral("关闭数据库连接出错");
inline const QString kFieldsValues = QStringLiteral("字段和值不对应，不能添加");
inline const QString kDetailPrefix = QStringLiteral("异常:\n");
// Added on a line of its own to the error text when the database refuses to
// be written, so that the user learns the cause without the log file.
inline const QString kReadOnly =
    QStringLiteral("数据库是只读的，不能写入：请检查数据库文件及其所在文件夹是否允许当前用户写入。");
// The driver messages of such a refusal: SQLite's for a file it may not
// write and for a journal it cannot create beside the file (a read-only
// folder), PostgreSQL's for a read-only transaction or server.
inline const QStringList kReadOnlyMarks = {
    QStringLiteral("readonly database"),
    QStringLiteral("unable to open database file"),
    QStringLiteral("read-only transaction"),
};
// Added the same way when the database stays locked by another program
// longer than a statement waits for it.
inline const QString kLocked = QStringLiteral("数据库正被其他程序锁定，请稍后再试。");
// SQLite's busy database or table, PostgreSQL's lock_timeout, SQL Server's
// LOCK_TIMEOUT.
inline const QStringList kLockedMarks = {
    QStringLiteral("database is locked"),
    QStringLiteral("database table is locked"),
    QStringLiteral("lock timeout"),
    QStringLiteral("Lock request time out"),
};

// Details this layer adds where no driver message exists.
inline const QString kNoDriver = QStringLiteral("database driver %1 is not available");
inline const QString kNoDatabaseFile = QStringLiteral("database file not found: %1");
inline const QString kEmptyHostReply = QStringLiteral("no server address came back from %1");
inline const QString kNoRow = QStringLiteral("the query returned no row");
inline const QString kUnknownField = QStringLiteral("unknown field name: %1");
inline const QString kNotConvertible = QStringLiteral("value of %1 does not fit the column type: %2");
inline const QString kNotOneTable = QStringLiteral("the query does not read exactly one base table");
inline const QString kNoKey = QStringLiteral("the table %1 has no key to find the row by");
inline const QString kBlobSize = QStringLiteral("buffer %1 holds fewer bytes than its size %2");
inline const QString kNotOpen = QStringLiteral("the connection is not open");

// Marks of the stored connection texts.
inline const QString kSqlServerMark = QStringLiteral("driver={SQL Server};");
inline const QString kAccessMark = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=");
inline const QString kServerField = QStringLiteral("{SQL Server};Server=");
inline const QString kDataSource = QStringLiteral("Data Source=");
inline const QString kJet = QStringLiteral(";Jet");
} // namespace DbText
