// Opening a form of 300 controls: parsing the description and reading its
// head, and the whole window (controls built, head applied, shown).
#include "D_T1.h"
#include "FormDescription.h"
#include "FormHead.h"
#include "PlainControlBuilder.h"


#include <benchmark/benchmark.h>

namespace {

QString LargeForm()
{
    QString controls;
    for (int i = 1; i <= 300; ++i) {
        const int x = (i % 10) * 90;
        const int y = (i / 10) * 25;
        const QString pos = QStringLiteral("%1,%2,%3,%4").arg(x).arg(y).arg(x + 80).arg(y + 20);
        controls += i % 2 ? QStringLiteral("<button id='%1' pos='%2' value='按钮%1'><ACTION><CLICK log='1'>"
                                           "<run_sql sql='update t set a=1 where uid_0={{c%1}}'/></CLICK>"
                                           "</ACTION></button>").arg(i).arg(pos)
                          : QStringLiteral("<textbox id='%1' pos='%2' value=''><ACTION><EN_CHANGE id='0'>"
                                           "<query_to_wnd sql='select 1'/></EN_CHANGE></ACTION></textbox>")
                                .arg(i).arg(pos);
    }
    return QStringLiteral("<html version='1.0' id='0'><head title='大表单' pos='0,0,960,800' bg='1' "
                          "thread_id='1' time_split='60000' in_id='2'><in_id>1</in_id><HOTKEY><para_info>"
                          "<k id='3' value='1'/><k id='4' value='3'/></para_info></HOTKEY></head>"
                          "<body><dialog>%1</dialog></body></html>").arg(controls);
}

void BM_ParseFormHead(benchmark::State& state)
{
    const QString text = LargeForm();
    for (auto _ : state) {
        CFormDescription doc;
        QString error;
        doc.LoadForm(text, error);
        const CFormHead head = CFormHead::Read(doc.GetHead());
        RectLTRB pos;
        head.ReadPos(pos);
        benchmark::DoNotOptimize(CentredFormRect(pos, QSize(1920, 1040)));
    }
}
BENCHMARK(BM_ParseFormHead)->Unit(benchmark::kMicrosecond);

void BM_OpenFormWindow(benchmark::State& state)
{
    const QString text = LargeForm();
    for (auto _ : state) {
        D_T1 form;
        form.SetBuilder(std::make_unique<CPlainControlBuilder>());
        form.LoadDescription(text);
        form.Create();
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        benchmark::DoNotOptimize(form.GetDlgItem(1324));
    }
}
BENCHMARK(BM_OpenFormWindow)->Unit(benchmark::kMillisecond);

} // namespace
