#include "DemoDatabase.h"

#include "db/DbConnection.h"
#include "db/DbSchema.h"
#include "text/IniFile.h"
#include "text/SqlText.h"
#include "text/TextScramble.h"
#include "web/LzwEncode.h"
#include "ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The code width of the stored forms.
constexpr int kCodeWidth = 12;
const QString kAccessText =
    QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Jet OLEDB:Database Password=kpm.velanorbi.test;");
// Business tables and their rows, one file per demo in data/, use these
// tokens for the column types the kinds write differently.
const QList<std::pair<QString, QStringList>> kKindTypes = {
    {QStringLiteral("{{KEY}}"), {QStringLiteral("integer PRIMARY KEY AUTOINCREMENT"), QStringLiteral("serial PRIMARY KEY")}},
    {QStringLiteral("{{BLOB}}"), {QStringLiteral("blob"), QStringLiteral("bytea")}},
    {QStringLiteral("{{DATETIME}}"), {QStringLiteral("datetime"), QStringLiteral("timestamp")}},
};
// Rows were given their keys: the key sequences of PostgreSQL go on after
// the largest key of each table.
const QString kKeySequences = QStringLiteral(
    "SELECT table_name FROM information_schema.columns WHERE table_schema=current_schema() "
    "AND column_name='uid_0' AND column_default LIKE 'nextval%'");
const QString kAdvanceSequence = QStringLiteral(
    "SELECT setval(pg_get_serial_sequence('%1','uid_0'), (SELECT COALESCE(max(uid_0),0)+1 FROM %1), false)");

bool ReadText(const QString& path, QString& text, QString& failure)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failure = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    text = QString::fromUtf8(file.readAll());
    return true;
}

bool StoreForm(CDbConnection& db, int uid, const QString& form, QString& failure)
{
    const QByteArray utf16(reinterpret_cast<const char*>(form.utf16()), form.size() * 2);
    const QByteArray stored = LzwEncode(utf16, kCodeWidth);
    const QString sql = QStringLiteral("SELECT uid_0,form_0 FROM c_menu_dh WHERE uid_0=%1").arg(uid);
    if (db.WriteBlobs(sql, {QStringLiteral("form_0")}, {stored}, {int(stored.size())}))
        return true;
    failure = QStringLiteral("form of entry %1: %2").arg(uid).arg(db.m_strErrorInfo);
    return false;
}

// Files the demo keeps in records are zips of text parts (templates of
// the spreadsheet export): zipped/<table>/<name>/ goes into file_0 of the
// rows of <table> whose file_name_0 is <name>.
bool StoreZippedFiles(CDbConnection& db, const QString& sourceFolder, QString& failure)
{
    const QDir zipped(sourceFolder + QStringLiteral("/zipped"));
    for (const QString& table : zipped.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir tableFolder(zipped.filePath(table));
        for (const QString& name : tableFolder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QDir parts(tableFolder.filePath(name));
            CZipArchive zip;
            zip.Create();
            // Hidden files too: a workbook's package relations are in _rels/.rels.
            QDirIterator it(parts.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                QFile part(path);
                if (!part.open(QIODevice::ReadOnly)) {
                    failure = QStringLiteral("cannot read %1: %2").arg(path, part.errorString());
                    return false;
                }
                zip.Put(parts.relativeFilePath(path), part.readAll());
            }
            QByteArray bytes;
            QString literal = name;
            EscapeSqlText(literal);
            const QString sql = QStringLiteral("SELECT uid_0,file_0 FROM %1 WHERE file_name_0='%2'").arg(table, literal);
            if (!zip.Save(bytes) || !db.WriteBlobs(sql, {QStringLiteral("file_0")}, {bytes}, {int(bytes.size())})) {
                failure = QStringLiteral("%1/%2: %3%4").arg(table, name, zip.Error(), db.m_strErrorInfo);
                return false;
            }
        }
    }
    return true;
}

} // namespace

QString DemoSourceFolder()
{
    return QStringLiteral(TEMBRA_DEMO_DIR);
}

bool RunDemoDataScript(CDbConnection& db, int kind, const QString& path, QString& failure)
{
    QString script;
    if (!ReadText(path, script, failure))
        return false;
    for (const auto& [token, types] : kKindTypes)
        script.replace(token, types[kind == 3 ? 1 : 0]);
    if (!db.ExecuteScript(script)) {
        failure = QFileInfo(path).fileName() + QStringLiteral(": ") + db.m_strErrorInfo;
        return false;
    }
    return true;
}

bool LoadDemoData(CDbConnection& db, int kind, const QString& sourceFolder, QString& failure)
{
    QString seed;
    if (!ReadText(sourceFolder + QStringLiteral("/seed.sql"), seed, failure))
        return false;
    if (!db.ExecuteScript(DbSchemaScript(kind)) || !db.ExecuteScript(seed)) {
        failure = db.m_strErrorInfo;
        return false;
    }
    const QFileInfoList scripts = QDir(sourceFolder + QStringLiteral("/data"))
                                      .entryInfoList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : scripts) {
        if (!RunDemoDataScript(db, kind, file.absoluteFilePath(), failure))
            return false;
    }
    if (!StoreZippedFiles(db, sourceFolder, failure))
        return false;
    if (kind == 3) {
        QStringList tables;
        if (db.QueryAllToList(kKeySequences, tables) < 0) {
            failure = db.m_strErrorInfo;
            return false;
        }
        for (const QString& table : std::as_const(tables)) {
            QString ignored;
            if (!db.QueryValue(kAdvanceSequence.arg(table), ignored)) {
                failure = db.m_strErrorInfo;
                return false;
            }
        }
    }
    static const QRegularExpression uidPrefix(QStringLiteral("^(\\d+)_"));
    const QFileInfoList forms = QDir(sourceFolder + QStringLiteral("/forms"))
                                    .entryInfoList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : forms) {
        const QRegularExpressionMatch match = uidPrefix.match(file.fileName());
        if (!match.hasMatch())
            continue;
        QString form;
        if (!ReadText(file.absoluteFilePath(), form, failure)
            || !StoreForm(db, match.captured(1).toInt(), form.trimmed(), failure))
            return false;
    }
    return true;
}

bool MakeDemoSqliteFile(const QString& sourceFolder, const QString& path, QString& failure)
{
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    QFile empty(partial);
    if (!empty.open(QIODevice::WriteOnly)) {
        failure = QStringLiteral("cannot create %1: %2").arg(partial, empty.errorString());
        return false;
    }
    empty.close();
    bool loaded = false;
    {
        CDbConnection db;
        db.SetConnectString(kAccessText.arg(partial));
        if (!db.Connect()) {
            failure = db.m_strErrorInfo;
        } else {
            loaded = LoadDemoData(db, 2, sourceFolder, failure);
            db.Close();
        }
    }
    if (!loaded) {
        QFile::remove(partial);
        return false;
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        failure = QStringLiteral("cannot move %1 to %2").arg(partial, path);
        return false;
    }
    return true;
}

QByteArray DemoSettings(const QString& databasePath)
{
    QByteArray bytes = WriteIniValue(QByteArray(), QStringLiteral("SERVER"), QStringLiteral("DTYPE"),
                                     QStringLiteral("2"));
    return WriteIniValue(bytes, QStringLiteral("SERVER"), QStringLiteral("NAME"),
                         ScrambleText(kAccessText.arg(databasePath), 1));
}
