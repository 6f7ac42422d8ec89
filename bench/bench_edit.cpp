// The edit window on a pane of a million entries: Apply of a changed text until the grid has
// painted it, Apply of a moved start with every later entry following, and previous/next with
// nothing to apply. Runs on Qt's offscreen platform with the tests' film player double.
//   bench_edit [ENTRIES] [RUNS]     (default 1000000 entries, 21 runs)
#include "MainProbe.h"
#include "Edit.h"
#include "FakePlayer.h"
#include "Generate.h"
#include "Main.h"
#include "PaneBench.h"
#include "UpDown.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 21;

    QTemporaryDir dir;
    const QString path = dir.filePath("edit.srt");
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << GenerateSubRip(entries, false);
    }
    TMainForm form([](QWidget* video) { return new TFakePlayer(video); });
    form.resize(760, 580);
    auto* edit = new TEditForm(form.Host(), &form);
    form.SetEditForm(edit);
    form.show();
    app.processEvents();
    if (!form.LoadDocument(0, path)) return 1;
    QWidget* grid = Probe(form).Pane(0)->Grid->viewport();
    edit->ShowWindow();
    app.processEvents();

    // A text changed in the middle of the document, applied.
    const int middle = entries / 2;
    Probe(form).SelectRow(0, middle);
    edit->SetTarget(0, middle);
    const TFigures text = MeasurePainted(
        runs, [&](int run) { edit->moTitle->setPlainText(QStringLiteral("text %1").arg(run)); },
        [&](int) { edit->bbtnFitClick(); }, {grid});

    // The first entry's start moved by 50 ms, every later entry following it.
    Probe(form).SelectRow(0, 0);
    edit->SetTarget(0, 0);
    const TFigures shift = MeasurePainted(
        runs, [&](int run) { edit->upStartms->Click(run % 2 ? -1 : 1); },
        [&](int) { edit->bbtnFitClick(); }, {grid});

    // Walking with auto-apply on and nothing to apply: one step down, one up.
    edit->SetTarget(0, middle);
    const TFigures walk = MeasurePainted(
        runs, [](int) {}, [&](int run) { run % 2 ? edit->sbPrevClick() : edit->sbNextClick(); },
        {grid});

    std::printf("edit window on %d entries, %d runs each (median / worst):\n", entries, runs);
    std::printf("  Apply of a text, shown in the grid:            %7.2f ms / %7.2f ms\n",
                text.Median, text.Worst);
    std::printf("  Apply of a start, %d later entries following: %7.2f ms / %7.2f ms\n",
                entries - 1, shift.Median, shift.Worst);
    std::printf("  previous/next without an apply:                %7.2f ms / %7.2f ms\n",
                walk.Median, walk.Worst);
    std::printf("  steps in the history: %zu\n", Probe(form).Side(0)->History().Steps());
    return 0;
}
