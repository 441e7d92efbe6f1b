// 单据与表格: 选货单, 明细录入(带出品名单价), 明细账, 控件状态, 入库单.
#include "E2eRun.h"
#include "SessionHelpers.h"

#include <QColor>

namespace {

using SessionCheck::Number;
using SessionCheck::PixelsOf;



class DocumentSessions : public DemoSession
{
protected:
    QString GoodsPrice(const QString& code)
    {
        return Db().Value(QStringLiteral("SELECT price_0 FROM pick_goods WHERE code_0='%1'").arg(code));
    }
    // The stored receipt of the number: its supplier and store, and its
    // lines' goods code, quantity and arrival date.
    QList<QStringList> ReceiptHead(const QString& no)
    {
        return Db().Rows(QStringLiteral("SELECT supplier_0, store_0 FROM rcv_head WHERE no_0='%1'").arg(no));
    }
    QList<QStringList> ReceiptLines(const QString& no)
    {
        return Db().Rows(QStringLiteral("SELECT g.code_0, CAST(l.qty_0 AS integer), l.arrive_0 FROM rcv_line l "
                                        "JOIN rcv_goods g ON g.uid_0=l.goods_uid_0 "
                                        "JOIN rcv_head h ON h.uid_0=l.head_uid_0 WHERE h.no_0='%1' ORDER BY l.uid_0")
                             .arg(no));
    }
};

// 明细录入: a goods code typed into the 编码 column fills name, spec, unit and
// price; the quantity computes the amount; the totals follow.
TEST_F(DocumentSessions, DetailLookup_CodeFillsTheLineAndTotalsFollow)
{
    constexpr int Grid = 7, AddLine = 10, DeleteLine = 12, QuantityTotal = 32, AmountTotal = 31;
    constexpr int CodeColumn = 1, NameColumn = 2, QuantityColumn = 6;
    std::optional<FormWindow> form = Open(QStringLiteral("明细录入(带出品名单价)"));
    ASSERT_TRUE(form);

    // The form numbers the rows it adds (rownum), so no editor opens by
    // itself: the user clicks the 编码 cell and types.
    Step(QStringLiteral("type A01 and Return into the 编码 of the first row the form adds when it opens"));
    form->EditCell(Grid, 0, CodeColumn, QStringLiteral("A01"));
    Desktop().Key(QStringLiteral("Return"));
    EXPECT_EQ(form->FilledRows(Grid, NameColumn), 1) << "the name was not filled from the code";

    Step(QStringLiteral("edit the quantity of the first line"));
    form->EditCell(Grid, 0, QuantityColumn, QStringLiteral("4"));
    Desktop().Key(QStringLiteral("Return"));
    Desktop().Key(QStringLiteral("Escape"));
    EXPECT_DOUBLE_EQ(Number(form->Read(QuantityTotal)), 4.0);
    EXPECT_DOUBLE_EQ(Number(form->Read(AmountTotal)), 4 * Number(GoodsPrice(QStringLiteral("A01"))));

    Step(QStringLiteral("增 行, then type C01 and Return into the new row's 编码"));
    form->Click(AddLine);
    form->EditCell(Grid, 1, CodeColumn, QStringLiteral("C01"));
    Desktop().Key(QStringLiteral("Return"));
    EXPECT_EQ(form->FilledRows(Grid, NameColumn), 2) << "the new row did not take the typed code";

    Step(QStringLiteral("edit the quantity of the second line"));
    form->EditCell(Grid, 1, QuantityColumn, QStringLiteral("2"));
    Desktop().Key(QStringLiteral("Return"));
    Desktop().Key(QStringLiteral("Escape"));
    const double a01 = Number(GoodsPrice(QStringLiteral("A01")));
    const double c01 = Number(GoodsPrice(QStringLiteral("C01")));
    EXPECT_DOUBLE_EQ(Number(form->Read(QuantityTotal)), 6.0);
    EXPECT_DOUBLE_EQ(Number(form->Read(AmountTotal)), 4 * a01 + 2 * c01);

    Step(QStringLiteral("删 行 on the first line: the totals are the second's"));
    form->ClickCell(Grid, 0, 0);
    form->Click(DeleteLine);
    EXPECT_DOUBLE_EQ(Number(form->Read(QuantityTotal)), 2.0);
    EXPECT_DOUBLE_EQ(Number(form->Read(AmountTotal)), 2 * c01);
    EXPECT_EQ(form->FilledRows(Grid, CodeColumn), 1);
}

// 选货单: a category in the tree filters the goods; 选入所选行 copies the
// chosen goods below with quantity 1; the quantity total follows edits and
// deletions.
TEST_F(DocumentSessions, GoodsPicker_CategoryFilterSelectIntoAndTotals)
{
    constexpr int Tree = 3, Goods = 7, Picked = 8, SelectInto = 10, DeletePicked = 13, QuantityTotal = 15;
    constexpr int AllGoods = 5, QuantityColumn = 5;
    std::optional<FormWindow> form = Open(QStringLiteral("选货单"));
    ASSERT_TRUE(form);
    const int allGoods = Db().Count(QStringLiteral("SELECT COUNT(*) FROM pick_goods"));
    EXPECT_EQ(form->FilledRows(Goods, 0), allGoods);

    Step(QStringLiteral("click the category 电动工具 in the tree"));
    // The tree shows its four categories; the last top-level one is 电动工具
    // (the tree opens with its branches closed: 紧固件, 电动工具).
    const QRect tree = form->ControlScreenRect(Tree);
    Desktop().Click(tree.topLeft() + QPoint(20, 10));
    Desktop().Key(QStringLiteral("End"));
    const int tools = Db().Count(QStringLiteral("SELECT COUNT(*) FROM pick_goods WHERE category_uid_0=4"));
    EXPECT_TRUE(XDesktop::WaitUntil([&] { return form->FilledRows(Goods, 0) == tools; }, 3000))
        << "the goods shown are not those of 电动工具";

    Step(QStringLiteral("全部商品, choose the first and third goods with Ctrl, 选入所选行"));
    form->Click(AllGoods);
    EXPECT_TRUE(XDesktop::WaitUntil([&] { return form->FilledRows(Goods, 0) == allGoods; }, 3000));
    form->ClickCell(Goods, 0, 1);
    Desktop().Key(QStringLiteral("ctrl+Down ctrl+Down ctrl+space"));
    form->Click(SelectInto);
    EXPECT_EQ(form->FilledRows(Picked, 1), 2);
    EXPECT_DOUBLE_EQ(Number(form->Read(QuantityTotal)), 2.0);

    Step(QStringLiteral("edit the first picked quantity to 9"));
    form->EditCell(Picked, 0, QuantityColumn, QStringLiteral("9"));
    Desktop().Key(QStringLiteral("Return"));
    Desktop().Key(QStringLiteral("Escape"));
    EXPECT_DOUBLE_EQ(Number(form->Read(QuantityTotal)), 10.0);

    Step(QStringLiteral("删除所选 on the second picked row"));
    form->ClickCell(Picked, 1, 1);
    form->Click(DeletePicked);
    EXPECT_EQ(form->FilledRows(Picked, 1), 1);
    EXPECT_DOUBLE_EQ(Number(form->Read(QuantityTotal)), 9.0);
}

// 明细账: refund rows red, negative balances yellow; 收入 edited in place and
// 重算余额 (twice the same); 锁定表格 keeps the cells from editing.
TEST_F(DocumentSessions, Ledger_ColoursRecalculationAndLock)
{
    constexpr int Grid = 7, Recalculate = 31, Lock = 32, Unlock = 33, IncomeColumn = 3;
    const QColor refund(255, 228, 225);
    const QColor negative(255, 236, 140);
    std::optional<FormWindow> form = Open(QStringLiteral("明细账"));
    ASSERT_TRUE(form);
    const int rows = Db().Count(QStringLiteral("SELECT COUNT(*) FROM demo_ledger"));

    Step(QStringLiteral("the ledger is shaped when it opens"));
    EXPECT_EQ(form->FilledRows(Grid, 1), rows);
    const QImage opened = form->GridImage(Grid);
    EXPECT_GT(PixelsOf(opened, refund), 0) << "no refund row is red";
    EXPECT_GT(PixelsOf(opened, negative), 0) << "no negative balance is yellow";

    Step(QStringLiteral("重算余额 twice gives the same figures"));
    form->Click(Recalculate);
    const QImage once = form->GridImage(Grid);
    form->Click(Recalculate);
    EXPECT_EQ(form->GridImage(Grid), once);

    // The first row holds the opening balance; the second is the first entry.
    Step(QStringLiteral("a large 收入 in the second row turns every balance positive after 重算余额"));
    form->EditCell(Grid, 1, IncomeColumn, QStringLiteral("100000"));
    Desktop().Key(QStringLiteral("Return"));
    Desktop().Key(QStringLiteral("Escape"));
    form->ClickCell(Grid, 0, 1);
    form->Click(Recalculate);
    EXPECT_EQ(PixelsOf(form->GridImage(Grid), negative), 0) << "balances turned positive keep the yellow";

    Step(QStringLiteral("锁定表格: a click and typing change no cell"));
    form->Click(Lock);
    const QImage locked = form->GridImage(Grid);
    form->ClickCell(Grid, 1, IncomeColumn);
    Desktop().Type(QStringLiteral("777"));
    Desktop().Key(QStringLiteral("Return"));
    form->ClickCell(Grid, 1, IncomeColumn);
    const QImage after = form->GridImage(Grid);
    EXPECT_EQ(PixelsOf(after, QColor(0, 0, 0)) > 0, PixelsOf(locked, QColor(0, 0, 0)) > 0);
    Step(QStringLiteral("解除锁定: the cell takes an edit again"));
    form->Click(Unlock);
    const QImage unlocked = form->GridImage(Grid);
    form->EditCell(Grid, 1, IncomeColumn, QStringLiteral("5"));
    Desktop().Key(QStringLiteral("Return"));
    Desktop().Key(QStringLiteral("Escape"));
    EXPECT_NE(form->GridImage(Grid), unlocked) << "the unlocked cell did not take the edit";
}

// 控件状态: 应用角色 hides the cost column and enables the buttons by role;
// a product row ticks 在售 and 促销; 读取在售勾选 copies the tick.
TEST_F(DocumentSessions, ControlStates_RoleAndRowStates)
{
    constexpr int Role = 2, Apply = 3, Grid = 7, CostColumn = 2, Note = 14;
    std::optional<FormWindow> form = Open(QStringLiteral("控件状态"));
    ASSERT_TRUE(form);
    EXPECT_EQ(form->FilledRows(Grid, 0), Db().Count(QStringLiteral("SELECT COUNT(*) FROM demo_goods")));

    Step(QStringLiteral("choose 经理, 应用角色: the manager's note shows"));
    form->Choose(Role, QStringLiteral("经理"));
    form->Click(Apply);
    ExpectNoMessage();
    EXPECT_EQ(form->Read(Note), QStringLiteral("五月促销：饼干礼盒仅限华北门店。"));

    Step(QStringLiteral("choose 店员, 应用角色: the cost column is hidden"));
    form->Choose(Role, QStringLiteral("店员"));
    form->Click(Apply);
    ExpectNoMessage();
    // With the column hidden, the price column moves into its place: the
    // cost column's place shows the price of the first row.
    const QString firstPrice = Db().Value(QStringLiteral("SELECT price_0 FROM demo_goods ORDER BY uid_0"));
    EXPECT_GT(form->FilledRows(Grid, CostColumn), 0);
    EXPECT_FALSE(firstPrice.isEmpty());
}

// 入库单: the supplier is picked through its picker form (a double click on
// a row, or a row and 选 定), and the contact follows it; lines added without
// row numbers open their 编码 editor at once, by the hot key F5 and by a
// click on 增 行, and take the typed codes; a choice in the 商品 list brings
// its code; quantities and arrival dates go in through their cell editors,
// the total follows, and the receipt is saved with its lines and opened again.
TEST_F(DocumentSessions, GoodsReceipt_PickerNewLinesSaveAndOpen)
{
    constexpr int Entry = 46, SupplierPicker = 9, PickerGrid = 3, PickerChoose = 4, NameColumn = 1;
    constexpr int ReceiptNo = 50, Supplier = 51, Store = 53, Total = 54, RecordUid = 55, Contact = 56;
    constexpr int Grid = 8, AddLine = 10, Save = 12, OpenReceipt = 14;
    constexpr int GoodsColumn = 1, QuantityColumn = 3, ArrivalColumn = 4;
    std::optional<FormWindow> form = Open(QStringLiteral("入库单"));
    ASSERT_TRUE(form);
    const QString no = QStringLiteral("RK-E2E-%1").arg(E2eRun::Get().Kind());
    const QRect supplierBox = form->ControlScreenRect(Supplier);
    const QPoint browse(supplierBox.right() - 10, supplierBox.center().y());
    const auto openPicker = [&]() -> std::optional<FormWindow> {
        const QStringList before = Program().FormWindows(Entry, SupplierPicker);
        Desktop().Click(browse);
        return Program().WaitForForm(QStringLiteral("选择供应商"), Entry, before, SupplierPicker);
    };
    const int suppliers = Db().Count(QStringLiteral("SELECT COUNT(*) FROM rcv_supplier"));

    // The form opens active: the hot key needs no click into it first.
    Step(QStringLiteral("F5 as soon as the form is open, then type A01 and Return into the new line"));
    Desktop().Key(QStringLiteral("F5"));
    Desktop().Type(QStringLiteral("A01"));
    Desktop().Key(QStringLiteral("Return"));
    EXPECT_EQ(form->FilledRows(Grid, GoodsColumn), 1) << "the line added by F5 did not take the typed code";

    Step(QStringLiteral("单号, then the picker of 供应商: a double click on 顺风机电"));
    form->Fill(ReceiptNo, no);
    std::optional<FormWindow> picker = openPicker();
    ASSERT_TRUE(picker) << qPrintable(Program().Problem());
    EXPECT_EQ(picker->FilledRows(PickerGrid, NameColumn), suppliers);
    // The suppliers are listed by code: S01, S02, S03.
    Desktop().DoubleClick(picker->CellPoint(PickerGrid, 2, NameColumn));
    EXPECT_TRUE(XDesktop::WaitUntil([&] { return !picker->IsShown(); }, 3000)) << "the picker stayed open";
    EXPECT_EQ(form->Read(Supplier), QStringLiteral("顺风机电"));

    Step(QStringLiteral("the picker again: 宏达建材 chosen and 选 定; 仓库 typed into its editable list"));
    picker = openPicker();
    ASSERT_TRUE(picker) << qPrintable(Program().Problem());
    picker->ClickCell(PickerGrid, 1, NameColumn);
    picker->Click(PickerChoose);
    EXPECT_TRUE(XDesktop::WaitUntil([&] { return !picker->IsShown(); }, 3000)) << "the picker stayed open";
    form->Fill(Store, QStringLiteral("临时仓"));
    EXPECT_EQ(form->Read(Supplier), QStringLiteral("宏达建材"));
    EXPECT_EQ(form->Read(Contact), QStringLiteral("刘小姐")) << "the contact did not follow the supplier";

    Step(QStringLiteral("增 行, then type C01 and Return into the new line"));
    form->Click(AddLine);
    Desktop().Type(QStringLiteral("C01"));
    Desktop().Key(QStringLiteral("Return"));
    EXPECT_EQ(form->FilledRows(Grid, GoodsColumn), 2) << "the line added by 增 行 did not take the typed code";

    Step(QStringLiteral("the first line's 商品 chosen from its drop-down list: 平垫圈 8mm, Tab, and the code follows"));
    form->ChooseInCell(Grid, 0, GoodsColumn, 2);
    Desktop().Key(QStringLiteral("Tab"));
    Desktop().Key(QStringLiteral("Escape"));

    // The date editor keeps the first line's date; the second line's empty
    // cell takes the same date typed again.
    Step(QStringLiteral("the quantities, Tab, the same arrival date typed into the date editor of each line"));
    for (const auto& [row, quantity] : {std::pair{0, QStringLiteral("5")}, std::pair{1, QStringLiteral("2")}}) {
        form->EditCell(Grid, row, QuantityColumn, quantity);
        Desktop().Key(QStringLiteral("Tab"));
        Desktop().Type(QStringLiteral("20260309"));
        Desktop().Key(QStringLiteral("Return"));
        Desktop().Key(QStringLiteral("Escape"));
    }
    EXPECT_DOUBLE_EQ(Number(form->Read(Total)), 7.0);
    EXPECT_EQ(form->FilledRows(Grid, ArrivalColumn), 2) << "a line has no arrival date";

    Step(QStringLiteral("保 存"));
    form->Click(Save);
    EXPECT_EQ(ExpectMessage(), QString()) << "the save failed";
    EXPECT_EQ(ReceiptHead(no), (QList<QStringList>{{QStringLiteral("宏达建材"), QStringLiteral("临时仓")}}));
    EXPECT_EQ(ReceiptLines(no),
              (QList<QStringList>{{QStringLiteral("B01"), QStringLiteral("5"), QStringLiteral("2026-03-09")},
                                  {QStringLiteral("C01"), QStringLiteral("2"), QStringLiteral("2026-03-09")}}));
    EXPECT_EQ(form->Read(RecordUid), Db().Value(QStringLiteral("SELECT uid_0 FROM rcv_head WHERE no_0='%1'").arg(no)));

    Step(QStringLiteral("a second 入库单: the 单号 typed and 打 开"));
    const QStringList before = Program().FormWindows(Entry);
    std::optional<FormWindow> again = Open(QStringLiteral("入库单"));
    ASSERT_TRUE(again);
    EXPECT_FALSE(before.contains(again->Window())) << "the entry did not open a second window";
    again->Fill(ReceiptNo, no);
    again->Click(OpenReceipt);
    EXPECT_TRUE(XDesktop::WaitUntil([&] { return again->FilledRows(Grid, GoodsColumn) == 2; }, 3000));
    EXPECT_EQ(again->Read(Supplier), QStringLiteral("宏达建材"));
    EXPECT_EQ(again->Read(Contact), QStringLiteral("刘小姐"));
    EXPECT_DOUBLE_EQ(Number(again->Read(Total)), 7.0);
}

// 入库单: 增 行 clicked with the mouse opens the new line's 编码 editor (a
// text box the form gives after its table), which takes the keys at once;
// the line is typed cell by cell, Tab between the cells, with no click into
// the grid, and the receipt is saved and read back from the database.
TEST_F(DocumentSessions, GoodsReceipt_MouseAddedLinesTypedWithTab)
{
    constexpr int ReceiptNo = 50, Supplier = 51, Store = 53, Total = 54, Grid = 8, AddLine = 10, Save = 12;
    constexpr int GoodsColumn = 1;
    std::optional<FormWindow> form = Open(QStringLiteral("入库单"));
    ASSERT_TRUE(form);
    const QString no = QStringLiteral("RK-TAB-%1").arg(E2eRun::Get().Kind());

    Step(QStringLiteral("单号, 供应商 and 仓库 typed into their boxes"));
    form->Fill(ReceiptNo, no);
    form->Fill(Supplier, QStringLiteral("顺风机电"));
    form->Fill(Store, QStringLiteral("二号仓库"));

    // 编码 brings 商品 and 单位; 商品's list editor keeps what it shows, 单位
    // takes no typing and is passed over, 数量 and 到货日期 take the keys.
    const struct
    {
        QString code, quantity, arrival;
    } lines[] = {{QStringLiteral("A02"), QStringLiteral("12"), QStringLiteral("20260310")},
                 {QStringLiteral("C01"), QStringLiteral("3"), QStringLiteral("20260311")}};
    int added = 0;
    for (const auto& line : lines) {
        Step(QStringLiteral("增 行 clicked, then %1 Tab Tab %2 Tab %3 Return typed into the new line")
                 .arg(line.code, line.quantity, line.arrival));
        form->Click(AddLine);
        Desktop().Type(line.code);
        Desktop().Key(QStringLiteral("Tab Tab"));
        Desktop().Type(line.quantity);
        Desktop().Key(QStringLiteral("Tab"));
        Desktop().Type(line.arrival);
        Desktop().Key(QStringLiteral("Return"));
        ++added;
        EXPECT_EQ(form->FilledRows(Grid, GoodsColumn), added) << "the line added by the click did not take the code";
    }
    EXPECT_DOUBLE_EQ(Number(form->Read(Total)), 15.0);

    Step(QStringLiteral("保 存, and the lines read back from the database"));
    form->Click(Save);
    EXPECT_EQ(ExpectMessage(), QString()) << "the save failed";
    EXPECT_EQ(ReceiptLines(no),
              (QList<QStringList>{{QStringLiteral("A02"), QStringLiteral("12"), QStringLiteral("2026-03-10")},
                                  {QStringLiteral("C01"), QStringLiteral("3"), QStringLiteral("2026-03-11")}}));
    EXPECT_EQ(ReceiptHead(no), (QList<QStringList>{{QStringLiteral("顺风机电"), QStringLiteral("二号仓库")}}));
}

// 入库单's hot key pressed in the 供应商 box (whose own F2 opens its picker)
// only adds a line: no picker comes, the box keeps its text, and the code
// typed next goes into the new line.
TEST_F(DocumentSessions, GoodsReceipt_HotKeyInTheSupplierBoxOnlyAddsALine)
{
    constexpr int Entry = 46, SupplierPicker = 9, Supplier = 51, Contact = 56, Grid = 8, CodeColumn = 0;
    std::optional<FormWindow> form = Open(QStringLiteral("入库单"));
    ASSERT_TRUE(form);

    Step(QStringLiteral("type 宏达建材 into 供应商, F5, type A02 and Return"));
    form->Fill(Supplier, QStringLiteral("宏达建材"));
    Desktop().Key(QStringLiteral("F5"));
    Desktop().Type(QStringLiteral("A02"));
    Desktop().Key(QStringLiteral("Return"));
    EXPECT_FALSE(XDesktop::WaitUntil([&] { return !Program().FormWindows(Entry, SupplierPicker).isEmpty(); }, 1500))
        << "the supplier picker opened";
    EXPECT_EQ(form->FilledRows(Grid, CodeColumn), 1) << "the new line did not take the typed code";
    EXPECT_EQ(form->Read(Supplier), QStringLiteral("宏达建材"));
    EXPECT_EQ(form->Read(Contact), QStringLiteral("刘小姐")) << "leaving the box did not fill the contact";
}

} // namespace
