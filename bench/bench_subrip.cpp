// Reading and writing SubRip documents of 10,000 to 1,000,000 entries, UTF-8 and Big5.
// Files are generated once per size into a temporary folder and read from the page cache.
#include "Generate.h"
#include "NullBuffer.h"
#include "Subtitle.h"
#include "TextFile.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder()
        : path_(fs::temp_directory_path() / ("velitra-bench-" + std::to_string(getpid()))) {
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

TempFolder& Folder() {
    static TempFolder folder;
    return folder;
}

struct BenchFile {
    std::string path;
    std::size_t size = 0;
};

const BenchFile& File(int entries, bool big5) {
    static std::map<std::pair<int, bool>, BenchFile> files;
    auto [it, added] = files.try_emplace({entries, big5});
    if (added) {
        const std::string bytes = GenerateSubRip(entries, big5);
        it->second.path =
            (Folder().Path() / (std::to_string(entries) + (big5 ? "-big5" : "-utf8") + ".srt"))
                .string();
        it->second.size = bytes.size();
        std::ofstream(it->second.path, std::ios::binary) << bytes;
    }
    return it->second;
}

void Report(benchmark::State& state, const BenchFile& file, int entries) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
    state.counters["entries/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * entries, benchmark::Counter::kIsRate);
    state.counters["file_MB"] = static_cast<double>(file.size) / 1e6;
}

void BM_ReadSubRip(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const BenchFile& file = File(entries, state.range(1) != 0);
    for (auto _ : state) {
        SubTitle doc(file.path, 25.0);
        if (doc.Count() != entries) state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(doc.Entries().data());
    }
    Report(state, file, entries);
}

void BM_WriteSubRipFormat(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const BenchFile& file = File(entries, state.range(1) != 0);
    const SubTitle doc(file.path, 25.0);
    NullBuffer null;
    std::ostream out(&null);
    for (auto _ : state)
        if (!WriteSubRip(doc, out, 0, false, 0, 0, doc.Count() - 1))
            state.SkipWithError("write failed");
    Report(state, file, entries);
}

void BM_WriteSubRipFile(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const BenchFile& file = File(entries, state.range(1) != 0);
    const SubTitle doc(file.path, 25.0);
    const std::string target = (Folder().Path() / "written.srt").string();
    for (auto _ : state) {
        bool ok = WriteFileAtomically(target, doc.Encoding(), [&](std::ostream& out) {
            return WriteSubRip(doc, out, 0, false, 0, 0, doc.Count() - 1);
        });
        if (!ok) state.SkipWithError("save failed");
    }
    Report(state, file, entries);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"entries", "big5"})->Unit(benchmark::kMillisecond)->UseRealTime();
    for (int big5 : {0, 1})
        for (int entries : {10'000, 100'000, 1'000'000})
            b->Args({entries, big5});
}

BENCHMARK(BM_ReadSubRip)->Apply(Sizes);
BENCHMARK(BM_WriteSubRipFormat)->Apply(Sizes);
BENCHMARK(BM_WriteSubRipFile)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
