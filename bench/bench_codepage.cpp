// What detecting the code page of a legacy file costs when a document is opened: the same
// 1,000,000-entry file read with its page detected and with the page named (no detection), in
// Big5 and, where detection never runs, in UTF-8; and the detection alone over the file's text.
// Times are wall-clock and processor time of the whole process: a big file's page is found on a
// second thread beside the reader.
#include "CodePage.h"
#include "Generate.h"
#include "Subtitle.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

struct BenchFile {
    std::string path;
    std::string bytes;
};

const BenchFile& File(int entries, bool big5) {
    static const fs::path folder =
        fs::temp_directory_path() / ("velitra-bench-codepage-" + std::to_string(getpid()));
    static std::map<std::pair<int, bool>, BenchFile> files;
    auto [it, added] = files.try_emplace({entries, big5});
    if (added) {
        fs::create_directories(folder);
        it->second.bytes = GenerateSubRip(entries, big5);
        it->second.path =
            (folder / (std::to_string(entries) + (big5 ? "-big5" : "-utf8") + ".srt")).string();
        std::ofstream(it->second.path, std::ios::binary) << it->second.bytes;
    }
    return it->second;
}

struct RemoveFiles {
    ~RemoveFiles() {
        std::error_code ec;
        fs::remove_all(
            fs::temp_directory_path() / ("velitra-bench-codepage-" + std::to_string(getpid())), ec);
    }
} removeFiles;

// range(0): entries; range(1): 1 Big5, 0 UTF-8; range(2): 1 detected, 0 named.
void BM_OpenSubRip(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const bool big5 = state.range(1) != 0;
    const BenchFile& file = File(entries, big5);
    const LegacyPage legacy =
        state.range(2) ? LegacyPage(kCodePageBig5) : LegacyPage::Forced(kCodePageBig5);
    for (auto _ : state) {
        SubTitle doc(file.path, 25.0, FrameRateQuestion(), legacy);
        if (doc.Count() != entries) state.SkipWithError("wrong entry count");
        if (doc.CodePage() != (big5 ? kCodePageBig5 : kCodePageUtf8))
            state.SkipWithError("wrong code page");
        benchmark::DoNotOptimize(doc.Entries().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes.size()));
}

// The detection alone, over text in memory. range(1): 1 with a byte at the very end that no
// double-byte page holds, so that every proposed page is scanned to the end.
void BM_DetectLegacyCodePage(benchmark::State& state) {
    std::string text = File(static_cast<int>(state.range(0)), true).bytes;
    if (state.range(1)) text += "\xFF";
    for (auto _ : state)
        benchmark::DoNotOptimize(DetectLegacyCodePage(text, LegacyPage(kCodePageGbk)));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_OpenSubRip)
    ->ArgNames({"entries", "big5", "detect"})
    ->ArgsProduct({{1'000'000}, {1, 0}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK(BM_DetectLegacyCodePage)
    ->ArgNames({"entries", "misfit"})
    ->ArgsProduct({{1'000'000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
