// The sound region of the main window: a film opened starts the reading of its sound with its
// progress in the status bar and a way to stop, plWave shows when the sound is there and the
// command aWaveBar allows (stored), and the view's clicks and stretches reach the film.
#include "MainProbe.h"
#include "FormFixture.h"
#include "TestFilm.h"
#include "TestSettings.h"
#include "Texts.h"
#include "WaveView.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QSplitter>
#include <QToolButton>
#include <QtTest>

namespace {

struct Fixture : TFormFixture {
    QString film, silent;
    Fixture(const QString& dir) : TFormFixture(QString(), 0) {
        film = dir + QStringLiteral("/film.mp4");
        silent = dir + QStringLiteral("/silent.mp4");
        player->Films.insert(film, 3.0);
        player->Films.insert(silent, 3.0);
        form->show();
    }
};

} // namespace

class TestMainWave : public QObject {
    Q_OBJECT
    TTestSettings settings_;
    QTemporaryDir films_;

private slots:
    void initTestCase() {
        // The sound cache of these runs is their own too.
        qputenv("XDG_CACHE_HOME", (settings_.Path() + QStringLiteral("/cache")).toLocal8Bit());
        QVERIFY(MakeTestFilm(films_.filePath(QStringLiteral("film.mp4")), true));
        QVERIFY(MakeTestFilm(films_.filePath(QStringLiteral("silent.mp4")), false));
    }

    void aFilmsSoundIsReadAndShown() {
        Fixture x(films_.path());
        QVERIFY(Ctl<QWidget>(x.f(), "plWave")->isHidden());
        QVERIFY(x.f().FileOpenMovieAccept(x.film));
        QVERIFY(Probe(x.f()).Panels()[0]->text().startsWith(TextOf(txReadingSound).arg(0).left(4)));
        QVERIFY(!Ctl<QToolButton>(x.f(), "sbStopReading")->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(Ctl<TWaveView>(x.f(), "wvAudio")->Sound() != nullptr, 30000);
        QVERIFY(!Ctl<QWidget>(x.f(), "plWave")->isHidden());
        QVERIFY(Ctl<QToolButton>(x.f(), "sbStopReading")->isHidden());
        QCOMPARE(Probe(x.f()).Panels()[0]->text(), QString());
        QCOMPARE(Ctl<TWaveView>(x.f(), "wvAudio")->Sound()->Keyframes.size(), size_t(3));
        // The splitter gives the region room of its own under the regions above.
        QVERIFY(Ctl<QWidget>(x.f(), "plWave")->height() >= 60);
        QCOMPARE(Ctl<QSplitter>(x.f(), "spWave")->indexOf(Ctl<QWidget>(x.f(), "plWave")), 1);
    }

    void theCommandHidesItAndIsStored() {
        {
            Fixture x(films_.path());
            QVERIFY(Ctl<QAction>(x.f(), "aWaveBar")->isChecked());
            QVERIFY(x.f().FileOpenMovieAccept(x.film));
            QTRY_VERIFY_WITH_TIMEOUT(Ctl<TWaveView>(x.f(), "wvAudio")->Sound() != nullptr, 30000);
            Ctl<QAction>(x.f(), "aWaveBar")->trigger();
            QVERIFY(Ctl<QWidget>(x.f(), "plWave")->isHidden());
        }
        Fixture y(films_.path());
        QVERIFY(!Ctl<QAction>(y.f(), "aWaveBar")->isChecked());
        Ctl<QAction>(y.f(), "aWaveBar")->trigger();
        QVERIFY(Ctl<QAction>(y.f(), "aWaveBar")->isChecked());
    }

    // The view's switches are also in the 檢視 menu, after aWaveBar: the very same commands, so
    // either place switches the view and the choice is stored.
    void theViewsSwitchesAreInTheViewMenu() {
        {
            Fixture x(films_.path());
            auto* view = Ctl<TWaveView>(x.f(), "wvAudio");
            auto* menu = Ctl<QMenu>(x.f(), "muView");
            const QList<QAction*> items = menu->actions();
            const qsizetype at = items.indexOf(Ctl<QAction>(x.f(), "aWaveBar"));
            QVERIFY(at >= 0 && at + 2 < items.size());
            QCOMPARE(items[at + 1], view->aSpectrum);
            QCOMPARE(items[at + 2], view->aSnap);
            QCOMPARE(x.f().findChildren<QAction*>(QStringLiteral("aSnap")).size(), 1);
            QCOMPARE(x.f().findChildren<QAction*>(QStringLiteral("aSpectrum")).size(), 1);
            QVERIFY(view->Snaps());
            QVERIFY(!view->ShowsSpectrum());
            items[at + 1]->trigger();
            items[at + 2]->trigger();
            QVERIFY(view->ShowsSpectrum());
            QVERIFY(!view->Snaps());
        }
        Fixture y(films_.path());
        QVERIFY(Ctl<TWaveView>(y.f(), "wvAudio")->ShowsSpectrum());
        QVERIFY(!Ctl<QAction>(y.f(), "aSnap")->isChecked());
        Ctl<QAction>(y.f(), "aSnap")->trigger();
        Ctl<QAction>(y.f(), "aSpectrum")->trigger();
    }

    void aFilmWithoutSoundShowsNothing() {
        Fixture x(films_.path());
        QVERIFY(x.f().FileOpenMovieAccept(x.silent));
        QVERIFY(!Ctl<QToolButton>(x.f(), "sbStopReading")->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(Ctl<QToolButton>(x.f(), "sbStopReading")->isHidden(), 30000);
        QCOMPARE(Probe(x.f()).Panels()[0]->text(), QString());
        QVERIFY(Ctl<QWidget>(x.f(), "plWave")->isHidden());
        QVERIFY(Ctl<TWaveView>(x.f(), "wvAudio")->Sound() == nullptr);
    }

    void theReadingStops() {
        Fixture x(films_.path());
        QVERIFY(x.f().FileOpenMovieAccept(x.film));
        Ctl<QToolButton>(x.f(), "sbStopReading")->click();
        QVERIFY(Ctl<QToolButton>(x.f(), "sbStopReading")->isHidden());
        // Even a result already on its way (the film is in the cache by now) is never shown.
        QTest::qWait(1000);
        QVERIFY(Ctl<TWaveView>(x.f(), "wvAudio")->Sound() == nullptr);
        QVERIFY(Ctl<QWidget>(x.f(), "plWave")->isHidden());
    }

    void clicksSeekAndAStretchPlaysToItsEnd() {
        Fixture x(films_.path());
        QVERIFY(x.f().FileOpenMovieAccept(x.film));
        emit Ctl<TWaveView>(x.f(), "wvAudio")->seekRequested(1500);
        QCOMPARE(x.player->Position, 1.5);
        x.player->Calls.clear();
        emit Ctl<TWaveView>(x.f(), "wvAudio")->playStretchRequested(1000, 1200);
        QCOMPARE(x.player->Calls, QStringList({QStringLiteral("Seek 1"), QStringLiteral("Play")}));
        x.player->Position = 1.1;
        QTest::qWait(50);
        QVERIFY(!x.player->Calls.contains(QStringLiteral("Pause")));
        x.player->Position = 1.2;
        QTRY_VERIFY(x.player->Calls.contains(QStringLiteral("Pause")));
    }
};

QTEST_MAIN(TestMainWave)
#include "tst_mainwave.moc"
