// The import dialog on the editor-host double: its controls, the refresh for each kind of
// source, times and texts copied pairwise from the other pane or a file, a text file poured in
// by paragraphs, extensions in any letter case and of other kinds, MicroDVD files asking twice,
// code pages converted or refused, and each OK one undoable step.
#include "TestSettings.h"
#include "ControlTable.h"
#include "Import.h"
#include "MergeFixture.h"
#include "Texts.h"
#include "TimeParts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

namespace {

using Fixture = TMergeFixture<TImportForm>;

// Ten entries a second apart with texts t1..t10, and eight at 100 s and on with s1..s8.
void TenAndEight(Fixture& x) {
    std::vector<int> ten, eight;
    for (int i = 0; i < 10; ++i)
        ten.push_back(i * 1000);
    for (int i = 0; i < 8; ++i)
        eight.push_back(100000 + i * 7000);
    x.Docs(StartsDoc(ten), StartsDoc(eight, "s"));
}

} // namespace

class TestImportForm : public QObject {
    Q_OBJECT
    // The choosers remember their folder in the settings: a test keeps its own.
    TTestSettings settings_;

private slots:
    void controls() {
        TFakeHost host;
        TImportForm form(&host);
        CheckControls(&form, {
                                 {"ImportForm", "TImportForm", "匯入字幕", QRect(0, 0, 350, 306)},
                                 {"GroupBox1", "QGroupBox", "1. 資料來源"},
                                 {"rbtnOpposite", "QRadioButton", "右側字幕"},
                                 {"rbtnSubFile", "QRadioButton", "字幕檔案"},
                                 {"etSubFile", "QLineEdit", ""},
                                 {"sbtnFile", "QToolButton"},
                                 {"GroupBox5", "QGroupBox", "2. 匯入項目"},
                                 {"cbTimeStamp", "QCheckBox", "時間值"},
                                 {"cbTitle", "QCheckBox", "文字"},
                                 {"GroupBox2", "QGroupBox", "3. 來源範圍"},
                                 {"rbtnSelectAll", "QRadioButton", "全部"},
                                 {"rbtnSelectRange", "QRadioButton", "指定範圍"},
                                 {"leStartNoLabel", "QLabel", "開始編號"},
                                 {"upStartNo", "TNumberSpin"},
                                 {"leEndNo", "", "1"},
                                 {"GroupBox3", "QGroupBox", "4. 匯入範圍"},
                                 {"leImStartNoLabel", "QLabel", "開始編號"},
                                 {"upImStartNo", "TNumberSpin"},
                                 {"leImStartNo", "", "1"},
                                 {"leImEndNoLabel", "QLabel", "結束編號"},
                                 {"upImEndNo", "TNumberSpin"},
                                 {"lbImNote", "QLabel", "(此範圍內的字幕,會被匯入的項目所取代)"},
                                 {"bbtnOk", "QPushButton", "確定"},
                                 {"bbtnCancel", "QPushButton", "取消"},
                             });
        QCOMPARE(form.FormSlot(), TFormSlot::Import);
        QVERIFY(form.cbTimeStamp->isChecked());
        QVERIFY(form.cbTitle->isChecked());
        QVERIFY(!form.upStartNo->isEnabled());
        QCOMPARE(form.bbtnOk->toolTip(), QStringLiteral("匯入字幕"));
        QCOMPARE(form.bbtnOk->statusTip(), QStringLiteral("匯入選擇之字幕"));
        QCOMPARE(form.bbtnCancel->statusTip(), QStringLiteral("取消匯入字幕"));
    }

    void setTarget_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("withOpposite");
        QTest::addColumn<QString>("caption");
        QTest::newRow("left") << 0 << true << "右側字幕";
        QTest::newRow("right") << 1 << true << "左側字幕";
        QTest::newRow("left, right pane empty") << 0 << false << "右側字幕";
    }
    void setTarget() {
        QFETCH(int, side);
        QFETCH(bool, withOpposite);
        QFETCH(QString, caption);
        Fixture x;
        x.Docs(EvenDoc(10), withOpposite ? EvenDoc(8) : nullptr, side);
        QCOMPARE(x.form.rbtnOpposite->text(), caption);
        QCOMPARE(x.form.rbtnOpposite->isEnabled(), withOpposite);
        QCOMPARE(x.form.rbtnSubFile->isChecked(), !withOpposite);
        QCOMPARE(x.form.upImStartNo->value(), 1);
        QCOMPARE(x.form.upImEndNo->value(), 10);
        QCOMPARE(x.form.upImEndNo->maximum(), 10);
        if (withOpposite) QCOMPARE(x.form.upEndNo->value(), 8);
    }

    // Times only, 10 target entries from 8: entries 1 to 8 take the times, 9 and 10 keep theirs,
    // every text stays; one step, undone exactly; the other pane untouched.
    void timesOnly() {
        Fixture x;
        TenAndEight(x);
        const auto before = Times(x.Target());
        x.form.cbTitle->click();
        QVERIFY(x.Ok());
        for (int j = 0; j < 10; ++j) {
            const PerTitle& e = *x.Target().Item(j);
            QCOMPARE(e.Start, j < 8 ? 100000 + j * 7000 : j * 1000);
            QCOMPARE(e.Text, "t" + std::to_string(j + 1));
        }
        QCOMPARE(x.host.Steps.size(), size_t(1));
        QCOMPARE(x.host.Steps[0].Name, TextOf(txStepImport));
        QCOMPARE(StartsOf(*x.host.Docs[1]).first(), 100000);
        QVERIFY(x.host.Undo());
        QCOMPARE(Times(x.Target()), before);
    }

    void targetFiveToFive_data() {
        QTest::addColumn<int>("sourceFirst"); // 0: the whole source
        QTest::addColumn<int>("from");
        QTest::newRow("whole source") << 0 << 1;
        QTest::newRow("source from 3") << 3 << 3;
    }
    void targetFiveToFive() {
        QFETCH(int, sourceFirst);
        QFETCH(int, from);
        Fixture x;
        TenAndEight(x);
        if (sourceFirst) {
            x.form.rbtnSelectRange->click();
            x.form.upStartNo->setValue(sourceFirst);
        }
        x.form.upImStartNo->setValue(5);
        x.form.upImEndNo->setValue(5);
        QVERIFY(x.Ok());
        QStringList expected{"t1", "t2", "t3", "t4", "s", "t6", "t7", "t8", "t9", "t10"};
        expected[4] = QStringLiteral("s%1").arg(from);
        QCOMPARE(TextsOf(x.Target()), expected);
        QCOMPARE(x.Target().Item(4)->Start, 100000 + (from - 1) * 7000);
        QCOMPARE(x.Target().Item(5)->Start, 5000);
    }

    void emptyRangesChangeNothing() {
        Fixture x;
        TenAndEight(x);
        x.form.upImStartNo->setValue(6);
        x.form.upImEndNo->setValue(5);
        QVERIFY(x.Ok());
        QVERIFY(x.host.Steps.empty());

        Fixture y;
        y.Docs(StartsDoc({}), StartsDoc({1, 2}, "s"));
        QVERIFY(y.Ok());
        QVERIFY(y.host.Steps.empty());
    }

    // The text file's kind decides the refresh: no times, always from its start; the other pane
    // brings them back.
    void textFileRefresh() {
        Fixture x;
        TenAndEight(x);
        x.form.rbtnSelectRange->click();
        x.questions.FileAnswers << x.Write("story.txt", "a\n");
        x.form.sbtnFile->click();
        QCOMPARE(x.questions.LastFilter, TImportForm::OpenFilter);
        QVERIFY(x.form.rbtnSubFile->isChecked());
        QVERIFY(!x.form.cbTimeStamp->isChecked());
        QVERIFY(!x.form.cbTimeStamp->isEnabled());
        QVERIFY(!x.form.rbtnSelectRange->isEnabled());
        QVERIFY(!x.form.upStartNo->isEnabled());
        QCOMPARE(x.Asked, 0); // a text file is not read on choosing
        x.form.rbtnOpposite->click();
        QVERIFY(x.form.cbTimeStamp->isChecked());
        QVERIFY(x.form.cbTimeStamp->isEnabled());
        QVERIFY(x.form.rbtnSelectRange->isEnabled());
    }

    void textFilePoured_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("texts");
        const QStringList rest{"t4", "t5", "t6", "t7", "t8", "t9", "t10"};
        QTest::newRow("a b blank blank c") << QByteArray("a\r\nb\r\n\r\n\r\nc\r\n") << "story.txt"
                                           << QStringList{"a|b", "c", "t3"} + rest;
        QTest::newRow("leading blank line") << QByteArray("\nfirst\n\nsecond\n") << "story.txt"
                                            << QStringList{"", "first", "second"} + rest;
        QTest::newRow("csv is text, not columns")
            << QByteArray("x,y\n\nz\n") << "table.CSV" << QStringList{"x,y", "z", "t3"} + rest;
        QTest::newRow("capital TXT")
            << QByteArray("only\n") << "STORY.TXT" << QStringList{"only", "t2", "t3"} + rest;
        // 四 (A5 7C) has "|" as its second byte; the text arrives whole in the UTF-8 document.
        QTest::newRow("Big5 text") << QByteArray("\xA5\x7C\xA5\x7C\r\n\xA5\x7C\r\n") << "big5.txt"
                                   << QStringList{"四四|四", "t2", "t3"} + rest;
        QTest::newRow("UTF-16 text") << QByteArray("\xFF\xFE"
                                                   "a\0\n\0\n\0b\0",
                                                   10)
                                     << "u16.txt" << QStringList{"a", "b", "t3"} + rest;
    }
    // Paragraph by paragraph from the first target entry; times never move.
    void textFilePoured() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QStringList, texts);
        Fixture x;
        TenAndEight(x);
        const auto times = Times(x.Target());
        x.questions.FileAnswers << x.Write(name, bytes);
        x.form.sbtnFile->click();
        QVERIFY(x.Ok());
        QCOMPARE(TextsOf(x.Target()), texts);
        QCOMPARE(Times(x.Target()), times);
        QVERIFY(x.host.Undo());
        QCOMPARE(TextsOf(x.Target()).first(), QStringLiteral("t1"));
    }

    void textFileIntoTargetRangeAndWithoutTexts() {
        Fixture x;
        TenAndEight(x);
        x.questions.FileAnswers << x.Write("story.txt", "a\n\nb\n\nc\n");
        x.form.sbtnFile->click();
        x.form.upImStartNo->setValue(9);
        QVERIFY(x.Ok());
        QCOMPARE(TextsOf(x.Target()).mid(7), (QStringList{"t8", "a", "b"}));
        // Without texts a text file changes nothing, and OK still ends the dialog.
        x.form.cbTitle->click();
        QVERIFY(x.Ok());
        QCOMPARE(x.host.Steps.size(), size_t(1));
    }

    // A UTF-8 text a Big5 document cannot hold is refused, naming its line.
    void textTheTargetCannotHold() {
        Fixture x;
        x.Docs(MakeDoc({{0, 1, "\xA5\x7C"}, {2, 3, "b"}}, "big5.srt"), nullptr);
        x.form.etSubFile->setText(x.Write("emoji.txt", "fine\n\nsmile \xF0\x9F\x98\x80\n"));
        QVERIFY(!x.Ok());
        QCOMPARE(x.MessageTexts(), QStringList{TextOf(txLineCannotBeHeld).arg(3).arg("Big5")});
        QVERIFY(x.host.Steps.empty());
        QCOMPARE(x.Target().Item(0)->Text, std::string("\xA5\x7C"));
    }

    // A subtitle file by its extension in any case: read on choosing (a MicroDVD file asks),
    // and again on OK.
    void subtitleFiles() {
        Fixture x;
        TenAndEight(x);
        x.questions.FileAnswers << x.Write("PART.SRT", SubRipBytes({500, 600, 700}));
        x.form.sbtnFile->click();
        QCOMPARE(x.form.FileCount, 3);
        QCOMPARE(x.form.upEndNo->value(), 3);
        QVERIFY(x.form.cbTimeStamp->isEnabled());
        QVERIFY(x.Ok());
        QCOMPARE(StartsOf(x.Target()).mid(0, 4), (QList<int>{500, 600, 700, 3000}));
        QCOMPARE(TextsOf(x.Target()).mid(0, 4), (QStringList{"f1", "f2", "f3", "t4"}));

        x.questions.FileAnswers << x.Write("film.sub", MicroDvdBytes());
        x.form.sbtnFile->click();
        QCOMPARE(x.Asked, 1);
        QCOMPARE(x.form.FileCount, 2);
        x.Rates << std::nullopt; // cancelled on OK: open, nothing said, nothing changed
        QVERIFY(!x.Ok());
        QCOMPARE(x.Asked, 2);
        QVERIFY(x.questions.Messages.isEmpty());
        QVERIFY(x.Ok());
        QCOMPARE(x.Asked, 3);
        QCOMPARE(TextsOf(x.Target()).mid(0, 3), (QStringList{"one", "two", "f3"}));
    }

    // A file of another kind is taken into the field, and refused on OK; a subtitle file that
    // gives no document is refused on choosing, leaving what was chosen before.
    void otherFiles() {
        Fixture x;
        TenAndEight(x);
        const QString doc = x.Write("letter.doc", "Dear reader\n");
        x.questions.FileAnswers << doc;
        x.form.sbtnFile->click();
        QCOMPARE(x.form.etSubFile->text(), doc);
        QVERIFY(x.questions.Messages.isEmpty());
        QVERIFY(!x.Ok());
        QCOMPARE(x.MessageTexts(), QStringList{TextOf(txUnknownFormat)});

        x.form.etSubFile->clear();
        QVERIFY(!x.Ok());
        QCOMPARE(x.questions.Messages.last().Text, TextOf(txNoCombineFile));
        x.form.etSubFile->setText(x.dir.filePath("gone.txt"));
        QVERIFY(!x.Ok());
        QVERIFY(x.questions.Messages.last().Text.startsWith(TextOf(txFileMissing)));
        QVERIFY(x.host.Steps.empty());
    }
};

QTEST_MAIN(TestImportForm)
#include "tst_importform.moc"
