// 系统管理 (用户列表, 登录日志) and the login itself: a suspended user is
// refused, an ordinary user sees the entries of the rights.
#include "E2eRun.h"
#include "E2eTexts.h"

namespace {

class AdminSessions : public DemoSession
{
};

TEST_F(AdminSessions, UserList_QueryAllAndByLoginId)
{
    constexpr int LoginId = 2, Query = 3, Grid = 4;
    std::optional<FormWindow> form = Open(QStringLiteral("用户列表"));
    ASSERT_TRUE(form);
    Step(QStringLiteral("查 询 with the box empty lists every user"));
    form->Click(Query);
    ExpectNoMessage();
    EXPECT_EQ(form->FilledRows(Grid, 0), Db().Count(QStringLiteral("SELECT COUNT(*) FROM c_user")));
    Step(QStringLiteral("查 询 for zhang"));
    form->Fill(LoginId, E2eText::OrdinaryUser);
    form->Click(Query);
    ExpectNoMessage();
    EXPECT_EQ(form->FilledRows(Grid, 0), 1);
}

TEST_F(AdminSessions, LoginLog_ShowsThisLogin)
{
    constexpr int Query = 3, Grid = 4;
    std::optional<FormWindow> form = Open(QStringLiteral("登录日志"));
    ASSERT_TRUE(form);
    Step(QStringLiteral("查 询 from the date shown"));
    form->Click(Query);
    ExpectNoMessage();
    const int logged = Db().Count(QStringLiteral("SELECT COUNT(*) FROM log_client_login"));
    EXPECT_GT(logged, 0);
    EXPECT_GE(form->FilledRows(Grid, 0), 1) << "the logins are not listed";
}

// On a program start of its own: three refused logins, then one that
// succeeds; 登录日志 lists them the latest first, and its 结果 column tells
// them apart on the screen: cells of the same result look the same, cells of
// different results differ (each compared on rows of the same colour).
TEST_F(AdminSessions, LoginLog_TellsRefusedLoginsFromSuccessfulOnes)
{
    constexpr int LoginLogEntry = 12, Grid = 4, LoginColumn = 0, ResultColumn = 1;
    m_strEntry = QStringLiteral("登录日志");
    ProgramSession other(Desktop(), E2eRun::Get().Kind());
    Step(QStringLiteral("start a second program"));
    ASSERT_TRUE(other.Start()) << qPrintable(other.Problem());

    Step(QStringLiteral("three wrong passwords for admin, then the right one"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(other.LogIn(E2eText::Administrator, QStringLiteral("wrong")));
        EXPECT_TRUE(other.TakeMessage().has_value()) << "no refusal shown";
    }
    ASSERT_TRUE(other.LogIn(E2eText::Administrator, E2eText::DemoPassword)) << qPrintable(other.Problem());
    const QList<QStringList> logged = other.Database().Rows(
        QStringLiteral("SELECT user_uid_0 FROM log_client_login ORDER BY time_0 DESC, uid_0 DESC"));
    ASSERT_GE(logged.size(), 4);
    EXPECT_NE(logged[0].value(0), QStringLiteral("0"));
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(logged[row].value(0), QStringLiteral("0")) << "row " << row;

    Step(QStringLiteral("open 登录日志: it lists the logins as it opens"));
    const std::optional<FormWindow> form = other.OpenEntry(m_strEntry, LoginLogEntry);
    ASSERT_TRUE(form) << qPrintable(other.Problem());
    ASSERT_TRUE(XDesktop::WaitUntil([&] { return form->FilledRows(Grid, LoginColumn) >= 4; }, 3000));
    const QImage screen = Desktop().Grab();
    const auto result = [&](int row) {
        return screen.copy(form->CellScreenRect(Grid, row, ResultColumn).adjusted(2, 3, -2, -3));
    };
    EXPECT_EQ(form->FilledRows(Grid, ResultColumn), form->FilledRows(Grid, LoginColumn)) << "a row has no 结果";
    EXPECT_EQ(result(1), result(3)) << "two refused logins show different 结果";
    EXPECT_NE(result(0), result(2)) << "a successful and a refused login show the same 结果";
}

// A program start of its own (on a database of its own) beside the shared one.
TEST_F(AdminSessions, Login_SuspendedRefusedOrdinaryUserSeesTheRightsTree)
{
    m_strEntry = QStringLiteral("登录");
    ProgramSession other(Desktop(), E2eRun::Get().Kind());
    Step(QStringLiteral("start a second program"));
    ASSERT_TRUE(other.Start()) << qPrintable(other.Problem());
    const int mainWindows = int(Desktop().FindWindows(E2eText::MainWindow).size());

    Step(QStringLiteral("li (suspended) cannot log in"));
    EXPECT_FALSE(other.LogIn(E2eText::SuspendedUser, E2eText::DemoPassword));
    EXPECT_TRUE(other.TakeMessage().has_value()) << "no refusal shown";
    EXPECT_EQ(Desktop().FindWindows(E2eText::MainWindow).size(), mainWindows);

    Step(QStringLiteral("a wrong password is refused"));
    EXPECT_FALSE(other.LogIn(E2eText::OrdinaryUser, QStringLiteral("wrong")));
    EXPECT_TRUE(other.TakeMessage().has_value()) << "no refusal shown";

    Step(QStringLiteral("zhang logs in"));
    ASSERT_TRUE(other.LogIn(E2eText::OrdinaryUser, E2eText::DemoPassword)) << qPrintable(other.Problem());
    EXPECT_EQ(other.Database().Value(QStringLiteral("SELECT name_0 FROM log_client_login ORDER BY uid_0 DESC")),
              E2eText::OrdinaryUser);
}

} // namespace
