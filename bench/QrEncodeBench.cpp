// QR encoding of texts of 100, 500 and 2,000 bytes: our encoder with the mask
// chosen by penalty (as libqrencode does) and with the fixed mask 0 of printed
// forms, beside libqrencode, all at level M.
#include "QrEncoder.h"

#include <benchmark/benchmark.h>
#include <qrencode.h>

#include <QByteArray>

#include <memory>

namespace
{

// A delivery-note style text: words, numbers and punctuation.
QByteArray SampleText(int length)
{
    QByteArray text;
    for (int i = 0; text.size() < length; ++i)
        text += "Item " + QByteArray::number(i) + ": 24 PCS x 12.50 CNY, order DN-2026/" + QByteArray::number(1000 + i) + "; ";
    text.truncate(length);
    return text;
}

void Ours(benchmark::State& state, int mask)
{
    const QByteArray text = SampleText(static_cast<int>(state.range(0)));
    auto encoder = std::make_unique<QrEncoder>();
    for (auto _ : state) {
        const bool ok = encoder->EncodeBytes(QrEncoder::LevelM, 1, true, mask, text);
        benchmark::DoNotOptimize(ok);
    }
    state.counters["version"] = encoder->Version();
}

void BM_QrEncoder_AutoMask(benchmark::State& state)
{
    Ours(state, -1);
}

void BM_QrEncoder_Mask0(benchmark::State& state)
{
    Ours(state, 0);
}

void BM_Libqrencode(benchmark::State& state)
{
    const QByteArray text = SampleText(static_cast<int>(state.range(0)));
    int version = 0;
    for (auto _ : state) {
        QRcode* code = QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
        version = code ? code->version : 0;
        QRcode_free(code);
    }
    state.counters["version"] = version;
}

} // namespace

BENCHMARK(BM_QrEncoder_AutoMask)->Arg(100)->Arg(500)->Arg(2000);
BENCHMARK(BM_QrEncoder_Mask0)->Arg(100)->Arg(500)->Arg(2000);
BENCHMARK(BM_Libqrencode)->Arg(100)->Arg(500)->Arg(2000);

BENCHMARK_MAIN();
