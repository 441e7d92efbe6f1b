#include "WorkerDatabase.h"

#include "db/DbConnection.h"

bool ConnectGivenText(CDbConnection& db, const QString& text)
{
    if (text.isEmpty())
        return false;
    db.SetConnectString(text);
    return db.Connect();
}
