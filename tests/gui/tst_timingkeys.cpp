// The 播放 menu's keys, pressed on a pane's grid with the film player double standing at the
// moment a test sets: play/pause, seeks, frame steps, F8 to F11, the nudges and Ctrl+Enter, each
// change one undoable step of its side.
#include "Edit.h"
#include "FormFixture.h"
#include "Kelpanel.h"
#include "MainProbe.h"
#include "Pertitle.h"
#include "ScriptedQuestions.h"
#include "SubtitleGrid.h"
#include "TestSettings.h"
#include "WaveView.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTableView>
#include <QtTest>

namespace {

const QString kFilm = QStringLiteral("/films/f.avi");

QByteArray Srt(const std::vector<std::pair<int, int>>& times) {
    QByteArray bytes = times.empty() ? "\r\n" : ""; // a file of one empty line has no entries
    int n = 0;
    for (const auto& [start, end] : times) {
        ++n;
        bytes += QByteArray::number(n) + "\r\n" + QByteArray::fromStdString(MsToTimeText(start)) +
                 " --> " + QByteArray::fromStdString(MsToTimeText(end)) + "\r\nline " +
                 QByteArray::number(n) + "\r\n\r\n";
    }
    return bytes;
}

struct Fixture : TFormFixture {
    TEditForm* edit;
    Fixture() : TFormFixture(kFilm, 100.0) {
        edit = new TEditForm(f().Host(), form.get());
        f().SetEditForm(edit);
    }
    // Entries at 1-2 s, 3-4 s, 5-6 s on a side, the film open and paused at 0, the grid focused.
    void Open(int side = 0, std::vector<std::pair<int, int>> times = {{1000, 2000},
                                                                      {3000, 4000},
                                                                      {5000, 6000}}) {
        QVERIFY(f().LoadDocument(side, Write(QStringLiteral("s%1.srt").arg(side), Srt(times))));
        QVERIFY(f().FileOpenMovieAccept(kFilm));
        f().show();
        f().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f()));
        Choose(side, 0);
    }
    QTableView* Grid(int side) { return Probe(f()).Pane(side)->Grid; }
    void Choose(int side, int index) {
        Grid(side)->setFocus();
        Grid(side)->setCurrentIndex(Probe(f()).Pane(side)->GridModel->index(index, 0));
        Probe(f()).ActiveSide() = side;
    }
    void Key(int side, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(Grid(side), key, mods);
    }
    std::pair<int, int> Times(int side, int index) {
        const PerTitle* e = Probe(f()).Side(side)->Document()->Item(index);
        return e ? std::pair<int, int>{e->Start, e->End} : std::pair<int, int>{-1, -1};
    }
    int Count(int side) { return Probe(f()).Side(side)->Document()->Count(); }
    int Row(int side) { return Grid(side)->currentIndex().row(); }
    QString UndoName(int side) { return Probe(f()).Side(side)->History().UndoName(); }
};

using Pair = std::pair<int, int>;

} // namespace

class TestTimingKeys : public QObject {
    Q_OBJECT
private slots:
    void init() { settings_ = std::make_unique<TTestSettings>(); }
    void cleanup() { settings_.reset(); }

    // 快速鍵: a key changed in the dialog works at once, is stored, and is read at the next start;
    // a cancelled dialog changes nothing.
    void shortcutsDialogChangesAndStoresKeys() {
        TScriptedQuestions questions;
        {
            Fixture x;
            x.Open();
            questions.DialogScripts.enqueue([](QDialog* d) {
                Ctl<QKeySequenceEdit>(*d, "keaSetStart")->setKeySequence(QKeySequence(Qt::Key_F2));
                Ctl<QKeySequenceEdit>(*d, "keaPlayPause")->clear();
                return int(mrCancel);
            });
            Ctl<QAction>(x.f(), "aShortcuts")->trigger();
            QCOMPARE(Ctl<QAction>(x.f(), "aSetStart")->shortcut(), QKeySequence(Qt::Key_F9));
            questions.DialogScripts.enqueue([](QDialog* d) {
                Ctl<QKeySequenceEdit>(*d, "keaSetStart")->setKeySequence(QKeySequence(Qt::Key_F2));
                Ctl<QKeySequenceEdit>(*d, "keaPlayPause")->clear();
                return int(mrOk);
            });
            Ctl<QAction>(x.f(), "aShortcuts")->trigger();
            x.player->Position = 1.5;
            x.Key(0, Qt::Key_F2);
            QCOMPARE(x.Times(0, 0), (Pair{1500, 2500}));
            x.Key(0, Qt::Key_Space);
            QVERIFY(x.player->PlayState() != TFilmPlayer::Playing);
        }
        Fixture next;
        QCOMPARE(Ctl<QAction>(next.f(), "aSetStart")->shortcut(), QKeySequence(Qt::Key_F2));
        QVERIFY(Ctl<QAction>(next.f(), "aPlayPause")->shortcuts().isEmpty());
        // Commands the dialog left alone keep both their keys.
        QCOMPARE(Ctl<QAction>(next.f(), "aInsertAtFilm")->shortcuts().size(), 2);
    }

    // A key given twice would do neither command: OK is refused, saying which command has it.
    void shortcutsDialogRefusesAKeyGivenTwice() {
        TScriptedQuestions questions;
        Fixture x;
        x.Open();
        const struct {
            const char* edit;
            QKeySequence key;
            const char* holder;
        } cases[] = {
            {"keaSetStart", QKeySequence(Qt::Key_F10), "aSetEnd"},              // another of the menu
            {"keaSetStart", QKeySequence(Qt::CTRL | Qt::Key_F), "aFind"},        // a window command
            {"keaSetEnd", QKeySequence(Qt::CTRL | Qt::Key_Enter), "aInsertAtFilm"}, // a kept second key
        };
        for (const auto& c : cases) {
            questions.Messages.clear();
            bool stayed = false;
            questions.DialogScripts.enqueue([&](QDialog* d) {
                Ctl<QKeySequenceEdit>(*d, c.edit)->setKeySequence(c.key);
                Ctl<QDialogButtonBox>(*d, "bbButtons")->button(QDialogButtonBox::Ok)->click();
                stayed = d->result() != QDialog::Accepted;
                return int(mrOk); // as if the window closed anyway: still nothing changes
            });
            Ctl<QAction>(x.f(), "aShortcuts")->trigger();
            QVERIFY2(stayed, c.edit);
            QCOMPARE(questions.Messages.size(), 1);
            QVERIFY2(questions.Messages[0].Text.contains(c.key.toString(QKeySequence::NativeText)),
                     qPrintable(questions.Messages[0].Text));
            if (c.holder) {
                const QString name = Ctl<QAction>(x.f(), c.holder)->text().remove('&');
                QVERIFY2(questions.Messages[0].Text.contains(name), qPrintable(questions.Messages[0].Text));
            }
        }
        QCOMPARE(Ctl<QAction>(x.f(), "aSetStart")->shortcut(), QKeySequence(Qt::Key_F9));
        QCOMPARE(Ctl<QAction>(x.f(), "aSetEnd")->shortcut(), QKeySequence(Qt::Key_F10));
    }

    void spaceTogglesPlayAndPause() {
        Fixture x;
        x.Open();
        x.Key(0, Qt::Key_Space);
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Playing));
        x.Key(0, Qt::Key_Space);
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Paused));
        x.Key(0, Qt::Key_Space);
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Playing));
        // Nothing of the document changed, and the row stays.
        QCOMPARE(x.Row(0), 0);
        QVERIFY(!Probe(x.f()).Side(0)->History().CanUndo());
    }

    void spaceTypesInTextFields() {
        Fixture x;
        x.Open();
        auto* field = new QLineEdit(Probe(x.f()).Pane(0)->Grid->parentWidget());
        field->show();
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Space);
        QCOMPARE(field->text(), QStringLiteral(" "));
        QVERIFY(x.player->PlayState() != TFilmPlayer::Playing);
    }

    void seeks_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        const int ctrl = int(Qt::ControlModifier), shift = int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << ctrl << 10.0 << 9.0;
        QTest::newRow("Ctrl+Right") << int(Qt::Key_Right) << ctrl << 10.0 << 11.0;
        QTest::newRow("Ctrl+Shift+Left") << int(Qt::Key_Left) << (ctrl | shift) << 10.0 << 5.0;
        QTest::newRow("Ctrl+Shift+Right") << int(Qt::Key_Right) << (ctrl | shift) << 10.0 << 15.0;
        // Never before the film's start nor after its end (100 s).
        QTest::newRow("back past 0") << int(Qt::Key_Left) << (ctrl | shift) << 2.0 << 0.0;
        QTest::newRow("on past the end") << int(Qt::Key_Right) << (ctrl | shift) << 98.0 << 100.0;
    }
    void seeks() {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(double, from);
        QFETCH(double, to);
        Fixture x;
        x.Open();
        x.player->Position = from;
        x.Key(0, Qt::Key(key), Qt::KeyboardModifiers(mods));
        QCOMPARE(x.player->Position, to);
        QCOMPARE(x.Row(0), 0); // the grid's own Ctrl+arrow moves did not happen
        // The track bar shows where the film went, without seeking again.
        QCOMPARE(Ctl<QSlider>(x.f(), "TrackBar")->value(), int(to));
        QCOMPARE(x.player->Calls.filter("Seek").size(), 1);
    }

    void frameStepsPause() {
        Fixture x;
        x.Open();
        x.player->Position = 10;
        x.Key(0, Qt::Key_Space);
        x.Key(0, Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Paused));
        QCOMPARE(x.player->Calls.last(), QStringLiteral("Frame +1"));
        x.Key(0, Qt::Key_Left, Qt::AltModifier);
        x.Key(0, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(x.player->Calls.mid(x.player->Calls.size() - 2),
                 (QStringList{"Frame -1", "Frame -1"}));
        QVERIFY(qAbs(x.player->Position - 9.96) < 1e-9);
    }

    void f9SetsTheStart_data() {
        QTest::addColumn<bool>("keepDelay");
        QTest::addColumn<Pair>("after");
        QTest::newRow("keeping the duration") << true << Pair{1500, 2500};
        QTest::newRow("keeping the end") << false << Pair{1500, 2000};
    }
    void f9SetsTheStart() {
        QFETCH(bool, keepDelay);
        QFETCH(Pair, after);
        Fixture x;
        x.Open();
        x.edit->cbKeepDelay->setChecked(keepDelay);
        x.player->Position = 1.5;
        x.Key(0, Qt::Key_F9);
        QCOMPARE(x.Times(0, 0), after);
        QCOMPARE(x.UndoName(0), QStringLiteral("設定開始時間"));
        QCOMPARE(x.Row(0), 0);
        QVERIFY(Probe(x.f()).Side(0)->Undo());
        QCOMPARE(x.Times(0, 0), (Pair{1000, 2000}));
    }

    void f10SetsTheEndAndStays() {
        Fixture x;
        x.Open();
        x.Choose(0, 1);
        x.player->Position = 4.25;
        x.Key(0, Qt::Key_F10);
        QCOMPARE(x.Times(0, 1), (Pair{3000, 4250}));
        QCOMPARE(x.UndoName(0), QStringLiteral("設定結束時間"));
        QCOMPARE(x.Row(0), 1);
    }

    // A key that would end an entry before it starts changes nothing and says why; F11 then
    // stays on its entry.
    void timingKeysNeverTurnAnEntryInsideOut_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<double>("at");
        QTest::addColumn<QString>("said");
        QTest::newRow("F9 after the end") << int(Qt::Key_F9) << 4.5 << "00:00:04,500";
        QTest::newRow("F10 before the start") << int(Qt::Key_F10) << 2.5 << "00:00:02,500";
        QTest::newRow("F11 before the start") << int(Qt::Key_F11) << 0.0 << "00:00:00,000";
    }
    void timingKeysNeverTurnAnEntryInsideOut() {
        QFETCH(int, key);
        QFETCH(double, at);
        QFETCH(QString, said);
        Fixture x;
        x.Open();
        x.edit->cbKeepDelay->setChecked(false);
        x.Choose(0, 1); // 3-4 s
        x.player->Position = at;
        x.Key(0, Qt::Key(key));
        QCOMPARE(x.Times(0, 1), (Pair{3000, 4000}));
        QVERIFY(!Probe(x.f()).Side(0)->History().CanUndo());
        QCOMPARE(x.Row(0), 1);
        QVERIFY2(Probe(x.f()).Panels()[0]->text().contains(said), qPrintable(Probe(x.f()).Panels()[0]->text()));
    }

    // The one-key loop: F11 sets the end at the film's moment and goes on to the next entry, the
    // film playing on; each press is one step, undone one by one.
    void f11WalksTheEntries() {
        Fixture x;
        x.Open();
        x.Key(0, Qt::Key_Space);
        const int ends[] = {2100, 4200, 6300};
        for (int i = 0; i < 3; ++i) {
            x.player->Position = ends[i] / 1000.0;
            x.Key(0, Qt::Key_F11);
            QCOMPARE(x.Times(0, i).second, ends[i]);
            QCOMPARE(x.Row(0), std::min(i + 1, 2));
        }
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Playing));
        QCOMPARE(x.player->Calls.filter("Seek").size(), 0);
        // The last entry keeps the row: there is none after it.
        for (int i = 2; i >= 0; --i) {
            QVERIFY(Probe(x.f()).Side(0)->Undo());
            QCOMPARE(x.Times(0, i).second, 2000 * (i + 1));
        }
        QVERIFY(!Probe(x.f()).Side(0)->History().CanUndo());
    }

    void keysWorkOnTheActiveRightPane() {
        Fixture x;
        x.Open(0);
        QVERIFY(x.f().LoadDocument(1, x.Write("r.srt", Srt({{7000, 8000}, {9000, 9500}}))));
        x.Choose(1, 1);
        x.player->Position = 9.2;
        x.Key(1, Qt::Key_F10);
        QCOMPARE(x.Times(1, 1), (Pair{9000, 9200}));
        QCOMPARE(x.Times(0, 0), (Pair{1000, 2000}));
        QVERIFY(!Probe(x.f()).Side(0)->History().CanUndo());
    }

    void nudges_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<Pair>("after");
        const int ctrl = int(Qt::ControlModifier), shift = int(Qt::ShiftModifier),
                  alt = int(Qt::AltModifier);
        const int l = int(Qt::Key_BracketLeft), r = int(Qt::Key_BracketRight);
        QTest::newRow("start back") << l << ctrl << Pair{2990, 4000};
        QTest::newRow("start forward") << r << ctrl << Pair{3010, 4000};
        QTest::newRow("end back") << l << (ctrl | shift) << Pair{3000, 3990};
        QTest::newRow("end forward") << r << (ctrl | shift) << Pair{3000, 4010};
        QTest::newRow("start back 100") << l << (ctrl | alt) << Pair{2900, 4000};
        QTest::newRow("start forward 100") << r << (ctrl | alt) << Pair{3100, 4000};
        QTest::newRow("end back 100") << l << (ctrl | alt | shift) << Pair{3000, 3900};
        QTest::newRow("end forward 100") << r << (ctrl | alt | shift) << Pair{3000, 4100};
    }
    void nudges() {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(Pair, after);
        Fixture x;
        x.Open();
        x.Choose(0, 1);
        x.Key(0, Qt::Key(key), Qt::KeyboardModifiers(mods));
        QCOMPARE(x.Times(0, 1), after);
        QCOMPARE(x.UndoName(0), QStringLiteral("微調時間"));
        // Neighbours untouched; one undo brings the entry back.
        QCOMPARE(x.Times(0, 0), (Pair{1000, 2000}));
        QCOMPARE(x.Times(0, 2), (Pair{5000, 6000}));
        QVERIFY(Probe(x.f()).Side(0)->Undo());
        QCOMPARE(x.Times(0, 1), (Pair{3000, 4000}));
    }

    void nudgeNeverBelowZero() {
        Fixture x;
        x.Open(0, {{5, 500}});
        x.Key(0, Qt::Key_BracketLeft, Qt::ControlModifier);
        QCOMPARE(x.Times(0, 0), (Pair{0, 500}));
        x.Key(0, Qt::Key_BracketLeft, Qt::ControlModifier);
        QCOMPARE(x.Times(0, 0), (Pair{0, 500}));
    }

    void ctrlEnterInsertsAtTheFilm_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<double>("film");
        QTest::addColumn<Pair>("inserted");
        // A full 2 s where there is room; cut at the next entry's start where not.
        QTest::newRow("room") << 0 << 0.5 << Pair{500, 2500};
        QTest::newRow("cut at the next") << 0 << 2.2 << Pair{2200, 3000};
        QTest::newRow("after the last") << 2 << 7.0 << Pair{7000, 9000};
        QTest::newRow("at the next's start") << 1 << 5.0 << Pair{5000, 5000};
    }
    void ctrlEnterInsertsAtTheFilm() {
        QFETCH(int, row);
        QFETCH(double, film);
        QFETCH(Pair, inserted);
        Fixture x;
        x.Open();
        x.Choose(0, row);
        x.player->Position = film;
        x.Key(0, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(x.Count(0), 4);
        QCOMPARE(x.Times(0, row + 1), inserted);
        QCOMPARE(x.Row(0), row + 1);
        QCOMPARE(x.UndoName(0), QStringLiteral("插入字幕"));
        QVERIFY(Probe(x.f()).Side(0)->Undo());
        QCOMPARE(x.Count(0), 3);
    }

    void ctrlEnterIntoAnEmptyDocument() {
        Fixture x;
        x.Open(0, {});
        x.player->Position = 12;
        x.Key(0, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(x.Count(0), 1);
        QCOMPARE(x.Times(0, 0), (Pair{12000, 14000}));
    }

    void f8PlaysTheEntryAndPausesAtItsEnd() {
        Fixture x;
        x.Open();
        x.Choose(0, 1);
        x.Key(0, Qt::Key_F8);
        QCOMPARE(x.player->Position, 3.0);
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Playing));
        x.player->Position = 3.9;
        Probe(x.f()).MovieTimerTimer();
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Playing));
        x.player->Position = 4.0;
        Probe(x.f()).MovieTimerTimer();
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Paused));
        // Playing on afterwards is not stopped at the old end again.
        x.Key(0, Qt::Key_Space);
        x.player->Position = 4.5;
        Probe(x.f()).MovieTimerTimer();
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Playing));
    }

    void keysWithoutADocumentChangeNothing() {
        Fixture x;
        QVERIFY(x.f().FileOpenMovieAccept(kFilm));
        x.f().show();
        x.f().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&x.f()));
        x.Grid(0)->setFocus();
        for (Qt::Key key : {Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F8})
            x.Key(0, key);
        x.Key(0, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!Probe(x.f()).Side(0)->Document());
        QVERIFY(x.player->PlayState() != TFilmPlayer::Playing);
        QVERIFY(x.player->Calls.filter("Seek").isEmpty());
    }

    // The same keys from the waveform view, acting on the active pane's current entry; the
    // view's own arrows scroll it and seek nothing.
    void keysWorkFromTheWaveformView() {
        Fixture x;
        x.Open(1);
        x.Choose(1, 1);
        x.edit->cbKeepDelay->setChecked(false);
        Ctl<QWidget>(x.f(), "plWave")->show();
        auto* view = Ctl<TWaveView>(x.f(), "wvAudio");
        view->resize(800, 120);
        view->SetView(20000, 10);
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        auto key = [&](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
            QTest::keyClick(view, k, mods);
        };
        x.player->Position = 10;
        key(Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(x.player->Position, 11.0);
        QCOMPARE(view->ViewStart(), 20000.0);
        key(Qt::Key_Space);
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Playing));
        key(Qt::Key_Space);
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Paused));
        x.player->Position = 3.5;
        key(Qt::Key_F9);
        QCOMPARE(x.Times(1, 1), (Pair{3500, 4000}));
        QCOMPARE(x.UndoName(1), QStringLiteral("設定開始時間"));
        QVERIFY(!Probe(x.f()).Side(0)->Document());
        const int seeks = int(x.player->Calls.filter("Seek").size());
        key(Qt::Key_Right);
        QVERIFY(view->ViewStart() > 20000.0);
        QCOMPARE(int(x.player->Calls.filter("Seek").size()), seeks);
        QVERIFY(view->hasFocus());
    }

    // Paused, a seek shows its caption and the row colour of what it reached.
    void pausedSeekUpdatesTheCaption() {
        Fixture x;
        x.Open();
        Ctl<QAction>(x.f(), "aShowSubL")->setChecked(true);
        x.player->Position = 0.5;
        x.Key(0, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionPanel->Caption(), QStringLiteral("line 1"));
        QCOMPARE(Probe(x.f()).Pane(0)->GridModel->CurrentRowColor(), QColor(0xCC, 0xCC, 0xFF));
        // The time readout and the side's status panel follow too.
        QCOMPARE(Probe(x.f()).Panels()[3]->text(), QStringLiteral("00:00:01,500 -- 00:01:40,000"));
        QCOMPARE(Probe(x.f()).Panels()[1]->text(), QStringLiteral("[SRT] 1 -- 3"));
        x.Key(0, Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(Probe(x.f()).Pane(0)->CaptionPanel->Caption().isEmpty());
        QCOMPARE(Probe(x.f()).Pane(0)->GridModel->CurrentRowColor(), QColor(0xDF, 0xDF, 0xDF));
        // A moment the player reports late (a frame step's) is shown when it comes.
        x.player->Report(3.5);
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionPanel->Caption(), QStringLiteral("line 2"));
        QCOMPARE(Probe(x.f()).Panels()[3]->text(), QStringLiteral("00:00:03,500 -- 00:01:40,000"));
        QCOMPARE(Ctl<QSlider>(x.f(), "TrackBar")->value(), 3);
    }

    void theTrackBarJumpsToAClickAndScrubs() {
        Fixture x;
        x.Open();
        Ctl<QAction>(x.f(), "aShowSubL")->setChecked(true);
        auto* bar = Ctl<QSlider>(x.f(), "TrackBar");
        QVERIFY(bar->isEnabled()); // stopped at the start, it seeks
        // The film's moment at a point of the groove, as the style lays the groove out.
        const auto at = [bar](int second) {
            QStyleOptionSlider option;
            option.initFrom(bar);
            option.orientation = bar->orientation();
            option.minimum = bar->minimum();
            option.maximum = bar->maximum();
            option.sliderPosition = option.sliderValue = second;
            const QRect groove = bar->style()->subControlRect(QStyle::CC_Slider, &option,
                                                              QStyle::SC_SliderGroove, bar);
            const QRect handle = bar->style()->subControlRect(QStyle::CC_Slider, &option,
                                                              QStyle::SC_SliderHandle, bar);
            const int span = groove.width() - handle.width();
            return QPoint(groove.x() + handle.width() / 2 +
                              QStyle::sliderPositionFromValue(0, bar->maximum(), second, span),
                          groove.center().y());
        };
        // A click far from the thumb goes there, not a page nearer; the caption follows.
        QTest::mouseClick(bar, Qt::LeftButton, {}, at(75));
        QVERIFY2(qAbs(x.player->Position - 75) <= 1, qPrintable(QString::number(x.player->Position)));
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Paused));
        QTest::mouseClick(bar, Qt::LeftButton, {}, at(5));
        QVERIFY2(qAbs(x.player->Position - 5) <= 1, qPrintable(QString::number(x.player->Position)));
        QCOMPARE(Probe(x.f()).Panels()[3]->text().left(8), QStringLiteral("00:00:0%1").arg(int(x.player->Position)));
        // Dragging scrubs: the film follows the thumb, the film's own ticks do not pull it back.
        Ctl<QAction>(x.f(), "aPlay")->trigger();
        QTest::mousePress(bar, Qt::LeftButton, {}, at(20));
        QTest::mouseMove(bar, at(40));
        QVERIFY2(qAbs(x.player->Position - 40) <= 1, qPrintable(QString::number(x.player->Position)));
        x.player->Position = 41.5;
        Probe(x.f()).MovieTimerTimer();
        QVERIFY(qAbs(bar->value() - 40) <= 1);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at(40));
        Probe(x.f()).MovieTimerTimer();
        QCOMPARE(bar->value(), 41);
    }

private:
    std::unique_ptr<TTestSettings> settings_;
};

QTEST_MAIN(TestTimingKeys)
#include "tst_timingkeys.moc"
