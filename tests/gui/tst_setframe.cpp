// The frame-rate dialog: its layout, and the question the MicroDVD reader puts through it —
// answers for OK by button, Enter, chosen item or typed text; none for Cancel, Escape or the close
// box; the text kept for the next question; and where the dialog is placed.
#include "ControlTable.h"
#include "ScriptedQuestions.h"
#include "SetFrame.h"
#include "Subtitle.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(std::function<void(TSetFrameDlg*)>)

namespace {

using Action = std::function<void(TSetFrameDlg*)>;

// Runs the dialog as the real modal loop would: shown, the user acts, and the answer is the way
// the dialog closed. An action that does not close it leaves it open, which counts as Cancel.
int Modal(TSetFrameDlg* dialog, const Action& act) {
    dialog->setResult(QDialog::Rejected);
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog)) return mrCancel;
    act(dialog);
    const bool accepted = !dialog->isVisible() && dialog->result() == QDialog::Accepted;
    dialog->hide();
    return accepted ? mrOk : mrCancel;
}

void Choose(TSetFrameDlg* d, int index) {
    d->cbFrame->setCurrentIndex(index);
}

void Type(TSetFrameDlg* d, const QString& text) {
    d->cbFrame->lineEdit()->selectAll();
    QTest::keyClicks(d->cbFrame->lineEdit(), text);
}

} // namespace

class TestSetFrame : public QObject {
    Q_OBJECT

private slots:
    void controls();
    void titleBarHasOnlyCloseBox();
    void tabOrderStartsAtOk();

    void question_data();
    void question();
    void keepsLastTextForNextQuestion();
    void offersTheStatedRate();
    void goneDialogAnswersNothing();

    void centredPosition_data();
    void centredPosition();
    void questionCentresOnWindow();

    void readerUsesChosenRate_data();
    void readerUsesChosenRate();
};

void TestSetFrame::controls() {
    TSetFrameDlg dialog;
    CheckControls(&dialog,
                  {
                      {"SetFrameDlg", "TSetFrameDlg", "設定Frame數", QRect(0, 0, 209, 128)},
                      {"Bevel1", "QFrame", std::nullopt, QRect(2, 4, 203, 85)},
                      {"Label1", "QLabel", "請輸入每秒Frame數", QRect(30, 20, -1, -1)},
                      {"cbFrame", "QComboBox", "23.976", QRect(30, 48, 145, -1)},
                      {"bbtnOK", "QPushButton", "確定", QRect(27, 98, 75, 25)},
                      {"bbtnCancel", "QPushButton", "取消", QRect(107, 98, 75, 25)},
                  });
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());

    QVERIFY(dialog.Bevel1->frameShape() != QFrame::NoFrame);
    // The bevel frames the upper part: label and box inside it, buttons below it.
    QVERIFY(dialog.Bevel1->geometry().contains(dialog.Label1->geometry()));
    QVERIFY(dialog.Bevel1->geometry().contains(dialog.cbFrame->geometry()));
    QVERIFY(dialog.bbtnOK->y() > dialog.Bevel1->geometry().bottom());

    QCOMPARE(dialog.Label1->font().family(), QStringLiteral("新細明體"));
    QCOMPARE(dialog.Label1->font().pixelSize(), 16);

    QComboBox* cb = dialog.cbFrame;
    QVERIFY(cb->isEditable());
    QStringList items;
    for (int i = 0; i < cb->count(); ++i)
        items << cb->itemText(i);
    QCOMPARE(items, QStringList({"23.976", "24.000", "25.000", "29.970", "30.000"}));
    QCOMPARE(cb->currentIndex(), 0);
    QCOMPARE(cb->maxVisibleItems(), 5);

    QVERIFY(dialog.bbtnOK->isDefault());
    QVERIFY(!dialog.bbtnCancel->isDefault());
}

void TestSetFrame::titleBarHasOnlyCloseBox() {
    TSetFrameDlg dialog;
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
}

void TestSetFrame::tabOrderStartsAtOk() {
    TSetFrameDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.bbtnOK));
    // The chain from OK visits the box and Cancel and comes back to OK.
    QList<QWidget*> chain;
    for (QWidget* w = dialog.bbtnOK->nextInFocusChain(); w != dialog.bbtnOK;
         w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(&dialog)) chain << w;
    QVERIFY(chain.contains(dialog.cbFrame));
    QVERIFY(chain.contains(dialog.bbtnCancel));
}

void TestSetFrame::question_data() {
    QTest::addColumn<Action>("act");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("answer");

    QTest::newRow("OK on the first item")
        << Action([](TSetFrameDlg* d) { d->bbtnOK->click(); }) << true << "23.976";
    QTest::newRow("chosen item") << Action([](TSetFrameDlg* d) {
        Choose(d, 3);
        d->bbtnOK->click();
    }) << true << "29.970";
    QTest::newRow("typed text, verbatim") << Action([](TSetFrameDlg* d) {
        Type(d, " 25");
        d->bbtnOK->click();
    }) << true << " 25";
    QTest::newRow("Enter in the box is OK") << Action([](TSetFrameDlg* d) {
        Type(d, "24");
        QTest::keyClick(d->cbFrame->lineEdit(), Qt::Key_Return);
    }) << true << "24";
    QTest::newRow("Cancel") << Action([](TSetFrameDlg* d) {
        Choose(d, 2);
        d->bbtnCancel->click();
    }) << false << "";
    QTest::newRow("Escape") << Action([](TSetFrameDlg* d) {
        Type(d, "30");
        QTest::keyClick(d->cbFrame->lineEdit(), Qt::Key_Escape);
    }) << false << "";
    QTest::newRow("close box") << Action([](TSetFrameDlg* d) { d->close(); }) << false << "";
}

void TestSetFrame::question() {
    QFETCH(Action, act);
    QFETCH(bool, answered);
    QFETCH(QString, answer);

    TScriptedQuestions questions;
    TSetFrameDlg dialog;
    questions.DialogScripts.enqueue([&](QDialog* d) {
        auto* frameDlg = qobject_cast<TSetFrameDlg*>(d);
        return frameDlg ? Modal(frameDlg, act) : mrCancel;
    });
    const FrameRateQuestionWithProposal ask = MakeFrameRateQuestion(&dialog, nullptr);
    const std::optional<std::string> got = ask(std::nullopt);
    QVERIFY(questions.DialogScripts.isEmpty());
    QCOMPARE(got.has_value(), answered);
    if (answered) QCOMPARE(QString::fromStdString(*got), answer);
    // What is typed is used, not added to the list.
    QCOMPARE(dialog.cbFrame->count(), 5);
}

void TestSetFrame::keepsLastTextForNextQuestion() {
    TScriptedQuestions questions;
    TSetFrameDlg dialog;
    const FrameRateQuestionWithProposal ask = MakeFrameRateQuestion(&dialog, nullptr);

    questions.DialogScripts.enqueue([](QDialog* d) {
        return Modal(static_cast<TSetFrameDlg*>(d), [](TSetFrameDlg* f) {
            Type(f, "25");
            f->bbtnOK->click();
        });
    });
    QCOMPARE(ask(std::nullopt), std::optional<std::string>("25"));

    // The next question offers "25" and OK answers it untouched.
    QString offered;
    questions.DialogScripts.enqueue([&](QDialog* d) {
        offered = static_cast<TSetFrameDlg*>(d)->cbFrame->currentText();
        return mrOk;
    });
    QCOMPARE(ask(std::nullopt), std::optional<std::string>("25"));
    QCOMPARE(offered, QStringLiteral("25"));

    // A non-ASCII text comes back as UTF-8.
    questions.DialogScripts.enqueue([](QDialog* d) {
        static_cast<TSetFrameDlg*>(d)->cbFrame->setEditText(QStringLiteral("２５"));
        return mrOk;
    });
    QCOMPARE(ask(std::nullopt), std::optional<std::string>("\xEF\xBC\x92\xEF\xBC\x95"));
}

// A file that states its rate has it offered: the list's item for that rate, or the rate typed
// in; a file that states none is offered what the box held.
void TestSetFrame::offersTheStatedRate() {
    TScriptedQuestions questions;
    TSetFrameDlg dialog;
    const FrameRateQuestionWithProposal ask = MakeFrameRateQuestion(&dialog, nullptr);
    struct Case {
        std::optional<double> stated;
        QString offered;
        int item; // -1: typed, not one of the list's
    };
    const Case cases[] = {
        {29.97, "29.970", 3}, {25.0, "25.000", 2}, {std::nullopt, "25.000", 2}, {12.5, "12.5", -1}};
    for (const Case& c : cases) {
        QString offered;
        int item = -2;
        questions.DialogScripts.enqueue([&](QDialog* d) {
            auto* f = static_cast<TSetFrameDlg*>(d);
            offered = f->cbFrame->currentText();
            item = f->cbFrame->findText(offered);
            return mrOk;
        });
        QCOMPARE(ask(c.stated), std::optional<std::string>(c.offered.toStdString()));
        QCOMPARE(offered, c.offered);
        QCOMPARE(item, c.item);
    }
    // The reader hands the rate of a first line such as {1}{1}23.976.
    questions.DialogScripts.enqueue([&](QDialog* d) {
        return static_cast<TSetFrameDlg*>(d)->cbFrame->currentText() == "23.976" ? mrOk : mrCancel;
    });
    const SubTitle doc =
        SubTitle::FromBytes("{1}{1}23.976\r\n{24}{48}Hi\r\n", "film.sub", 10.0, ask);
    QVERIFY(doc.IsLoaded());
    QCOMPARE(doc.FrameRate(), 23.976);
}

void TestSetFrame::goneDialogAnswersNothing() {
    TScriptedQuestions questions;
    bool ran = false;
    questions.DialogScripts.enqueue([&](QDialog*) {
        ran = true;
        return mrOk;
    });
    auto* dialog = new TSetFrameDlg;
    const FrameRateQuestionWithProposal ask = MakeFrameRateQuestion(dialog, nullptr);
    delete dialog;
    QCOMPARE(ask(std::nullopt), std::nullopt);
    QVERIFY(!ran);
}

void TestSetFrame::centredPosition_data() {
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QSize>("dialog");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("even") << QRect(100, 50, 760, 580) << QSize(209, 128) << QPoint(375, 276);
    QTest::newRow("odd differences truncate")
        << QRect(0, 0, 300, 201) << QSize(209, 128) << QPoint(45, 36);
    // A window smaller than the dialog: the half of a negative difference truncates toward zero.
    QTest::newRow("smaller window")
        << QRect(10, 20, 100, 50) << QSize(209, 128) << QPoint(10 - 54, 20 - 39);
    QTest::newRow("window off screen")
        << QRect(-500, -300, 400, 300) << QSize(209, 128) << QPoint(-500 + 95, -300 + 86);
}

void TestSetFrame::centredPosition() {
    QFETCH(QRect, window);
    QFETCH(QSize, dialog);
    QFETCH(QPoint, expected);
    QCOMPARE(CentredPosition(window, dialog), expected);
}

void TestSetFrame::questionCentresOnWindow() {
    TScriptedQuestions questions;
    QWidget main;
    main.setGeometry(100, 50, 761, 581);
    TSetFrameDlg dialog;
    QPoint seen;
    questions.DialogScripts.enqueue([&](QDialog* d) {
        seen = d->frameGeometry().topLeft();
        return mrCancel;
    });
    const FrameRateQuestionWithProposal ask = MakeFrameRateQuestion(&dialog, &main);
    QCOMPARE(ask(std::nullopt), std::nullopt);
    const QRect frame = main.frameGeometry();
    QCOMPARE(seen,
             QPoint(frame.x() + (frame.width() - 209) / 2, frame.y() + (frame.height() - 128) / 2));
    QCOMPARE(seen, QPoint(100 + 276, 50 + 226));
}

void TestSetFrame::readerUsesChosenRate_data() {
    QTest::addColumn<Action>("act");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    // The reader takes the first whole millisecond inside a frame, so that writing back at the
    // same rate gives the same frame.
    QTest::newRow("first item, 23.976")
        << Action([](TSetFrameDlg* d) { d->bbtnOK->click(); }) << true << 23.976 << 1002 << 2003;
    QTest::newRow("typed 25") << Action([](TSetFrameDlg* d) {
        Type(d, "25");
        d->bbtnOK->click();
    }) << true << 25.0 << 960 << 1920;
    QTest::newRow("cancelled") << Action([](TSetFrameDlg* d) { d->bbtnCancel->click(); }) << false
                               << 0.0 << 0 << 0;
}

// The whole road: a MicroDVD document read with the dialog's answer.
void TestSetFrame::readerUsesChosenRate() {
    QFETCH(Action, act);
    QFETCH(bool, loaded);
    QFETCH(double, rate);
    QFETCH(int, start);
    QFETCH(int, end);

    TScriptedQuestions questions;
    TSetFrameDlg dialog;
    questions.DialogScripts.enqueue(
        [&](QDialog* d) { return Modal(static_cast<TSetFrameDlg*>(d), act); });
    const SubTitle doc = SubTitle::FromBytes("{24}{48}Hi\r\n", "film.sub", 10.0,
                                             MakeFrameRateQuestion(&dialog, nullptr));
    QCOMPARE(doc.IsLoaded(), loaded);
    if (!loaded) return;
    QCOMPARE(doc.FrameRate(), rate);
    QCOMPARE(doc.Count(), 1);
    QCOMPARE(doc.Item(0)->Start, start);
    QCOMPARE(doc.Item(0)->End, end);
}

QTEST_MAIN(TestSetFrame)
#include "tst_setframe.moc"
