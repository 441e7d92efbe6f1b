#include "web/HtmlElementCollection.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

// A page of about 1 MiB (UTF-16) with tables, attributes, references,
// comments, scripts and some unclosed tags.
const QString& Page()
{
    static const QString page = [] {
        QString html = QStringLiteral("<html><head><title>库存 &amp; 价格</title>"
                                      "<script>var a = 1 < 2; document.write('<b>x</b>');</script></head><body>");
        for (int row = 0; html.size() * 2 < (1 << 20); ++row) {
            html += QStringLiteral("<tr class=\"r%1\"><td class=v id=c%1>商品&nbsp;%1 &lt;&#65;&gt;</td>"
                                   "<td class='price'>%2.50</td><!-- row %1 --><td><p>note<br/></td></tr>\n")
                        .arg(row).arg(row % 1000);
        }
        html += QStringLiteral("</body></html>");
        return html;
    }();
    return page;
}

void BM_HtmlReadAndCollect(benchmark::State& state)
{
    const QString& page = Page();
    int passing = 0;
    for (auto _ : state) {
        CHtmlElementCollection elements;
        elements.SetFilter(QStringLiteral("td"), QStringLiteral("class"), QStringLiteral("v"));
        elements.SetPageText(page);
        CLiteHTMLReader reader;
        reader.SetEventHandler(&elements);
        reader.Read(page);
        passing = elements.GetPassingCount();
        benchmark::DoNotOptimize(passing);
    }
    state.SetBytesProcessed(state.iterations() * page.size() * 2);
    state.counters["passing"] = passing;
}

void BM_MemcpyOfThePage(benchmark::State& state)
{
    const QString& page = Page();
    const qsizetype bytes = page.size() * 2;
    QByteArray target(bytes, '\0');
    for (auto _ : state) {
        std::memcpy(target.data(), page.constData(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

} // namespace

BENCHMARK(BM_HtmlReadAndCollect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyOfThePage)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
