// The combine and import dialogs launched from the main window on the film player double: the
// missing-document message, what each dialog is handed, OK as one step of the pane's history
// (the pane keeping its selection and scroll, undo giving the file's own bytes back), Cancel
// leaving the pane as it was after a file was read, and the main window's frame-rate question
// used for the files the dialogs read.
#include "MainProbe.h"
#include "Combine.h"
#include "FormFixture.h"
#include "Import.h"
#include "Main.h"
#include "ScriptedQuestions.h"
#include "SubtitleGrid.h"
#include "TestSettings.h"
#include "Texts.h"
#include "TimeParts.h"

#include "Kellabel.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// n entries a minute apart, as the writer writes them, texts prefix + number.
QByteArray Minutes(int n, const QByteArray& prefix = "entry ") {
    QByteArray text;
    for (int i = 0; i < n; ++i)
        text += QByteArray::number(i + 1) + "\r\n" + MsToTimeText(i * 60000).c_str() + " --> " +
                MsToTimeText(i * 60000 + 2000).c_str() + "\r\n" + prefix +
                QByteArray::number(i + 1) + "\r\n\r\n";
    return text;
}

struct Fixture : TFormFixture {
    TScriptedQuestions questions;
    TCombineForm combine;
    TImportForm import;
    QString path[2];
    Fixture() : TFormFixture("/films/f.avi", 100.0), combine(form->Host()), import(form->Host()) {
        Probe(*form).CombineForm() = &combine;
        Probe(*form).ImportForm() = &import;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void Open(const QByteArray& bytes, int side) {
        path[side] = Write(side ? "r.srt" : "l.srt", bytes);
        QVERIFY(f().LoadDocument(side, path[side]));
    }
    void SelectRows(int first, int last, int side = 0) {
        TSubtitleGridModel* model = Probe(f()).Pane(side)->GridModel;
        Probe(f()).Pane(side)->Grid->selectionModel()->select(
            QItemSelection(model->index(first, 0), model->index(last, 4)),
            QItemSelectionModel::ClearAndSelect);
    }
    QString Title(int side = 0) { return Probe(f()).Pane(side)->FileLabel->Caption(); }
    QString Cell(int row, int column, int side = 0) {
        return Probe(f()).Pane(side)->GridModel->CellText(row, column);
    }
};

template <class TForm> std::function<int(QDialog*)> Press(std::function<void(TForm*)> fill) {
    return [fill](QDialog* d) {
        auto* f = qobject_cast<TForm*>(d);
        fill(f);
        f->setResult(0);
        f->bbtnOk->click();
        return f->result() == QDialog::Accepted ? mrOk : mrCancel;
    };
}

} // namespace

class TestLaunchMerge : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    // No pane active, or the active pane without a document: the message and no dialog.
    void needAnActivePaneWithADocument_data() {
        QTest::addColumn<bool>("import");
        QTest::addColumn<int>("active");
        QTest::newRow("combine, no pane active") << false << -1;
        QTest::newRow("combine, empty pane active") << false << 1;
        QTest::newRow("import, no pane active") << true << -1;
        QTest::newRow("import, empty pane active") << true << 1;
    }
    void needAnActivePaneWithADocument() {
        QFETCH(bool, import);
        QFETCH(int, active);
        Fixture x;
        x.Open(Minutes(5), 0);
        if (active >= 0)
            Probe(x.f()).sgSubLEnter(active);
        else
            Probe(x.f()).ActiveSide() = -1;
        bool ran = false;
        x.questions.DialogScripts.enqueue([&](QDialog*) {
            ran = true;
            return mrOk;
        });
        (import ? Ctl<QAction>(x.f(), "aImport") : Ctl<QAction>(x.f(), "aCombine"))->trigger();
        QVERIFY(!ran);
        QCOMPARE(x.questions.Messages.size(), 1);
        QCOMPARE(x.questions.Messages[0].Text, TextOf(txLoadSubtitleFirst));
        QCOMPARE(x.questions.Messages[0].Kind, TMsgKind::Error);
    }

    // Combine from the right pane into the left: one step, shown at once with the selection
    // and scroll kept; undo gives the file's own bytes back; the right pane is untouched.
    void combineIsOneUndoableStep() {
        Fixture x;
        const QByteArray original = Minutes(200);
        x.Open(original, 0);
        x.Open(Minutes(3, "other "), 1);
        Probe(x.f()).sgSubLEnter(0);
        x.SelectRows(99, 109);
        QTableView* grid = Probe(x.f()).Pane(0)->Grid;
        grid->verticalScrollBar()->setValue(95);
        const int scroll = grid->verticalScrollBar()->value();
        const SubTitle* handedOpposite = nullptr;
        x.questions.DialogScripts.enqueue(Press<TCombineForm>([&](TCombineForm* f) {
            handedOpposite = f->Opposite;
            f->rbtnInsertPos->click();
            f->upInsertPos->setValue(150);
        }));
        Ctl<QAction>(x.f(), "aCombine")->trigger();
        QCOMPARE(handedOpposite, Probe(x.f()).Pane(1)->Doc());
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->Count(), 203);
        // Entry 149 starts at 148 min; the copies follow it as they followed time 0.
        // (Grid rows here count entries from 0.) The later entries keep their step after the
        // last copy.
        QCOMPARE(x.Cell(149, 4), QStringLiteral("other 1"));
        QCOMPARE(x.Cell(149, 2), QStringLiteral("02:28:00,000"));
        QCOMPARE(x.Cell(151, 2), QStringLiteral("02:30:00,000"));
        QCOMPARE(x.Cell(152, 4), QStringLiteral("entry 150"));
        QCOMPARE(x.Cell(152, 2), QStringLiteral("02:31:00,000"));
        QVERIFY(x.Title().endsWith("*"));
        QVERIFY(!x.Title(1).endsWith("*"));
        QCOMPARE(Probe(x.f()).Pane(0)->SelectionTop(), 100);
        QCOMPARE(Probe(x.f()).Pane(0)->SelectionBottom(), 110);
        QCOMPARE(grid->verticalScrollBar()->value(), scroll);
        QCOMPARE(Ctl<QAction>(x.f(), "aUndo")->text(), QStringLiteral("復原 合併字幕"));

        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QVERIFY(!x.Title().endsWith("*"));
        QVERIFY(Probe(x.f()).Side(0)->Save(nullptr));
        QCOMPARE(Bytes(x.path[0]), original);
    }

    // Import of texts from a file, undone; Cancel after a file was read leaves the pane as it was.
    void importAndCancel() {
        Fixture x;
        const QByteArray original = Minutes(20);
        x.Open(original, 1);
        Probe(x.f()).sgSubLEnter(1);
        const QString text = x.Write("story.txt", "one\n\ntwo\n");
        const QString subtitle = x.Write("part.srt", Minutes(3, "file "));
        x.questions.FileAnswers << subtitle;
        bool oppositeEnabled = true;
        x.questions.DialogScripts.enqueue([&](QDialog* d) {
            auto* f = static_cast<TImportForm*>(d);
            oppositeEnabled = f->rbtnOpposite->isEnabled();
            f->sbtnFile->click(); // read, then cancelled
            return mrCancel;
        });
        Ctl<QAction>(x.f(), "aImport")->trigger();
        QVERIFY(!oppositeEnabled);
        QVERIFY(!Ctl<QAction>(x.f(), "aUndo")->isEnabled());
        QVERIFY(!x.Title(1).endsWith("*"));

        x.questions.FileAnswers << text;
        x.questions.DialogScripts.enqueue(
            Press<TImportForm>([](TImportForm* f) { f->sbtnFile->click(); }));
        Ctl<QAction>(x.f(), "aImport")->trigger();
        QCOMPARE(x.Cell(0, 4, 1), QStringLiteral("one"));
        QCOMPARE(x.Cell(1, 4, 1), QStringLiteral("two"));
        QCOMPARE(x.Cell(2, 4, 1), QStringLiteral("entry 3"));
        QCOMPARE(Ctl<QAction>(x.f(), "aUndo")->text(), QStringLiteral("復原 匯入字幕"));
        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QVERIFY(Probe(x.f()).Side(1)->Save(nullptr));
        QCOMPARE(Bytes(x.path[1]), original);
    }

    // The dialogs read a MicroDVD file through the main window's frame-rate question.
    void filesAskThroughTheMainWindow() {
        Fixture x;
        x.Open(Minutes(4), 0);
        Probe(x.f()).sgSubLEnter(0);
        int asked = 0;
        Probe(x.f()).AskFrameRate() = [&asked](std::optional<double>) -> std::optional<std::string> {
            ++asked;
            return std::string("10");
        };
        x.questions.FileAnswers << x.Write("film.sub", "{25}{50}micro\r\n");
        x.questions.DialogScripts.enqueue(Press<TCombineForm>([](TCombineForm* f) {
            f->sbtnSubFile->click();
            f->rbtnInsertRear->click();
            f->cbAutoAdjust->setChecked(false);
        }));
        Ctl<QAction>(x.f(), "aCombine")->trigger();
        QCOMPARE(asked, 2); // on choosing and on OK
        QCOMPARE(x.Cell(4, 4), QStringLiteral("micro"));
        QCOMPARE(x.Cell(4, 2), QStringLiteral("00:00:02,500"));
    }
};

QTEST_MAIN(TestLaunchMerge)
#include "tst_launchmerge.moc"
