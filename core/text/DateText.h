#pragma once

#include <QString>

// The local date and time of the moment of the call as text.
QString GetNowText();        // "2024-03-09 14:05:59"
QString GetTodaySlashText(); // "2024/03/09"
QString GetTodayText();      // "2024-03-09"
QString GetYearText();       // "2024"
QString GetMonthText();      // "03"
QString GetDayText();        // "09"

class QDateTime;

// A date, a date with a time, or a time alone, as users and databases write
// them: "2024-03-09", "2024/3/9", "2024.03.09", each optionally followed (after
// a blank or "T") by "H:m", "H:m:s" or "H:m:s.zzz"; a time alone falls on the
// day 1899-12-30, the zero of the platform's date-time values. Surrounding
// blanks are allowed. Anything else, or a day or time that does not exist,
// gives an invalid QDateTime. The result is local time.
QDateTime ParseDateTimeText(const QString& text);
