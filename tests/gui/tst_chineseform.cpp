// The Chinese conversion dialog on the editor-host double: its directions (and the ones not
// installed), the stretch from the selection, the preview, OK as one step "中文轉換" undone to
// the same bytes, and a Big5 document turned Simplified: the count and first entry told, a
// refusal that changes nothing, and the page change undone with the text.
#include "ChineseForm.h"
#include "CodePage.h"
#include "FakeHost.h"
#include "ScriptedQuestions.h"
#include "Texts.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>

namespace {

std::unique_ptr<SubTitle> DocIn(int codePage, const std::vector<std::string>& texts) {
    std::vector<PerTitle> entries;
    int t = 0;
    for (const std::string& text : texts) {
        entries.emplace_back(t, t + 900, FromUtf8(codePage, text).value());
        t += 1000;
    }
    return std::make_unique<SubTitle>(SubTitle::Restore(std::move(entries), "doc.srt",
                                                        FormatSubRip, 25, codePage,
                                                        FileEncoding::Plain));
}

std::vector<std::string> Bytes(const SubTitle& doc) {
    std::vector<std::string> out;
    for (const PerTitle& e : doc.Entries())
        out.push_back(e.Text);
    return out;
}

void Choose(TChineseForm& form, TChineseDirection direction) {
    const int item = form.cbDirection->findData(static_cast<int>(direction));
    QVERIFY(item >= 0);
    form.cbDirection->setCurrentIndex(item);
}

QStringList Row(const QTreeWidget* list, int row) {
    QStringList cells;
    for (int c = 0; c < 3; ++c)
        cells << list->topLevelItem(row)->text(c);
    return cells;
}

} // namespace

class TestChineseForm : public QObject {
    Q_OBJECT

private slots:
    void directionsAndPreview() {
        TFakeHost host;
        host.SetDocument(0, DocIn(kCodePageUtf8, {"Hello", "软件", "{\\fn微软雅黑}鼠标|内存", "信息"}));
        TChineseForm form(&host);
        QCOMPARE(form.objectName(), QStringLiteral("ChineseForm"));
        QCOMPARE(form.windowTitle(), QStringLiteral("中文轉換"));
        QCOMPARE(form.cbDirection->count(), 6);
        QCOMPARE(form.cbDirection->itemText(0), QStringLiteral("簡體 → 繁體(臺灣用詞)"));
        QCOMPARE(form.cbDirection->itemText(4), QStringLiteral("繁體(臺灣) → 簡體"));
        QVERIFY(form.lbMissing->text().isEmpty());

        // One row selected: all entries; the preview lists those that change.
        form.SetTarget(0, 2, 2);
        QVERIFY(form.rbAll->isChecked());
        QCOMPARE(form.lvPreview->topLevelItemCount(), 3);
        QCOMPARE(Row(form.lvPreview, 0), (QStringList{"2", "软件", "軟體"}));
        QCOMPARE(Row(form.lvPreview, 1),
                 (QStringList{"3", "{\\fn微软雅黑}鼠标|内存", "{\\fn微软雅黑}滑鼠|記憶體"}));
        // Rows 1 to 2 selected: only those.
        form.SetTarget(0, 1, 2);
        QVERIFY(form.rbSelected->isChecked());
        QCOMPARE(form.lvPreview->topLevelItemCount(), 1);
        // Another direction: its own words; nothing to change says so.
        Choose(form, TChineseDirection::T2s);
        QCOMPARE(form.lvPreview->topLevelItemCount(), 1);
        QCOMPARE(form.lvPreview->topLevelItem(0)->text(1), TextOf(txChineseNoChange));
    }

    void okIsOneStepUndoneExactly() {
        TFakeHost host;
        host.SetDocument(1, DocIn(kCodePageGbk, {"软件", "Hi", "鼠标"}));
        const std::vector<std::string> before = Bytes(*host.Docs[1]);
        TChineseForm form(&host);
        form.SetTarget(1, 1, 1);
        QVERIFY(form.bbtnOkClick());
        QCOMPARE(int(host.Steps.size()), 1);
        QCOMPARE(host.Steps[0].Name, QStringLiteral("中文轉換"));
        QCOMPARE(host.Docs[1]->CodePage(), kCodePageGbk);
        QCOMPARE(ToUtf8(kCodePageGbk, host.Docs[1]->Item(0)->Text), std::string("軟體"));
        QCOMPARE(ToUtf8(kCodePageGbk, host.Docs[1]->Item(2)->Text), std::string("滑鼠"));
        QVERIFY(host.Undo());
        QVERIFY(Bytes(*host.Docs[1]) == before);
        // Nothing left to change: OK closes without a step.
        SubTitle* doc = host.Docs[1].get();
        TChange latin;
        latin.Hunks.emplace_back(TSplice{0, 3, {PerTitle(0, 1, "a")}});
        doc->Apply(std::move(latin));
        QVERIFY(form.bbtnOkClick());
        QVERIFY(host.Steps.empty());
    }

    void big5TurnedSimplified() {
        TFakeHost host;
        host.SetDocument(0, DocIn(kCodePageBig5, {"Hi", "這是軟體", "記憶體"}));
        const std::vector<std::string> before = Bytes(*host.Docs[0]);
        TChineseForm form(&host);
        form.SetTarget(0, 1, 1);
        Choose(form, TChineseDirection::Tw2sp);

        TScriptedQuestions questions;
        questions.ItemAnswers.enqueue(std::nullopt); // declined
        QVERIFY(!form.bbtnOkClick());
        QVERIFY(host.Steps.empty());
        QVERIFY(Bytes(*host.Docs[0]) == before);
        QCOMPARE(questions.OfferedItems.size(), 1);
        QCOMPARE(questions.OfferedItems[0], (QStringList{"UTF-8", "GBK"}));

        questions.ItemAnswers.enqueue(0); // UTF-8
        QVERIFY(form.bbtnOkClick());
        QCOMPARE(int(host.Steps.size()), 1);
        QCOMPARE(host.Docs[0]->CodePage(), kCodePageUtf8);
        QCOMPARE(host.Docs[0]->Item(1)->Text, std::string("这是软件"));
        QCOMPARE(host.Docs[0]->Item(2)->Text, std::string("内存")); // Taiwan's word turned mainland's
        QVERIFY(host.Undo());
        QCOMPARE(host.Docs[0]->CodePage(), kCodePageBig5);
        QVERIFY(Bytes(*host.Docs[0]) == before);
    }

    // The prompt names how many entries and which first, in the document's page.
    void unfitPromptNamesCountAndFirst() {
        TFakeHost host;
        host.SetDocument(0, DocIn(kCodePageBig5, {"台北", "這是軟體", "這裡"}));
        TChineseForm form(&host);
        form.SetTarget(0, 1, 1);
        Choose(form, TChineseDirection::Tw2sp);
        TScriptedQuestions questions;
        questions.ItemAnswers.enqueue(1); // GBK
        QVERIFY(form.bbtnOkClick());
        QCOMPARE(host.Docs[0]->CodePage(), kCodePageGbk);
        QCOMPARE(ToUtf8(kCodePageGbk, host.Docs[0]->Item(2)->Text), std::string("这里"));
        QCOMPARE(questions.ItemPrompts.size(), 1);
        QVERIFY(questions.ItemPrompts[0].startsWith(TextOf(txChineseUnfit).arg(2).arg("Big5").arg(2)));
    }

    void missingConfiguration() {
        QTemporaryDir dir;
        namespace fs = std::filesystem;
        for (const char* name : {"s2t.json", "STPhrases.ocd2", "STCharacters.ocd2"})
            fs::copy_file(fs::path(ChineseDataFolder()) / name,
                          fs::path(dir.path().toStdString()) / name);
        qputenv("VELITRA_OPENCC_DATA", dir.path().toLocal8Bit());
        TFakeHost host;
        host.SetDocument(0, DocIn(kCodePageUtf8, {"软件"}));
        TChineseForm form(&host);
        qunsetenv("VELITRA_OPENCC_DATA");
        QCOMPARE(form.cbDirection->count(), 1);
        QCOMPARE(form.cbDirection->itemText(0), QStringLiteral("簡體 → 繁體"));
        QVERIFY(form.lbMissing->text().contains(QStringLiteral("s2twp")));
        QVERIFY(form.lbMissing->text().contains(QStringLiteral("hk2s")));
        QVERIFY(form.bbtnOk->isEnabled());
    }
};

QTEST_MAIN(TestChineseForm)
#include "tst_chineseform.moc"
