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
