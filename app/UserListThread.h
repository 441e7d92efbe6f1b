#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

// Reads the active users' ids on a thread of its own, with a database object
// of its own, on the connection text handed to it on the GUI thread. It
// knows nothing of the dialog waiting for the ids and holds no pointer to
// it: the ids go out by a signal, which reaches a receiver on the GUI thread
// queued there, and no receiver that is gone by then.
class CUserListThread : public QThread
{
    Q_OBJECT

public:
    explicit CUserListThread(const QString& connectText);

signals:
    // loaded is false when the database could not be read.
    void ListRead(const QStringList& ids, bool loaded);

protected:
    void run() override;

private:
    const QString m_strConnect;
};
