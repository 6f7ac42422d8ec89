// The window size dialog: each group shows its window's present size, a default button resets
// its own group only, OK stores every pair in FormSizes and applies it at once, Cancel changes
// nothing.
#include "Adjust.h"
#include "ControlTable.h"
#include "Kellabel.h"
#include "UpDown.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

struct Fixture {
    QWidget main;
    std::array<int, 12> sizes = kFormSizeDefaults;
    // The edit and segment windows exist; combine and import do not (their slots stay empty).
    TDialogBase edit{nullptr,        "EditForm", "edit", QSize(288, 235), TDialogFrame::Resizable,
                     TFormSlot::Edit};
    TDialogBase seg{nullptr,         "SegForm",           "seg",
                    QSize(268, 308), TDialogFrame::Fixed, TFormSlot::Segment};
    TDialogBase saveAs{nullptr,         "SaveAsForm",        "save",
                       QSize(348, 342), TDialogFrame::Fixed, TFormSlot::SaveAs};
    TAdjustForm form{&main, &sizes};

    Fixture() { main.resize(760, 580); }
    QStringList Shown() const {
        QStringList out;
        for (const TAdjustForm::TGroup& g : form.Groups)
            out << g.Width->text() + "x" + g.Height->text();
        return out;
    }
};

} // namespace

class TestAdjustForm : public QObject {
    Q_OBJECT

private slots:
    void controlsAsLaidOut() {
        Fixture x;
        QList<TControlRow> rows{
            {"AdjustForm", "TAdjustForm", "視窗調整"},
            {"lbNote", "TKelLabel", "以下所有欄位皆以像素(Pixel)為單位"},
            {"bbtnOk", "QPushButton", "確定"},
            {"bbtnCancel", "QPushButton", "取消"},
        };
        const char* const groups[6][6] = {
            {"gbMain", "主視窗", "leMainWidth", "upMainWidth", "leMainHeight", "bbtnMain"},
            {"gbEditor", "編輯視窗", "leEditWidth", "upEditWidth", "leEditHeight", "bbtnEditor"},
            {"gbSegment", "區段調整視窗", "leSegWIdth", "upSegWidth", "leSegHeight", "bbtnSegment"},
            {"gbCombine", "合併視窗", "leCombineWidth", "upCombineWidth", "leCombineHeight",
             "bbtnCombine"},
            {"gbImport", "匯入視窗", "leImportWidth", "upImportWidth", "leImportHeight",
             "bbtnImport"},
            {"gbSaveAs", "另存新檔視窗", "leSaveAsWidth", "upSaveAsWidth", "leSaveAsHeight",
             "bbtnSaveAs"},
        };
        for (const auto& g : groups) {
            rows.append(TControlRow{g[0], "QGroupBox", QString::fromUtf8(g[1])});
            rows.append(TControlRow{g[2], "QLineEdit"});
            rows.append(TControlRow{g[3], "TUpDown"});
            rows.append(TControlRow{g[4], "QLineEdit"});
            rows.append(TControlRow{g[5], "QPushButton", "預設值"});
        }
        CheckControls(&x.form, rows);
        QCOMPARE(x.form.Frame(), TDialogFrame::Resizable);
        QCOMPARE(x.form.lbNote->FontColor(), QColor(Qt::blue));
        for (const TAdjustForm::TGroup& g : x.form.Groups) {
            QCOMPARE(g.WidthSpin->Min(), 1);
            QCOMPARE(g.HeightSpin->Min(), 0);
            QCOMPARE(g.WidthSpin->Max(), 10000);
            QCOMPARE(g.HeightSpin->Max(), 10000);
            QVERIFY(!g.WidthSpin->Wrap() && !g.HeightSpin->Wrap());
            QCOMPARE(g.Width->parentWidget(), g.Box);
        }
        // The frame can be resized, and the groups follow it.
        const int before = x.form.gbSaveAs->width();
        x.form.resize(x.form.width() + 200, x.form.height() + 100);
        x.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&x.form));
        QVERIFY(x.form.gbSaveAs->width() > before);
    }

    void showsThePresentSizes() {
        Fixture x;
        x.main.resize(900, 640);
        // The edit window dragged larger; combine and import do not exist: their stored sizes.
        x.edit.resize(333, 250);
        x.sizes[6] = 400;
        x.sizes[7] = 350;
        x.form.FormShow();
        QCOMPARE(x.Shown(),
                 (QStringList{"900x640", "333x250", "268x308", "400x350", "350x306", "348x342"}));
        QCOMPARE(x.form.WindowOf(1), &x.edit);
        QCOMPARE(x.form.WindowOf(3), nullptr);
        // OK stores the dragged size, and everything else as shown.
        x.form.bbtnOk->click();
        QCOMPARE(x.form.result(), int(QDialog::Accepted));
        QCOMPARE(x.sizes,
                 (std::array<int, 12>{900, 640, 333, 250, 268, 308, 400, 350, 350, 306, 348, 342}));
        QCOMPARE(x.edit.size(), QSize(333, 250));
    }

    void okAppliesEveryPairAtOnce() {
        Fixture x;
        x.form.FormShow();
        x.form.leMainWidth->setText("800");
        x.form.leMainHeight->setText("600");
        x.form.leEditHeight->setText("260");
        x.form.leSegWIdth->setText("300");
        x.form.leSaveAsHeight->setText("0"); // heights may be 0
        x.form.leCombineWidth->setText("0"); // widths may not: the spinner's least
        x.form.leImportWidth->setText("20000");
        x.form.leImportHeight->setText(""); // no number: the spinner's own position
        x.form.bbtnOkClick();
        QCOMPARE(x.sizes,
                 (std::array<int, 12>{800, 600, 288, 260, 300, 308, 1, 316, 10000, 306, 348, 0}));
        QCOMPARE(x.main.size(), QSize(800, 600));
        QCOMPARE(x.edit.size(), QSize(288, 260));
        // A fixed frame stays fixed, at its new size.
        QCOMPARE(x.seg.size(), QSize(300, 308));
        QCOMPARE(x.seg.minimumSize(), x.seg.maximumSize());
        QCOMPARE(x.saveAs.size(), QSize(348, 0));
    }

    void aDefaultButtonResetsItsOwnGroupOnly() {
        Fixture x;
        x.main.resize(1000, 700);
        x.edit.resize(500, 400);
        x.seg.ApplyFormSize(280, 320);
        x.form.FormShow();
        x.form.bbtnEditor->click();
        QCOMPARE(x.Shown(),
                 (QStringList{"1000x700", "288x235", "280x320", "348x316", "350x306", "348x342"}));
        x.form.bbtnMain->click();
        QCOMPARE(x.Shown().first(), QStringLiteral("760x580"));
        // The spinners go on from the defaults.
        x.form.upEditWidth->Click(+1);
        QCOMPARE(x.form.leEditWidth->text(), QStringLiteral("289"));

        // Cancel afterwards keeps every window and every stored size as they were.
        x.form.bbtnCancel->click();
        QCOMPARE(x.form.result(), int(QDialog::Rejected));
        QCOMPARE(x.main.size(), QSize(1000, 700));
        QCOMPARE(x.edit.size(), QSize(500, 400));
        QCOMPARE(x.seg.size(), QSize(280, 320));
        QCOMPARE(x.sizes, kFormSizeDefaults);
    }

    void theSpinnersStepFromTheTypedNumber() {
        Fixture x;
        x.form.FormShow();
        x.form.leMainHeight->setText("123");
        x.form.upMainHeight->Click(-1);
        QCOMPARE(x.form.leMainHeight->text(), QStringLiteral("122"));
        x.form.leMainWidth->setText("10000");
        x.form.upMainWidth->Click(+1);
        QCOMPARE(x.form.leMainWidth->text(), QStringLiteral("10000"));
    }
};

QTEST_MAIN(TestAdjustForm)
#include "tst_adjustform.moc"
