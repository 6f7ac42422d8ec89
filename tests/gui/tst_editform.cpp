// The edit window on the host double: its controls, loading an entry, the time steps with carry
// and borrow, keeping the duration, leaving fields, the film's moment, the fields' range, and the
// window settings. Apply, walking and what happens under the window: tst_editapply.
#include "ControlTable.h"
#include "EditFixture.h"
#include "UpDown.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QtTest>

class TestEditForm : public QObject {
    Q_OBJECT

private slots:
    void controls() {
        TEditFixture x;
        CheckControls(&x.form,
                      {
                          {"EditForm", "TEditForm", "編輯視窗", QRect(0, 0, 280, 209)},
                          {"GroupBox2", "QGroupBox", "字幕設定", QRect(4, 2, 272, 172)},
                          {"cbKeepRelate", "QCheckBox", "後續字幕相對調整", QRect(6, 18, 120, 17)},
                          {"Label10", "QLabel", "(只限於修改字幕開始時間)", QRect(128, 20, -1, -1)},
                          {"cbKeepDelay", "QCheckBox", "保持延遲時間", QRect(6, 41, 96, 17)},
                          {"lbDelay", "QLabel", "延遲時間:", QRect(104, 43, -1, -1)},
                          {"meDelay", "TMaskEdit", "00:000", QRect(162, 39, 46, 21)},
                          {"upDelay", "TUpDown", std::nullopt, QRect(208, 39, 13, 21)},
                          {"lbStart", "QLabel", "開始時間:", QRect(6, 68, -1, -1)},
                          {"meStartHour", "TMaskEdit", "00", QRect(64, 65, 22, 21)},
                          {"upStartHour", "TUpDown", std::nullopt, QRect(86, 65, 13, 21)},
                          {"Label1", "QLabel", ":", QRect(100, 68, -1, -1)},
                          {"meStartMinute", "TMaskEdit", "00", QRect(105, 65, 22, 21)},
                          {"upStartMinute", "TUpDown", std::nullopt, QRect(127, 65, 13, 21)},
                          {"Label2", "QLabel", ":", QRect(141, 68, -1, -1)},
                          {"meStartSec", "TMaskEdit", "00", QRect(146, 65, 22, 21)},
                          {"upStartSec", "TUpDown", std::nullopt, QRect(168, 65, 13, 21)},
                          {"Label3", "QLabel", ",", QRect(182, 68, -1, -1)},
                          {"meStartms", "TMaskEdit", "000", QRect(187, 65, 29, 21)},
                          {"upStartms", "TUpDown", std::nullopt, QRect(216, 65, 13, 21)},
                          {"sbtnGetStart", "QToolButton", std::nullopt, QRect(232, 65, 22, 21)},
                          {"lbEnd", "QLabel", "結束時間:", QRect(6, 94, -1, -1)},
                          {"meEndHour", "TMaskEdit", "00", QRect(64, 91, 22, 21)},
                          {"upEndHour", "TUpDown", std::nullopt, QRect(86, 91, 13, 21)},
                          {"Label4", "QLabel", ":", QRect(100, 94, -1, -1)},
                          {"meEndMinute", "TMaskEdit", "00", QRect(105, 91, 22, 21)},
                          {"upEndMinute", "TUpDown", std::nullopt, QRect(127, 91, 13, 21)},
                          {"Label5", "QLabel", ":", QRect(141, 94, -1, -1)},
                          {"meEndSec", "TMaskEdit", "00", QRect(146, 91, 22, 21)},
                          {"upEndSec", "TUpDown", std::nullopt, QRect(168, 91, 13, 21)},
                          {"Label6", "QLabel", ",", QRect(182, 94, -1, -1)},
                          {"meEndms", "TMaskEdit", "000", QRect(187, 91, 29, 21)},
                          {"upEndms", "TUpDown", std::nullopt, QRect(216, 91, 13, 21)},
                          {"sbtnGetEnd", "QToolButton", std::nullopt, QRect(232, 91, 22, 21)},
                          {"moTitle", "QPlainTextEdit", std::nullopt, QRect(6, 117, 236, 50)},
                          {"sbPrev", "QToolButton", std::nullopt, QRect(246, 117, 20, 24)},
                          {"sbNext", "QToolButton", std::nullopt, QRect(246, 143, 20, 24)},
                          {"cbFit", "QCheckBox", "自動套用", QRect(8, 183, 76, 17)},
                          {"bbtnUndo", "QPushButton", "回復", QRect(84, 178, 54, 25)},
                          {"bbtnFit", "QPushButton", "套用", QRect(140, 178, 54, 25)},
                          {"bbtnClose", "QPushButton", "關閉", QRect(196, 178, 54, 25)},
                          {"sbWindow", "QToolButton", std::nullopt, QRect(254, 180, 20, 21)},
                          {"GroupBox1", "QGroupBox", "視窗設定", QRect(4, 209, 272, 46)},
                          {"cbBlend", "QCheckBox", "半透明視窗", QRect(6, 20, 90, 17)},
                          {"lbBlendLabel", "QLabel", "透明值", QRect(104, 22, -1, -1)},
                          {"lbBlend", "QLineEdit", "230", QRect(146, 18, 34, 21)},
                          {"upBlend", "TUpDown", std::nullopt, QRect(180, 18, 13, 21)},
                          {"sbColor", "QToolButton", std::nullopt, QRect(214, 16, 26, 24)},
                      });
        // The window settings fill the 50 pixels below the rest.
        QCOMPARE(x.form.GroupBox1->geometry().bottom() + 1 + 4, 259);
    }

    void hints_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("status");
        const QString pick = "請直接以滑鼠點選主視窗要修改的字幕";
        QTest::newRow("window") << "EditForm"
                                << "" << pick;
        QTest::newRow("GroupBox2") << "GroupBox2"
                                   << "" << pick;
        QTest::newRow("cbKeepRelate") << "cbKeepRelate"
                                      << ""
                                      << "後續字幕將會跟著新修改時間一併相對移動";
        QTest::newRow("upDelay") << "upDelay"
                                 << "往前,後調整50微杪"
                                 << "往前調整50微杪或往後調整50微杪";
        QTest::newRow("sbPrev") << "sbPrev"
                                << "上一句"
                                << "上一句字幕(Alt+左,Alt+上)";
        QTest::newRow("sbNext") << "sbNext"
                                << "下一句"
                                << "下一句字幕(Alt+右,Alt+下)";
        for (const char* which : {"Start", "End"}) {
            const QString w = QString::fromLatin1(which);
            QTest::addRow("up%sHour", which) << "up" + w + "Hour"
                                             << "往前,後調整1小時"
                                             << "往前調整一小時或往後調整一小時";
            QTest::addRow("up%sMinute", which) << "up" + w + "Minute"
                                               << "往前,後調整1分"
                                               << "往前調整一分或往後調整一分";
            QTest::addRow("up%sSec", which) << "up" + w + "Sec"
                                            << "往前,後調整1秒"
                                            << "往前調整一秒或往後調整一秒";
            QTest::addRow("up%sms", which) << "up" + w + "ms"
                                           << "往前,後調整50微杪"
                                           << "往前調整50微杪或往後調整50微杪";
            QTest::addRow("sbtnGet%s", which) << "sbtnGet" + w << "取得影片時間"
                                              << "將目前影片播放時間代入";
        }
        QTest::newRow("bbtnClose") << "bbtnClose"
                                   << "關閉視窗"
                                   << "關閉編輯視窗";
        QTest::newRow("bbtnFit") << "bbtnFit"
                                 << "套用字幕"
                                 << "套用目前修改字幕時間文字";
        QTest::newRow("sbWindow") << "sbWindow"
                                  << "設定視窗"
                                  << "設定編輯視窗選項";
    }
    void hints() {
        QFETCH(QString, name);
        QFETCH(QString, tip);
        QFETCH(QString, status);
        TEditFixture x;
        QWidget* w = name == x.form.objectName() ? &x.form : x.form.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->toolTip(), tip);
        QCOMPARE(w->statusTip(), status);
    }

    void statusTipsGoToTheMainWindow() {
        TEditFixture x;
        struct Catcher : QObject {
            QString tip;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::StatusTip) tip = static_cast<QStatusTipEvent*>(e)->tip();
                return false;
            }
        } catcher;
        x.host.WindowWidget.installEventFilter(&catcher);
        QStatusTipEvent tip(QStringLiteral("關閉編輯視窗"));
        QApplication::sendEvent(x.form.bbtnClose, &tip);
        QCOMPARE(catcher.tip, QStringLiteral("關閉編輯視窗"));
    }

    void stateAtCreation() {
        TEditFixture x;
        TEditForm& f = x.form;
        QVERIFY(f.windowFlags() & Qt::Tool);
        QVERIFY(f.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!f.isModal());
        QCOMPARE(f.parentWidget(), &x.host.WindowWidget);
        QCOMPARE(f.palette().color(QPalette::Window), QColor(133, 192, 192));
        QCOMPARE(f.meDelay->palette().color(QPalette::Text), QColor(Qt::red));
        QCOMPARE(f.Index, 0);
        QVERIFY(!f.Document());
        QVERIFY(f.cbKeepRelate->isChecked() && f.cbKeepDelay->isChecked() && f.cbFit->isChecked());
        QVERIFY(!f.cbBlend->isChecked() && !f.sbWindow->isChecked() && f.GroupBox1->isHidden());
        // The end follows the start while the duration is kept; no film, no film time.
        for (QWidget* w :
             {static_cast<QWidget*>(f.meDelay), static_cast<QWidget*>(f.upDelay),
              static_cast<QWidget*>(f.sbtnGetStart), static_cast<QWidget*>(f.sbtnGetEnd),
              static_cast<QWidget*>(f.lbBlend), static_cast<QWidget*>(f.upBlend)})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        for (int k = 0; k < 4; ++k) {
            QVERIFY(f.TimeField[0][k]->isEnabled() && f.TimeSpinner[0][k]->isEnabled());
            QVERIFY(!f.TimeField[1][k]->isEnabled() && !f.TimeSpinner[1][k]->isEnabled());
        }
        const QString masks[4] = {"!90;1;_", "!00;1;_", "!00;1;_", "!000;1;_"};
        const int steps[4] = {3600000, 60000, 1000, 50};
        for (int which = 0; which < 2; ++which)
            for (int k = 0; k < 4; ++k) {
                QCOMPARE(f.TimeField[which][k]->EditMask(), masks[k]);
                QCOMPARE(f.TimeSpinner[which][k]->Increment(), steps[k]);
                QVERIFY(!f.TimeSpinner[which][k]->HoldsPosition());
            }
        QCOMPARE(f.meDelay->EditMask(), QStringLiteral("!00:000;1;_"));
        QCOMPARE(f.upDelay->Increment(), 50);
        QVERIFY(f.upBlend->HoldsPosition());
        QCOMPARE(f.upBlend->Min(), 1);
        QCOMPARE(f.upBlend->Max(), 255);
        QCOMPARE(f.upBlend->Increment(), 5);
        QCOMPARE(f.upBlend->Position(), 230);
        QVERIFY(!f.upBlend->Wrap());
        QCOMPARE(f.moTitle->lineWrapMode(), QPlainTextEdit::NoWrap);
        for (QPushButton* b : {f.bbtnClose, f.bbtnFit, f.bbtnUndo})
            QVERIFY(!b->autoDefault() && !b->isDefault());

        // Without a target every handler does nothing.
        f.upStartSec->Click(1);
        f.sbtnGetStartClick(0);
        f.sbNextClick();
        QVERIFY(f.bbtnFitClick());
        QCOMPARE(x.Start(), QStringLiteral("00:00:00,000"));
        QCOMPARE(x.Steps(), 0);
        QVERIFY(x.host.Calls.isEmpty());
    }

    void loadShowsTheEntry_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::newRow("left, entry 12") << 0 << 11 << "編輯視窗 -- 左側字幕 No.12";
        QTest::newRow("right, entry 1") << 1 << 0 << "編輯視窗 -- 右側字幕 No.1";
    }
    void loadShowsTheEntry() {
        QFETCH(int, side);
        QFETCH(int, index);
        QFETCH(QString, caption);
        std::vector<PerTitle> entries = Entries(12);
        entries[size_t(index)] = PerTitle(Ms("01:02:03,045"), Ms("01:02:05,545"), "one|two|");
        TEditFixture x(entries, side);
        x.form.SetTarget(side, index);
        QCOMPARE(x.form.windowTitle(), caption);
        QCOMPARE(x.form.Side, side);
        QCOMPARE(x.form.Index, index);
        QCOMPARE(x.Start(), QStringLiteral("01:02:03,045"));
        QCOMPARE(x.End(), QStringLiteral("01:02:05,545"));
        QCOMPARE(x.Delay(), QStringLiteral("02:500"));
        QCOMPARE(x.Text(), QStringLiteral("one\ntwo\n"));
        QCOMPARE(x.form.LoadedStart, Ms("01:02:03,045"));
        QCOMPARE(x.form.LoadedText, std::string("one|two|"));
        // The row was the user's own choice: nothing is selected for it.
        QVERIFY(x.host.Calls.isEmpty());
    }

    void startSteps_data() {
        QTest::addColumn<QString>("spinner");
        QTest::addColumn<int>("direction");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("newStart");
        QTest::addColumn<QString>("newEnd");
        QTest::addColumn<QString>("delay");
        QTest::newRow("second up, duration kept") << "upStartSec" << 1 << true << "00:01:00,000"
                                                  << "00:01:02,000"
                                                  << "00:01:01,000"
                                                  << "00:01:03,000"
                                                  << "02:000";
        QTest::newRow("second up, end stays") << "upStartSec" << 1 << false << "00:01:00,000"
                                              << "00:01:02,000"
                                              << "00:01:01,000"
                                              << "00:01:02,000"
                                              << "01:000";
        QTest::newRow("50 ms down borrows a second") << "upStartms" << -1 << true << "00:01:00,020"
                                                     << "00:01:01,020"
                                                     << "00:00:59,970"
                                                     << "00:01:00,970"
                                                     << "01:000";
        QTest::newRow("50 ms up carries into the minute")
            << "upStartms" << 1 << false << "00:00:59,980"
            << "00:01:05,000"
            << "00:01:00,030"
            << "00:01:05,000"
            << "04:970";
        QTest::newRow("second down borrows an hour")
            << "upStartSec" << -1 << false << "01:00:00,000"
            << "01:00:05,000"
            << "00:59:59,000"
            << "01:00:05,000"
            << "06:000";
        QTest::newRow("minute up") << "upStartMinute" << 1 << true << "00:59:30,500"
                                   << "00:59:31,000"
                                   << "01:00:30,500"
                                   << "01:00:31,000"
                                   << "00:500";
        QTest::newRow("hour down") << "upStartHour" << -1 << true << "02:00:00,000"
                                   << "02:00:03,000"
                                   << "01:00:00,000"
                                   << "01:00:03,000"
                                   << "03:000";
        // The fields' range: 00:00:00,000 to 99:59:59,999.
        QTest::newRow("down at the start of the film stops at zero")
            << "upStartSec" << -1 << false << "00:00:00,400"
            << "00:00:02,000"
            << "00:00:00,000"
            << "00:00:02,000"
            << "02:000";
        QTest::newRow("up near 100 hours stops at the last millisecond")
            << "upStartHour" << 1 << false << "99:30:00,000"
            << "99:31:00,000"
            << "99:59:59,999"
            << "99:31:00,000"
            << "-1739:999";
        QTest::newRow("kept duration holds at the top")
            << "upStartMinute" << 1 << true << "99:58:30,000"
            << "99:59:30,000"
            << "99:58:59,999"
            << "99:59:59,999"
            << "60:000";
    }
    void startSteps() {
        QFETCH(QString, spinner);
        QFETCH(int, direction);
        QFETCH(bool, keep);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, newStart);
        QFETCH(QString, newEnd);
        QFETCH(QString, delay);
        TEditFixture x(
            {PerTitle(TimeTextToMs(start.toStdString()), TimeTextToMs(end.toStdString()), "a")});
        x.form.SetTarget(0, 0);
        x.form.cbKeepDelay->setChecked(keep);
        auto* spin = x.form.findChild<TUpDown*>(spinner);
        QTest::mouseClick(direction > 0 ? spin->UpButton() : spin->DownButton(), Qt::LeftButton);
        QCOMPARE(x.Start(), newStart);
        QCOMPARE(x.End(), newEnd);
        QCOMPARE(x.Delay(), delay);
        // The spinner refuses its own change; the document is untouched until Apply.
        QCOMPARE(spin->Position(), 0);
        QCOMPARE(x.At(0).Start, TimeTextToMs(start.toStdString()));
    }

    void endSteps_data() {
        QTest::addColumn<QString>("spinner");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("newEnd");
        QTest::addColumn<QString>("delay");
        QTest::newRow("50 ms up") << "upEndms" << 1 << "00:00:11,980"
                                  << "00:00:12,030"
                                  << "02:030";
        QTest::newRow("the delay spinner moves the end") << "upDelay" << -1 << "00:00:11,980"
                                                         << "00:00:11,930"
                                                         << "01:930";
        QTest::newRow("minute down borrows an hour") << "upEndMinute" << -1 << "01:00:10,000"
                                                     << "00:59:10,000"
                                                     << "3540:000";
        QTest::newRow("before the start: a negative duration") << "upEndSec" << -1 << "00:00:10,500"
                                                               << "00:00:09,500"
                                                               << "-00:500";
        QTest::newRow("down at zero stops there") << "upEndHour" << -1 << "00:20:00,000"
                                                  << "00:00:00,000"
                                                  << "-10:000";
    }
    void endSteps() {
        QFETCH(QString, spinner);
        QFETCH(int, direction);
        QFETCH(QString, end);
        QFETCH(QString, newEnd);
        QFETCH(QString, delay);
        TEditFixture x({PerTitle(10000, TimeTextToMs(end.toStdString()), "a")});
        x.form.SetTarget(0, 0);
        x.form.cbKeepDelay->setChecked(false);
        x.form.findChild<TUpDown*>(spinner)->Click(direction);
        QCOMPARE(x.Start(), QStringLiteral("00:00:10,000"));
        QCOMPARE(x.End(), newEnd);
        QCOMPARE(x.Delay(), delay);
    }

    void keepDelay() {
        TEditFixture x({PerTitle(10000, 12500, "a")});
        TEditForm& f = x.form;
        f.SetTarget(0, 0);
        f.cbKeepDelay->setChecked(false);
        for (QWidget* w : {static_cast<QWidget*>(f.meDelay), static_cast<QWidget*>(f.upDelay),
                           static_cast<QWidget*>(f.meEndSec), static_cast<QWidget*>(f.upEndms)})
            QVERIFY(w->isEnabled());
        f.upStartSec->Click(1);
        f.upEndSec->Click(1);
        f.upEndSec->Click(1);
        QCOMPARE(x.End(), QStringLiteral("00:00:14,500"));
        QCOMPARE(x.Delay(), QStringLiteral("03:500"));
        // Checked again: the end is the start plus the stored duration.
        f.cbKeepDelay->click();
        QCOMPARE(x.Start(), QStringLiteral("00:00:11,000"));
        QCOMPARE(x.End(), QStringLiteral("00:00:13,500"));
        QCOMPARE(x.Delay(), QStringLiteral("02:500"));
        QVERIFY(!f.meDelay->isEnabled() && !f.meEndSec->isEnabled() && !f.upEndms->isEnabled());
        // With a film the end's film button follows the box too.
        x.host.FilmOpenValue = true;
        f.cbKeepDelay->setChecked(false);
        QVERIFY(f.sbtnGetEnd->isEnabled());
        f.cbKeepDelay->setChecked(true);
        QVERIFY(!f.sbtnGetEnd->isEnabled() && f.sbtnGetStart->isEnabled());
    }

    void leavingFields_data() {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("delay");
        QTest::newRow("start, duration kept") << true << "meStartSec"
                                              << "20"
                                              << "00:00:20,000"
                                              << "00:00:22,500"
                                              << "02:500";
        QTest::newRow("start, end stays") << false << "meStartSec"
                                          << "11"
                                          << "00:00:11,000"
                                          << "00:00:12,500"
                                          << "01:500";
        QTest::newRow("typed minutes carry into the hour") << false << "meStartMinute"
                                                           << "75"
                                                           << "01:15:10,000"
                                                           << "00:00:12,500"
                                                           << "-4497:500";
        QTest::newRow("end") << false << "meEndms"
                             << "900"
                             << "00:00:10,000"
                             << "00:00:12,900"
                             << "02:900";
        QTest::newRow("delay sets the end") << false << "meDelay"
                                            << "05250"
                                            << "00:00:10,000"
                                            << "00:00:15,250"
                                            << "05:250";
    }
    void leavingFields() {
        QFETCH(bool, keep);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, delay);
        TEditFixture x({PerTitle(10000, 12500, "a")});
        x.form.SetTarget(0, 0);
        x.form.cbKeepDelay->setChecked(keep);
        x.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&x.form));
        auto* edit = x.form.findChild<TMaskEdit*>(field);
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        x.form.moTitle->setFocus(Qt::TabFocusReason); // leaves the field
        QCOMPARE(x.Start(), start);
        QCOMPARE(x.End(), end);
        QCOMPARE(x.Delay(), delay);
        QVERIFY(x.questions.Messages.isEmpty());
    }

    void filmTime_data() {
        QTest::addColumn<bool>("film");
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("selector");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::newRow("no film: nothing") << false << 12.0 << 0 << true << "00:00:10,000"
                                          << "00:00:12,500";
        QTest::newRow("start, truncated, duration kept")
            << true << 62.3459 << 0 << true << "00:01:02,345"
            << "00:01:04,845";
        QTest::newRow("start, end stays") << true << 11.0 << 0 << false << "00:00:11,000"
                                          << "00:00:12,500";
        QTest::newRow("end") << true << 15.5 << 1 << false << "00:00:10,000"
                             << "00:00:15,500";
        QTest::newRow("end while the duration is kept: nothing")
            << true << 15.5 << 1 << true << "00:00:10,000"
            << "00:00:12,500";
        QTest::newRow("past 100 hours: the last millisecond")
            << true << 400000.0 << 1 << false << "00:00:10,000"
            << "99:59:59,999";
        QTest::newRow("before zero: zero") << true << -3.0 << 0 << false << "00:00:00,000"
                                           << "00:00:12,500";
    }
    void filmTime() {
        QFETCH(bool, film);
        QFETCH(double, position);
        QFETCH(int, selector);
        QFETCH(bool, keep);
        QFETCH(QString, start);
        QFETCH(QString, end);
        TEditFixture x({PerTitle(10000, 12500, "a")});
        x.host.FilmOpenValue = film;
        x.host.FilmPositionValue = position;
        x.form.SetTarget(0, 0);
        x.form.cbKeepDelay->setChecked(keep);
        QCOMPARE(x.form.sbtnGetStart->isEnabled(), film);
        QCOMPARE(x.form.sbtnGetEnd->isEnabled(), film && !keep);
        x.form.sbtnGetStartClick(selector);
        QCOMPARE(x.Start(), start);
        QCOMPARE(x.End(), end);
    }

    void durationsOutsideTheDelayField_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("delay");
        QTest::addColumn<QString>("mask");
        QTest::newRow("100 s and more: a third digit") << 1000 << 151000 << "150:000"
                                                       << "!000:000;1;_";
        QTest::newRow("an hour") << 0 << 3600000 << "3600:000"
                                 << "!0000:000;1;_";
        QTest::newRow("negative") << 5000 << 4000 << "-01:000"
                                  << "!-00:000;1;_";
    }
    void durationsOutsideTheDelayField() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, delay);
        QFETCH(QString, mask);
        TEditFixture x({PerTitle(start, end, "a"), PerTitle(500000, 501000, "b")});
        x.form.SetTarget(0, 0);
        QCOMPARE(x.Delay(), delay);
        QCOMPARE(x.form.meDelay->EditMask(), mask);
        QCOMPARE(x.form.ReadDelay(), end - start);
        // The spinner moves with the wider field.
        QCOMPARE(x.form.upDelay->x(), x.form.meDelay->geometry().right() + 1);
        // Kept: the end is always the start plus the stored duration.
        x.form.upStartSec->Click(1);
        QCOMPARE(x.form.ReadTime(1) - x.form.ReadTime(0), end - start);
        QCOMPARE(x.Delay(), delay);
        x.form.sbNextClick();
        QCOMPARE(x.At(0).End - x.At(0).Start, end - start);
        QCOMPARE(x.At(0).Start, start + 1000);
        // An ordinary duration gives the field back its two digits.
        QCOMPARE(x.Delay(), QStringLiteral("01:000"));
        QCOMPARE(x.form.meDelay->EditMask(), QStringLiteral("!00:000;1;_"));
    }

    void windowSettings() {
        TEditFixture x;
        TEditForm& f = x.form;
        const QSize size = f.size();
        f.sbWindow->click();
        QCOMPARE(f.size(), QSize(size.width(), size.height() + 50));
        QVERIFY(f.GroupBox1->isVisibleTo(&f));
        QCOMPARE(f.GroupBox1->geometry(), QRect(4, 209, 272, 46));
        f.sbWindow->click();
        QCOMPARE(f.size(), size);
        QVERIFY(!f.GroupBox1->isVisibleTo(&f));

        // Translucency: the value of upBlend while checked, opaque otherwise.
        QCOMPARE(f.windowOpacity(), 1.0);
        f.cbBlend->click();
        QVERIFY(f.lbBlend->isEnabled() && f.upBlend->isEnabled());
        QCOMPARE(f.windowOpacity(), 230 / 255.0);
        f.upBlend->Click(1);
        QCOMPARE(f.lbBlend->text(), QStringLiteral("235"));
        QCOMPARE(f.windowOpacity(), 235 / 255.0);
        for (int i = 0; i < 10; ++i)
            f.upBlend->Click(1);
        QCOMPARE(f.upBlend->Position(), 255);
        f.lbBlend->setText("40");
        emit f.lbBlend->editingFinished();
        QCOMPARE(f.upBlend->Position(), 40);
        QCOMPARE(f.windowOpacity(), 40 / 255.0);
        f.cbBlend->click();
        QCOMPARE(f.windowOpacity(), 1.0);
        QVERIFY(!f.lbBlend->isEnabled() && !f.upBlend->isEnabled());

        // The background from the colour chooser; cancelling keeps it.
        x.questions.ColorAnswers << QColor(10, 20, 30) << std::nullopt;
        f.sbColor->click();
        QCOMPARE(x.questions.ColorOffers.value(0), QColor(133, 192, 192));
        QCOMPARE(f.palette().color(QPalette::Window), QColor(10, 20, 30));
        f.sbColor->click();
        QCOMPARE(f.palette().color(QPalette::Window), QColor(10, 20, 30));
    }

    void largerWindowGivesRoomToTheText() {
        TEditFixture x;
        x.form.ApplyFormSize(288, 235);
        x.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&x.form));
        QCOMPARE(x.form.moTitle->size(), QSize(244, 76));
        QCOMPARE(x.form.bbtnFit->y(), 178 + 26);
        QCOMPARE(x.form.sbNext->x(), 246 + 8);
        x.form.sbWindow->click();
        QCOMPARE(x.form.height(), 285);
        QCOMPARE(x.form.GroupBox1->y(), 235);
        QCOMPARE(x.form.moTitle->size(), QSize(244, 76));
    }
};

QTEST_MAIN(TestEditForm)
#include "tst_editform.moc"
