// The segment dialog on the editor-host double: its controls, the stretch it is handed, the shift
// and the linear stretch with what lies outside untouched, the last group following the first,
// steps that carry, the keep-step box, a stretch that cannot be spread, and documents without
// entries or with more entries than a 16-bit spinner holds.
#include "ControlTable.h"
#include "DocBuilder.h"
#include "FakeHost.h"
#include "Kellabel.h"
#include "MaskEdit.h"
#include "ScriptedQuestions.h"
#include "Segmodify.h"
#include "Texts.h"
#include "TimeParts.h"
#include "UpDown.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// Types a time into a row of fields, as the user would: "HH:MM:SS,mmm".
void Type(TTimeParts* parts, const QString& time) {
    const QStringList texts = time.split(QRegularExpression(QStringLiteral("[:,]")));
    for (int k = 0; k < 4; ++k)
        parts->Fields[size_t(k)]->setText(texts[k]);
}

QString Shown(const TTimeParts* parts) {
    return parts->Fields[0]->text() + ':' + parts->Fields[1]->text() + ':' +
           parts->Fields[2]->text() + ',' + parts->Fields[3]->text();
}

// Before the stretch, the stretch's first entry at 0 and its last at 100000, and after it.
std::vector<TEntrySpec> Stretch() {
    return {{-3000, -1000, "before"},
            {0, 1000, "first"},
            {50000, 52000, "middle"},
            {100000, 103000, "last"},
            {150000, 151000, "after"}};
}

struct Fixture {
    TScriptedQuestions questions;
    TFakeHost host;
    TSegForm form{&host};
    explicit Fixture(std::unique_ptr<SubTitle> doc) { host.SetDocument(0, std::move(doc)); }
    const SubTitle& doc() { return *host.Docs[0]; }
    void target(int top, int bottom) { form.SetTarget(0, host.Docs[0].get(), top, bottom); }
    // OK pressed; answers whether the dialog ended with OK.
    bool ok() {
        form.setResult(0);
        form.bbtnOk->click();
        return form.result() == QDialog::Accepted;
    }
};

using Flat = QList<int>;

Flat Flatten(const SubTitle& doc) {
    Flat flat;
    for (const auto& [start, end] : Times(doc))
        flat << start << end;
    return flat;
}

} // namespace

class TestSegForm : public QObject {
    Q_OBJECT

private slots:
    void controls() {
        TFakeHost host;
        TSegForm form(&host);
        CheckControls(&form,
                      {
                          {"SegForm", "TSegForm", "區段調整", QRect(0, 0, 268, 308)},
                          {"cbKeepStep", "QCheckBox", "保持字幕間隔時間", QRect(10, 8, 200, 17)},
                          {"GroupBox1", "QGroupBox", "區段開始編號", QRect(6, 30, 256, 104)},
                          {"leStartNoLabel", "QLabel", "字幕編號", QRect(10, 22, -1, -1)},
                          {"upStartNo", "TNumberSpin", std::nullopt, QRect(64, 18, 80, 21)},
                          {"leStartNo", "", "1"},
                          {"lbStart", "TKelLabel", "", QRect(10, 44, -1, -1)},
                          {"Label1", "QLabel", "開始時間", QRect(10, 68, -1, -1)},
                          {"Label2", "QLabel", "調整為", QRect(10, 82, -1, -1)},
                          {"meStartHour", "TMaskEdit", "00", QRect(72, 72, 20, 21)},
                          {"upStartHour", "TUpDown", std::nullopt, QRect(92, 72, 15, 21)},
                          {"meStartMinute", "TMaskEdit", "00", QRect(113, 72, 20, 21)},
                          {"meStartSec", "TMaskEdit", "00", QRect(154, 72, 20, 21)},
                          {"meStartms", "TMaskEdit", "000", QRect(195, 72, 27, 21)},
                          {"upStartms", "TUpDown", std::nullopt, QRect(222, 72, 15, 21)},
                          {"GroupBox2", "QGroupBox", "區段結束編號", QRect(6, 140, 256, 104)},
                          {"LabeledEdit1Label", "QLabel", "字幕編號", QRect(10, 22, -1, -1)},
                          {"upEndNo", "TNumberSpin", std::nullopt, QRect(64, 18, 80, 21)},
                          {"LabeledEdit1", "", "1"},
                          {"lbEnd", "TKelLabel", "", QRect(10, 44, -1, -1)},
                          {"Label3", "QLabel", "開始時間"},
                          {"Label4", "QLabel", "調整為"},
                          {"meEndHour", "TMaskEdit", "00", QRect(72, 72, 20, 21)},
                          {"upEndms", "TUpDown", std::nullopt, QRect(222, 72, 15, 21)},
                          {"plNote", "QFrame", std::nullopt, QRect(6, 250, 256, 22)},
                          {"lbNote", "TKelLabel", "注意:在區段結束編號後的字幕將不受影響",
                           QRect(4, 4, -1, -1)},
                          {"bbtnOk", "QPushButton", "確定", QRect(104, 278, 75, 25)},
                          {"bbtnCancel", "QPushButton", "取消", QRect(187, 278, 75, 25)},
                      });
        QVERIFY(form.cbKeepStep->isChecked());
        QVERIFY(form.cbKeepStep->font().bold());
        QCOMPARE(form.FormSlot(), TFormSlot::Segment);
        // The blue entry labels and the red note draw plain text.
        for (TKelLabel* label : {form.lbStart, form.lbEnd}) {
            QCOMPARE(label->TextStyle(), tsNone);
            QCOMPARE(label->FontColor(), QColor(0, 0, 255));
            QCOMPARE(label->font().pixelSize(), 16);
        }
        QCOMPARE(form.lbNote->TextStyle(), tsNone);
        QCOMPARE(form.lbNote->FontColor(), QColor(255, 0, 0));
        QCOMPARE(form.bbtnOk->toolTip(), QStringLiteral("套用字幕"));
        QCOMPARE(form.bbtnOk->statusTip(), QStringLiteral("套用目前修改字幕時間文字"));
        QCOMPARE(form.bbtnCancel->toolTip(), QStringLiteral("關閉視窗"));
        // With the steps kept, the last group only shows where the last entry goes.
        for (QWidget* w :
             {static_cast<QWidget*>(form.meEndHour), static_cast<QWidget*>(form.upEndms)})
            QVERIFY(!w->isEnabled());
        QVERIFY(form.meStartHour->isEnabled());
    }

    void target_data() {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("one row runs to the last entry") << 10 << 10 << 10 << 50;
        QTest::newRow("a range of rows") << 10 << 20 << 10 << 20;
        QTest::newRow("the first row") << 1 << 1 << 1 << 50;
        QTest::newRow("the last row") << 50 << 50 << 50 << 50;
    }
    void target() {
        QFETCH(int, top);
        QFETCH(int, bottom);
        QFETCH(int, first);
        QFETCH(int, last);
        Fixture x(EvenDoc(50));
        x.target(top, bottom);
        QCOMPARE(x.form.upStartNo->maximum(), 50);
        QCOMPARE(x.form.upEndNo->maximum(), 50);
        QCOMPARE(x.form.upStartNo->value(), first);
        QCOMPARE(x.form.upEndNo->value(), last);
        QCOMPARE(x.form.leStartNo->text(), QString::number(first));
        // Both groups show their entries' present starts.
        const PerTitle& a = *x.doc().Item(first - 1);
        const PerTitle& b = *x.doc().Item(last - 1);
        QCOMPARE(x.form.lbStart->Caption(),
                 QString::fromStdString(a.StartText() + " -> " + a.EndText()));
        QCOMPARE(x.form.lbEnd->Caption(),
                 QString::fromStdString(b.StartText() + " -> " + b.EndText()));
        QCOMPARE(Shown(x.form.StartTime), QString::fromStdString(a.StartText()));
        QCOMPARE(Shown(x.form.EndTime), QString::fromStdString(b.StartText()));
    }

    // A selection with gaps (Ctrl+click) re-times its selected entries only, each by the rule of
    // the stretch its first and last entries span; the entries between stay where they are.
    void ok_data() {
        QTest::addColumn<QList<int>>("selected"); // entries, when the selection has gaps
        QTest::addColumn<bool>("keep");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("e");
        QTest::addColumn<Flat>("times");
        const Flat before{-3000, -1000}, after{150000, 151000};
        QTest::newRow("keep steps: a shift")
            << QList<int>{} << true << 2 << 4 << "00:00:04,000"
            << "" << before + Flat{4000, 5000, 54000, 56000, 104000, 107000} + after;
        QTest::newRow("keep steps: the last fields are not read")
            << QList<int>{} << true << 2 << 3 << "00:00:00,500"
            << "00:09:00,000" << before + Flat{500, 1500, 50500, 52500, 100000, 103000} + after;
        // x = (201000 - 1000) / (100000 - 0) = 2: starts from S, ends from E.
        QTest::newRow("linear stretch")
            << QList<int>{} << false << 2 << 4 << "00:00:01,000"
            << "00:03:21,000" << before + Flat{1000, 3000, 101000, 105000, 201000, 207000} + after;
        QTest::newRow("linear squeeze to half")
            << QList<int>{} << false << 2 << 4 << "00:00:00,000"
            << "00:00:50,000" << before + Flat{0, 500, 25000, 26000, 50000, 51500} + after;
        QTest::newRow("a shift back below zero")
            << QList<int>{} << true << 3 << 5 << "00:00:00,000"
            << "" << Flat{-3000, -1000, 0, 1000, 0, 2000, 50000, 53000, 100000, 101000};
        QTest::newRow("rows 2 and 4: a shift")
            << QList<int>{1, 3} << true << 2 << 4 << "00:00:04,000"
            << "" << before + Flat{4000, 5000, 50000, 52000, 104000, 107000} + after;
        QTest::newRow("rows 2 and 4: a stretch")
            << QList<int>{1, 3} << false << 2 << 4 << "00:00:01,000"
            << "00:03:21,000" << before + Flat{1000, 3000, 50000, 52000, 201000, 207000} + after;
        QTest::newRow("rows 1, 3 and 5: three runs of one")
            << QList<int>{4, 0, 2} << true << 1 << 5 << "00:00:07,000" << ""
            << Flat{7000, 9000, 0, 1000, 60000, 62000, 100000, 103000, 160000, 161000};
        QTest::newRow("rows 1, 2 and 4: a run of two and one")
            << QList<int>{0, 1, 3} << true << 1 << 4 << "00:00:07,000" << ""
            << Flat{7000, 9000, 10000, 11000, 50000, 52000, 110000, 113000} + after;
    }
    void ok() {
        QFETCH(QList<int>, selected);
        QFETCH(bool, keep);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, s);
        QFETCH(QString, e);
        QFETCH(Flat, times);
        Fixture x(MakeDoc(Stretch()));
        const Flat original = Flatten(x.doc());
        x.host.Selected[0].assign(selected.begin(), selected.end());
        x.target(first, last);
        if (x.form.cbKeepStep->isChecked() != keep) x.form.cbKeepStep->click();
        Type(x.form.StartTime, s);
        if (!e.isEmpty()) Type(x.form.EndTime, e);
        QVERIFY(x.ok());
        QCOMPARE(Flatten(x.doc()), times);
        // One step, named for the history; the texts stay where they were.
        QCOMPARE(x.host.Steps.size(), size_t(1));
        QCOMPARE(x.host.Steps[0].Name, TextOf(txStepSegment));
        QCOMPARE(x.doc().Item(2)->Text, std::string("middle"));
        QVERIFY(x.host.Undo());
        QCOMPARE(Flatten(x.doc()), original);
        QVERIFY(x.questions.Messages.isEmpty());
    }

    // What changes nothing ends with OK and leaves no step.
    void nothingToChange_data() {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("last below first, shift") << true << 4 << 2;
        QTest::newRow("last below first, stretch") << false << 4 << 2;
        QTest::newRow("times as they are, shift") << true << 2 << 4;
        QTest::newRow("times as they are, stretch") << false << 2 << 4;
    }
    void nothingToChange() {
        QFETCH(bool, keep);
        QFETCH(int, first);
        QFETCH(int, last);
        Fixture x(MakeDoc(Stretch()));
        const Flat original = Flatten(x.doc());
        x.target(first, last);
        if (x.form.cbKeepStep->isChecked() != keep) x.form.cbKeepStep->click();
        if (first > last) Type(x.form.StartTime, QStringLiteral("00:01:00,000"));
        QVERIFY(x.ok());
        QCOMPARE(Flatten(x.doc()), original);
        QVERIFY(x.host.Steps.empty());
        QVERIFY(x.questions.Messages.isEmpty());
    }

    // The last group shows where the shift puts the last entry: on leaving a first field, on
    // Enter in one, and on a step; without kept steps nothing follows.
    void lastGroupFollows() {
        Fixture x(EvenDoc(50, 60000));
        x.target(10, 20); // entry 10 at 00:09:00, entry 20 at 00:19:00
        Type(x.form.StartTime, QStringLiteral("00:09:03,000"));
        QTest::keyClick(x.form.meStartSec, Qt::Key_Return);
        QCOMPARE(Shown(x.form.EndTime), QStringLiteral("00:19:03,000"));
        x.form.upStartHour->Click(1);
        QCOMPARE(Shown(x.form.StartTime), QStringLiteral("01:09:03,000"));
        QCOMPARE(Shown(x.form.EndTime), QStringLiteral("01:19:03,000"));
        // A new last number shows its entry, then follows again.
        x.form.upEndNo->setValue(30);
        QCOMPARE(Shown(x.form.EndTime), QStringLiteral("01:29:03,000"));
        QCOMPARE(x.form.lbEnd->Caption(), QStringLiteral("00:29:00,000 -> 00:29:00,800"));
        // A new first number shows its entry's own start.
        x.form.upStartNo->setValue(11);
        QCOMPARE(Shown(x.form.StartTime), QStringLiteral("00:10:00,000"));
        QCOMPARE(Shown(x.form.EndTime), QStringLiteral("00:29:00,000"));

        x.form.cbKeepStep->click();
        Type(x.form.StartTime, QStringLiteral("00:00:01,000"));
        QTest::keyClick(x.form.meStartSec, Qt::Key_Return);
        QCOMPARE(Shown(x.form.EndTime), QStringLiteral("00:29:00,000"));

        // Cancel leaves everything as it was.
        x.form.bbtnCancel->click();
        QCOMPARE(x.form.result(), int(QDialog::Rejected));
        QVERIFY(x.host.Steps.empty());
        QCOMPARE(x.doc().Item(10)->Start, 600000);
    }

    // Steps move the whole time: carries and borrows across the fields.
    void stepsCarry_data() {
        QTest::addColumn<int>("selector");
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("spinner");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("to");
        QTest::newRow("ms up into the next minute")
            << 0 << "00:00:59,980" << 3 << true << "00:01:00,030";
        QTest::newRow("second down out of the hour")
            << 0 << "01:00:00,000" << 2 << false << "00:59:59,000";
        QTest::newRow("ms down") << 0 << "00:01:00,020" << 3 << false << "00:00:59,970";
        QTest::newRow("last group, minute up")
            << 1 << "00:59:30,000" << 1 << true << "01:00:30,000";
    }
    void stepsCarry() {
        QFETCH(int, selector);
        QFETCH(QString, from);
        QFETCH(int, spinner);
        QFETCH(bool, up);
        QFETCH(QString, to);
        Fixture x(EvenDoc(5));
        x.target(1, 5);
        x.form.cbKeepStep->click(); // both groups free
        TTimeParts* parts = selector ? x.form.EndTime : x.form.StartTime;
        Type(parts, from);
        TUpDown* button = parts->Spinners[size_t(spinner)];
        button->Click(up ? 1 : -1);
        QCOMPARE(Shown(parts), to);
        // The other group is left alone.
        QCOMPARE(Shown(selector ? x.form.StartTime : x.form.EndTime),
                 selector ? QStringLiteral("00:00:00,000") : QStringLiteral("00:00:04,000"));
    }

    void stepsNeedADocument() {
        TFakeHost host;
        TSegForm form(&host);
        form.upStartSec->Click(1);
        QCOMPARE(Shown(form.StartTime), QStringLiteral("00:00:00,000"));
    }

    void keepStepAgainResetsTheLastGroup() {
        Fixture x(EvenDoc(50, 60000));
        x.target(10, 20);
        x.form.cbKeepStep->click();
        QVERIFY(x.form.meEndHour->isEnabled());
        QVERIFY(x.form.upEndms->isEnabled());
        Type(x.form.EndTime, QStringLiteral("00:42:00,000"));
        x.form.cbKeepStep->click();
        QVERIFY(!x.form.meEndHour->isEnabled());
        QVERIFY(!x.form.upEndms->isEnabled());
        QCOMPARE(Shown(x.form.EndTime), QStringLiteral("00:19:00,000"));
    }

    // Two entries that start together cannot be spread: the error, the dialog stays open and
    // the document is as it was.
    void stretchWithoutFactor_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("e");
        QTest::addColumn<int>("message");
        QTest::newRow("equal starts, new starts apart") << 2 << 3 << "00:00:01,000"
                                                        << "00:00:09,000" << int(txDivisionByZero);
        QTest::newRow("equal starts, new starts equal")
            << 2 << 3 << "00:00:06,000"
            << "00:00:06,000" << int(txInvalidFloatOperation);
        QTest::newRow("one entry") << 4 << 4 << "00:00:07,000"
                                   << "" << int(txInvalidFloatOperation);
    }
    void stretchWithoutFactor() {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, s);
        QFETCH(QString, e);
        QFETCH(int, message);
        Fixture x(
            MakeDoc({{0, 100, "a"}, {5000, 6000, "b"}, {5000, 7000, "c"}, {9000, 9500, "d"}}));
        const Flat original = Flatten(x.doc());
        x.target(first, last);
        x.form.cbKeepStep->click();
        if (!s.isEmpty()) Type(x.form.StartTime, s);
        if (!e.isEmpty()) Type(x.form.EndTime, e);
        if (first == last) Type(x.form.EndTime, s); // the same entry: the same new start
        QVERIFY(!x.ok());
        QCOMPARE(x.questions.Messages.size(), 1);
        QCOMPARE(x.questions.Messages[0].Text, TextOf(message));
        QCOMPARE(x.questions.Messages[0].Kind, TMsgKind::Error);
        QCOMPARE(Flatten(x.doc()), original);
        QVERIFY(x.host.Steps.empty());
        // Keeping the steps instead goes through.
        x.form.cbKeepStep->click();
        QVERIFY(x.ok());
        QCOMPARE(x.host.Steps.size(), size_t(1));
    }

    void documentWithoutEntries() {
        Fixture x(MakeDoc({}));
        QCOMPARE(x.doc().Count(), 0);
        x.target(1, 1);
        QCOMPARE(x.form.upStartNo->value(), 1);
        QCOMPARE(x.form.lbStart->Caption(), QString());
        QCOMPARE(x.form.lbEnd->Caption(), QString());
        x.form.upStartSec->Click(1);
        QTest::keyClick(x.form.meStartSec, Qt::Key_Return);
        for (bool keep : {true, false}) {
            if (x.form.cbKeepStep->isChecked() != keep) x.form.cbKeepStep->click();
            QVERIFY(x.ok());
        }
        QVERIFY(x.host.Steps.empty());
        QVERIFY(x.questions.Messages.isEmpty());
    }

    // The number boxes reach every entry, far past what a 16-bit spinner holds.
    void reachesEveryEntry() {
        Fixture x(EvenDoc(40000, 100, 50));
        x.target(39990, 40000);
        QCOMPARE(x.form.upStartNo->value(), 39990);
        QCOMPARE(x.form.upEndNo->value(), 40000);
        QCOMPARE(x.form.lbEnd->Caption(), QStringLiteral("01:06:39,900 -> 01:06:39,950"));
        x.form.upStartSec->Click(1);
        QVERIFY(x.ok());
        QCOMPARE(x.doc().Item(39988)->Start, 3998800);
        QCOMPARE(x.doc().Item(39989)->Start, 3998900 + 1000);
        QCOMPARE(x.doc().Item(39999)->Start, 3999900 + 1000);
    }

    // A stretch starting before zero is not moved by pressing OK with the fields as shown.
    void firstBeforeZeroUntouchedIsNoShift() {
        Fixture x(MakeDoc(Stretch()));
        x.target(1, 5);
        const PerTitle& before = *x.doc().Item(0);
        QCOMPARE(x.form.lbStart->Caption(),
                 QString::fromStdString(before.StartText() + " -> " + before.EndText()));
        QVERIFY(x.ok());
        QVERIFY(x.host.Steps.empty());
        // A step from there moves it by the step.
        x.target(1, 5);
        x.form.upStartSec->Click(1);
        QVERIFY(x.ok());
        QCOMPARE(x.doc().Item(0)->Start, -2000);
        QCOMPARE(x.doc().Item(4)->Start, 151000);
    }

    void incompleteFieldRefusesOk() {
        Fixture x(EvenDoc(5));
        x.target(1, 5);
        x.form.meStartms->setText(QStringLiteral("5"));
        QVERIFY(!x.ok());
        QCOMPARE(x.questions.Messages.size(), 1);
        QCOMPARE(x.questions.Messages[0].Text, TextOf(txInvalidMaskInput));
        QVERIFY(x.host.Steps.empty());
    }
};

QTEST_MAIN(TestSegForm)
#include "tst_segform.moc"
