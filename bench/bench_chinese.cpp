// Chinese conversion and the readability checks on 1,000,000 entries.
//
// Conversion: ChineseChange (s2twp, the converter opened inside the timing) over a document of
// Simplified lines, against Debian's `opencc -c s2twp.json` on the same texts written one entry a
// line, alternating in the same run; medians of both and their ratio (goal: at most 1.2).
// Checks: CheckDocument with the default limits on the same document (goal: under 0.5 s).
//
// bench_chinese [ENTRIES] [RUNS]   (defaults 1000000 and 5)
#include "Checks.h"
#include "Chinese.h"
#include "Generate.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    // The generator's lines, made Simplified, so that s2twp has words to change.
    TChineseConverter toSimplified(TChineseDirection::T2s);
    SubTitle generated = SubTitle::FromBytes(GenerateSubRip(entries, false), "bench.srt", 25);
    std::vector<PerTitle> simplified = generated.Entries();
    {
        std::vector<std::string> texts;
        for (const PerTitle& e : simplified)
            texts.push_back(e.Text);
        toSimplified.ConvertMany(texts);
        for (std::size_t i = 0; i < texts.size(); ++i)
            simplified[i].Text = std::move(texts[i]);
    }
    const SubTitle doc = SubTitle::Restore(std::move(simplified), "bench.srt", FormatSubRip, 25,
                                           kCodePageUtf8, FileEncoding::Plain);

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("velitra-bench-chinese-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string in = (dir / "texts.txt").string(), out = (dir / "out.txt").string();
    {
        std::ofstream file(in, std::ios::binary);
        for (const PerTitle& e : doc.Entries())
            file << e.Text << '\n';
    }
    const std::string command = "opencc -c " + ChineseDataFolder() + "/s2twp.json -i " + in +
                                " -o " + out;
    std::printf("%d entries, %.1f MB of text\n", entries,
                static_cast<double>(std::filesystem::file_size(in)) / 1e6);

    std::vector<double> ours, theirs, checks;
    int changed = 0;
    std::size_t problems = 0;
    for (int run = 0; run < runs; ++run) {
        auto t0 = std::chrono::steady_clock::now();
        {
            TChineseConverter converter(TChineseDirection::S2twp);
            const TChineseResult result = ChineseChange(doc, converter, 0, doc.Count() - 1);
            changed = result.Changed;
        }
        ours.push_back(Seconds(t0));

        std::filesystem::remove(out);
        t0 = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "bench_chinese: %s failed (Debian package opencc)\n",
                         command.c_str());
            return 1;
        }
        theirs.push_back(Seconds(t0));

        t0 = std::chrono::steady_clock::now();
        problems = CheckDocument(doc, TCheckLimits{}).size();
        checks.push_back(Seconds(t0));
    }
    std::filesystem::remove_all(dir);

    const double ratio = Median(ours) / Median(theirs);
    std::printf("convert s2twp: ChineseChange median %.3f s (%d entries changed), opencc median "
                "%.3f s, ratio %.2f (goal <= 1.2: %s)\n",
                Median(ours), changed, Median(theirs), ratio, ratio <= 1.2 ? "met" : "MISSED");
    std::printf("check: CheckDocument median %.3f s, %zu problems (goal < 0.5 s: %s)\n",
                Median(checks), problems, Median(checks) < 0.5 ? "met" : "MISSED");
    return 0;
}
