#include "web/LzwDecode.h"
#include "web/LzwEncode.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

// A form description of about 1 MiB of UTF-16 text, stored with 12-bit codes.
const QByteArray& Description()
{
    static const QByteArray text = [] {
        QString xml = QStringLiteral("<form><head name=\"销售出库单\" draw_method=\"0\"/><controls>");
        for (int id = 0; xml.size() * 2 < (1 << 20); ++id) {
            xml += QStringLiteral("<ctl id=\"%1\" type=\"edit\" pos=\"%2,%3,%4,%5\" text=\"字段%1\" "
                                  "font=\"9,宋体\" color=\"0,0,%6\"><event name=\"CHANGE\">"
                                  "<run_sql sql=\"update t set v='{{%1}}' where uid_0={{id}}\"/></event></ctl>")
                       .arg(id).arg(id % 97 * 8).arg(id % 31 * 22).arg(80).arg(24).arg(id % 255);
        }
        xml += QStringLiteral("</controls></form>");
        return QByteArray(reinterpret_cast<const char*>(xml.utf16()), xml.size() * 2);
    }();
    return text;
}

void BM_LzwDecode(benchmark::State& state)
{
    const QByteArray stored = LzwEncode(Description(), 12);
    QByteArray decoded;
    for (auto _ : state) {
        LzwDecode(QByteArrayView(stored), decoded);
        benchmark::DoNotOptimize(decoded.data());
    }
    if (decoded != Description())
        state.SkipWithError("decoded text differs");
    state.SetBytesProcessed(state.iterations() * Description().size());
    state.counters["stored_bytes"] = static_cast<double>(stored.size());
}

void BM_MemcpyOfTheOutput(benchmark::State& state)
{
    const QByteArray& source = Description();
    QByteArray target(source.size(), '\0');
    for (auto _ : state) {
        std::memcpy(target.data(), source.constData(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * source.size());
}

} // namespace

BENCHMARK(BM_LzwDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyOfTheOutput)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
