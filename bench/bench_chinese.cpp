// Chinese conversion and the readability checks on 1,000,000 entries.
//
// Conversion: ChineseChange (s2twp, the converter opened inside the timing) over a document of
// Simplified lines, against Debian's `opencc -c s2twp.json` on the same texts written one entry a
// line, alternating in the same run; medians of both and their ratio (goal: at most 1.2).
// Checks: CheckDocument with the default limits on the same document (goal: under 0.5 s).
//
// bench_chinese [ENTRIES] [RUNS] [check]   (defaults 1000000 and 5; "check" times the checks alone)
#include "Checks.h"
#include "Chinese.h"
#include "Generate.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor time of this process, which a machine shared with other work does not stretch.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Processor time (user + system) of the finished children: the opencc runs.
double ChildrenCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const bool checksOnly = argc > 3 && std::string(argv[3]) == "check";

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

    std::vector<double> ours, theirs, checks, oursCpu, theirsCpu, checksCpu;
    int changed = 0;
    std::size_t problems = 0;
    for (int run = 0; run < runs; ++run) {
        auto t0 = std::chrono::steady_clock::now();
        double c0 = CpuSeconds();
        if (checksOnly) {
            problems = CheckDocument(doc, TCheckLimits{}).size();
            checks.push_back(Seconds(t0));
            checksCpu.push_back(CpuSeconds() - c0);
            continue;
        }
        {
            TChineseConverter converter(TChineseDirection::S2twp);
            const TChineseResult result = ChineseChange(doc, converter, 0, doc.Count() - 1);
            changed = result.Changed;
        }
        ours.push_back(Seconds(t0));
        oursCpu.push_back(CpuSeconds() - c0);

        std::filesystem::remove(out);
        t0 = std::chrono::steady_clock::now();
        c0 = ChildrenCpuSeconds();
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "bench_chinese: %s failed (Debian package opencc)\n",
                         command.c_str());
            return 1;
        }
        theirs.push_back(Seconds(t0));
        theirsCpu.push_back(ChildrenCpuSeconds() - c0);

        t0 = std::chrono::steady_clock::now();
        c0 = CpuSeconds();
        problems = CheckDocument(doc, TCheckLimits{}).size();
        checks.push_back(Seconds(t0));
        checksCpu.push_back(CpuSeconds() - c0);
    }
    std::filesystem::remove_all(dir);
    if (checksOnly) {
        std::printf("check: CheckDocument median %.3f s wall, %.3f s processor, %zu problems "
                    "(goal < 0.5 s: %s)\n",
                    Median(checks), Median(checksCpu), problems,
                    Median(checks) < 0.5 ? "met" : "MISSED");
        return 0;
    }

    const double ratio = Median(ours) / Median(theirs);
    const double cpuRatio = Median(oursCpu) / Median(theirsCpu);
    std::printf("convert s2twp: ChineseChange median %.3f s wall, %.3f s processor (%d entries "
                "changed); opencc median %.3f s wall, %.3f s processor; ratio %.2f wall, %.2f "
                "processor (goal <= 1.2: %s)\n",
                Median(ours), Median(oursCpu), changed, Median(theirs), Median(theirsCpu), ratio,
                cpuRatio, ratio <= 1.2 && cpuRatio <= 1.2 ? "met" : "MISSED");
    std::printf("check: CheckDocument median %.3f s wall, %.3f s processor, %zu problems "
                "(goal < 0.5 s: %s)\n",
                Median(checks), Median(checksCpu), problems, Median(checks) < 0.5 ? "met" : "MISSED");
    return 0;
}
