// The masked field and the spinner the editing windows build their time fields from: masks in
// the windows' form, the refusal to leave a half-filled field, Escape, the leaving signal, and
// a spinner's position with and without one of its own.
#include "MaskEdit.h"
#include "ScriptedQuestions.h"
#include "UpDown.h"

#include <QLineEdit>
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
};

QTEST_MAIN(TestMaskEdit)
#include "tst_maskedit.moc"
