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
