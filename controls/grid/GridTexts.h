#pragma once

#include <QString>

// Fixed texts of the grid and the list helpers.
namespace GridTexts
{
// Column widths in the configuration file.
inline const QString kIniFile = QStringLiteral("cfg.ini");
inline const QString kColumnWidthSection = QStringLiteral("TABLECOLS");
// Menu uid, table id, column number from 1, user uid.
inline const QString kColumnWidthKey = QStringLiteral("T%1_%2_%3_%4");

// Copying a grid to the clipboard.
inline const QString kNoRecords = QStringLiteral("没有记录!");
} // namespace GridTexts
