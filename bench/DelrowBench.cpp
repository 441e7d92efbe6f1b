// delrow on 5,000 selected rows (every tenth) of a 50,000-row grid of a real
// form, stored rows with keys listed by the last fill, beside rebuilding the
// same grid with the 45,000 rows it keeps. The grid is filled (and the rows
// selected) outside the timing.
#include "D_T1.h"
#include "QvControls.h"
#include "grid/GridModel.h"
#include "grid/ListCtrlEx.h"
#include "xml/XmlDocument.h"

#include <QCoreApplication>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <benchmark/benchmark.h>

#include <memory>

namespace
{
constexpr int kRows = 50000;
constexpr int kEvery = 10; // every tenth row is selected: 5,000 rows
constexpr int kKept = kRows - kRows / kEvery;

const char* const kForm =
    "<html id='0'><head title='t' pos='0,0,640,480'/><body><dialog>"
    "<table id='7' pos='0,0,600,460'><PARA><col_info><col id='1' title='名称' width='120'/>"
    "<col id='2' title='编码' width='80'/><col id='3' title='数量' width='80'/></col_info></PARA></table>"
    "</dialog></body></html>";

const char* const kAction = "<delrow><para_info table_id='7'/></delrow>";

// Empties the grid and appends rows 1 to kRows (or only those delrow keeps)
// as stored rows, row n with key n; gives the keys joined by ",".
QString Refill(CListCtrlEx* grid, bool keptOnly)
{
    grid->DeleteAllRows();
    QStringList keys;
    for (int n = 1; n <= kRows; ++n) {
        if (keptOnly && n % kEvery == 0)
            continue;
        const int row = grid->InsertRow(grid->GetItemCount(), QStringLiteral("名称 %1").arg(n));
        grid->SetItemText(row, 1, QStringLiteral("C%1").arg(n));
        grid->SetItemText(row, 2, QString::number(n % 97));
        grid->SetRowData(row, nullptr, QString::number(n), kRowUnchanged);
        keys.append(QString::number(n));
    }
    QCoreApplication::processEvents();
    return keys.join(u',');
}

// A form with the grid, or a skipped benchmark.
struct BenchForm
{
    explicit BenchForm(benchmark::State& state)
    {
        form.SetBuilder(std::make_unique<QvControls>());
        if (form.LoadDescription(QString::fromUtf8(kForm)) && form.Create())
            grid = qobject_cast<CListCtrlEx*>(form.GetDlgItem(7 + D_T1::ControlIdBase));
        if (!grid)
            state.SkipWithError("form not built");
    }

    D_T1 form;
    CListCtrlEx* grid = nullptr;
};

void BM_DelrowSelected(benchmark::State& state)
{
    BenchForm bench(state);
    CXmlDocument document;
    document.LoadXml(QString::fromUtf8(kAction));
    const CXmlNode action = *document.GetRoot();
    CFormActions& actions = bench.form.m_actions;
    for (auto _ : state) {
        state.PauseTiming();
        actions.m_strListedUids = Refill(bench.grid, false);
        QItemSelection selection;
        for (int row = kEvery - 1; row < kRows; row += kEvery)
            selection.select(bench.grid->GetModel()->index(row, 0), bench.grid->GetModel()->index(row, 0));
        bench.grid->selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        actions.EndEvent(bench.form, true);
        state.ResumeTiming();

        if (!actions.Delrow(action, bench.form) || bench.grid->GetItemCount() != kKept) {
            state.SkipWithError("rows not deleted");
            break;
        }
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * (kRows / kEvery));
}

// The grid emptied and filled again with the rows delrow keeps.
void BM_RebuildKeptRows(benchmark::State& state)
{
    BenchForm bench(state);
    for (auto _ : state) {
        state.PauseTiming();
        Refill(bench.grid, false);
        state.ResumeTiming();

        Refill(bench.grid, true);
        if (bench.grid->GetItemCount() != kKept) {
            state.SkipWithError("rows not rebuilt");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * (kRows / kEvery));
}

BENCHMARK(BM_DelrowSelected)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildKeptRows)->Unit(benchmark::kMillisecond);
} // namespace
