#pragma once

#include <QString>

class CDbConnection;

// Opens db on a connection text a worker thread was handed when it started.
// An empty text opens nothing: a database object without a text of its own
// would read the application's stored text, which belongs to the GUI thread
// (the login dialog writes it while the workers run).
bool ConnectGivenText(CDbConnection& db, const QString& text);
