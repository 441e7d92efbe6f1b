// 业务示例: 订单录入 (a whole business document), 客户资料, 事件示例.
#include "E2eRun.h"
#include "SessionHelpers.h"

namespace {

using SessionCheck::Number;
using SessionCheck::PixelsOf;

class BusinessSessions : public DemoSession
{
protected:
    // 订单录入's controls.
    static constexpr int OrderNo = 50, Customer = 51, Note = 53, RecordNo = 55, Total = 54, Lines = 7;
    static constexpr int AddLine = 10, DeleteLine = 11, SaveNew = 12, SaveChanges = 13, OpenOrder = 14;
    static constexpr int GoodsColumn = 1, QuantityColumn = 2, PriceColumn = 3, AmountColumn = 4;

    struct Line
    {
        QString goods;
        QString quantity;
        QString price;
    };

    // The order's lines as saved: goods name, quantity, price, amount.
    QList<QStringList> SavedLines(const QString& orderNo)
    {
        return Db().Rows(QStringLiteral("SELECT g.name_0, l.qty_0, l.price_0, l.amount_0 FROM ord_line l "
                                        "JOIN ord_goods g ON g.uid_0=l.goods_uid_0 JOIN ord_head h ON h.uid_0=l.head_uid_0 "
                                        "WHERE h.no_0='%1' ORDER BY l.uid_0")
                             .arg(orderNo));
    }
};


TEST_F(BusinessSessions, OrderEntry_NewLinesTypedSavedReopenedAndChanged)
{
    std::optional<FormWindow> form = Open(QStringLiteral("订单录入"));
    ASSERT_TRUE(form);
    const QString no = QStringLiteral("E2E-%1").arg(E2eRun::Get().Kind());

    Step(QStringLiteral("fill the head"));
    form->Fill(OrderNo, no);
    form->Fill(Customer, QStringLiteral("宏达建材"));
    form->Fill(Note, QStringLiteral("端到端测试"));

    // 新增行 numbers the new line (rownum), so no editor opens by itself:
    // the user clicks the line's 商品 cell and types.
    Step(QStringLiteral("新增行, then click the new line's 商品 and type goods, Tab, quantity, Tab, price, Return"));
    const QList<Line> lines = {{QStringLiteral("螺母 M8"), QStringLiteral("3"), QStringLiteral("7")},
                               {QStringLiteral("电钻 500W"), QStringLiteral("2"), QStringLiteral("250")}};
    for (int row = 0; row < lines.size(); ++row) {
        const Line& line = lines[row];
        form->Click(AddLine);
        form->EditCell(Lines, row, GoodsColumn, line.goods);
        Desktop().Key(QStringLiteral("Tab"));
        Desktop().Type(line.quantity);
        Desktop().Key(QStringLiteral("Tab"));
        Desktop().Key(QStringLiteral("ctrl+a"));
        Desktop().Type(line.price);
        Desktop().Key(QStringLiteral("Return"));
    }
    Step(QStringLiteral("the total follows the typed lines"));
    EXPECT_DOUBLE_EQ(Number(form->Read(Total)), 521.0);

    Step(QStringLiteral("保存新单: the save says 操作成功"));
    form->Click(SaveNew);
    ExpectMessage();
    const QList<QStringList> head =
        Db().Rows(QStringLiteral("SELECT customer_0, note_0 FROM ord_head WHERE no_0='%1'").arg(no));
    ASSERT_EQ(head.size(), 1) << "the order head was not saved";
    EXPECT_EQ(head.first().value(0), QStringLiteral("宏达建材"));
    EXPECT_EQ(head.first().value(1), QStringLiteral("端到端测试"));
    QList<QStringList> saved = SavedLines(no);
    ASSERT_EQ(saved.size(), 2) << "the typed lines were not saved";
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(saved[i].value(0), lines[i].goods);
        EXPECT_DOUBLE_EQ(Number(saved[i].value(1)), Number(lines[i].quantity));
        EXPECT_DOUBLE_EQ(Number(saved[i].value(2)), Number(lines[i].price));
        EXPECT_DOUBLE_EQ(Number(saved[i].value(3)), Number(lines[i].quantity) * Number(lines[i].price));
    }

    Step(QStringLiteral("保存新单 a second time is refused: the 单号 exists"));
    form->Click(SaveNew);
    ExpectMessage(); // its text is the check's, which the log does not keep
    EXPECT_EQ(Db().Count(QStringLiteral("SELECT COUNT(*) FROM ord_head WHERE no_0='%1'").arg(no)), 1);
    EXPECT_EQ(SavedLines(no).size(), 2);

    Step(QStringLiteral("reopen: a new window of the entry, type the 单号, 打开"));
    std::optional<FormWindow> again = Open(QStringLiteral("订单录入"));
    ASSERT_TRUE(again);
    again->Fill(OrderNo, no);
    again->Click(OpenOrder);
    ExpectNoMessage();
    EXPECT_EQ(again->Read(Customer), QStringLiteral("宏达建材"));
    EXPECT_EQ(again->Read(Note), QStringLiteral("端到端测试"));
    EXPECT_DOUBLE_EQ(Number(again->Read(Total)), 521.0);
    EXPECT_EQ(again->FilledRows(Lines, GoodsColumn), 2);

    Step(QStringLiteral("change the first line's quantity, delete the second, 保存修改"));
    again->EditCell(Lines, 0, QuantityColumn, QStringLiteral("4"));
    Desktop().Key(QStringLiteral("Return"));
    Desktop().Key(QStringLiteral("Escape"));
    again->ClickCell(Lines, 1, 0);
    again->Click(DeleteLine);
    again->Click(SaveChanges);
    ExpectMessage(); // 操作成功
    saved = SavedLines(no);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_DOUBLE_EQ(Number(saved[0].value(1)), 4.0);
    EXPECT_DOUBLE_EQ(Number(saved[0].value(3)), 28.0);

    Step(QStringLiteral("a quantity of 0 rolls the whole save back and names the line"));
    again->EditCell(Lines, 0, QuantityColumn, QStringLiteral("0"));
    Desktop().Key(QStringLiteral("Return"));
    Desktop().Key(QStringLiteral("Escape"));
    again->Fill(Note, QStringLiteral("不应保存"));
    again->Click(SaveChanges);
    EXPECT_FALSE(ExpectMessage().isEmpty());
    EXPECT_EQ(Db().Value(QStringLiteral("SELECT note_0 FROM ord_head WHERE no_0='%1'").arg(no)), QStringLiteral("端到端测试"));
    EXPECT_DOUBLE_EQ(Number(SavedLines(no).value(0).value(1)), 4.0);
}

// A product chosen from the 商品 list after the quantity and price were
// typed brings its own price, and the amount and the total follow at once.
TEST_F(BusinessSessions, OrderEntry_ChosenProductRecomputesAmountAndTotal)
{
    std::optional<FormWindow> form = Open(QStringLiteral("订单录入"));
    ASSERT_TRUE(form);
    const QString no = QStringLiteral("E2E-CHOICE-%1").arg(E2eRun::Get().Kind());

    Step(QStringLiteral("新增行, quantity 10, Tab, price 2.5, Return"));
    form->Click(AddLine);
    form->EditCell(Lines, 0, QuantityColumn, QStringLiteral("10"));
    Desktop().Key(QStringLiteral("Tab"));
    Desktop().Key(QStringLiteral("ctrl+a"));
    Desktop().Type(QStringLiteral("2.5"));
    Desktop().Key(QStringLiteral("Return"));
    EXPECT_DOUBLE_EQ(Number(form->Read(Total)), 25.0);
    EXPECT_EQ(form->FilledRows(Lines, AmountColumn), 1);

    Step(QStringLiteral("螺母 M8 chosen from the line's 商品 list (the second entry), Tab, Escape"));
    form->ChooseInCell(Lines, 0, GoodsColumn, 1);
    Desktop().Key(QStringLiteral("Tab"));
    Desktop().Key(QStringLiteral("Escape"));
    ExpectNoMessage();
    EXPECT_DOUBLE_EQ(Number(form->Read(Total)), 68.0) << "the total did not follow the chosen product";

    Step(QStringLiteral("the head, 保存新单: the line is stored with the product's price and amount"));
    form->Fill(OrderNo, no);
    form->Fill(Customer, QStringLiteral("顺风机电"));
    form->Click(SaveNew);
    ExpectMessage(); // 操作成功
    const QList<QStringList> saved = SavedLines(no);
    ASSERT_EQ(saved.size(), 1) << "the line was not saved";
    EXPECT_EQ(saved[0].value(0), QStringLiteral("螺母 M8"));
    EXPECT_DOUBLE_EQ(Number(saved[0].value(1)), 10.0);
    EXPECT_DOUBLE_EQ(Number(saved[0].value(2)), 6.8);
    EXPECT_DOUBLE_EQ(Number(saved[0].value(3)), 68.0);
    EXPECT_DOUBLE_EQ(Number(form->Read(Total)), 68.0);
}

TEST_F(BusinessSessions, OrderEntry_SaveWithoutOrderNumberIsRefused)
{
    std::optional<FormWindow> form = Open(QStringLiteral("订单录入"));
    ASSERT_TRUE(form);
    const int before = Db().Count(QStringLiteral("SELECT COUNT(*) FROM ord_head"));
    Step(QStringLiteral("保存新单 with an empty 单号"));
    form->Fill(Customer, QStringLiteral("顺风机电"));
    form->Click(SaveNew);
    ExpectMessage();
    EXPECT_EQ(Db().Count(QStringLiteral("SELECT COUNT(*) FROM ord_head")), before);
}

// 客户资料: a customer typed in is saved and listed; chosen in the list it is
// deleted after a yes; the remark box starts empty.
TEST_F(BusinessSessions, Customers_SaveAndDelete)
{
    constexpr int Name = 2, Phone = 4, Kind = 6, Save = 7, Delete = 8, Remark = 9, List = 12;
    std::optional<FormWindow> form = Open(QStringLiteral("客户资料"));
    ASSERT_TRUE(form);
    const QString name = QStringLiteral("端到端客户%1").arg(E2eRun::Get().Kind());
    Step(QStringLiteral("type a customer's name"));
    form->Fill(Name, name);
    Step(QStringLiteral("the remark box starts empty"));
    EXPECT_EQ(form->Read(Remark), QString()) << "the remark box holds a text";

    Step(QStringLiteral("type the rest of the customer, 保 存"));
    form->Fill(Phone, QStringLiteral("021-7654321"));
    form->Choose(Kind, QStringLiteral("批发"));
    form->Fill(Remark, QStringLiteral("端到端备注"));
    form->Click(Save);
    Program().DismissMessages();
    EXPECT_EQ(Db().RowsHolding(name), 1) << "the customer was not saved";
    EXPECT_EQ(Db().RowsHolding(QStringLiteral("021-7654321")), 1);

    Step(QStringLiteral("choose the customer in the list, 删 除, answer yes"));
    QStringList listed;
    for (const QStringList& row : Db().Rows(QStringLiteral("SELECT name_0 FROM d_customer ORDER BY uid_0")))
        listed << row.value(0);
    const int row = int(listed.indexOf(name));
    ASSERT_GE(row, 0) << "the customer is not in d_customer";
    ASSERT_LT(row, form->VisibleRows(List));
    form->ClickCell(List, row, 0);
    form->Click(Delete);
    ExpectMessage(true);
    EXPECT_EQ(Db().RowsHolding(name), 0) << "the customer was not deleted";
}

// 客户资料(只读): the same form with its buttons disabled and the remark hidden.
TEST_F(BusinessSessions, CustomersReadOnly_ButtonsDisabledRemarkHidden)
{
    constexpr int Name = 2, Save = 7, Remark = 9;
    constexpr int CustomersEntry = 21;
    m_strEntry = QStringLiteral("客户资料(只读)");
    Step(QStringLiteral("open from the navigation tree"));
    // The entry shows the form of 客户资料 (its head redirects to it).
    std::optional<FormWindow> form = Program().OpenEntry(m_strEntry, CustomersEntry);
    ASSERT_TRUE(form) << qPrintable(Program().Problem());
    Step(QStringLiteral("the remark is hidden"));
    EXPECT_LE(SessionCheck::ColoursIn(Desktop().Grab().copy(form->ControlScreenRect(Remark))), 2);
    Step(QStringLiteral("保 存 does nothing"));
    const QString name = QStringLiteral("只读客户");
    form->Fill(Name, name);
    form->Click(Save);
    ExpectNoMessage();
    EXPECT_EQ(Db().RowsHolding(name), 0);
}

// 事件示例: 复制 and F2 put the two boxes on the clipboard and move the focus
// to the phone; 聚焦名称 moves it to the name; 关 闭 closes the form.
TEST_F(BusinessSessions, Events_CopyHotKeyFocusAndClose)
{
    constexpr int Name = 2, Phone = 4, Copy = 5, FocusName = 6, Close = 8;
    std::optional<FormWindow> form = Open(QStringLiteral("事件示例"));
    ASSERT_TRUE(form);
    const QString copied = QStringLiteral("客户: 华北贸易\t电话: 010-5555\n");

    Step(QStringLiteral("复制"));
    Desktop().SetClipboard(QString());
    form->Click(Copy);
    EXPECT_EQ(Desktop().Clipboard().replace(QStringLiteral("\r\n"), QStringLiteral("\n")), copied);

    Step(QStringLiteral("F2 copies and moves the focus to the phone"));
    Desktop().SetClipboard(QString());
    Desktop().Click(form->ControlPoint(Name));
    Desktop().Key(QStringLiteral("F2"));
    EXPECT_EQ(Desktop().Clipboard().replace(QStringLiteral("\r\n"), QStringLiteral("\n")), copied);
    Desktop().Key(QStringLiteral("End"));
    Desktop().Type(QStringLiteral("9"));
    EXPECT_EQ(form->Read(Phone), QStringLiteral("010-55559"));
    EXPECT_EQ(form->Read(Name), QStringLiteral("华北贸易"));

    Step(QStringLiteral("聚焦名称 moves the focus to the name"));
    form->Click(FocusName);
    Desktop().Key(QStringLiteral("End"));
    Desktop().Type(QStringLiteral("甲"));
    EXPECT_EQ(form->Read(Name), QStringLiteral("华北贸易甲"));

    Step(QStringLiteral("关 闭"));
    form->Click(Close);
    EXPECT_TRUE(XDesktop::WaitUntil([&] { return !form->IsShown(); }, 3000)) << "the form stays open";
}

} // namespace
