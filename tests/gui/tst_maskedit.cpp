// The masked field and the spinner every window builds its time fields from: masks in the
// windows' form, the refusal to leave a half-filled field, Escape, the leaving signals, Enter kept
// in the field, and a spinner's position with and without one of its own; then the time edited by
// parts whose step buttons hold no value, times shown and read back by parts (also those the
// two-digit hour cannot show), and the number box.
#include "MaskEdit.h"
#include "ScriptedQuestions.h"
#include "Texts.h"
#include "TimeParts.h"
#include "UpDown.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Two fields in a window, the first one focused.
struct Fields {
    QWidget window;
    TMaskEdit* first = new TMaskEdit(&window);
    TMaskEdit* second = new TMaskEdit(&window);
    explicit Fields(const QString& mask, const QString& text) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        for (TMaskEdit* f : {first, second}) {
            f->SetEditMask(mask);
            f->SetValue(text);
        }
        window.show();
        window.activateWindow();
    }
    bool Ready() {
        if (!QTest::qWaitForWindowActive(&window)) return false;
        first->setFocus(Qt::TabFocusReason);
        return first->hasFocus();
    }
};

// A dialog with one time row and a button to move the focus to.
struct TRow {
    QDialog dialog;
    TTimeParts* parts;
    QPushButton* other;
    TRow() {
        dialog.resize(300, 100);
        parts = new TTimeParts(&dialog, QStringLiteral("Start"), QPoint(10, 10));
        other = new QPushButton(QStringLiteral("x"), &dialog);
        other->move(10, 50);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QApplication::setActiveWindow(&dialog);
    }
    TMaskEdit* field(int k) { return parts->Fields[size_t(k)]; }
};

} // namespace

class TestMaskEdit : public QObject {
    Q_OBJECT

private slots:
    void qtMask_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("qt");
        QTest::newRow("hours: optional, required") << "!90;1;_"
                                                   << "09;_";
        QTest::newRow("minutes") << "!00;1;_"
                                 << "99;_";
        QTest::newRow("milliseconds") << "!000;1;_"
                                      << "999;_";
        QTest::newRow("duration") << "!00:000;1;_"
                                  << "99:999;_";
        QTest::newRow("signed duration") << "!-000:000;1;_"
                                         << "-999:999;_";
        QTest::newRow("fixed text Qt would read") << "!0A;1;*"
                                                  << "9\\A;*";
        QTest::newRow("fixed text without the leading !") << "0A;1;*"
                                                          << "9\\A;*";
    }
    void qtMask() {
        QFETCH(QString, mask);
        QFETCH(QString, qt);
        QCOMPARE(TMaskEdit::QtMask(mask), qt);
    }

    void digitsOnlyAtTheirPositions() {
        TMaskEdit field;
        field.SetEditMask("!00:000;1;_");
        field.SetValue("");
        field.setCursorPosition(0);
        QTest::keyClicks(&field, "1a2x345");
        QCOMPARE(field.text(), QStringLiteral("12:345"));
        QVERIFY(field.Complete());
        QVERIFY(field.isModified());
    }

    void halfFilledFieldCannotBeLeft() {
        TScriptedQuestions questions;
        Fields x("!00;1;_", "42");
        QVERIFY(x.Ready());
        QSignalSpy exited(x.first, &TMaskEdit::exited);
        x.first->setCursorPosition(2);
        QTest::keyClick(x.first, Qt::Key_Backspace);
        QCOMPARE(x.first->displayText(), QStringLiteral("4_"));
        QTest::keyClick(x.first, Qt::Key_Tab);
        QTRY_COMPARE(questions.Messages.size(), 1);
        QCOMPARE(questions.Messages[0].Text,
                 QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
        QCOMPARE(questions.Messages[0].Kind, TMsgKind::Error);
        QTRY_VERIFY(x.first->hasFocus());
        QCOMPARE(x.first->cursorPosition(), 1); // the first empty position
        QCOMPARE(exited.count(), 0);

        // Escape gives the text from before the change back; then the field may be left.
        QTest::keyClick(x.first, Qt::Key_Escape);
        QCOMPARE(x.first->text(), QStringLiteral("42"));
        QVERIFY(!x.first->isModified());
        QTest::keyClick(x.first, Qt::Key_Tab);
        QTRY_VERIFY(x.second->hasFocus());
        QCOMPARE(questions.Messages.size(), 1);
        QCOMPARE(exited.count(), 0); // nothing changed
    }

    void leavingAfterAChangeIsSignalledOnce() {
        TScriptedQuestions questions;
        Fields x("!00;1;_", "42");
        QVERIFY(x.Ready());
        QSignalSpy exited(x.first, &TMaskEdit::exited);
        x.first->setCursorPosition(0);
        QTest::keyClicks(x.first, "17");
        QTest::keyClick(x.first, Qt::Key_Tab);
        QTRY_VERIFY(x.second->hasFocus());
        QCOMPARE(exited.count(), 1);
        QCOMPARE(x.first->text(), QStringLiteral("17"));
        // Back and away again without a change: no second signal.
        x.first->setFocus(Qt::TabFocusReason);
        QTest::keyClick(x.first, Qt::Key_Tab);
        QTRY_VERIFY(x.second->hasFocus());
        QCOMPARE(exited.count(), 1);
        QVERIFY(questions.Messages.isEmpty());
    }

    void escapeWithoutAChangeIsLeftToTheWindow() {
        TMaskEdit field;
        field.SetEditMask("!00;1;_");
        field.SetValue("42");
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        escape.ignore();
        QApplication::sendEvent(&field, &escape);
        QVERIFY(!escape.isAccepted());
    }

    void spinner_data() {
        QTest::addColumn<bool>("holds");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("increment");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("changes");
        QTest::newRow("up by the increment")
            << true << 1 << 255 << 5 << false << 230 << 1 << 235 << 1;
        QTest::newRow("down by the increment")
            << true << 1 << 255 << 5 << false << 230 << -1 << 225 << 1;
        QTest::newRow("stops at the top") << true << 1 << 255 << 5 << false << 253 << 1 << 255 << 1;
        QTest::newRow("at the top stays") << true << 1 << 255 << 5 << false << 255 << 1 << 255 << 0;
        QTest::newRow("stops at the bottom") << true << 1 << 255 << 5 << false << 3 << -1 << 1 << 1;
        QTest::newRow("wraps to the bottom") << true << 1 << 255 << 5 << true << 253 << 1 << 1 << 1;
        QTest::newRow("wraps to the top") << true << 1 << 255 << 5 << true << 3 << -1 << 255 << 1;
        QTest::newRow("no position: never moves")
            << false << 0 << 100 << 1000 << false << 0 << 1 << 0 << 0;
    }
    void spinner() {
        QFETCH(bool, holds);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, increment);
        QFETCH(bool, wrap);
        QFETCH(int, start);
        QFETCH(int, direction);
        QFETCH(int, position);
        QFETCH(int, changes);
        TUpDown spin;
        QLineEdit field;
        spin.setHoldsPosition(holds);
        spin.setRange(min, max);
        spin.setIncrement(increment);
        spin.setWrap(wrap);
        spin.setPosition(start);
        if (holds) spin.setAssociate(&field);
        QSignalSpy clicked(&spin, &TUpDown::clicked);
        QSignalSpy changed(&spin, &TUpDown::changed);
        // A real click on the arrow.
        spin.resize(13, 20);
        QTest::mouseClick(direction > 0 ? spin.UpButton() : spin.DownButton(), Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked[0][0].toInt(), direction);
        QCOMPARE(spin.Position(), position);
        QCOMPARE(changed.count(), changes);
        if (holds) QCOMPARE(field.text(), QString::number(position));
    }

    void disabledSpinnerDoesNothing() {
        TUpDown spin;
        spin.setHoldsPosition(true);
        spin.setPosition(5);
        spin.setEnabled(false);
        QSignalSpy clicked(&spin, &TUpDown::clicked);
        spin.Click(1);
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(spin.Position(), 5);
    }

    // Enter acts on the field: taken as left (its changes told), never on the dialog's default
    // button; a half-filled field refuses it as leaving.
    void enterIsLeavingTheField() {
        TScriptedQuestions questions;
        Fields x("!00;1;_", "42");
        QVERIFY(x.Ready());
        QSignalSpy exited(x.first, &TMaskEdit::exited);
        QSignalSpy left(x.first, &TMaskEdit::left);
        x.first->setCursorPosition(0);
        QTest::keyClicks(x.first, "17");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(x.first, &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(exited.count(), 1);
        QCOMPARE(left.count(), 1);
        QVERIFY(!x.first->isModified());
    }

    // A field changed and still focused is taken as left when the window acts (a key or a button
    // that takes no focus): the change is told, or a half-filled field is refused.
    void takenAsLeft() {
        TScriptedQuestions questions;
        Fields x("!00;1;_", "42");
        QVERIFY(x.Ready());
        QSignalSpy exited(x.first, &TMaskEdit::exited);
        QVERIFY(x.first->TakeAsLeft()); // nothing changed: nothing told
        QCOMPARE(exited.count(), 0);
        x.first->setCursorPosition(0);
        QTest::keyClicks(x.first, "1");
        QVERIFY(x.first->TakeAsLeft());
        QCOMPARE(exited.count(), 1);
        QCOMPARE(x.first->text(), QStringLiteral("12"));
        x.first->setCursorPosition(1);
        QTest::keyClick(x.first, Qt::Key_Delete);
        QVERIFY(!x.first->TakeAsLeft());
        QCOMPARE(exited.count(), 1);
        QCOMPARE(questions.Messages.size(), 1);
        QCOMPARE(x.first->cursorPosition(), 1);
    }

    // ---- The time by parts ----

    void namesAndHints() {
        QDialog dialog;
        TTimeParts parts(&dialog, QStringLiteral("End"), QPoint(0, 0));
        const QStringList names{"meEndHour", "meEndMinute", "meEndSec", "meEndms"};
        const QStringList spinners{"upEndHour", "upEndMinute", "upEndSec", "upEndms"};
        const int steps[4] = {3600000, 60000, 1000, 50};
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(parts.Fields[size_t(k)]->objectName(), names[k]);
            QCOMPARE(parts.Spinners[size_t(k)]->objectName(), spinners[k]);
            QCOMPARE(parts.Spinners[size_t(k)]->Increment(), steps[k]);
            QVERIFY(!parts.Spinners[size_t(k)]->HoldsPosition());
        }
        QCOMPARE(parts.Fields[0]->inputMask(), QStringLiteral("09;_"));
        QCOMPARE(parts.Fields[3]->inputMask(), QStringLiteral("999;_"));
        QCOMPARE(parts.Spinners[0]->toolTip(), QStringLiteral("往前,後調整1小時"));
        QCOMPARE(parts.Spinners[3]->statusTip(), QStringLiteral("往前調整50微杪或往後調整50微杪"));
        // The row fits the width it claims.
        const QRect last = parts.Spinners[3]->geometry();
        QCOMPARE(last.right() + 1, TTimeParts::kWidth);
    }

    void showAndRead_data() {
        QTest::addColumn<int>("ms");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("zero") << 0 << QStringList{"00", "00", "00", "000"};
        QTest::newRow("ordinary") << 3723045 << QStringList{"01", "02", "03", "045"};
        QTest::newRow("largest the fields hold")
            << 359999999 << QStringList{"99", "59", "59", "999"};
        // Times the hour cannot hold show as the nearest it can, and read back as themselves.
        QTest::newRow("below zero") << -6843 << QStringList{"00", "00", "00", "000"};
        QTest::newRow("100 hours") << 360000000 << QStringList{"99", "59", "59", "999"};
        QTest::newRow("latest time") << INT32_MAX << QStringList{"99", "59", "59", "999"};
    }
    void showAndRead() {
        QFETCH(int, ms);
        QFETCH(QStringList, shown);
        QDialog dialog;
        TTimeParts parts(&dialog, QStringLiteral("Start"), QPoint(0, 0));
        parts.ShowTime(ms);
        QStringList texts;
        for (TMaskEdit* f : parts.Fields)
            texts << f->text();
        QCOMPARE(texts, shown);
        QCOMPARE(parts.ReadTime(), ms);
        // Typed into, the fields read as what they show.
        parts.Fields[2]->setText(QStringLiteral("07"));
        QCOMPARE(parts.ReadTime(),
                 ((shown[0].toInt() * 60 + shown[1].toInt()) * 60 + 7) * 1000 + shown[3].toInt());
    }

    void oneDigitHourReadsAsItsNumber() {
        QDialog dialog;
        TTimeParts parts(&dialog, QStringLiteral("Start"), QPoint(0, 0));
        parts.ShowTime(0);
        parts.Fields[0]->setText(QStringLiteral("5"));
        QCOMPARE(parts.ReadTime(), 5 * 3600000);
    }

    void stepButtonsHoldNoValue() {
        QDialog dialog;
        TTimeParts parts(&dialog, QStringLiteral("Start"), QPoint(0, 0));
        QSignalSpy stepped(&parts, &TTimeParts::stepped);
        parts.Spinners[1]->Click(1);
        parts.Spinners[3]->Click(-1);
        parts.Spinners[0]->Click(1);
        parts.Spinners[0]->Click(1);
        QCOMPARE(stepped.size(), 4);
        QCOMPARE(stepped[0][0].toInt(), 60000);
        QCOMPARE(stepped[1][0].toInt(), -50);
        QCOMPARE(stepped[2][0].toInt() + stepped[3][0].toInt(), 2 * 3600000);
        // Both arrows stay usable: the button has no position to run out of, and takes no focus
        // from the time's fields.
        QCOMPARE(parts.Spinners[3]->UpButton()->focusPolicy(), Qt::NoFocus);
        QCOMPARE(parts.Spinners[3]->DownButton()->focusPolicy(), Qt::NoFocus);
        parts.Spinners[3]->resize(15, 21);
        QTest::mouseClick(parts.Spinners[3]->UpButton(), Qt::LeftButton);
        QCOMPARE(stepped.size(), 5);
        QCOMPARE(stepped[4][0].toInt(), 50);
        QCOMPARE(parts.Spinners[3]->Position(), 0);
    }

    // A changed field whose required digits are not all there cannot be left: a message, the
    // focus back, the caret on the first empty position; no "left" is told.
    void halfFilledTimeFieldCannotBeLeft() {
        TScriptedQuestions questions;
        TRow row;
        row.parts->ShowTime(61000);
        TMaskEdit* sec = row.field(2);
        sec->setFocus();
        QTRY_VERIFY(sec->hasFocus());
        QSignalSpy left(row.parts, &TTimeParts::left);
        sec->setCursorPosition(0);
        QTest::keyClick(sec, Qt::Key_Delete);
        QCOMPARE(sec->displayText(), QStringLiteral("_1"));
        row.other->setFocus();
        QTRY_COMPARE(questions.Messages.size(), 1);
        QCOMPARE(questions.Messages[0].Text, TextOf(txInvalidMaskInput));
        QCOMPARE(questions.Messages[0].Kind, TMsgKind::Error);
        QTRY_VERIFY(sec->hasFocus());
        QCOMPARE(sec->cursorPosition(), 0);
        QCOMPARE(left.size(), 0);

        // Escape takes the change back; then the field can be left, and says so.
        QTest::keyClick(sec, Qt::Key_Escape);
        QCOMPARE(sec->text(), QStringLiteral("01"));
        QVERIFY(row.dialog.isVisible()); // Escape stayed in the field
        row.other->setFocus();
        QTRY_COMPARE(left.size(), 1);
        QCOMPARE(questions.Messages.size(), 1);
    }

    void enterStaysInTheField() {
        TScriptedQuestions questions;
        TRow row;
        bool clicked = false;
        row.other->setDefault(true);
        QObject::connect(row.other, &QPushButton::clicked, [&] { clicked = true; });
        row.parts->ShowTime(0);
        row.field(3)->setFocus();
        QSignalSpy left(row.parts, &TTimeParts::left);
        QTest::keyClick(row.field(3), Qt::Key_Return);
        QCOMPARE(left.size(), 1);
        QVERIFY(!clicked);
        // Half filled, Enter is refused as leaving is.
        row.field(3)->setText(QStringLiteral("5"));
        QTest::keyClick(row.field(3), Qt::Key_Enter);
        QCOMPARE(left.size(), 1);
        QCOMPARE(questions.Messages.size(), 1);
        QCOMPARE(row.field(3)->cursorPosition(), 1);
    }

    void refusingBeforeOk() {
        TScriptedQuestions questions;
        TRow row;
        row.parts->ShowTime(0);
        QVERIFY(!row.parts->RefuseIfIncomplete());
        row.field(1)->setText(QString());
        QVERIFY(row.parts->RefuseIfIncomplete());
        QCOMPARE(questions.Messages.size(), 1);
        QVERIFY(row.field(1)->hasFocus());
        // Disabled fields are not the user's to fill.
        row.parts->SetEnabled(false);
        QVERIFY(!row.parts->RefuseIfIncomplete());
    }

    void numberBoxTakesEnterAndFallsBack() {
        QDialog dialog;
        auto* box = new TNumberSpin("leNo", &dialog);
        auto* ok = new QPushButton(QStringLiteral("ok"), &dialog);
        ok->setDefault(true);
        bool clicked = false;
        QObject::connect(ok, &QPushButton::clicked, [&] { clicked = true; });
        box->setRange(1, 100000);
        box->setValue(5);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QLineEdit* edit = dialog.findChild<QLineEdit*>(QStringLiteral("leNo"));
        QVERIFY(edit);
        QSignalSpy changed(box, &QSpinBox::valueChanged);
        box->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "40000");
        QCOMPARE(changed.size(), 0); // not while typing
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(box->value(), 40000);
        QCOMPARE(changed.size(), 1);
        QVERIFY(!clicked);
        edit->selectAll();
        QTest::keyClicks(edit, "0");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(box->value(), 40000);
    }
};

QTEST_MAIN(TestMaskEdit)
#include "tst_maskedit.moc"
