// 查询与语句: 商品分页列表, 商品类别树, 月度销量汇总, 订单付款, 地区联动, 跳转示例.
#include "E2eRun.h"
#include "SessionHelpers.h"

namespace {

using SessionCheck::Number;

class QuerySessions : public DemoSession
{
};

// 商品分页列表: 125 products, twenty a page; the filters.
TEST_F(QuerySessions, ProductPages_PageButtonsAndFilters)
{
    constexpr int Name = 2, Kind = 4, Query = 5, Grid = 6, First = 8, Previous = 9, Next = 10, Last = 11;
    std::optional<FormWindow> form = Open(QStringLiteral("商品分页列表"));
    ASSERT_TRUE(form);
    const int products = Db().Count(QStringLiteral("SELECT COUNT(*) FROM qry_products"));
    ASSERT_EQ(products, 125);

    // The grid shows fewer rows than a page holds; the rest is scrolled to.
    const int shown = form->VisibleRows(Grid);
    const auto page = [shown](int rows) { return qMin(rows, shown); };

    Step(QStringLiteral("the first page shows twenty"));
    EXPECT_EQ(form->FilledRows(Grid, 0), page(20));
    const QImage first = form->GridImage(Grid);
    Step(QStringLiteral("下一页 shows the next twenty"));
    form->Click(Next);
    EXPECT_EQ(form->FilledRows(Grid, 0), page(20));
    const QImage second = form->GridImage(Grid);
    EXPECT_NE(second, first);
    Step(QStringLiteral("末页 shows the last five"));
    form->Click(Last);
    EXPECT_EQ(form->FilledRows(Grid, 0), products % 20);
    Step(QStringLiteral("上一页 from the last page"));
    form->Click(Previous);
    EXPECT_EQ(form->FilledRows(Grid, 0), page(20));
    Step(QStringLiteral("首页 shows the first page again"));
    form->Click(First);
    EXPECT_EQ(form->GridImage(Grid), first);

    Step(QStringLiteral("the category list filters"));
    form->Choose(Kind, QStringLiteral("电料"));
    form->Click(Query);
    const int wires = Db().Count(QStringLiteral("SELECT COUNT(*) FROM qry_products WHERE kind_0='电料'"));
    EXPECT_EQ(form->FilledRows(Grid, 0), page(qMin(20, wires)));

    Step(QStringLiteral("the name box filters as well"));
    const QString name = Db().Value(QStringLiteral("SELECT name_0 FROM qry_products WHERE kind_0='电料' ORDER BY code_0"));
    form->Fill(Name, name);
    form->Click(Query);
    const int named = Db().Count(
        QStringLiteral("SELECT COUNT(*) FROM qry_products WHERE kind_0='电料' AND name_0 LIKE '%%1%'").arg(name));
    EXPECT_EQ(form->FilledRows(Grid, 0), page(qMin(20, named)));

    Step(QStringLiteral("a name with apostrophes is a name, not SQL: nothing found, no error"));
    form->Fill(Name, QStringLiteral("x' OR 'a'='a"));
    form->Click(Query);
    ExpectNoMessage();
    EXPECT_EQ(form->FilledRows(Grid, 0), 0);
    EXPECT_EQ(Db().Count(QStringLiteral("SELECT COUNT(*) FROM qry_products")), products);

    Step(QStringLiteral("with both emptied, all pages again"));
    form->Fill(Name, QString());
    form->Choose(Kind, QString());
    form->Click(Query);
    EXPECT_EQ(form->GridImage(Grid), first);
}

// 订单付款: 标记已付 asks first and marks the chosen order paid, refusing one
// paid already; 撤销付款 takes it back after a yes; the totals follow.
TEST_F(QuerySessions, Payments_MarkPaidRefuseTwiceAndTakeBack)
{
    constexpr int MarkPaid = 2, TakeBack = 3, Grid = 7, PaidCount = 11, LatestLog = 13;
    std::optional<FormWindow> form = Open(QStringLiteral("订单付款"));
    ASSERT_TRUE(form);
    const QList<QStringList> orders = Db().Rows(QStringLiteral("SELECT no_0, state_0 FROM pay_order ORDER BY no_0"));
    int row = -1;
    for (int i = 0; i < orders.size() && row < 0; ++i)
        row = orders[i].value(1) == QStringLiteral("已付") ? -1 : i;
    ASSERT_GE(row, 0) << "no unpaid order in the demo";
    const QString no = orders[row].value(0);
    const QString state = QStringLiteral("SELECT state_0 FROM pay_order WHERE no_0='%1'").arg(no);
    const QString paidCount = QStringLiteral("SELECT COUNT(*) FROM pay_order WHERE state_0='已付'");

    Step(QStringLiteral("choose an unpaid order, 标记已付, answer yes"));
    form->ClickCell(Grid, row, 0);
    form->Click(MarkPaid);
    ExpectMessage(true);
    Program().DismissMessages(); // a note that it is done, if any
    EXPECT_EQ(Db().Value(state), QStringLiteral("已付"));
    EXPECT_EQ(Number(form->Read(PaidCount)), Db().Count(paidCount));
    EXPECT_TRUE(form->Read(LatestLog).contains(no));

    Step(QStringLiteral("标记已付 again on the same order is refused"));
    form->ClickCell(Grid, row, 0);
    form->Click(MarkPaid);
    ExpectMessage(true);
    ExpectMessage(); // the refusal (a check's text is not logged)
    EXPECT_EQ(Db().Count(QStringLiteral("SELECT COUNT(*) FROM pay_log WHERE order_no_0='%1' AND what_0='标记已付'").arg(no)), 1);

    Step(QStringLiteral("撤销付款, answer no: nothing changes"));
    form->ClickCell(Grid, row, 0);
    form->Click(TakeBack);
    ExpectMessage(false);
    EXPECT_EQ(Db().Value(state), QStringLiteral("已付"));

    Step(QStringLiteral("撤销付款, answer yes"));
    form->ClickCell(Grid, row, 0);
    form->Click(TakeBack);
    ExpectMessage(true);
    Program().DismissMessages();
    EXPECT_EQ(Db().Value(state), QStringLiteral("未付"));
    EXPECT_EQ(Number(form->Read(PaidCount)), Db().Count(paidCount));
}

// 地区联动: a province refills the cities; a city fills its facts.
TEST_F(QuerySessions, Regions_ProvinceThenCity)
{
    constexpr int Province = 2, City = 4, Cities = 6, AreaCode = 8, Population = 10;
    std::optional<FormWindow> form = Open(QStringLiteral("地区联动"));
    ASSERT_TRUE(form);
    const QStringList provinces = [this] {
        QStringList list;
        for (const QStringList& row : Db().Rows(QStringLiteral("SELECT DISTINCT prov_0 FROM area_city ORDER BY prov_0")))
            list << row.value(0);
        return list;
    }();
    ASSERT_GE(provinces.size(), 2);
    const QString province = provinces.at(1);

    Step(QStringLiteral("choose the second province"));
    form->ChooseIndex(Province, 1);
    const QList<QStringList> cities = Db().Rows(
        QStringLiteral("SELECT city_0, code_0, people_0 FROM area_city WHERE prov_0='%1' ORDER BY uid_0").arg(province));
    ASSERT_FALSE(cities.isEmpty());
    EXPECT_TRUE(form->Read(Cities).contains(cities.first().value(0)));

    Step(QStringLiteral("choose the province's last city"));
    form->ChooseIndex(City, int(cities.size()) - 1);
    EXPECT_EQ(form->Read(AreaCode), cities.last().value(1));
    EXPECT_EQ(Number(form->Read(Population)), Number(cities.last().value(2)));
}

// 跳转示例: the approval route skips what the amount does not need; the
// pieces are numbered by a backward jump.
TEST_F(QuerySessions, Jumps_ApprovalRouteAndNumberedPieces)
{
    constexpr int Amount = 2, Submit = 3, Route = 5, Pieces = 8, Number_ = 9, Numbered = 11;
    std::optional<FormWindow> form = Open(QStringLiteral("跳转示例"));
    ASSERT_TRUE(form);
    const struct
    {
        QString amount;
        QStringList steps;
    } routes[] = {
        {QStringLiteral("500"), {QStringLiteral("提交 500 元"), QStringLiteral("财务付款")}},
        {QStringLiteral("5000"),
         {QStringLiteral("提交 5000 元"), QStringLiteral("部门经理审批"), QStringLiteral("财务付款")}},
        {QStringLiteral("20000"),
         {QStringLiteral("提交 20000 元"), QStringLiteral("部门经理审批"), QStringLiteral("总经理审批"),
          QStringLiteral("财务付款")}},
    };
    for (const auto& route : routes) {
        Step(QStringLiteral("提交审批 for ") + route.amount);
        form->Fill(Amount, route.amount);
        form->Click(Submit);
        ExpectNoMessage();
        QStringList steps;
        for (const QStringList& row : Db().Rows(QStringLiteral(
                 "SELECT step_0 FROM jump_step WHERE batch_0=(SELECT MAX(batch_0) FROM jump_step) ORDER BY uid_0")))
            steps << row.value(0);
        EXPECT_EQ(steps, route.steps);
        EXPECT_TRUE(form->Read(Route).contains(route.steps.last()));
    }

    Step(QStringLiteral("逐件编号 for 4 pieces"));
    form->Fill(Pieces, QStringLiteral("4"));
    form->Click(Number_);
    ExpectNoMessage();
    EXPECT_EQ(Db().Count(QStringLiteral("SELECT COUNT(*) FROM jump_piece")), 4);
    EXPECT_TRUE(form->Read(Numbered).contains(QStringLiteral("第4件")));

    Step(QStringLiteral("逐件编号 refuses 0 pieces"));
    form->Fill(Pieces, QStringLiteral("0"));
    form->Click(Number_);
    ExpectMessage();
    EXPECT_EQ(Db().Count(QStringLiteral("SELECT COUNT(*) FROM jump_piece")), 4);
}

// 月度销量汇总: 添加一行 appends the typed product's sales and the totals
// follow; 统计到全局 retitles a column.
TEST_F(QuerySessions, MonthlySales_AddRowsTotalsAndGlobalTitle)
{
    constexpr int Code = 2, AddRow = 3, ToGlobal = 4, Grid = 5;
    constexpr int Totals[] = {11, 12, 13};
    std::optional<FormWindow> form = Open(QStringLiteral("月度销量汇总"));
    ASSERT_TRUE(form);
    const QList<QStringList> sales =
        Db().Rows(QStringLiteral("SELECT code_0, m1_0, m2_0, m3_0 FROM qry_sales ORDER BY code_0 LIMIT 2"));
    ASSERT_EQ(sales.size(), 2);

    double sums[3] = {0, 0, 0};
    for (int i = 0; i < 2; ++i) {
        Step(QStringLiteral("添加一行 for ") + sales[i].value(0));
        form->Fill(Code, sales[i].value(0));
        form->Click(AddRow);
        ExpectNoMessage();
        EXPECT_EQ(form->FilledRows(Grid, 1), i + 1);
        for (int m = 0; m < 3; ++m) {
            sums[m] += Number(sales[i].value(m + 1));
            EXPECT_DOUBLE_EQ(Number(form->Read(Totals[m])), sums[m]) << "month " << m + 1;
        }
    }

    Step(QStringLiteral("统计到全局 puts the count and total into the 商品 column's title"));
    const QImage header = Desktop().Grab().copy(QRect(form->HeaderPoint(Grid, 1) - QPoint(100, 8), QSize(200, 16)));
    form->Click(ToGlobal);
    ExpectNoMessage();
    const QImage after = Desktop().Grab().copy(QRect(form->HeaderPoint(Grid, 1) - QPoint(100, 8), QSize(200, 16)));
    EXPECT_NE(after, header);
}

// 商品类别树: each post ticks its own categories.
TEST_F(QuerySessions, CategoryTree_PostTicks)
{
    constexpr int Post = 2, Refresh = 3, Tree = 4;
    std::optional<FormWindow> form = Open(QStringLiteral("商品类别树"));
    ASSERT_TRUE(form);
    QList<QImage> trees;
    for (const QString& post : {QStringLiteral("采购员"), QStringLiteral("仓管员")}) {
        Step(QStringLiteral("刷 新 for ") + post);
        form->Fill(Post, post);
        form->Click(Refresh);
        ExpectNoMessage();
        trees << Desktop().Grab().copy(form->ControlScreenRect(Tree));
    }
    EXPECT_NE(trees[0], trees[1]) << "the two posts tick the same categories";
    EXPECT_GT(SessionCheck::ColoursIn(trees[0]), 2) << "the tree is empty";
}

} // namespace
