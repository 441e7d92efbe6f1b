#include "text/DateText.h"

#include <QDateTime>
#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(DateText, FormatsTheCurrentMoment)
{
    // Taken twice around the calls, so a change of day between them is seen.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QDate before = QDate::currentDate();
        const QString now = GetNowText();
        const QString slash = GetTodaySlashText();
        const QString today = GetTodayText();
        const QString year = GetYearText();
        const QString month = GetMonthText();
        const QString day = GetDayText();
        if (QDate::currentDate() != before)
            continue;
        EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$").match(now).hasMatch())
            << now.toStdString();
        EXPECT_EQ(before.toString("yyyy-MM-dd"), today);
        EXPECT_TRUE(now.startsWith(today));
        EXPECT_EQ(before.toString("yyyy/MM/dd"), slash);
        EXPECT_EQ(year + "-" + month + "-" + day, today);
        EXPECT_EQ(2, month.size());
        EXPECT_EQ(2, day.size());
        return;
    }
    FAIL() << "the date changed during both attempts";
}

TEST(DateText, ParsesDatesTimesAndRejectsTheRest)
{
    const struct
    {
        const char* text;
        QDateTime expected;
    } cases[] = {
        {"2024-03-09", QDateTime(QDate(2024, 3, 9), QTime(0, 0))},
        {" 2024/3/9 ", QDateTime(QDate(2024, 3, 9), QTime(0, 0))},
        {"2024.03.09 14:05", QDateTime(QDate(2024, 3, 9), QTime(14, 5))},
        {"2024-03-09T14:05:59", QDateTime(QDate(2024, 3, 9), QTime(14, 5, 59))},
        {"2024-03-09 14:05:59.5", QDateTime(QDate(2024, 3, 9), QTime(14, 5, 59, 500))},
        {"14:05", QDateTime(QDate(1899, 12, 30), QTime(14, 5))},
        {"2024-02-30", QDateTime()},
        {"2024-03-09 25:00", QDateTime()},
        {"2024-03-09x", QDateTime()},
        {"2024-03/09", QDateTime()},
        {"20240309", QDateTime()},
        {"", QDateTime()},
        {"abc", QDateTime()},
        {"12:", QDateTime()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDateTimeText(QString::fromLatin1(c.text)), c.expected) << c.text;
}
