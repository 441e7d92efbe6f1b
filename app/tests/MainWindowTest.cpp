// The main window on the demo data: trees by rights, favourites, opening a
// form from the tree, closing; and the whole road from the login dialog.
#include "AboutDlg.h"
#include "AppTexts.h"
#include "D_T1.h"
#include "Dialog_Login.h"
#include "MainApp.h"
#include "QvimsDlg.h"
#include "ShellFixture.h"
#include "StoredFormOpener.h"
#include "text/IniFile.h"
#include "web/ModuleVersion.h"
#include "text/TreeItems.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include "widgets/ButtonST.h"
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// "name(child,child)" for every item, in tree order.
QString Outline(QTreeWidgetItem* item)
{
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i)
        children << Outline(item->child(i));
    return item->text(0) + (children.isEmpty() ? QString() : u'(' + children.join(u',') + u')');
}

QString Outline(QTreeWidget* tree)
{
    QStringList items;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        items << Outline(tree->topLevelItem(i));
    return items.join(u' ');
}

QList<D_T1*> OpenForms()
{
    QList<D_T1*> forms;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<D_T1*>(widget); form && form->isVisible())
            forms << form;
    }
    return forms;
}

void DoubleClick(QTreeWidget* tree, QTreeWidgetItem* item)
{
    tree->scrollToItem(item);
    const QPoint point = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, point);
}

class MainWindow : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_shell.Problem().isEmpty()) << m_shell.Problem().toStdString();
        CMainApp::SetUpForms();
    }
    void TearDown() override
    {
        SetStoredFormSetUp({});
        for (D_T1* form : OpenForms())
            delete form;
    }

    // Logs in as a demo user through the login dialog.
    void LogIn(const QString& id)
    {
        Dialog_Login login;
        login.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return login.UserListLoaded(); }, 5000));
        login.m_comboLoginId->setEditText(id);
        QTest::keyClicks(login.m_editPassword, QStringLiteral("1"));
        QTest::keyClick(login.m_editPassword, Qt::Key_Return);
        ASSERT_EQ(login.result(), QDialog::Accepted);
    }

    ShellFixture m_shell{GetParam()};
};

TEST_P(MainWindow, AdministratorOpensAFormFromTheTreeClosesItAndLogsOut)
{
    LogIn(QStringLiteral("admin"));
    CQvimsDlg window;
    window.show();
    // Every entry, in the menu's order (the demos of later groups follow).
    EXPECT_TRUE(Outline(window.m_treeNav)
                    .startsWith(QStringLiteral("系统管理(用户列表,登录日志) 业务示例(客户资料,订单录入,客户资料(只读),事件示例) ")))
        << Outline(window.m_treeNav).toStdString();
    // Favourites hold leaves only: their folders are not in the list.
    EXPECT_EQ(Outline(window.m_treeFav), QStringLiteral("用户列表 客户资料"));
    EXPECT_TRUE(window.findChild<CButtonST*>(QString::number(CQvimsDlg::IdAbout)));

    // A folder opens nothing; a leaf opens its form with the entry's values.
    DoubleClick(window.m_treeNav, window.m_treeNav->topLevelItem(1));
    EXPECT_TRUE(OpenForms().isEmpty());
    QTreeWidgetItem* customers = FindTreeItemByData(window.m_treeNav, window.m_treeNav->topLevelItem(0), 21);
    ASSERT_TRUE(customers);
    DoubleClick(window.m_treeNav, customers);
    ASSERT_EQ(OpenForms().size(), 1);
    D_T1* form = OpenForms().first();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("客户资料"));
    EXPECT_EQ(form->m_strMenuUid, QStringLiteral("21"));
    EXPECT_EQ(form->m_strMenuName, QStringLiteral("客户资料"));
    EXPECT_EQ(form->m_strType, QStringLiteral("customer"));
    EXPECT_TRUE(qobject_cast<QLineEdit*>(form->GetDlgItem(2 + D_T1::ControlIdBase)));

    // The read-only entry redirects to the same form with its lists.
    window.m_treeNav->setCurrentItem(FindTreeItemByData(window.m_treeNav, window.m_treeNav->topLevelItem(0), 23));
    window.OnNavMenuOpen();
    ASSERT_EQ(OpenForms().size(), 2);
    D_T1* readOnly = OpenForms().first() == form ? OpenForms().last() : OpenForms().first();
    EXPECT_EQ(readOnly->m_strMenuUid, QStringLiteral("21"));
    EXPECT_EQ(readOnly->m_strMenuName, QStringLiteral("客户资料(只读)"));
    EXPECT_EQ(readOnly->m_strDisabledIds, QStringLiteral("7;8"));
    EXPECT_EQ(readOnly->m_strHiddenIds, QStringLiteral("9;10"));
    EXPECT_EQ(readOnly->m_strType, QStringLiteral("customer_view"));
    EXPECT_TRUE(readOnly->GetDlgItem(2 + D_T1::ControlIdBase));
    // Its opening lists: the buttons disabled, the remark and its label hidden.
    EXPECT_FALSE(readOnly->GetDlgItem(7 + D_T1::ControlIdBase)->isEnabled());
    EXPECT_FALSE(readOnly->GetDlgItem(8 + D_T1::ControlIdBase)->isEnabled());
    EXPECT_FALSE(readOnly->GetDlgItem(9 + D_T1::ControlIdBase)->isVisible());
    EXPECT_FALSE(readOnly->GetDlgItem(10 + D_T1::ControlIdBase)->isVisible());
    EXPECT_TRUE(form->GetDlgItem(7 + D_T1::ControlIdBase)->isEnabled());
    EXPECT_EQ(m_shell.Count(QStringLiteral("SELECT count(1) FROM log_dh_open")), 2);

    form->close();
    readOnly->close();
    QTest::qWait(50);
    EXPECT_TRUE(OpenForms().isEmpty());

    // Escape leaves the window; the close box asks, and No keeps it.
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    m_shell.m_answer = false;
    window.close();
    EXPECT_TRUE(window.isVisible());
    m_shell.m_answer = true;
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(m_shell.m_questions,
              QStringList(2, AppText::CloseCaption + QStringLiteral("系统管理员|") + AppText::CloseQuestion));
}

// The demo database holds the running version already: nothing to publish.
TEST_P(MainWindow, AdministratorPublishesOnlyANewerProgram)
{
    LogIn(QStringLiteral("admin"));
    CQvimsDlg window;
    CButtonST* publish = window.findChild<CButtonST*>(QString::number(CQvimsDlg::IdPublish));
    ASSERT_TRUE(publish);
    QTest::mouseClick(publish, Qt::LeftButton);
    EXPECT_EQ(m_shell.m_messages, QStringList(QStringLiteral("无新版本")));
    EXPECT_TRUE(m_shell.m_questions.isEmpty());
}

TEST_P(MainWindow, OrdinaryUserSeesItsRightsAndItsFavourites)
{
    LogIn(QStringLiteral("zhang"));
    CQvimsDlg window;
    EXPECT_EQ(Outline(window.m_treeNav), QStringLiteral("业务示例(客户资料,订单录入)"));
    EXPECT_EQ(Outline(window.m_treeFav), QStringLiteral("客户资料"));
    EXPECT_FALSE(window.findChild<CButtonST*>(QString::number(CQvimsDlg::IdAbout)));
    EXPECT_FALSE(window.findChild<CButtonST*>(QString::number(CQvimsDlg::IdPublish)));

    // Adding moves an entry to the end; a list of one entry is kept.
    const QString favourites = QStringLiteral("SELECT auth1_0 FROM c_user WHERE uid_0=2");
    window.m_treeNav->setCurrentItem(FindTreeItemByData(window.m_treeNav, window.m_treeNav->topLevelItem(0), 22));
    window.OnAddFavourite();
    EXPECT_EQ(m_shell.Value(favourites), QStringLiteral("21,22"));
    window.m_treeNav->setCurrentItem(FindTreeItemByData(window.m_treeNav, window.m_treeNav->topLevelItem(0), 21));
    window.OnAddFavourite();
    EXPECT_EQ(m_shell.Value(favourites), QStringLiteral("22,21"));
    EXPECT_EQ(Outline(window.m_treeFav), QStringLiteral("客户资料 订单录入"));

    for (const char* expected : {"21", ""}) {
        window.m_treeFav->setCurrentItem(FindTreeItemByData(window.m_treeFav, window.m_treeFav->topLevelItem(0), 22));
        if (!window.m_treeFav->currentItem())
            window.m_treeFav->setCurrentItem(FindTreeItemByData(window.m_treeFav, window.m_treeFav->topLevelItem(0), 21));
        window.OnRemoveFavourite();
        EXPECT_EQ(m_shell.Value(favourites), QString::fromUtf8(expected));
    }
    EXPECT_EQ(window.m_treeFav->topLevelItemCount(), 0);

    // A favourite outside the rights is not shown; the shown tree is remembered.
    window.m_treeNav->setCurrentItem(FindTreeItemByData(window.m_treeNav, window.m_treeNav->topLevelItem(0), 21));
    window.OnAddFavourite();
    CDbConnection db;
    db.SetConnectString(m_shell.ConnectText());
    ASSERT_TRUE(db.Connect());
    ASSERT_TRUE(db.ExecuteCommand(QStringLiteral("UPDATE c_user SET auth1_0='11,21' WHERE uid_0=2")));
    db.Close();
    window.OnShowFavourites();
    window.OnRefreshTrees();
    EXPECT_EQ(Outline(window.m_treeFav), QStringLiteral("客户资料"));
    EXPECT_EQ(ReadIniString(QStringLiteral("cfg.ini"), QStringLiteral("SERVER"), QStringLiteral("DHBTN")),
              QStringLiteral("2"));
    CQvimsDlg again;
    EXPECT_TRUE(again.m_btnShowFav->isChecked());
    EXPECT_FALSE(again.m_btnShowNav->isChecked());
}

TEST_P(MainWindow, UserWithoutRightsGetsEmptyTrees)
{
    CDbConnection db;
    db.SetConnectString(m_shell.ConnectText());
    ASSERT_TRUE(db.Connect());
    ASSERT_TRUE(db.ExecuteCommand(QStringLiteral("UPDATE c_user SET auth_0='' WHERE uid_0=2")));
    db.Close();
    LogIn(QStringLiteral("zhang"));
    CQvimsDlg window;
    EXPECT_EQ(window.m_treeNav->topLevelItemCount(), 0);
    EXPECT_EQ(window.m_treeFav->topLevelItemCount(), 0);
}

TEST_P(MainWindow, AboutBoxShowsVersionsAndTheApplicationName)
{
    const QString version = QStringLiteral("Tembra管理软件 版本  ") + GetFileVersionText(QString()) + QStringLiteral(" - ");
    {
        CAboutDlg about; // before the worker has read the menu data's version
        EXPECT_EQ(about.m_labelVersion->text(), version);
        EXPECT_EQ(about.m_editAppName->text(), QStringLiteral("Tembra 演示系统"));
    }
    theApp().m_strMenuVersion = QStringLiteral("1.0.0.0");
    CDbConnection db;
    db.SetConnectString(m_shell.ConnectText());
    ASSERT_TRUE(db.Connect());
    ASSERT_TRUE(db.ExecuteCommand(QStringLiteral("DELETE FROM c_app")));
    db.Close();
    CAboutDlg about;
    EXPECT_EQ(about.m_labelVersion->text(), version + QStringLiteral("1.0.0.0"));
    EXPECT_EQ(about.m_editAppName->text(), AppText::DownloadHint);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MainWindow, ::testing::Values(2, 3), [](const auto& info) {
    return info.param == 2 ? std::string("Sqlite") : std::string("PostgreSql");
});

} // namespace
