#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes kept in a record under the file name stored with them into a
// folder of the program folder (created when missing). Only the name's last
// part is used, so no stored path reaches outside the folder; the file is
// written to a temporary file that replaces an existing one only when
// complete. False with a text for the user when the name names no file or
// the file cannot be written; path is the file's full path.
bool WriteStoredFile(const QString& folder, const QString& storedName, const QByteArray& bytes,
                     QString& path, QString& error);
