#pragma once

#include <QString>

// The local date and time of the moment of the call as text.
QString GetNowText();        // "2024-03-09 14:05:59"
QString GetTodaySlashText(); // "2024/03/09"
QString GetTodayText();      // "2024-03-09"
QString GetYearText();       // "2024"
QString GetMonthText();      // "03"
QString GetDayText();        // "09"
