#pragma once

#include <QByteArray>
#include <QString>

// Private-profile files (cfg.ini) in the program folder: sectioned key=value
// lines. A file that starts with FF FE is UTF-16LE; a file without a
// byte-order mark is code page 936 and stays so. Section and key names match
// without regard to case; values are taken as they stand (no escaping).

// The value of key in section of the named file (a bare name such as
// "cfg.ini") in the program folder; empty when the file, section or key is
// missing. At most 511 characters come back. Never creates the file.
QString ReadIniString(const QString& file, const QString& section, const QString& key);

// Writes value under key in section of the named file in the program folder,
// creating the file as UTF-16LE with a byte-order mark when it is missing.
// The file is replaced in one step, so it is never left half written; when
// the folder allows no new file but the file itself is writable (a folder
// closed to users, cfg.ini open to them), it is written in place instead.
// False when nothing could be written (the file then stays as it was).
bool WriteIniString(const QString& file, const QString& section, const QString& key,
                    const QString& value);

// The work of the two functions above over the bytes of a file, without any
// file access. A broken file is read as far as it makes sense.
QString ReadIniValue(const QByteArray& fileBytes, const QString& section, const QString& key);

// The bytes of the file after writing one key: every other line is kept, a new
// key goes after the last entry of its section, a new section at the end. An
// empty input gives a new UTF-16LE file with a byte-order mark.
QByteArray WriteIniValue(const QByteArray& fileBytes, const QString& section,
                         const QString& key, const QString& value);
