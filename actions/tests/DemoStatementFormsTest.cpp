// The demo forms of the statements and small queries (订单付款, 地区联动, 跳转示例),
// opened from their description files on the rows their data scripts give,
// on both kinds: what the user sees after each step.
#include "text/SqlTexts.h"
#include "ActionFormTest.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "DemoDatabase.h"
#include "grid/ListCtrlEx.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>

namespace {

class DemoStatementFormsTest : public ActionFormTest
{
protected:
    static QString ReadDemoFile(const QString& path)
    {
        QFile file(DemoSourceFolder() + "/" + path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return QString::fromUtf8(file.readAll());
    }

    // The demo's tables and rows, then its form, opened.
    void OpenDemo(const QString& name)
    {
        const QString script = ReadDemoFile("data/" + name + ".sql").replace("{{KEY}}", KeyColumn());
        ASSERT_TRUE(m_db.ExecuteScript(script)) << m_db.m_strErrorInfo.toStdString();
        OpenDescription(ReadDemoFile("forms/" + name + ".xml"));
        Settle();
    }

    // Clicks that events leave for afterwards (send_click) run now.
    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    void Choose(int id, int index)
    {
        List(id)->setCurrentIndex(index);
        Fire(id, "EN_CHANGE");
        Settle();
    }
    void Type(int id, const QString& text) { Edit(id)->setText(text); }

    QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(Control(id)); }
    QComboBox* List(int id) { return qobject_cast<QComboBox*>(Control(id)); }
    QString Entries(int id)
    {
        QStringList entries;
        for (int i = 0; i < List(id)->count(); ++i)
            entries << List(id)->itemText(i);
        return entries.join('|') + "@" + List(id)->currentText();
    }
    bool Ticked(int id) { return qobject_cast<QCheckBox*>(Control(id))->isChecked(); }
};

TEST_P(DemoStatementFormsTest, PaymentsMarkedAndTakenBack)
{
    OpenDemo("34_payments");
    if (GetParam() == 3)
        Exec("SELECT setval(pg_get_serial_sequence('pay_log','uid_0'), 3, false)");
    auto* grid = qobject_cast<CListCtrlEx*>(Control(7));
    const auto states = [grid] {
        QStringList texts;
        for (int row = 0; row < grid->GetItemCount(); ++row)
            texts << grid->GetItemText(row, 3) + grid->GetItemText(row, 4);
        return texts.join('|');
    };
    const auto click = [this, grid](int button, const QList<int>& rows) {
        grid->SelectRow(-1, false);
        for (int row : rows)
            grid->SelectRow(row, true);
        m_messages.clear();
        m_questions.clear();
        Fire(button);
        Settle();
    };
    ASSERT_EQ(grid->GetItemCount(), 6);
    EXPECT_EQ(states(), "已付admin|未付|未付|未付|未付|已付zhang");
    EXPECT_EQ(Edit(9)->text(), "37330");
    EXPECT_EQ(Edit(11)->text(), "2");

    // Two orders paid after one question.
    click(2, {1, 4});
    EXPECT_EQ(m_questions, QStringList{"将选中的订单（首张 SO-2026-002）标记为已付款？"});
    EXPECT_EQ(m_messages, QStringList{"操作成功"});
    EXPECT_EQ(states(), "已付admin|已付clerk|未付|未付|已付clerk|已付zhang");
    EXPECT_EQ(Edit(9)->text(), "26380");
    EXPECT_TRUE(GetControlText(Control(13)).startsWith("SO-2026-005 标记已付（clerk）,SO-2026-002 标记已付（clerk）"));

    // One of them paid already: none is marked.
    click(2, {2, 4});
    EXPECT_EQ(m_messages, QStringList{"订单 SO-2026-005 已付款，不能重复标记。"});
    EXPECT_EQ(states(), "已付admin|已付clerk|未付|未付|已付clerk|已付zhang");

    // No keeps everything as it was, silently.
    m_answer = false;
    click(2, {3});
    EXPECT_TRUE(m_messages.isEmpty());
    click(3, {5});
    EXPECT_EQ(m_questions, QStringList{"是否确认操作？"});
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(states(), "已付admin|已付clerk|未付|未付|已付clerk|已付zhang");

    // A paid order taken back; an unpaid one refused.
    m_answer = true;
    click(3, {5});
    EXPECT_EQ(m_messages, QStringList{"操作成功"});
    EXPECT_EQ(states(), "已付admin|已付clerk|未付|未付|已付clerk|未付");
    EXPECT_TRUE(GetControlText(Control(13)).startsWith("SO-2026-006 撤销付款（clerk）"));
    click(3, {3});
    EXPECT_EQ(m_messages, QStringList{"订单 SO-2026-004 尚未付款，无需撤销。"});
    EXPECT_EQ(Value("SELECT COUNT(*) FROM pay_log"), "5");
}

TEST_P(DemoStatementFormsTest, RegionsCascade)
{
    OpenDemo("35_regions");
    EXPECT_EQ(Entries(2), "山东|河北|浙江@山东");
    EXPECT_EQ(Entries(4), "济南|青岛@济南");
    EXPECT_EQ(Edit(6)->text(), "济南,青岛");
    EXPECT_EQ(Edit(8)->text(), "0531");
    EXPECT_EQ(Edit(10)->text(), "943万");
    EXPECT_TRUE(Ticked(11));

    Choose(2, 2);
    EXPECT_EQ(Entries(4), "杭州|宁波|温州@杭州");
    EXPECT_EQ(Edit(6)->text(), "杭州,宁波,温州");
    EXPECT_EQ(Edit(8)->text(), "0571");
    EXPECT_TRUE(Ticked(11));

    Choose(4, 1);
    EXPECT_EQ(Edit(8)->text(), "0574");
    EXPECT_EQ(Edit(10)->text(), "969万");
    EXPECT_FALSE(Ticked(11));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
}

TEST_P(DemoStatementFormsTest, ApprovalJumpsSkipSteps)
{
    OpenDemo("36_jumps");
    struct Case {
        QString amount;
        QString route;    // box 5 afterwards
        QString shown;
    } cases[] = {
        {"500", "提交 500 元,财务付款", ""},
        {"5000", "提交 5000 元,部门经理审批,财务付款", ""},
        {"25000", "提交 25000 元,部门经理审批,总经理审批,财务付款", ""},
        {"", "", "请填写金额。"},
        {"五千", "", SqlTexts::NotANumber.arg("五千", "{{self}}")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount.toStdString());
        Type(2, c.amount);
        Type(5, "");
        m_messages.clear();
        Fire(3);
        EXPECT_EQ(Edit(5)->text(), c.route);
        EXPECT_EQ(m_messages.join('|'), c.shown);
    }
    // Refused submissions left nothing behind.
    EXPECT_EQ(Value("SELECT COUNT(*) FROM jump_step WHERE step_0 LIKE '提交%'"), "3");
}

TEST_P(DemoStatementFormsTest, BackwardJumpNumbersPieces)
{
    OpenDemo("36_jumps");
    struct Case {
        QString count;
        QString pieces;   // box 11 afterwards
        QString shown;
    } cases[] = {
        {"5", "第1件,第2件,第3件,第4件,第5件", ""},
        {"1", "第1件", ""},
        {"50", "", "件数应为1到20。"},
        {"", "", "件数应为1到20。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count.toStdString());
        Type(8, c.count);
        Type(11, "");
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Edit(11)->text(), c.pieces);
        EXPECT_EQ(m_messages.join('|'), c.shown);
    }
    EXPECT_EQ(Value("SELECT COUNT(*) FROM jump_piece"), "1");
}

} // namespace

TEMBRA_ACTION_KINDS(DemoStatementFormsTest);
