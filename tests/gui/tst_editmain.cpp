// The edit window with the main window on the film player double: the edit command, row changes
// re-targeting it, Apply as one step of the pane's history with the "*", undo from either window,
// walking the grids, the stored size and where the window opens.
#include "MainProbe.h"
#include "Edit.h"
#include "Editing.h"
#include "FormFixture.h"
#include "Kellabel.h"
#include "MaskEdit.h"
#include "ScriptedQuestions.h"
#include "SubtitleGrid.h"
#include "TestSettings.h"
#include "UpDown.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

// n entries one second apart, each half a second long, texts "n1", "n2", ...
QByteArray Srt(int n, int first = 1000, int gap = 1000) {
    QByteArray text;
    for (int i = 0; i < n; ++i) {
        const int start = first + i * gap;
        text += QString("%1\n%2 --> %3\nn%1\n\n")
                    .arg(i + 1)
                    .arg(QString::fromStdString(MsToTimeText(start)))
                    .arg(QString::fromStdString(MsToTimeText(start + 500)))
                    .toUtf8();
    }
    return text;
}

struct Fixture : TFormFixture {
    TScriptedQuestions questions;
    TEditForm* edit;
    QString path;
    Fixture() : TFormFixture("/films/f.avi", 100.0) {
        edit = new TEditForm(f().Host(), form.get());
        f().SetEditForm(edit);
    }
    void Open(int side, int n, int first = 1000, int gap = 1000) {
        path = Write(QStringLiteral("s%1.srt").arg(side), Srt(n, first, gap));
        QVERIFY(f().LoadDocument(side, path));
    }
    // The user moving to a row of a pane.
    void ChooseRow(int side, int index) {
        Probe(f()).Pane(side)->Grid->setCurrentIndex(Probe(f()).Pane(side)->GridModel->index(index, 0));
    }
    QString Cell(int side, int row, int column) {
        return Probe(f()).Pane(side)->GridModel->CellText(row, column);
    }
    QString Title(int side) { return Probe(f()).Pane(side)->FileLabel->Caption(); }
    int Current(int side) { return Probe(f()).Pane(side)->Grid->currentIndex().row(); }
};

} // namespace

class TestEditMain : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    void editCommandShowsTheActivePanesSelectionTop() {
        Fixture x;
        x.Open(0, 5);
        Probe(x.f()).sgSubLEnter(0);
        Probe(x.f()).SelectRow(0, 2);
        Ctl<QAction>(x.f(), "aEditSubtitle")->trigger();
        QVERIFY(Ctl<QAction>(x.f(), "aEditSubtitle")->isChecked());
        QVERIFY(x.edit->isVisible());
        QCOMPARE(x.edit->windowTitle(), QStringLiteral("編輯視窗 -- 左側字幕 No.3"));
        QCOMPARE(x.edit->moTitle->toPlainText(), QStringLiteral("n3"));
        Ctl<QAction>(x.f(), "aEditSubtitle")->trigger();
        QVERIFY(!Ctl<QAction>(x.f(), "aEditSubtitle")->isChecked());
        QVERIFY(!x.edit->isVisible());

        // No pane active: it shows what it held.
        Probe(x.f()).ActiveSide() = -1;
        Probe(x.f()).SelectRow(0, 4);
        Ctl<QAction>(x.f(), "aEditSubtitle")->trigger();
        QCOMPARE(x.edit->windowTitle(), QStringLiteral("編輯視窗 -- 左側字幕 No.3"));
        // The active pane empty (only its title bar clicked): the same.
        Ctl<QAction>(x.f(), "aEditSubtitle")->trigger();
        Probe(x.f()).sgSubLEnter(1);
        Ctl<QAction>(x.f(), "aEditSubtitle")->trigger();
        QCOMPARE(x.edit->windowTitle(), QStringLiteral("編輯視窗 -- 左側字幕 No.3"));
    }

    void closingUnchecksTheCommand_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("關閉") << 0;
        QTest::newRow("the frame's close box") << 1;
        QTest::newRow("the command") << 2;
    }
    void closingUnchecksTheCommand() {
        QFETCH(int, how);
        Fixture x;
        x.Open(0, 3);
        Probe(x.f()).sgSubLEnter(0);
        Ctl<QAction>(x.f(), "aEditSubtitle")->trigger();
        QVERIFY(x.edit->isVisible());
        x.edit->moTitle->setPlainText("closing");
        if (how == 0) x.edit->bbtnClose->click();
        if (how == 1) x.edit->close();
        if (how == 2) Ctl<QAction>(x.f(), "aEditSubtitle")->trigger();
        QVERIFY(!x.edit->isVisible());
        QVERIFY(!Ctl<QAction>(x.f(), "aEditSubtitle")->isChecked());
        // Only 關閉 applies.
        QCOMPARE(x.Cell(0, 0, 4), how == 0 ? QStringLiteral("closing") : QStringLiteral("n1"));
        // The next trigger opens it again.
        Ctl<QAction>(x.f(), "aEditSubtitle")->trigger();
        QVERIFY(x.edit->isVisible() && Ctl<QAction>(x.f(), "aEditSubtitle")->isChecked());
    }

    void everyRowChangeRetargetsShownOrHidden() {
        Fixture x;
        x.Open(0, 5);
        x.Open(1, 5, 1200);
        QVERIFY(!x.edit->isVisible());
        x.ChooseRow(1, 3);
        QCOMPARE(x.edit->Side, 1);
        QCOMPARE(x.edit->Index, 3);
        QCOMPARE(x.edit->windowTitle(), QStringLiteral("編輯視窗 -- 右側字幕 No.4"));
        x.ChooseRow(0, 1);
        QCOMPARE(x.edit->Side, 0);
        QCOMPARE(x.edit->moTitle->toPlainText(), QStringLiteral("n2"));
        // A click on the row already current is a row change, and keeps what is typed.
        x.edit->moTitle->setPlainText("typed");
        Probe(x.f()).sgSubLClick(0);
        QCOMPARE(x.edit->moTitle->toPlainText(), QStringLiteral("typed"));
    }

    void applyIsOneStepWithTheStar() {
        Fixture x;
        x.Open(0, 6);
        Probe(x.f()).sgSubLEnter(0);
        x.ChooseRow(0, 2);
        QCOMPARE(x.Title(0), "[左側字幕] -- " + x.path);
        x.edit->moTitle->setPlainText("new\ntext");
        x.edit->upStartSec->Click(1);
        x.edit->bbtnFit->click();
        QCOMPARE(x.Title(0), "[左側字幕] -- " + x.path + "*");
        QCOMPARE(x.Cell(0, 2, 4), QStringLiteral("new|text"));
        QCOMPARE(x.Cell(0, 2, 2), QStringLiteral("00:00:04,000"));
        QCOMPARE(x.Cell(0, 5, 2), QStringLiteral("00:00:07,000")); // the later entries followed
        QVERIFY(Ctl<QAction>(x.f(), "aUndo")->isEnabled());
        QCOMPARE(Ctl<QAction>(x.f(), "aUndo")->text(), QStringLiteral("復原 編輯字幕"));
        // Nothing new: no second step.
        x.edit->bbtnFit->click();
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QVERIFY(!Ctl<QAction>(x.f(), "aUndo")->isEnabled());
        QCOMPARE(x.Title(0), "[左側字幕] -- " + x.path);
        QCOMPARE(x.Cell(0, 5, 2), QStringLiteral("00:00:06,000"));
        // The window took the undone entry back in.
        QCOMPARE(x.edit->moTitle->toPlainText(), QStringLiteral("n3"));
        x.edit->sbNextClick(); // auto-apply applies nothing undone
        QVERIFY(!Ctl<QAction>(x.f(), "aUndo")->isEnabled());
        QVERIFY(!Probe(x.f()).Side(0)->IsModified());
    }

    void ctrlZInTheWindowUndoesItsSide() {
        Fixture x;
        x.Open(0, 4);
        x.Open(1, 4);
        x.ChooseRow(0, 1);
        x.edit->moTitle->setPlainText("applied");
        x.edit->bbtnFitClick();
        // The other pane is the active one, with a step of its own: the main window's undo is
        // enabled and shares the key.
        Probe(x.f()).ApplyChange(1, "right", SetEntryChange(*Probe(x.f()).Pane(1)->Doc(), 0, PerTitle(0, 1, "r")));
        Probe(x.f()).sgSubLEnter(1);
        QVERIFY(Ctl<QAction>(x.f(), "aUndo")->isEnabled());
        x.edit->ShowWindow();
        // A tool window counts as active with its main window: wait for it to be the one.
        QTRY_COMPARE(QApplication::activeWindow(), x.edit);

        // In the text box, Ctrl+Z undoes the typing there.
        x.edit->moTitle->setFocus();
        x.edit->moTitle->moveCursor(QTextCursor::End);
        QTest::keyClicks(x.edit->moTitle, "xy");
        QCOMPARE(x.edit->moTitle->toPlainText(), QStringLiteral("appliedxy"));
        QTest::keyClick(x.edit->moTitle, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(x.edit->moTitle->toPlainText(), QStringLiteral("applied"));
        QCOMPARE(x.Cell(0, 1, 4), QStringLiteral("applied"));

        // Elsewhere in the window it takes back the step of the side it shows. A tool window
        // sees its owner's shortcuts too (on X11 the main window's undo would make the key
        // ambiguous), so the window claims the key before shortcuts are looked for.
        x.edit->cbFit->setFocus();
        QKeyEvent claim(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier);
        claim.ignore();
        QApplication::sendEvent(x.edit->cbFit, &claim);
        QVERIFY(claim.isAccepted());
        QTest::keyClick(x.edit->cbFit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(x.Cell(0, 1, 4), QStringLiteral("n2"));
        QCOMPARE(x.edit->moTitle->toPlainText(), QStringLiteral("n2"));
        QTest::keyClick(x.edit->cbFit, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(x.Cell(0, 1, 4), QStringLiteral("applied"));
        QCOMPARE(x.edit->moTitle->toPlainText(), QStringLiteral("applied"));
        QCOMPARE(x.Cell(1, 0, 4), QStringLiteral("r"));
        // In a time field the key is the field's.
        x.edit->meStartSec->setFocus();
        QTest::keyClick(x.edit->meStartSec, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(x.Cell(0, 1, 4), QStringLiteral("applied"));
        // The main window's own undo still acts on its active pane.
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QCOMPARE(x.Cell(1, 0, 4), QStringLiteral("n1"));
        QCOMPARE(x.Cell(0, 1, 4), QStringLiteral("applied"));
    }

    void walkingMovesTheGridAndTheLinkedPane() {
        Fixture x;
        x.Open(0, 100);
        x.Open(1, 50, 1400, 2000);
        QTableView* grid = Probe(x.f()).Pane(0)->Grid;
        x.f().show();
        QVERIFY(QTest::qWaitForWindowActive(&x.f()));
        const int visible =
            grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize();
        Ctl<QAction>(x.f(), "aSyncLR")->setChecked(true);
        x.ChooseRow(0, 49);
        x.edit->ShowWindow();
        // A tool window counts as active with its main window: wait for it to be the one.
        QTRY_COMPARE(QApplication::activeWindow(), x.edit);
        x.edit->meStartSec->setFocus();
        QSignalSpy rowChanges(Probe(x.f()).Pane(0), &TSubtitlePane::rowChanged);
        QTest::keyClick(x.edit->meStartSec, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(x.edit->Index, 50);
        QCOMPARE(x.Current(0), 50);
        QCOMPARE(Probe(x.f()).SelectionTop(0), 51);
        QCOMPARE(grid->verticalScrollBar()->value(), 51 - visible / 2 - 1); // centred
        // The other pane at the entry starting nearest to 00:00:51,000.
        QCOMPARE(x.Current(1), 25);
        QCOMPARE(rowChanges.count(), 0); // no row change by the user

        // While the film plays the row is only kept in view.
        QVERIFY(x.f().FileOpenMovieAccept("/films/f.avi"));
        Ctl<QAction>(x.f(), "aPlay")->trigger();
        // The film's region takes its share: fewer rows in sight.
        QApplication::processEvents();
        const int playingVisible =
            grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize();
        grid->verticalScrollBar()->setValue(0);
        QTest::keyClick(x.edit->meStartSec, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(x.Current(0), 49);
        QCOMPARE(grid->verticalScrollBar()->value(), 49 - playingVisible + 1);
    }

    void filmTimeFromThePlayer() {
        Fixture x;
        x.Open(0, 3);
        x.ChooseRow(0, 0);
        QVERIFY(!x.edit->sbtnGetStart->isEnabled());
        QVERIFY(x.f().FileOpenMovieAccept("/films/f.avi"));
        x.player->Position = 42.1234;
        x.edit->ShowWindow(); // a film opened meanwhile is seen when the window shows
        QVERIFY(x.edit->sbtnGetStart->isEnabled());
        x.edit->sbtnGetStart->click();
        QCOMPARE(x.edit->ReadTime(0), 42123);
        QCOMPARE(x.edit->ReadTime(1), 42623);
    }

    void replacedDocumentDropsTheTarget() {
        Fixture x;
        x.Open(0, 5);
        x.ChooseRow(0, 2);
        x.edit->moTitle->setPlainText("typed");
        const QString other = x.Write("other.srt", Srt(3, 50000));
        QVERIFY(x.f().LoadDocument(0, other));
        QCOMPARE(x.edit->windowTitle(), QStringLiteral("編輯視窗"));
        x.edit->bbtnCloseClick();
        x.edit->sbNextClick();
        QVERIFY(!Probe(x.f()).Side(0)->IsModified());
        QCOMPARE(x.Cell(0, 2, 4), QStringLiteral("n3"));
        QCOMPARE(x.Cell(0, 2, 2), QStringLiteral("00:00:52,000"));
        x.ChooseRow(0, 1);
        QCOMPARE(x.edit->ReadTime(0), 51000);
    }

    void firstShowSizesAndPlacesTheWindow() {
        OpenSettings()->setValue("Form.Edit.Width", 300);
        OpenSettings()->setValue("Form.Edit.Height", 250);
        Fixture x;
        QCOMPARE(Probe(x.f()).FormSizes()[2], 300);
        x.f().show();
        QVERIFY(QTest::qWaitForWindowExposed(&x.f()));
        QCOMPARE(x.edit->size(), QSize(300, 250));
        x.edit->ShowWindow();
        QVERIFY(QTest::qWaitForWindowExposed(x.edit));
        // Centred on the main window's frame; the tool window's own frame is known only once
        // it shows, so its margins may shift it by as much.
        const QPoint off = x.edit->frameGeometry().center() - x.f().frameGeometry().center();
        QVERIFY2(off.manhattanLength() <= 8,
                 qPrintable(QString("%1 %2").arg(off.x()).arg(off.y())));
        // Moved by the user, it opens where it was left.
        x.edit->move(10, 20);
        x.edit->hide();
        x.edit->ShowWindow();
        QCOMPARE(x.edit->pos(), QPoint(10, 20));
    }
};

QTEST_MAIN(TestEditMain)
#include "tst_editmain.moc"
