// Report charts of a grid in a picture control, and the rows and header
// texts of a tree-list board from queries, on real form windows.
#include "ActionFormTest.h"
#include "ActionTexts.h"
#include "ChartActionTexts.h"
#include "DemoDatabase.h"
#include "QvChart.h"
#include "QvPicture.h"
#include "TempFolder.h"
#include "grid/ListCtrlEx.h"
#include "xml/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

bool IsBlue(QRgb p)
{
    return qBlue(p) > 200 && qRed(p) < 80 && qGreen(p) < 80;
}

bool IsGreen(QRgb p)
{
    return qGreen(p) > 100 && qRed(p) < 80 && qBlue(p) < 80;
}

bool IsWhite(QRgb p)
{
    return qRed(p) > 250 && qGreen(p) > 250 && qBlue(p) > 250;
}

int InkIn(const QImage& image, const QRect& box)
{
    int ink = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            ink += IsWhite(image.pixel(x, y)) ? 0 : 1;
    return ink;
}

// A grid of monthly figures, a 600×400 picture and the controls the report
// attributes name.
const QString ReportControls = QStringLiteral(
    "<table id='7' pos='0,0,300,100'><PARA><col_info><col id='1' title='月份' width='60'/>"
    "<col id='2' title='销售额' width='60'/><col id='3' title='成本' width='60'/>"
    "<col id='4' title='说明' width='60'/></col_info></PARA></table>"
    "<pic id='9' pos='0,100,600,500'/>"
    "<textbox id='10' pos='300,0,360,20' value='月度销售'/>"
    "<textbox id='11' pos='300,20,360,40' value='400'/>"
    "<textbox id='12' pos='300,40,360,60' value='万元'/>"
    "<textbox id='13' pos='300,60,360,80' value=''/>"
    "<textbox id='14' pos='360,0,420,20' value='10'/>"
    "<textbox id='15' pos='360,20,420,40' value='20'/>"
    "<textbox id='16' pos='360,40,420,60' value='3'/>"
    "<textbox id='17' pos='360,60,420,80' value='800'/>"
    "<textbox id='18' pos='420,0,480,20' value='5'/>"
    "<button id='20' pos='420,20,480,40' value='画'><ACTION><CLICK>"
    "<show_report><cols table_id='7' target='9' title_id='10' left_sign_id='11' left_title_id='12'"
    " sign_col='1' split_width='100' sign_color='255,255,0,0' save_path_id='13'>"
    "<col col='2' color='255,0,0,255' width='30' chart_type='1'/>"
    "<col col='3' color='255,0,128,0' width='30' chart_type='1' chart_zx='1'/>"
    "</cols></show_report></CLICK></ACTION></button>");

// A board of the columns 序号 40, 名称 200, 备注 80, 时段 1439 (time bars)
// under a 30-high header, and a second header of two groups for the header
// texts; 10 and 11 are the steps' parameters.
const QString BoardControls = QStringLiteral(
    "<treelist id='5' pos='0,0,1800,400'><PARA><head_info>"
    "<col title='序号' width='40' height='30'/><col title='名称' width='200' height='30'/>"
    "<col title='备注' width='80' height='30'/><col title='时段' width='1439' height='30' type='1'/>"
    "</head_info></PARA></treelist>"
    "<treelist id='6' pos='0,400,400,500'><PARA><head_info>"
    "<col title='组一' width='80' height='20'><col title='a' width='40' height='20'/>"
    "<col title='b' width='40' height='20'/></col>"
    "<col title='组二' width='40' height='20'><col title='c' width='40' height='20'/></col>"
    "</head_info></PARA></treelist>"
    "<table id='7' pos='400,400,500,500'><PARA><col_info><col id='1' title='x' width='60'/></col_info></PARA></table>"
    "<textbox id='10' pos='500,400,560,420' value=''/>"
    "<textbox id='11' pos='500,420,560,440' value=''/>");

class ChartActionsTest : public ActionFormTest
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
    QvPicture* Picture() { return qobject_cast<QvPicture*>(Control(9)); }
    QvChart* Board(int id = 5) { return qobject_cast<QvChart*>(Control(id)); }
    void SetText(int id, const QString& text) { qobject_cast<QLineEdit*>(Control(id))->setText(text); }

    void AddMonth(const QString& month, const QString& sales, const QString& cost, const QString& note = {})
    {
        const int row = Grid()->InsertRow(Grid()->GetItemCount(), month);
        Grid()->SetItemText(row, 1, sales);
        Grid()->SetItemText(row, 2, cost);
        Grid()->SetItemText(row, 3, note);
    }

    D_T1* OpenReport()
    {
        D_T1* form = Open(ReportControls);
        AddMonth("1月", "100", "50");
        AddMonth("2月", "200", "150", "促销");
        AddMonth("3月", "400", "300");
        return form;
    }

    // Nodes (parent, key, name, memo, bar) for the board steps.
    void CreateNodes(const QList<QStringList>& rows)
    {
        Exec("CREATE TABLE node_t (parent_0 INT, key_0 INT, name_0 VARCHAR(20), memo_0 VARCHAR(20),"
             " bar_0 VARCHAR(20))");
        for (const QStringList& r : rows)
            Exec(QStringLiteral("INSERT INTO node_t VALUES(%1,%2,'%3','%4','%5')").arg(r[0], r[1], r[2], r[3], r[4]));
        ASSERT_TRUE(Actions().m_db.Connect());
    }

    // The tree below the body root as "key(parent key)" in drawing order.
    QString Tree(int id = 5)
    {
        QStringList nodes;
        QvChart* board = Board(id);
        QvTree::WalkPreOrder(&board->Body(), [&](QvTree* node) {
            if (node != &board->Body())
                nodes << node->m_strKey + "(" + node->m_pParent->m_strKey + ")";
            return true;
        });
        return nodes.join(' ');
    }
};

TEST_P(ChartActionsTest, ShowReportHandsThePictureItsGridSeriesAndTexts)
{
    OpenReport();
    QvPicture* picture = Picture();
    picture->m_strText3 = "右值";
    picture->m_strText4 = "右题";
    Fire(20);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();

    EXPECT_EQ(picture->Grid(), Grid());
    EXPECT_EQ(picture->SeriesCount(), 2);
    EXPECT_EQ(picture->m_nLabelShift, 60);  // the widths added up
    EXPECT_EQ(picture->m_strTitle, "月度销售");
    EXPECT_EQ(picture->m_strMax, "400");
    EXPECT_EQ(picture->m_strYCaption, "万元");
    // show_report reads no right-hand texts unless asked.
    EXPECT_EQ(picture->m_strText3, "右值");
    EXPECT_EQ(picture->m_strText4, "右题");
    EXPECT_EQ(picture->m_nLabelColumn, 1);
    EXPECT_EQ(picture->m_nSpacing, 100);
    EXPECT_EQ(picture->m_clrAxis, 0xFFFF0000u);
    EXPECT_EQ(picture->Series(1)->m_nValueColumn, 3);
    EXPECT_EQ(picture->Series(1)->m_nLineStyle, 1);
    EXPECT_EQ(picture->Series(1)->m_clrColour, 0xFF008000u);

    // The bars stand on the axis at their values: axis at 370, 250 pixels
    // for 400; series 0 at x 100, 200, 300, series 1 30 pixels to the right.
    const QImage image = picture->RenderImage();
    struct Bar
    {
        int x;
        int top;
        bool blue;
    };
    for (const Bar& bar : {Bar{100, 307, true}, Bar{200, 245, true}, Bar{300, 120, true}, Bar{130, 339, false},
                           Bar{230, 276, false}, Bar{330, 183, false}}) {
        SCOPED_TRACE(bar.x);
        const auto colour = bar.blue ? IsBlue : IsGreen;
        EXPECT_TRUE(colour(image.pixel(bar.x, bar.top + 3)));
        EXPECT_TRUE(colour(image.pixel(bar.x, 365)));
        // Above the bar: white, or the line through the cost points.
        if (bar.blue) {
            EXPECT_FALSE(colour(image.pixel(bar.x, bar.top - 3)));
        }
    }
    // The title's ink at the top.
    EXPECT_GT(InkIn(image, QRect(200, 10, 200, 30)), 50);
}

TEST_P(ChartActionsTest, PanelReportsReadTheirOwnSeriesAttributes)
{
    D_T1* form = OpenReport();
    QvPicture* picture = Picture();
    const CXmlNode panels = Element(
        "<show_report5><cols table_id='7' target='9' title_id='10' row_begin_id='14' rows_count_id='15'"
        " move_speed_id='16'>"
        "<col col='2' width='10' chart_zx='1' col_text='4' pos_width='3' pos='0.25' max_id='17' move_id='18'/>"
        "<col col='3' width='20' chart_zx='2'/>"
        "<col col='3' width='5' max_id='17'/>"
        "</cols></show_report5>");
    picture->Series(1)->m_fPanelMax = 7;
    picture->Series(1)->m_fOffset = 2;
    SetText(18, "5");
    ASSERT_TRUE(Actions().ShowReport5(panels, *form));

    EXPECT_EQ(picture->m_nFirstRow, 10);
    EXPECT_EQ(picture->m_nRowCount, 20);
    EXPECT_EQ(picture->m_nMoveSpeed, 3);
    EXPECT_EQ(picture->SeriesCount(), 3);
    EXPECT_EQ(picture->m_nLabelShift, 35);
    const QvChartSeries& first = *picture->Series(0);
    EXPECT_EQ(first.m_nMarkerColumn, 4);
    EXPECT_EQ(first.m_nMarkSize, 3);
    EXPECT_FLOAT_EQ(first.m_fPanelPos, 0.25f);
    EXPECT_FLOAT_EQ(first.m_fPanelMax, 800.0f);
    EXPECT_FLOAT_EQ(first.m_fOffset, 5.0f);
    // Defaults; and without max_id neither maximum nor offset is written.
    const QvChartSeries& second = *picture->Series(1);
    EXPECT_FLOAT_EQ(second.m_fPanelPos, 0.5f);
    EXPECT_EQ(second.m_nMarkSize, 1);
    EXPECT_FLOAT_EQ(second.m_fPanelMax, 7.0f);
    EXPECT_FLOAT_EQ(second.m_fOffset, 2.0f);
    // max_id without move_id: the offset becomes 0.
    EXPECT_FLOAT_EQ(picture->Series(2)->m_fOffset, 0.0f);
    // The right-hand texts default to reference 0, the form's caption.
    EXPECT_EQ(picture->m_strText4, form->windowTitle());
    EXPECT_EQ(picture->m_strText3, form->windowTitle());

    // show_report afterwards switches to bars and leaves the panel fields.
    Fire(20);
    EXPECT_EQ(picture->SeriesCount(), 2);
    EXPECT_FLOAT_EQ(picture->Series(0)->m_fPanelPos, 0.25f);
    EXPECT_FLOAT_EQ(picture->Series(0)->m_fPanelMax, 800.0f);
    EXPECT_EQ(picture->Series(0)->m_nMarkerColumn, 4);

    // show_report3 draws a point's text only on rows that have one.
    const CXmlNode panel = Element(
        "<show_report3><cols table_id='7' target='9' split_width='100' left_sign_id='11'>"
        "<col col='2' color='255,0,0,255' width='12' chart_type='1' col_text='4' pos='0'/></cols></show_report3>");
    ASSERT_TRUE(Actions().ShowReport3(panel, *form));
    const QImage image = picture->RenderImage();
    // Zero line at the bottom (380). The series kept its maximum of 800 and
    // offset of 5 from show_report5: 0.45 pixels a unit, the bars start
    // 2 pixels up; 400 reaches 198, 100 reaches 333.
    for (const int x : {110, 310}) {
        SCOPED_TRACE(x);
        const int top = x == 110 ? 333 : 198;
        EXPECT_TRUE(IsBlue(image.pixel(x, 375)));
        EXPECT_TRUE(IsBlue(image.pixel(x, top + 4)));
        EXPECT_FALSE(IsBlue(image.pixel(x, top - 4)));
    }
}

TEST_P(ChartActionsTest, ReportReferencesMustNameAPictureAndAGrid)
{
    D_T1* form = OpenReport();
    QvPicture* picture = Picture();
    struct Case
    {
        QString cols;
        QString error;  // empty: fails without a text
    };
    QString tooMany = "<cols table_id='7' target='9'>";
    for (int i = 0; i < QvPicture::MaxSeries + 1; ++i)
        tooMany += "<col col='2' width='10'/>";
    tooMany += "</cols>";
    const Case cases[] = {
        {"", ""},
        {"<cols table_id='' target='9'/>", ""},
        {"<cols table_id='7'/>", ""},
        {"<cols table_id='7' target='99'/>", ActionTexts::WrongControl + "99"},
        {"<cols table_id='7' target='7'/>", ActionTexts::WrongControl + "7"},
        {"<cols table_id='10' target='9'/>", ActionTexts::WrongControl + "10"},
        {"<cols table_id='9' target='9'/>", ActionTexts::WrongControl + "9"},
        {tooMany, "图表数据列不能超过20个"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cols.left(60).toStdString());
        Actions().m_db.m_strError.clear();
        EXPECT_FALSE(Actions().ShowReport3(Element("<show_report3>" + c.cols + "</show_report3>"), *form));
        EXPECT_EQ(Actions().m_db.m_strError, c.error);
        // Nothing was handed over.
        EXPECT_EQ(picture->Grid(), nullptr);
        EXPECT_EQ(picture->SeriesCount(), 1);
    }

    // The same for show_report.
    const CXmlNode wrong = Element("<show_report><cols table_id='7' target='10'/></show_report>");
    EXPECT_FALSE(Actions().ShowReport(wrong, *form));
    EXPECT_EQ(Actions().m_db.m_strError, "控件指向出错:\n10");
}

TEST_P(ChartActionsTest, EmptyDataDrawsAnEmptyChartWithItsTexts)
{
    D_T1* form = Open(ReportControls);
    QvPicture* picture = Picture();
    // No rows, no series, a maximum of 0: the axes and title only.
    SetText(11, "0");
    for (const QString keyword : {"show_report", "show_report3", "show_report5"}) {
        SCOPED_TRACE(keyword.toStdString());
        const CXmlNode action = Element("<" + keyword + "><cols table_id='7' target='9' title_id='10' left_sign_id='11'"
                                        " row_begin_id='14' rows_count_id='15'/></" + keyword + ">");
        ASSERT_TRUE(form->RunAction(action, 0, "CLICK"));
        EXPECT_EQ(picture->SeriesCount(), 0);
        const QImage image = picture->RenderImage();
        EXPECT_GT(InkIn(image, QRect(150, 10, 300, 40)), 50);  // the title
    }
    // Series over no rows, and rows past the end of the window of kind 5.
    Fire(20);
    EXPECT_GT(InkIn(picture->RenderImage(), QRect(0, 0, 600, 400)), 100);
    AddMonth("1月", "100", "50");
    const CXmlNode rows = Element(
        "<show_report5><cols table_id='7' target='9' row_begin_id='14' rows_count_id='15'>"
        "<col col='2' width='10' max_id='11'/></cols></show_report5>");
    ASSERT_TRUE(Actions().ShowReport5(rows, *form));
    picture->RenderImage();
}

TEST_P(ChartActionsTest, TheChartIsSavedOnlyWhenAPathIsGiven)
{
    OpenReport();
    TempFolder folder;
    // An empty path box: drawn, not saved.
    Fire(20);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());

    const QString path = folder.file("chart.png");
    SetText(13, path);
    Fire(20);
    EXPECT_TRUE(m_messages.isEmpty());
    // A BMP whatever the name says, of the picture's size.
    EXPECT_TRUE(folder.readBytes("chart.png").startsWith("BM"));
    QImage saved;
    ASSERT_TRUE(saved.load(path, "BMP"));
    EXPECT_EQ(saved.size(), QSize(600, 400));
    EXPECT_TRUE(IsBlue(saved.pixel(300, 200)));

    // A path that cannot be written is passed over without a word; the
    // chart is still shown.
    SetText(13, folder.file("missing/chart.bmp"));
    Fire(20);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_FALSE(QFile::exists(folder.file("missing/chart.bmp")));
    EXPECT_EQ(Picture()->SeriesCount(), 2);
}

TEST_P(ChartActionsTest, ShowTableAddsEachRowUnderItsParentsKey)
{
    D_T1* form = Open(BoardControls);
    ASSERT_TRUE(Actions().m_db.Connect());
    const CXmlNode action = Element(
        "<show_table table_id='5'>"
        "<step height='40'><para_info_where select=\"SELECT '0','A','Alpha','甲','720' UNION ALL"
        " SELECT 'A','B','Beta','乙','-60'\" select_color=\"SELECT '255,0,0,255'\"/></step>"
        "<step><para_info_where select=\"SELECT 'B','C','Gamma'\"/></step>"
        "</show_table>");
    ASSERT_TRUE(Actions().ShowTable(action, *form)) << Actions().m_db.m_strErrorInfo.toStdString();
    QvChart* board = Board();
    EXPECT_EQ(Tree(), "A() B(A) C(B)");
    EXPECT_EQ(Actions().m_strNodeKeys, "C");
    const QvTree* b = board->FindNode("B");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetText(), "Beta");
    ASSERT_EQ(b->ItemCount(), 2);
    EXPECT_EQ(b->Item(0).m_strText, "乙");
    EXPECT_EQ(b->Item(1).m_strText, "-60");
    EXPECT_EQ(b->m_nHeight, 40);
    // One colour for two nodes: the second keeps it; no colour query, none.
    EXPECT_EQ(b->m_item.m_strText3, "255,0,0,255");
    EXPECT_EQ(board->FindNode("C")->m_item.m_strText3, "");
    EXPECT_EQ(board->FindNode("C")->m_nHeight, 0);

    // Drawn: the time bars of A (0:00 to 12:00) and B (the last hour).
    const QImage image = board->RenderImage();
    const int timeCell = 40 + 200 + 80;
    EXPECT_TRUE(IsBlue(image.pixel(timeCell + 360, 30 + 20)));
    EXPECT_FALSE(IsBlue(image.pixel(timeCell + 800, 30 + 20)));
    EXPECT_TRUE(IsBlue(image.pixel(timeCell + 1400, 70 + 20)));
    EXPECT_FALSE(IsBlue(image.pixel(timeCell + 360, 70 + 20)));
}

TEST_P(ChartActionsTest, ColoursLastOnlyAsLongAsTheColourQueryGives)
{
    D_T1* form = Open(BoardControls);
    ASSERT_TRUE(Actions().m_db.Connect());
    const CXmlNode action = Element(
        "<show_table table_id='5'><step><para_info_where"
        " select=\"SELECT '','1','一' UNION ALL SELECT '','2','二' UNION ALL SELECT '','3','三'\""
        " select_color=\"SELECT '1,2,3,4' UNION ALL SELECT '5,6,7,8'\"/></step></show_table>");
    ASSERT_TRUE(Actions().ShowTable(action, *form));
    EXPECT_EQ(Board()->FindNode("1")->m_item.m_strText3, "1,2,3,4");
    EXPECT_EQ(Board()->FindNode("2")->m_item.m_strText3, "5,6,7,8");
    EXPECT_EQ(Board()->FindNode("3")->m_item.m_strText3, "5,6,7,8");
    // Fewer than three columns add nothing.
    const CXmlNode narrow = Element(
        "<show_table table_id='5'><step><para_info_where select=\"SELECT '','1'\"/></step></show_table>");
    ASSERT_TRUE(Actions().ShowTable(narrow, *form));
    EXPECT_EQ(Board()->NodeCount(), 0);
    EXPECT_EQ(Tree(), "");
}

TEST_P(ChartActionsTest, ALoopingStepAddsOneLevelPerPass)
{
    D_T1* form = Open(BoardControls);
    CreateNodes({{"0", "1", "根", "", ""},
                 {"1", "2", "二", "", ""},
                 {"1", "3", "三", "", ""},
                 {"2", "4", "四", "", ""},
                 {"4", "5", "五", "", ""},
                 {"9", "6", "孤", "", ""}});
    const QString roots = "<roots height='20'><para_info_where select="
                          "'SELECT parent_0,key_0,name_0 FROM node_t WHERE parent_0=0'/></roots>";
    // On PostgreSQL a pass with no parent keys ("IN ()") would fail: it is
    // not run.
    const QString children = "<children loop='1' height='20'><para_info_where select="
                             "'SELECT parent_0,key_0,name_0 FROM node_t WHERE parent_0 IN ({{selected_uids_now}})"
                             " ORDER BY key_0'/></children>";
    const QString after = "<after><para_info_where select=\"SELECT '3','7','后'\"/></after>";
    ASSERT_TRUE(Actions().ShowTable(Element("<show_table table_id='5'>" + roots + children + after + "</show_table>"),
                                    *form))
        << Actions().m_db.m_strErrorInfo.toStdString();
    EXPECT_EQ(Tree(), "1() 2(1) 4(2) 5(4) 3(1) 7(3)");

    // Placed first, a looping step runs once.
    const QString first = "<first loop='1'><para_info_where select="
                          "'SELECT parent_0,key_0,name_0 FROM node_t WHERE parent_0 IN (0,1) ORDER BY key_0'/></first>";
    ASSERT_TRUE(Actions().ShowTable(Element("<show_table table_id='5'>" + first + "</show_table>"), *form));
    EXPECT_EQ(Tree(), "1() 2(1) 3(1)");
}

TEST_P(ChartActionsTest, ParentKeysInACircleStopTheLoop)
{
    D_T1* form = Open(BoardControls);
    CreateNodes({{"0", "1", "根", "", ""}, {"1", "2", "二", "", ""}, {"2", "3", "三", "", ""}, {"3", "2", "回", "", ""}});
    const CXmlNode action = Element(
        "<show_table table_id='5'><roots><para_info_where select="
        "'SELECT parent_0,key_0,name_0 FROM node_t WHERE parent_0=0'/></roots>"
        "<children loop='1'><para_info_where select="
        "'SELECT parent_0,key_0,name_0 FROM node_t WHERE parent_0 IN ({{selected_uids_now}})'/></children>"
        "</show_table>");
    EXPECT_FALSE(Actions().ShowTable(action, *form));
    EXPECT_EQ(Actions().m_db.m_strError, ChartActionTexts::NodesLoop.arg("2"));
    // What was built before stays on show, and it is finite.
    EXPECT_TRUE(Tree().startsWith("1() 2(1) 3(2)"));
    EXPECT_LT(Board()->NodeCount(), 10);
}

TEST_P(ChartActionsTest, StepParametersAreFormControlsPutInSafely)
{
    D_T1* form = Open(BoardControls);
    CreateNodes({{"0", "1", "O''Brien", "", ""}, {"0", "2", "Smith", "", ""}, {"0", "3", "Smith", "x", ""}});
    const QString select = "SELECT parent_0,key_0,name_0 FROM node_t WHERE 1=1{{p1}}{{p2}} ORDER BY key_0";
    const auto run = [&](const QString& where2) {
        return Actions().ShowTable(
            Element("<show_table table_id='5'><s><para_info_where select='" + select + "'>"
                    "<p value='10' where=\" AND name_0='{{self}}'\"/><p value='11'" + where2 +
                    "/></para_info_where></s></show_table>"),
            *form);
    };
    SetText(10, "O'Brien");
    ASSERT_TRUE(run("")) << Actions().m_db.m_strErrorInfo.toStdString();
    EXPECT_EQ(Tree(), "1()");
    // An empty control drops its fragment.
    SetText(10, "");
    ASSERT_TRUE(run(""));
    EXPECT_EQ(Tree(), "1() 2() 3()");
    // Without a fragment the text itself stands in; outside a literal it
    // must be a number.
    SetText(10, "Smith");
    SetText(11, " AND key_0=3");
    ASSERT_FALSE(run(""));
    EXPECT_TRUE(Actions().m_db.m_strError.contains("AND key_0=3"));
    SetText(11, "3");
    ASSERT_TRUE(run(" where=' AND key_0={{self}}'"));
    EXPECT_EQ(Tree(), "3()");
    // A parameter naming no control counts as empty.
    const CXmlNode missing = Element("<show_table table_id='5'><s><para_info_where select='"
                                     "SELECT parent_0,key_0,name_0 FROM node_t WHERE 1=1{{p1}} ORDER BY key_0"
                                     "'><p value='77' where=' AND never'/></para_info_where></s></show_table>");
    ASSERT_TRUE(Actions().ShowTable(missing, *form));
    EXPECT_EQ(Tree(), "1() 2() 3()");
}

TEST_P(ChartActionsTest, ShowTableFailuresAreReported)
{
    D_T1* form = Open(BoardControls);
    ASSERT_TRUE(Actions().m_db.Connect());
    // A board reference that names nothing or another kind of control.
    for (const QString ref : {"99", "7", "10"}) {
        Actions().m_db.m_strError.clear();
        EXPECT_FALSE(Actions().ShowTable(Element("<show_table table_id='" + ref + "'/>"), *form));
        EXPECT_EQ(Actions().m_db.m_strError, ActionTexts::WrongControl + ref);
    }
    // A failed query stops the action with the database's texts; the steps
    // before it stay on the board.
    const CXmlNode action = Element(
        "<show_table table_id='5'><a><para_info_where select=\"SELECT '','1','一'\"/></a>"
        "<b><para_info_where select='SELECT x FROM no_such_table'/></b>"
        "<c><para_info_where select=\"SELECT '','3','三'\"/></c></show_table>");
    EXPECT_FALSE(Actions().ShowTable(action, *form));
    EXPECT_FALSE(Actions().m_db.m_strError.isEmpty());
    EXPECT_TRUE(Actions().m_db.m_strErrorInfo.contains("no_such_table"));
    EXPECT_EQ(Tree(), "1()");
}

TEST_P(ChartActionsTest, RebuildingTheBoardLeavesNoStaleSelection)
{
    D_T1* form = Open(BoardControls);
    ASSERT_TRUE(Actions().m_db.Connect());
    const CXmlNode action = Element(
        "<show_table table_id='5'><s height='40'><para_info_where"
        " select=\"SELECT '','1','一' UNION ALL SELECT '1','2','二'\"/></s></show_table>");
    form->show();
    ASSERT_TRUE(Actions().ShowTable(action, *form));
    QvChart* board = Board();
    board->RenderImage();
    QTest::mouseClick(board->viewport(), Qt::LeftButton, {}, QPoint(400, 30 + 40 + 20));
    ASSERT_EQ(board->SelectedNode(), board->FindNode("2"));

    ASSERT_TRUE(Actions().ShowTable(action, *form));
    EXPECT_EQ(board->SelectedNode(), nullptr);
    EXPECT_EQ(board->NodeCount(), 2);
    EXPECT_EQ(Tree(), "1() 2(1)");
    // Clicks and drawing work on the new rows.
    board->RenderImage();
    QTest::mouseClick(board->viewport(), Qt::LeftButton, {}, QPoint(400, 30 + 20));
    EXPECT_EQ(board->SelectedNode(), board->FindNode("1"));
}

TEST_P(ChartActionsTest, QueryToTreeHeadNamesTheHeaderNodesOfOneDepth)
{
    D_T1* form = Open(BoardControls);
    Exec("CREATE TABLE head_t (n INT, title_0 VARCHAR(20))");
    Exec("INSERT INTO head_t VALUES(1,'早班'),(2,'中班'),(3,'夜班'),(4,'多余'),(5,'O''Brien')");
    ASSERT_TRUE(Actions().m_db.Connect());
    const auto header = [&] {
        QStringList texts;
        QvTree::WalkPreOrder(&Board(6)->Header(), [&](QvTree* node) {
            if (node->m_nLevel > 0)
                texts << node->GetText();
            return true;
        });
        return texts.join(' ');
    };
    const CXmlNode action = Element(
        "<query_to_tree_head table_id='6' target_ids='2' values='SELECT title_0 FROM head_t WHERE n&lt;5{{p1}} ORDER BY n'>"
        "<para_info_where><p value='10' where=\" OR title_0='{{self}}'\"/></para_info_where></query_to_tree_head>");
    ASSERT_TRUE(form->RunAction(action, 0, "CLICK"));
    EXPECT_EQ(header(), "组一 早班 中班 组二 夜班");
    // Depth 1, a value with an apostrophe through its fragment; the values
    // run out before the nodes.
    SetText(10, "O'Brien");
    const CXmlNode top = Element(
        "<query_to_tree_head table_id='6' target_ids='1' values=\"SELECT title_0 FROM head_t WHERE n=0{{p1}}\">"
        "<para_info_where><p value='10' where=\" OR title_0='{{self}}'\"/></para_info_where></query_to_tree_head>");
    ASSERT_TRUE(Actions().QueryToTreeHead(top, *form));
    EXPECT_EQ(header(), "O'Brien 早班 中班 组二 夜班");

    struct Case
    {
        QString xml;
        QString error;
    };
    const Case cases[] = {
        {"<query_to_tree_head target_ids='1' values='SELECT 1'/>", "未指定表格id"},
        {"<query_to_tree_head table_id='6' values='SELECT 1'/>", ""},
        {"<query_to_tree_head table_id='7' target_ids='1' values='SELECT 1'/>", ActionTexts::WrongControl + "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml.toStdString());
        Actions().m_db.m_strError.clear();
        EXPECT_FALSE(Actions().QueryToTreeHead(Element(c.xml), *form));
        EXPECT_EQ(Actions().m_db.m_strError, c.error);
    }
    // A parameter naming no control is left out like an empty one; its
    // reference stays in the error text.
    Actions().m_db.m_strError.clear();
    EXPECT_TRUE(Actions().QueryToTreeHead(
        Element("<query_to_tree_head table_id='6' target_ids='1' values='SELECT title_0 FROM head_t WHERE n=4{{p1}}'>"
                "<para_info_where><p value='99' where=' OR n=1'/></para_info_where></query_to_tree_head>"),
        *form));
    EXPECT_EQ(header(), "多余 早班 中班 组二 夜班");
    EXPECT_EQ(Actions().m_db.m_strError, ActionTexts::WrongControl + "99");
    ASSERT_TRUE(Actions().QueryToTreeHead(top, *form));
    // A failed query changes no text and is reported.
    EXPECT_FALSE(Actions().QueryToTreeHead(
        Element("<query_to_tree_head table_id='6' target_ids='1' values='SELECT x FROM no_such_table'/>"), *form));
    EXPECT_FALSE(Actions().m_db.m_strError.isEmpty());
    EXPECT_EQ(header(), "O'Brien 早班 中班 组二 夜班");
    // No rows: nothing to rename, no failure.
    EXPECT_TRUE(Actions().QueryToTreeHead(
        Element("<query_to_tree_head table_id='6' target_ids='1' values='SELECT title_0 FROM head_t WHERE n=0'/>"),
        *form));
}

TEST_P(ChartActionsTest, TheDemoShiftBoardBuildsLevelByLevel)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/62_shift_board.sql", failure))
        << failure.toStdString();
    OpenDemoForm("62_shift_board.xml");
    Fire(4);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EXPECT_EQ(Tree(1), "1() 11(1) 111(11) 112(11) 113(11) 12(1) 121(12) 122(12) 2() 21(2) 211(21) 212(21) 213(21)");
    EXPECT_EQ(Board(1)->FindNode("113")->m_item.m_strText3, "255,230,120,30");
    EXPECT_EQ(Board(1)->Header().Child(3)->Child(1)->GetText(), "实际出勤 0—24时");
    // Only the people of one post; their teams and workshops stay.
    SetText(3, "装配工");
    Fire(4);
    EXPECT_EQ(Tree(1), "1() 11(1) 112(11) 113(11) 12(1) 2() 21(2)");
    EXPECT_EQ(Board(1)->FindNode("112")->m_item.m_strText3, "255,52,120,246");
}

TEST_P(ChartActionsTest, TheDemoSalesChartDrawsTheGridItFilled)
{
    QString failure;
    ASSERT_TRUE(RunDemoDataScript(m_db, GetParam(), DemoSourceFolder() + "/data/61_sales_chart.sql", failure))
        << failure.toStdString();
    OpenDemoForm("61_sales_chart.xml");
    Fire(20);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    auto* picture = qobject_cast<QvPicture*>(Control(11));
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(picture->Grid(), nullptr);
    EXPECT_EQ(picture->Grid()->GetItemCount(), 12);
    EXPECT_EQ(picture->SeriesCount(), 2);
    EXPECT_EQ(picture->m_strTitle, "2026年月度销售");
    // The window of months: from row 3, six rows.
    Fire(22);
    EXPECT_EQ(picture->m_nFirstRow, 3);
    EXPECT_EQ(picture->m_nRowCount, 6);
    EXPECT_EQ(picture->m_strText4, "柱: 利润");
}

TEST_P(ChartActionsTest, TheOldChartKeywordDoesNothing)
{
    D_T1* form = Open(BoardControls);
    EXPECT_TRUE(form->RunAction(Element("<show_report6 table_id='5'/>"), 0, "CLICK"));
    EXPECT_TRUE(m_messages.isEmpty());
}

} // namespace

TEMBRA_ACTION_KINDS(ChartActionsTest);
