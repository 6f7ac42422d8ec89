// One paint of the waveform view over two documents of a million entries each, at zooms from
// the whole span down to 1 ms a pixel, as waveform and as spectrogram, over a 2-hour sound.
// Each view is painted once after the jump to it, then again while still (what the moving
// cursor asks for), then after each of a run of wheel scrolls and of zooms.
// Runs on Qt's offscreen platform with the tests' editor host double.
//   bench_waveview [ENTRIES] [RUNS] [CASE]  (default 1000000 entries, 31 runs; CASE: only the
//   cases whose name holds it)
#include "FakeHost.h"
#include "Generate.h"
#include "WavePeaks.h"
#include "WaveView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

// Processor time of this thread in ms: what a paint costs whether or not the cores are shared.
double ThreadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A 2-hour sound of noise, keyframes every 2 s: the sizes the reader gives.
std::shared_ptr<TSound> TwoHourSound() {
    auto s = std::make_shared<TSound>();
    const int64_t ms = 2 * 3600 * 1000;
    s->Wave.DurationMs = ms;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> level(0, 20000);
    s->Wave.Min.resize(size_t(ms / 10));
    s->Wave.Max.resize(size_t(ms / 10));
    for (size_t i = 0; i < s->Wave.Min.size(); ++i) {
        s->Wave.Max[i] = int16_t(level(random));
        s->Wave.Min[i] = int16_t(-level(random));
    }
    s->Spectrum.Cells.resize(size_t(ms / 40) * 128);
    for (uint8_t& c : s->Spectrum.Cells) c = uint8_t(random());
    for (int64_t t = 0; t < ms; t += 2000) s->Keyframes.push_back(t);
    return s;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 31;
    const QString only = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();

    TFakeHost host;
    for (int side = 0; side < 2; ++side)
        host.SetDocument(side, std::make_unique<SubTitle>(SubTitle::FromBytes(
                                   GenerateSubRip(entries, side == 1), "bench.srt", 25.0)));
    // A few hundred rows selected on each side, as after a block selection.
    host.Top[0] = 250001;
    host.Bottom[0] = 250400;
    host.Top[1] = 250001;
    host.Bottom[1] = 250400;
    TWaveView view(&host);
    const std::shared_ptr<TSound> sound = TwoHourSound();
    view.SetSound(sound);
    view.resize(1280, 200);
    const double span = double(host.Docs[0]->Entries().back().End);
    const double middle = double(host.Docs[0]->Entries()[size_t(entries / 4)].Start);
    std::printf("%d entries a side over %.1f hours; sound of 2 hours; view 1280 x 200\n"
                "wall ms (processor ms of the painting thread); then: median of %d more paints\n"
                "the waveform's coarser levels beside its %.1f MB: %.2f MB\n",
                entries, span / 3.6e6, runs,
                double(sound->Wave.Min.size() + sound->Wave.Max.size()) * 2 / 1e6,
                double(TWavePeaks(sound->Wave).Bytes()) / 1e6);

    struct Case {
        const char* Name;
        double Start, MsPerPixel;
    };
    const Case cases[] = {
        {"whole span (every entry in view)", 0, span / 1280},
        {"the 2-hour film", 0, 7.2e6 / 1280},
        {"10 minutes, among the selected rows", middle, 600000.0 / 1280},
        {"1 minute", middle, 60000.0 / 1280},
        {"10 seconds", middle, 10000.0 / 1280},
        {"1 ms a pixel", middle, 1},
        {"1 minute at the film's end", 7.2e6 - 60000, 60000.0 / 1280},
    };
    QImage target(view.size(), QImage::Format_RGB32);
    // The window has painted text before the view ever shows: the fonts are loaded and the
    // digits drawn once here, not in the first case.
    view.SetView(0, 10);
    view.render(&target);
    // One paint: its wall time and the painting thread's processor time, in ms.
    struct Times {
        std::vector<double> Wall, Cpu;
        void Paint(TWaveView& view, QImage& target) {
            QElapsedTimer timer;
            timer.start();
            const double cpu0 = ThreadMs();
            view.render(&target);
            Cpu.push_back(ThreadMs() - cpu0);
            Wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        double Worst() const { return *std::max_element(Wall.begin(), Wall.end()); }
    };
    double worstMedian = 0, worstFirst = 0, worstMoved = 0;
    for (bool spectrum : {false, true}) {
        view.SetShowSpectrum(spectrum);
        for (const Case& c : cases) {
            if (!QString::fromLatin1(c.Name).contains(only)) continue;
            view.SetView(c.Start, c.MsPerPixel);
            // The first paint after the view moved lays out its labels; the next ones, while
            // the cursor moves over a still view, find them laid out.
            Times first, still;
            first.Paint(view, target);
            worstFirst = std::max(worstFirst, first.Wall[0]);
            for (int r = 0; r < runs; ++r) still.Paint(view, target);
            worstMedian = std::max(worstMedian, Median(still.Wall));
            std::printf("%-11s %-37s first %6.2f (%5.2f) ms, then %6.2f (%5.2f) ms, worst %6.2f\n",
                        spectrum ? "spectrogram" : "waveform", c.Name, first.Wall[0],
                        first.Cpu[0], Median(still.Wall), Median(still.Cpu), still.Worst());
            // What the wheel asks for: each paint after the view moved, so nothing drawn for
            // the last view can be reused. Scrolling goes on one way (a tenth of the width a
            // notch); zooming goes in by 1.25 and out by 1.2 in turn, so no zoom repeats.
            for (const bool zoom : {false, true}) {
                Times moved;
                double start = c.Start, msPerPixel = c.MsPerPixel;
                for (int r = 0; r < runs; ++r) {
                    if (zoom) {
                        const double anchor = start + 640 * msPerPixel;
                        msPerPixel = std::max(1.0, r % 2 ? msPerPixel * 1.2 : msPerPixel / 1.25);
                        start = anchor - 640 * msPerPixel;
                    } else {
                        start += 128 * msPerPixel;
                    }
                    view.SetView(start, msPerPixel);
                    moved.Paint(view, target);
                }
                worstMoved = std::max(worstMoved, Median(moved.Wall));
                std::printf("%-11s %-37s %s %6.2f (%5.2f) ms, worst %6.2f\n", "", "",
                            zoom ? "zoomed  " : "scrolled", Median(moved.Wall),
                            Median(moved.Cpu), moved.Worst());
            }
        }
    }
    const double slowest = std::max(worstMedian, worstMoved);
    std::printf("slowest median %.2f ms, of still views %.2f, of moved views %.2f (goal < 4 ms: "
                "%s); slowest single first paint %.2f ms\n",
                slowest, worstMedian, worstMoved, slowest < 4 ? "met" : "MISSED", worstFirst);
    return 0;
}
