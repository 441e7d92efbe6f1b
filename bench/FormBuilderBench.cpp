// Opening a form of 30, 300 and 3,000 controls with the real builder, beside
// the same widgets created by hand at the same places: what the description,
// the builder and the form window cost on top of Qt itself, and whether the
// cost grows with the controls and no faster.
#include "D_T1.h"
#include "DropListBox.h"
#include "QvControls.h"

#include <QApplication>
#include <QDateTimeEdit>
#include "widgets/QvStatic.h"
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

constexpr int Kinds = 5;

QRect PlaceOf(int i)
{
    return QRect((i % 10) * 95, (i / 10) * 26, 90, 22);
}

QString LargeForm(int controlCount)
{
    QString controls;
    for (int i = 0; i < controlCount; ++i) {
        const QRect r = PlaceOf(i);
        const QString pos = QStringLiteral("%1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.right() + 1).arg(r.bottom() + 1);
        const int id = i + 1;
        switch (i % Kinds) {
        case 0:
            controls += QStringLiteral("<static id='%1' pos='%2' value='标签%1'/>").arg(id).arg(pos);
            break;
        case 1:
            controls += QStringLiteral("<textbox id='%1' pos='%2' value='文本%1'><ACTION><EN_CHANGE id='0'>"
                                       "<query_to_wnd sql='select 1'/></EN_CHANGE></ACTION></textbox>")
                            .arg(id).arg(pos);
            break;
        case 2:
            controls += QStringLiteral("<button id='%1' pos='%2' value='按钮%1' style='1'><ACTION><CLICK log='1'>"
                                       "<run_sql sql='update t set a=1 where uid_0={{c%1}}'/></CLICK></ACTION></button>")
                            .arg(id).arg(pos);
            break;
        case 3:
            controls += QStringLiteral("<droplist id='%1' pos='%2' value='甲;乙;丙'/>").arg(id).arg(pos);
            break;
        default:
            controls += QStringLiteral("<datectrl id='%1' pos='%2' value='2024-03-09'/>").arg(id).arg(pos);
            break;
        }
    }
    return QStringLiteral("<html version='1.0' id='0'><head title='大表单' pos='0,0,960,800'/>"
                          "<body><dialog>%1</dialog></body></html>").arg(controls);
}

void BM_OpenFormWithBuilder(benchmark::State& state)
{
    const int controlCount = int(state.range(0));
    const QString text = LargeForm(controlCount);
    for (auto _ : state) {
        D_T1 form;
        form.SetBuilder(std::make_unique<QvControls>());
        form.LoadDescription(text);
        form.Create();
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form.GetDlgItem(controlCount + D_T1::ControlIdBase));
    }
    state.SetItemsProcessed(state.iterations() * controlCount);
}
BENCHMARK(BM_OpenFormWithBuilder)->Arg(30)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_SameWidgetsByHand(benchmark::State& state)
{
    const int controlCount = int(state.range(0));
    const QFont font = QApplication::font();
    for (auto _ : state) {
        QDialog window;
        window.setWindowTitle(QStringLiteral("大表单"));
        window.setGeometry(0, 0, 960, 800);
        for (int i = 0; i < controlCount; ++i) {
            const int id = i + 1;
            QWidget* control = nullptr;
            switch (i % Kinds) {
            case 0:
                control = new CQvStatic(&window);
                static_cast<CQvStatic*>(control)->setText(QStringLiteral("标签%1").arg(id));
                break;
            case 1:
                control = new QLineEdit(QStringLiteral("文本%1").arg(id), &window);
                break;
            case 2:
                control = new QPushButton(QStringLiteral("按钮%1").arg(id), &window);
                break;
            case 3: {
                auto* list = new CDropListBox(&window);
                list->setEditable(true);
                list->addItems({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")});
                list->setCurrentIndex(-1);
                control = list;
                break;
            }
            default: {
                auto* date = new QDateTimeEdit(QDate(2024, 3, 9), &window);
                date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
                date->setCalendarPopup(true);
                control = date;
                break;
            }
            }
            control->setGeometry(PlaceOf(i));
            control->setFont(font);
        }
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(&window);
    }
    state.SetItemsProcessed(state.iterations() * controlCount);
}
BENCHMARK(BM_SameWidgetsByHand)->Arg(30)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond);

} // namespace
