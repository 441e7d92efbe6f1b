// Control references, template filling and queries into targets, on real
// form windows.
#include "ActionFormTest.h"
#include "ActionTexts.h"
#include "grid/ListCtrlEx.h"
#include "xml/XmlDocument.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

const char* const Controls =
    "<textbox id='1' pos='0,0,100,20' value='O&apos;Brien'/>"
    "<textbox id='2' pos='0,30,100,50' value=''/>"
    "<textbox id='3' pos='0,60,100,80' value='12'/>"
    "<droplist id='4' pos='0,90,100,110' value=''/>"
    "<textbox id='50' pos='0,120,100,140' value='ctl50'/>"
    "<table id='7' pos='200,0,600,200'><PARA><col_info><col id='1' name='名称' width='80'/>"
    "<col id='2' name='数量' width='60'/></col_info></PARA></table>"
    "<panel id='8' pos='200,220,600,400'>"
    "<html id='81' title='一'><head pos='0,0,300,150'/><body><dialog>"
    "<textbox id='5' pos='0,0,80,20' value='page1'/></dialog></body></html></panel>";

class ActionFrameworkTest : public ActionFormTest
{
protected:
    CFormActions& Actions() { return m_form->m_actions; }

    // The root element of a small XML text (it keeps its tree alive).
    static CXmlNode Element(const QString& xml)
    {
        CXmlDocument document;
        EXPECT_TRUE(document.LoadXml(xml));
        return *document.GetRoot();
    }

    CListCtrlEx* Grid() { return qobject_cast<CListCtrlEx*>(Control(7)); }
};

TEST_P(ActionFrameworkTest, ReferencesNameTheRightWindow)
{
    D_T1* form = Open(Controls);
    QWidget* page = form->GetPage(8 + D_T1::ControlIdBase, 1);
    ASSERT_TRUE(page);
    struct Case {
        QString ref;
        QWidget* expected;
    } cases[] = {
        {"0", form}, {"", form}, {"abc", form}, {":3", form},  {"1", Control(1)},
        {"8:1:5", static_cast<D_T1*>(page)->GetDlgItem(5 + D_T1::ControlIdBase)},
    };
    for (const Case& c : cases) {
        QWidget* control = nullptr;
        EXPECT_TRUE(Actions().GetControlByRef(*form, c.ref, control)) << c.ref.toStdString();
        EXPECT_EQ(control, c.expected) << c.ref.toStdString();
    }
    // Nothing there, a page outside the panel, a panel number that is no
    // panel, four parts, a parent reference without a parent.
    for (const QString ref : {"99", "8:2:5", "8:0:5", "1:1:5", "1:2:3:4", "5:", "0:1"}) {
        QWidget* control = nullptr;
        Actions().m_db.m_strError = "earlier";
        EXPECT_FALSE(Actions().GetControlByRef(*form, ref, control)) << ref.toStdString();
        EXPECT_EQ(Actions().m_db.m_strError, "控件指向出错:\n" + ref);
    }
}

TEST_P(ActionFrameworkTest, ParentReferencesNameTheOpenersControls)
{
    D_T1* opener = Open(Controls);
    D_T1 popup;
    popup.m_pOpener = opener;
    QWidget* control = nullptr;
    EXPECT_TRUE(Actions().GetControlByRef(popup, "9:1", control));
    EXPECT_EQ(control, Control(1));
    // N = 0 is the opener's control of window id 1024, which is none here.
    EXPECT_FALSE(Actions().GetControlByRef(popup, "5:0", control));
}

// Values go in escaped inside a literal and only as numbers outside one,
// judged when the statement is filled.
TEST_P(ActionFrameworkTest, ValuesAreEscapedOrMustBeNumbers)
{
    Open(Controls);
    struct Case {
        QString sql;
        QString value;
        QString expected; // empty: refused
    } cases[] = {
        {"name='{{v}}'", "O'Brien", "name='O''Brien'"},
        {"name='{{v}}' AND x={{v}}", "12", "name='12' AND x=12"},
        {"x={{v}}", "-3.50", "x=-3.50"},
        {"x={{v}}", " 12 ", "x=12"},
        {"x={{v}}", "", "x="},
        {"x={{v}}", "1 OR 1=1", ""},
        {"x={{v}}", "1;DROP TABLE c_user", ""},
        {"a='it''s' AND b='{{v}}'", "x'--", "a='it''s' AND b='x''--'"},
        {"a='it''s' AND b={{v}}", "x", ""},
        {"no token", "x y", "no token"},
        // A later token of the template would fill the value again.
        {"a='{{v}}' AND b='{{p2}}'", "{{p2}}", ""},
        {"a='{{v}}'", "{{user_id}}", ""},
    };
    for (const Case& c : cases) {
        QString sql = c.sql;
        const bool put = Actions().PutValue(sql, "{{v}}", c.value) && Actions().FillValues(sql);
        EXPECT_EQ(put, !c.expected.isEmpty()) << c.sql.toStdString() << " <- " << c.value.toStdString();
        if (put) {
            EXPECT_EQ(sql, c.expected);
        }
    }

    // A list: joined by ",", each value escaped inside a literal, and
    // outside one only when every value is a number.
    struct ListCase {
        QString sql;
        QStringList values;
        QString expected; // empty: refused
    } lists[] = {
        {"IN ({{v}})", {"3", "4"}, "IN (3,4)"},
        {"IN ({{v}})", {}, "IN ()"},
        {"IN ({{v}})", {"3", "4) OR (1=1"}, ""},
        {"x='{{v}}'", {"a'b", "c"}, "x='a''b,c'"},
    };
    for (const ListCase& c : lists) {
        QString sql = c.sql;
        const bool put = Actions().PutValue(sql, "{{v}}", c.values) && Actions().FillValues(sql);
        EXPECT_EQ(put, !c.expected.isEmpty()) << c.sql.toStdString();
        if (put) {
            EXPECT_EQ(sql, c.expected);
        }
    }
}

TEST_P(ActionFrameworkTest, ParamPlaceholdersFromControls)
{
    D_T1* form = Open(Controls);
    Actions().m_deletedUids.Add(Grid(), "4");
    Actions().m_deletedUids.Add(nullptr, "5");
    QString sql = "SELECT '{{p1}}','{{p2}}',{{p3}},{{p1}}x FROM t WHERE uid_0 IN({{deleted_uid_0}}) AND u={{userid}}";
    const CXmlNode info = Element("<para_info><a value='1'/><!-- c --><b wnd='2'/><c value='' wnd='3'/></para_info>");
    // {{p1}} outside quotes holds a name: refused.
    EXPECT_FALSE(Actions().FillParamPlaceholders(info, *form, sql));
    sql = "SELECT '{{p1}}','{{p2}}',{{p3}} FROM t WHERE uid_0 IN({{deleted_uid_0}}) AND u='{{user_id}}'";
    ASSERT_TRUE(Actions().FillParamPlaceholders(info, *form, sql)) << Actions().m_db.m_strError.toStdString();
    EXPECT_EQ(sql, "SELECT 'O''Brien','',12 FROM t WHERE uid_0 IN(4,5) AND u='clerk'");

    // An empty template resolves nothing; a missing control fails.
    const CXmlNode missing = Element("<para_info><a value='77'/></para_info>");
    QString empty;
    EXPECT_TRUE(Actions().FillParamPlaceholders(missing, *form, empty));
    sql = "'{{p1}}'";
    EXPECT_FALSE(Actions().FillParamPlaceholders(missing, *form, sql));
    EXPECT_EQ(Actions().m_db.m_strError, "控件指向出错:\n77");
}

TEST_P(ActionFrameworkTest, WhereFragmentsOnlyWhileTheirControlHoldsAValue)
{
    D_T1* form = Open(Controls);
    auto* combo = qobject_cast<QComboBox*>(Control(4));
    ASSERT_TRUE(combo);
    combo->addItems({"甲", "乙"});
    combo->setCurrentIndex(1);
    const CXmlNode action = Element(
        "<a><para_info_where>"
        "<w value='1' where=\" AND name_0='{{self}}'\"/>"
        "<w value='2' where=' AND never'/>"
        "<w value='4' where=\" AND kind_0='{{self}}'\"/>"
        "<w value='3'/>"
        "</para_info_where></a>");
    QString sql = "SELECT * FROM t WHERE 1=1{{p1}}{{p2}}{{p3}}{{p4}}";
    ASSERT_TRUE(Actions().FillWhereFragments(action, *form, sql));
    EXPECT_EQ(sql, "SELECT * FROM t WHERE 1=1 AND name_0='O''Brien' AND kind_0='乙'");

    // A typed token cannot pull the next fragment into the first one's
    // literal, where the next value would stand outside its quotes.
    qobject_cast<QLineEdit*>(Control(1))->setText("{{p3}}");
    sql = "SELECT * FROM t WHERE 1=1{{p1}}{{p2}}{{p3}}";
    EXPECT_FALSE(Actions().FillWhereFragments(action, *form, sql));
    EXPECT_TRUE(Actions().m_db.m_strError.contains("{{p3}}"));
}

TEST_P(ActionFrameworkTest, FormWidePlaceholdersAreEscapedInsideLiterals)
{
    D_T1* form = Open(Controls);
    theApp().m_strGlobal[0] = "x'); DELETE FROM c_user; --";
    const CXmlNode none = Element("<para_info/>");
    QString sql = "SELECT * FROM t WHERE a='{{A0}}'";
    ASSERT_TRUE(Actions().FillParamPlaceholders(none, *form, sql)) << Actions().m_db.m_strError.toStdString();
    EXPECT_EQ(sql, "SELECT * FROM t WHERE a='x''); DELETE FROM c_user; --'");
    sql = "SELECT * FROM t WHERE a={{A0}}";
    EXPECT_FALSE(Actions().FillParamPlaceholders(none, *form, sql));
    EXPECT_FALSE(Actions().m_db.m_strError.isEmpty());
}

TEST_P(ActionFrameworkTest, RowFilterReadsColumnsBelowFiftyAndControlsFromFifty)
{
    D_T1* form = Open(Controls);
    CListCtrlEx* grid = Grid();
    ASSERT_TRUE(grid);
    const int row = grid->InsertRow(0, "螺丝'钉");
    grid->SetItemText(row, 1, "3");
    grid->SetRowData(row, reinterpret_cast<void*>(qintptr(42)), "42", 0);
    const CXmlNode action = Element(
        "<a><para_info_where><w value='1' where=\" AND name_0='{{self}}'\"/>"
        "<w value='50' where=\" AND memo_0='{{self}}'\"/><w value='0' where=' AND never'/>"
        "</para_info_where></a>");
    QString sql = "DELETE FROM t WHERE uid_0={{id?uid}}{{p1}}{{p2}}{{p3}}";
    ASSERT_TRUE(Actions().BuildRowFilter(action, sql, *form, grid, row));
    EXPECT_EQ(sql, "DELETE FROM t WHERE uid_0=42 AND name_0='螺丝''钉' AND memo_0='ctl50'");

    // A key that is no number never reaches the SQL text.
    grid->SetRowData(row, nullptr, "1 OR 1=1", 0);
    sql = "DELETE FROM t WHERE uid_0={{id?uid}}";
    EXPECT_FALSE(Actions().BuildRowFilter(action, sql, *form, grid, row));
    EXPECT_TRUE(Actions().m_db.m_strError.contains("1 OR 1=1"));
}

TEST_P(ActionFrameworkTest, QueryIntoTargets)
{
    D_T1* form = Open(Controls);
    Exec("CREATE TABLE t (a VARCHAR(20), b VARCHAR(20))");
    Exec("INSERT INTO t VALUES('x''y','2')");
    ASSERT_TRUE(Actions().m_db.Connect());

    EXPECT_TRUE(Actions().QueryIntoTargets("1;3", "SELECT a,b FROM t", *form));
    EXPECT_EQ(qobject_cast<QLineEdit*>(Control(1))->text(), "x'y");
    EXPECT_EQ(qobject_cast<QLineEdit*>(Control(3))->text(), "2");

    // Three targets, two values: the count message, nothing written.
    EXPECT_FALSE(Actions().QueryIntoTargets("1;3;50", "SELECT '9','9' FROM t", *form));
    EXPECT_EQ(m_messages, QStringList{ActionTexts::CountMismatch});
    EXPECT_EQ(qobject_cast<QLineEdit*>(Control(50))->text(), "ctl50");

    // A trailing ";" is one more target: the form itself.
    EXPECT_TRUE(Actions().QueryIntoTargets("1;", "SELECT a,'标题' FROM t", *form));
    EXPECT_EQ(form->windowTitle(), "标题");

    // No row empties every target and fails with the SQL text.
    const QString none = "SELECT a,b FROM t WHERE 1=0";
    EXPECT_FALSE(Actions().QueryIntoTargets("1;3", none, *form));
    EXPECT_EQ(qobject_cast<QLineEdit*>(Control(1))->text(), "");
    EXPECT_EQ(qobject_cast<QLineEdit*>(Control(3))->text(), "");
    EXPECT_EQ(Actions().m_db.m_strError, none);

    EXPECT_FALSE(Actions().QueryIntoTargets("", "SELECT a FROM t", *form));
    Actions().m_db.Close();
}

} // namespace

TEMBRA_ACTION_KINDS(ActionFrameworkTest);
