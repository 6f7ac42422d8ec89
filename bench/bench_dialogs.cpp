// The segment and save-as dialogs on a pane of a million entries, run from the main window the
// way the user runs them (the dialogs answered by script, on Qt's offscreen platform with the
// tests' film player double):
// - re-timing every entry, shifted and stretched, from the command to the grid repainted, and
//   the undo of it;
// - Save As of the whole document through the dialog, against the writing velitra-convert does
//   with the same function, in the same process, alternating; and, when its path is given, the
//   whole velitra-convert process on the same file (reading included).
//   bench_dialogs [ENTRIES] [RUNS] [VELITRA-CONVERT]   (default 1000000 entries, 9 runs)
#include "MainProbe.h"
#include "FakePlayer.h"
#include "Generate.h"
#include "Main.h"
#include "PaneBench.h"
#include "SaveAs.h"
#include "SaveAsForm.h"
#include "ScriptedQuestions.h"
#include "Segmodify.h"
#include "SubtitleGrid.h"
#include "TimeParts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

namespace {} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    const QString convert = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();

    QTemporaryDir dir;
    const QString path = dir.filePath("dialogs.srt");
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << GenerateSubRip(entries, false);
    }
    TScriptedQuestions questions;
    TMainForm form([](QWidget* video) { return new TFakePlayer(video); });
    TSegForm seg(form.Host());
    TSaveAsForm saveAs(form.Host());
    Probe(form).SegForm() = &seg;
    Probe(form).SaveAsForm() = &saveAs;
    form.resize(760, 580);
    form.show();
    app.processEvents();
    form.LoadDocument(0, path);
    Probe(form).sgSubLEnter(0);
    QTableView* grid = Probe(form).Pane(0)->Grid;
    // One row selected in the middle: the stretch runs from the first entry to the last.
    Probe(form).SelectRow(0, 0);
    grid->viewport()->repaint();

    // From the command to the grid repainted; the dialog moves the first start by a second (and,
    // stretching, the last by two) and presses OK.
    auto retime = [&](bool keep) {
        questions.DialogScripts.enqueue([keep](QDialog* d) {
            auto* f = static_cast<TSegForm*>(d);
            if (f->cbKeepStep->isChecked() != keep) f->cbKeepStep->click();
            f->StartTime->ShowTime(f->StartTime->ReadTime() + 1000);
            if (!keep) f->EndTime->ShowTime(f->EndTime->ReadTime() + 2000);
            f->bbtnOk->click();
            return f->result() == QDialog::Accepted ? mrOk : mrCancel;
        });
        return Millis([&] {
            Ctl<QAction>(form, "aSegModifyL")->trigger();
            grid->viewport()->repaint();
        });
    };
    // One row selected (the stretch runs from it to the last entry) and every row selected
    // (Ctrl+A): the pane keeps the selection it had, a million rows of it in the second case.
    std::vector<double> shiftOne, stretchOne, shiftAll, stretchAll, undo;
    for (int run = 0; run < runs; ++run) {
        Probe(form).SelectRow(0, 0);
        // The selection's own repaint is not the re-timing's.
        grid->viewport()->repaint();
        shiftOne.push_back(retime(true));
        stretchOne.push_back(retime(false));
        grid->selectAll();
        grid->viewport()->repaint();
        shiftAll.push_back(retime(true));
        stretchAll.push_back(retime(false));
        undo.push_back(Millis([&] {
            Ctl<QAction>(form, "aUndo")->trigger();
            grid->viewport()->repaint();
        }));
    }
    std::printf("%d entries, re-timed from the first to the last\n", entries);
    Report("shift, one row selected, OK to grid repainted", shiftOne);
    Report("stretch, one row selected, OK to grid repainted", stretchOne);
    Report("shift, every row selected, OK to grid repainted", shiftAll);
    Report("stretch, every row selected, OK to grid repainted", stretchAll);
    Report("undo of a stretch, to grid repainted", undo);

    // Save As of the whole document, as SubRip, through the dialog and through the writing
    // velitra-convert does, one after the other in each run.
    const SubTitle& doc = *Probe(form).Pane(0)->Doc();
    const QString out = dir.filePath("out.srt");
    std::vector<double> dialog, direct, process;
    for (int run = 0; run < runs; ++run) {
        QFile::remove(out);
        questions.DialogScripts.enqueue([&](QDialog* d) {
            auto* f = static_cast<TSaveAsForm*>(d);
            f->leSubFile->setText(out);
            f->bbtnOk->click();
            return f->result() == QDialog::Accepted ? mrOk : mrCancel;
        });
        dialog.push_back(Millis([&] { Ctl<QAction>(form, "aSaveAsL")->trigger(); }));
        if (!QFile::exists(out) || !questions.Messages.isEmpty()) {
            std::fprintf(stderr, "bench_dialogs: the dialog wrote nothing\n");
            return 1;
        }
        QFile::remove(out);
        SaveAsOptions all;
        all.last = doc.Count() - 1;
        direct.push_back(Millis([&] { SaveAs(doc, out.toStdString(), all); }));
        if (!convert.isEmpty()) {
            QFile::remove(out);
            process.push_back(Millis([&] { QProcess::execute(convert, {path, out}); }));
        }
    }
    Report("Save As through the dialog (SubRip, all entries)", dialog);
    Report("the same writing as velitra-convert does it", direct);
    std::printf("dialog / velitra-convert's writing: %.3f\n", Median(dialog) / Median(direct));
    if (!process.empty()) Report("velitra-convert in.srt out.srt, whole process", process);
    std::printf("file: %lld bytes\n", static_cast<long long>(QFile(out).size()));
    return 0;
}
