// Changes on a pane of a million entries, from the command to the repainted grid: one entry's
// text, a row inserted, a row deleted, and undo and redo of a replace-all that changed 1,000
// entries; the memory each step keeps; and how long an autosave of the document holds the window.
// Runs on Qt's offscreen platform with the tests' film player double.
//   bench_history [ENTRIES] [RUNS]     (default 1000000 entries, 9 runs)
#include "MainProbe.h"
#include "AutoSave.h"
#include "Editing.h"
#include "Main.h"
#include "PaneBench.h"
#include "SubtitleGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;

    QTemporaryDir dir;
    const QString path = WriteBenchFile(dir, "history.srt", entries);
    std::unique_ptr<TMainForm> window = BenchForm(app);
    TMainForm& form = *window;
    form.LoadDocument(0, path);
    Probe(form).sgSubLEnter(0);
    TSubtitlePane& pane = *Probe(form).Pane(0);
    QTableView* grid = Probe(form).Pane(0)->Grid;
    // The view in the middle of the document, where a change moves the most rows after it.
    const int middle = entries / 2;
    Probe(form).SelectRow(0, middle);
    grid->viewport()->repaint();

    // Each measure: the command, then the grid painted.
    auto time = [&](const std::function<void()>& command) {
        QElapsedTimer timer;
        timer.start();
        command();
        grid->viewport()->repaint();
        return timer.nsecsElapsed() / 1e6;
    };
    auto report = [&](const char* what, const std::vector<double>& times) {
        std::printf("%-44s median %7.2f ms, worst %7.2f ms (%zu runs)\n", what, Median(times),
                    *std::max_element(times.begin(), times.end()), times.size());
    };

    std::vector<double> text, insert, erase, undo, redo;
    for (int run = 0; run < runs; ++run) {
        const SubTitle& doc = *pane.Doc();
        PerTitle changed = *doc.Item(middle);
        changed.Text = "changed " + std::to_string(run);
        text.push_back(
            time([&] { Probe(form).ApplyChange(0, "text", SetEntryChange(doc, middle, changed)); }));
        insert.push_back(time([&] { Ctl<QAction>(form, "aNewLine")->trigger(); }));
        erase.push_back(
            time([&] { Probe(form).ApplyChange(0, "delete", EraseChange(doc, middle, middle)); }));
    }
    report("one entry's text changed", text);
    report("a row inserted (Ctrl+Insert)", insert);
    report("a row deleted", erase);

    // A replace-all that finds 1,000 entries: they are marked first, in one step.
    TChange mark;
    const int every = std::max(1, entries / 1000);
    for (int i = 0; i < entries && mark.Hunks.size() < 1000; i += every) {
        PerTitle e = *pane.Doc()->Item(i);
        e.Text += " needle";
        mark.Hunks.emplace_back(TSplice{i, 1, {e}});
    }
    Probe(form).ApplyChange(0, "mark", std::move(mark));
    const std::size_t before = Probe(form).Side(0)->History().Bytes();
    int replaced = 0;
    Probe(form).ApplyChange(0, "replace all",
                     ReplaceChange(*pane.Doc(), "needle", "pin", 0, entries - 1, &replaced));
    std::printf("replace all: %d entries changed, the step keeps %.1f KB\n", replaced,
                double(Probe(form).Side(0)->History().Bytes() - before) / 1024);
    for (int run = 0; run < runs; ++run) {
        undo.push_back(time([&] { Ctl<QAction>(form, "aUndo")->trigger(); }));
        redo.push_back(time([&] { Ctl<QAction>(form, "aRedo")->trigger(); }));
    }
    report("undo of a replace-all of 1,000 entries", undo);
    report("redo of a replace-all of 1,000 entries", redo);

    const std::size_t beforeShift = Probe(form).Side(0)->History().Bytes();
    Probe(form).ApplyChange(0, "shift", ShiftChange(*pane.Doc(), 0, entries - 1, 100));
    std::printf("a shift of every entry keeps %.1f MB (%.1f bytes an entry)\n",
                double(Probe(form).Side(0)->History().Bytes() - beforeShift) / 1e6,
                double(Probe(form).Side(0)->History().Bytes() - beforeShift) / entries);

    // An autosave of the whole document: what the window waits for (the copy made on its
    // thread), and the writing behind it on the worker.
    std::vector<double> blocked, written;
    for (int run = 0; run < std::min(runs, 5); ++run) {
        Probe(form).ApplyChange(0, "shift", ShiftChange(*pane.Doc(), 0, 0, 1));
        QElapsedTimer timer;
        timer.start();
        Probe(form).AutoSaver()->Tick();
        blocked.push_back(timer.nsecsElapsed() / 1e6);
        Probe(form).AutoSaver()->Flush();
        written.push_back(timer.nsecsElapsed() / 1e6);
    }
    report("autosave: the window blocked", blocked);
    report("autosave: until the copy is on disk", written);
    return 0;
}
