// The edit window's Apply and walking on the host double: what is written and when, the later
// entries following once, previous and next, reloading, closing, Alt+arrows, and what happens to
// the window when the history, another command or another file changes the side under it.
#include "CodePage.h"
#include "EditFixture.h"
#include "UpDown.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(std::function<void(TEditFixture&)>)

namespace {

using Edit = std::function<void(TEditFixture&)>;

std::vector<int32_t> Starts(const SubTitle& doc) {
    std::vector<int32_t> out;
    for (const PerTitle& e : doc.Entries())
        out.push_back(e.Start);
    return out;
}

} // namespace

class TestEditApply : public QObject {
    Q_OBJECT

private slots:
    void apply_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("laterMove"); // how far entries 6.. moved
        // Entry 5 is 00:00:09,000 --> 00:00:10,500 "e5".
        QTest::newRow("nothing changed: nothing written")
            << Edit([](TEditFixture&) {}) << 0 << "00:00:09,000"
            << "00:00:10,500"
            << "e5" << 0;
        QTest::newRow("text with line breaks is joined by |")
            << Edit([](TEditFixture& x) { x.SetText("two\nlines"); }) << 1 << "00:00:09,000"
            << "00:00:10,500"
            << "two|lines" << 0;
        QTest::newRow("a CR LF break is one |")
            << Edit([](TEditFixture& x) { x.SetText("a\r\nb"); }) << 1 << "00:00:09,000"
            << "00:00:10,500"
            << "a|b" << 0;
        QTest::newRow("only the end: later entries stay") << Edit([](TEditFixture& x) {
            x.form.cbKeepDelay->setChecked(false);
            x.form.upEndSec->Click(1);
        }) << 1 << "00:00:09,000"
                                                          << "00:00:11,500"
                                                          << "e5" << 0;
        QTest::newRow("the start moves the later entries")
            << Edit([](TEditFixture& x) { x.SetTime(0, "00:00:11,500"); }) << 1 << "00:00:11,500"
            << "00:00:10,500"
            << "e5" << 2500;
        QTest::newRow("the start with the duration kept")
            << Edit([](TEditFixture& x) { x.form.upStartSec->Click(-1); }) << 1 << "00:00:08,000"
            << "00:00:09,500"
            << "e5" << -1000;
        QTest::newRow("the start without following") << Edit([](TEditFixture& x) {
            x.form.cbKeepRelate->setChecked(false);
            x.form.upStartSec->Click(1);
        }) << 1 << "00:00:10,000"
                                                     << "00:00:11,500"
                                                     << "e5" << 0;
        QTest::newRow("changed and changed back: nothing written") << Edit([](TEditFixture& x) {
            x.form.upStartSec->Click(1);
            x.form.upStartSec->Click(-1);
            x.SetText("e6");
            x.SetText("e5");
        }) << 0 << "00:00:09,000"
                                                                   << "00:00:10,500"
                                                                   << "e5" << 0;
    }
    void apply() {
        QFETCH(Edit, edit);
        QFETCH(int, steps);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, text);
        QFETCH(int, laterMove);
        TEditFixture x(Entries(10));
        const std::vector<int32_t> before = Starts(x.Doc());
        x.form.SetTarget(0, 4);
        edit(x);
        QVERIFY(x.form.bbtnFitClick());
        QCOMPARE(x.Steps(), steps);
        QCOMPARE(x.Doc().IsModified(), steps > 0);
        if (steps) QCOMPARE(x.host.Steps[0].Name, QStringLiteral("編輯字幕"));
        QCOMPARE(QString::fromStdString(x.At(4).StartText()), start);
        QCOMPARE(QString::fromStdString(x.At(4).EndText()), end);
        QCOMPARE(QString::fromStdString(x.At(4).Text), text);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(x.At(i).Start,
                     before[size_t(i)] + (i > 4 ? laterMove : 0) +
                         (i == 4 ? Ms(start.toLatin1().constData()) - before[4] : 0));
        // A second Apply finds nothing new: no step, nothing moves again.
        QVERIFY(x.form.bbtnFitClick());
        QCOMPARE(x.Steps(), steps);
        QCOMPARE(x.At(5).Start, before[5] + laterMove);
        // The window holds what was written.
        QCOMPARE(x.Start(), start);
        QCOMPARE(x.Text(), QString(text).replace('|', '\n'));
    }

    void followOnShiftTakenAgainstTheStoredStart() {
        // Entry 5 at 00:01:00,000 moved to 00:01:02,500: entries 6 to the last follow by 2.5 s.
        std::vector<PerTitle> entries = Entries(8, 52000, 2000);
        TEditFixture x(entries);
        x.form.SetTarget(0, 4);
        QCOMPARE(x.Start(), QStringLiteral("00:01:00,000"));
        x.SetTime(0, "00:01:02,500");
        x.form.bbtnFitClick();
        for (int i = 5; i < 8; ++i) {
            QCOMPARE(x.At(i).Start, entries[size_t(i)].Start + 2500);
            QCOMPARE(x.At(i).End, entries[size_t(i)].End + 2500);
        }
        QCOMPARE(x.At(3).Start, entries[3].Start);
        // Moved on from there: only the new difference follows.
        x.form.upStartms->Click(1);
        x.form.bbtnFitClick();
        QCOMPARE(x.Steps(), 2);
        QCOMPARE(x.At(7).Start, entries[7].Start + 2550);
        // Back to the start as loaded: everything goes back where it was.
        x.SetTime(0, "00:01:00,000");
        x.form.bbtnFitClick();
        QCOMPARE(x.At(4).Start, entries[4].Start);
        QCOMPARE(x.At(7).Start, entries[7].Start);
        // One step each, and one undo takes a whole Apply back.
        x.host.Undo(0);
        QCOMPARE(x.At(4).Start, entries[4].Start + 2550);
        QCOMPARE(x.At(7).Start, entries[7].Start + 2550);
    }

    void lastEntryMovesNoOther() {
        TEditFixture x(Entries(3));
        x.form.SetTarget(0, 2);
        x.form.upStartSec->Click(1);
        x.form.bbtnFitClick();
        QCOMPARE(x.Steps(), 1);
        QCOMPARE(x.At(2).Start, 6000);
        QCOMPARE(x.At(1).Start, 3000);
    }

    void walking_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("next");
        QTest::addColumn<bool>("autoApply");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("linked");
        QTest::addColumn<int>("to");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("next, centred")
            << 3 << true << true << false << false << 4 << QStringList{"SelectRow 0 4"};
        QTest::newRow("previous, film playing: kept in view only")
            << 3 << false << true << true << false << 2 << QStringList{"SelectRowInView 0 2"};
        QTest::newRow("linked: the other pane follows")
            << 3 << true << false << false << true << 4
            << QStringList{"SelectRow 0 4", "SyncOpposite 0 4"};
        QTest::newRow("previous on the first applies and stays")
            << 0 << false << true << false << false << 0 << QStringList{};
        QTest::newRow("next on the last applies and stays")
            << 9 << true << true << false << false << 9 << QStringList{};
        QTest::newRow("without auto-apply nothing is written")
            << 3 << true << false << false << false << 4 << QStringList{"SelectRow 0 4"};
    }
    void walking() {
        QFETCH(int, from);
        QFETCH(bool, next);
        QFETCH(bool, autoApply);
        QFETCH(bool, playing);
        QFETCH(bool, linked);
        QFETCH(int, to);
        QFETCH(QStringList, calls);
        TEditFixture x(Entries(10));
        x.host.FilmPlayingValue = playing;
        x.host.LinkedValue = linked;
        x.form.SetTarget(0, from);
        x.form.cbFit->setChecked(autoApply);
        x.SetText("edited");
        next ? x.form.sbNext->click() : x.form.sbPrev->click();
        QCOMPARE(x.form.Index, to);
        QCOMPARE(x.host.Calls, calls);
        QCOMPARE(QString::fromStdString(x.At(from).Text),
                 autoApply ? QStringLiteral("edited") : QStringLiteral("e%1").arg(from + 1));
        QCOMPARE(x.form.windowTitle(), QStringLiteral("編輯視窗 -- 左側字幕 No.%1").arg(to + 1));
        if (to != from) QCOMPARE(x.Text(), QStringLiteral("e%1").arg(to + 1));
    }

    void altArrows_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<int>("to");
        QTest::newRow("Alt+Up") << int(Qt::Key_Up) << true << 2;
        QTest::newRow("Alt+Left") << int(Qt::Key_Left) << true << 2;
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << true << 4;
        QTest::newRow("Alt+Right") << int(Qt::Key_Right) << true << 4;
        QTest::newRow("Up alone stays in the field") << int(Qt::Key_Up) << false << 3;
        QTest::newRow("Alt with another key") << int(Qt::Key_PageDown) << true << 3;
    }
    void altArrows() {
        QFETCH(int, key);
        QFETCH(bool, alt);
        QFETCH(int, to);
        TEditFixture x(Entries(10));
        x.form.SetTarget(0, 3);
        x.form.ShowWindow();
        QVERIFY(QTest::qWaitForWindowActive(&x.form));
        // The window sees the key first; the focused control still gets it.
        struct Probe : QObject {
            int key = 0;
            int keys = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                keys += e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == key;
                return false;
            }
        } probe;
        probe.key = key;
        x.form.meStartSec->setFocus(Qt::TabFocusReason);
        x.form.meStartSec->installEventFilter(&probe);
        QTest::keyClick(x.form.meStartSec, Qt::Key(key), alt ? Qt::AltModifier : Qt::NoModifier);
        QCOMPARE(x.form.Index, to);
        QCOMPARE(probe.keys, 1);
    }

    // A start typed and walked away from without leaving the field (Alt+Down, the ▼ button, a
    // row of a pane) is taken as left before Apply: the kept duration gives the end, and the
    // later entries follow the start.
    void typedStartWalkedAwayFrom_data() {
        QTest::addColumn<int>("how"); // 0 Alt+Down, 1 the ▼ button, 2 another row of the pane
        QTest::addColumn<int>("to");
        QTest::newRow("Alt+Down") << 0 << 4;
        QTest::newRow("the flat next button") << 1 << 4;
        QTest::newRow("a row of the pane") << 2 << 6;
    }
    void typedStartWalkedAwayFrom() {
        QFETCH(int, how);
        QFETCH(int, to);
        TEditFixture x(Entries(10)); // entry 4 (index 3) at 7,000 to 8,500
        QVERIFY(x.form.cbKeepDelay->isChecked() && x.form.cbFit->isChecked());
        x.form.SetTarget(0, 3);
        x.form.ShowWindow();
        QVERIFY(QTest::qWaitForWindowActive(&x.form));
        x.form.meStartSec->setFocus(Qt::TabFocusReason);
        x.form.meStartSec->setCursorPosition(0);
        QTest::keyClicks(x.form.meStartSec, "09");
        QCOMPARE(x.Start(), QStringLiteral("00:00:09,000"));
        if (how == 0) {
            QTest::keyClick(x.form.meStartSec, Qt::Key_Down, Qt::AltModifier);
        } else if (how == 1) {
            QTest::mouseClick(x.form.sbNext, Qt::LeftButton);
        } else {
            // The click in the pane takes the focus to the main window first.
            x.host.WindowWidget.show();
            x.host.WindowWidget.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&x.host.WindowWidget));
            x.form.SetTarget(0, to);
        }
        QCOMPARE(x.Steps(), 1);
        QCOMPARE(x.At(3).Start, 9000);
        QCOMPARE(x.At(3).End, 10500);
        QCOMPARE(x.At(4).Start, 11000); // followed the start
        QCOMPARE(x.form.Index, to);
        QVERIFY(x.questions.Messages.isEmpty());
    }

    // A duration typed into meDelay and walked away from moves the end before Apply.
    void typedDurationWalkedAwayFrom() {
        TEditFixture x(Entries(10));
        x.form.SetTarget(0, 3);
        x.form.ShowWindow();
        QVERIFY(QTest::qWaitForWindowActive(&x.form));
        x.form.cbKeepDelay->click();
        QVERIFY(x.form.meDelay->isEnabled());
        x.form.meDelay->setFocus(Qt::TabFocusReason);
        x.form.meDelay->setCursorPosition(0);
        QTest::keyClicks(x.form.meDelay, "03000");
        QCOMPARE(x.Delay(), QStringLiteral("03:000"));
        QTest::keyClick(x.form.meDelay, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(x.form.Index, 4);
        QCOMPARE(x.At(3).Start, 7000);
        QCOMPARE(x.At(3).End, 10000);
    }

    // Another row of the pane: with 自動套用 the edits are applied first (a field that cannot be
    // left keeps the window on its entry), without it they are dropped.
    void rowChangeAppliesOrDrops_data() {
        QTest::addColumn<bool>("autoApply");
        QTest::addColumn<bool>("halfFilled");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("index");
        QTest::newRow("applied") << true << false << 1 << 5;
        QTest::newRow("dropped without 自動套用") << false << false << 0 << 5;
        QTest::newRow("a half-filled field stays") << true << true << 0 << 2;
    }
    void rowChangeAppliesOrDrops() {
        QFETCH(bool, autoApply);
        QFETCH(bool, halfFilled);
        QFETCH(int, steps);
        QFETCH(int, index);
        TEditFixture x(Entries(10));
        x.form.SetTarget(0, 2);
        x.form.ShowWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&x.form));
        x.form.cbFit->setChecked(autoApply);
        x.SetText("typed");
        if (halfFilled) {
            x.form.meStartms->setFocus(Qt::TabFocusReason);
            x.form.meStartms->setCursorPosition(0);
            QTest::keyClick(x.form.meStartms, Qt::Key_Delete);
            QVERIFY(!x.form.meStartms->Complete());
        }
        x.form.SetTarget(0, 5);
        QCOMPARE(x.Steps(), steps);
        QCOMPARE(x.form.Index, index);
        QCOMPARE(x.At(2).Text, std::string(steps ? "typed" : "e3"));
        QCOMPARE(x.questions.Messages.size(), halfFilled ? 1 : 0);
    }

    void undoButtonReloads() {
        TEditFixture x(Entries(10));
        x.form.SetTarget(0, 2);
        x.form.upStartSec->Click(1);
        x.SetText("typed");
        x.form.bbtnUndo->click(); // drops what was not applied
        QCOMPARE(x.Start(), QStringLiteral("00:00:05,000"));
        QCOMPARE(x.Text(), QStringLiteral("e3"));
        QCOMPARE(x.host.Calls, QStringList{"SelectRowInView 0 2"});
        x.SetText("applied");
        x.form.bbtnFitClick();
        x.SetText("not applied");
        x.form.bbtnUndo->click(); // cannot take back an Apply
        QCOMPARE(x.Text(), QStringLiteral("applied"));
        QCOMPARE(x.Steps(), 1);
    }

    void closing_data() {
        QTest::addColumn<bool>("button");
        QTest::addColumn<bool>("autoApply");
        QTest::addColumn<int>("steps");
        QTest::newRow("關閉 applies") << true << true << 1;
        QTest::newRow("關閉 without auto-apply") << true << false << 0;
        QTest::newRow("the frame's close box") << false << true << 0;
    }
    void closing() {
        QFETCH(bool, button);
        QFETCH(bool, autoApply);
        QFETCH(int, steps);
        TEditFixture x(Entries(3));
        x.form.SetTarget(0, 1);
        x.form.ShowWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&x.form));
        QSignalSpy closed(&x.form, &TEditForm::closed);
        x.form.cbFit->setChecked(autoApply);
        x.SetText("new");
        button ? x.form.bbtnClose->click() : (void)x.form.close();
        QVERIFY(!x.form.isVisible());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(x.Steps(), steps);
        // Hidden, it keeps its side and entry; Escape never closes it.
        QCOMPARE(x.form.Index, 1);
        x.form.ShowWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&x.form));
        QTest::keyClick(&x.form, Qt::Key_Escape);
        QVERIFY(x.form.isVisible());
    }

    void textTheCodePageCannotHoldIsRefused() {
        // 四 (A5 7C) ends in the byte of "|": it is one character, not a line break.
        TEditFixture x;
        x.host.Docs[0] = MakeDocument(
            {PerTitle(1000, 2000, "\xA5\x7C|\xA6\x7C"), PerTitle(3000, 4000, "\xA4\x40")},
            "\xA5\x7C");
        QCOMPARE(x.Doc().CodePage(), kCodePageBig5);
        x.form.SetTarget(0, 0);
        QCOMPARE(x.Text(), QString::fromUtf8("四\n帆"));
        QVERIFY(x.form.bbtnFitClick()); // unchanged: the stored bytes stay
        QCOMPARE(x.Steps(), 0);

        x.form.ShowWindow();
        x.SetText(QString::fromUtf8("四\n😀"));
        x.form.upStartSec->Click(1);
        QVERIFY(!x.form.bbtnFitClick());
        QCOMPARE(x.questions.Messages.size(), 1);
        QVERIFY(x.questions.Messages[0].Text.contains(QString::fromUtf8("😀")));
        QVERIFY(x.questions.Messages[0].Text.contains("Big5"));
        // Nothing written, and neither next nor 關閉 leaves the entry.
        x.form.sbNextClick();
        x.form.bbtnCloseClick();
        QCOMPARE(x.form.Index, 0);
        QVERIFY(x.form.isVisible());
        QCOMPARE(x.Steps(), 0);
        QCOMPARE(x.At(0).Start, 1000);
        QCOMPARE(x.questions.Messages.size(), 3);

        x.SetText(QString::fromUtf8("四|四\n帆"));
        QVERIFY(x.form.bbtnFitClick());
        QCOMPARE(x.At(0).Text, std::string("\xA5\x7C|\xA5\x7C|\xA6\x7C"));
        QCOMPARE(x.At(0).Start, 2000);
    }

    void halfFilledFieldIsNotApplied() {
        TEditFixture x(Entries(3));
        x.form.SetTarget(0, 1);
        x.form.meStartSec->setText("5");
        QVERIFY(!x.form.meStartSec->Complete());
        x.form.sbNextClick();
        QCOMPARE(x.form.Index, 1);
        QCOMPARE(x.Steps(), 0);
        QCOMPARE(x.questions.Messages.size(), 1);
        QCOMPARE(x.questions.Messages[0].Text,
                 QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
    }

    void rowChangeToTheEntryShownKeepsTheEdits() {
        TEditFixture x(Entries(5));
        x.form.SetTarget(0, 2);
        x.SetText("typed");
        x.form.upStartSec->Click(1);
        x.form.SetTarget(0, 2);
        QCOMPARE(x.Text(), QStringLiteral("typed"));
        QCOMPARE(x.Start(), QStringLiteral("00:00:06,000"));
        x.form.SetTarget(0, 3); // another entry: what was not applied is dropped
        x.form.SetTarget(0, 2);
        QCOMPARE(x.Text(), QStringLiteral("e3"));
        QCOMPARE(x.Steps(), 0);
    }

    void undoOfAnApplyReloadsTheEntry() {
        TEditFixture x(Entries(5));
        x.form.SetTarget(0, 1);
        x.SetText("applied");
        x.form.upStartSec->Click(1);
        x.form.bbtnFitClick();
        QCOMPARE(x.At(4).Start, 10000);
        x.host.Undo(0);
        QCOMPARE(x.Text(), QStringLiteral("e2"));
        QCOMPARE(x.Start(), QStringLiteral("00:00:03,000"));
        // Walking on with auto-apply does not apply the undone values again.
        x.form.sbNextClick();
        QCOMPARE(x.Steps(), 0);
        QCOMPARE(x.At(1).Text, std::string("e2"));
        QCOMPARE(x.At(4).Start, 9000);
        // Redo brings the Apply back into the window too.
        x.form.sbPrevClick();
        x.host.Redo(0);
        QCOMPARE(x.Text(), QStringLiteral("applied"));
    }

    void anotherCommandOnOtherEntriesKeepsTheEdits() {
        TEditFixture x(Entries(5));
        x.form.SetTarget(0, 1);
        x.SetText("typed");
        x.host.ApplyChange(0, "x", SetEntryChange(x.Doc(), 3, PerTitle(1, 2, "other")));
        QCOMPARE(x.Text(), QStringLiteral("typed"));
        x.host.ApplyChange(0, "x", SetEntryChange(x.Doc(), 1, PerTitle(1, 2, "replaced")));
        QCOMPARE(x.Text(), QStringLiteral("replaced"));
        // The other side's changes are not the window's concern.
        x.host.Docs[1] = MakeDocument(Entries(2));
        x.SetText("typed");
        x.host.ApplyChange(1, "x", SetEntryChange(*x.host.Docs[1], 1, PerTitle(1, 2, "r")));
        QCOMPARE(x.Text(), QStringLiteral("typed"));
    }

    void entriesDeletedUnderTheWindow() {
        TEditFixture x(Entries(5));
        x.form.SetTarget(0, 4);
        x.host.ApplyChange(0, "delete", EraseChange(x.Doc(), 3, 4));
        QCOMPARE(x.form.windowTitle(), QStringLiteral("編輯視窗"));
        x.form.upStartSec->Click(1);
        x.form.sbPrevClick();
        x.form.bbtnUndoClick();
        QVERIFY(x.form.bbtnFitClick());
        QCOMPARE(x.Doc().Count(), 3);
        QCOMPARE(x.Steps(), 1);
        QVERIFY(x.host.Calls.isEmpty());
        x.host.Undo(0); // the entry is back, and with it the window's
        QCOMPARE(x.form.windowTitle(), QStringLiteral("編輯視窗 -- 左側字幕 No.5"));
        QCOMPARE(x.Text(), QStringLiteral("e5"));
    }

    void documentWithoutEntries() {
        TEditFixture x(std::vector<PerTitle>{});
        x.form.SetTarget(0, 0);
        QCOMPARE(x.form.windowTitle(), QStringLiteral("編輯視窗"));
        x.form.upStartSec->Click(1);
        x.form.sbNextClick();
        x.form.sbtnGetStartClick(0);
        QVERIFY(x.form.bbtnFitClick());
        QCOMPARE(x.Start(), QStringLiteral("00:00:00,000"));
        QCOMPARE(x.Steps(), 0);
        QVERIFY(x.host.Calls.isEmpty());
        // An entry inserted into the side comes into the window.
        x.host.ApplyChange(0, "insert", InsertBlankChange(x.Doc(), 0, 1));
        QCOMPARE(x.form.windowTitle(), QStringLiteral("編輯視窗 -- 左側字幕 No.1"));
    }

    void replacedDocumentIsNeverTouched() {
        TEditFixture x(Entries(5));
        x.form.SetTarget(0, 2);
        x.SetText("typed");
        x.host.SetDocument(0, MakeDocument(Entries(4, 100000)));
        QCOMPARE(x.form.windowTitle(), QStringLiteral("編輯視窗"));
        QVERIFY(!x.form.Document());
        x.SetText("typed again");
        x.form.upStartSec->Click(1);
        x.form.sbNextClick();
        x.form.bbtnCloseClick();
        QCOMPARE(x.Steps(), 0);
        QCOMPARE(x.At(2).Text, std::string("e3"));
        QCOMPARE(x.At(2).Start, 104000);
        // Closed and reopened into nothing: still nothing, until the next row change.
        x.host.SetDocument(0, nullptr);
        x.form.SetTarget(0, 1);
        QCOMPARE(x.form.windowTitle(), QStringLiteral("編輯視窗"));
        x.host.SetDocument(0, MakeDocument(Entries(4, 100000)));
        x.form.SetTarget(0, 1);
        QCOMPARE(x.Start(), QStringLiteral("00:01:42,000"));
    }

    void timesTheFieldsCannotShowStayUnlessEdited_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("shownStart");
        QTest::addColumn<QString>("shownEnd");
        QTest::newRow("negative start") << -5000 << -2000 << "00:00:00,000"
                                        << "00:00:00,000";
        QTest::newRow("100 hours and more") << 400000000 << 400001000 << "99:59:59,999"
                                            << "99:59:59,999";
        QTest::newRow("end before start") << 8000 << 3000 << "00:00:08,000"
                                          << "00:00:03,000";
        QTest::newRow("the largest time") << INT32_MAX << INT32_MIN << "99:59:59,999"
                                          << "00:00:00,000";
    }
    void timesTheFieldsCannotShowStayUnlessEdited() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, shownStart);
        QFETCH(QString, shownEnd);
        TEditFixture x(
            {PerTitle(start, end, "odd"), PerTitle(1000, 2000, "b"), PerTitle(start, end, "odd")});
        x.form.SetTarget(0, 0);
        QCOMPARE(x.Start(), shownStart);
        QCOMPARE(x.End(), shownEnd);
        // Walked through with auto-apply, also with the fields visited and the duration box
        // clicked: nothing changes.
        x.form.ShowWindow();
        QVERIFY(QTest::qWaitForWindowActive(&x.form));
        x.form.meStartms->setFocus(Qt::TabFocusReason);
        x.form.moTitle->setFocus(Qt::TabFocusReason);
        x.form.sbNextClick();
        x.form.sbNextClick();
        x.form.sbPrevClick();
        x.form.sbPrevClick();
        x.form.cbKeepDelay->setChecked(false);
        x.form.cbKeepDelay->setChecked(true);
        x.form.bbtnCloseClick();
        QCOMPARE(x.Steps(), 0);
        QCOMPARE(x.At(0).Start, start);
        QCOMPARE(x.At(0).End, end);
        // Only the text edited: the times stay as stored.
        x.form.SetTarget(0, 2);
        x.SetText("fixed");
        x.form.bbtnFitClick();
        QCOMPARE(x.At(2).Start, start);
        QCOMPARE(x.At(2).End, end);
        QCOMPARE(x.At(2).Text, std::string("fixed"));
    }
};

QTEST_MAIN(TestEditApply)
#include "tst_editapply.moc"
