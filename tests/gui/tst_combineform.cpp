// The combine dialog on the editor-host double: its controls, what SetTarget sets for each side,
// every insert position with and without re-timing as one undoable step, the file chosen and
// read again on OK (a file that is no subtitle file, a MicroDVD file asking for its rate, a
// reader's error, a missing file), code pages, empty targets and ranges, and number boxes that
// reach every entry.
#include "TestSettings.h"
#include "Combine.h"
#include "ControlTable.h"
#include "MergeFixture.h"
#include "Texts.h"
#include "TimeParts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

namespace {

using Fixture = TMergeFixture<TCombineForm>;

enum Where { Front, Rear, Before2 };

void Choose(TCombineForm& f, Where where) {
    (where == Front  ? f.rbtnInsertFront
     : where == Rear ? f.rbtnInsertRear
                     : f.rbtnInsertPos)
        ->click();
    if (where == Before2) f.upInsertPos->setValue(2);
}

} // namespace

class TestCombineForm : public QObject {
    Q_OBJECT
    // The choosers remember their folder in the settings: a test keeps its own.
    TTestSettings settings_;

private slots:
    void controls() {
        TFakeHost host;
        TCombineForm form(&host);
        CheckControls(&form, {
                                 {"CombineForm", "TCombineForm", "合併字幕", QRect(0, 0, 348, 316)},
                                 {"GroupBox1", "QGroupBox", "1. 字幕來源", QRect(6, 4, 336, 70)},
                                 {"rbtnOpposite", "QRadioButton", "右側字幕"},
                                 {"rbtnSubFile", "QRadioButton", "字幕檔案"},
                                 {"etSubFile", "QLineEdit", ""},
                                 {"sbtnSubFile", "QToolButton"},
                                 {"GroupBox2", "QGroupBox", "2. 選擇範圍"},
                                 {"rbtnSelectAll", "QRadioButton", "全部"},
                                 {"rbtnSelectRange", "QRadioButton", "指定範圍"},
                                 {"leStartNoLabel", "QLabel", "開始編號"},
                                 {"upStartNo", "TNumberSpin"},
                                 {"leStartNo", "", "1"},
                                 {"leEndNoLabel", "QLabel", "結束編號"},
                                 {"upEndNo", "TNumberSpin"},
                                 {"leEndNo", "", "1"},
                                 {"GroupBox3", "QGroupBox", "3. 插入位置"},
                                 {"rbtnInsertFront", "QRadioButton", "字幕前方"},
                                 {"rbtnInsertRear", "QRadioButton", "字幕後方"},
                                 {"rbtnInsertPos", "QRadioButton", "指定位置"},
                                 {"leInsertPosLabel", "QLabel", "字幕編號"},
                                 {"upInsertPos", "TNumberSpin"},
                                 {"leInsertPos", "", "1"},
                                 {"GroupBox4", "QGroupBox", "4. 時間調整"},
                                 {"cbAutoAdjust", "QCheckBox",
                                  "自動調整字幕時間  (若未勾選,則保持各自原來字幕時間)"},
                                 {"bbtnOk", "QPushButton", "確定"},
                                 {"bbtnCancel", "QPushButton", "取消"},
                             });
        QCOMPARE(form.FormSlot(), TFormSlot::Combine);
        QVERIFY(form.etSubFile->isReadOnly());
        QVERIFY(form.rbtnSelectAll->isChecked());
        QVERIFY(form.rbtnInsertFront->isChecked());
        QVERIFY(form.cbAutoAdjust->isChecked());
        QVERIFY(!form.upStartNo->isEnabled());
        QVERIFY(!form.upInsertPos->isEnabled());
        QCOMPARE(form.bbtnOk->toolTip(), QStringLiteral("合併字幕"));
        QCOMPARE(form.bbtnOk->statusTip(), QStringLiteral("合併選擇之字幕"));
        QCOMPARE(form.bbtnCancel->statusTip(), QStringLiteral("取消合併字幕"));
        QCOMPARE(form.rbtnInsertPos->statusTip(), QStringLiteral("併入之字幕將插入此編號之前"));
        // The range and position boxes follow their radio buttons.
        form.rbtnSelectRange->click();
        form.rbtnInsertPos->click();
        QVERIFY(form.upStartNo->isEnabled() && form.upEndNo->isEnabled());
        QVERIFY(form.upInsertPos->isEnabled());
    }

    // The first radio button names the other pane, and is off when that pane has no document.
    void setTargetPerSide_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("withOpposite");
        QTest::addColumn<QString>("caption");
        QTest::newRow("left, right pane loaded") << 0 << true << "右側字幕";
        QTest::newRow("right, left pane loaded") << 1 << true << "左側字幕";
        QTest::newRow("left, right pane empty") << 0 << false << "右側字幕";
        QTest::newRow("right, left pane empty") << 1 << false << "左側字幕";
    }
    void setTargetPerSide() {
        QFETCH(int, side);
        QFETCH(bool, withOpposite);
        QFETCH(QString, caption);
        Fixture x;
        x.Docs(EvenDoc(7), withOpposite ? EvenDoc(4) : nullptr, side);
        QCOMPARE(x.form.rbtnOpposite->text(), caption);
        QCOMPARE(x.form.rbtnOpposite->isEnabled(), withOpposite);
        QCOMPARE(x.form.rbtnOpposite->isChecked(), withOpposite);
        QCOMPARE(x.form.rbtnSubFile->isChecked(), !withOpposite);
        QCOMPARE(x.form.upInsertPos->maximum(), 7);
        // The range over the other pane, or over the (not yet chosen) file's one entry.
        QCOMPARE(x.form.upEndNo->maximum(), withOpposite ? 4 : 1);
        QCOMPARE(x.form.upEndNo->value(), withOpposite ? 4 : 1);
        QCOMPARE(x.form.upStartNo->value(), 1);
    }

    void insertPositions_data() {
        QTest::addColumn<int>("where");
        QTest::addColumn<bool>("adjust");
        QTest::addColumn<QList<int>>("starts");
        const QList<int> asTheyAre{1000, 2000, 3000, 4000, 5000, 9000};
        QTest::newRow("before 2, re-timed")
            << int(Before2) << true << QList<int>{1000, 3000, 4000, 5000, 9000, 13000};
        QTest::newRow("before 2, as they are") << int(Before2) << false << asTheyAre;
        QTest::newRow("front, re-timed")
            << int(Front) << true << QList<int>{2000, 3000, 4000, 5000, 9000, 13000};
        QTest::newRow("front, as they are")
            << int(Front) << false << QList<int>{2000, 3000, 4000, 1000, 5000, 9000};
        QTest::newRow("rear, re-timed")
            << int(Rear) << true << QList<int>{1000, 5000, 9000, 11000, 12000, 13000};
        QTest::newRow("rear, as they are")
            << int(Rear) << false << QList<int>{1000, 5000, 9000, 2000, 3000, 4000};
    }
    // From the other pane, the whole source: one step, undone exactly; the other pane untouched.
    void insertPositions() {
        QFETCH(int, where);
        QFETCH(bool, adjust);
        QFETCH(QList<int>, starts);
        Fixture x;
        x.Docs(StartsDoc({1000, 5000, 9000}), StartsDoc({2000, 3000, 4000}, "s"));
        Choose(x.form, Where(where));
        if (x.form.cbAutoAdjust->isChecked() != adjust) x.form.cbAutoAdjust->click();
        QVERIFY(x.Ok());
        QCOMPARE(StartsOf(x.Target()), starts);
        QCOMPARE(x.host.Steps.size(), size_t(1));
        QCOMPARE(x.host.Steps[0].Name, TextOf(txStepCombine));
        QCOMPARE(StartsOf(*x.host.Docs[1]), (QList<int>{2000, 3000, 4000}));
        QVERIFY(x.questions.Messages.isEmpty());
        QVERIFY(x.host.Undo());
        QCOMPARE(StartsOf(x.Target()), (QList<int>{1000, 5000, 9000}));
    }

    // Appending a whole source that starts at 2000 after a last entry at 60000.
    void appendingStartsAfterTheLastEntry() {
        Fixture x;
        x.Docs(StartsDoc({0, 30000, 60000}), StartsDoc({2000, 2500}, "s"));
        x.form.rbtnInsertRear->click();
        QVERIFY(x.Ok());
        QCOMPARE(StartsOf(x.Target()), (QList<int>{0, 30000, 60000, 62000, 62500}));
    }

    void numberedRangeAndEmptyTarget() {
        Fixture x;
        x.Docs(StartsDoc({}), StartsDoc({2000, 3000, 4000, 5000}, "s"));
        QCOMPARE(x.form.upInsertPos->maximum(), 1);
        x.form.rbtnSelectRange->click();
        x.form.upStartNo->setValue(2);
        x.form.upEndNo->setValue(3);
        x.form.rbtnInsertPos->click(); // before "entry 1" of an empty target: at its start
        QVERIFY(x.Ok());
        // The copies move by 0 - 2000 (the start of the source entry before the range).
        QCOMPARE(StartsOf(x.Target()), (QList<int>{1000, 2000}));
        QCOMPARE(TextsOf(x.Target()), (QStringList{"s2", "s3"}));
    }

    // A range whose last number is below its first inserts nothing, and moves nothing.
    void emptyRangeChangesNothing() {
        Fixture x;
        x.Docs(StartsDoc({1000, 5000, 9000}), StartsDoc({2000, 3000, 4000}, "s"));
        x.form.rbtnSelectRange->click();
        x.form.upStartNo->setValue(3);
        x.form.upEndNo->setValue(1);
        x.form.rbtnInsertPos->click();
        x.form.upInsertPos->setValue(2);
        QVERIFY(x.Ok());
        QCOMPARE(StartsOf(x.Target()), (QList<int>{1000, 5000, 9000}));
        QVERIFY(x.host.Steps.empty());
    }

    void sourceWithoutEntries() {
        Fixture x;
        x.Docs(StartsDoc({1000, 5000}), StartsDoc({}, "s"));
        QCOMPARE(x.form.upEndNo->value(), 1);
        QVERIFY(x.Ok());
        QCOMPARE(StartsOf(x.Target()), (QList<int>{1000, 5000}));
        QVERIFY(x.host.Steps.empty());
    }

    // The boxes are not 16-bit: a position past 32767 can be chosen and is used.
    void numbersReachEveryEntry() {
        Fixture x;
        x.Docs(EvenDoc(40000), StartsDoc({5}, "s"));
        QCOMPARE(x.form.upInsertPos->maximum(), 40000);
        x.form.cbAutoAdjust->click();
        x.form.rbtnInsertPos->click();
        x.form.upInsertPos->setValue(39000);
        QCOMPARE(x.form.upInsertPos->value(), 39000);
        QVERIFY(x.Ok());
        QCOMPARE(x.Target().Item(38998)->Text, std::string("line 38999"));
        QCOMPARE(x.Target().Item(38999)->Text, std::string("s1"));
        QCOMPARE(x.Target().Count(), 40001);
    }

    // A chosen file sets the range; one that gives no document leaves the previous choice.
    void choosingAFile() {
        Fixture x;
        x.Docs(StartsDoc({1000}), StartsDoc({2000, 3000}, "s"));
        const QString good = x.Write("part.srt", SubRipBytes({100, 200, 300, 400, 500}));
        const QString bad = x.Write("notes.txt", "just some text\n");
        x.questions.FileAnswers << good << bad << QString();
        x.form.sbtnSubFile->click();
        QCOMPARE(x.questions.LastFilter, TCombineForm::OpenFilter);
        QVERIFY(x.form.rbtnSubFile->isChecked());
        QCOMPARE(x.form.etSubFile->text(), good);
        QCOMPARE(x.form.FileCount, 5);
        QCOMPARE(x.form.upEndNo->value(), 5);
        x.form.sbtnSubFile->click(); // not a subtitle file
        QCOMPARE(x.MessageTexts(), QStringList{TextOf(txUnknownFormat)});
        QCOMPARE(x.form.etSubFile->text(), good);
        QCOMPARE(x.form.FileCount, 5);
        QVERIFY(x.form.rbtnSubFile->isChecked());
        x.form.sbtnSubFile->click(); // cancelled: nothing changes
        QCOMPARE(x.form.etSubFile->text(), good);
        // Back to the other pane, and the range follows.
        x.form.rbtnOpposite->click();
        QCOMPARE(x.form.upEndNo->value(), 2);
        x.form.rbtnSubFile->click();
        QCOMPARE(x.form.upEndNo->value(), 5);

        x.form.rbtnSelectRange->click();
        x.form.upStartNo->setValue(2);
        x.form.upEndNo->setValue(3);
        x.form.rbtnInsertRear->click();
        x.form.cbAutoAdjust->click();
        QVERIFY(x.Ok());
        QCOMPARE(TextsOf(x.Target()), (QStringList{"t1", "f2", "f3"}));
    }

    // OK without a file, with one gone since, and with one of another kind: each says so and the
    // dialog stays open with nothing changed.
    void okWithoutAUsableFile() {
        Fixture x;
        x.Docs(StartsDoc({1000}), nullptr);
        QVERIFY(!x.Ok());
        QCOMPARE(x.MessageTexts(), QStringList{TextOf(txNoCombineFile)});
        QCOMPARE(x.questions.Messages[0].Kind, TMsgKind::Error);

        x.form.etSubFile->setText(x.dir.filePath("gone.srt"));
        QVERIFY(!x.Ok());
        QVERIFY(x.questions.Messages[1].Text.startsWith(TextOf(txFileMissing)));

        x.form.etSubFile->setText(x.Write("letter.doc", "Dear reader\n"));
        QVERIFY(!x.Ok());
        QCOMPARE(x.questions.Messages[2].Text, TextOf(txUnknownFormat));
        QVERIFY(x.host.Steps.empty());
        QCOMPARE(x.Target().Count(), 1);
    }

    // A MicroDVD file is read when chosen and again on OK, asking for its rate each time. The
    // user cancelling the question on OK keeps the dialog open without a message; a rate that
    // is no number is the reader's error, shown with the dialog open.
    void microDvdAsksForItsRate() {
        Fixture x;
        x.Docs(StartsDoc({0}), nullptr);
        x.questions.FileAnswers << x.Write("film.sub", MicroDvdBytes());
        x.form.sbtnSubFile->click();
        QCOMPARE(x.Asked, 1);
        QCOMPARE(x.form.FileCount, 2);

        x.Rates << std::nullopt;
        QVERIFY(!x.Ok());
        QCOMPARE(x.Asked, 2);
        QVERIFY(x.questions.Messages.isEmpty());

        x.Rates << std::optional<std::string>("fast");
        QVERIFY(!x.Ok());
        QCOMPARE(x.questions.Messages.size(), 1);
        QVERIFY(x.host.Steps.empty());

        x.form.cbAutoAdjust->click();
        x.form.rbtnInsertRear->click();
        x.Rates << std::optional<std::string>("10");
        QVERIFY(x.Ok());
        QCOMPARE(x.Asked, 4);
        QCOMPARE(StartsOf(x.Target()), (QList<int>{0, 2500, 5000})); // frames 25 and 50 at 10/s
    }

    // Cancelling the question when choosing leaves the previous choice, silently.
    void microDvdCancelledOnChoosing() {
        Fixture x;
        x.Docs(StartsDoc({0}), StartsDoc({1}, "s"));
        x.questions.FileAnswers << x.Write("film.sub", MicroDvdBytes());
        x.Rates << std::nullopt;
        x.form.sbtnSubFile->click();
        QVERIFY(x.questions.Messages.isEmpty());
        QVERIFY(x.form.rbtnOpposite->isChecked());
        QVERIFY(x.form.etSubFile->text().isEmpty());
    }

    // A Big5 file into a UTF-8 document is converted; a text Big5 cannot hold stops the OK.
    void codePages() {
        Fixture x;
        x.Docs(StartsDoc({0}), nullptr);
        // 四 is A5 7C in Big5: its second byte is "|".
        x.questions.FileAnswers << x.Write("big5.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\n"
                                                       "\xA5\x7C\xA5\x7C\r\n\r\n");
        x.form.sbtnSubFile->click();
        x.form.rbtnInsertRear->click();
        QVERIFY(x.Ok());
        QCOMPARE(TextsOf(x.Target()), (QStringList{"t1", "四四"}));

        Fixture y;
        y.Docs(MakeDoc({{0, 1, "\xA5\x7C"}}, "big5.srt"), StartsDoc({5, 6}, "s"));
        QCOMPARE(y.Target().CodePage(), kCodePageBig5);
        y.host.Docs[1] = MakeDoc({{0, 1, "ok"}, {5, 6, "smile \xF0\x9F\x98\x80"}});
        y.form.SetTarget(0, y.host.Docs[0].get(), y.host.Docs[1].get());
        QVERIFY(!y.Ok());
        QCOMPARE(y.MessageTexts(), QStringList{TextOf(txEntryCannotBeHeld).arg(2).arg("Big5")});
        QCOMPARE(y.Target().Count(), 1);
        QVERIFY(y.host.Steps.empty());
    }

    void cancelChangesNothing() {
        Fixture x;
        x.Docs(StartsDoc({1000}), StartsDoc({2000}, "s"));
        x.form.setResult(0);
        x.form.bbtnCancel->click();
        QCOMPARE(x.form.result(), int(QDialog::Rejected));
        QCOMPARE(x.Target().Count(), 1);
        QVERIFY(x.host.Steps.empty());
    }
};

QTEST_MAIN(TestCombineForm)
#include "tst_combineform.moc"
