// Language packs: reading the shipped English pack and the largest pack the editor accepts
// (1 MB), and reading the English pack over the main window as start-up does, on Qt's offscreen
// platform with the tests' film player double.
//   bench_language [--benchmark_repetitions=N ...]
#include "FakePlayer.h"
#include "LanguagePack.h"
#include "Main.h"
#include "Reinit.h"
#include "TestSettings.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QByteArray Shipped() {
    QFile file(QStringLiteral(VELITRA_LANG_DIR "/velitra.ENU"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Just under the limit: one window section of short texts and hints, then the table.
QByteArray Largest() {
    QByteArray text = "[TMainForm]\n";
    for (int i = 0; text.size() < kLargestPack - 200; ++i)
        text += "control" + QByteArray::number(i) + ".hint=Short text|A longer status text\n";
    return text;
}

void BM_ParseShippedPack(benchmark::State& state) {
    const QByteArray bytes = Shipped();
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseLanguagePack(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseShippedPack)->Unit(benchmark::kMicrosecond);

void BM_ParseLargestPack(benchmark::State& state) {
    const QByteArray bytes = Largest();
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseLanguagePack(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseLargestPack)->Unit(benchmark::kMillisecond);

void BM_ReadOverMainWindow(benchmark::State& state) {
    TTestSettings settings;
    const std::optional<TLanguagePack> pack = ParseLanguagePack(Shipped());
    TMainForm form([](QWidget* video) { return new TFakePlayer(video); });
    for (auto _ : state)
        benchmark::DoNotOptimize(ReinitializeForm(&form, *pack));
}
BENCHMARK(BM_ReadOverMainWindow)->Unit(benchmark::kMicrosecond);

// The largest pack over the main window: every key looked up, none matching.
void BM_ReadLargestOverMainWindow(benchmark::State& state) {
    TTestSettings settings;
    const std::optional<TLanguagePack> pack = ParseLanguagePack(Largest());
    TMainForm form([](QWidget* video) { return new TFakePlayer(video); });
    for (auto _ : state)
        benchmark::DoNotOptimize(ReinitializeForm(&form, *pack));
}
BENCHMARK(BM_ReadLargestOverMainWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
