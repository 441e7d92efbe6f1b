// Qt's own texts in Chinese: the standard buttons of message boxes and the
// dates of the calendar.
#include "AppLanguage.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QFileIconProvider>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(AppLanguage, StandardButtonsAndDatesAreChinese)
{
    qputenv("LC_TIME", "C");
    CChineseLocale chinese;
    EXPECT_EQ(qgetenv("LC_TIME"), "zh_CN.UTF-8");
    ASSERT_TRUE(chinese.Apply(*QCoreApplication::instance()));
    EXPECT_EQ(qgetenv("LC_TIME"), "C"); // the user's own again, for the commands the program runs
    QMessageBox box(QMessageBox::Question, QStringLiteral("提示"), QStringLiteral("删除？"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } cases[] = {{QMessageBox::Yes, "是(&Y)"}, {QMessageBox::No, "否(&N)"}, {QMessageBox::Cancel, "取消"},
                 {QMessageBox::Ok, "确定"}};
    for (const auto& c : cases)
        EXPECT_EQ(box.button(c.button)->text(), QString::fromUtf8(c.text)) << c.text;
    EXPECT_EQ(QLocale().monthName(3), QStringLiteral("三月"));
    // A folder in the file dialog: a text Qt's translation lacks.
    EXPECT_EQ(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("文件夹"));
    QCalendarWidget calendar;
    EXPECT_EQ(calendar.locale().language(), QLocale::Chinese);
}
