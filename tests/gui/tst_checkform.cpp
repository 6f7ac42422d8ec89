// The check window on the editor-host double: the rows it lists and their texts, a double-click
// selecting the entry in its pane, the list following the side's changes, the limits set in the
// window and kept for the next one, and the fixes as steps over the chosen rows, undone exactly.
#include "CheckForm.h"
#include "DocBuilder.h"
#include "FakeHost.h"
#include "TestSettings.h"
#include "Texts.h"

#include <QDoubleSpinBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

namespace {

QStringList Row(const TCheckForm& form, int row) {
    QStringList cells;
    for (int c = 0; c < TCheckModel::ColumnCount; ++c)
        cells << form.Model->index(row, c).data().toString();
    return cells;
}

// Entry 1 too short, 2 overlapping 3, 4 empty, 5 too fast.
std::vector<TEntrySpec> Problems() {
    return {{0, 1000, "fine"},
            {2000, 2300, "short"},
            {3000, 4500, "overlaps"},
            {4400, 5400, "next"},
            {6000, 7000, ""},
            {8000, 9000, "一二三四五六七八九十一二三四五六"}};
}

std::vector<std::string> Texts(const SubTitle& doc) {
    std::vector<std::string> out;
    for (const PerTitle& e : doc.Entries())
        out.push_back(MsToTimeText(e.Start) + MsToTimeText(e.End) + e.Text);
    return out;
}

} // namespace

class TestCheckForm : public QObject {
    Q_OBJECT

private slots:
    void listsTheProblems() {
        TTestSettings settings;
        TFakeHost host;
        host.SetDocument(1, MakeDoc(Problems()));
        TCheckForm form(&host);
        form.SetTarget(1);
        QCOMPARE(form.objectName(), QStringLiteral("CheckForm"));
        QCOMPARE(form.windowTitle(), QStringLiteral("檢查字幕"));
        QCOMPARE(form.Model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("編號"));
        QCOMPARE(form.Model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("數值"));
        QCOMPARE(form.Model->rowCount(), 4);
        QCOMPARE(form.lbCount->text(), QStringLiteral("共 4 個問題"));
        QCOMPARE(Row(form, 0), (QStringList{"2", "過短", "顯示時間少於 700 毫秒", "300 毫秒"}));
        QCOMPARE(Row(form, 1),
                 (QStringList{"3", "重疊", "結束時間晚於下一筆字幕的開始", "100 毫秒"}));
        QCOMPARE(Row(form, 2), (QStringList{"5", "沒有文字", "字幕沒有文字", ""}));
        QCOMPARE(Row(form, 3), (QStringList{"6", "閱讀速度", "每秒超過 15 字", "16.0 字/秒"}));

        // A double-click selects the entry in its pane.
        form.lvProblemsDoubleClick(form.Model->index(3, 1));
        QCOMPARE(host.Calls.last(), QStringLiteral("SelectRow 1 5"));
        // The other side's changes are not this list's.
        host.SetDocument(0, MakeDoc({{0, 10, ""}}));
        QCOMPARE(form.Model->rowCount(), 4);
        // Its own side replaced: checked again.
        host.SetDocument(1, MakeDoc({{0, 1000, "ok"}}));
        QCOMPARE(form.Model->rowCount(), 0);
    }

    void limitsSetAndKept() {
        TTestSettings settings;
        TFakeHost host;
        host.SetDocument(0, MakeDoc(Problems()));
        {
            TCheckForm form(&host);
            form.SetTarget(0);
            QCOMPARE(form.spMinDuration->value(), 700);
            QCOMPARE(form.spCjkSpeed->value(), 15.0);
            QCOMPARE(form.spMaxColumns->value(), 32);
            form.spCjkSpeed->setValue(16);
            form.spMinDuration->setValue(200);
            QCOMPARE(form.Model->rowCount(), 2); // only the overlap and the empty entry
        }
        TCheckForm again(&host);
        QCOMPARE(again.spCjkSpeed->value(), 16.0);
        QCOMPARE(again.spMinDuration->value(), 200);
        QCOMPARE(again.spMaxDuration->value(), 7000);
        QCOMPARE(again.Limits().MinGap, 80);
    }

    // Each fix is one step over the chosen rows (every row when none is chosen); the list follows,
    // and undo brings back the exact entries.
    void fixesAreSteps() {
        TTestSettings settings;
        TFakeHost host;
        host.SetDocument(0, MakeDoc(Problems()));
        const std::vector<std::string> before = Texts(*host.Docs[0]);
        TCheckForm form(&host);
        form.SetTarget(0);

        // The overlap chosen: shortening touches it alone.
        form.lvProblems->selectionModel()->select(
            form.Model->index(1, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        form.btnShorten->click();
        QCOMPARE(int(host.Steps.size()), 1);
        QCOMPARE(host.Steps[0].Name, QStringLiteral("縮短重疊字幕"));
        QCOMPARE(host.Docs[0]->Item(2)->End, 4400 - 80);
        QCOMPARE(form.Model->rowCount(), 3); // it left the list

        form.btnExtend->click(); // nothing chosen now: every row
        QCOMPARE(host.Steps.back().Name, QStringLiteral("延長過短字幕"));
        QCOMPARE(host.Docs[0]->Item(1)->End, 2700);
        form.btnRemoveEmpty->click();
        QCOMPARE(host.Steps.back().Name, QStringLiteral("刪除空白字幕"));
        QCOMPARE(host.Docs[0]->Count(), 5);
        QCOMPARE(form.Model->rowCount(), 1);
        QCOMPARE(Row(form, 0)[0], QStringLiteral("5"));

        // A fix with nothing to do leaves no step.
        form.btnRemoveEmpty->click();
        QCOMPARE(int(host.Steps.size()), 3);

        while (host.Undo()) {
        }
        QVERIFY(Texts(*host.Docs[0]) == before);
        QCOMPARE(form.Model->rowCount(), 4);
    }
};

QTEST_MAIN(TestCheckForm)
#include "tst_checkform.moc"
