// Opening WebVTT and ASS documents of a million entries (a quarter with override tags or cue
// settings) and writing them back, from the page cache.
#include "Generate.h"
#include "NullBuffer.h"
#include "Subtitle.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <streambuf>
#include <string>

namespace fs = std::filesystem;

namespace {

struct BenchFile {
    std::string path;
    std::size_t size = 0;
};

const BenchFile& File(int entries, bool vtt) {
    static const fs::path folder =
        fs::temp_directory_path() / ("velitra-bench-formats-" + std::to_string(getpid()));
    static std::map<std::pair<int, bool>, BenchFile> files;
    auto [it, added] = files.try_emplace({entries, vtt});
    if (added) {
        fs::create_directories(folder);
        std::string bytes = vtt ? "WEBVTT\n\n" : BenchAssHead();
        bytes.reserve(static_cast<std::size_t>(entries) * 100);
        for (int k = 1; k <= entries; ++k)
            AppendBenchEvent(bytes, k, vtt);
        it->second.path = (folder / (std::to_string(entries) + (vtt ? ".vtt" : ".ass"))).string();
        it->second.size = bytes.size();
        std::ofstream(it->second.path, std::ios::binary) << bytes;
    }
    return it->second;
}

void Report(benchmark::State& state, const BenchFile& file) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
    state.counters["file_MB"] = static_cast<double>(file.size) / 1e6;
}

void BM_Open(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const BenchFile& file = File(entries, state.range(1) != 0);
    for (auto _ : state) {
        SubTitle doc(file.path, 25.0);
        if (doc.Count() != entries) state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(doc.Entries().data());
    }
    state.counters["records"] = static_cast<double>(SubTitle(file.path, 25.0).FormatData().Records.size());
    Report(state, file);
}

void BM_Write(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const BenchFile& file = File(entries, state.range(1) != 0);
    const SubTitle doc(file.path, 25.0);
    NullBuffer null;
    std::ostream out(&null);
    for (auto _ : state) {
        const bool ok = doc.FormatIndex() == FormatWebVTT
                            ? WriteWebVtt(doc, out, 0, false, 0, 0, doc.Count() - 1)
                            : WriteAss(doc, out, 0, false, 0, doc.Count() - 1);
        if (!ok) state.SkipWithError("write failed");
    }
    Report(state, file);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"entries", "vtt"})->Unit(benchmark::kMillisecond)->UseRealTime();
    for (int vtt : {0, 1})
        b->Args({1'000'000, vtt});
}

BENCHMARK(BM_Open)->Apply(Sizes);
BENCHMARK(BM_Write)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
