// Playback control on a film player double: opening, play state changes, speed, the film
// timer and the track bar.
#include "MainProbe.h"
#include "FakePlayer.h"
#include "Main.h"
#include "ScriptedQuestions.h"
#include "Subtitle.h"
#include "TestSettings.h"

#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QtTest>

namespace {

const QString kFilm = QStringLiteral("/films/hundred.avi");

struct Fixture {
    TFakePlayer* player = nullptr;
    std::unique_ptr<TMainForm> form;

    Fixture() {
        form = std::make_unique<TMainForm>([this](QWidget* video) {
            player = new TFakePlayer(video);
            player->Films.insert(kFilm, 100.0);
            player->Films.insert("/films/empty.avi", 0.0);
            player->Films.insert("/films/odd.avi", 61.97);
            return player;
        });
    }
    TMainForm& f() { return *form; }
    QString Panel(int i) { return Probe(*form).Panels()[i]->text(); }
};

} // namespace

class TestPlayback : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    void openFilmFromTheCommand() {
        TScriptedQuestions questions;
        Fixture x;
        questions.FileAnswers << kFilm;
        Ctl<QAction>(x.f(), "FileOpenMovie")->trigger();
        QCOMPARE(questions.FileTitles, QStringList{"開啟影片檔"});
        QCOMPARE(questions.LastFilter,
                 QStringLiteral("AVI Files (*.avi)|*.AVI|MPEG1 Files (*.mpg)|*.MPG|MPEG2 Files "
                                "(*.vob)|*.VOB|All Files (*.*)|*.*"));
        QCOMPARE(x.player->Calls, (QStringList{"Stop", "Open " + kFilm}));
        QCOMPARE(x.f().windowTitle(), "Velitra -- " + kFilm);
        // A 100-second film: maximum 100, a tick every 5 seconds.
        QCOMPARE(Ctl<QSlider>(x.f(), "TrackBar")->maximum(), 100);
        QCOMPARE(Ctl<QSlider>(x.f(), "TrackBar")->tickInterval(), 5);
        QCOMPARE(Ctl<QSlider>(x.f(), "TrackBar")->value(), 0);
        QCOMPARE(Probe(x.f()).FilmLengthText(), QStringLiteral("00:01:40,000"));
        for (QAction* a : {Ctl<QAction>(x.f(), "aPlay"), Ctl<QAction>(x.f(), "aSlow"), Ctl<QAction>(x.f(), "aForward"), Ctl<QAction>(x.f(), "aPause"), Ctl<QAction>(x.f(), "aStop")})
            QVERIFY(a->isEnabled());
        // Opening does not start playing; the track bar seeks from the start.
        QVERIFY(!Ctl<QTimer>(x.f(), "MovieTimer")->isActive());
        QVERIFY(Ctl<QSlider>(x.f(), "TrackBar")->isEnabled());
    }

    void cancelledDialogOpensNothing() {
        TScriptedQuestions questions;
        Fixture x;
        Ctl<QAction>(x.f(), "FileOpenMovie")->trigger();
        QVERIFY(x.player->Calls.isEmpty());
        QVERIFY(!Ctl<QAction>(x.f(), "aPlay")->isEnabled());
    }

    void filmLengths_data() {
        QTest::addColumn<QString>("film");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("length");
        QTest::newRow("zero") << "/films/empty.avi" << 0 << 0 << "00:00:00,000";
        QTest::newRow("fraction truncated") << "/films/odd.avi" << 61 << 3 << "00:01:01,970";
    }

    void filmLengths() {
        QFETCH(QString, film);
        QFETCH(int, maximum);
        QFETCH(int, ticks);
        QFETCH(QString, length);
        Fixture x;
        QVERIFY(x.f().FileOpenMovieAccept(film));
        QCOMPARE(Ctl<QSlider>(x.f(), "TrackBar")->maximum(), maximum);
        QCOMPARE(Ctl<QSlider>(x.f(), "TrackBar")->tickInterval(), ticks);
        QCOMPARE(Probe(x.f()).FilmLengthText(), length);
    }

    void filmThatCannotBeOpenedLeavesTheWindowAsItWas() {
        TScriptedQuestions questions;
        Fixture x;
        QVERIFY(x.f().FileOpenMovieAccept(kFilm));
        Probe(x.f()).FilmLengthText() = "kept";
        QVERIFY(!x.f().FileOpenMovieAccept("/films/broken.avi"));
        QCOMPARE(questions.Messages.size(), 1);
        QCOMPARE(questions.Messages[0].Kind, TMsgKind::Error);
        QVERIFY(questions.Messages[0].Text.contains("/films/broken.avi"));
        QCOMPARE(x.f().windowTitle(), "Velitra -- " + kFilm);
        QCOMPARE(Ctl<QSlider>(x.f(), "TrackBar")->maximum(), 100);
        QCOMPARE(Probe(x.f()).FilmLengthText(), QStringLiteral("kept"));

        // Before any film: the playback commands stay off.
        Fixture fresh;
        QVERIFY(!fresh.f().FileOpenMovieAccept("/films/broken.avi"));
        QVERIFY(!Ctl<QAction>(fresh.f(), "aPlay")->isEnabled());
        QCOMPARE(fresh.f().windowTitle(), QStringLiteral("Velitra"));
    }

    void playPauseStopSwitchTheWindow() {
        Fixture x;
        TMainForm& f = x.f();
        QVERIFY(f.FileOpenMovieAccept(kFilm));
        Ctl<QAction>(f, "aPlay")->trigger();
        QCOMPARE(x.Panel(4), QStringLiteral("Normal"));
        QCOMPARE(x.player->Calls.mid(2), (QStringList{"Rate 1", "Play"}));
        QVERIFY(Ctl<QTimer>(f, "MovieTimer")->isActive());
        QVERIFY(Ctl<QAction>(f, "aSecRepeat")->isEnabled());
        QVERIFY(Ctl<QSlider>(f, "TrackBar")->isEnabled());
        QVERIFY(Probe(f).TrackFollows());
        // No documents: no caption timer, no repeat by entries.
        QVERIFY(!Ctl<QTimer>(f, "SubTimerL")->isActive() && !Ctl<QTimer>(f, "SubTimerR")->isActive());
        QVERIFY(!Ctl<QAction>(f, "aSubRepeat")->isEnabled());

        Probe(f).RepeatActive() = true;
        Ctl<QAction>(f, "aPause")->trigger();
        QVERIFY(!Ctl<QTimer>(f, "MovieTimer")->isActive());
        QVERIFY(!Ctl<QAction>(f, "aSecRepeat")->isEnabled());
        QVERIFY(Ctl<QSlider>(f, "TrackBar")->isEnabled()); // paused, it seeks
        QVERIFY(Probe(f).TrackFollows());

        Ctl<QAction>(f, "aPlay")->trigger();
        x.player->Position = 42;
        Probe(f).Pane(0)->ShownIndex = Probe(f).Pane(1)->ShownIndex = 7;
        Ctl<QAction>(f, "aStop")->trigger();
        QCOMPARE(x.player->CurrentPosition(), 0.0);
        QCOMPARE(Probe(f).Pane(0)->ShownIndex, -1);
        QCOMPARE(Probe(f).Pane(1)->ShownIndex, -1);
        QVERIFY(Probe(f).TrackFollows());
        QCOMPARE(Ctl<QSlider>(f, "TrackBar")->value(), 0);
        QCOMPARE(x.Panel(3), QStringLiteral("00:00:00,000 -- 00:01:40,000"));
        QVERIFY(Ctl<QSlider>(f, "TrackBar")->isEnabled());
        QVERIFY(!Ctl<QTimer>(f, "MovieTimer")->isActive());
        // A repeat range stays armed for the next play.
        QVERIFY(Probe(f).RepeatActive());
    }

    void captionTimersNeedADocumentAndItsShowCommand() {
        Fixture x;
        TMainForm& f = x.f();
        QVERIFY(f.FileOpenMovieAccept(kFilm));
        for (int side = 0; side < 2; ++side)
            Probe(f).Side(side)->Replace(std::make_unique<SubTitle>(SubTitle::FromBytes(
                "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n\r\n", "/s.srt", 25.0)));
        Ctl<QAction>(f, "aShowSubL")->setChecked(true);
        Ctl<QAction>(f, "aPlay")->trigger();
        QVERIFY(Ctl<QTimer>(f, "SubTimerL")->isActive());
        QVERIFY(Ctl<QAction>(f, "aSubRepeat")->isEnabled());
        QVERIFY(!Ctl<QTimer>(f, "SubTimerR")->isActive()); // right side's show command is off
        Ctl<QAction>(f, "aPause")->trigger();
        Ctl<QAction>(f, "aShowSubR")->setChecked(true);
        Ctl<QAction>(f, "aShowSubL")->setChecked(false);
        Ctl<QAction>(f, "aPlay")->trigger();
        QVERIFY(!Ctl<QTimer>(f, "SubTimerL")->isActive());
        QVERIFY(!Ctl<QAction>(f, "aSubRepeat")->isEnabled());
        QVERIFY(Ctl<QTimer>(f, "SubTimerR")->isActive());
        Ctl<QAction>(f, "aStop")->trigger();
        QVERIFY(!Ctl<QTimer>(f, "SubTimerR")->isActive());
    }

    void speedHalvesAndDoubles() {
        Fixture x;
        TMainForm& f = x.f();
        QVERIFY(f.FileOpenMovieAccept(kFilm));
        Ctl<QAction>(f, "aPlay")->trigger();
        Ctl<QAction>(f, "aSlow")->trigger();
        QCOMPARE(x.Panel(4), QStringLiteral("0.50X Speed"));
        Ctl<QAction>(f, "aPlay")->trigger();
        for (int i = 0; i < 3; ++i)
            Ctl<QAction>(f, "aForward")->trigger();
        QCOMPARE(x.Panel(4), QStringLiteral("8.00X Speed"));
        QCOMPARE(x.player->Rate(), 8.0);
        // Play goes back to normal speed.
        Ctl<QAction>(f, "aPlay")->trigger();
        QCOMPARE(x.Panel(4), QStringLiteral("Normal"));
        QCOMPARE(x.player->Rate(), 1.0);
        // The text shows the rate the player reports, whatever was asked.
        for (int i = 0; i < 8; ++i)
            Ctl<QAction>(f, "aSlow")->trigger();
        QCOMPARE(x.Panel(4), QStringLiteral("0.00X Speed"));
    }

    void filmTimerShowsThePosition() {
        Fixture x;
        TMainForm& f = x.f();
        QVERIFY(f.FileOpenMovieAccept(kFilm));
        Ctl<QAction>(f, "aPlay")->trigger();
        x.player->Position = 12.25;
        Probe(f).MovieTimerTimer();
        QCOMPARE(x.Panel(3), QStringLiteral("00:00:12,250 -- 00:01:40,000"));
        // Not playing: the tick does nothing.
        Ctl<QAction>(f, "aPause")->trigger();
        x.player->Position = 30;
        Probe(f).MovieTimerTimer();
        QCOMPARE(x.Panel(3), QStringLiteral("00:00:12,250 -- 00:01:40,000"));
    }

    void filmTimerEnforcesTheRepeatRange() {
        Fixture x;
        TMainForm& f = x.f();
        QVERIFY(f.FileOpenMovieAccept(kFilm));
        Ctl<QAction>(f, "aPlay")->trigger();
        Probe(f).RepeatActive() = true;
        Probe(f).RepeatFrom() = 10;
        Probe(f).RepeatTo() = 14;
        x.player->Position = 13.9;
        Probe(f).MovieTimerTimer();
        QCOMPARE(x.player->Position, 13.9);
        x.player->Position = 14.1;
        Probe(f).MovieTimerTimer();
        QCOMPARE(x.player->Position, 10.0);
        QCOMPARE(x.Panel(3), QStringLiteral("00:00:10,000 -- 00:01:40,000"));
        // Without an armed range nothing jumps.
        Probe(f).RepeatActive() = false;
        x.player->Position = 20;
        Probe(f).MovieTimerTimer();
        QCOMPARE(x.player->Position, 20.0);
    }

    void trackBarFollowsEveryTickWithoutSeeking() {
        Fixture x;
        TMainForm& f = x.f();
        QVERIFY(f.FileOpenMovieAccept(kFilm));
        Ctl<QAction>(f, "aPlay")->trigger();
        x.player->Calls.clear();
        for (const double at : {33.7, 34.2, 35.0, 12.9}) {
            x.player->Position = at;
            Probe(f).MovieTimerTimer();
            QCOMPARE(Ctl<QSlider>(f, "TrackBar")->value(), int(at));
        }
        QVERIFY(x.player->Calls.isEmpty()); // the thumb moved, the film did not
        QVERIFY(Probe(f).TrackFollows());
    }

    void movingTheTrackBarSeeksWhilePlaying() {
        Fixture x;
        TMainForm& f = x.f();
        QVERIFY(f.FileOpenMovieAccept(kFilm));
        Ctl<QAction>(f, "aPlay")->trigger();
        Ctl<QSlider>(f, "TrackBar")->setValue(57);
        QCOMPARE(x.player->Position, 57.0);
        // Kept within the film.
        Ctl<QSlider>(f, "TrackBar")->setValue(500);
        QCOMPARE(Ctl<QSlider>(f, "TrackBar")->value(), 100);
        QCOMPARE(x.player->Position, 100.0);
        // The program's own moves do not seek.
        x.player->Calls.clear();
        Probe(f).SetTrackBarQuietly(30);
        QVERIFY(x.player->Calls.isEmpty());
        // Stopped, a move of the user's seeks, and the film waits there paused.
        Ctl<QAction>(f, "aStop")->trigger();
        x.player->Calls.clear();
        Ctl<QSlider>(f, "TrackBar")->setValue(20);
        QCOMPARE(x.player->Calls, (QStringList{"Pause", "Seek 20"}));
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Paused));
        QCOMPARE(x.Panel(3), QStringLiteral("00:00:20,000 -- 00:01:40,000"));
    }

    void endOfFilmStopsLikeStop() {
        Fixture x;
        TMainForm& f = x.f();
        QVERIFY(f.FileOpenMovieAccept(kFilm));
        Ctl<QAction>(f, "aPlay")->trigger();
        x.player->Position = 100;
        x.player->ReachEnd();
        QCOMPARE(x.player->PlayState(), int(TFilmPlayer::Stopped));
        QVERIFY(!Ctl<QTimer>(f, "MovieTimer")->isActive());
        QCOMPARE(Ctl<QSlider>(f, "TrackBar")->value(), 0);
        QCOMPARE(x.player->Position, 0.0);
    }

    void timersRunningWhileTheTimerFires() {
        // The real timer drives the same tick.
        Fixture x;
        TMainForm& f = x.f();
        QVERIFY(f.FileOpenMovieAccept(kFilm));
        Ctl<QAction>(f, "aPlay")->trigger();
        x.player->Position = 3.5;
        QTRY_COMPARE_WITH_TIMEOUT(x.Panel(3), QStringLiteral("00:00:03,500 -- 00:01:40,000"), 2000);
    }
};

QTEST_MAIN(TestPlayback)
#include "tst_playback.moc"
