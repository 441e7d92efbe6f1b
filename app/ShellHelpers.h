#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

class QPainter;

// Small helpers of the application shell.

// Seconds since the file was last written; -1 when it does not exist.
int64_t GetFileAgeSeconds(const QString& path);

// "%Y-%m-%d" of today plus days (negative: days ago), local time.
QString GetDateAfterDaysText(int days);

// Deletes every file directly in the folder (read-only ones too); folders
// below it and their content stay. Failures are ignored.
void EmptyFolder(const QString& folder);

// Starts the program file in its own folder as the current one, detached
// from this process; false when it cannot be started.
bool StartProgramFile(const QString& path);

// Fills the rectangle from top to bottom in bands of band pixels whose colour
// runs from start to end. The height must be above 0 and band at least 1.
void FillVerticalGradient(QPainter& painter, int left, int top, int right, int bottom,
                          const QColor& start, const QColor& end, int band);

// The file's last write time as "yyyy-MM-dd h:m" (hour and minute without
// leading zeros); empty for a missing file.
QString GetFileTimeText(const QString& path);
