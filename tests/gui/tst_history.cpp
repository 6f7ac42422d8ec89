// Undo and redo: every command a step, the exact file back after undoing, the "*" following the
// history, the history's caps, and the grid following changes by rows with its view kept.
#include "MainProbe.h"
#include "FormFixture.h"
#include "History.h"
#include "Main.h"
#include "ReplaceDialog.h"
#include "ScriptedQuestions.h"
#include "SubtitleGrid.h"
#include "TestSettings.h"

#include "Editing.h"
#include "Kellabel.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

namespace {

// A file as another program wrote it: LF line ends, odd numbering, overlapping times.
QByteArray Original(int n) {
    QByteArray text;
    for (int i = 0; i < n; ++i) {
        const int start = i * 1000;
        // Every third entry runs into the next one.
        const int end = start + (i % 3 == 0 ? 1500 : 800);
        text += QByteArray::number(i * 2 + 5) + "\n" + MsToTimeText(start).c_str() + " --> " +
                MsToTimeText(end).c_str() + "\n" + (i % 4 == 0 ? "find me" : "line") +
                QByteArray::number(i) + "\n\n";
    }
    return text;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Fixture : TFormFixture {
    TScriptedQuestions questions;
    QString path;
    Fixture() : TFormFixture("/films/f.avi", 100.0) {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    TSubtitlePane& pane(int side = 0) { return *Probe(f()).Pane(side); }
    QString Title(int side = 0) { return Probe(f()).Pane(side)->FileLabel->Caption(); }
    void Open(const QByteArray& bytes, int side = 0) {
        path = Write(side ? "r.srt" : "l.srt", bytes);
        QVERIFY(f().LoadDocument(side, path));
        Probe(f()).sgSubLEnter(side);
    }
    void SelectRows(std::initializer_list<int> rows, int side = 0) {
        QItemSelection selection;
        for (int row : rows)
            selection.select(pane(side).GridModel->index(row, 0),
                             pane(side).GridModel->index(row, 4));
        Probe(f()).Pane(side)->Grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
    void ReplaceAll(const QString& what, const QString& with) {
        Ctl<QAction>(f(), "aReplace")->trigger();
        Probe(f()).ReplaceDialog()->edFind->setText(what);
        Probe(f()).ReplaceDialog()->edReplace->setText(with);
        Probe(f()).ReplaceDialog()->bbtnReplaceAll->click();
    }
    std::vector<int> Selected(int side = 0) { return pane(side).SelectedEntries(); }
};

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    // Every command is one step; undoing them all gives back the file's own bytes, redoing them
    // all gives back the bytes of the edited document.
    void everyCommandUndoesToTheExactFile() {
        Fixture x;
        const QByteArray original = Original(40);
        x.Open(original);
        const int count = x.pane().Doc()->Count();

        Probe(x.f()).SelectRow(0, 5);
        Ctl<QAction>(x.f(), "aNewLine")->trigger();
        x.questions.MessageAnswers << mrOk;
        x.SelectRows({2, 9, 10, 30});
        Ctl<QAction>(x.f(), "aDelLine")->trigger();
        x.ReplaceAll("find", "found");
        Probe(x.f()).SelectRow(0, 2);
        QCOMPARE(x.pane().GridModel->CellText(2, 4), QStringLiteral("line3"));
        Probe(x.f()).ReplaceDialog()->bbtnReplace->click(); // "find" is not in "line3": no step
        Probe(x.f()).ReplaceDialog()->edFind->setText("line");
        Probe(x.f()).ReplaceDialog()->bbtnReplace->click();
        x.questions.MessageAnswers << mrOk;
        Ctl<QAction>(x.f(), "aCheckTime")->trigger();
        QCOMPARE(Probe(x.f()).Side(0)->History().Steps(), size_t(5));
        QCOMPARE(Ctl<QAction>(x.f(), "aUndo")->text(), QStringLiteral("復原 修正重疊時間"));
        QCOMPARE(x.pane().Doc()->Count(), count + 1 - 4);

        QVERIFY(Probe(x.f()).Side(0)->Save(nullptr));
        const QByteArray edited = Bytes(x.path);
        QVERIFY(!x.Title().endsWith("*"));

        const QStringList expected{"修正重疊時間", "取代", "全部取代", "刪除字幕", "新增字幕"};
        for (const QString& name : expected) {
            QCOMPARE(Ctl<QAction>(x.f(), "aUndo")->text(), QStringLiteral("復原 ") + name);
            Ctl<QAction>(x.f(), "aUndo")->trigger();
            QCOMPARE(Ctl<QAction>(x.f(), "aRedo")->text(), QStringLiteral("重做 ") + name);
            QVERIFY(x.Title().endsWith("*")); // away from the saved state
        }
        QVERIFY(!Ctl<QAction>(x.f(), "aUndo")->isEnabled());
        QCOMPARE(Ctl<QAction>(x.f(), "aUndo")->text(), QStringLiteral("復原"));
        QVERIFY(Probe(x.f()).Side(0)->Save(nullptr));
        // The writer's own line ends and numbers; the entries are those of the file.
        const SubTitle reread(x.path.toStdString(), 25);
        const SubTitle first = SubTitle::FromBytes(original.toStdString(), "x.srt", 25);
        QCOMPARE(reread.Count(), first.Count());
        for (int i = 0; i < first.Count(); ++i) {
            QCOMPARE(reread.Item(i)->Text, first.Item(i)->Text);
            QCOMPARE(reread.Item(i)->Start, first.Item(i)->Start);
            QCOMPARE(reread.Item(i)->End, first.Item(i)->End);
        }

        for (int i = 0; i < 5; ++i)
            Ctl<QAction>(x.f(), "aRedo")->trigger();
        QVERIFY(!Ctl<QAction>(x.f(), "aRedo")->isEnabled());
        QVERIFY(Probe(x.f()).Side(0)->Save(nullptr));
        QCOMPARE(Bytes(x.path), edited);
    }

    // A file written the way the writer writes it comes back byte for byte after undoing.
    void undoingEverythingSavesTheOriginalBytes() {
        Fixture x;
        QByteArray crlf;
        for (int i = 0; i < 12; ++i)
            crlf += QByteArray::number(i + 1) + "\r\n" + MsToTimeText(i * 1000).c_str() + " --> " +
                    MsToTimeText(i * 1000 + 1200).c_str() + "\r\nword" + QByteArray::number(i) +
                    "\r\nsecond\r\n\r\n";
        x.Open(crlf);
        x.ReplaceAll("word", "w");
        Probe(x.f()).SelectRow(0, 4);
        Ctl<QAction>(x.f(), "aNewLine")->trigger();
        x.questions.MessageAnswers << mrOk;
        Ctl<QAction>(x.f(), "aCheckTime")->trigger();
        x.questions.MessageAnswers << mrOk;
        x.SelectRows({0, 11});
        Ctl<QAction>(x.f(), "aDelLine")->trigger();
        while (Ctl<QAction>(x.f(), "aUndo")->isEnabled())
            Ctl<QAction>(x.f(), "aUndo")->trigger();
        QVERIFY(!x.Title().endsWith("*")); // back at the state opened
        QVERIFY(Probe(x.f()).Side(0)->Save(nullptr));
        QCOMPARE(Bytes(x.path), crlf);
    }

    // The "*" follows the history: the state last saved or opened is clean, every other is not.
    void modifiedMarkFollowsTheHistory() {
        Fixture x;
        x.Open(Original(6));
        QVERIFY(!x.Title().endsWith("*"));
        QVERIFY(!Ctl<QAction>(x.f(), "aUndo")->isEnabled() && !Ctl<QAction>(x.f(), "aRedo")->isEnabled());

        // A command that changes nothing is no step and leaves the mark as it was.
        x.ReplaceAll("absent", "x");
        QVERIFY(!x.Title().endsWith("*"));
        QVERIFY(!Ctl<QAction>(x.f(), "aUndo")->isEnabled());

        x.ReplaceAll("line", "LINE");
        QVERIFY(x.Title().endsWith("*"));
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QVERIFY(!x.Title().endsWith("*"));
        QVERIFY(!Probe(x.f()).Side(0)->IsModified());
        Ctl<QAction>(x.f(), "aRedo")->trigger();
        QVERIFY(x.Title().endsWith("*"));
        QVERIFY(Probe(x.f()).Side(0)->Save(nullptr));
        QVERIFY(!x.Title().endsWith("*"));
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QVERIFY(x.Title().endsWith("*")); // the file now holds the redone state
        Ctl<QAction>(x.f(), "aRedo")->trigger();
        QVERIFY(!x.Title().endsWith("*"));

        // A new step after undoing past the saved state leaves no way back to it.
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        x.ReplaceAll("line", "other");
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QVERIFY(x.Title().endsWith("*"));

        // Save through Ctrl+S's command also moves the saved state.
        Ctl<QAction>(x.f(), "aSaveL")->trigger();
        QVERIFY(!x.Title().endsWith("*"));

        // Opening a file clears the side's history.
        x.ReplaceAll("line", "x");
        QVERIFY(Ctl<QAction>(x.f(), "aUndo")->isEnabled());
        x.Open(Original(3));
        QVERIFY(!Ctl<QAction>(x.f(), "aUndo")->isEnabled() && !Ctl<QAction>(x.f(), "aRedo")->isEnabled());
        QCOMPARE(Probe(x.f()).Side(0)->History().Steps(), size_t(0));
    }

    // Undo and redo act on the active pane; each side keeps its own history.
    void eachSideHasItsOwnHistory() {
        Fixture x;
        x.Open(Original(4), 0);
        x.Open(Original(5), 1);
        Probe(x.f()).sgSubLEnter(0);
        x.ReplaceAll("line", "left");
        Probe(x.f()).sgSubLEnter(1);
        QVERIFY(!Ctl<QAction>(x.f(), "aUndo")->isEnabled());
        Probe(x.f()).SelectRow(1, 0);
        Ctl<QAction>(x.f(), "aNewLine")->trigger();
        QCOMPARE(Ctl<QAction>(x.f(), "aUndo")->text(), QStringLiteral("復原 新增字幕"));
        Probe(x.f()).sgSubLEnter(0);
        QCOMPARE(Ctl<QAction>(x.f(), "aUndo")->text(), QStringLiteral("復原 全部取代"));
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QCOMPARE(x.pane(1).Doc()->Count(), 6); // the right side's step is still done
        QCOMPARE(x.pane(0).GridModel->CellText(1, 4), QStringLiteral("line1"));
    }

    // Ctrl+Z in a text field undoes typing there; in the grid it undoes the document's step.
    void ctrlZBelongsToTheFieldWithTheFocus() {
        Fixture x;
        x.Open(Original(4));
        x.ReplaceAll("line", "X");
        x.f().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(x.form.get()));
        Ctl<QLineEdit>(x.f(), "leSecFrom")->setFocus();
        Ctl<QLineEdit>(x.f(), "leSecFrom")->selectAll();
        QTest::keyClicks(Ctl<QLineEdit>(x.f(), "leSecFrom"), "7");
        QTest::keyClick(Ctl<QLineEdit>(x.f(), "leSecFrom"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(x.pane().GridModel->CellText(1, 4), QStringLiteral("X1")); // no step undone
        Probe(x.f()).Pane(0)->Grid->setFocus();
        QTest::keyClick(Probe(x.f()).Pane(0)->Grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(x.pane().GridModel->CellText(1, 4), QStringLiteral("line1"));
        QTest::keyClick(Probe(x.f()).Pane(0)->Grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(x.pane().GridModel->CellText(1, 4), QStringLiteral("X1"));
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QTest::keyClick(Probe(x.f()).Pane(0)->Grid, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(x.pane().GridModel->CellText(1, 4), QStringLiteral("X1"));
    }

    // Inserts and deletes reach the grid as rows; the selection and the scroll keep their row
    // numbers, and nothing resets the view.
    void gridKeepsItsViewThroughInsertAndDelete() {
        Fixture x;
        x.Open(Original(300));
        QTableView* grid = Probe(x.f()).Pane(0)->Grid;
        QSignalSpy resets(x.pane().GridModel, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(x.pane().GridModel, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(x.pane().GridModel, &QAbstractItemModel::rowsRemoved);
        grid->verticalScrollBar()->setValue(120);
        x.SelectRows({130, 131, 132});
        Ctl<QAction>(x.f(), "aNewLine")->trigger();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(grid->verticalScrollBar()->value(), 120);
        QCOMPARE(x.Selected(), (std::vector<int>{130, 131, 132}));
        QCOMPARE(x.pane().GridModel->CellText(130, 4), QString()); // the new entry

        x.questions.MessageAnswers << mrOk;
        x.SelectRows({125, 140});
        Ctl<QAction>(x.f(), "aDelLine")->trigger();
        QCOMPARE(removed.count(), 2);
        QCOMPARE(grid->verticalScrollBar()->value(), 120);
        QCOMPARE(x.Selected(), (std::vector<int>{125}));
        QCOMPARE(resets.count(), 0);

        // Undo selects the rows it brought back, and shows them.
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QCOMPARE(x.Selected(), (std::vector<int>{125, 140}));
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QCOMPARE(x.Selected(), (std::vector<int>{130}));
        QCOMPARE(x.pane().Doc()->Count(), 300);
        Ctl<QAction>(x.f(), "aRedo")->trigger();
        QCOMPARE(x.Selected(), (std::vector<int>{130}));
        QCOMPARE(resets.count(), 0);
    }

    // Deleting rows selected apart takes exactly those, and the question says how many.
    void deleteTakesExactlyTheSelectedRows() {
        Fixture x;
        x.Open(Original(12));
        x.questions.MessageAnswers << mrOk;
        x.SelectRows({1, 9});
        Ctl<QAction>(x.f(), "aDelLine")->trigger();
        QCOMPARE(x.questions.Messages.last().Text, QStringLiteral("確定要刪除嗎?\n(共 2 筆字幕)"));
        QCOMPARE(x.pane().Doc()->Count(), 10);
        QStringList texts;
        for (int i = 0; i < 10; ++i)
            texts << x.pane().GridModel->CellText(i, 4);
        QCOMPARE(texts, (QStringList{"find me0", "line2", "line3", "find me4", "line5", "line6",
                                     "line7", "find me8", "line10", "line11"}));
    }

    // A click on the row already current is a row change: the other pane follows.
    void clickOnTheCurrentRowIsARowChange() {
        Fixture x;
        x.Open(Original(10), 0);
        x.Open(Original(10), 1);
        Ctl<QAction>(x.f(), "aSyncLR")->setChecked(true);
        Probe(x.f()).SelectRow(0, 4);
        QTableView* grid = Probe(x.f()).Pane(0)->Grid;
        const QRect cell = grid->visualRect(x.pane().GridModel->index(4, 4));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(Probe(x.f()).SelectionTop(1), 5);
        Probe(x.f()).SelectRow(1, 8);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(Probe(x.f()).SelectionTop(1), 5); // followed again, with no change of row
    }

    // The history drops its oldest steps first, by count and by memory; the newest always stays.
    void historyCapsDropTheOldestSteps() {
        auto change = [](int bytes) {
            TChange c;
            c.Hunks.emplace_back(TSplice{0, 1, {PerTitle(0, 0, std::string(bytes, 'x'))}});
            return c;
        };
        TEditHistory history;
        history.SetLimits(3, 1 << 20);
        for (int i = 0; i < 5; ++i)
            history.Record(QString::number(i), change(10));
        QCOMPARE(history.Steps(), size_t(3));
        QCOMPARE(history.UndoName(), QStringLiteral("4"));
        QVERIFY(!history.IsClean()); // the saved state was among the dropped steps
        for (int i = 0; i < 3; ++i) {
            QVERIFY(history.CanUndo());
            history.Undone(history.TakeUndo());
        }
        QVERIFY(!history.CanUndo());
        QCOMPARE(history.RedoName(), QStringLiteral("2"));
        QVERIFY(!history.IsClean());

        TEditHistory small;
        small.SetLimits(100, 5000);
        small.Record("a", change(2000));
        small.Record("b", change(2000));
        QCOMPARE(small.Steps(), size_t(2));
        small.Record("c", change(2000));
        QCOMPARE(small.Steps(), size_t(2));
        QCOMPARE(small.UndoName(), QStringLiteral("c"));
        QVERIFY(small.Bytes() <= 5000);
        small.Record("huge", change(100000));
        QCOMPARE(small.Steps(), size_t(1));
        QCOMPARE(small.UndoName(), QStringLiteral("huge"));

        // Clean state kept while its step stays.
        TEditHistory kept;
        kept.SetLimits(2, 1 << 20);
        kept.Record("a", change(1));
        kept.SetClean();
        kept.Record("b", change(1));
        kept.Undone(kept.TakeUndo());
        QVERIFY(kept.IsClean());
        kept.Redone(kept.TakeRedo());
        kept.Record("c", change(1)); // drops "a": the state after it is still in the history
        kept.Undone(kept.TakeUndo());
        kept.Undone(kept.TakeUndo());
        QVERIFY(kept.IsClean());
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
