#include "ControlText.h"
#include "D_T1.h"
#include "QvChart.h"
#include "QvGuiView.h"
#include "QvPicture.h"
#include "QvControls.h"
#include "RecordingEvents.h"
#include "TempFolder.h"
#include "text/AppState.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"

#include "grid/GridModel.h"
#include "grid/ListCtrlEx.h"
#include "text/IniFile.h"
#include "widgets/ButtonST.h"
#include "widgets/FileEditCtrl.h"
#include "widgets/QvButton.h"
#include "widgets/QvStatic.h"
#include "widgets/QvTabCtrl.h"
#include "widgets/ShadeButtonST.h"

#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using Fired = QList<QPair<QString, int>>;

class Builder : public ::testing::Test
{
protected:
    Builder()
    {
        m_previousSink = SetMessageSink([this](const QString& text) { messages << text; });
        SetModuleFolderOverride(folder.path());
        m_savedApp = theApp();
    }
    ~Builder() override
    {
        form.reset();
        theApp() = m_savedApp;
        SetModuleFolderOverride(QString());
        SetMessageSink(m_previousSink);
    }

    void Open(const QString& dialog, const QString& menuUid = QStringLiteral("0"))
    {
        form = std::make_unique<D_T1>();
        form->m_strMenuUid = menuUid;
        form->SetBuilder(std::make_unique<QvControls>());
        form->SetEvents(std::make_unique<RecordingEvents>(record));
        ASSERT_TRUE(form->LoadDescription(
            QStringLiteral("<html id='0'><head pos='0,0,640,480'/><body><dialog>%1</dialog></body></html>").arg(dialog)));
        ASSERT_TRUE(form->Create());
        form->setAttribute(Qt::WA_DeleteOnClose, false);
    }

    template <typename T>
    T* Control(int id) const
    {
        QWidget* widget = form->GetDlgItem(id + D_T1::ControlIdBase);
        EXPECT_NE(widget, nullptr) << "no control " << id;
        T* control = qobject_cast<T*>(widget);
        EXPECT_NE(control, nullptr) << "control " << id << " is a " << (widget ? widget->metaObject()->className() : "");
        return control;
    }


    TempFolder folder;
    std::unique_ptr<D_T1> form;
    RecordedEvents record;
    QStringList messages;

private:
    MessageSink m_previousSink;
    AppState m_savedApp;
};

TEST_F(Builder, FontsFromTheirSpecification)
{
    QvControls builder;
    EXPECT_FALSE(builder.CreateFontFromSpec(QString()).has_value());
    const QFont twelve = *builder.CreateFontFromSpec(QStringLiteral("12"));
    EXPECT_EQ(twelve.pixelSize(), 16);
    EXPECT_EQ(twelve.family(), builder.DefaultFace());
    const QFont kai = *builder.CreateFontFromSpec(QStringLiteral("12,楷体"));
    EXPECT_EQ(kai.pixelSize(), 16);
    EXPECT_EQ(kai.family(), QStringLiteral("楷体"));
    EXPECT_EQ(builder.CreateFontFromSpec(QStringLiteral("9,a,b"))->family(), builder.DefaultFace());
    EXPECT_EQ(builder.CreateFontFromSpec(QStringLiteral("10"))->pixelSize(), 13);
}

TEST_F(Builder, BuildsEveryElementKind)
{
    theApp().m_strUserName = QStringLiteral("张三");
    Open(QStringLiteral(
        "<static id='1' pos='10,20,110,45' value='经办:{{username}}' color='255,0,0' font='12'/>"
        "<qvbutton id='2' pos='120,20,200,45' value='{{username}}'/>"
        "<pic id='3' pos='10,50,110,100' value='x'/>"
        "<gui id='4' pos='120,50,220,100'/>"
        "<button id='5' pos='10,110,90,135' value='保存' font='10,楷体'/>"
        "<button id='6' pos='100,110,180,135' value='选中' style='3'/>"
        "<button id='7' pos='190,110,270,135' value='甲' style='9' disabled='1'/>"
        "<button id='8' pos='280,110,360,135' value='&lt;a href=\"x\"&gt;链接&lt;/a&gt;' popup='1' style='3'/>"
        "<textbox id='9' pos='10,140,200,165' value='{{username}}' maxlen='4'/>"
        "<textbox id='10' pos='210,140,400,200' style='4' value='多行'/>"
        "<textbox id='11' pos='410,140,600,165' readonly='1' hidden='1'/>"
        "<droplist id='12' pos='10,210,200,235' value='甲;{{username}};丙'/>"
        "<droplist id='13' pos='210,210,400,235' style='3'/>"
        "<datectrl id='14' pos='10,240,200,265' value='2024-03-09'/>"
        "<datectrl id='15' pos='210,240,400,265' value='不是日期' readonly='1'/>"
        "<tree id='16' pos='10,270,200,400' value='忽略' hidden='1'/>"
        "<treelist id='17' pos='210,270,600,400'><PARA><head_info>"
        "<col title='组' width='80' height='20' menu_id='3'><col title='甲' width='40' height='20' type='1'/>"
        "<col title='乙' width='40' height='20'/></col><col title='备注' width='100' height='40'/>"
        "</head_info></PARA></treelist>"
        "<unknown id='18' pos='0,0,10,10'/>"
        "<button id='19' pos='1,2,3' value='坏'/>"));

    auto* label = Control<CQvStatic>(1);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->geometry(), QRect(10, 20, 100, 25));
    EXPECT_EQ(label->text(), QStringLiteral("经办:张三"));
    EXPECT_EQ(label->font().pixelSize(), 16);
    EXPECT_EQ(label->GetTextColor(), MakeColorRef(255, 0, 0));

    EXPECT_EQ(Control<CQvButton>(2)->text(), QStringLiteral("张三"));
    EXPECT_EQ(Control<QvPicture>(3)->geometry(), QRect(10, 50, 100, 50));
    EXPECT_NE(dynamic_cast<QvGuiView*>(form->GetDlgItem(1028)), nullptr);
    EXPECT_EQ(form->GetControlKind(1028), QStringLiteral("gui"));

    auto* save = Control<CButtonST>(5);
    EXPECT_EQ(save->font().family(), QStringLiteral("楷体"));
    EXPECT_EQ(save->font().pixelSize(), 13);
    EXPECT_FALSE(save->autoDefault());
    EXPECT_NE(Control<QCheckBox>(6), nullptr);
    EXPECT_FALSE(Control<QRadioButton>(7)->isEnabled());
    EXPECT_TRUE(Control<QLabel>(8)->text().contains(QStringLiteral("链接")));

    auto* edit = Control<QLineEdit>(9);
    EXPECT_EQ(edit->text(), QStringLiteral("张三"));
    EXPECT_EQ(edit->font(), form->GetBuilder()->DefaultFont());
    auto* multi = Control<QPlainTextEdit>(10);
    EXPECT_EQ(multi->toPlainText(), QStringLiteral("多行"));
    EXPECT_EQ(multi->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(Control<QLineEdit>(11)->isReadOnly());
    EXPECT_TRUE(Control<QLineEdit>(11)->isHidden());

    auto* list = Control<QComboBox>(12);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(1), QStringLiteral("张三"));
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_TRUE(list->isEditable());
    EXPECT_FALSE(Control<QComboBox>(13)->isEditable());

    auto* date = Control<QDateTimeEdit>(14);
    EXPECT_EQ(date->date(), QDate(2024, 3, 9));
    EXPECT_EQ(date->displayFormat(), QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(Control<QDateTimeEdit>(15)->date(), QDate::currentDate());
    EXPECT_FALSE(Control<QDateTimeEdit>(15)->isEnabled());

    EXPECT_FALSE(Control<QTreeWidget>(16)->isHidden()); // trees know no "hidden"

    auto* chart = Control<QvChart>(17);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->windowTitle(), QStringLiteral("TreeList"));
    ASSERT_EQ(chart->Header().ChildCount(), 2);
    const QvTree* group = chart->Header().Child(0);
    EXPECT_EQ(group->GetText(), QStringLiteral("组"));
    ASSERT_EQ(group->ChildCount(), 2);
    EXPECT_EQ(group->Child(0)->m_item.m_nKind, 1);
    EXPECT_EQ(group->Child(1)->m_nNumber, 3); // the parent's button number
    EXPECT_EQ(group->Child(0)->m_nNumber, 3);
    EXPECT_EQ(chart->Header().Child(1)->m_nNumber, 0);

    EXPECT_EQ(form->GetDlgItem(1042), nullptr);
    EXPECT_EQ(form->GetDlgItem(1043)->pos(), QPoint(0, 0));
    EXPECT_EQ(messages, QStringList{QStringLiteral("矩形数据格式错误")});

    QList<int> order;
    for (const D_T1::Control& control : form->GetControls())
        order.append(control.windowId - D_T1::ControlIdBase);
    EXPECT_EQ(order, QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19}));
}

TEST_F(Builder, EditBoxesTakeTheirStyleBitsAndLimits)
{
    Open(QStringLiteral(
        "<textbox id='1' pos='0,0,150,22' style='32'/>"
        "<textbox id='2' pos='0,30,150,52' style='8'/>"
        "<textbox id='3' pos='0,60,150,82' style='8192'/>"
        "<editbutton id='4' pos='200,0,350,22' style='32'/>"
        "<editbutton id='5' pos='200,30,350,52' style='8' popup='0'/>"
        "<editbutton id='6' pos='200,60,350,82' style='8193'/>"
        "<editbutton id='7' pos='200,90,350,112' style='2050'/>"
        "<textbox id='8' pos='0,120,150,200' style='4' maxlen='5' value='多行'/>"
        "<textbox id='9' pos='200,120,350,200' style='5' maxlen='3' value='长长的多行文字'/>"));
    const struct
    {
        int id;
        QLineEdit::EchoMode echo;
        Qt::Alignment alignment;
        bool readOnly;
        QString typed; // what "ab1" gives
    } cases[] = {
        {1, QLineEdit::Password, Qt::AlignLeft, false, QStringLiteral("ab1")},
        {2, QLineEdit::Normal, Qt::AlignLeft, false, QStringLiteral("AB1")},
        {3, QLineEdit::Normal, Qt::AlignLeft, false, QStringLiteral("1")},
        {4, QLineEdit::Password, Qt::AlignLeft, false, QStringLiteral("ab1")},
        {5, QLineEdit::Normal, Qt::AlignLeft, false, QStringLiteral("AB1")},
        {6, QLineEdit::Normal, Qt::AlignHCenter, false, QStringLiteral("1")},
        {7, QLineEdit::Normal, Qt::AlignRight, true, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        auto* edit = Control<QLineEdit>(c.id);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->echoMode(), c.echo);
        EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, c.alignment);
        EXPECT_EQ(edit->isReadOnly(), c.readOnly);
        QTest::keyClicks(edit, QStringLiteral("ab1"));
        EXPECT_EQ(edit->text(), c.typed);
    }
    EXPECT_NE(qobject_cast<CFileEditCtrl*>(Control<QLineEdit>(5)), nullptr);

    // A multi-line box takes in no more typing than its maximum, a line
    // break counting two; a longer first value, or a text the program puts
    // in, stays whole.
    auto* multi = Control<QPlainTextEdit>(8);
    multi->moveCursor(QTextCursor::End);
    QTest::keyClicks(multi, QStringLiteral("abcdef"));
    EXPECT_EQ(multi->toPlainText(), QStringLiteral("多行abc"));
    multi->setPlainText(QStringLiteral("ab"));
    multi->moveCursor(QTextCursor::End);
    QTest::keyClick(multi, Qt::Key_Return);
    QTest::keyClicks(multi, QStringLiteral("cdef"));
    EXPECT_EQ(multi->toPlainText(), QStringLiteral("ab\nc"));
    multi->setPlainText(QStringLiteral("ab\ncdef"));
    EXPECT_EQ(multi->toPlainText(), QStringLiteral("ab\ncdef"));
    auto* longer = Control<QPlainTextEdit>(9);
    EXPECT_EQ(longer->toPlainText(), QStringLiteral("长长的多行文字"));
    longer->moveCursor(QTextCursor::End);
    QTest::keyClicks(longer, QStringLiteral("x"));
    EXPECT_EQ(longer->toPlainText(), QStringLiteral("长长的多行文字"));
}

// "maxlen" holds back what the user types or pastes, never what the
// program puts in: the first value and texts set later stay whole.
TEST_F(Builder, TextLimitsHoldOnlyTheUsersInput)
{
    Open(QStringLiteral("<textbox id='1' pos='0,0,150,22' maxlen='5' value='0123456789'/>"
                        "<editbutton id='2' pos='0,30,150,52' maxlen='5' value='0123456789'/>"
                        "<textbox id='3' pos='0,60,150,140' style='4' maxlen='5' value='0123456789'/>"
                        "<textbox id='4' pos='200,0,350,22' style='8200' maxlen='5' value='12345678'/>"));
    const auto typeAtEnd = [](QWidget* box, const QString& text) {
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, text);
    };
    for (const int id : {1, 2, 3}) {
        SCOPED_TRACE(id);
        QWidget* box = form->GetDlgItem(id + D_T1::ControlIdBase);
        ASSERT_NE(box, nullptr);
        box->setFocus();
        EXPECT_EQ(GetControlText(box), QStringLiteral("0123456789")) << "the first value was cut";
        // Longer than the limit: the user takes characters away, adds none.
        typeAtEnd(box, QStringLiteral("x"));
        EXPECT_EQ(GetControlText(box), QStringLiteral("0123456789"));
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(GetControlText(box), QStringLiteral("012345678"));
        SetControlText(box, QStringLiteral("abcdefghijkl"));
        EXPECT_EQ(GetControlText(box), QStringLiteral("abcdefghijkl")) << "a text set by the program was cut";
        SetControlText(box, QString());
        typeAtEnd(box, QStringLiteral("abcdefg"));
        EXPECT_EQ(GetControlText(box), QStringLiteral("abcde"));
        // A paste goes in as far as there is room, in the middle too.
        SetControlText(box, QStringLiteral("ab"));
        QApplication::clipboard()->setText(QStringLiteral("123456"));
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Right);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(GetControlText(box), QStringLiteral("a123b"));
    }
    // The limit works beside the style's digits-only rule.
    auto* digits = Control<QLineEdit>(4);
    EXPECT_EQ(digits->text(), QStringLiteral("12345678"));
    digits->clear();
    QTest::keyClicks(digits, QStringLiteral("1a2345678"));
    EXPECT_EQ(digits->text(), QStringLiteral("12345"));
}

TEST_F(Builder, OwnerDrawnButtonsTakeTheirImagesAndColours)
{
    QImage picture(12, 12, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(folder.file(QStringLiteral("red.png")));
    Open(QStringLiteral("<button id='1' pos='0,0,80,25' value='下页' img='3' desp='下一页'/>"
                        "<button id='2' pos='0,30,80,55' value='图' img='red.png' color='0,0,255'/>"
                        "<button id='3' pos='0,60,80,85' value='阴影' maxlen='2' img='3' shade='10,20,30' color='1,2,3'/>"
                        "<button id='4' pos='0,90,80,115' value='淡' maxlen='1' shade='1' color='9,8,7'/>"));
    struct Case
    {
        int id;
        bool shaded;
        COLORREF focusText, hoverBack, normalText, focusBack;
    };
    const Case cases[] = {
        {1, false, MakeColorRef(0, 0, 128), 0, 0, 0},
        {2, false, MakeColorRef(0, 0, 128), 0, MakeColorRef(0, 0, 255), 0},
        {3, true, MakeColorRef(1, 2, 3), MakeColorRef(10, 20, 30), MakeColorRef(1, 2, 3), MakeColorRef(10, 20, 30)},
        {4, true, MakeColorRef(0, 0, 128), MakeColorRef(9, 8, 7), 0, MakeColorRef(9, 8, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        auto* button = Control<CButtonST>(c.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(qobject_cast<CShadeButtonST*>(button) != nullptr, c.shaded);
        COLORREF colour = 1;
        button->GetColor(CButtonST::BTNST_COLOR_FG_FOCUS, &colour);
        EXPECT_EQ(colour, c.focusText);
        if (c.hoverBack) {
            button->GetColor(CButtonST::BTNST_COLOR_BK_IN, &colour);
            EXPECT_EQ(colour, c.hoverBack);
            button->GetColor(CButtonST::BTNST_COLOR_BK_FOCUS, &colour);
            EXPECT_EQ(colour, c.focusBack);
        }
        button->GetColor(CButtonST::BTNST_COLOR_FG_OUT, &colour);
        if (c.normalText || c.shaded) {
            EXPECT_EQ(colour, c.normalText);
        }
    }
    EXPECT_EQ(qobject_cast<CShadeButtonST*>(Control<CButtonST>(3))->GetShadeKind(),
              CShadeButtonST::ShadeKind::Filled);
    EXPECT_EQ(qobject_cast<CShadeButtonST*>(Control<CButtonST>(4))->GetShadeKind(),
              CShadeButtonST::ShadeKind::Outline);
    // The image of the paging arrow and of the file show in the drawn button.
    const QImage arrow = Control<CButtonST>(1)->grab().toImage();
    const QImage file = Control<CButtonST>(2)->grab().toImage();
    int blue = 0, red = 0;
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 80; ++x) {
            const QColor a = arrow.pixelColor(x, y), f = file.pixelColor(x, y);
            blue += a.blue() > 150 && a.red() < 120;
            red += f.red() > 200 && f.green() < 60 && f.blue() < 60;
        }
    }
    EXPECT_GT(blue, 10);
    EXPECT_GE(red, 100);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Builder, EditButtonsKnowTheirPicker)
{
    form = std::make_unique<D_T1>();
    form->SetBuilder(std::make_unique<QvControls>());
    ASSERT_TRUE(form->LoadDescription(QStringLiteral(
        "<html id='0'><body><dialog>"
        "<editbutton id='1' pos='0,0,150,22' value='长文本' img='255,0,0' color='0,0,255' maxlen='8'/>"
        "<editbutton id='2' pos='0,30,150,52' popup='0'/>"
        "<editbutton id='3' pos='0,60,150,82' popup='12' shade='1' hidden='1'/>"
        "<editbutton id='4' pos='0,90,150,112' popup='12' readonly='0'/>"
        "<editbutton id='5' pos='0,120,150,142' popup='13'/>"
        "</dialog><popup><html id='12' title='选择'><body/></html></popup></body></html>")));
    ASSERT_TRUE(form->Create());
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    const auto box = [&](int id) { return qobject_cast<CFileEditCtrl*>(form->GetDlgItem(id + 1024)); };
    ASSERT_NE(box(1), nullptr);
    EXPECT_EQ(box(1)->text(), QStringLiteral("长文本"));
    EXPECT_EQ(box(1)->m_nBrowseKind, CFileEditCtrl::BrowseTextDialog);
    EXPECT_EQ(box(1)->m_pOwnerForm, form.get());
    EXPECT_FALSE(box(1)->ButtonRect().isEmpty());
    EXPECT_TRUE(box(2)->ButtonRect().isEmpty());
    EXPECT_EQ(box(3)->m_nBrowseKind, CFileEditCtrl::BrowseFormPicker);
    EXPECT_EQ(box(3)->m_strPopup, QStringLiteral("12"));
    EXPECT_TRUE(box(3)->m_strSubForm.contains(QStringLiteral("选择")));
    EXPECT_EQ(box(3)->m_nOpenBelow, 1);
    EXPECT_TRUE(box(3)->isHidden());
    EXPECT_TRUE(box(4)->isReadOnly());
    EXPECT_TRUE(box(4)->ButtonRect().isEmpty());
    EXPECT_FALSE(box(3)->isReadOnly());
    EXPECT_TRUE(box(5)->m_strSubForm.isEmpty());
}

TEST_F(Builder, TablesTakeColumnsEditorsSortsAndSavedWidths)
{
    theApp().m_strUserUid = QStringLiteral("17");
    WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("TABLECOLS"), QStringLiteral("T5_3_2_17"), QStringLiteral("80"));
    WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("TABLECOLS"), QStringLiteral("T5_3_1_17"), QStringLiteral("120"));
    Open(QStringLiteral("<textbox id='40' pos='0,0,50,20' hidden='1'/>"
                        "<table id='3' pos='10,30,410,230'><PARA>"
                        "<table_info><para_info is_col_color='1'/></table_info><col_info>"
                        "<col id='1' title='隐藏' width='0'/>"
                        "<col id='0' title='无id' width='50'/>"
                        "<col id='2' col_id='2' title='别处' width='50'/>"
                        "<col id='3' title='数量' width='60' format='1' sort='1' color_bg='255,250,220' hidden_wnd='40'/>"
                        "<col id='4' title='日期' width='100' sort='3' color_text='0,0,255' hidden_wnd='99'/>"
                        "</col_info></PARA></table>"
                        "<table id='4' pos='10,240,410,300'/>"),
         QStringLiteral("5"));
    auto* grid = Control<CListCtrlEx>(3);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GetMenuUid(), 5);
    EXPECT_EQ(grid->GetTableId(), 3);
    EXPECT_TRUE(grid->IsZebraOff());
    EXPECT_FALSE(Control<CListCtrlEx>(4)->IsZebraOff());
    EXPECT_EQ(grid->GetOwnerForm(), form.get());
    ASSERT_EQ(grid->GetColumnCount(), 3);
    struct Column
    {
        const char* title;
        int width;
        int sortFlags;
        int kind;
        COLORREF back, text;
        QWidget* editor;
        bool callbacks;
    };
    const Column expected[] = {
        {"隐藏", 0, 0, 0, MakeColorRef(255, 255, 255), 0, nullptr, false},
        {"数量", 80, kSortToggles, 5, MakeColorRef(255, 250, 220), 0, form->GetDlgItem(1064), true},
        {"日期", 100, kSortToggles, 7, MakeColorRef(255, 255, 255), MakeColorRef(0, 0, 255), nullptr, true},
    };
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        const Column& c = expected[n];
        EXPECT_EQ(grid->GetColumnTitle(n), QString::fromUtf8(c.title));
        EXPECT_EQ(grid->GetColumnWidth(n), c.width);
        const ColumnInfo* info = grid->GetColumnInfo(n);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->nSortFlags, c.sortFlags);
        EXPECT_EQ(info->nCompareKind, c.kind);
        EXPECT_EQ(info->clrBack, c.back);
        EXPECT_EQ(info->clrText, c.text);
        EXPECT_EQ(info->editor.pWnd, c.editor);
        EXPECT_EQ(bool(info->editor.pfnEndEdit), c.callbacks);
    }
}

TEST_F(Builder, CellEditorsCarryTextBothWays)
{
    Open(QStringLiteral("<textbox id='40' pos='0,0,50,20'/>"
                        "<droplist id='41' pos='0,0,50,20' style='3' value='甲方;乙方'/>"
                        "<datectrl id='42' pos='0,0,50,20'/>"
                        "<table id='3' pos='10,30,410,230'/>"));
    auto* grid = Control<CListCtrlEx>(3);
    grid->InsertColumn(0, QStringLiteral("a"), 0, 50);
    grid->InsertColumn(1, QStringLiteral("b"), 0, 50);
    for (int row = 0; row < 2; ++row) {
        grid->InsertRow(row, QStringLiteral("5"));
        grid->SetRowData(row, nullptr, QString::number(row), row == 0 ? kRowUnchanged : kRowNew);
    }
    QWidget* edit = form->GetDlgItem(1064);
    QWidget* list = form->GetDlgItem(1065);
    QWidget* date = form->GetDlgItem(1066);

    QvControls::ShowCellInEditor(&edit, 0, 0, QStringLiteral("5"), nullptr, grid, 0);
    EXPECT_EQ(qobject_cast<QLineEdit*>(edit)->selectedText(), QStringLiteral("5"));
    QvControls::ShowCellInEditor(&list, 0, 1, QStringLiteral("乙"), nullptr, grid, 0);
    EXPECT_EQ(qobject_cast<QComboBox*>(list)->currentIndex(), 1);
    QvControls::ShowCellInEditor(&date, 0, 1, QStringLiteral("2024-03-09"), nullptr, grid, 0);
    EXPECT_EQ(qobject_cast<QDateTimeEdit*>(date)->date(), QDate(2024, 3, 9));

    QString text = QStringLiteral("5");
    EXPECT_EQ(QvControls::StoreEditorInCell(&edit, 0, 0, text, nullptr, grid, 1), 0); // unchanged
    EXPECT_EQ(grid->GetRowKey(0)->nState, kRowUnchanged);
    EXPECT_TRUE(record.endEdits.isEmpty());

    qobject_cast<QLineEdit*>(edit)->setText(QStringLiteral("7"));
    EXPECT_EQ(QvControls::StoreEditorInCell(&edit, 0, 0, text, nullptr, grid, 0), 0); // cancelled
    EXPECT_EQ(QvControls::StoreEditorInCell(&edit, 0, 0, text, nullptr, grid, 1), 1);
    EXPECT_EQ(text, QStringLiteral("7"));
    EXPECT_EQ(grid->GetItemText(0, 0), QStringLiteral("7"));
    EXPECT_EQ(grid->GetRowKey(0)->nState, kRowChanged);
    text = QStringLiteral("5");
    EXPECT_EQ(QvControls::StoreEditorInCell(&edit, 1, 0, text, nullptr, grid, 1), 1);
    EXPECT_EQ(grid->GetRowKey(1)->nState, kRowNew);
    EXPECT_EQ(record.endEdits, QList<QList<int>>({{1027, 0, 0}, {1027, 1, 0}}));
}

TEST_F(Builder, EditableListsGiveTheTextTheUserSees)
{
    Open(QStringLiteral("<droplist id='41' pos='10,0,150,24' value='甲方;乙方'/>"
                        "<droplist id='42' pos='0,0,120,20' hidden='1' value='甲方;乙方'/>"
                        "<textbox id='43' pos='160,0,300,24'/>"
                        "<table id='3' pos='10,30,410,230'><PARA><col_info>"
                        "<col id='1' title='单位' width='150' hidden_wnd='42'/></col_info></PARA></table>"));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* grid = Control<CListCtrlEx>(3);
    grid->InsertRow(0, QString());
    grid->SetRowData(0, nullptr, QStringLiteral("8"), kRowUnchanged);
    QCoreApplication::processEvents();
    const auto click = [this](QWidget* control, QPoint point) {
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, control->mapTo(form.get(), point));
        QCoreApplication::processEvents();
    };
    // The user opens the list, goes down to an entry, takes it and types behind it.
    const auto chooseAndType = [](const QString& more) {
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_F4);
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Down);
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_End);
        QTest::keyClicks(static_cast<QWidget*>(nullptr), more);
        QCoreApplication::processEvents();
    };

    auto* filter = Control<QComboBox>(41);
    click(filter, {10, 10});
    chooseAndType(QStringLiteral("X"));
    EXPECT_EQ(filter->currentText(), QStringLiteral("乙方X"));
    EXPECT_EQ(CFormActions::GetWindowValue(filter), QStringLiteral("乙方X"));

    click(grid->viewport(), grid->visualRect(grid->GetModel()->index(0, 0)).center());
    ASSERT_TRUE(grid->IsEditing());
    chooseAndType(QStringLiteral("Y"));
    click(Control<QLineEdit>(43), {5, 5});
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->GetItemText(0, 0), QStringLiteral("乙方Y"));
    EXPECT_EQ(grid->GetRowKey(0)->nState, kRowChanged);
}

TEST_F(Builder, AltKeyCommitsTheOpenCellEdit)
{
    Open(QStringLiteral("<textbox id='40' pos='0,0,50,20' hidden='1'/>"
                        "<table id='3' pos='10,30,410,230'><PARA><col_info>"
                        "<col id='1' title='数量' width='80' hidden_wnd='40'/></col_info></PARA></table>"));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* grid = Control<CListCtrlEx>(3);
    grid->InsertRow(0, QStringLiteral("5"));
    grid->SetRowData(0, nullptr, QStringLiteral("8"), kRowUnchanged);
    ASSERT_TRUE(grid->BeginEdit(0, 0));
    auto* editor = Control<QLineEdit>(40);
    editor->setText(QStringLiteral("6"));
    editor->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == editor; }));
    QTest::keyClick(editor, Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->GetItemText(0, 0), QStringLiteral("6"));
    EXPECT_EQ(grid->GetRowKey(0)->nState, kRowChanged);
    EXPECT_EQ(record.endEdits, QList<QList<int>>({{1027, 0, 0}}));
}

TEST_F(Builder, ControlsReportTheirNotifications)
{
    Open(QStringLiteral("<button id='5' pos='10,10,90,35' value='保存'/>"
                        "<button id='8' pos='100,10,180,35' value='&lt;a href=\"x\"&gt;链接&lt;/a&gt;' popup='1'/>"
                        "<textbox id='9' pos='10,40,200,65'/>"
                        "<droplist id='22' pos='10,70,200,95'/>"));
    QTest::mouseClick(Control<CButtonST>(5), Qt::LeftButton);
    Control<QLabel>(8)->linkActivated(QStringLiteral("x"));
    QTest::keyClicks(Control<QLineEdit>(9), "a");
    Control<QComboBox>(22)->showPopup();
    Control<QComboBox>(22)->hidePopup();
    ASSERT_GE(record.fired.size(), 4);
    const Fired expected = {{"CLICK", 1029}, {"CLICK", 1032}, {"EN_CHANGE", 1033}, {"CLICK", 1046}};
    EXPECT_EQ(record.fired.mid(0, 4), expected);
}

TEST_F(Builder, LayoutAnchorsControlsAndJoinsSplitPairs)
{
    Open(QStringLiteral("<textbox id='1' pos='10,10,100,30' director='15'/>"
                        "<textbox id='2' pos='10,40,100,60' director='15' hidden='2'/>"
                        "<textbox id='3' pos='200,40,300,60'/>"
                        "<table id='4' pos='10,100,190,290'/>"
                        "<table id='5' pos='200,100,390,290'/>"
                        "<split value='4;5'/><split value='6'/>"));
    const QSize opened = form->size();
    const QRect first = form->GetDlgItem(1025)->geometry();
    const QRect left = form->GetDlgItem(1028)->geometry();
    const QRect right = form->GetDlgItem(1029)->geometry();
    // The window frame's share of the head's place leaves the layout as designed.
    EXPECT_EQ(first.topLeft(), QPoint(10, 10));
    EXPECT_LE(qAbs(first.width() - 90), 1);
    form->resize(opened + QSize(100, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->GetDlgItem(1025)->geometry(), first.adjusted(0, 0, 100, 100));
    EXPECT_EQ(form->GetDlgItem(1026)->geometry(), QRect(10, 40, 90, 20)); // left to itself
    EXPECT_EQ(form->GetDlgItem(1027)->geometry(), QRect(200, 40, 100, 20));
    // The pair fills what grew, both ways, and stays side by side.
    const QRect newLeft = form->GetDlgItem(1028)->geometry();
    const QRect newRight = form->GetDlgItem(1029)->geometry();
    EXPECT_EQ(newLeft.left(), left.left());
    EXPECT_EQ(newRight.right(), right.right() + 100);
    EXPECT_EQ(newLeft.bottom(), left.bottom() + 100);
    EXPECT_GT(newLeft.width(), left.width());
    EXPECT_GT(newRight.width(), right.width());
    EXPECT_LT(newLeft.right(), newRight.left());
}

TEST_F(Builder, RootIdMinusOneAndMissingBodyBuildNothing)
{
    form = std::make_unique<D_T1>();
    form->SetBuilder(std::make_unique<QvControls>());
    ASSERT_TRUE(form->LoadDescription(QStringLiteral("<html id='-1'><body><dialog><textbox id='1'/></dialog></body></html>")));
    ASSERT_TRUE(form->Create());
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    EXPECT_TRUE(form->GetControls().isEmpty());

    form = std::make_unique<D_T1>();
    form->SetBuilder(std::make_unique<QvControls>());
    ASSERT_TRUE(form->LoadDescription(QStringLiteral("<html id='0'/>")));
    ASSERT_TRUE(form->Create());
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    EXPECT_TRUE(form->GetControls().isEmpty());
    EXPECT_FALSE(CXmlNode(form->m_doc.SelectSingleNode(QStringLiteral("/html/body/dialog"))).IsNull());
}

TEST_F(Builder, PanelPagesAreFormsOfTheirOwn)
{
    Open(QStringLiteral("<panel id='30' pos='10,10,400,300'>"
                        "<html id='31' title='基本'><head/><body><dialog>"
                        "<textbox id='2' pos='5,5,100,25' value='{{index}}'/></dialog></body></html>"
                        "<note/>"
                        "<html id='32' title='明细'><body><dialog><button id='2' pos='5,5,80,25' value='第二页'/>"
                        "</dialog></body></html></panel>"));
    D_T1* first = form->GetPage(1054, 1);
    D_T1* second = form->GetPage(1054, 2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(form->GetPage(1054, 3), nullptr);
    EXPECT_TRUE(first->m_bPage);
    EXPECT_EQ(first->m_pOpener, form.get());
    EXPECT_EQ(first->m_strFormId, QStringLiteral("31"));
    ASSERT_NE(first->GetBuilder(), nullptr); // a builder of its own, with its own font and database object
    EXPECT_NE(first->GetBuilder(), form->GetBuilder());
    EXPECT_NE(&first->GetBuilder()->Database(), &form->GetBuilder()->Database());
    EXPECT_NE(qobject_cast<QLineEdit*>(first->GetDlgItem(1026)), nullptr);
    auto* tabs = Control<CQvTabCtrl>(30);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetPageCount(), 2);
    EXPECT_EQ(tabs->GetPageName(1), QStringLiteral("明细"));
    EXPECT_EQ(tabs->GetPage(1), second);
    tabs->SetCurSel(1);
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(first->isVisible());
    QTest::mouseClick(qobject_cast<QAbstractButton*>(second->GetDlgItem(1026)), Qt::LeftButton);
    EXPECT_TRUE(record.fired.contains(qMakePair(QStringLiteral("CLICK"), 1026)));
}

} // namespace
