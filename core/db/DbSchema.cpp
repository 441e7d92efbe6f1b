#include "db/DbSchema.h"

#include "db/DbConnectText.h"

#include <QFile>

// The resource file of a static library must be registered by name, from
// outside any namespace.
static void InitSchemaResource()
{
    Q_INIT_RESOURCE(DbSchema);
}

namespace
{
QString ReadResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}
} // namespace

QString DbSchemaScript(int kind)
{
    InitSchemaResource();
    switch (kind) {
    case kDbAccess:
        return ReadResource(QStringLiteral(":/db/schema_sqlite.sql"));
    case kDbPostgreSql:
        return ReadResource(QStringLiteral(":/db/schema_postgresql.sql"));
    default:
        return QString();
    }
}
