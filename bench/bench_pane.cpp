// Opening a big subtitle file into a pane, from the command to the first painted grid, the
// memory the pane takes beside the document, and paging through a pane of a million entries.
// Runs on Qt's offscreen platform with the tests' film player double, which plays nothing.
//   bench_pane [ENTRIES] [RUNS] [srt|vtt|ass]     (default 100000 entries, 5 runs, SubRip)
#include "MainProbe.h"
#include "Main.h"
#include "PaneBench.h"
#include "SubtitleGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Resident memory in bytes, from /proc.
long Resident() {
    long pages = 0, resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const QString format = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("srt");
    if (format != QLatin1String("srt") && format != QLatin1String("vtt") &&
        format != QLatin1String("ass")) {
        std::fprintf(stderr, "usage: bench_pane [ENTRIES] [RUNS] [srt|vtt|ass]\n");
        return 2;
    }

    QTemporaryDir dir;
    const QString path = WriteBenchFile(dir, QStringLiteral("pane.") + format, entries);
    std::printf("%s file of %.1f MB\n", qPrintable(format),
                double(QFileInfo(path).size()) / 1e6);
    std::unique_ptr<TMainForm> window = BenchForm(app);
    TMainForm& form = *window;

    // Memory first, on a fresh heap: what opening the file into the pane adds, against what the
    // document alone takes (read in a child process, on a fresh heap of its own).
    int channel[2];
    if (pipe(channel) != 0) return 1;
    if (fork() == 0) {
        const long before = Resident();
        SubTitle alone(path.toStdString(), 25.0);
        const double bytes = double(Resident() - before);
        if (write(channel[1], &bytes, sizeof bytes) != sizeof bytes) _exit(1);
        _exit(0);
    }
    double docBytes = 0;
    if (read(channel[0], &docBytes, sizeof docBytes) != sizeof docBytes) return 1;
    wait(nullptr);
    const long start = Resident();
    form.LoadDocument(0, path);
    Probe(form).Pane(0)->Grid->viewport()->repaint();
    const double paneBytes = double(Resident() - start);
    std::printf("memory: document alone %.1f MB, pane with its document %.1f MB (%.2f x)\n",
                docBytes / 1e6, paneBytes / 1e6, paneBytes / std::max(1.0, docBytes));

    std::vector<double> openTimes;
    for (int run = 0; run < runs; ++run) {
        Probe(form).Side(0)->Replace(nullptr);
        app.processEvents();
        QElapsedTimer timer;
        timer.start();
        form.LoadDocument(0, path);
        Probe(form).Pane(0)->Grid->viewport()->repaint(); // the first painted grid
        openTimes.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("open %d entries into a pane: median %.1f ms over %d runs\n", entries,
                Median(openTimes), runs);
    app.processEvents();

    // Paging through the pane: one page down and a paint, over the whole document.
    QTableView* grid = Probe(form).Pane(0)->Grid;
    QScrollBar* bar = grid->verticalScrollBar();
    std::vector<double> pageTimes;
    const int pages = 200;
    const int step = std::max(1, bar->maximum() / pages);
    for (int value = 0; value <= bar->maximum(); value += step) {
        QElapsedTimer timer;
        timer.start();
        bar->setValue(value);
        grid->viewport()->repaint();
        pageTimes.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("scroll and paint: median %.2f ms, worst %.2f ms a page (%zu pages)\n",
                Median(pageTimes), *std::max_element(pageTimes.begin(), pageTimes.end()),
                pageTimes.size());
    return 0;
}
