#pragma once
// What the pane benchmarks share: the median of timings, a big generated SubRip file, and the
// main window on the tests' film player double, shown at its default size.
#include "FakePlayer.h"
#include "Generate.h"
#include "Main.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <memory>
#include <vector>

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Writes a generated SubRip file of that many entries into dir; answers its path.
inline QString WriteBenchFile(const QTemporaryDir& dir, const QString& name, int entries,
                              bool big5 = false) {
    const QString path = dir.filePath(name);
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << GenerateSubRip(entries, big5);
    return path;
}

inline std::unique_ptr<TMainForm> BenchForm(QApplication& app) {
    auto form = std::make_unique<TMainForm>([](QWidget* video) { return new TFakePlayer(video); });
    form->resize(760, 580);
    form->show();
    app.processEvents();
    return form;
}
