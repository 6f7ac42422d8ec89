// The fields the dialogs edit times with: masks as the forms write them, a half-filled field that
// cannot be left, Escape taking a change back, Enter kept in the field, step buttons that hold no
// value, and times shown and read back by parts, also those the two-digit hour cannot show.
#include "ScriptedQuestions.h"
#include "Texts.h"
#include "TimeParts.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

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
    TMaskedField* field(int k) { return parts->Fields[size_t(k)]; }
};

} // namespace

class TestTimeParts : public QObject {
    Q_OBJECT

private slots:
    void qtMasks_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("qt");
        // A required digit is "0" in the forms and "9" in Qt, an optional one the reverse.
        QTest::newRow("hours") << "!90;1;_"
                               << "09;_";
        QTest::newRow("minutes") << "!00;1;_"
                                 << "99;_";
        QTest::newRow("milliseconds") << "!000;1;_"
                                      << "999;_";
        QTest::newRow("duration") << "!00:000;1;_"
                                  << "99:999;_";
        QTest::newRow("a mask command as text") << "0A;1;*"
                                                << "9\\A;*";
    }
    void qtMasks() {
        QFETCH(QString, form);
        QFETCH(QString, qt);
        QCOMPARE(TMaskedField::QtMask(form), qt);
    }

    void namesAndHints() {
        QDialog dialog;
        TTimeParts parts(&dialog, QStringLiteral("End"), QPoint(0, 0));
        const QStringList names{"meEndHour", "meEndMinute", "meEndSec", "meEndms"};
        const QStringList spinners{"upEndHour", "upEndMinute", "upEndSec", "upEndms"};
        const int steps[4] = {3600000, 60000, 1000, 50};
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(parts.Fields[size_t(k)]->objectName(), names[k]);
            QCOMPARE(parts.Spinners[size_t(k)]->objectName(), spinners[k]);
            QCOMPARE(parts.Spinners[size_t(k)]->Step(), steps[k]);
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
        for (TMaskedField* f : parts.Fields)
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
        parts.Spinners[1]->stepUp();
        parts.Spinners[3]->stepDown();
        parts.Spinners[0]->stepBy(2);
        QCOMPARE(stepped.size(), 3);
        QCOMPARE(stepped[0][0].toInt(), 60000);
        QCOMPARE(stepped[1][0].toInt(), -50);
        QCOMPARE(stepped[2][0].toInt(), 2 * 3600000);
        // Both arrows stay usable: the button has no position to run out of.
        QCOMPARE(parts.Spinners[3]->focusPolicy(), Qt::NoFocus);
        QTest::mouseClick(parts.Spinners[3], Qt::LeftButton, {},
                          QPoint(parts.Spinners[3]->width() / 2, 3));
        QCOMPARE(stepped.size(), 4);
        QCOMPARE(stepped[3][0].toInt(), 50);
    }

    // A changed field whose required digits are not all there cannot be left: a message, the
    // focus back, the caret on the first empty position; no "left" is told.
    void halfFilledFieldCannotBeLeft() {
        TScriptedQuestions questions;
        TRow row;
        row.parts->ShowTime(61000);
        TMaskedField* sec = row.field(2);
        sec->setFocus();
        QTRY_VERIFY(sec->hasFocus());
        QSignalSpy left(row.parts, &TTimeParts::left);
        sec->setCursorPosition(0);
        QTest::keyClick(sec, Qt::Key_Delete);
        QCOMPARE(sec->displayText(), QStringLiteral("_1"));
        row.other->setFocus();
        QTRY_COMPARE(questions.Messages.size(), 1);
        QCOMPARE(questions.Messages[0].Text, TextOf(txInvalidInput));
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

QTEST_MAIN(TestTimeParts)
#include "tst_timeparts.moc"
