// Saving header records and detail grids, on real form windows: the demo's
// order form end to end, failures at every step of a detail save, checks
// that cannot run, and the deleted rows of each grid.
#include "ActionFormTest.h"
#include "ActionTexts.h"
#include "ControlText.h"
#include "DemoDatabase.h"
#include "FormEventRunner.h"
#include "QvControls.h"
#include "SaveTexts.h"
#include "grid/ListCtrlEx.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

// The order form's controls.
constexpr int OrderNo = 50;
constexpr int Customer = 51;
constexpr int Note = 53;
constexpr int RecordNo = 55;
constexpr int Lines = 7;
constexpr int AddRow = 10;
constexpr int DeleteRow = 11;
constexpr int SaveNew = 12;
constexpr int SaveChanges = 13;
constexpr int OpenOrder = 14;

// One grid row as the tests compare it: key, state and texts.
struct RowView
{
    QString key;
    int state;
    QStringList texts;
    bool operator==(const RowView&) const = default;
};

class SaveActionsTest : public ActionFormTest
{
protected:
    // The demo's order tables and its order form.
    void OpenOrderDemo()
    {
        QString failure;
        ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/22_orders.sql", failure))
            << failure.toStdString();
        OpenDemoForm("22_orders.xml");
    }

    CListCtrlEx* Grid(int id = Lines) const { return qobject_cast<CListCtrlEx*>(Control(id)); }
    void SetText(int id, const QString& text) { CFormActions::SetControlValue(Control(id), text); }
    QString Text(int id) const { return qobject_cast<QLineEdit*>(Control(id))->text(); }

    // A row as the user's "新增行" adds it and the user fills it in.
    void AddLine(const QString& goods, const QString& qty, const QString& price, int grid = Lines)
    {
        CListCtrlEx* lines = Grid(grid);
        const int row = lines->InsertRow(lines->GetItemCount(), QString::number(lines->GetItemCount() + 1));
        lines->SetRowData(row, nullptr, "0", kRowNew);
        lines->SetItemText(row, 1, goods);
        lines->SetItemText(row, 2, qty);
        lines->SetItemText(row, 3, price);
    }

    // The demo form's own "新增行" and "删除行".
    void AddDemoLine(const QString& goods, const QString& qty, const QString& price)
    {
        Fire(AddRow);
        const int row = Grid()->GetItemCount() - 1;
        Grid()->SetItemText(row, 1, goods);
        Grid()->SetItemText(row, 2, qty);
        Grid()->SetItemText(row, 3, price);
    }
    void DeleteDemoLine(int row)
    {
        Grid()->SelectRow(-1, false);
        Grid()->SelectRow(row, true);
        Fire(DeleteRow);
    }

    // A cell the user edits: a stored row becomes changed.
    void EditCell(int row, int column, const QString& text, int grid = Lines)
    {
        Grid(grid)->SetItemText(row, column, text);
        ItemData* record = Grid(grid)->GetRowKey(row);
        if (record->nState != kRowNew)
            record->nState = kRowChanged;
    }

    // A row the user's "删除行" removes: a stored row's key waits for the
    // next save of its grid.
    void DeleteLine(int row, int grid = Lines)
    {
        const ItemData* record = Grid(grid)->GetRowKey(row);
        if (record->nState != kRowNew)
            m_form->m_actions.m_deletedUids.Add(Grid(grid), record->strKey);
        Grid(grid)->DeleteRow(row);
    }

    QList<RowView> GridRows(int grid = Lines) const
    {
        QList<RowView> rows;
        CListCtrlEx* lines = Grid(grid);
        for (int row = 0; row < lines->GetItemCount(); ++row) {
            RowView view{lines->GetRowKey(row)->strKey, lines->GetRowKey(row)->nState, {}};
            for (int column = 0; column < lines->GetColumnCount(); ++column)
                view.texts << lines->GetItemText(row, column);
            rows << view;
        }
        return rows;
    }

    // Every row of the order tables, as the database holds them.
    QString Tables()
    {
        QString all;
        const QString exists = GetParam() == 3
            ? "SELECT COUNT(*) FROM information_schema.tables WHERE table_name='%1'"
            : "SELECT COUNT(*) FROM sqlite_master WHERE type='table' AND name='%1'";
        for (const QString table : {"ord_head", "ord_line", "ord_log", "ord_trap"}) {
            if (Value(exists.arg(table)) == "0")
                continue;
            all += table + ": " + Rows("SELECT * FROM " + table + " ORDER BY uid_0") + "\n";
        }
        return all;
    }

    // The lines of an order as the database holds them, in the grid's terms
    // (key, goods, quantity, price, amount), numbers compared as numbers.
    void ExpectLinesMatchGrid(const QString& headUid)
    {
        QStringList stored;
        m_db.QueryAllToList("SELECT l.uid_0,g.name_0,l.qty_0,l.price_0,l.amount_0 FROM ord_line l "
                            "JOIN ord_goods g ON g.uid_0=l.goods_uid_0 WHERE l.head_uid_0="
                                + headUid + " ORDER BY l.uid_0",
                            stored);
        const QList<RowView> rows = GridRows();
        ASSERT_EQ(stored.size(), rows.size() * 5) << stored.join('|').toStdString();
        QList<RowView> sorted = rows;
        std::sort(sorted.begin(), sorted.end(),
                  [](const RowView& a, const RowView& b) { return a.key.toInt() < b.key.toInt(); });
        for (int i = 0; i < sorted.size(); ++i) {
            const RowView& row = sorted[i];
            EXPECT_EQ(row.state, kRowUnchanged);
            EXPECT_EQ(stored[i * 5], row.key);
            EXPECT_EQ(stored[i * 5 + 1], row.texts[1]);
            EXPECT_DOUBLE_EQ(stored[i * 5 + 2].toDouble(), row.texts[2].toDouble());
            EXPECT_DOUBLE_EQ(stored[i * 5 + 3].toDouble(), row.texts[3].toDouble());
            EXPECT_DOUBLE_EQ(stored[i * 5 + 4].toDouble(), row.texts[2].toDouble() * row.texts[3].toDouble());
        }
    }
};

TEST_P(SaveActionsTest, DemoOrderIsSavedChangedAndSavedAgainAsTheGridShowsIt)
{
    OpenOrderDemo();
    SetText(OrderNo, "SO-0001");
    SetText(Customer, "宏达建材");
    SetText(Note, "周五前送到");
    AddDemoLine("六角螺栓 M8", "10", "12.5");
    AddDemoLine("螺母 M8", "20", "6.8");
    AddDemoLine("电钻 500W", "1", "268");
    ASSERT_EQ(Grid()->GetItemCount(), 3);

    Fire(SaveNew);
    EXPECT_EQ(m_messages, QStringList{"操作成功"});
    const QString uid = Text(RecordNo);
    ASSERT_EQ(Value("SELECT COUNT(*) FROM ord_head"), "1");
    EXPECT_EQ(uid, Value("SELECT uid_0 FROM ord_head"));
    EXPECT_EQ(Rows("SELECT no_0,customer_0,note_0 FROM ord_head"), "SO-0001|宏达建材|周五前送到");
    EXPECT_EQ(Value("SELECT date_0 FROM ord_head"), GetControlText(Control(52)));
    ExpectLinesMatchGrid(uid);

    // A second click of "保存新单" is refused by the order number's check.
    m_messages.clear();
    Fire(SaveNew);
    EXPECT_EQ(m_messages, QStringList{"单号 SO-0001 已经存在；修改已保存的订单请按“保存修改”。"});
    EXPECT_EQ(Text(RecordNo), uid);

    // Change a row, delete a row, add one, change the head.
    m_messages.clear();
    EditCell(1, 2, "25");
    DeleteDemoLine(2);
    AddDemoLine("平垫圈 8mm", "100", "3.2");
    SetText(Note, "改为下周一送");
    Fire(SaveChanges);
    EXPECT_EQ(m_messages, QStringList{"操作成功"});
    EXPECT_TRUE(m_form->m_actions.m_deletedUids.IsEmpty());
    EXPECT_EQ(Value("SELECT note_0 FROM ord_head"), "改为下周一送");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM ord_line"), "3");
    ExpectLinesMatchGrid(uid);

    // Nothing changed: saving again writes nothing and keeps everything.
    const QString before = Tables();
    Fire(SaveChanges);
    EXPECT_EQ(Tables(), before);

    // Opened again in a new window, the order shows what was saved.
    const QList<RowView> shown = GridRows();
    OpenDemoForm("22_orders.xml");
    SetText(OrderNo, "SO-0001");
    Fire(OpenOrder);
    EXPECT_EQ(Text(RecordNo), uid);
    EXPECT_EQ(GetControlText(Control(Customer)), "宏达建材");
    EXPECT_EQ(Text(Note), "改为下周一送");
    ExpectLinesMatchGrid(uid);
    const QList<RowView> reopened = GridRows();
    ASSERT_EQ(reopened.size(), shown.size());
    for (int row = 0; row < shown.size(); ++row) {
        EXPECT_EQ(reopened[row].key, shown[row].key);
        EXPECT_EQ(reopened[row].texts[1], shown[row].texts[1]);
        EXPECT_DOUBLE_EQ(reopened[row].texts[2].toDouble(), shown[row].texts[2].toDouble());
    }
}

// A detail save with every statement, each of which the row poisoned in
// ord_poison makes fail (a check returns the poison's text, a statement
// writes into ord_trap, whose check refuses 'x').
const char* const FaultForm =
    "<textbox id='55' pos='0,0,80,20' value=''/>"
    "<table id='7' pos='100,0,600,300'><PARA>"
    "<table_info><para_info parent_field='head_uid_0' parent_field_ID='55' auto_index_field='uid_0'/></table_info>"
    "<col_info><col id='1' title='序号' width='40' no_save='1'/>"
    "<col id='2' title='商品' width='120' field_name='goods_uid_0' parent_sql=\"SELECT uid_0 FROM ord_goods "
    "WHERE name_0='{{self}}' AND NOT EXISTS (SELECT 1 FROM ord_poison WHERE step_0='lookup:{{self}}')\"/>"
    "<col id='3' title='数量' width='60' field_name='qty_0'/><col id='4' title='单价' width='60' field_name='price_0'/>"
    "</col_info></PARA></table>"
    "<button id='1' pos='0,400,80,424' value='保存'><ACTION><CLICK><insert_detail><s table_id='7' "
    "insert_sql='SELECT uid_0,head_uid_0,goods_uid_0,qty_0,price_0 FROM ord_line WHERE 1=0' "
    "update_sql='SELECT uid_0,goods_uid_0,qty_0,price_0 FROM ord_line WHERE uid_0={{id?uid}}' "
    "can_delete_sql=\"SELECT msg_0 FROM ord_poison WHERE step_0='can_delete'\" "
    "delete_sql=\"DELETE FROM ord_line WHERE uid_0 IN ({{deleted_uid_0}}) AND head_uid_0={{p1}};"
    "INSERT INTO ord_trap(what_0) SELECT 'x' FROM ord_poison WHERE step_0='delete'\" "
    "can_insert_sql=\"SELECT msg_0 FROM ord_poison WHERE step_0='can_insert:{{id?1}}'\" "
    "can_update_sql=\"SELECT msg_0 FROM ord_poison WHERE step_0='can_update:{{id?1}}'\" "
    "run_sql=\"UPDATE ord_line SET amount_0=qty_0*price_0 WHERE uid_0={{id?uid}};"
    "INSERT INTO ord_trap(what_0) SELECT 'x' FROM ord_poison WHERE step_0='run_sql:{{id?1}}'\" "
    "run_sql_insert=\"INSERT INTO ord_log(what_0) VALUES('new {{id?1}} {{p1}}');"
    "INSERT INTO ord_trap(what_0) SELECT 'x' FROM ord_poison WHERE step_0='run_sql_insert:{{id?1}}'\" "
    "run_sql_update=\"INSERT INTO ord_log(what_0) VALUES('changed {{id?1}} {{p1}}');"
    "INSERT INTO ord_trap(what_0) SELECT 'x' FROM ord_poison WHERE step_0='run_sql_update:{{id?1}}'\">"
    "<a wnd='55'/></s></insert_detail></CLICK></ACTION></button>";

TEST_P(SaveActionsTest, AFailureAtAnyRowAndStatementLeavesTablesAndRowsAsTheyWere)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/22_orders.sql", failure))
        << failure.toStdString();
    Exec("CREATE TABLE ord_poison (uid_0 " + KeyColumn() + ", step_0 VARCHAR(60), msg_0 VARCHAR(60))");
    Exec("CREATE TABLE ord_trap (uid_0 " + KeyColumn() + ", what_0 VARCHAR(10) CHECK (what_0 <> 'x'))");
    Exec("CREATE TABLE ord_log (uid_0 " + KeyColumn() + ", what_0 VARCHAR(60))");
    Exec("INSERT INTO ord_head(no_0,customer_0,date_0) VALUES('F-1','宏达建材','2026-03-01')");
    const QString head = Value("SELECT uid_0 FROM ord_head");
    Open(FaultForm);
    SetText(55, head);

    // Stored lines first, then an edited one, a renumbered one, a deleted
    // one and two new ones.
    AddLine("六角螺栓 M8", "1", "12.5");
    AddLine("螺母 M8", "2", "6.8");
    AddLine("电钻 500W", "3", "268");
    Fire(1);
    ASSERT_EQ(Value("SELECT COUNT(*) FROM ord_line"), "3") << m_messages.join('\n').toStdString();
    EditCell(0, 2, "5");
    Grid()->GetRowKey(1)->nState = kRowMarked;
    DeleteLine(2);
    AddLine("平垫圈 8mm", "4", "3.2");
    AddLine("膨胀螺丝 10mm", "6", "18");
    const QString deleted = m_form->m_actions.m_deletedUids.Joined(Grid());

    struct Case
    {
        QString step;    // the poisoned step ("write" puts a quantity the table refuses)
        int row;         // the row it hits, -1 for the delete
        QString message; // a part of what the user is shown
    };
    const QString goods[] = {"六角螺栓 M8", "螺母 M8", "平垫圈 8mm", "膨胀螺丝 10mm"};
    QList<Case> cases = {{"can_delete", -1, "不能删除"}, {"delete", -1, "数据异常"}};
    for (int row = 0; row < 4; ++row) {
        const bool isNew = row >= 2;
        const QString rowText = QString("第 %1 行数据异常").arg(row + 1);
        cases << Case{"lookup", row, "对应基础数据异常"} << Case{"write", row, rowText}
              << Case{"run_sql", row, rowText};
        if (isNew)
            cases << Case{"can_insert", row, "不能保存"} << Case{"run_sql_insert", row, rowText};
        else if (row == 0)
            cases << Case{"can_update", row, "不能保存"} << Case{"run_sql_update", row, rowText};
    }

    for (const Case& c : cases) {
        SCOPED_TRACE((c.step + " at row " + QString::number(c.row)).toStdString());
        const QString cell = c.row >= 0 ? Grid()->GetItemText(c.row, 2) : QString();
        if (c.step == "write")
            Grid()->SetItemText(c.row, 2, "-1");
        else
            Exec("INSERT INTO ord_poison(step_0,msg_0) VALUES('" + c.step + (c.row >= 0 ? ":" + goods[c.row] : "")
                 + "','" + (c.step.startsWith("can_delete") ? "不能删除" : "不能保存") + "')");
        const QString tables = Tables();
        const QList<RowView> rows = GridRows();
        m_messages.clear();

        Fire(1);

        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].contains(c.message)) << m_messages[0].toStdString();
        EXPECT_EQ(Tables(), tables);
        EXPECT_EQ(GridRows(), rows);
        EXPECT_EQ(m_form->m_actions.m_deletedUids.Joined(Grid()), deleted);
        if (c.step == "write")
            Grid()->SetItemText(c.row, 2, cell);
        Exec("DELETE FROM ord_poison");
    }

    // With nothing poisoned the same save goes through.
    m_messages.clear();
    Fire(1);
    EXPECT_EQ(m_messages, QStringList{"操作成功"});
    EXPECT_TRUE(m_form->m_actions.m_deletedUids.IsEmpty());
    ExpectLinesMatchGrid(head);
    // The changed row's statements got the parameters a new row's get.
    EXPECT_EQ(Rows("SELECT what_0 FROM ord_log ORDER BY uid_0"),
              QString("new 六角螺栓 M8 %1|new 螺母 M8 %1|new 电钻 500W %1|changed 六角螺栓 M8 %1|new 平垫圈 8mm %1|"
                      "new 膨胀螺丝 10mm %1")
                  .arg(head));
}

// Header saves: the record, the key shown, the follow-up statement, and each
// refusal with the text the user sees.
const char* const HeadForm =
    "<textbox id='50' pos='0,0,80,20' value=''/><textbox id='51' pos='0,30,80,50' value=''/>"
    "<textbox id='55' pos='0,60,80,80' value='0'/>"
    "<button id='1' pos='0,400,80,424' value='新增'><ACTION><CLICK><insert_head>"
    "<head_para_info uid_wnd_id='55' insert_sql='SELECT uid_0,no_0,customer_0,date_0 FROM ord_head WHERE uid_0={{A0}}' "
    "can_insert_sql=\"SELECT '重复' FROM ord_head WHERE no_0='{{p1}}' AND uid_0&lt;&gt;{{A1}} "
    "AND NOT EXISTS (SELECT 1 FROM ord_guard WHERE 1=0)\" "
    "run_sql=\"INSERT INTO ord_log(what_0) VALUES('head {{id?uid}} {{p2}}')\">"
    "<f field='no_0' wnd='50' empty='1' desp='请填写单号'/><f field='customer_0' wnd='51' empty='1'/>"
    "<f field='date_0' wnd='52'/></head_para_info></insert_head></CLICK></ACTION></button>"
    "<button id='2' pos='100,400,180,424' value='修改'><ACTION><CLICK><update_head>"
    "<head_para_info uid_wnd_id='55' update_sql='SELECT uid_0,no_0,customer_0 FROM ord_head WHERE uid_0={{id?uid}}' "
    "can_update_sql=\"SELECT '{{A2}}' FROM ord_head WHERE no_0='{{p1}}' AND uid_0&lt;&gt;{{id?uid}} "
    "AND NOT EXISTS (SELECT 1 FROM ord_guard WHERE 1=0)\">"
    "<f field='no_0' wnd='50' empty='1'/><f field='customer_0' wnd='51'/></head_para_info></update_head>"
    "</CLICK></ACTION></button>"
    "<table id='77' pos='300,0,600,200'><PARA><col_info><col id='1' title='a'/></col_info></PARA></table>"
    "<button id='3' pos='200,400,280,424' value='修改'><ACTION><CLICK><insert_detail><s table_id='77'/></insert_detail>"
    "<update_head><head_para_info uid_wnd_id='55' update_sql='SELECT uid_0 FROM ord_head WHERE uid_0={{id?uid}}' "
    "can_update_sql=\"SELECT '' FROM ord_head WHERE no_0='{{p1}}' AND uid_0&lt;&gt;{{id?uid}}\">"
    "<f field='no_0' wnd='50'/></head_para_info></update_head></CLICK></ACTION></button>"
    "<textbox id='52' pos='0,90,80,110' value='2026-03-01'/>";

TEST_P(SaveActionsTest, HeadRecordsAreInsertedAndUpdatedWithTheirKey)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/22_orders.sql", failure));
    Exec("CREATE TABLE ord_log (uid_0 " + KeyColumn() + ", what_0 VARCHAR(60))");
    Exec("CREATE TABLE ord_guard (uid_0 INTEGER)");
    theApp().m_strGlobal[0] = "0";
    theApp().m_strGlobal[1] = "0";
    Open(HeadForm);
    SetText(50, "H-1");
    SetText(51, "O'Brien & Co");
    Fire(1);
    EXPECT_EQ(m_messages, QStringList{"新增成功"});
    const QString uid = Value("SELECT uid_0 FROM ord_head");
    EXPECT_EQ(Text(55), uid);
    EXPECT_EQ(Rows("SELECT no_0,customer_0,date_0 FROM ord_head"), "H-1|O'Brien & Co|2026-03-01");
    EXPECT_EQ(Value("SELECT what_0 FROM ord_log"), "head " + uid + " O'Brien & Co");

    m_messages.clear();
    SetText(50, "H-2");
    Fire(2);
    EXPECT_EQ(m_messages, QStringList{"更新成功"});
    EXPECT_EQ(Value("SELECT no_0 FROM ord_head"), "H-2");
}

TEST_P(SaveActionsTest, HeadSavesRefuseWithAClearTextAndWriteNothing)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/22_orders.sql", failure));
    Exec("CREATE TABLE ord_log (uid_0 " + KeyColumn() + ", what_0 VARCHAR(60))");
    Exec("INSERT INTO ord_head(no_0,customer_0,date_0) VALUES('H-1','甲','2026-03-01')");
    Exec("INSERT INTO ord_head(no_0,customer_0,date_0) VALUES('H-2','乙','2026-03-01')");
    const QString first = Value("SELECT MIN(uid_0) FROM ord_head");
    const QString second = Value("SELECT MAX(uid_0) FROM ord_head");
    // A0: the insert query's uid (an existing one finds a row); A1: a uid
    // the duplicate check passes over; A2: the update check's text; without
    // the guard table the checks cannot run.
    struct Case
    {
        const char* what;
        int button;
        QString no, customer, key, a0, a1, a2;
        bool guard;
        QString message;
    } cases[] = {
        {"required empty", 1, "", "甲", "", "0", "0", "", true, "请填写单号"},
        {"required, no text of its own", 1, "H-9", "", "", "0", "0", "", true, SaveTexts::FillRequired},
        {"check finds a row", 1, "H-1", "甲", "", "0", "0", "", true, "重复"},
        {"check cannot run", 1, "H-9", "甲", "", "0", "0", "", false, "异常"},
        {"insert query finds a row", 1, "H-9", "甲", "", first, "0", "", true, SaveTexts::InsertFoundRow},
        {"record write fails", 1, "H-2", "甲", "", "0", second, "", true, "数据异常"},
        {"check row with an empty text", 2, "H-2", "甲", first, "", "", "", true, ""},
        // An empty detail before it has nothing to save and leaves no text.
        {"empty text after a detail save", 3, "H-2", "甲", first, "", "", "", true, ""},
        {"no record with the key", 2, "H-9", "甲", "99999", "", "", "x", true, SaveTexts::NoRecordToUpdate},
        {"key that is no number", 2, "H-9", "甲", "1 OR 1=1", "", "", "x", true, "不是数字"},
        {"quote in a check's text", 2, "H-2", "甲", first, "", "", "x' FROM nowhere --", true, "x' FROM nowhere --"},
        {"update check cannot run", 2, "H-9", "甲", first, "", "", "x", false, "异常"},
    };
    Open(HeadForm);
    const QString tables = Tables();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Exec(c.guard ? "CREATE TABLE ord_guard (uid_0 INTEGER)" : "CREATE TABLE ord_unused (uid_0 INTEGER)");
        theApp().m_strGlobal[0] = c.a0;
        theApp().m_strGlobal[1] = c.a1;
        theApp().m_strGlobal[2] = c.a2;
        SetText(50, c.no);
        SetText(51, c.customer);
        SetText(55, c.key);
        m_messages.clear();
        // A stale text from before must not be shown for this event.
        m_form->m_actions.m_db.m_strError = "旧的错误";
        Fire(c.button);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
        } else {
            ASSERT_EQ(m_messages.size(), 1);
            EXPECT_TRUE(m_messages[0].contains(c.message)) << m_messages[0].toStdString();
        }
        EXPECT_EQ(Tables(), tables);
        EXPECT_EQ(Text(55), c.key) << "no new key is shown";
        Exec(c.guard ? "DROP TABLE ord_guard" : "DROP TABLE ord_unused");
    }
}

TEST_P(SaveActionsTest, ARollbackResetsTheKeyControlOfTheOpenerAndGivesRowsTheirKeysBack)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/22_orders.sql", failure));
    Exec("CREATE TABLE ord_log (uid_0 " + KeyColumn() + ", what_0 VARCHAR(10))");
    D_T1* opener = Open("<textbox id='55' pos='0,0,80,20' value='7'/><textbox id='5' pos='0,30,80,50' value='keep'/>");
    // The popup saves a head whose key goes into the opener's control 55,
    // and lines whose follow-up statement fails at the second row.
    auto popupWindow = std::make_unique<D_T1>();
    D_T1& popup = *popupWindow;
    popup.SetBuilder(std::make_unique<QvControls>());
    popup.SetEvents(std::make_unique<CFormEventRunner>());
    popup.m_pOpener = opener;
    ASSERT_TRUE(popup.LoadDescription(
        "<html id='0'><head title='p' pos='0,0,640,480'/><body><dialog>"
        "<textbox id='50' pos='0,0,80,20' value='P-1'/><textbox id='51' pos='0,30,80,50' value='甲'/>"
        "<textbox id='52' pos='0,60,80,80' value='2026-03-01'/>"
        "<table id='7' pos='100,0,600,300'><PARA><table_info><para_info parent_field='head_uid_0' "
        "parent_field_ID='0:55' auto_index_field='1'/></table_info><col_info><col id='1' title='序号' no_save='1'/>"
        "<col id='2' title='商品' field_name='goods_uid_0' parent_sql=\"SELECT uid_0 FROM ord_goods WHERE "
        "name_0='{{self}}'\"/><col id='3' title='数量' field_name='qty_0'/><col id='4' title='单价' "
        "field_name='price_0'/></col_info></PARA></table>"
        "<button id='1' pos='0,400,80,424' value='保存'><ACTION><CLICK><insert_head><head_para_info "
        "uid_wnd_id='0:55' insert_sql='SELECT uid_0,no_0,customer_0,date_0 FROM ord_head WHERE 1=0'>"
        "<f field='no_0' wnd='50'/><f field='customer_0' wnd='51'/><f field='date_0' wnd='52'/></head_para_info>"
        "</insert_head><insert_detail><s table_id='7' insert_sql='SELECT uid_0,head_uid_0,goods_uid_0,qty_0,"
        "price_0 FROM ord_line WHERE 1=0' run_sql=\"INSERT INTO ord_log(what_0) VALUES('{{id?2}}')\"/>"
        "</insert_detail></CLICK></ACTION></button></dialog></body></html>"));
    ASSERT_TRUE(popup.Create());
    auto* lines = qobject_cast<CListCtrlEx*>(popup.GetDlgItem(7 + D_T1::ControlIdBase));
    const auto add = [lines](const QString& goods, const QString& qty) {
        const int row = lines->InsertRow(lines->GetItemCount(), "1");
        lines->SetRowData(row, nullptr, "0", kRowNew);
        lines->SetItemText(row, 1, goods);
        lines->SetItemText(row, 2, qty);
        lines->SetItemText(row, 3, "1");
    };
    add("螺母 M8", "1");
    add("没有这种商品", "2");

    popup.FireEvent(1 + D_T1::ControlIdBase, "CLICK");
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].startsWith("第 2 行数据异常")) << m_messages[0].toStdString();
    EXPECT_EQ(Text(55), "7");
    EXPECT_EQ(Text(5), "keep");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM ord_head"), "0");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM ord_line"), "0");
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(lines->GetRowKey(row)->strKey, "0") << "no key of a record that was rolled back";
        EXPECT_EQ(lines->GetRowKey(row)->nState, kRowNew);
    }
}

// Two grids of one form: each one's save deletes only its own removed rows.
TEST_P(SaveActionsTest, DeletedRowsAreKeptPerGrid)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/22_orders.sql", failure));
    for (int line = 1; line <= 3; ++line)
        Exec(QString("INSERT INTO ord_line(head_uid_0,goods_uid_0,qty_0,price_0) VALUES(1,1,%1,1)").arg(line));
    const QString table = "<table id='%1' pos='100,%2,600,%3'><PARA><col_info><col id='1' title='a'/>"
                          "</col_info></PARA></table>";
    const QString save = "<button id='%1' pos='0,%2,80,%3' value='s'><ACTION><CLICK><insert_detail>"
                         "<s table_id='%4' can_delete_sql=\"SELECT 'x' FROM ord_line WHERE uid_0 IN "
                         "({{deleted_uid_0}}) AND qty_0&gt;%5\" delete_sql='DELETE FROM ord_line WHERE "
                         "uid_0 IN ({{deleted_uid_0}})'/></insert_detail></CLICK></ACTION></button>";
    Open(table.arg(7).arg(0).arg(100) + table.arg(8).arg(120).arg(220) + save.arg(1).arg(300).arg(320).arg(7).arg(9)
         + save.arg(2).arg(330).arg(350).arg(8).arg(9) + save.arg(3).arg(360).arg(380).arg(8).arg(2));
    const auto stored = [this](int grid, const QString& uid) {
        const int row = Grid(grid)->InsertRow(Grid(grid)->GetItemCount(), "r");
        Grid(grid)->SetRowData(row, nullptr, uid, kRowUnchanged);
    };
    stored(7, "1");
    stored(8, "2");
    stored(8, "3");
    DeleteLine(0, 7);
    DeleteLine(0, 8);
    DeleteLine(0, 8);

    // Grid 8's check refuses (qty 3 > 2): its list stays, grid 7's too.
    Fire(3);
    EXPECT_EQ(m_messages, QStringList{"x"});
    EXPECT_EQ(m_form->m_actions.m_deletedUids.Joined(Grid(8)), "2,3");
    EXPECT_EQ(Rows("SELECT uid_0 FROM ord_line ORDER BY uid_0"), "1|2|3");

    // Saving grid 7 deletes its row only and forgets only its list.
    Fire(1);
    EXPECT_EQ(Rows("SELECT uid_0 FROM ord_line ORDER BY uid_0"), "2|3");
    EXPECT_TRUE(m_form->m_actions.m_deletedUids.IsEmpty(Grid(7)));
    EXPECT_EQ(m_form->m_actions.m_deletedUids.Joined(Grid(8)), "2,3");
    Fire(2);
    EXPECT_EQ(Value("SELECT COUNT(*) FROM ord_line"), "0");
    EXPECT_TRUE(m_form->m_actions.m_deletedUids.IsEmpty());
}

// Check queries that cannot run refuse: nothing is deleted or written.
TEST_P(SaveActionsTest, DetailChecksThatCannotRunRefuse)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/22_orders.sql", failure));
    Exec("INSERT INTO ord_line(head_uid_0,goods_uid_0,qty_0,price_0) VALUES(1,1,1,1)");
    const QString grid = "<table id='7' pos='100,0,600,300'><PARA><col_info><col id='1' title='序号' no_save='1'/>"
                         "<col id='2' title='商品' field_name='goods_uid_0'/></col_info></PARA></table>";
    const QString button = "<button id='1' pos='0,400,80,424' value='s'><ACTION><CLICK><insert_detail><s table_id='7' "
                           "insert_sql='SELECT uid_0,goods_uid_0 FROM ord_line WHERE 1=0' %1 "
                           "delete_sql='DELETE FROM ord_line WHERE uid_0 IN ({{deleted_uid_0}})'/>"
                           "</insert_detail></CLICK></ACTION></button>";
    for (const QString check : {"can_delete_sql='SELECT x FROM no_such_table'",
                                "can_delete_sql='SELECT 1 WHERE 1=0' can_insert_sql='SELECT x FROM no_such_table'"}) {
        SCOPED_TRACE(check.toStdString());
        Open(grid + button.arg(check));
        const int row = Grid()->InsertRow(0, "1");
        Grid()->SetRowData(row, nullptr, "0", kRowNew);
        Grid()->SetItemText(row, 1, "1");
        m_form->m_actions.m_deletedUids.Add(Grid(), "1");
        m_messages.clear();
        Fire(1);
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].contains("异常")) << m_messages[0].toStdString();
        EXPECT_EQ(Value("SELECT COUNT(*) FROM ord_line"), "1");
        EXPECT_EQ(Grid()->GetRowKey(0)->nState, kRowNew);
        EXPECT_EQ(m_form->m_actions.m_deletedUids.Joined(Grid()), "1");
    }
}

// The cases of the row walk: which rows are written, how, and what a cell
// that may not be empty says.
TEST_P(SaveActionsTest, RowsAreWrittenByTheirStateAndCheckedByTheirColumns)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/22_orders.sql", failure));
    Exec("CREATE TABLE ord_log (uid_0 " + KeyColumn() + ", what_0 VARCHAR(60))");
    Exec("INSERT INTO ord_line(head_uid_0,goods_uid_0,qty_0,price_0) VALUES(1,1,1,1)");
    const QString stored = Value("SELECT uid_0 FROM ord_line");
    // No identity column: new rows go in through AddRecord and keep their
    // key; rows only renumbered are not written.
    Open("<table id='7' pos='100,0,600,300'><PARA><table_info><para_info/></table_info><col_info>"
         "<col id='1' title='序号' no_save='1'/><col id='2' title='数量' no_save='1'/>"
         "<col id='3' title='商品' no_save='1'/><col id='4' title='单价' no_save='1'/><col id='5' title='头' no_save='1'/>"
         "<col title='商品' field_name='goods_uid_0' col_id='3'/><col title='数量' field_name='qty_0' col_id='2'/>"
         "<col title='单价' field_name='price_0' col_id='4' empty='1'/><col title='头' field_name='head_uid_0' "
         "col_id='5' empty='1'/></col_info></PARA></table>"
         "<button id='1' pos='0,400,80,424' value='s'><ACTION><CLICK><insert_detail><s table_id='7' "
         "not_save_rownum='1' insert_sql='SELECT uid_0,head_uid_0,goods_uid_0,qty_0,price_0 FROM ord_line WHERE 1=0' "
         "update_sql='SELECT uid_0,goods_uid_0,qty_0,price_0,head_uid_0 FROM ord_line WHERE uid_0={{id?uid}}' "
         "run_sql=\"INSERT INTO ord_log(what_0) VALUES('{{id?uid}}')\"/></insert_detail></CLICK></ACTION></button>");
    // The grid shows 序号, 数量, 商品, 单价, 头; the save-only elements name
    // them by col_id, in an order of their own.
    const auto row = [this](const QString& key, int state, const QString& qty, const QString& goods,
                            const QString& price) {
        const int index = Grid()->InsertRow(Grid()->GetItemCount(), "n");
        Grid()->SetRowData(index, nullptr, key, state);
        Grid()->SetItemText(index, 1, qty);
        Grid()->SetItemText(index, 2, goods);
        Grid()->SetItemText(index, 3, price);
        Grid()->SetItemText(index, 4, "2");
    };
    row(stored, kRowMarked, "9", "9", "9");
    row("0", kRowNew, "4", "2", "1");
    Fire(1);
    EXPECT_EQ(m_messages, QStringList{"操作成功"});
    EXPECT_EQ(Rows("SELECT uid_0,head_uid_0,goods_uid_0,qty_0 FROM ord_line ORDER BY uid_0"),
              stored + "|1|1|1|" + QString::number(stored.toInt() + 1) + "|2|2|4");
    EXPECT_EQ(Grid()->GetRowKey(1)->strKey, "0");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM ord_log"), "0") << "without an identity nothing follows";
    EXPECT_EQ(Grid()->GetRowKey(0)->nState, kRowUnchanged);
    EXPECT_EQ(Grid()->GetRowKey(1)->nState, kRowUnchanged);

    // An edited row is written; a required cell that is empty names the row,
    // the column and its title, and selects the row.
    m_messages.clear();
    EditCell(0, 1, "7");
    Fire(1);
    EXPECT_EQ(Value("SELECT qty_0 FROM ord_line WHERE uid_0=" + stored).toDouble(), 7);
    EXPECT_EQ(Value("SELECT what_0 FROM ord_log"), stored);
    row("0", kRowNew, "", "1", "1");
    m_messages.clear();
    Fire(1);
    EXPECT_EQ(m_messages, QStringList{"第 3 行数据异常,请检查数据:\n表格第3行,第2列（数量）内容不能为空"});
    EXPECT_TRUE(Grid()->IsRowSelected(2));
    EXPECT_EQ(Grid()->GetRowKey(2)->nState, kRowNew);

    // An empty grid without deleted rows has nothing to say.
    Grid()->DeleteAllRows();
    m_messages.clear();
    Fire(1);
    EXPECT_TRUE(m_messages.isEmpty());
}

} // namespace

TEMBRA_ACTION_KINDS(SaveActionsTest);
