// 中文轉換 and 檢查字幕 launched from the main window on the film player double: the
// missing-document message, the dialog handed the side and its selection, its OK a step of the
// pane's history shown in the grid and undone, and the check window following the pane.
#include "MainProbe.h"
#include "CheckForm.h"
#include "ChineseForm.h"
#include "FormFixture.h"
#include "Main.h"
#include "ScriptedQuestions.h"
#include "SubtitleGrid.h"
#include "TestSettings.h"
#include "Texts.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

namespace {

const QByteArray kSimplified = "1\r\n00:00:01,000 --> 00:00:03,000\r\n软件\r\n\r\n"
                               "2\r\n00:00:04,000 --> 00:00:04,200\r\n鼠标\r\n\r\n"
                               "3\r\n00:00:06,000 --> 00:00:08,000\r\nHello\r\n\r\n";

struct Fixture : TFormFixture {
    TScriptedQuestions questions;
    Fixture() : TFormFixture("/films/f.avi", 100.0) {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void Open(int side) {
        QVERIFY(f().LoadDocument(side, Write(side ? "r.srt" : "l.srt", kSimplified)));
        Probe(f()).sgSubLEnter(side);
    }
    QString Cell(int row, int side = 0) { return Probe(f()).Pane(side)->GridModel->CellText(row, 4); }
};

} // namespace

class TestLaunchChinese : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void needADocument() {
        Fixture x;
        x.Open(0);
        bool ran = false;
        x.questions.DialogScripts.enqueue([&](QDialog*) {
            ran = true;
            return mrOk;
        });
        Ctl<QAction>(x.f(), "aChineseR")->trigger();
        Ctl<QAction>(x.f(), "aCheckR")->trigger();
        QVERIFY(!ran);
        QCOMPARE(x.questions.Messages.size(), 2);
        QCOMPARE(x.questions.Messages[0].Text, TextOf(txLoadSubtitleFirst));
        QVERIFY(!Probe(x.f()).CheckForms()[1]);
    }

    void conversionIsOneStepOfThePane() {
        Fixture x;
        x.Open(1);
        int side = -1;
        x.questions.DialogScripts.enqueue([&](QDialog* d) {
            auto* form = qobject_cast<TChineseForm*>(d);
            if (!form) return mrCancel;
            side = form->Side;
            return form->bbtnOkClick() ? mrOk : mrCancel;
        });
        Ctl<QAction>(x.f(), "aChineseR")->trigger();
        QCOMPARE(side, 1);
        QCOMPARE(x.Cell(0, 1), QStringLiteral("軟體"));
        QCOMPARE(x.Cell(1, 1), QStringLiteral("滑鼠"));
        QVERIFY(Ctl<QAction>(x.f(), "aUndo")->text().contains(TextOf(txStepChinese)));
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QCOMPARE(x.Cell(0, 1), QStringLiteral("软件"));
    }

    void checkWindowFollowsThePane() {
        Fixture x;
        x.Open(0);
        Ctl<QAction>(x.f(), "aCheckL")->trigger();
        TCheckForm* check = Probe(x.f()).CheckForms()[0];
        QVERIFY(check && check->isVisible());
        QCOMPARE(check->Model->rowCount(), 1); // entry 2 is too short
        // The grid's duration cell warns of it, and stops once the fix is a step.
        TSubtitleGridModel* grid = Probe(x.f()).Pane(0)->GridModel;
        QVERIFY(grid->HasProblem(1));
        QVERIFY(!grid->HasProblem(0));
        check->btnExtend->click();
        QCOMPARE(check->Model->rowCount(), 0);
        QCOMPARE(Probe(x.f()).Pane(0)->GridModel->CellText(1, 3), QStringLiteral("00:700"));
        QVERIFY(!grid->HasProblem(1));
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QCOMPARE(check->Model->rowCount(), 1);
        QVERIFY(grid->HasProblem(1));
        // The limits set in the window are both grids' too.
        check->spMinDuration->setValue(150);
        QVERIFY(!grid->HasProblem(1));
        QCOMPARE(Probe(x.f()).Pane(1)->GridModel->CheckLimits().MinDuration, 150);
        check->spMinDuration->setValue(TCheckLimits{}.MinDuration);
        QVERIFY(grid->HasProblem(1));
        // A double-click selects the entry's row in the pane.
        check->lvProblemsDoubleClick(check->Model->index(0, 0));
        QCOMPARE(Probe(x.f()).Pane(0)->Grid->currentIndex().row(), 1);
        // Asked again: the same window.
        Ctl<QAction>(x.f(), "aCheckL")->trigger();
        QCOMPARE(Probe(x.f()).CheckForms()[0].data(), check);
    }
};

QTEST_MAIN(TestLaunchChinese)
#include "tst_launchchinese.moc"
