// A window with a tree-list board of a day's work shifts and report charts of
// a sales grid, to look at by eye; with the argument "animation", a form of a
// few boxes and buttons running the animation under them, and with "still"
// the same form without it (to compare what the animation costs).
#include "BoardFixture.h"
#include "QvFormAnimation.h"
#include "QvPicture.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include "grid/ListCtrlEx.h"
#include <QVBoxLayout>
#include <QWidget>

using namespace BoardFixture;

namespace {

void FillBoard(QvChart& board)
{
    BuildHeader(board, {{"序号", 40, 40, 0, 0, {}},
                        {"班组 / 人员", 180, 40, 0, 0, {}},
                        {"计划", 240, 20, 0, 0, {{"岗位", 120, 20, 0, 0, {}}, {"状态", 120, 20, 0, 0, {}}}},
                        {"当日时段 (0:00 - 24:00)", 720, 40, 1, 0, {}}});
    PrepareBody(board);
    struct Person
    {
        const char* team;
        const char* key;
        const char* name;
        const char* post;
        const char* state;
        const char* shift;
        const char* colour;
    };
    AddRow(board, {}, "t1", "早班", 28);
    AddRow(board, {}, "t2", "中班", 28);
    AddRow(board, {}, "t3", "夜班", 28);
    const Person people[] = {
        {"t1", "p1", "张伟", "装配", "在岗", "4800480", "255,52,120,246"},
        {"t1", "p2", "王芳", "质检", "请假", "0", ""},
        {"t1", "p3", "李娜", "包装", "在岗", "360", "200,46,160,67"},
        {"t2", "p4", "刘洋", "装配", "在岗", "9600360", "255,251,140,0"},
        {"t2", "p5", "陈静", "仓储", "加班", "8401320", "255,229,57,53"},
        {"t3", "p6", "杨磊", "巡检", "在岗", "-300", "255,94,53,177"},
        {"t3", "p7", "赵敏", "维修", "在岗", "1200", "160,0,137,123"},
    };
    for (const Person& p : people)
        AddRow(board, p.team, p.key, p.name, 26, {p.post, p.state, p.shift}, p.colour);
    AddRow(board, "p5", "p51", "备件盘点", 24, {"仓储", "进行中", "10200300"}, "255,0,150,136");
}

CListCtrlEx* SalesGrid(QWidget* parent)
{
    const char* rows[][4] = {
        {"一月", "120", "80", ""},   {"二月", "180", "95", ""},     {"三月", "260", "150", "旺季"},
        {"四月", "210", "170", ""},  {"五月", "320", "190", "新品"}, {"六月", "280", "240", ""},
    };
    auto* grid = new CListCtrlEx(parent);
    const QStringList titles{"月份", "销售额", "成本", "备注"};
    for (int c = 0; c < titles.size(); ++c)
        grid->InsertColumn(c, titles[c], 0, 60);
    for (int r = 0; r < 6; ++r) {
        grid->InsertRow(r, QString::fromUtf8(rows[r][0]));
        for (int c = 1; c < 4; ++c)
            grid->SetItemText(r, c, QString::fromUtf8(rows[r][c]));
    }
    return grid;
}

void ConfigureReport(QvPicture& chart, CListCtrlEx* grid, int kind)
{
    chart.SetGrid(grid);
    chart.m_strTitle = kind == QvPicture::KindReport ? "上半年销售与成本" : "月度走势";
    chart.m_nLabelColumn = 1;
    chart.m_strMax = "400";
    chart.m_strYCaption = "金额(万元)";
    chart.m_strText3 = "120";
    chart.m_strText4 = "单位：万元";
    chart.m_nSpacing = 62;
    chart.m_nLabelShift = 48;
    const quint32 colours[] = {0xFF3478F6, 0xFFE53935};
    for (int s = 0; s < 2; ++s) {
        QvChartSeries* series = chart.Series(s);
        series->m_nValueColumn = s + 2;
        series->m_clrColour = colours[s];
        series->m_nBarWidth = 24;
        series->m_nBarFlag = kind == QvPicture::KindReport || s == 0 ? 1 : 2;
        series->m_nLineStyle = 1;
        series->m_nMarkerColumn = s == 0 ? 4 : 0;
        series->m_fPanelPos = 0.2f;
        series->m_nMarkSize = 3;
    }
    chart.SetSeriesCount(2);
    chart.SetKind(kind);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool animated = app.arguments().contains(QStringLiteral("animation"));
    if (animated || app.arguments().contains(QStringLiteral("still"))) {
        QWidget form;
        form.setWindowTitle(QStringLiteral("动画"));
        form.resize(760, 560);
        QvFormAnimation* animation = animated ? new QvFormAnimation(&form) : nullptr;
        for (int i = 0; i < 6; ++i) {
            (new QLineEdit(QStringLiteral("文本%1").arg(i + 1), &form))->setGeometry(40 + i * 115, 470, 100, 24);
            (new QPushButton(QStringLiteral("按钮%1").arg(i + 1), &form))->setGeometry(40 + i * 115, 510, 100, 28);
        }
        form.show();
        if (animation)
            animation->Start();
        return app.exec();
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("排班看板"));
    auto* layout = new QVBoxLayout(&window);
    auto* board = new QvChart(&window);
    FillBoard(*board);
    layout->addWidget(board, 1);
    auto* reports = new QHBoxLayout;
    CListCtrlEx* grid = SalesGrid(&window);
    grid->setFixedWidth(280);
    reports->addWidget(grid);
    for (const int kind : {QvPicture::KindReport, QvPicture::KindPanel}) {
        auto* chart = new QvPicture(&window);
        ConfigureReport(*chart, grid, kind);
        reports->addWidget(chart, 1);
    }
    layout->addLayout(reports, 1);
    window.resize(1270, 790);
    window.show();
    return app.exec();
}
