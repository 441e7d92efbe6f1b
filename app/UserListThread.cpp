#include "UserListThread.h"

#include "AppTexts.h"
#include "WorkerDatabase.h"
#include "db/DbConnection.h"

CUserListThread::CUserListThread(const QString& connectText)
    : m_strConnect(connectText)
{
}

void CUserListThread::run()
{
    QStringList ids;
    bool loaded = false;
    CDbConnection db;
    if (ConnectGivenText(db, m_strConnect)) {
        loaded = db.QueryAllToList(AppText::SelectUserIds, ids) > 0;
        db.Close();
    }
    emit ListRead(ids, loaded);
}
