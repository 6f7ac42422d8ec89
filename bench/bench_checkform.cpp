// The check window on a side of 1,000,000 entries (about 1.7 million problems, far past the
// 100,000 the window must show without lag): checking and filling the list, the first paint,
// and paging through the list and painting, on the editor-host double.
//
// bench_checkform [ENTRIES] [RUNS]   (defaults 1000000 and 5)
#include "CheckForm.h"
#include "FakeHost.h"
#include "PaneBench.h"

#include <QScrollBar>
#include <QTableView>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    TFakeHost host;
    host.SetDocument(0, std::make_unique<SubTitle>(
                            SubTitle::FromBytes(GenerateSubRip(entries, false), "b.srt", 25)));
    TCheckForm form(&host);
    form.resize(600, 460);
    form.show();
    app.processEvents();

    std::vector<double> fill, paint, page;
    for (int run = 0; run < runs; ++run) {
        fill.push_back(Millis([&] { form.SetTarget(0); }));
        paint.push_back(Millis([&] { form.lvProblems->viewport()->grab(); }));
        QScrollBar* bar = form.lvProblems->verticalScrollBar();
        for (int step = 0; step < 20; ++step) {
            page.push_back(Millis([&] {
                bar->setValue(bar->maximum() / 20 * step);
                form.lvProblems->viewport()->grab();
            }));
        }
    }
    std::printf("%d entries, %d problems listed\n", entries, form.Model->rowCount());
    Report("check and fill the list (SetTarget)", fill);
    Report("first paint of the list", paint);
    Report("a jump through the list and its paint", page);
    return 0;
}
