// Values through real form windows into SQL templates: hostile control
// texts, cells, deleted-row keys and global slots against templates with
// comments, quoted names and each kind's literals, and the filter fragments
// a search box is written with.
#include "ActionFormTest.h"
#include "RunSqlTexts.h"
#include "grid/ListCtrlEx.h"
#include "text/SqlTexts.h"

#include <QLineEdit>

namespace {

class SqlFillingTest : public ActionFormTest
{
protected:
    void SetUp() override
    {
        ActionFormTest::SetUp();
        if (HasFatalFailure())
            return;
        Exec("CREATE TABLE t (uid_0 INTEGER PRIMARY KEY, code_0 VARCHAR(20), name_0 VARCHAR(100), qty_0 INTEGER, "
             "\"o'k\" VARCHAR(20))");
        Exec("CREATE TABLE w (uid_0 " + KeyColumn() + ", text_0 VARCHAR(200))");
        ResetTables();
    }

    // t with its three rows, w empty.
    void ResetTables()
    {
        Exec("DELETE FROM w");
        Exec("DELETE FROM t");
        Exec("INSERT INTO t VALUES(1,'C007','甲',10,NULL)");
        Exec("INSERT INTO t VALUES(2,'C008','O''Brien',20,NULL)");
        Exec("INSERT INTO t VALUES(3,'C009','丙',30,NULL)");
    }

    // Text box 1 (the value), text box 3 (a target), a grid 7 and a button 9
    // whose CLICK runs the actions.
    D_T1* OpenWith(const QString& click)
    {
        return Open("<textbox id='1' pos='0,0,100,20' value=''/>"
                    "<textbox id='3' pos='0,60,100,80' value='old'/>"
                    "<table id='7' pos='200,0,600,200'><PARA><col_info><col id='1' title='名称' width='80'/>"
                    "</col_info></PARA></table>"
                    "<button id='9' style='1' pos='0,300,80,330' value='go'><ACTION><CLICK>"
                    + click + "</CLICK></ACTION></button>");
    }

    QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(Control(id)); }

    // The same value in every source a template reads: the text box, the
    // global slot 0, the cell of the grid's selected row (key 2) and the
    // keys of deleted rows.
    void PutEverywhere(const QString& value)
    {
        Edit(1)->setText(value);
        theApp().m_strGlobal[0] = value;
        auto* grid = qobject_cast<CListCtrlEx*>(Control(7));
        const int row = grid->InsertRow(0, value);
        grid->SetRowData(row, nullptr, QStringLiteral("2"), 0);
        grid->SelectRow(row, true);
        m_form->m_actions.m_deletedUids.Add(nullptr, value);
    }

    QString Kept() { return Rows("SELECT uid_0 FROM t ORDER BY uid_0"); }
    QString Written() { return Rows("SELECT text_0 FROM w ORDER BY uid_0"); }
};

QString RunSql(const QString& statement)
{
    return "<run_sql><para_info run_sql=\"" + statement + "\"><p value='1'/></para_info></run_sql>";
}

QString CheckRow(const QString& attributes)
{
    return "<check><para_info table_id='7' " + attributes + "/></check>";
}

struct InjectionCase
{
    const char* name;
    int kind;       // 2 or 3 for a template of that kind only, 0 for both
    QString action; // the CLICK's actions
    QString value;
    QString kept;    // the keys of t afterwards
    QString written; // w afterwards
    bool refused;    // the event shows a refusal, not success
};

const QString Hostile = QStringLiteral("1 OR 1=1");

TEST_P(SqlFillingTest, ValuesLandWhereTheTemplatePutsThemAndNowhereElse)
{
    const QString dropAll = QStringLiteral("x'); DELETE FROM t; --");
    const InjectionCase cases[] = {
        // An apostrophe in a comment or a name opens no literal: the bare
        // token still takes numbers only.
        {"block comment", 0, RunSql("DELETE FROM t /* it's */ WHERE uid_0={{p1}}"), Hostile, "1|2|3", "", true},
        {"block comment, a number", 0, RunSql("DELETE FROM t /* it's */ WHERE uid_0={{p1}}"), " 2", "1|3", "", false},
        {"line comment", 0, RunSql("DELETE FROM t -- it's&#10;WHERE uid_0={{p1}}"), Hostile, "1|2|3", "", true},
        {"line comment, a number", 0, RunSql("DELETE FROM t -- it's&#10;WHERE uid_0={{p1}}"), "2", "1|3", "", false},
        {"double-quoted name", 0, RunSql("DELETE FROM t WHERE &quot;o'k&quot; IS NULL AND uid_0={{p1}}"), Hostile,
         "1|2|3", "", true},
        {"double-quoted name, a number", 0, RunSql("DELETE FROM t WHERE &quot;o'k&quot; IS NULL AND uid_0={{p1}}"),
         "2", "1|3", "", false},
        {"bracket name", 2, RunSql("DELETE FROM t WHERE [o'k] IS NULL AND uid_0={{p1}}"), Hostile, "1|2|3", "", true},
        {"backquoted name", 2, RunSql("DELETE FROM t WHERE `o'k` IS NULL AND uid_0={{p1}}"), Hostile, "1|2|3", "",
         true},
        {"E literal", 3, RunSql("DELETE FROM t WHERE name_0&lt;&gt;E'it\\'s' AND uid_0={{p1}}"), Hostile, "1|2|3",
         "", true},
        {"E literal, a number", 3, RunSql("DELETE FROM t WHERE name_0&lt;&gt;E'it\\'s' AND uid_0={{p1}}"), "2",
         "1|3", "", false},
        {"dollar literal", 3, RunSql("DELETE FROM t WHERE name_0&lt;&gt;$$it's$$ AND uid_0={{p1}}"), Hostile,
         "1|2|3", "", true},
        {"dollar literal, a number", 3, RunSql("DELETE FROM t WHERE name_0&lt;&gt;$$it's$$ AND uid_0={{p1}}"), "2",
         "1|3", "", false},
        // Inside a literal a value is stored as it was typed.
        {"literal", 0, RunSql("INSERT INTO w(text_0) VALUES('{{p1}}')"), dropAll, "1|2|3", dropAll, false},
        {"E literal keeps backslashes", 3, RunSql("INSERT INTO w(text_0) VALUES(E'{{p1}}')"),
         "\\'); DELETE FROM t; --", "1|2|3", "\\'); DELETE FROM t; --", false},
        {"dollar literal", 3, RunSql("INSERT INTO w(text_0) VALUES($q${{p1}}$q$)"), "it's \\ 'fine'", "1|2|3",
         "it's \\ 'fine'", false},
        {"dollar literal's own mark", 3, RunSql("INSERT INTO w(text_0) VALUES($q${{p1}}$q$)"),
         "$q$); DELETE FROM t; --", "1|2|3", "", true},
        // PostgreSQL's dollar tags take any character beyond ASCII; its line
        // comments end at a lone carriage return, SQLite's do not.
        {"dollar literal of a non-ASCII tag", 3, RunSql("INSERT INTO w(text_0) VALUES($。$ '{{p1}}' $。$)"), "it's",
         "1|2|3", " 'it's' ", false},
        {"dollar literal of a non-ASCII tag, its own mark", 3,
         RunSql("INSERT INTO w(text_0) VALUES($。$ '{{p1}}' $。$)"), "$。$); DELETE FROM t; --", "1|2|3", "", true},
        {"line comment ended by a carriage return", 3,
         RunSql("INSERT INTO w(text_0) VALUES('a') -- c&#13;, ('q)&#10;, ('{{p1}}')"), "); DELETE FROM t; --",
         "1|2|3", "", true},
        {"line comment going on over a carriage return", 2,
         RunSql("INSERT INTO w(text_0) VALUES('a') -- c&#13;, ('q)&#10;, ('{{p1}}')"), "); DELETE FROM t; --",
         "1|2|3", "a|); DELETE FROM t; --", false},
        // Not in a comment or a name at all.
        {"token in a comment", 0, RunSql("DELETE FROM t WHERE uid_0=2 /* {{p1}} */"), "*/ OR 1=1", "1|2|3", "", true},
        {"token in a name", 0, RunSql("INSERT INTO w(&quot;{{p1}}&quot;) VALUES('x')"), "text_0", "1|2|3", "", true},
        // The global slots, the cells and the deleted rows' keys the same way.
        {"global slot bare", 0, RunSql("DELETE FROM t /* it's */ WHERE uid_0={{A0}}"), Hostile, "1|2|3", "", true},
        {"global slot decimal", 0, RunSql("DELETE FROM t /* it's */ WHERE uid_0&lt;{{A0}}"), "2.5", "3", "", false},
        {"global slot stored", 0, RunSql("INSERT INTO w(text_0) VALUES('{{A0}}')"), dropAll, "1|2|3", dropAll, false},
        {"cell bare", 0, CheckRow("update_sql=\"DELETE FROM t /* it's */ WHERE uid_0={{id?0}}\""), Hostile,
         "1|2|3", "", true},
        {"cell stored", 0,
         CheckRow("update_sql=\"DELETE FROM t WHERE uid_0={{id?uid}}\" "
                  "run_sql=\"INSERT INTO w(text_0) VALUES('{{id?0}}')\""),
         dropAll, "1|3", dropAll, false},
        {"deleted keys", 0, RunSql("DELETE FROM t /* it's */ WHERE uid_0 IN ({{deleted_uid_0}})"), "1) OR (1=1",
         "1|2|3", "", true},
        {"deleted keys, numbers", 0, RunSql("DELETE FROM t /* it's */ WHERE uid_0 IN ({{deleted_uid_0}})"), "3",
         "1|2", "", false},
    };
    for (const InjectionCase& c : cases) {
        if (c.kind != 0 && c.kind != GetParam())
            continue;
        SCOPED_TRACE(c.name);
        OpenWith(c.action);
        PutEverywhere(c.value);
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Kept(), c.kept);
        EXPECT_EQ(Written(), c.written);
        ASSERT_EQ(m_messages.size(), 1) << m_messages.join("|").toStdString();
        EXPECT_EQ(m_messages[0] != RunSqlTexts::Done, c.refused) << m_messages[0].toStdString();
        ResetTables();
    }
}

// The ways a search box's filter is written: the quotes in the template
// around the fragment, or in the fragment itself; the value inside them
// takes any text, a bare one numbers; an empty box drops the fragment.
TEST_P(SqlFillingTest, FilterFragmentsTakeTheirValueWhereTheyStand)
{
    struct FilterCase
    {
        const char* condition; // the template's WHERE condition around {{p1}}
        const char* where;     // the fragment
        QString box;
        QString count; // in box 3; empty: refused with the message below
        QString message;
    };
    const FilterCase cases[] = {
        {"code_0='{{p1}}'", "{{self}}", "C007", "1", {}},
        {"code_0='{{p1}}'", "{{self}}", "12", "0", {}},
        {"code_0='{{p1}}'", "{{self}}", "x' OR '1'='1", "0", {}},
        {"code_0='{{p1}}'", "{{self}}", "", "0", {}},
        {"name_0 LIKE '%{{p1}}%'", "{{self}}", "Brien", "1", {}},
        {"name_0 LIKE '%{{p1}}%'", "{{self}}", "O'B", "1", {}},
        {"name_0 LIKE '%{{p1}}%'", "{{self}}", "", "3", {}},
        {"1=1{{p1}}", " AND code_0='{{self}}'", "C008", "1", {}},
        {"1=1{{p1}}", " AND code_0='{{self}}'", "", "3", {}},
        {"1=1{{p1}}", " AND qty_0&gt;{{self}}", "15", "2", {}},
        {"1=1{{p1}}", " AND qty_0&gt;{{self}}", " 12.5 ", "2", {}},
        {"1=1{{p1}}", " AND qty_0&gt;{{self}}", "", "3", {}},
        {"1=1{{p1}}", " AND qty_0&gt;{{self}}", "C007", "", SqlTexts::NotANumber.arg("C007", "{{self}}")},
        {"qty_0&gt;{{p1}}", "{{self}}", "x", "", SqlTexts::NotANumber.arg("x", "{{self}}")},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(QString("%1 / %2 <- %3").arg(c.condition, c.where, c.box).toStdString());
        OpenWith(QString("<query_to_wnd target_ids='3' values=\"SELECT COUNT(*) FROM t WHERE %1\">"
                         "<para_info_where><w value='1' where=\"%2\"/></para_info_where></query_to_wnd>")
                     .arg(c.condition, c.where));
        Edit(1)->setText(c.box);
        m_messages.clear();
        Fire(9);
        EXPECT_EQ(Edit(3)->text(), c.count.isEmpty() ? QString("old") : c.count);
        EXPECT_EQ(m_messages.join("|"), c.message);
    }
}

} // namespace

TEMBRA_ACTION_KINDS(SqlFillingTest);
