// The save-as dialog through the questions seam: its controls, what it takes from the document,
// the format rule, the file chooser's filter entry choosing the format, the options reaching the
// written file (range, renumbering, new start, blank removal, frame rate, centring), the checks
// that leave it open with nothing written, a failed write reported, and the document unchanged.
#include "ControlTable.h"
#include "DocBuilder.h"
#include "FakeHost.h"
#include "MaskEdit.h"
#include "SaveAs.h"
#include "SaveAsForm.h"
#include "ScriptedQuestions.h"
#include "TestSettings.h"
#include "Texts.h"
#include "TimeParts.h"
#include "UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace {

using Setup = std::function<void(TSaveAsForm&)>;

void Type(TTimeParts* parts, const QString& time) {
    const QStringList texts = time.split(QRegularExpression(QStringLiteral("[:,]")));
    for (int k = 0; k < 4; ++k)
        parts->Fields[size_t(k)]->setText(texts[k]);
}

QString Shown(const TTimeParts* parts) {
    return parts->Fields[0]->text() + ':' + parts->Fields[1]->text() + ':' +
           parts->Fields[2]->text() + ',' + parts->Fields[3]->text();
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// 120 entries a second apart, 800 ms long, "line n"; with blanks, entries 13 and 14 have no
// visible text.
std::unique_ptr<SubTitle> Doc120(double frameRate = 25.0, bool blanks = false) {
    std::vector<TEntrySpec> entries;
    for (int i = 0; i < 120; ++i)
        entries.push_back({i * 1000, i * 1000 + 800, "line " + std::to_string(i + 1)});
    if (blanks) {
        entries[12].Text = "\t";
        entries[13].Text = "\xE3\x80\x80"; // a full-width space
    }
    return MakeDoc(entries, "doc.srt", frameRate);
}

// The SubRip text of entries numbered from number, each starting at start + k × 1000.
QByteArray SubRipRun(int number, int count, int start, int firstLine) {
    QByteArray text;
    for (int k = 0; k < count; ++k) {
        const int t = start + k * 1000;
        text += QByteArray::number(number + k) + "\r\n" + MsToTimeText(t).c_str() + " --> " +
                MsToTimeText(t + 800).c_str() + "\r\nline " + QByteArray::number(firstLine + k) +
                "\r\n\r\n";
    }
    return text;
}

void Range(TSaveAsForm& f, int first, int last) {
    f.rbtnSelectRange->click();
    f.upStartNo->setValue(first);
    f.upEndNo->setValue(last);
}

struct Fixture {
    TScriptedQuestions questions;
    QTemporaryDir dir;
    std::unique_ptr<SubTitle> doc;
    TFakeHost host;
    TSaveAsForm form{&host};
    explicit Fixture(std::unique_ptr<SubTitle> d) : doc(std::move(d)) { form.SetTarget(doc.get()); }
    QString path(const QString& name) { return dir.filePath(name); }
    // The path as the file chooser gives it, with the filter entry the user ended on.
    void choose(const QString& path, int filterIndex) {
        questions.SaveChoiceAnswers.enqueue(TSaveChoice{path, filterIndex});
        form.sbtnSaveFile->click();
    }
    bool ok() {
        form.setResult(0);
        form.bbtnOk->click();
        return form.result() == QDialog::Accepted;
    }
};

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestSaveAsForm : public QObject {
    Q_OBJECT
    // The choosers remember their folder in the settings: a test keeps its own.
    TTestSettings settings_;

private slots:
    void controls() {
        TFakeHost host;
        TSaveAsForm form(&host);
        CheckControls(
            &form,
            {
                {"SaveAsForm", "TSaveAsForm", "另存新檔", QRect(0, 0, 348, 362)},
                {"GroupBox1", "QGroupBox", "1. 字幕格式", QRect(6, 4, 336, 90)},
                {"lbFormat", "QLabel", "檔案格式:", QRect(10, 22, -1, -1)},
                {"rbtnSubRip", "QRadioButton", "SubRip", QRect(74, 20, 70, 17)},
                {"rbtnMicroDVD", "QRadioButton", "MicroDVD", QRect(150, 20, 84, 17)},
                {"rbtnSubviewer", "QRadioButton", "Subviewer", QRect(236, 20, 90, 17)},
                {"rbtnWebVTT", "QRadioButton", "WebVTT", QRect(74, 40, 76, 17)},
                {"rbtnASS", "QRadioButton", "ASS", QRect(150, 40, 80, 17)},
                {"rbtnSSA", "QRadioButton", "SSA", QRect(236, 40, 90, 17)},
                {"leSubFileLabel", "QLabel", "檔案名稱: ", QRect(10, 66, -1, -1)},
                {"leSubFile", "QLineEdit", "", QRect(74, 62, 226, 22)},
                {"sbtnSaveFile", "QToolButton", std::nullopt, QRect(304, 60, 24, 24)},
                {"GroupBox2", "QGroupBox", "2. 選擇範圍", QRect(6, 98, 336, 72)},
                {"rbtnSelectAll", "QRadioButton", "全部", QRect(10, 20, 60, 17)},
                {"rbtnSelectRange", "QRadioButton", "指定範圍", QRect(80, 20, 90, 17)},
                {"leStartNoLabel", "QLabel", "開始編號", QRect(10, 46, -1, -1)},
                {"upStartNo", "TNumberSpin", std::nullopt, QRect(64, 42, 90, 21)},
                {"leStartNo", "", "1"},
                {"leEndNoLabel", "QLabel", "結束編號", QRect(172, 46, -1, -1)},
                {"upEndNo", "TNumberSpin", std::nullopt, QRect(226, 42, 90, 21)},
                {"leEndNo", "", "1"},
                {"GroupBox3", "QGroupBox", "3. 選項設定", QRect(6, 174, 336, 150)},
                {"cbReNo", "QCheckBox", "重設編號", QRect(10, 20, 120, 17)},
                {"leSaveNoLabel", "QLabel", "新編號", QRect(172, 22, -1, -1)},
                {"upSaveNo", "TNumberSpin", std::nullopt, QRect(226, 18, 90, 21)},
                {"leSaveNo", "", "1"},
                {"cbReTime", "QCheckBox", "重設時間", QRect(10, 46, 120, 17)},
                {"meStartHour", "TMaskEdit", "00", QRect(150, 44, 20, 21)},
                {"upStartms", "TUpDown", std::nullopt, QRect(300, 44, 15, 21)},
                {"cbDelEmpty", "QCheckBox", "刪除空白字幕行", QRect(10, 72, 156, 17)},
                {"lbLineEnd", "QLabel", "行尾:", QRect(172, 74, -1, -1)},
                {"cbLineEnd", "QComboBox", "同原檔", QRect(226, 70, 100, 21)},
                {"cbPad", "QCheckBox", "自動加入空白,使字幕居中對齊", QRect(10, 96, 300, 17)},
                {"lbFrame", "QLabel", "每秒Frame數:", QRect(10, 124, -1, -1)},
                {"cbFrame", "QComboBox", "23.976", QRect(100, 120, 90, 21)},
                {"bbtnOk", "QPushButton", "確定", QRect(184, 332, 75, 25)},
                {"bbtnCancel", "QPushButton", "取消", QRect(267, 332, 75, 25)},
            });
        QCOMPARE(form.FormSlot(), TFormSlot::SaveAs);
        QVERIFY(form.rbtnSubRip->isChecked());
        QVERIFY(form.rbtnSelectAll->isChecked());
        QVERIFY(form.cbReTime->isChecked());
        QVERIFY(!form.cbDelEmpty->isChecked());
        // The file name can be typed as well as chosen.
        QVERIFY(!form.leSubFile->isReadOnly());
        QVERIFY(form.leSubFile->hasFrame());
        QVERIFY(form.cbFrame->isEditable());
        QStringList items;
        for (int i = 0; i < form.cbFrame->count(); ++i)
            items << form.cbFrame->itemText(i);
        QCOMPARE(items, QStringList({"23.976", "24.000", "25.000", "29.970", "30.000"}));
        QCOMPARE(form.upSaveNo->minimum(), 1);
        QCOMPARE(form.upSaveNo->maximum(), 10000);
        for (QWidget* w :
             {static_cast<QWidget*>(form.leSaveNo), static_cast<QWidget*>(form.upSaveNo)}) {
            QCOMPARE(w->toolTip(), QStringLiteral("指定插入位置"));
            QCOMPARE(w->statusTip(), QStringLiteral("併入之字幕將插入此編號之前"));
        }
        QCOMPARE(form.bbtnOk->toolTip(), QStringLiteral("另存字幕"));
        QCOMPARE(form.bbtnCancel->statusTip(), QStringLiteral("取消另存新檔"));
    }

    void setTarget() {
        Fixture x(Doc120(23.976));
        x.form.rbtnSelectRange->click();
        QCOMPARE(x.form.upStartNo->value(), 1);
        QCOMPARE(x.form.upEndNo->value(), 120);
        QCOMPARE(x.form.upEndNo->maximum(), 120);
        QCOMPARE(x.form.cbFrame->currentText(), QStringLiteral("23.976"));
        QCOMPARE(Shown(x.form.StartTime), QStringLiteral("00:00:00,000"));
        // Another entry's number moves the new start to that entry.
        x.form.upStartNo->setValue(11);
        QCOMPARE(Shown(x.form.StartTime), QStringLiteral("00:00:10,000"));
        // A later target resets ranges, new start and rate; path and options stay.
        x.form.leSubFile->setText(x.path("kept.srt"));
        x.form.cbDelEmpty->setChecked(true);
        auto other = MakeDoc({{5000, 6000, "a"}, {7000, 8000, "b"}}, "o.srt", 25);
        x.form.SetTarget(other.get());
        QCOMPARE(x.form.upStartNo->value(), 1);
        QCOMPARE(x.form.upEndNo->value(), 2);
        QCOMPARE(Shown(x.form.StartTime), QStringLiteral("00:00:05,000"));
        QCOMPARE(x.form.cbFrame->currentText(), QStringLiteral("25.000"));
        QCOMPARE(x.form.leSubFile->text(), x.path("kept.srt"));
        QVERIFY(x.form.cbDelEmpty->isChecked());
        QVERIFY(x.form.rbtnSelectRange->isChecked());
    }

    void formatRule_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("reNo");
        QTest::addColumn<bool>("frame");
        QTest::addColumn<bool>("pad");
        QTest::newRow("SubRip") << "rbtnSubRip" << true << false << false;
        QTest::newRow("MicroDVD") << "rbtnMicroDVD" << false << true << false;
        QTest::newRow("Subviewer") << "rbtnSubviewer" << false << false << true;
    }
    void formatRule() {
        QFETCH(QString, format);
        QFETCH(bool, reNo);
        QFETCH(bool, frame);
        QFETCH(bool, pad);
        Fixture x(Doc120());
        // From every other format, and with the boxes set against the rule.
        for (const char* from : {"rbtnSubRip", "rbtnMicroDVD", "rbtnSubviewer"}) {
            x.form.findChild<QRadioButton*>(from)->click();
            x.form.cbReNo->setChecked(!reNo);
            x.form.cbPad->setChecked(!pad);
            x.form.findChild<QRadioButton*>(format)->click();
            QCOMPARE(x.form.cbReNo->isEnabled(), reNo);
            QCOMPARE(x.form.cbReNo->isChecked(), reNo);
            QCOMPARE(x.form.upSaveNo->isEnabled(), reNo);
            QCOMPARE(x.form.cbFrame->isEnabled(), frame);
            QCOMPARE(x.form.lbFrame->isEnabled(), frame);
            QCOMPARE(x.form.cbPad->isEnabled(), pad);
            QCOMPARE(x.form.cbPad->isChecked(), pad);
        }
    }

    void enabledStatesFollowTheBoxes() {
        Fixture x(Doc120());
        QVERIFY(!x.form.upStartNo->isEnabled() && !x.form.upEndNo->isEnabled());
        x.form.rbtnSelectRange->click();
        QVERIFY(x.form.upStartNo->isEnabled() && x.form.upEndNo->isEnabled());
        x.form.cbReNo->click();
        QVERIFY(!x.form.upSaveNo->isEnabled() && !x.form.leSaveNoLabel->isEnabled());
        x.form.cbReTime->click();
        QVERIFY(!x.form.meStartHour->isEnabled() && !x.form.upStartms->isEnabled());
        x.form.cbReTime->click();
        QVERIFY(x.form.meStartms->isEnabled() && x.form.upStartHour->isEnabled());
    }

    void chooser_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("offered");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("after");
        QTest::newRow("MicroDVD entry") << "rbtnSubRip" << 0 << 1 << "rbtnMicroDVD";
        QTest::newRow("Subviewer entry") << "rbtnMicroDVD" << 1 << 2 << "rbtnSubviewer";
        QTest::newRow("SubRip entry") << "rbtnSubviewer" << 2 << 0 << "rbtnSubRip";
        QTest::newRow("WebVTT entry") << "rbtnSubRip" << 0 << 3 << "rbtnWebVTT";
        QTest::newRow("SSA entry") << "rbtnASS" << 4 << 5 << "rbtnSSA";
        QTest::newRow("all files keeps the format") << "rbtnMicroDVD" << 1 << 6 << "rbtnMicroDVD";
        QTest::newRow("no entry known keeps it") << "rbtnSubviewer" << 2 << -1 << "rbtnSubviewer";
    }
    void chooser() {
        QFETCH(QString, before);
        QFETCH(int, offered);
        QFETCH(int, filter);
        QFETCH(QString, after);
        Fixture x(Doc120());
        x.form.findChild<QRadioButton*>(before)->click();
        x.form.leSubFile->setText(x.path("earlier.srt"));
        // The path exactly as chosen: no extension added or changed.
        x.choose(x.path("out"), filter);
        QCOMPARE(x.questions.LastFilter, TSaveAsForm::SaveFilter);
        QCOMPARE(x.questions.LastFilterIndex, offered);
        QCOMPARE(x.questions.LastInitialPath, x.path("earlier.srt"));
        QVERIFY(x.form.findChild<QRadioButton*>(after)->isChecked());
        QCOMPARE(x.form.leSubFile->text(), x.path("out"));
        // The format rule ran for the format chosen.
        QCOMPARE(x.form.cbPad->isChecked(), after == "rbtnSubviewer");
        QVERIFY(x.ok());
        QVERIFY(QFile::exists(x.path("out")));
        QVERIFY(!QFile::exists(x.path("out.srt")) && !QFile::exists(x.path("out.sub")));
    }

    void chooserCancelledChangesNothing() {
        Fixture x(Doc120());
        x.form.rbtnMicroDVD->click();
        x.form.leSubFile->setText(x.path("a.sub"));
        x.questions.SaveChoiceAnswers.enqueue(std::nullopt);
        x.form.sbtnSaveFile->click();
        QCOMPARE(x.form.leSubFile->text(), x.path("a.sub"));
        QVERIFY(x.form.rbtnMicroDVD->isChecked());
    }

    void writes_data() {
        QTest::addColumn<bool>("blanks");
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("range 11-20, renumbered from 1, re-timed to zero")
            << false << Setup([](TSaveAsForm& f) {
                   Range(f, 11, 20);
                   f.upSaveNo->setValue(1);
                   Type(f.StartTime, "00:00:00,000");
               })
            << SubRipRun(1, 10, 0, 11);
        QTest::newRow("without renumbering the range keeps its numbers")
            << false << Setup([](TSaveAsForm& f) {
                   Range(f, 15, 20);
                   f.cbReNo->click();
                   Type(f.StartTime, "00:01:00,000");
               })
            << SubRipRun(15, 6, 60000, 15);
        QTest::newRow("renumbered from 7, times as they are") << false << Setup([](TSaveAsForm& f) {
            Range(f, 15, 16);
            f.upSaveNo->setValue(7);
            f.cbReTime->click();
        }) << SubRipRun(7, 2, 14000, 15);
        QTest::newRow("blank entries left out, numbers consecutive")
            << true << Setup([](TSaveAsForm& f) {
                   Range(f, 11, 20);
                   f.cbDelEmpty->click();
                   f.cbReTime->click();
               })
            << SubRipRun(1, 2, 10000, 11) + SubRipRun(3, 6, 14000, 15);
        QTest::newRow("MicroDVD at 25 whatever the document's rate")
            << false << Setup([](TSaveAsForm& f) {
                   f.rbtnMicroDVD->click();
                   Range(f, 3, 4);
                   Type(f.StartTime, "00:00:02,010");
                   f.cbFrame->setCurrentIndex(2);
               })
            << QByteArray("{50}{70}line 3\r\n{75}{95}line 4\r\n");
        QTest::newRow("MicroDVD at a typed rate") << false << Setup([](TSaveAsForm& f) {
            f.rbtnMicroDVD->click();
            Range(f, 2, 2);
            f.cbFrame->setEditText(" 10 ");
        }) << QByteArray("{10}{18}line 2\r\n");
    }
    void writes() {
        QFETCH(bool, blanks);
        QFETCH(Setup, setup);
        QFETCH(QByteArray, expected);
        Fixture x(Doc120(10.0, blanks));
        if (blanks)
            QVERIFY(IsBlankText(x.doc->Item(12)->Text) && IsBlankText(x.doc->Item(13)->Text));
        x.form.leSubFile->setText(x.path("out.txt"));
        setup(x.form);
        QVERIFY(x.ok());
        QVERIFY(x.questions.Messages.isEmpty());
        QCOMPARE(Bytes(x.path("out.txt")), expected);
        QVERIFY(x.host.BackedUp.isEmpty()); // a new file has nothing to keep
    }

    void subViewerCentres() {
        Fixture x(MakeDoc({{1000, 2000, "ab|abcde"}, {3000, 4000, " one line "}}));
        x.form.rbtnSubviewer->click();
        QVERIFY(x.form.cbPad->isChecked());
        x.form.leSubFile->setText(x.path("v.sub"));
        QVERIFY(x.ok());
        const QByteArray written = Bytes(x.path("v.sub"));
        QVERIFY2(written.startsWith("[INFORMATION]"), written.constData());
        // ⌈(5 − 2) / 2⌉ = 2 spaces before the shorter line; a one-line text is left as it is.
        QVERIFY2(written.toLower().contains("\r\n  ab[br]abcde\r\n"), written.constData());
        QVERIFY2(written.contains("\r\n one line \r\n"), written.constData());
    }

    // The checks that stop OK: each shows its message, writes nothing and keeps the dialog open.
    void refusals_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("message");
        QTest::newRow("no path") << Setup([](TSaveAsForm& f) { f.leSubFile->clear(); })
                                 << QStringLiteral("請輸入存檔之檔案名稱");
        QTest::newRow("a path of spaces")
            << Setup([](TSaveAsForm& f) { f.leSubFile->setText("   "); })
            << QStringLiteral("請輸入存檔之檔案名稱");
        for (const char* rate : {"abc", "inf", "nan", "25,000", ""})
            QTest::addRow("frame rate \"%s\"", rate) << Setup([rate](TSaveAsForm& f) {
                f.rbtnMicroDVD->click();
                f.cbFrame->setEditText(QString::fromLatin1(rate));
            }) << TextOf(txNotAFloat).arg(QString::fromLatin1(rate));
        // A number that is no rate is told so, not as no number.
        for (const char* rate : {"0", "-25", " 0.000 "})
            QTest::addRow("frame rate \"%s\"", rate) << Setup([rate](TSaveAsForm& f) {
                f.rbtnMicroDVD->click();
                f.cbFrame->setEditText(QString::fromLatin1(rate));
            }) << TextOf(txFrameRateAboveZero);
    }
    void refusals() {
        QFETCH(Setup, setup);
        QFETCH(QString, message);
        Fixture x(Doc120());
        x.form.leSubFile->setText(x.path("never.srt"));
        setup(x.form);
        QVERIFY(!x.ok());
        QCOMPARE(x.questions.Messages.size(), 1);
        QCOMPARE(x.questions.Messages[0].Text, message);
        QCOMPARE(x.questions.Messages[0].Kind, TMsgKind::Error);
        QCOMPARE(QDir(x.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void existingFile_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("backedUp");
        QTest::newRow("Cancel leaves it untouched") << int(mrCancel) << true;
        QTest::newRow("OK replaces it, its backup kept first") << int(mrOk) << true;
        QTest::newRow("OK, but no backup can be kept") << int(mrOk) << false;
    }
    void existingFile() {
        QFETCH(int, answer);
        QFETCH(bool, backedUp);
        Fixture x(Doc120());
        x.host.KeepBackupValue = backedUp;
        const QString path = x.path("there.srt");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("precious");
        }
        x.form.leSubFile->setText(path);
        x.questions.MessageAnswers << answer;
        const bool written = answer == mrOk && backedUp;
        QCOMPARE(x.ok(), written);
        const auto& asked = x.questions.Messages[0];
        QCOMPARE(asked.Text, TextOf(txFileExists));
        QCOMPARE(asked.Title, QStringLiteral("Velitra"));
        QCOMPARE(asked.Kind, TMsgKind::Confirmation);
        QCOMPARE(asked.Buttons, (QList<int>{mrOk, mrCancel}));
        QCOMPARE(asked.DefaultButton, int(mrCancel));
        // The backup is asked for only once the user has said to replace the file.
        QCOMPARE(x.host.BackedUp, answer == mrOk ? QStringList{path} : QStringList{});
        if (answer == mrOk && !backedUp) {
            QCOMPARE(x.questions.Messages.size(), 2);
            QVERIFY(x.questions.Messages[1].Text.startsWith(TextOf(txBackupFailed)));
        } else {
            QCOMPARE(x.questions.Messages.size(), 1);
        }
        if (written)
            QVERIFY(Bytes(path).startsWith("1\r\n00:00:00,000 --> 00:00:00,800\r\nline 1"));
        else
            QCOMPARE(Bytes(path), QByteArray("precious"));
    }

    // A write that fails says why, keeps the dialog open, and leaves what was there.
    void failedWriteIsReported_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exists");
        QTest::newRow("a folder that does not exist") << "missing/out.srt" << false;
        QTest::newRow("a folder in the file's place") << "folder" << true;
    }
    void failedWriteIsReported() {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        Fixture x(Doc120());
        QVERIFY(QDir(x.dir.path()).mkdir("folder"));
        QVERIFY(QFile(x.path("folder/inside")).open(QIODevice::WriteOnly));
        x.form.leSubFile->setText(x.path(name));
        if (exists) x.questions.MessageAnswers << mrOk; // yes, replace it
        QVERIFY(!x.ok());
        const auto& said = x.questions.Messages.back();
        QCOMPARE(said.Kind, TMsgKind::Error);
        QVERIFY2(said.Text.startsWith(TextOf(txCannotWrite) + '\n' + x.path(name) + '\n'),
                 qPrintable(said.Text));
        QVERIFY2(said.Text.size() > (TextOf(txCannotWrite) + x.path(name)).size() + 2,
                 "the reason is given");
        QVERIFY(QFileInfo(x.path("folder")).isDir());
        QCOMPARE(QDir(x.path("folder")).entryList(QDir::Files), QStringList{"inside"});
        QCOMPARE(QDir(x.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // The encoding box: the document's own by default, another converts the texts, and one that
    // cannot hold a text says which entry and writes nothing.
    void encodingChoice() {
        // 中文 and 汉 in UTF-8; Big5 has no 汉.
        Fixture x(
            MakeDoc({{1000, 2000, "\xE4\xB8\xAD\xE6\x96\x87"}, {3000, 4000, "\xE6\xB1\x89"}}));
        QCOMPARE(x.form.cbEncoding->count(), int(OutputEncodings().size()) + 1);
        QCOMPARE(x.form.cbEncoding->currentIndex(), 0);
        QCOMPARE(x.form.cbEncoding->itemText(4), QStringLiteral("Big5"));
        x.form.leSubFile->setText(x.path("same.srt"));
        QVERIFY(x.ok());
        QVERIFY(Bytes(x.path("same.srt")).contains("\xE4\xB8\xAD\xE6\x96\x87"));

        x.form.cbEncoding->setCurrentIndex(4);
        x.form.leSubFile->setText(x.path("big5.srt"));
        QVERIFY(!x.ok());
        QCOMPARE(x.questions.Messages.back().Text, TextOf(txCannotSaveEntry).arg(2).arg("Big5"));
        QVERIFY(!QFileInfo::exists(x.path("big5.srt")));
        Range(x.form, 1, 1);
        QVERIFY(x.ok());
        QVERIFY(Bytes(x.path("big5.srt")).contains("\r\n\xA4\xA4\xA4\xE5\r\n"));

        x.form.cbEncoding->setCurrentIndex(2); // UTF-8 with its mark
        x.form.leSubFile->setText(x.path("bom.srt"));
        QVERIFY(x.ok());
        QVERIFY(Bytes(x.path("bom.srt"))
                    .startsWith("\xEF\xBB\xBF"
                                "1\r\n"));
    }

    // A name typed into the field is where the file goes.
    void typedFileName() {
        Fixture x(Doc120());
        x.form.leSubFile->setFocus();
        QTest::keyClicks(x.form.leSubFile, x.path("typed.srt"));
        QCOMPARE(x.form.leSubFile->text(), x.path("typed.srt"));
        QVERIFY(x.ok());
        QVERIFY(Bytes(x.path("typed.srt")).startsWith("1\r\n00:00:00,000 --> "));
    }

    // The document's line ends stay unless the box chooses others.
    void lineEnds_data() {
        QTest::addColumn<QByteArray>("seed");
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("lf");
        QTest::newRow("LF document") << QByteArray("\n") << 0 << true;
        QTest::newRow("CR LF document") << QByteArray("\r\n") << 0 << false;
        QTest::newRow("LF chosen") << QByteArray("\r\n") << 1 << true;
        QTest::newRow("CR LF chosen") << QByteArray("\n") << 2 << false;
    }
    void lineEnds() {
        QFETCH(QByteArray, seed);
        QFETCH(int, choice);
        QFETCH(bool, lf);
        std::string text = SubRipText({{1000, 2000, "a|b"}, {3000, 4000, "c"}});
        if (seed == "\n") std::erase(text, '\r');
        Fixture x(std::make_unique<SubTitle>(SubTitle::FromBytes(text, "doc.srt", 25.0)));
        QCOMPARE(x.form.cbLineEnd->count(), 3);
        x.form.cbLineEnd->setCurrentIndex(choice);
        for (const char* name : {"out.srt", "out.sub"}) {
            x.form.findChild<QRadioButton*>(QString(name).endsWith(".sub") ? "rbtnSubviewer"
                                                                           : "rbtnSubRip")
                ->click();
            x.form.leSubFile->setText(x.path(name));
            QVERIFY(x.ok());
            const QByteArray written = Bytes(x.path(name));
            QVERIFY(written.count('\n') >= 6);
            QCOMPARE(written.count('\r'), lf ? 0 : written.count('\n'));
        }
    }

    // The chooser opens on the name given so far, else in the document's folder, else in the
    // last folder a file was chosen in.
    void chooserOpensWhereTheUserWas() {
        QTemporaryDir work;
        const QString docPath = work.filePath("doc.srt");
        Fixture x(MakeDoc({{1000, 2000, "a"}}, docPath.toStdString()));
        x.form.leSubFile->clear();
        x.choose(x.path("picked.srt"), 0);
        QCOMPARE(x.questions.LastInitialPath, work.path());
        // A document with no folder on disk: the last folder chosen in.
        Fixture y(MakeDoc({{1000, 2000, "a"}}, "/no/such/folder/doc.srt"));
        y.choose(y.path("again.srt"), 0);
        QCOMPARE(y.questions.LastInitialPath, x.dir.path());
        y.form.leSubFile->setText(y.path("named.srt"));
        y.choose(y.path("named.srt"), 0);
        QCOMPARE(y.questions.LastInitialPath, y.path("named.srt"));
    }

    // Whatever is written, the document keeps its name, format, entries and mark.
    void documentUnchanged() {
        Fixture x(Doc120());
        const auto times = Times(*x.doc);
        x.form.rbtnMicroDVD->click();
        Range(x.form, 5, 9);
        Type(x.form.StartTime, "01:00:00,000");
        x.form.cbDelEmpty->click();
        x.form.leSubFile->setText(x.path("new.sub"));
        QVERIFY(x.ok());
        QCOMPARE(x.doc->FileName(), std::string("doc.srt"));
        QCOMPARE(x.doc->FormatIndex(), int(FormatSubRip));
        QCOMPARE(x.doc->FrameRate(), 25.0);
        QVERIFY(!x.doc->IsModified());
        QVERIFY(Times(*x.doc) == times);
        QCOMPARE(x.doc->Item(4)->Text, std::string("line 5"));
    }

    // Without entries: the dialog opens without reading one, and the file has none.
    void documentWithoutEntries_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("range");
        QTest::newRow("SubRip, all") << "rbtnSubRip" << false;
        QTest::newRow("SubRip, a range") << "rbtnSubRip" << true;
        QTest::newRow("MicroDVD") << "rbtnMicroDVD" << false;
        QTest::newRow("Subviewer, a range") << "rbtnSubviewer" << true;
    }
    void documentWithoutEntries() {
        QFETCH(QString, format);
        QFETCH(bool, range);
        Fixture x(MakeDoc({}));
        QCOMPARE(x.form.upEndNo->value(), 1);
        x.form.findChild<QRadioButton*>(format)->click();
        if (range) x.form.rbtnSelectRange->click();
        x.form.leSubFile->setText(x.path("empty.out"));
        QVERIFY(x.ok());
        QVERIFY(x.questions.Messages.isEmpty());
        const QByteArray written = Bytes(x.path("empty.out"));
        if (format == "rbtnSubviewer") {
            QVERIFY(written.startsWith("[INFORMATION]"));
            static const QRegularExpression timeLine(QStringLiteral("\\d\\d\\.\\d\\d,\\d\\d:"));
            // Only the header's own line of times.
            QCOMPARE(QString::fromLatin1(written).count(timeLine), 1);
            QVERIFY(written.endsWith("00:00:00.00,00:00:00.10\r\n\r\n\r\n"));
        } else {
            QCOMPARE(written, QByteArray());
        }
    }

    // Into ASS from SubRip: the head from the style the editor set, italics carried over, and the
    // tags ASS has nothing for told once the file is written.
    void assFromSubRip() {
        Fixture x(MakeDoc({{1000, 2000, "<i>a</i>"}, {3000, 4000, "<font color=red>b</font>"}}));
        x.form.AssStyle.PlayResX = 1280;
        x.form.AssStyle.PlayResY = 720;
        x.form.rbtnASS->click();
        QVERIFY(!x.form.cbReNo->isEnabled() && !x.form.cbFrame->isEnabled());
        x.form.leSubFile->setText(x.path("out.ass"));
        QVERIFY(x.ok());
        const QByteArray written = Bytes(x.path("out.ass"));
        QVERIFY(written.startsWith("[Script Info]\r\n"));
        QVERIFY(written.contains("PlayResX: 1280\r\nPlayResY: 720\r\n"));
        QVERIFY(written.endsWith("Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{\\i1}a{\\i0}\r\n"
                                 "Dialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,b\r\n"));
        QCOMPARE(x.questions.Messages.size(), 1);
        QCOMPARE(x.questions.Messages[0].Text, QStringLiteral("1 個樣式標記無法轉換"));
    }

    void reachesEveryEntry() {
        Fixture x(EvenDoc(40000, 100, 50));
        QCOMPARE(x.form.upEndNo->value(), 40000);
        Range(x.form, 39999, 40000);
        QCOMPARE(Shown(x.form.StartTime), QStringLiteral("01:06:39,800"));
        x.form.cbReTime->click();
        x.form.cbReNo->click();
        x.form.leSubFile->setText(x.path("tail.srt"));
        QVERIFY(x.ok());
        QCOMPARE(Bytes(x.path("tail.srt")),
                 QByteArray("39999\r\n01:06:39,800 --> 01:06:39,850\r\nline 39999\r\n\r\n"
                            "40000\r\n01:06:39,900 --> 01:06:39,950\r\nline 40000\r\n\r\n"));
    }

    void timeStepsCarry() {
        Fixture x(Doc120());
        Type(x.form.StartTime, "00:00:59,980");
        x.form.upStartms->Click(1);
        QCOMPARE(Shown(x.form.StartTime), QStringLiteral("00:01:00,030"));
        x.form.upStartHour->Click(1);
        x.form.upStartSec->Click(-1);
        QCOMPARE(Shown(x.form.StartTime), QStringLiteral("01:00:59,030"));
    }
};

QTEST_MAIN(TestSaveAsForm)
#include "tst_saveasform.moc"
