// The libmpv binding against a real film, generated here with ffmpeg, with mpv's null audio and
// video outputs.
#include "MainProbe.h"
#include "Main.h"
#include "MediaPlayer_OCX.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <clocale>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using StateChange = QPair<int, int>;

QList<StateChange> Changes(QSignalSpy& spy) {
    QList<StateChange> out;
    for (const QList<QVariant>& args : spy)
        out << StateChange{args[0].toInt(), args[1].toInt()};
    spy.clear();
    return out;
}

} // namespace

class TestMpvPlayer : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString film_;
    QWidget video_;

    std::unique_ptr<TMMediaPlayer> NewPlayer() {
        TMMediaPlayer::Options options;
        options.NullAudio = true;
        options.NullVideo = true;
        return std::make_unique<TMMediaPlayer>(&video_, options);
    }

private slots:
    void initTestCase() {
        std::setlocale(LC_NUMERIC, "C");
        QVERIFY(dir_.isValid());
        film_ = dir_.filePath("test film.avi");
        // Three seconds of picture and tone, a few tens of kilobytes.
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                                "testsrc=size=160x120:rate=25:duration=3", "-f", "lavfi", "-i",
                                "sine=frequency=440:duration=3", "-c:v", "mpeg4", "-c:a", "mp2",
                                "-shortest", film_});
        QVERIFY2(ffmpeg.waitForFinished(60000), "ffmpeg did not finish");
        QVERIFY2(ffmpeg.exitCode() == 0, ffmpeg.readAllStandardError().constData());
        // A subtitle file beside the film, which the player must not load by itself.
        QFile srt(dir_.filePath("test film.srt"));
        QVERIFY(srt.open(QIODevice::WriteOnly));
        srt.write("1\n00:00:00,000 --> 00:00:03,000\nnot in the picture\n\n");
    }

    void opensWithoutStartingAndKnowsTheDuration() {
        auto player = NewPlayer();
        QSignalSpy states(player.get(), &TFilmPlayer::PlayStateChange);
        QCOMPARE(player->ShowsPicture(), false);
        QCOMPARE(player->PictureSize(), QSize());
        QVERIFY(player->SetFileName(film_));
        QCOMPARE(player->FileName(), film_);
        QCOMPARE(player->PictureSize(), QSize(160, 120));
        QVERIFY2(qAbs(player->Duration() - 3.0) < 0.1,
                 qPrintable(QString::number(player->Duration())));
        QCOMPARE(player->PlayState(), int(TFilmPlayer::Stopped));
        QCOMPARE(player->CurrentPosition(), 0.0);
        QTest::qWait(300);
        QCOMPARE(player->CurrentPosition(), 0.0); // not started
        QVERIFY(states.isEmpty());
    }

    void nothingRunsOrLoadsBesideTheFilm() {
        auto player = NewPlayer();
        QVERIFY(player->SetFileName(film_));
        for (const char* option :
             {"options/config", "options/load-scripts", "options/ytdl", "options/osc",
              "options/input-default-bindings", "options/resume-playback",
              "options/use-filedir-conf", "options/sub-auto"})
            QCOMPARE(player->PropertyText(option), QStringLiteral("no"));
        QCOMPARE(player->PropertyText("options/keep-open"), QStringLiteral("yes"));
        // Video and audio only: the subtitle file beside the film was not picked up.
        QCOMPARE(player->PropertyText("track-list/count"), QStringLiteral("2"));
        QCOMPARE(player->PropertyText("sid"), QStringLiteral("no"));
    }

    void playPauseStopWithStateSignals() {
        auto player = NewPlayer();
        QVERIFY(player->SetFileName(film_));
        QSignalSpy states(player.get(), &TFilmPlayer::PlayStateChange);

        player->Play();
        QCOMPARE(Changes(states), (QList<StateChange>{{0, 2}}));
        QCOMPARE(player->PlayState(), int(TFilmPlayer::Playing));
        QTRY_VERIFY_WITH_TIMEOUT(player->CurrentPosition() > 0.3, 3000);

        player->Pause();
        QCOMPARE(Changes(states), (QList<StateChange>{{2, 1}}));
        QTest::qWait(200);
        const double paused = player->CurrentPosition();
        QTest::qWait(400);
        QVERIFY(qAbs(player->CurrentPosition() - paused) < 0.05);

        player->Play();
        player->Stop();
        QCOMPARE(Changes(states), (QList<StateChange>{{1, 2}, {2, 0}}));
        // Stopped is at 0 with the film still loaded, also once mpv has caught up.
        QCOMPARE(player->CurrentPosition(), 0.0);
        QTest::qWait(400);
        QVERIFY(player->CurrentPosition() < 0.05);
        QCOMPARE(player->FileName(), film_);
        QVERIFY(player->Duration() > 2.9);

        // A second stop changes nothing and says nothing.
        player->Stop();
        QVERIFY(states.isEmpty());
    }

    void seeksAreExactAndReportedAtOnce() {
        auto player = NewPlayer();
        QVERIFY(player->SetFileName(film_));
        player->SetCurrentPosition(1.52);
        QCOMPARE(player->CurrentPosition(), 1.52);
        QTest::qWait(500);
        QVERIFY2(qAbs(player->CurrentPosition() - 1.52) < 0.05,
                 qPrintable(QString::number(player->CurrentPosition())));
        // Playing goes on from the new position.
        player->Play();
        QTRY_VERIFY_WITH_TIMEOUT(player->CurrentPosition() > 1.7, 3000);
        player->SetCurrentPosition(0.5);
        QVERIFY(player->CurrentPosition() < 0.6);
        QCOMPARE(player->PlayState(), int(TFilmPlayer::Playing));
        // Beyond the ends: kept within the film.
        player->Pause();
        player->SetCurrentPosition(-4);
        QCOMPARE(player->CurrentPosition(), 0.0);
    }

    // A frame step leaves the film paused one frame on (or back), playing or not before.
    void frameStepsPauseAndMove() {
        auto player = NewPlayer();
        QVERIFY(player->SetFileName(film_));
        player->SetCurrentPosition(1.0);
        QTest::qWait(300);
        player->Play();
        QSignalSpy states(player.get(), &TFilmPlayer::PlayStateChange);
        player->FrameStep(true);
        QCOMPARE(player->PlayState(), int(TFilmPlayer::Paused));
        QCOMPARE(states.size(), 1);
        QTest::qWait(300);
        const double there = player->CurrentPosition();
        player->FrameStep(true);
        QTRY_VERIFY_WITH_TIMEOUT(player->CurrentPosition() > there + 0.001, 3000);
        const double on = player->CurrentPosition();
        QVERIFY2(on - there < 0.2, qPrintable(QString::number(on - there)));
        player->FrameStep(false);
        QTRY_VERIFY_WITH_TIMEOUT(player->CurrentPosition() < on - 0.001, 3000);
        QCOMPARE(player->PlayState(), int(TFilmPlayer::Paused));
    }

    void rateChangesTheSpeed() {
        auto player = NewPlayer();
        QVERIFY(player->SetFileName(film_));
        QCOMPARE(player->Rate(), 1.0);
        player->SetRate(0.5);
        QCOMPARE(player->Rate(), 0.5);
        player->SetRate(2);
        QCOMPARE(player->Rate(), 2.0);
        // Double speed: a second of clock covers about two of film.
        player->Play();
        QTRY_VERIFY_WITH_TIMEOUT(player->CurrentPosition() > 0.1, 3000);
        const double start = player->CurrentPosition();
        QTest::qWait(1000);
        QVERIFY2(player->CurrentPosition() - start > 1.4,
                 qPrintable(QString::number(player->CurrentPosition() - start)));
    }

    void endOfStreamIsSignalledAndStops() {
        auto player = NewPlayer();
        QVERIFY(player->SetFileName(film_));
        QSignalSpy end(player.get(), &TFilmPlayer::EndOfStream);
        QSignalSpy states(player.get(), &TFilmPlayer::PlayStateChange);
        player->SetCurrentPosition(2.5);
        player->Play();
        QTRY_COMPARE_WITH_TIMEOUT(end.size(), 1, 5000);
        QCOMPARE(player->PlayState(), int(TFilmPlayer::Stopped));
        QCOMPARE(Changes(states), (QList<StateChange>{{0, 2}, {2, 0}}));
        QCOMPARE(player->CurrentPosition(), 0.0);
        // And it plays again from the start.
        player->Play();
        QTRY_VERIFY_WITH_TIMEOUT(player->CurrentPosition() > 0.2, 3000);
    }

    void filmThatCannotBeOpenedKeepsThePreviousOne() {
        auto player = NewPlayer();
        const QString junk = dir_.filePath("junk.avi");
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();

        QVERIFY(!player->SetFileName(junk));
        QVERIFY(player->FileName().isEmpty());
        QCOMPARE(player->Duration(), 0.0);
        player->Play(); // nothing to play: nothing happens
        QCOMPARE(player->PlayState(), int(TFilmPlayer::Stopped));

        QVERIFY(player->SetFileName(film_));
        QVERIFY(!player->SetFileName(dir_.filePath("missing.avi")));
        QCOMPARE(player->FileName(), film_);
        QVERIFY(player->Duration() > 2.9);
        player->Play();
        QTRY_VERIFY_WITH_TIMEOUT(player->CurrentPosition() > 0.2, 3000);
    }

    // A film is only read: a playlist, an EDL file or a list of files picked as the film opens
    // nothing it names, neither a film beside it (watched here for any opening) nor an address on
    // the network (a port here that would see the connection).
    void namedFilesAndAddressesAreNotFollowed() {
        const QString named = dir_.filePath("named film.avi");
        QVERIFY(QFile::copy(film_, named));
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(::inotify_add_watch(watch, QFile::encodeName(named).constData(), IN_OPEN) >= 0);
        auto opened = [watch] {
            char events[4096];
            return ::read(watch, events, sizeof events) > 0;
        };

        const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        QVERIFY(listener >= 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(listener, 8) == 0);
        QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0);
        const QByteArray url =
            "http://127.0.0.1:" + QByteArray::number(ntohs(address.sin_port)) + "/film.avi";
        auto connected = [listener] {
            const int connection = ::accept(listener, nullptr, nullptr);
            if (connection >= 0) ::close(connection);
            return connection >= 0;
        };

        const QByteArray film = QFile::encodeName(named);
        const QList<QPair<QString, QByteArray>> cases = {
            {"list.m3u", "#EXTM3U\n" + film + "\n"},
            {"network.m3u", url + "\n"},
            {"list.pls", "[playlist]\nFile1=" + film + "\nNumberOfEntries=1\n"},
            {"cut.edl", "# mpv EDL v0\n" + film + ",0,2\n"},
            {"network.edl", "# mpv EDL v0\n" + url + ",0,2\n"},
            {"cut.ffconcat", "ffconcat version 1.0\nfile '" + film + "'\n"},
            {"stream.m3u8",
             "#EXTM3U\n#EXT-X-TARGETDURATION:3\n#EXTINF:3,\n" + url + "\n#EXT-X-ENDLIST\n"},
            {"list.txt", film + "\n"},
        };
        auto player = NewPlayer();
        for (const auto& [name, text] : cases) {
            QFile file(dir_.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
            file.close();
            const bool loaded = player->SetFileName(file.fileName());
            QTest::qWait(200); // time for anything mpv went on to open
            QVERIFY2(!opened(), qPrintable(name));
            QVERIFY2(!connected(), qPrintable(name));
            QVERIFY2(!loaded, qPrintable(name));
            QVERIFY2(player->FileName().isEmpty(), qPrintable(name));
        }
        // A name that looks like an address is a file name too.
        QVERIFY(!player->SetFileName(QString::fromUtf8(url)));
        QVERIFY(!connected());
        ::close(listener);

        for (const char* option : {"options/access-references", "options/load-unsafe-playlists",
                                   "options/ordered-chapters", "options/autoload-files"})
            QCOMPARE(player->PropertyText(option), QStringLiteral("no"));
        // The film itself still opens, and the watch sees that.
        QVERIFY(player->SetFileName(named));
        QVERIFY(player->Duration() > 2.9);
        QVERIFY(opened());
        ::close(watch);
    }

    void mainWindowDrivesTheRealPlayer() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
        TMMediaPlayer* player = nullptr;
        TMainForm form([&player](QWidget* video) {
            TMMediaPlayer::Options options;
            options.NullAudio = true;
            player = new TMMediaPlayer(video, options);
            return player;
        });
        QVERIFY(form.FileOpenMovieAccept(film_));
        QCOMPARE(Ctl<QSlider>(form, "TrackBar")->maximum(), 3);
        QCOMPARE(Ctl<QSlider>(form, "TrackBar")->tickInterval(), 0); // trunc(3 x 0.05)
        QVERIFY(Probe(form).FilmLengthText().startsWith("00:00:0"));
        Ctl<QAction>(form, "aPlay")->trigger();
        QVERIFY(Ctl<QTimer>(form, "MovieTimer")->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(Probe(form).Panels()[3]->text().startsWith("00:00:01"), 4000);
        // Seeking with the track bar while playing.
        Ctl<QSlider>(form, "TrackBar")->setValue(2);
        QVERIFY(player->CurrentPosition() >= 2.0);
        Ctl<QAction>(form, "aStop")->trigger();
        QCOMPARE(player->PlayState(), int(TFilmPlayer::Stopped));
        QCOMPARE(Ctl<QSlider>(form, "TrackBar")->value(), 0);
        QCOMPARE(player->CurrentPosition(), 0.0);
        // Stopped, the track bar seeks and the film waits there, the time shown.
        Ctl<QSlider>(form, "TrackBar")->setValue(1);
        QCOMPARE(player->PlayState(), int(TFilmPlayer::Paused));
        QTRY_VERIFY_WITH_TIMEOUT(Probe(form).Panels()[3]->text().startsWith("00:00:01,000"), 4000);
        // A frame step's moment comes with the player's report, and the readout follows it.
        // A frame step's moment comes with the player's report, and the readout follows it,
        // to the millisecond that F9 would take. The seek lands first.
        QTest::qWait(300);
        Probe(form).FrameStep(true);
        QTRY_VERIFY_WITH_TIMEOUT(!Probe(form).Panels()[3]->text().startsWith("00:00:01,000 "), 4000);
        QCOMPARE(Probe(form).Panels()[3]->text().left(12), QStringLiteral("00:00:01,040"));
    }
};

QTEST_MAIN(TestMpvPlayer)
#include "tst_mpvplayer.moc"
