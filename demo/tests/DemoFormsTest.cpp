// Demo forms opened from their description files on the rows their data
// scripts give, on both kinds: what the user sees after each step.
#include "ActionFormTest.h"
#include "ControlText.h"
#include "DemoDatabase.h"
#include "FormActions.h"
#include "grid/GridModel.h"
#include "grid/ListCtrlEx.h"

#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <span>

namespace {

class DemoFormsTest : public ActionFormTest
{
protected:
    // The data scripts named, then the form, opened, its deferred clicks run.
    void OpenDemo(const QStringList& scripts, const QString& form)
    {
        for (const QString& script : scripts) {
            QString failure;
            ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/" + script + ".sql", failure))
                << failure.toStdString();
        }
        ASSERT_TRUE(OpenDemoForm(form + ".xml"));
        Settle();
    }
    void Click(int id)
    {
        Fire(id);
        Settle();
    }
    static void Settle() { QTest::qWait(10); }

    CListCtrlEx* Grid(int id) const { return qobject_cast<CListCtrlEx*>(Control(id)); }
    QString Text(int id) const { return GetControlText(Control(id)); }
    void Type(int id, const QString& text) const { qobject_cast<QLineEdit*>(Control(id))->setText(text); }

    // The cells of one column (from 0), top to bottom.
    QStringList Column(int grid, int column) const
    {
        QStringList texts;
        for (int row = 0; row < Grid(grid)->GetItemCount(); ++row)
            texts << Grid(grid)->GetItemText(row, column);
        return texts;
    }
    QStringList Titles(int grid) const
    {
        QStringList titles;
        for (int column = 0; column < Grid(grid)->GetColumnCount(); ++column)
            titles << Grid(grid)->GetColumnTitle(column);
        return titles;
    }
    // A cell as the user edits it: the column's editor opened on it, given
    // the text and closed with commit (its end-of-edit list runs).
    void EditCell(int grid, int row, int column, int editor, const QString& text)
    {
        ASSERT_TRUE(Grid(grid)->BeginEdit(row, column));
        CFormActions::SetControlValue(Control(editor), text);
        Grid(grid)->EndEdit(true);
        Settle();
    }
    QString Background(int grid, int row, int column) const
    {
        CGridModel* model = Grid(grid)->GetModel();
        model->Flush();
        const QColor colour = model->data(model->index(row, column), Qt::BackgroundRole).value<QColor>();
        return QStringLiteral("%1,%2,%3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
    }
};

// The first entries of the tree: headers and rows as soon as they open,
// and the query filters.
TEST_P(DemoFormsTest, UserListAndLoginLogListTheirRows)
{
    OpenDemo({}, "11_user_list");
    EXPECT_EQ(Titles(4), (QStringList{"登录名", "姓名", "状态", "上次登录"}));
    EXPECT_EQ(Column(4, 0), QStringList{"clerk"});
    Type(2, "nobody");
    Click(3);
    EXPECT_EQ(Grid(4)->GetItemCount(), 0);
    delete m_form.data();

    // A failed login is logged with user 0; two logins in the same second
    // show the later one first.
    for (const char* login : {"('zhang',2,'2025-12-31 23:59:00')", "('admin',0,'2026-01-05 08:55:12')",
                               "('admin',1,'2026-01-05 08:55:12')", "('zhang',2,'2026-01-07 13:30:25')"})
        Exec(QString("INSERT INTO log_client_login (name_0, user_uid_0, time_0) VALUES %1").arg(login));
    OpenDemo({}, "12_login_log");
    EXPECT_EQ(Titles(4), (QStringList{"登录名", "结果", "IP 地址", "计算机名", "时间"}));
    EXPECT_EQ(Column(4, 0), (QStringList{"zhang", "admin", "admin"})); // from the date in the box on, the latest first
    EXPECT_EQ(Column(4, 1), (QStringList{"成功", "成功", "失败"}));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
}

// 订单录入: a line's amount and the total follow its quantity, its price and
// the product chosen, in whatever order they come; a line without a
// quantity or a price has no amount yet.
TEST_P(DemoFormsTest, OrderAmountFollowsQuantityPriceAndProduct)
{
    constexpr int Lines = 7, Total = 54, AddLine = 10;
    constexpr int Goods = 1, Quantity = 2, Price = 3, Amount = 4;
    const struct {
        int column, editor;
        QString text;
        QString price, amount, total;
    } edits[] = {
        {Quantity, 61, "10", "", "", "0"},
        {Price, 62, "2.5", "2.5", "25", "25"},
        {Goods, 60, "螺母 M8", "6.8", "68", "68"},
        {Quantity, 61, "", "6.8", "", "0"},
        {Goods, 60, "电钻 500W", "268", "", "0"},
        {Quantity, 61, "2", "268", "536", "536"},
    };
    OpenDemo({"22_orders"}, "22_orders");
    Click(AddLine);
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.text.toStdString());
        EditCell(Lines, 0, edit.column, edit.editor, edit.text);
        const auto number = [](const QString& text) { return text.isEmpty() ? text : QString::number(text.toDouble()); };
        EXPECT_EQ(number(Grid(Lines)->GetItemText(0, Price)), edit.price);
        EXPECT_EQ(number(Grid(Lines)->GetItemText(0, Amount)), edit.amount);
        EXPECT_EQ(Text(Total).toDouble(), edit.total.toDouble());
    }
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
}

TEST_P(DemoFormsTest, CustomersSavedChangedAndDeleted)
{
    OpenDemo({"21_customers"}, "21_customers");
    EXPECT_EQ(Text(9), "");
    EXPECT_EQ(Column(12, 0), (QStringList{"华东五金有限公司", "华北贸易", "城东便利店"}));

    Type(2, "新客户'甲'");
    Type(4, "020-1234");
    Click(7);
    EXPECT_EQ(Rows("SELECT name_0, phone_0 FROM d_customer WHERE uid_0>3"), "新客户'甲'|020-1234");
    Type(4, "020-9999");
    Click(7); // the same name again: changed, not added
    EXPECT_EQ(Rows("SELECT name_0, phone_0 FROM d_customer WHERE uid_0>3"), "新客户'甲'|020-9999");
    EXPECT_EQ(Grid(12)->GetItemCount(), 4);

    Type(2, "华北贸易");
    Type(4, "");
    Click(11);
    EXPECT_EQ(Text(4), "010-5555-0200");

    Type(2, "");
    Click(7);
    EXPECT_EQ(m_messages.value(0), "请填写客户名称。");

    Grid(12)->SelectRow(3, true);
    Click(8);
    EXPECT_EQ(m_questions.value(0), "删除客户“新客户'甲'”？");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM d_customer"), "3");
    EXPECT_EQ(Grid(12)->GetItemCount(), 3);
}

TEST_P(DemoFormsTest, GoodsPickerTotalFollowsEditsAndAllGoodsResetsTheLabel)
{
    OpenDemo({"42_goods_picker"}, "42_goods_picker");
    for (int row = 0; row < 3; ++row)
        Grid(7)->SelectRow(row, true);
    Click(10);
    EXPECT_EQ(Text(15), "3");
    Grid(8)->SetItemText(1, 5, "8");
    m_form->FireEndEdit(8 + D_T1::ControlIdBase, 1, 5);
    EXPECT_EQ(Text(15), "10");
    EXPECT_EQ(Grid(8)->GetItemText(1, 6).toDouble(), 8 * Grid(8)->GetItemText(1, 4).toDouble());

    Type(4, "3");
    SetControlText(Control(6), "电动工具");
    Click(5);
    EXPECT_EQ(Text(6), "全部");
    EXPECT_EQ(Text(4), "");
}

TEST_P(DemoFormsTest, LedgerBalanceColoursFollowTheRecalculation)
{
    OpenDemo({"44_cells"}, "44_ledger");
    const QString yellow = "255,236,140", white = "255,255,255", refund = "255,228,225";
    EXPECT_EQ(Background(7, 3, 5), yellow);
    EXPECT_EQ(Background(7, 5, 5), yellow);
    EXPECT_EQ(Background(7, 6, 5), white);
    Grid(7)->SetItemText(3, 3, "20,000.00"); // the rent row becomes an income
    Click(31);
    EXPECT_EQ(Grid(7)->GetItemText(3, 5), "18,700.00");
    EXPECT_EQ(Background(7, 3, 5), white);
    EXPECT_EQ(Background(7, 5, 5), refund);
}

// Opened from the menu there is no customer: every contact is listed, and
// the box filters.
TEST_P(DemoFormsTest, ContactsFromTheMenu)
{
    OpenDemo({"64_delivery_note"}, "65_customer_contacts");
    EXPECT_EQ(Column(3, 1), (QStringList{"华东五金有限公司", "华东五金有限公司", "华北贸易"}));
    Type(2, "华北");
    Click(5);
    EXPECT_EQ(Column(3, 2), QStringList{"赵强"});
}

// A goods receipt: the supplier box fills contact and phone, new lines take
// goods by code (text editor) or by name (list editor), quantities and
// arrival dates (date editor); the save stores head and lines, and 打 开
// reads them back.
TEST_P(DemoFormsTest, GoodsReceiptSavedWithItsLinesAndOpenedAgain)
{
    OpenDemo({"46_goods_receipt"}, "46_goods_receipt");
    Type(50, "RK-001");
    Type(51, "宏达建材");
    Fire(51, "EN_KILLFOCUS");
    Settle();
    EXPECT_EQ(Text(56), "刘小姐");
    EXPECT_EQ(Text(57), "010-8899-2002");
    CFormActions::SetControlValue(Control(52), "2026-03-05");
    qobject_cast<QComboBox*>(Control(53))->lineEdit()->setText("临时仓");

    const struct {
        int column, editor;
        QString text;
    } line1[] = {{0, 60, "A01"}, {3, 62, "12"}, {4, 63, "2026-03-09"}},
      line2[] = {{1, 61, "电钻 500W"}, {3, 62, "3"}, {4, 63, "2026-03-20"}};
    for (const auto& line : {std::span(line1), std::span(line2)}) {
        Click(10);
        const int row = Grid(8)->GetItemCount() - 1;
        EXPECT_TRUE(Control(60)->isVisible()) << "the new row's first cell is open for typing";
        for (const auto& cell : line)
            EditCell(8, row, cell.column, cell.editor, cell.text);
    }
    EXPECT_EQ(Column(8, 0), (QStringList{"A01", "C01"}));
    EXPECT_EQ(Column(8, 1), (QStringList{"六角螺栓 M8", "电钻 500W"}));
    EXPECT_EQ(Column(8, 2), (QStringList{"盒", "台"}));
    EXPECT_EQ(Text(54).toDouble(), 15);

    Click(12);
    EXPECT_EQ(m_messages, QStringList{"操作成功"});
    EXPECT_EQ(Rows("SELECT no_0, supplier_0, date_0, store_0 FROM rcv_head"), "RK-001|宏达建材|2026-03-05|临时仓");
    EXPECT_EQ(Rows("SELECT g.code_0, CAST(l.qty_0 AS integer), l.arrive_0 FROM rcv_line l JOIN rcv_goods g "
                   "ON g.uid_0=l.goods_uid_0 JOIN rcv_head h ON h.uid_0=l.head_uid_0 WHERE h.no_0='RK-001' "
                   "ORDER BY l.uid_0"),
              "A01|12|2026-03-09|C01|3|2026-03-20");
    Click(12);
    EXPECT_EQ(m_messages.value(1), "单号 RK-001 已经存在。");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM rcv_line"), "2");

    delete m_form.data();
    OpenDemo({}, "46_goods_receipt");
    Type(50, "RK-001");
    Click(14);
    EXPECT_EQ(Text(51), "宏达建材");
    EXPECT_EQ(Text(53), "临时仓");
    EXPECT_EQ(Text(56), "刘小姐");
    EXPECT_EQ(Column(8, 1), (QStringList{"六角螺栓 M8", "电钻 500W"}));
    EXPECT_EQ(Column(8, 4), (QStringList{"2026-03-09", "2026-03-20"}));
    EXPECT_EQ(Text(54).toDouble(), 15);
}

TEST_P(DemoFormsTest, EventsF2CopiesAndMovesTheFocus)
{
    OpenDemo({}, "24_events");
    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form));
    Control(2)->setFocus();
    QTest::keyClick(Control(2), Qt::Key_F2);
    Settle();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "客户: 华北贸易\t电话: 010-5555\r\n");
    EXPECT_EQ(QApplication::focusWidget(), Control(4));
}

} // namespace

TEMBRA_ACTION_KINDS(DemoFormsTest);
