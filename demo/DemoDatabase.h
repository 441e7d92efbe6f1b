#pragma once

#include <QString>

class CDbConnection;

// The demo database, made from the text sources of the demo folder: the
// schema of its kind, the rows of seed.sql and the forms of forms/*.xml, each
// stored encoded in c_menu_dh.form_0 of the entry its file name starts with.

// The demo folder of this source tree.
QString DemoSourceFolder();

// Runs one script of data/ on an open database of kind 2 or 3, with the
// column-type tokens of that kind put in.
bool RunDemoDataScript(CDbConnection& db, int kind, const QString& path, QString& failure);

// Loads everything into the open, empty database of kind 2 or 3.
bool LoadDemoData(CDbConnection& db, int kind, const QString& sourceFolder, QString& failure);

// Makes the SQLite file at path (replacing it only once it is complete).
bool MakeDemoSqliteFile(const QString& sourceFolder, const QString& path, QString& failure);

// The settings that point the program at an SQLite file: DTYPE "2" and the
// scrambled Access text, as the bytes of a new cfg.ini.
QByteArray DemoSettings(const QString& databasePath);
