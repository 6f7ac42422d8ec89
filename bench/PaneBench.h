#pragma once
// What the pane benchmarks share: timing a piece of work, the median and the report of timings,
// a big generated SubRip file, and the main window on the tests' film player double, shown at its
// default size.
#include "FakePlayer.h"
#include "Generate.h"
#include "Main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Wall-clock milliseconds the work takes.
inline double Millis(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// One line: the case, the median and the worst of its timings.
inline void Report(const char* what, const std::vector<double>& times) {
    std::printf("%-56s median %8.2f ms, worst %8.2f ms (%zu runs)\n", what, Median(times),
                *std::max_element(times.begin(), times.end()), times.size());
}

struct TFigures {
    double Median;
    double Worst;
};

// prepare (untimed), then act and a paint of what shows its result, runs times.
inline TFigures MeasurePainted(int runs, const std::function<void(int)>& prepare,
                               const std::function<void(int)>& act,
                               const std::vector<QWidget*>& shown) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        prepare(run);
        QElapsedTimer timer;
        timer.start();
        act(run);
        for (QWidget* w : shown) w->repaint();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

// Writes a generated SubRip file of that many entries into dir; answers its path.
// A generated file of entries: SubRip, or WebVTT or ASS when the name ends so.
inline QString WriteBenchFile(const QTemporaryDir& dir, const QString& name, int entries,
                              bool big5 = false) {
    const QString path = dir.filePath(name);
    std::ofstream out(path.toStdString(), std::ios::binary);
    const bool vtt = name.endsWith(QLatin1String(".vtt"));
    if (vtt || name.endsWith(QLatin1String(".ass"))) {
        std::string text = vtt ? "WEBVTT\n\n" : BenchAssHead();
        for (int k = 1; k <= entries; ++k) AppendBenchEvent(text, k, vtt);
        out << text;
    } else {
        out << GenerateSubRip(entries, big5);
    }
    return path;
}

inline std::unique_ptr<TMainForm> BenchForm(QApplication& app) {
    auto form = std::make_unique<TMainForm>([](QWidget* video) { return new TFakePlayer(video); });
    form->resize(760, 580);
    form->show();
    app.processEvents();
    return form;
}
