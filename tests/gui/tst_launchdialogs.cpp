// The segment and save-as dialogs launched from the main window on the film player double: the
// missing-document message, the stretch handed from the selection, a re-timing that is one step
// of the pane's history (undone to the exact file), the pane keeping its selection and scroll,
// the save-as commands enabled with a document and leaving it untouched, and the stored sizes.
#include "MainProbe.h"
#include "FormFixture.h"
#include "Main.h"
#include "MaskEdit.h"
#include "SaveAsForm.h"
#include "ScriptedQuestions.h"
#include "Segmodify.h"
#include "SubtitleGrid.h"
#include "TestSettings.h"
#include "Texts.h"
#include "TimeParts.h"

#include "Kellabel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
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

// 200 entries a minute apart, as the writer writes them, so that saving after undoing gives the
// very bytes back.
QByteArray Minutes(int n) {
    QByteArray text;
    for (int i = 0; i < n; ++i)
        text += QByteArray::number(i + 1) + "\r\n" + MsToTimeText(i * 60000).c_str() + " --> " +
                MsToTimeText(i * 60000 + 2000).c_str() + "\r\nentry " + QByteArray::number(i + 1) +
                "\r\n\r\n";
    return text;
}

struct Fixture : TFormFixture {
    TScriptedQuestions questions;
    TSegForm seg;
    TSaveAsForm saveAs;
    QString path;
    Fixture() : TFormFixture("/films/f.avi", 100.0), seg(form->Host()), saveAs(form->Host()) {
        Probe(*form).SegForm() = &seg;
        Probe(*form).SaveAsForm() = &saveAs;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void Open(const QByteArray& bytes, int side = 0) {
        path = Write(side ? "r.srt" : "l.srt", bytes);
        QVERIFY(f().LoadDocument(side, path));
        Probe(f()).sgSubLEnter(side);
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

void Type(TTimeParts* parts, const QString& time) {
    const QStringList texts = time.split(QRegularExpression(QStringLiteral("[:,]")));
    for (int k = 0; k < 4; ++k)
        parts->Fields[size_t(k)]->setText(texts[k]);
}

} // namespace

class TestLaunchDialogs : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    // A side without a document: the message, and no dialog, whatever pane is active.
    void segmentNeedsADocument() {
        Fixture x;
        x.Open(Minutes(5), 0);
        bool ran = false;
        x.questions.DialogScripts.enqueue([&](QDialog*) {
            ran = true;
            return mrOk;
        });
        Ctl<QAction>(x.f(), "aSegModifyR")->trigger();
        QVERIFY(!ran);
        QCOMPARE(x.questions.Messages.size(), 1);
        QCOMPARE(x.questions.Messages[0].Text, TextOf(txLoadSubtitleFirst));
        QCOMPARE(x.questions.Messages[0].Kind, TMsgKind::Error);
    }

    void segmentTakesTheSelection_data() {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("one row") << 9 << 9 << 10 << 200;
        QTest::newRow("rows 10 to 20") << 9 << 19 << 10 << 20;
    }
    void segmentTakesTheSelection() {
        QFETCH(int, top);
        QFETCH(int, bottom);
        QFETCH(int, first);
        QFETCH(int, last);
        Fixture x;
        x.Open(Minutes(200));
        x.SelectRows(top, bottom);
        int seenFirst = 0, seenLast = 0, seenSide = -1;
        x.questions.DialogScripts.enqueue([&](QDialog* d) {
            auto* seg = qobject_cast<TSegForm*>(d);
            seenSide = seg->Side;
            seenFirst = seg->upStartNo->value();
            seenLast = seg->upEndNo->value();
            return mrCancel;
        });
        Ctl<QAction>(x.f(), "aSegModifyL")->trigger();
        QCOMPARE(seenSide, 0);
        QCOMPARE(seenFirst, first);
        QCOMPARE(seenLast, last);
        QVERIFY(!Ctl<QAction>(x.f(), "aUndo")->isEnabled()); // Cancel: no step
    }

    // OK is one step: the pane shows it at once with its selection and scroll kept, the title
    // marks the document, and undo takes it back to the file's own bytes.
    void retimingIsOneUndoableStep() {
        Fixture x;
        const QByteArray original = Minutes(200);
        x.Open(original);
        x.SelectRows(99, 109);
        QTableView* grid = Probe(x.f()).Pane(0)->Grid;
        grid->verticalScrollBar()->setValue(95);
        const int scroll = grid->verticalScrollBar()->value();
        x.questions.DialogScripts.enqueue([](QDialog* d) {
            auto* seg = static_cast<TSegForm*>(d);
            seg->cbKeepStep->click();
            Type(seg->StartTime, QStringLiteral("01:40:00,000")); // entry 100: 01:39:00
            Type(seg->EndTime, QStringLiteral("01:50:20,000"));   // entry 110: 01:49:00
            seg->bbtnOk->click();
            return seg->result() == QDialog::Accepted ? mrOk : mrCancel;
        });
        Ctl<QAction>(x.f(), "aSegModifyL")->trigger();
        QCOMPARE(x.Cell(99, 2), QStringLiteral("01:40:00,000"));
        QCOMPARE(x.Cell(104, 2), QStringLiteral("01:45:10,000")); // 6000 s + 5 × 62 s
        QCOMPARE(x.Cell(109, 2), QStringLiteral("01:50:20,000"));
        QCOMPARE(x.Cell(98, 2), QStringLiteral("01:38:00,000"));
        QCOMPARE(x.Cell(110, 2), QStringLiteral("01:50:00,000")); // after the stretch: as it was
        QVERIFY(x.Title().endsWith("*"));
        QCOMPARE(Probe(x.f()).Pane(0)->SelectionTop(), 100);
        QCOMPARE(Probe(x.f()).Pane(0)->SelectionBottom(), 110);
        QCOMPARE(grid->verticalScrollBar()->value(), scroll);
        QCOMPARE(Ctl<QAction>(x.f(), "aUndo")->text(), QStringLiteral("復原 區段調整"));

        Ctl<QAction>(x.f(), "aUndo")->trigger();
        QVERIFY(!x.Title().endsWith("*"));
        QCOMPARE(x.Cell(104, 2), QStringLiteral("01:44:00,000"));
        QVERIFY(Probe(x.f()).Side(0)->Save(nullptr));
        QCOMPARE(Bytes(x.path), original);
        Ctl<QAction>(x.f(), "aRedo")->trigger();
        QCOMPARE(x.Cell(104, 2), QStringLiteral("01:45:10,000"));
        QVERIFY(x.Title().endsWith("*"));
    }

    // Save As is enabled with a document, writes the file, and leaves the pane as it was.
    void saveAsLeavesTheDocument() {
        Fixture x;
        QVERIFY(!Ctl<QAction>(x.f(), "aSaveAsL")->isEnabled());
        QVERIFY(!Ctl<QAction>(x.f(), "aSaveAsR")->isEnabled());
        x.Open(Minutes(30));
        QVERIFY(Ctl<QAction>(x.f(), "aSaveAsL")->isEnabled());
        QVERIFY(!Ctl<QAction>(x.f(), "aSaveAsR")->isEnabled());
        const QString out = x.dir.filePath("part.sub");
        x.questions.SaveChoiceAnswers.enqueue(TSaveChoice{out, 1});
        int offeredEnd = 0;
        x.questions.DialogScripts.enqueue([&](QDialog* d) {
            auto* f = static_cast<TSaveAsForm*>(d);
            offeredEnd = f->upEndNo->value();
            f->sbtnSaveFile->click();
            f->rbtnSelectRange->click();
            f->upStartNo->setValue(3);
            f->upEndNo->setValue(4);
            f->cbFrame->setEditText(QStringLiteral("25"));
            f->bbtnOk->click();
            return f->result() == QDialog::Accepted ? mrOk : mrCancel;
        });
        Ctl<QAction>(x.f(), "aSaveAsL")->trigger();
        QCOMPARE(offeredEnd, 30);
        QVERIFY(x.questions.Messages.isEmpty());
        // Re-timed to the first entry's own start by default: times as they are.
        QCOMPARE(Bytes(out), QByteArray("{3000}{3050}entry 3\r\n{4500}{4550}entry 4\r\n"));
        QVERIFY(!x.Title().endsWith("*"));
        QVERIFY(!Ctl<QAction>(x.f(), "aUndo")->isEnabled());
        QCOMPARE(QString::fromStdString(Probe(x.f()).Pane(0)->Doc()->FileName()), x.path);
        QCOMPARE(Probe(x.f()).Pane(0)->Doc()->FormatIndex(), int(FormatSubRip));
    }

    // Written as ASS from SubRip, a document's head takes the open film's picture size (else
    // 384 x 288) and a style Default in the side's caption font and colour, sized to the picture.
    void saveAsAssTakesTheFilmAndTheCaptionStyle() {
        struct Case {
            bool film;
            const char* resolution;
            const char* style;
        };
        const Case cases[] = {
            {false, "PlayResX: 384\r\nPlayResY: 288\r\n",
             "Style: Default,DejaVu Sans,21,&H000000FF,&H000000FF,&H00000000,&H00000000,-1,0,"},
            {true, "PlayResX: 1280\r\nPlayResY: 720\r\n",
             "Style: Default,DejaVu Sans,53,&H000000FF,&H000000FF,&H00000000,&H00000000,-1,0,"},
        };
        for (const Case& c : cases) {
            Fixture x;
            x.player->PictureSizeValue = QSize(1280, 720);
            if (c.film) QVERIFY(x.f().FileOpenMovieAccept(QStringLiteral("/films/f.avi")));
            x.Open(Minutes(2));
            TCaptionStyle& style = Probe(x.f()).Pane(0)->CaptionStyle;
            style.FontName = QStringLiteral("DejaVu Sans");
            style.FontSize = 16;       // 21 pixels
            style.FontColor = 0x0000FF; // red, as Windows writes it
            style.Bold = true;
            const QString out = x.dir.filePath("out.ass");
            x.questions.DialogScripts.enqueue([&](QDialog* d) {
                auto* f = static_cast<TSaveAsForm*>(d);
                f->rbtnASS->click();
                f->leSubFile->setText(out);
                f->bbtnOk->click();
                return f->result() == QDialog::Accepted ? mrOk : mrCancel;
            });
            Ctl<QAction>(x.f(), "aSaveAsL")->trigger();
            const QByteArray written = Bytes(out);
            QVERIFY2(written.contains(c.resolution), written.constData());
            QVERIFY2(written.contains(c.style), written.constData());
            QVERIFY(written.endsWith("Dialogue: 0,0:01:00.00,0:01:02.00,Default,,0,0,0,,entry 2\r\n"));
        }
    }

    // The pane reads its selection by ranges: holes, additions and overlaps give the rows
    // selected, and the stretch the segment dialog is handed runs from the first to the last.
    void selectionReadByRanges_data() {
        QTest::addColumn<QList<int>>("commands"); // first, last, 1 select / 0 deselect, ...
        QTest::addColumn<QList<int>>("entries");
        QTest::newRow("a hole") << QList<int>{2, 9, 1, 5, 5, 0} << QList<int>{2, 3, 4, 6, 7, 8, 9};
        QTest::newRow("two apart, the later first")
            << QList<int>{7, 9, 1, 2, 4, 1} << QList<int>{2, 3, 4, 7, 8, 9};
        QTest::newRow("overlapping")
            << QList<int>{2, 6, 1, 4, 8, 1} << QList<int>{2, 3, 4, 5, 6, 7, 8};
        QTest::newRow("touching") << QList<int>{2, 3, 1, 4, 5, 1} << QList<int>{2, 3, 4, 5};
    }
    void selectionReadByRanges() {
        QFETCH(QList<int>, commands);
        QFETCH(QList<int>, entries);
        Fixture x;
        x.Open(Minutes(20));
        TSubtitleGridModel* model = Probe(x.f()).Pane(0)->GridModel;
        QItemSelectionModel* selection = Probe(x.f()).Pane(0)->Grid->selectionModel();
        selection->clearSelection();
        for (qsizetype k = 0; k < commands.size(); k += 3)
            selection->select(
                QItemSelection(model->index(commands[k], 0), model->index(commands[k + 1], 4)),
                commands[k + 2] ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
        const std::vector<int> got = Probe(x.f()).Pane(0)->SelectedEntries();
        QCOMPARE(QList<int>(got.begin(), got.end()), entries);
        QCOMPARE(Probe(x.f()).SelectionTop(0), entries.front() + 1);
        QCOMPARE(Probe(x.f()).SelectionBottom(0), entries.back() + 1);
    }

    // The first showing gives the dialogs their stored sizes.
    void storedSizes() {
        {
            auto key = OpenSettings();
            key->setValue("Form.Seg.Width", 300);
            key->setValue("Form.Seg.Height", 320);
            key->setValue("Form.SaveAs.Width", 360);
            key->setValue("Form.SaveAs.Height", 350);
        }
        Fixture x;
        QCOMPARE(x.seg.size(), QSize(300, 320));
        QCOMPARE(x.saveAs.size(), QSize(360, 350));
    }
};

QTEST_MAIN(TestLaunchDialogs)
#include "tst_launchdialogs.moc"
