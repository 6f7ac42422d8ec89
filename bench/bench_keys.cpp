// The timing keys on a pane of a million entries, from the key press until the grid has painted
// the change: F9, F11 (the end set and the next row), a 10 ms nudge and Ctrl+Enter, and a
// Ctrl+Right seek until the caption panels and the track bar show the new moment. Runs on Qt's
// offscreen platform with the tests' film player double, the film's moment set by the bench.
//   bench_keys [ENTRIES] [RUNS]     (default 1000000 entries, 41 runs)
#include "MainProbe.h"
#include "Edit.h"
#include "FakePlayer.h"
#include "Generate.h"
#include "Kelpanel.h"
#include "Main.h"
#include "PaneBench.h"
#include "SubtitleGrid.h"

#include <QAction>
#include <QApplication>
#include <QSlider>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 41;

    QTemporaryDir dir;
    const QString path = dir.filePath("keys.srt");
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << GenerateSubRip(entries, false);
    }
    const QString film = QStringLiteral("/films/long.avi");
    TFakePlayer* player = nullptr;
    TMainForm form([&](QWidget* video) {
        player = new TFakePlayer(video);
        player->Films.insert(film, 1e7);
        return player;
    });
    form.resize(760, 580);
    auto* edit = new TEditForm(form.Host(), &form);
    form.SetEditForm(edit);
    form.show();
    app.processEvents();
    if (!form.LoadDocument(0, path) || !form.LoadDocument(1, path) || !form.FileOpenMovieAccept(film))
        return 1;
    Ctl<QAction>(form, "aShowSubL")->setChecked(true);
    Ctl<QAction>(form, "aShowSubR")->setChecked(true);
    QTableView* grid = Probe(form).Pane(0)->Grid;
    grid->setFocus();
    form.activateWindow();
    app.processEvents();
    const int middle = entries / 2;
    const auto start = [&](int index) { return Probe(form).Side(0)->Document()->Item(index)->Start; };
    const auto choose = [&](int index) {
        Probe(form).SelectRow(0, index);
        Probe(form).ActiveSide() = 0;
        app.processEvents();
    };
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(grid, k, mods);
    };
    const std::vector<QWidget*> gridShown{grid->viewport()};

    // F9 in the middle: the start to the film's moment, a little later at each run.
    choose(middle);
    const TFigures f9 = MeasurePainted(
        runs, [&](int run) { player->Position = (start(middle) + 10 * (run % 2 ? -1 : 1)) / 1000.0; },
        [&](int) { key(Qt::Key_F9); }, gridShown);

    // F11: the end set and the next row taken, walking down from the middle.
    choose(middle);
    const TFigures f11 = MeasurePainted(
        runs, [&](int run) { player->Position = start(middle + run) / 1000.0 + 0.5; },
        [&](int) { key(Qt::Key_F11); }, gridShown);

    // A 10 ms nudge of the start.
    choose(middle);
    const TFigures nudge = MeasurePainted(
        runs, [](int) {}, [&](int run) { key(run % 2 ? Qt::Key_BracketLeft : Qt::Key_BracketRight, Qt::ControlModifier); },
        gridShown);

    // Ctrl+Enter: a new entry after the current one, a million rows below it moving down.
    choose(middle);
    const TFigures insert = MeasurePainted(
        runs, [&](int) { player->Position = start(middle) / 1000.0 + 0.1; },
        [&](int) { key(Qt::Key_Return, Qt::ControlModifier); }, gridShown);

    // Ctrl+Right, paused: the captions, the readout and the track bar show the new moment.
    player->Position = start(middle) / 1000.0;
    const std::vector<QWidget*> seekShown{Probe(form).Pane(0)->CaptionPanel,
                                          Probe(form).Pane(1)->CaptionPanel,
                                          Ctl<QSlider>(form, "TrackBar"), grid->viewport()};
    const TFigures seek = MeasurePainted(
        runs, [](int) {}, [&](int run) { key(run % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::ControlModifier); },
        seekShown);

    std::printf("timing keys on %d entries, %d runs each (median / worst):\n", entries, runs);
    std::printf("  F9, start set, grid painted:              %7.2f ms / %7.2f ms\n", f9.Median, f9.Worst);
    std::printf("  F11, end set and next row, grid painted:  %7.2f ms / %7.2f ms\n", f11.Median, f11.Worst);
    std::printf("  Ctrl+], 10 ms nudge, grid painted:        %7.2f ms / %7.2f ms\n", nudge.Median, nudge.Worst);
    std::printf("  Ctrl+Enter, entry inserted, grid painted: %7.2f ms / %7.2f ms\n", insert.Median, insert.Worst);
    std::printf("  Ctrl+Right paused, captions and bar shown:%7.2f ms / %7.2f ms\n", seek.Median, seek.Worst);
    std::printf("  steps in the history: %zu\n", Probe(form).Side(0)->History().Steps());
    return 0;
}
