#pragma once

#include <QString>

// The script that creates the tables of a tembra database (c_app, c_user and
// the view view_c_user, the menu, button and staging tables, the two logs)
// for kind 2 (SQLite) or 3 (PostgreSQL), to run with
// CDbConnection::ExecuteScript; empty for kind 1, whose databases exist
// already. Every table has the integer key uid_0. The scripts hold no
// comments: a piece that starts with "--" is skipped by ExecuteScript.
QString DbSchemaScript(int kind);
