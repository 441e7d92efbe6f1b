#pragma once

#include <QString>

// The running program's folder and path. The Windows original took a module
// handle; on Linux the only module asked about is the running program, so the
// functions take none.

// The program folder, ending in "/"; empty when the path has no "/".
QString GetModuleFolder();

// The log file the program keeps in its folder: form-action failures and the
// menu merge's passed-over lines go there.
inline const QString LogFileName = QStringLiteral("log_tembra.log");

// The running program's full path.
QString GetModulePath();

// Points the program folder at another folder (tests); an empty text restores
// the real one. The folder is taken as given, a missing trailing "/" is added.
void SetModuleFolderOverride(const QString& folder);
