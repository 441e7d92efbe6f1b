// A window with a tree-list board of a day's work shifts, to look at by eye.
#include "BoardFixture.h"

#include <QApplication>
#include <QHBoxLayout>
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

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("排班看板"));
    auto* layout = new QHBoxLayout(&window);
    auto* board = new QvChart(&window);
    FillBoard(*board);
    layout->addWidget(board);
    window.resize(1000, 420);
    window.show();
    return app.exec();
}
