// The combine and import dialogs on panes of a million entries each, run from the main window
// the way the user runs them (answered by script, on Qt's offscreen platform with the tests'
// film player double), each from the command to the grid's viewport repainted, then undone:
// - combining the whole right document into the left one, at the front with automatic
//   re-timing (every entry of the left moves) and at the rear without;
// - importing the texts of the right document over the left one's, entry by entry;
// - pouring a text file of a million paragraphs into the left document.
// The left side is UTF-8, the right side Big5: every text copied from it is converted.
//   bench_merge [ENTRIES] [RUNS]   (default 1000000 entries, 9 runs)
#include "MainProbe.h"
#include "Combine.h"
#include "FakePlayer.h"
#include "Generate.h"
#include "Import.h"
#include "Main.h"
#include "Merging.h"
#include "PaneBench.h"
#include "ScriptedQuestions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

namespace {

// Presses OK after fill; the dialog's answer.
template <class TForm> std::function<int(QDialog*)> Press(std::function<void(TForm*)> fill) {
    return [fill](QDialog* d) {
        auto* f = static_cast<TForm*>(d);
        fill(f);
        f->bbtnOk->click();
        return f->result() == QDialog::Accepted ? mrOk : mrCancel;
    };
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;

    QTemporaryDir dir;
    const QString left = dir.filePath("left.srt");
    const QString right = dir.filePath("right.srt");
    const QString text = dir.filePath("paragraphs.txt");
    {
        std::ofstream l(left.toStdString(), std::ios::binary);
        l << GenerateSubRip(entries, false);
        // The other language: Big5, so that every copied text is converted, and other lines
        // than the left's, so that every imported text changes an entry.
        const std::vector<std::string>& big5 = BenchLines(true);
        std::string other;
        other.reserve(std::size_t(entries) * 60);
        for (int k = 1; k <= entries; ++k)
            other += std::to_string(k) + "\r\n" + MsToTimeText(k * 1500 + 200) + " --> " +
                     MsToTimeText(k * 1500 + 1200) + "\r\n" +
                     big5[std::size_t(k * 7 + 3) % big5.size()] + " " + std::to_string(k) +
                     "\r\n\r\n";
        std::ofstream r(right.toStdString(), std::ios::binary);
        r << other;
        // One to three lines a paragraph, one blank line between; UTF-8 as the left document.
        const std::vector<std::string>& lines = BenchLines(false);
        std::ofstream t(text.toStdString(), std::ios::binary);
        for (int i = 0; i < entries; ++i) {
            for (int k = 0; k <= i % 3; ++k)
                t << lines[std::size_t(i + k) % lines.size()] << "\r\n";
            t << "\r\n";
        }
    }
    TScriptedQuestions questions;
    TMainForm form([](QWidget* video) { return new TFakePlayer(video); });
    TCombineForm combine(form.Host());
    TImportForm import(form.Host());
    Probe(form).CombineForm() = &combine;
    Probe(form).ImportForm() = &import;
    form.resize(760, 580);
    form.show();
    app.processEvents();
    if (!form.LoadDocument(0, left) || !form.LoadDocument(1, right)) return 1;
    Probe(form).sgSubLEnter(0);
    QTableView* grid = Probe(form).Pane(0)->Grid;
    Probe(form).SelectRow(0, entries / 2);
    grid->viewport()->repaint();

    const SubTitle* doc = Probe(form).Pane(0)->Doc();
    auto run = [&](QAction* command, std::function<int(QDialog*)> script, int expected) {
        questions.DialogScripts.enqueue(std::move(script));
        const double ms = Millis([&] {
            command->trigger();
            grid->viewport()->repaint();
        });
        if (doc->Count() != expected || !questions.Messages.isEmpty() || !Ctl<QAction>(form, "aUndo")->isEnabled()) {
            std::fprintf(stderr, "bench_merge: the dialog did not do its work (%d entries, %s)\n",
                         doc->Count(),
                         questions.Messages.isEmpty()
                             ? "no message"
                             : questions.Messages.first().Text.toUtf8().constData());
            std::exit(1);
        }
        return ms;
    };
    auto undo = [&] {
        return Millis([&] {
            Ctl<QAction>(form, "aUndo")->trigger();
            grid->viewport()->repaint();
        });
    };

    std::vector<double> front, rear, texts, pour, undoFront, undoTexts, undoPour;
    for (int i = 0; i < runs; ++i) {
        front.push_back(run(Ctl<QAction>(form, "aCombine"), Press<TCombineForm>([](TCombineForm* f) {
                                f->rbtnOpposite->click();
                                f->rbtnSelectAll->click();
                                f->rbtnInsertFront->click();
                                f->cbAutoAdjust->setChecked(true);
                            }),
                            2 * entries));
        undoFront.push_back(undo());
        rear.push_back(run(Ctl<QAction>(form, "aCombine"), Press<TCombineForm>([](TCombineForm* f) {
                               f->rbtnInsertRear->click();
                               f->cbAutoAdjust->setChecked(false);
                           }),
                           2 * entries));
        undo();
        texts.push_back(run(Ctl<QAction>(form, "aImport"), Press<TImportForm>([](TImportForm* f) {
                                f->rbtnOpposite->click();
                                f->rbtnSelectAll->click();
                                f->cbTimeStamp->setChecked(false);
                                f->cbTitle->setChecked(true);
                            }),
                            entries));
        undoTexts.push_back(undo());
        // The texts differ from the generated ones, so that every entry changes.
        pour.push_back(run(Ctl<QAction>(form, "aImport"), Press<TImportForm>([&](TImportForm* f) {
                               f->rbtnSubFile->click();
                               f->etSubFile->setText(text);
                               f->Refresh();
                               f->cbTitle->setChecked(true);
                           }),
                           entries));
        undoPour.push_back(undo());
    }
    // The model's share: building the change (texts converted from Big5) and applying it.
    std::vector<double> build, apply;
    const SubTitle& other = *Probe(form).Pane(1)->Doc();
    // A document of its own, read as the left pane's was: the model alone, no pane following.
    SubTitle target(left.toStdString(), 25.0);
    for (int i = 0; i < runs; ++i) {
        TChange change;
        build.push_back(
            Millis([&] { change = CombineChange(target, other, 0, entries - 1, 0, true); }));
        TChange back;
        apply.push_back(Millis([&] { back = target.Apply(std::move(change)); }));
        target.Apply(std::move(back));
    }
    std::printf("%d entries on each side\n", entries);
    Report("CombineChange alone (front, re-timed)", build);
    Report("SubTitle::Apply of it alone", apply);
    Report("combine, whole right side at the front, re-timed", front);
    Report("undo of it", undoFront);
    Report("combine, whole right side at the rear, as they are", rear);
    Report("import of the right side's texts over the left's", texts);
    Report("undo of it", undoTexts);
    Report("pour a text file of as many paragraphs", pour);
    Report("undo of it", undoPour);
    return 0;
}
