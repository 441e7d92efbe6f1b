// One window with every control of the widgets library, laid out by the
// layout manager: resize it, drag the bar between the list and the tabs,
// hover and press the buttons, press F2 in the browse boxes.
//
//   widgets_showcase [--grab FILE]   (--grab saves the window as an image and ends)

#include "widgets/ButtonST.h"
#include "widgets/FileEditCtrl.h"
#include "widgets/HeaderCtrlQv.h"
#include "widgets/PJAImage.h"
#include "widgets/QvButton.h"
#include "widgets/QvStatic.h"
#include "widgets/QvTabCtrl.h"
#include "widgets/ShadeButtonST.h"
#include "widgets/WidgetImages.h"
#include "widgets/WndResizer.h"

#include <QApplication>
#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>

namespace {

// The image drawing's looks side by side: plain, transparent, grey,
// disabled, centred in a larger cell and stretched.
class ImageSamples : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter dc(this);
        dc.fillRect(rect(), QColor(255, 250, 220));
        const unsigned looks[] = {0,
                                  CPJAImage::DrawTransparent,
                                  CPJAImage::DrawTransparent | CPJAImage::DrawGrey,
                                  CPJAImage::DrawTransparent | CPJAImage::DrawDisabledLook,
                                  CPJAImage::DrawTransparent | CPJAImage::DrawCentre,
                                  CPJAImage::DrawTransparent | CPJAImage::DrawStretch};
        int x = 4;
        for (unsigned look : looks) {
            CPJAImage image;
            image.SetImage(LoadWidgetImage(IDB_PAGE_NEXT), CPJAImage::ImageBitmap);
            dc.setPen(QColor(200, 190, 150));
            dc.drawRect(x - 1, 3, 33, 25);
            image.Draw(dc, x, 4, 32, 24, look);
            x += 40;
        }
    }
};

class Showcase : public QDialog
{
public:
    Showcase()
    {
        setWindowTitle(QStringLiteral("控件一览"));
        resize(760, 520);

        auto* title = Add<CQvStatic>(1, QRect(12, 8, 300, 20));
        title->setText(QStringLiteral("按钮、标签页、浏览框与布局"));
        title->SetTextColor(MakeColorRef(0, 0, 160));

        auto* first = Add<CButtonST>(2, QRect(12, 34, 84, 28));
        first->setText(QStringLiteral("首页"));
        first->SetBitmapIds(IDB_PAGE_FIRST, 0xF8F8F8, 0, 0);
        first->SetTooltipText(QStringLiteral("第一页"));
        auto* next = Add<CButtonST>(3, QRect(100, 34, 84, 28));
        next->setText(QStringLiteral("下页"));
        next->SetBitmapIds(IDB_PAGE_NEXT, 0xF8F8F8, CButtonST::BTNST_AUTO_GRAY, 0);
        next->SetBtnCursor(true);
        auto* raised = Add<CButtonST>(4, QRect(188, 34, 84, 28));
        raised->setText(QStringLiteral("确定"));
        raised->SetFlat(false);
        raised->SetColor(CButtonST::BTNST_COLOR_FG_OUT, MakeColorRef(0, 0, 128));
        auto* check = Add<CButtonST>(5, QRect(276, 34, 84, 28));
        check->setText(QStringLiteral("选中"));
        check->PreSubclassWindow(CButtonST::CheckBoxStyleBit);
        check->SetCheck(true);
        check->SetColor(CButtonST::BTNST_COLOR_BK_IN, MakeColorRef(255, 230, 160));
        auto* coloured = Add<CButtonST>(6, QRect(364, 34, 84, 28));
        coloured->setText(QStringLiteral("彩色"));
        for (int slot : {0, 2, 4})
            coloured->SetColor(slot, MakeColorRef(150, 200, 255));
        coloured->SetColor(CButtonST::BTNST_COLOR_FG_FOCUS, 0x800000);
        auto* off = Add<CButtonST>(7, QRect(452, 34, 84, 28));
        off->setText(QStringLiteral("停用"));
        off->SetBitmapIds(IDB_PAGE_LAST, 0xF8F8F8, 0, 0);
        off->setEnabled(false);

        auto* filled = Add<CShadeButtonST>(8, QRect(12, 70, 100, 30));
        filled->setText(QStringLiteral("保存"));
        filled->SetShadeKind(CShadeButtonST::ShadeKind::Filled);
        filled->SetColor(CButtonST::BTNST_COLOR_BK_IN, MakeColorRef(120, 190, 250));
        auto* outline = Add<CShadeButtonST>(9, QRect(118, 70, 100, 30));
        outline->setText(QStringLiteral("查询"));
        auto* qv = Add<CQvButton>(10, QRect(224, 72, 80, 24));
        qv->setText(QStringLiteral("圆角"));

        auto* browse = Add<CFileEditCtrl>(11, QRect(320, 72, 200, 24));
        browse->setText(QStringLiteral("按 F2 浏览"));
        browse->SetButtonImage(LoadWidgetImage(IDI_BROWSE), CPJAImage::ImageIcon, CPJAImage::NoTransparentColor);
        browse->SetBrowseHandler([](CFileEditCtrl& box) { box.setText(QStringLiteral("已浏览")); });
        auto* left = Add<CFileEditCtrl>(12, QRect(526, 72, 110, 24));
        left->SetButtonSide(CFileEditCtrl::ButtonLeft);
        left->SetButtonImage(LoadWidgetImage(IDI_BROWSE), CPJAImage::ImageIcon, CPJAImage::NoTransparentColor);
        left->SetBackgroundColor(MakeColorRef(255, 255, 210));
        auto* disabled = Add<CFileEditCtrl>(13, QRect(642, 72, 106, 24));
        disabled->SetButtonImage(LoadWidgetImage(IDI_BROWSE), CPJAImage::ImageIcon, CPJAImage::NoTransparentColor);
        disabled->setText(QStringLiteral("停用"));
        disabled->setEnabled(false);

        Add<ImageSamples>(14, QRect(12, 108, 244, 32));

        auto* list = Add<QListWidget>(15, QRect(12, 148, 200, 360));
        for (int i = 1; i <= 20; ++i)
            list->addItem(QStringLiteral("菜单项 %1").arg(i));

        auto* tabs = Add<CQvTabCtrl>(16, QRect(218, 148, 530, 360));
        const QStringList names = {QStringLiteral("明细"), QStringLiteral("备注"), QStringLiteral("附件")};
        for (int i = 0; i < names.size(); ++i)
            tabs->AddPage(new QWidget, names.at(i), unsigned(i + 1));
        tabs->SetPageCreator([](QWidget* page, int index) {
            if (index == 0) {
                auto* table = new QTableView(page);
                auto* model = new QStandardItemModel(6, 4, table);
                model->setHorizontalHeaderLabels(
                    {QStringLiteral("编号"), QStringLiteral("名称"), QStringLiteral("数量"), QStringLiteral("金额")});
                for (int row = 0; row < 6; ++row)
                    for (int col = 0; col < 4; ++col)
                        model->setItem(row, col, new QStandardItem(QString::number((row + 1) * (col + 1))));
                table->setHorizontalHeader(new CHeaderCtrlQv(table));
                table->setModel(model);
                table->setGeometry(4, 4, 420, 220);
            } else {
                auto* label = new QLabel(QStringLiteral("第 %1 页").arg(index + 1), page);
                label->move(12, 12);
            }
        });
        tabs->CreatePages();

        m_resizer.Hook(this, [this](int id) { return m_controls.value(id); });
        m_resizer.SetAnchor(13, CWndResizer::ANCHOR_RIGHT | CWndResizer::ANCHOR_TOP);
        m_resizer.SetAnchor(12, CWndResizer::ANCHOR_RIGHT | CWndResizer::ANCHOR_TOP);
        m_resizer.SetAnchor(11, CWndResizer::ANCHOR_LEFT | CWndResizer::ANCHOR_RIGHT | CWndResizer::ANCHOR_TOP);
        m_resizer.CreateSplitContainer(QStringLiteral("main"), 15, 16);
        m_resizer.SetPanelAnchor(QStringLiteral("main"), CWndResizer::ANCHOR_ALL);
        m_resizer.SetShowSplitterGrip(QStringLiteral("main"), true);
        m_resizer.SetShowResizeGrip(true);
        m_resizer.InvokeOnResized();
    }

private:
    template <class Control>
    Control* Add(int id, const QRect& geometry)
    {
        auto* control = new Control(this);
        control->setGeometry(geometry);
        m_controls.insert(id, control);
        return control;
    }

    QHash<int, QWidget*> m_controls;
    CWndResizer m_resizer;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Showcase window;
    window.show();
    const QStringList args = app.arguments();
    const int grab = args.indexOf(QStringLiteral("--grab"));
    if (grab > 0 && grab + 1 < args.size()) {
        QTimer::singleShot(300, &window, [&] {
            app.exit(window.grab().save(args.at(grab + 1)) ? 0 : 1);
        });
    }
    return app.exec();
}
