// The subtitle panes: opening files into a side, the grid and title bar, keeping the panes in
// step, saving, recent files, and the search and line commands on the active pane.
#include "MainProbe.h"
#include "CodePage.h"
#include "Editing.h"
#include "FormFixture.h"
#include "Kellabel.h"
#include "Main.h"
#include "ReplaceDialog.h"
#include "ScriptedQuestions.h"
#include "SubtitleGrid.h"
#include "TestSettings.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QSplitter>
#include <QtTest>

namespace {

QString Entries(std::initializer_list<std::pair<int, const char*>> entries) {
    QString text;
    int n = 0;
    for (auto [start, caption] : entries) {
        text += QString("%1\n%2 --> %3\n%4\n\n")
                    .arg(++n)
                    .arg(QString::fromStdString(MsToTimeText(start)))
                    .arg(QString::fromStdString(MsToTimeText(start + 500)))
                    .arg(QString::fromUtf8(caption));
    }
    return text;
}

struct Fixture : TFormFixture {
    Fixture() : TFormFixture("/films/f.avi", 100.0) {}
    using TFormFixture::Write;
    QString Write(const QString& name, const QString& text) { return Write(name, text.toUtf8()); }
    QString Cell(int side, int row, int column) {
        return Probe(f()).Pane(side)->GridModel->CellText(row, column);
    }
    QString Title(int side) { return Probe(f()).Pane(side)->FileLabel->Caption(); }
    int Current(int side) { return Probe(f()).Pane(side)->Grid->currentIndex().row(); }
};

} // namespace

class TestPanes : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    void openFillsTheSide() {
        TScriptedQuestions questions;
        Fixture x;
        const QString path = x.Write("a.srt", Entries({{1000, "one"}, {2000, "two|lines"}}));
        QVERIFY(!Probe(x.f()).Pane(0)->Grid->isEnabled());
        QCOMPARE(x.Title(0), QStringLiteral("[ ]"));
        questions.FileAnswers << path;
        Ctl<QAction>(x.f(), "aOpenSubtitleL")->trigger();
        // Every format the readers know, a .txt (read by its content) and all files.
        const QStringList filter = questions.LastFilter.split(QLatin1Char('|'));
        QCOMPARE(filter.size() % 2, 0);
        QCOMPARE(filter[1], QStringLiteral("*.srt;*.sub;*.txt;*.vtt;*.ass;*.ssa"));
        for (const char* pattern : {"*.srt", "*.sub", "*.vtt", "*.ass;*.ssa", "*.txt", "*.*"})
            QVERIFY2(filter.contains(QLatin1String(pattern)), pattern);
        QCOMPARE(filter.last(), QStringLiteral("*.*"));
        QCOMPARE(x.Title(0), "[左側字幕] -- " + path);
        QCOMPARE(Probe(x.f()).Pane(0)->FileLabel->toolTip(), path + "\nUTF-8");
        QVERIFY(Probe(x.f()).Pane(0)->Grid->isEnabled());
        QVERIFY(Ctl<QAction>(x.f(), "aShowSubL")->isChecked() && Ctl<QAction>(x.f(), "aShowSubL")->isEnabled());
        QVERIFY(Ctl<QAction>(x.f(), "aSaveL")->isEnabled() && Ctl<QAction>(x.f(), "aSaveAsL")->isEnabled());
        QVERIFY(!Ctl<QAction>(x.f(), "aSaveR")->isEnabled());
        QCOMPARE(Probe(x.f()).Panels()[1]->text(), QStringLiteral("[SRT]  (2)  UTF-8"));
        QCOMPARE(Probe(x.f()).Pane(0)->GridModel->rowCount(), 2);
        QCOMPARE(x.Cell(0, 1, 0), QStringLiteral("2"));
        QCOMPARE(x.Cell(0, 1, 2), QStringLiteral("00:00:02,000"));
        QCOMPARE(x.Cell(0, 1, 3), QStringLiteral("00:500"));
        QCOMPARE(x.Cell(0, 1, 4), QStringLiteral("two|lines"));
        QCOMPARE(Probe(x.f()).Pane(0)->ShownIndex, -1);
        QCOMPARE(Probe(x.f()).RecentFiles(), QStringList{path});
        QVERIFY(questions.Messages.isEmpty());
    }

    void aFileThatGivesNoDocumentIsReportedAndChangesNothing() {
        TScriptedQuestions questions;
        Fixture x;
        const QString good = x.Write("a.srt", Entries({{1000, "one"}}));
        QVERIFY(x.f().LoadDocument(0, good));
        const QString text = x.Write("notes.txt", QStringLiteral("hello"));
        QVERIFY(!x.f().LoadDocument(0, text));
        QCOMPARE(questions.Messages.size(), 1);
        QVERIFY(questions.Messages[0].Text.startsWith("無法辨識字幕檔格式,請重新選擇"));
        QVERIFY(questions.Messages[0].Text.contains(text));
        QCOMPARE(x.Title(0), "[左側字幕] -- " + good);
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 1);

        // A reader's error (a frame rate that is no number) is shown; the side stays.
        Probe(x.f()).AskFrameRate() = [](std::optional<double>) {
            return std::optional<std::string>("fast");
        };
        const QString sub = x.Write("b.sub", QStringLiteral("{1}{2}x\n"));
        QVERIFY(!x.f().LoadDocument(0, sub));
        QCOMPARE(questions.Messages.size(), 2);
        QVERIFY(questions.Messages[1].Text.contains("fast"));
        QCOMPARE(x.Title(0), "[左側字幕] -- " + good);

        // Cancelling the frame-rate question is the user's choice: nothing is reported.
        Probe(x.f()).AskFrameRate() = [](std::optional<double>) { return std::optional<std::string>(); };
        QVERIFY(!x.f().LoadDocument(1, sub));
        QCOMPARE(x.Title(1), QStringLiteral("[ ]"));
        QCOMPARE(questions.Messages.size(), 2);

        // A file that is gone (a stale recent item) says so, not "unrecognised format".
        const QString gone = x.dir.filePath("gone.srt");
        QVERIFY(!x.f().LoadDocument(0, gone));
        QCOMPARE(questions.Messages.size(), 3);
        QCOMPARE(questions.Messages[2].Text, QStringLiteral("找不到檔案\n") + gone);
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 1);
        Probe(x.f()).AskFrameRate() = [](std::optional<double>) {
            return std::optional<std::string>("29.970");
        };
        QVERIFY(x.f().LoadDocument(1, sub));
        QCOMPARE(Probe(x.f()).Panels()[2]->text(), QStringLiteral("[MSUB]  (1)  UTF-8"));
    }

    // Lines that could not be read are kept and said once, naming the first, after the
    // document is shown; a file without such lines says nothing.
    void unreadableLinesAreToldOnceOnOpening() {
        struct Case {
            const char* name;
            QByteArray bytes;
            int count;
            QString said;
        };
        const QByteArray assHead =
            "[Script Info]\r\nScriptType: v4.00+\r\n\r\n[Events]\r\n"
            "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n";
        const Case cases[] = {
            {"one.ass",
             assHead + "Dialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,a\r\nDialogue: no fields\r\n",
             1, QStringLiteral("第 7 行無法解讀,已原樣保留")},
            {"three.vtt",
             "WEBVTT\n\nnot a cue\n\n00:01.000 --> 00:02.000\nA\n\n00:03.000 --> 100:00:00.000\nB\n\n"
             "bad --> time\nC\n",
             1, QStringLiteral("第 3 行無法解讀,已原樣保留\n另有 2 行同樣無法解讀,也已原樣保留")},
            {"clean.vtt", "WEBVTT\n\n00:01.000 --> 00:02.000\nA\n", 1, QString()},
        };
        for (const Case& c : cases) {
            TScriptedQuestions questions;
            Fixture x;
            QVERIFY(x.f().LoadDocument(0, x.Write(QString::fromLatin1(c.name), c.bytes)));
            QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), c.count);
            if (c.said.isEmpty()) {
                QVERIFY2(questions.Messages.isEmpty(), c.name);
                continue;
            }
            QCOMPARE(questions.Messages.size(), 1);
            QCOMPARE(questions.Messages[0].Text, c.said);
            QCOMPARE(questions.Messages[0].Kind, TMsgKind::Information);
            // The document is opened all the same.
            QCOMPARE(Probe(x.f()).Pane(0)->Doc()->BadLines() > 0, true);
        }
    }

    void discardQuestionBeforeOpeningOverChanges() {
        TScriptedQuestions questions;
        Fixture x;
        const QString a = x.Write("a.srt", Entries({{1000, "one"}}));
        const QString b = x.Write("b.srt", Entries({{1000, "two"}}));
        QVERIFY(x.f().LoadDocument(1, a));
        QVERIFY(Probe(x.f()).Side(1)->Apply(
            "shift", ShiftChange(*Probe(x.f()).Side(1)->Document(), 0, 0, 10)));
        questions.MessageAnswers << mrCancel;
        Ctl<QAction>(x.f(), "aOpenSubtitleR")->trigger();
        QCOMPARE(questions.FileTitles.size(), 0); // cancelled before the file dialog
        QCOMPARE(questions.Messages[0].Text, QStringLiteral("確定要放棄已修改部份?"));
        QCOMPARE(questions.Messages[0].Title, "[右側字幕] -- " + a);
        QCOMPARE(questions.Messages[0].DefaultButton, int(mrCancel));
        questions.MessageAnswers << mrOk;
        questions.FileAnswers << b;
        Ctl<QAction>(x.f(), "aOpenSubtitleR")->trigger();
        QCOMPARE(x.Title(1), "[右側字幕] -- " + b);
    }

    void titleStarFollowsModifiedAndSave() {
        TScriptedQuestions questions;
        Fixture x;
        const QString path = x.Write("a.srt", Entries({{1000, "one"}, {2000, "two"}}));
        QVERIFY(x.f().LoadDocument(0, path));
        QVERIFY(Probe(x.f()).Side(0)->Apply(
            "shift", ShiftChange(*Probe(x.f()).Side(0)->Document(), 0, 1, 500)));
        QCOMPARE(x.Title(0), "[左側字幕] -- " + path + "*");
        QCOMPARE(x.Cell(0, 0, 2), QStringLiteral("00:00:01,500"));

        // Ctrl+S does nothing until a pane is active.
        QVERIFY(!Probe(x.f()).FormKeyDown(Qt::Key_S, Qt::ControlModifier));
        Probe(x.f()).sgSubLEnter(0);
        QVERIFY(!Probe(x.f()).FormKeyDown(Qt::Key_S, Qt::NoModifier));
        QVERIFY(Probe(x.f()).FormKeyDown(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier));
        QCOMPARE(x.Title(0), "[左側字幕] -- " + path);
        QVERIFY(!Probe(x.f()).Side(0)->IsModified());
        QVERIFY(SubTitle(path.toStdString(), 25).Item(0)->Start == 1500);

        // A save that fails says why and keeps the "*" and the file.
        QVERIFY(Probe(x.f()).Side(0)->Apply(
            "shift", ShiftChange(*Probe(x.f()).Side(0)->Document(), 0, 1, 500)));
        QVERIFY(QFile::setPermissions(x.dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const bool root = QFile(x.dir.filePath("probe")).open(QIODevice::WriteOnly);
        if (!root) {
            Ctl<QAction>(x.f(), "aSaveL")->trigger();
            QCOMPARE(questions.Messages.size(), 1);
            QVERIFY(questions.Messages[0].Text.contains(path));
            QVERIFY(x.Title(0).endsWith("*"));
            QVERIFY(SubTitle(path.toStdString(), 25).Item(0)->Start == 1500);
        }
        QFile::setPermissions(x.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void windowTitleNamesTheActiveDocument() {
        Fixture x;
        QVERIFY(x.f().LoadDocument(0, x.Write("a.srt", Entries({{1000, "one"}}))));
        QVERIFY(x.f().LoadDocument(1, x.Write("b [*].srt", Entries({{1000, "un"}}))));
        const auto shift = [&x] {
            return Probe(x.f()).Side(0)->Apply(
                "shift", ShiftChange(*Probe(x.f()).Side(0)->Document(), 0, 0, 500));
        };
        // No pane entered yet: the left one.
        QCOMPARE(x.f().windowTitle(), QStringLiteral("Velitra -- a.srt[*]"));
        QVERIFY(!x.f().isWindowModified());
        QVERIFY(shift());
        QVERIFY(x.f().isWindowModified());
        // The right one entered: its name (a "[*]" of its own shown as such), not changed.
        Probe(x.f()).sgSubLEnter(1);
        QCOMPARE(x.f().windowTitle(), QStringLiteral("Velitra -- b [*][*].srt[*]"));
        QVERIFY(!x.f().isWindowModified());
        QVERIFY(x.f().FileOpenMovieAccept("/films/f.avi"));
        QCOMPARE(x.f().windowTitle(), QStringLiteral("Velitra -- b [*][*].srt[*] -- /films/f.avi"));
        // Back on the left, its change undone.
        Probe(x.f()).sgSubLEnter(0);
        QVERIFY(x.f().isWindowModified());
        QVERIFY(Probe(x.f()).Side(0)->Undo());
        QVERIFY(!x.f().isWindowModified());
    }

    void paneTitleKeepsItsStarInANarrowPane() {
        Fixture x;
        const QString path = x.Write(QString(60, 'd') + ".srt", Entries({{1000, "one"}}));
        QVERIFY(x.f().LoadDocument(0, path));
        QVERIFY(Probe(x.f()).Side(0)->Apply(
            "shift", ShiftChange(*Probe(x.f()).Side(0)->Document(), 0, 0, 500)));
        TKelLabel* title = Probe(x.f()).Pane(0)->FileLabel;
        title->resize(200, title->height());
        QVERIFY(title->Caption().endsWith("d.srt*"));
        const QString shown = title->ShownText();
        QVERIFY2(shown.endsWith(".srt*") && shown.startsWith("[左側字幕]"), qPrintable(shown));
        QVERIFY(title->fontMetrics().horizontalAdvance(shown) <= 200);
    }

    void textColumnFillsThePaneAndClicksKeepTheTimesInSight() {
        Fixture x;
        QVERIFY(x.f().LoadDocument(0, x.Write("a.srt", Entries({{1000, "one"}, {2000, "two"}}))));
        x.f().show();
        QVERIFY(QTest::qWaitForWindowExposed(&x.f()));
        QTableView* grid = Probe(x.f()).Pane(0)->Grid;
        const auto others = [grid] {
            int w = 0;
            for (int c = 0; c < TSubtitleGridModel::ColText; ++c) w += grid->columnWidth(c);
            return w;
        };
        // Never narrower than it starts (155), else all that the pane has left.
        const auto filling = [&] { return std::max(155, grid->viewport()->width() - others()); };
        QCOMPARE(grid->columnWidth(TSubtitleGridModel::ColText), filling());
        auto* panes = Ctl<QSplitter>(x.f(), "SplitterHor");
        const int room = panes->sizes()[0] + panes->sizes()[1];
        panes->setSizes({room - 60, 60});
        QApplication::processEvents();
        QVERIFY(grid->viewport()->width() - others() > 155);
        QCOMPARE(grid->columnWidth(TSubtitleGridModel::ColText), filling());
        // A title column narrowed by hand gives the text column the room.
        grid->setColumnWidth(TSubtitleGridModel::ColStart, grid->columnWidth(TSubtitleGridModel::ColStart) - 20);
        QCOMPARE(grid->columnWidth(TSubtitleGridModel::ColText), filling());
        // A text wider than the pane widens the column; a click on it leaves the numbers in sight.
        QVERIFY(x.f().LoadDocument(0, x.Write("b.srt", Entries({{1000, "one"}, {2000, QByteArray(400, 'w').constData()}}))));
        QApplication::processEvents();
        QVERIFY(grid->columnWidth(TSubtitleGridModel::ColText) > grid->viewport()->width());
        QCOMPARE(grid->horizontalScrollBar()->value(), 0);
        const QRect cell = grid->visualRect(Probe(x.f()).Pane(0)->GridModel->index(1, TSubtitleGridModel::ColText));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(others() + 20, cell.center().y()));
        QCOMPARE(grid->currentIndex().row(), 1);
        QCOMPARE(grid->horizontalScrollBar()->value(), 0);
    }

    void activePaneColoursTheTitleBars() {
        TScriptedQuestions questions;
        Fixture x;
        QCOMPARE(Probe(x.f()).ActiveSide(), -1);
        Probe(x.f()).sgSubLEnter(1);
        QCOMPARE(Probe(x.f()).ActiveSide(), 1);
        QCOMPARE(Probe(x.f()).Pane(1)->FileLabel->Color(), QColor(0, 0, 0xFF));
        QCOMPARE(Probe(x.f()).Pane(0)->FileLabel->Color(), QColor(0x80, 0x80, 0x80));
        QTest::mouseClick(Probe(x.f()).Pane(0)->FileLabel, Qt::LeftButton);
        QCOMPARE(Probe(x.f()).ActiveSide(), 0);
    }

    void syncOppositeTakesTheNearestStartEarlierOnATie() {
        TScriptedQuestions questions;
        Fixture x;
        QVERIFY(x.f().LoadDocument(0, x.Write("l.srt", Entries({{2000, "a"}, {2001, "b"}}))));
        QVERIFY(x.f().LoadDocument(1, x.Write("r.srt", Entries({{1000, "x"}, {3000, "y"}}))));
        Probe(x.f()).SyncOpposite(0, 0);
        QCOMPARE(x.Current(1), 0);
        Probe(x.f()).SyncOpposite(0, 1);
        QCOMPARE(x.Current(1), 1);

        // With aSyncLR checked, the user's row change moves the other pane.
        Ctl<QAction>(x.f(), "aSyncLR")->setChecked(true);
        Probe(x.f()).Pane(1)->Grid->setCurrentIndex(Probe(x.f()).Pane(1)->GridModel->index(0, 0));
        QCOMPARE(x.Current(1), 0);
        QCOMPARE(x.Current(0), 0);
    }

    void selectRowScrollsTowardsTheMiddle() {
        TScriptedQuestions questions;
        Fixture x;
        QString text;
        std::vector<std::pair<int, const char*>> many;
        for (int i = 0; i < 100; ++i)
            text += QString("%1\n%2 --> %2\nline\n\n")
                        .arg(i + 1)
                        .arg(QString::fromStdString(MsToTimeText(i * 1000)));
        QVERIFY(x.f().LoadDocument(0, x.Write("many.srt", text)));
        QTableView* grid = Probe(x.f()).Pane(0)->Grid;
        grid->setFixedHeight(grid->horizontalHeader()->height() +
                             10 * grid->verticalHeader()->defaultSectionSize() +
                             2 * grid->frameWidth() + 1);
        x.f().show();
        QVERIFY(QTest::qWaitForWindowExposed(&x.f()));
        const int visible =
            grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize();
        QVERIFY(visible >= 5);
        QSignalSpy rowChanges(Probe(x.f()).Pane(0), &TSubtitlePane::rowChanged);
        Probe(x.f()).SelectRow(0, 0);
        QCOMPARE(grid->verticalScrollBar()->value(), 0);
        QCOMPARE(Probe(x.f()).SelectionTop(0), 1);
        Probe(x.f()).SelectRow(0, 99);
        QCOMPARE(grid->verticalScrollBar()->value(), 100 - visible); // the last page
        Probe(x.f()).SelectRow(0, 50);
        QCOMPARE(grid->verticalScrollBar()->value(), 51 - visible / 2 - 1);
        QCOMPARE(rowChanges.count(), 0); // no row change of the pane
    }

    void doubleClickMovesTheFilmToTheEntry() {
        TScriptedQuestions questions;
        Fixture x;
        QVERIFY(x.f().FileOpenMovieAccept("/films/f.avi"));
        QVERIFY(x.f().LoadDocument(0, x.Write("a.srt", Entries({{12500, "a"}, {200000, "b"}}))));
        Probe(x.f()).Pane(0)->Grid->setCurrentIndex(Probe(x.f()).Pane(0)->GridModel->index(0, 0));
        Probe(x.f()).sgSubLDblClick(0);
        QCOMPARE(x.player->Position, 12.5);
        QCOMPARE(Ctl<QSlider>(x.f(), "TrackBar")->value(), 12);
        // Past the end of the film: nothing.
        Probe(x.f()).Pane(0)->Grid->setCurrentIndex(Probe(x.f()).Pane(0)->GridModel->index(1, 0));
        Probe(x.f()).sgSubLDblClick(0);
        QCOMPARE(x.player->Position, 12.5);
    }

    void recentFiles() {
        TScriptedQuestions questions;
        Fixture x;
        QStringList paths;
        for (const char* name : {"a.srt", "b.srt", "c.srt", "d.srt", "e.srt"})
            paths << x.Write(name, Entries({{1000, "x"}}));
        for (const QString& p : paths)
            QVERIFY(x.f().LoadDocument(0, p));
        QCOMPARE(Probe(x.f()).RecentFiles(),
                 (QStringList{paths[4], paths[3], paths[2], paths[1]})); // the oldest went
        QVERIFY(Probe(x.f()).RecentMenu()[0]->text().endsWith(paths[4]));
        // The same file in other letters stays one entry, now first.
        const QString upper = paths[2].left(paths[2].size() - 5) + "C.srt";
        Probe(x.f()).RecentFiles()[2] = upper;
        QVERIFY(x.f().LoadDocument(0, paths[2]));
        QCOMPARE(Probe(x.f()).RecentFiles(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));

        // Left active with a document and the right pane empty: the item opens on the right.
        Probe(x.f()).sgSubLEnter(0);
        Probe(x.f()).muF1Click(3);
        QCOMPARE(x.Title(1), "[右側字幕] -- " + paths[1]);
    }

    void findAndFindNext() {
        TScriptedQuestions questions;
        Fixture x;
        QVERIFY(x.f().LoadDocument(0, x.Write("a.srt", Entries({{0, "x"},
                                                                {1, "y"},
                                                                {2, "z"},
                                                                {3, "cab"},
                                                                {4, "q"},
                                                                {5, "r"},
                                                                {6, "s"},
                                                                {7, "abc"},
                                                                {8, "t"}}))));
        // Nothing happens while no pane is active.
        questions.InputAnswers << QString("ab");
        Ctl<QAction>(x.f(), "aFind")->trigger();
        QCOMPARE(questions.InputAnswers.size(), 1);

        Probe(x.f()).sgSubLEnter(0);
        Ctl<QAction>(x.f(), "aFind")->trigger();
        QCOMPARE(Probe(x.f()).SearchText(), QStringLiteral("ab"));
        QCOMPARE(Probe(x.f()).SelectionTop(0), 4);
        Ctl<QAction>(x.f(), "aFindNext")->trigger();
        QCOMPARE(Probe(x.f()).SelectionTop(0), 8);
        Ctl<QAction>(x.f(), "aFindNext")->trigger(); // no wrap: the selection stays
        QCOMPARE(Probe(x.f()).SelectionTop(0), 8);
        questions.InputAnswers << std::nullopt; // cancel changes nothing
        Ctl<QAction>(x.f(), "aFind")->trigger();
        QCOMPARE(Probe(x.f()).SearchText(), QStringLiteral("ab"));
    }

    void replaceAllAndReplaceAtTheTopRow() {
        TScriptedQuestions questions;
        Fixture x;
        QVERIFY(
            x.f().LoadDocument(0, x.Write("a.srt", Entries({{0, "aaa"}, {1, "a"}, {2, "ba"}}))));
        Ctl<QAction>(x.f(), "aReplace")->trigger(); // no active pane: nothing
        QVERIFY(!Probe(x.f()).ReplaceDialog());
        Probe(x.f()).sgSubLEnter(0);
        Ctl<QAction>(x.f(), "aReplace")->trigger();
        QVERIFY(Probe(x.f()).ReplaceDialog() && Probe(x.f()).ReplaceDialog()->isVisible());
        Probe(x.f()).ReplaceDialog()->edFind->setText("a");
        Probe(x.f()).ReplaceDialog()->edReplace->setText("aa");

        // Replace changes only the entry of the selection's top row.
        Probe(x.f()).Pane(0)->Grid->selectionModel()->select(
            QItemSelection(Probe(x.f()).Pane(0)->GridModel->index(1, 0),
                           Probe(x.f()).Pane(0)->GridModel->index(2, 4)),
            QItemSelectionModel::ClearAndSelect);
        Probe(x.f()).ReplaceDialog()->bbtnReplace->click();
        QCOMPARE(x.Cell(0, 0, 4), QStringLiteral("aaa"));
        QCOMPARE(x.Cell(0, 1, 4), QStringLiteral("aa"));
        QCOMPARE(x.Cell(0, 2, 4), QStringLiteral("ba"));
        QVERIFY(x.Title(0).endsWith("*"));

        Probe(x.f()).ReplaceDialog()->bbtnReplaceAll->click();
        QCOMPARE(x.Cell(0, 0, 4), QStringLiteral("aaaaaa"));
        QCOMPARE(x.Cell(0, 2, 4), QStringLiteral("baa"));

        // Find next from the dialog takes its text as the search text.
        Probe(x.f()).ReplaceDialog()->edFind->setText("baa");
        Probe(x.f()).SelectRow(0, 0);
        Probe(x.f()).ReplaceDialog()->bbtnFindNext->click();
        QCOMPARE(Probe(x.f()).SearchText(), QStringLiteral("baa"));
        QCOMPARE(Probe(x.f()).SelectionTop(0), 3);

        // A text the Big5 document cannot hold is refused with a message, nothing replaced.
        QVERIFY(x.f().LoadDocument(
            1, x.Write("b.srt",
                       QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\n\xA5\x7C\r\n\r\n"))));
        Probe(x.f()).sgSubLEnter(1);
        Probe(x.f()).ReplaceDialog()->edFind->setText(QString::fromUtf8("四"));
        Probe(x.f()).ReplaceDialog()->edReplace->setText(QString::fromUtf8("😀"));
        const qsizetype before = questions.Messages.size();
        Probe(x.f()).ReplaceDialog()->bbtnReplaceAll->click();
        QCOMPARE(questions.Messages.size(), before + 1);
        QCOMPARE(x.Cell(1, 0, 4), QString::fromUtf8("四"));
        Probe(x.f()).ReplaceDialog()->edReplace->setText(QString::fromUtf8("帆"));
        Probe(x.f()).ReplaceDialog()->bbtnReplaceAll->click();
        QCOMPARE(x.Cell(1, 0, 4), QString::fromUtf8("帆"));
    }

    void lineCommandsAndRepair() {
        TScriptedQuestions questions;
        Fixture x;
        const QString path = x.Write(
            "a.srt",
            QStringLiteral(
                "1\n00:00:00,000 --> 00:00:01,500\na\n\n2\n00:00:01,000 --> 00:00:02,000\nb\n\n"
                "3\n00:00:01,999 --> 00:00:03,000\nc\n\n4\n00:00:03,000 --> 00:00:04,000\nd\n\n"));
        QVERIFY(x.f().LoadDocument(0, path));
        Probe(x.f()).sgSubLEnter(0);

        Ctl<QAction>(x.f(), "aCheckTime")->trigger();
        QCOMPARE(questions.Messages.last().Text, QStringLiteral("修正字幕重疊數: 2"));
        QCOMPARE(x.Cell(0, 0, 3), QStringLiteral("00:999"));
        QCOMPARE(x.Cell(0, 1, 3), QStringLiteral("00:998"));
        QVERIFY(x.Title(0).endsWith("*"));

        // Insert before the selected entry; the row then shows the new blank entry.
        Probe(x.f()).SelectRow(0, 2);
        Ctl<QAction>(x.f(), "aNewLine")->trigger();
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 5);
        QCOMPARE(x.Cell(0, 2, 4), QString());
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Item(2)->Start, 1998 + 10);
        QCOMPARE(Probe(x.f()).SelectionTop(0), 3);

        // Delete asks; Cancel keeps everything, OK removes every selected row.
        Probe(x.f()).Pane(0)->Grid->selectionModel()->select(
            QItemSelection(Probe(x.f()).Pane(0)->GridModel->index(1, 0),
                           Probe(x.f()).Pane(0)->GridModel->index(2, 4)),
            QItemSelectionModel::ClearAndSelect);
        questions.MessageAnswers << mrCancel;
        Ctl<QAction>(x.f(), "aDelLine")->trigger();
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 5);
        QCOMPARE(questions.Messages.last().Text, QStringLiteral("確定要刪除嗎?\n(共 2 筆字幕)"));
        questions.MessageAnswers << mrOk;
        Ctl<QAction>(x.f(), "aDelLine")->trigger();
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 3);
        QCOMPARE(x.Cell(0, 1, 4), QStringLiteral("c"));
        // The side's status panel counts the entries after every step, undo and redo.
        QCOMPARE(Probe(x.f()).Panels()[1]->text(), QStringLiteral("[SRT]  (3)  UTF-8"));
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QCOMPARE(Probe(x.f()).Panels()[1]->text(), QStringLiteral("[SRT]  (5)  UTF-8"));
        Ctl<QAction>(x.f(), "aRedo")->trigger();
        QCOMPARE(Probe(x.f()).Panels()[1]->text(), QStringLiteral("[SRT]  (3)  UTF-8"));

        // Rows remembered past the end never reach beyond the last entry.
        Probe(x.f()).SelectRow(0, 2);
        questions.MessageAnswers << mrOk;
        Ctl<QAction>(x.f(), "aDelLine")->trigger();
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 2);
        questions.MessageAnswers << mrOk;
        Ctl<QAction>(x.f(), "aDelLine")->trigger(); // still works
        QVERIFY(Probe(x.f()).Pane(0)->Doc()->Count() <= 2);
    }

    void legacyCodePageFollowsTheLanguage() {
        TScriptedQuestions questions;
        // 简体 in GBK; the same bytes are no sensible Big5.
        const QByteArray gbk("1\r\n00:00:01,000 --> 00:00:02,000\r\n\xBC\xF2\xCC\xE5\r\n\r\n");
        OpenSettings()->setValue("Lang.Lcid", 2052);
        {
            Fixture x;
            QVERIFY(x.f().LoadDocument(0, x.Write("gbk.srt", gbk)));
            QCOMPARE(x.Cell(0, 0, 4), QString::fromUtf8("简体"));
        }
        OpenSettings()->setValue("Lang.Lcid", 1028);
        Fixture x;
        QVERIFY(x.f().LoadDocument(0, x.Write("big5.srt", gbk)));
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->CodePage(), kCodePageBig5);
        // Choosing Simplified Chinese waits for the next start: the page too.
        questions.MessageAnswers << mrOk;
        Ctl<QAction>(x.f(), "aSelCHS")->trigger();
        QVERIFY(x.f().LoadDocument(1, x.Write("again.srt", gbk)));
        QCOMPARE(Probe(x.f()).Pane(1)->Doc()->CodePage(), kCodePageBig5);
    }

    void big5FileShowsItsCharacters() {
        TScriptedQuestions questions;
        Fixture x;
        const QString path =
            x.Write("big5.srt",
                    QByteArray("1\r\n00:00:01,000 --> 00:00:02,000\r\n\xA5\x7C\xA6\x7C\r\n\r\n"));
        QVERIFY(x.f().LoadDocument(1, path));
        QCOMPARE(x.Cell(1, 0, 4), QString::fromUtf8("四帆"));
    }

    // A file read in the wrong page is read again in the one chosen: offered the list with its
    // page first, asked before changes are thrown away, MicroDVD at the rate it was read at.
    void reopenInAnotherCodePage() {
        TScriptedQuestions questions;
        Fixture x;
        // 简体 in GBK: under Traditional Chinese too short to tell from Big5.
        const QByteArray gbk("1\r\n00:00:01,000 --> 00:00:02,000\r\n\xBC\xF2\xCC\xE5\r\n\r\n");
        const QString path = x.Write("short.srt", gbk);
        QVERIFY(!Ctl<QAction>(x.f(), "aReopenL")->isEnabled());
        QVERIFY(x.f().LoadDocument(0, path));
        QVERIFY(Ctl<QAction>(x.f(), "aReopenL")->isEnabled() && !Ctl<QAction>(x.f(), "aReopenR")->isEnabled());
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->CodePage(), kCodePageBig5);
        const QStringList pages{"UTF-8",     "Big5",   "GBK",         "GB18030",
                                "Shift-JIS", "EUC-KR", "Windows-1252"};

        // Cancelled: nothing read.
        Ctl<QAction>(x.f(), "aReopenL")->trigger();
        QCOMPARE(questions.OfferedItems.last(), pages);
        QCOMPARE(questions.OfferedItem.last(), 1);
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->CodePage(), kCodePageBig5);

        questions.ItemAnswers << 2;
        Ctl<QAction>(x.f(), "aReopenL")->trigger();
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->CodePage(), kCodePageGbk);
        QCOMPARE(x.Cell(0, 0, 4), QString::fromUtf8("简体"));
        QCOMPARE(Probe(x.f()).Panels()[1]->text(), QStringLiteral("[SRT]  (1)  GBK"));
        QCOMPARE(Probe(x.f()).Panels()[1]->toolTip(), QStringLiteral("GBK"));
        QCOMPARE(Probe(x.f()).Pane(0)->FileLabel->toolTip(), path + "\nGBK");

        // With changes, the discard question comes after the choice; Cancel keeps them.
        Probe(x.f()).Pane(0)->Apply(QStringLiteral("x"), InsertBlankChange(*Probe(x.f()).Pane(0)->Doc(), 0, 1));
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 2);
        questions.ItemAnswers << 1;
        questions.MessageAnswers << mrCancel;
        Ctl<QAction>(x.f(), "aReopenL")->trigger();
        QCOMPARE(questions.Messages.size(), 1);
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 2);
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->CodePage(), kCodePageGbk);
        questions.ItemAnswers << 1;
        questions.MessageAnswers << mrOk;
        Ctl<QAction>(x.f(), "aReopenL")->trigger();
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 1);
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->CodePage(), kCodePageBig5);
        QVERIFY(!Probe(x.f()).Side(0)->IsModified());

        // A MicroDVD file is not asked for its rate again.
        int asked = 0;
        Probe(x.f()).AskFrameRate() = [&asked](std::optional<double>) {
            ++asked;
            return std::optional<std::string>("29.97");
        };
        QVERIFY(x.f().LoadDocument(1, x.Write("film.sub", QByteArray("{30}{60}\xBC\xF2\r\n"))));
        questions.ItemAnswers << 2;
        Ctl<QAction>(x.f(), "aReopenR")->trigger();
        QCOMPARE(asked, 1);
        QCOMPARE(Probe(x.f()).Pane(1)->Doc()->FrameRate(), 29.97);
        QCOMPARE(Probe(x.f()).Pane(1)->Doc()->CodePage(), kCodePageGbk);
        QCOMPARE(Probe(x.f()).Pane(1)->Doc()->Item(0)->Start, 1002); // frame 30 at 29.97
    }
};

QTEST_MAIN(TestPanes)
#include "tst_panes.moc"
