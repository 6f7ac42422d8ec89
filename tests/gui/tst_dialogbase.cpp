// The base of the editing dialogs: its two frames, the FormSizes slot and the size it applies and
// reads back, the registry and language hook the packs use, and the modal run through the
// questions, centred on a window.
#include "ControlTable.h"
#include "DialogBase.h"
#include "ScriptedQuestions.h"
#include "SetFrame.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

// A small dialog of each frame, with one placed button and one label sized to its text.
class TSampleDlg : public TDialogBase {
public:
    TSampleDlg(TDialogFrame frame, TFormSlot slot)
        : TDialogBase(nullptr, "SampleDlg", QStringLiteral("樣本"), QSize(300, 200), frame, slot) {
        bbtnOk =
            Place(new QPushButton(QStringLiteral("確定"), this), "bbtnOk", QRect(10, 160, 75, 25));
        lbNote = Place(new QLabel(QStringLiteral("一段說明文字"), this), "lbNote", QPoint(10, 10));
        ApplyLanguage();
    }
    QPushButton* bbtnOk;
    QLabel* lbNote;
};

} // namespace

class TestDialogBase : public QObject {
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void placedControls();
    void formSlots_data();
    void formSlots();
    void formSizeAppliedAndReadBack_data();
    void formSizeAppliedAndReadBack();
    void registryInCreationOrder();
    void packReadOverNewDialogs();
    void modalRunCentresAndAnswers_data();
    void modalRunCentresAndAnswers();
};

void TestDialogBase::frames_data() {
    QTest::addColumn<bool>("resizable");
    QTest::newRow("fixed") << false;
    QTest::newRow("resizable") << true;
}

void TestDialogBase::frames() {
    QFETCH(bool, resizable);
    TSampleDlg dialog(resizable ? TDialogFrame::Resizable : TDialogFrame::Fixed, TFormSlot::None);
    QCOMPARE(dialog.size(), QSize(300, 200));
    QCOMPARE(dialog.minimumSize() == dialog.maximumSize(), !resizable);
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QCOMPARE(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint), !resizable);
    QCOMPARE(dialog.font(), TDialogBase::DialogFont());
    QCOMPARE(dialog.bbtnOk->font(), TDialogBase::DialogFont());
}

void TestDialogBase::placedControls() {
    TSampleDlg dialog(TDialogFrame::Fixed, TFormSlot::None);
    CheckControls(&dialog, {
                               {"SampleDlg", "", "樣本", QRect(0, 0, 300, 200)},
                               {"bbtnOk", "QPushButton", "確定", QRect(10, 160, 75, 25)},
                               {"lbNote", "QLabel", "一段說明文字", QRect(10, 10, -1, -1)},
                           });
    // A control placed at a corner takes the size of its text.
    QCOMPARE(dialog.lbNote->size(), dialog.lbNote->sizeHint());
}

void TestDialogBase::formSlots_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("index");
    QTest::newRow("none") << int(TFormSlot::None) << -1;
    QTest::newRow("main") << int(TFormSlot::Main) << 0;
    QTest::newRow("edit") << int(TFormSlot::Edit) << 2;
    QTest::newRow("segment") << int(TFormSlot::Segment) << 4;
    QTest::newRow("combine") << int(TFormSlot::Combine) << 6;
    QTest::newRow("import") << int(TFormSlot::Import) << 8;
    QTest::newRow("save as") << int(TFormSlot::SaveAs) << 10;
}

void TestDialogBase::formSlots() {
    QFETCH(int, slot);
    QFETCH(int, index);
    TSampleDlg dialog(TDialogFrame::Fixed, TFormSlot(slot));
    QCOMPARE(dialog.FormSlot(), TFormSlot(slot));
    QCOMPARE(dialog.FormSizeIndex(), index);
}

void TestDialogBase::formSizeAppliedAndReadBack_data() {
    QTest::addColumn<bool>("resizable");
    QTest::addColumn<QSize>("applied");
    QTest::addColumn<QSize>("readBack");
    QTest::newRow("fixed") << false << QSize(348, 342) << QSize(348, 342);
    QTest::newRow("resizable") << true << QSize(350, 306) << QSize(350, 306);
    // Sizes come from the settings unchecked.
    QTest::newRow("negative") << false << QSize(-5, -1) << QSize(0, 0);
}

void TestDialogBase::formSizeAppliedAndReadBack() {
    QFETCH(bool, resizable);
    QFETCH(QSize, applied);
    QFETCH(QSize, readBack);
    TSampleDlg dialog(resizable ? TDialogFrame::Resizable : TDialogFrame::Fixed, TFormSlot::SaveAs);
    dialog.ApplyFormSize(applied.width(), applied.height());
    QCOMPARE(dialog.FormSize(), readBack);
    // A fixed frame stays fixed at its new size.
    QCOMPARE(dialog.minimumSize() == dialog.maximumSize(), !resizable);
    if (resizable) {
        // The user's dragging is what FormSize reads back.
        dialog.resize(400, 310);
        QCOMPARE(dialog.FormSize(), QSize(400, 310));
    }
}

void TestDialogBase::registryInCreationOrder() {
    const qsizetype before = TDialogBase::Dialogs().size();
    auto* first = new TSetFrameDlg;
    auto* second = new TSampleDlg(TDialogFrame::Fixed, TFormSlot::None);
    QCOMPARE(TDialogBase::Dialogs().mid(before),
             (QList<TDialogBase*>{first, static_cast<TDialogBase*>(second)}));
    delete first;
    QCOMPARE(TDialogBase::Dialogs().mid(before), QList<TDialogBase*>{second});
    delete second;
    QCOMPARE(TDialogBase::Dialogs().size(), before);
}

// A pack loaded before a dialog is made is read over it as it is made; one loaded later is read
// over the dialogs that exist when the loader walks them.
void TestDialogBase::packReadOverNewDialogs() {
    QStringList readOver;
    TDialogBase::SetLanguageApplier([&readOver](QWidget* window) {
        readOver << window->objectName();
        if (auto* label = window->findChild<QLabel*>(QStringLiteral("Label1")))
            label->setText(QStringLiteral("Frames per second"));
        window->setWindowTitle(QStringLiteral("Frame rate"));
    });
    TSetFrameDlg made;
    TDialogBase::SetLanguageApplier({});
    QCOMPARE(readOver, QStringList{"SetFrameDlg"});
    QCOMPARE(made.windowTitle(), QStringLiteral("Frame rate"));
    QCOMPARE(made.Label1->text(), QStringLiteral("Frames per second"));

    // Without a pack nothing is read over.
    TSetFrameDlg plain;
    QCOMPARE(plain.windowTitle(), QStringLiteral("設定Frame數"));
    plain.ApplyLanguage();
    QCOMPARE(plain.windowTitle(), QStringLiteral("設定Frame數"));
    QCOMPARE(readOver.size(), 1);
}

void TestDialogBase::modalRunCentresAndAnswers_data() {
    QTest::addColumn<bool>("centred");
    QTest::addColumn<int>("answer");
    QTest::newRow("centred, OK") << true << int(mrOk);
    QTest::newRow("centred, Cancel") << true << int(mrCancel);
    QTest::newRow("where it was") << false << int(mrOk);
}

void TestDialogBase::modalRunCentresAndAnswers() {
    QFETCH(bool, centred);
    QFETCH(int, answer);
    TScriptedQuestions questions;
    QWidget main;
    main.setGeometry(100, 50, 761, 581);
    TSampleDlg dialog(TDialogFrame::Fixed, TFormSlot::None);
    dialog.move(7, 9);
    QPoint seen;
    QDialog* asked = nullptr;
    questions.DialogScripts.enqueue([&](QDialog* d) {
        asked = d;
        seen = d->frameGeometry().topLeft();
        return answer;
    });
    QCOMPARE(dialog.ShowModalThroughQuestions(centred ? &main : nullptr), answer);
    QCOMPARE(asked, static_cast<QDialog*>(&dialog));
    const QRect frame = main.frameGeometry();
    const QSize size = dialog.frameGeometry().size();
    QCOMPARE(seen, centred ? QPoint(frame.x() + (frame.width() - size.width()) / 2,
                                    frame.y() + (frame.height() - size.height()) / 2)
                           : QPoint(7, 9));
}

QTEST_MAIN(TestDialogBase)
#include "tst_dialogbase.moc"
