// The waveform view over two sides' documents on the host double: edges and entries dragged by
// TimeToX make one step each, snapping to keyframes, the cursor and the other side's edges
// unless Shift is held or snapping is off; double-clicks select, clicks seek, a marked stretch
// plays, the wheel zooms about the mouse.
#include "DocBuilder.h"
#include "FakeHost.h"
#include "TestSettings.h"
#include "Texts.h"
#include "WaveView.h"

#include <QAction>
#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr int kUpper = TWaveView::kRulerHeight + 20; // inside the left side's half
constexpr int kLower = 170;                          // inside the right side's half

struct Fixture {
    TFakeHost host;
    TWaveView view{&host};

    Fixture() {
        host.SetDocument(0, MakeDoc({{1000, 2000, "first"}, {3000, 4000, "second"}}));
        host.SetDocument(1, MakeDoc({{1230, 2450, "premier"}, {3600, 4700, "second"}}));
        auto sound = std::make_shared<TSound>();
        sound->Wave.DurationMs = 60000;
        sound->Wave.Min.assign(6000, -100);
        sound->Wave.Max.assign(6000, 100);
        sound->Keyframes = {0, 2600, 5200};
        view.SetSound(sound);
        view.resize(1000, 200);
        view.SetView(0, 10); // 10 ms a pixel: the first 10 s
    }

    void Send(QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers mods) {
        QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton, buttons, mods);
        QApplication::sendEvent(&view, &event);
    }
    // Presses at one point, moves to another in two steps and lets go.
    void Drag(QPointF from, QPointF to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton, mods);
        Send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton, mods);
        Send(QEvent::MouseMove, to, Qt::LeftButton, mods);
        Send(QEvent::MouseButtonRelease, to, Qt::NoButton, mods);
    }
    QPointF At(int64_t ms, int y, double dx = 0) const { return QPointF(view.TimeToX(ms) + dx, y); }
    std::pair<int, int> Entry(int side, int index) const {
        const PerTitle* e = host.Docs[side]->Item(index);
        return {e->Start, e->End};
    }
};

} // namespace

class TestWaveView : public QObject {
    Q_OBJECT
private slots:
    void timeAndPixelsAreOneMapping() {
        Fixture f;
        QCOMPARE(f.view.TimeToX(1000), 100.0);
        QCOMPARE(f.view.XToTime(100), int64_t(1000));
        f.view.SetView(2000, 2.5);
        QCOMPARE(f.view.XToTime(f.view.TimeToX(3337)), int64_t(3337));
    }

    void draggingAnEdgeIsOneStepThatUndoes() {
        Fixture f;
        f.Drag(f.At(1000, kUpper), f.At(1500, kUpper), Qt::ShiftModifier);
        QCOMPARE(f.host.Steps.size(), size_t(1));
        QCOMPARE(f.host.Steps[0].Name, TextOf(txStepAdjustTime));
        QCOMPARE(f.host.Steps[0].Side, 0);
        QCOMPARE(f.Entry(0, 0), std::pair(1500, 2000));
        QCOMPARE(f.Entry(0, 1), std::pair(3000, 4000));

        f.Drag(f.At(4700, kLower), f.At(5100, kLower), Qt::ShiftModifier);
        QCOMPARE(f.host.Steps.size(), size_t(2));
        QCOMPARE(f.Entry(1, 1), std::pair(3600, 5100));

        f.host.Undo(0);
        QCOMPARE(f.Entry(0, 0), std::pair(1000, 2000));
        QCOMPARE(f.Entry(1, 1), std::pair(3600, 5100));
    }

    void anEdgeSnapsOnlyWhenItShould_data() {
        QTest::addColumn<int>("grab");      // the left side's first entry: 1000 or 2000
        QTest::addColumn<int>("target");    // where the mouse lets go (ms)
        QTest::addColumn<double>("offset"); // pixels past it
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("snap");
        QTest::addColumn<int>("expected");
        // The right side's first entry starts at 1230 and ends at 2450; a keyframe at 2600.
        QTest::newRow("to the other side's start") << 1000 << 1230 << 6.0 << false << true << 1230;
        QTest::newRow("to the other side's end") << 2000 << 2450 << -7.0 << false << true << 2450;
        QTest::newRow("to a keyframe") << 2000 << 2600 << 5.0 << false << true << 2600;
        QTest::newRow("too far to snap") << 2000 << 2600 << 10.0 << false << true << 2700;
        QTest::newRow("Shift: where it is let go") << 1000 << 1230 << 6.0 << true << true << 1290;
        QTest::newRow("snapping off") << 2000 << 2600 << 5.0 << false << false << 2650;
    }
    void anEdgeSnapsOnlyWhenItShould() {
        QFETCH(int, grab);
        QFETCH(int, target);
        QFETCH(double, offset);
        QFETCH(bool, shift);
        QFETCH(bool, snap);
        QFETCH(int, expected);
        Fixture f;
        f.view.aSnap->setChecked(snap);
        f.Drag(f.At(grab, kUpper), f.At(target, kUpper, offset),
               shift ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(f.host.Steps.size(), size_t(1));
        const auto [start, end] = f.Entry(0, 0);
        QCOMPARE(grab == 1000 ? start : end, expected);
        QCOMPARE(grab == 1000 ? end : start, grab == 1000 ? 2000 : 1000);
    }

    void theCursorIsASnappingTarget() {
        Fixture f;
        f.host.FilmOpenValue = true;
        f.host.FilmPositionValue = 4.321;
        QTest::qWait(40); // the view takes the player's report
        f.Drag(f.At(4000, kUpper), f.At(4321, kUpper, 4), Qt::NoModifier);
        QCOMPARE(f.Entry(0, 1), std::pair(3000, 4321));
    }

    void theMiddleMovesTheEntryWhole() {
        Fixture f;
        f.Drag(f.At(3500, kUpper), f.At(3800, kUpper), Qt::ShiftModifier);
        QCOMPARE(f.Entry(0, 1), std::pair(3300, 4300));
        // With snapping the nearer edge lands on the other side's: the end on 4700.
        f.Drag(f.At(3800, kUpper), f.At(4180, kUpper));
        QCOMPARE(f.Entry(0, 1), std::pair(3700, 4700));
        QCOMPARE(f.host.Steps.size(), size_t(2));
        // Not before the film's start.
        f.Drag(f.At(1500, kUpper), f.At(0, kUpper, -50), Qt::ShiftModifier);
        QCOMPARE(f.Entry(0, 0), std::pair(0, 1000));
    }

    void anEdgeStopsAtTheEntrysOtherEdge() {
        Fixture f;
        f.Drag(f.At(1000, kUpper), f.At(2500, kUpper), Qt::ShiftModifier);
        QCOMPARE(f.Entry(0, 0), std::pair(2000, 2000));
    }

    void aDoubleClickSelectsTheRowInItsPane() {
        Fixture f;
        QTest::mouseDClick(&f.view, Qt::LeftButton, Qt::NoModifier, f.At(4000, kLower).toPoint());
        QVERIFY(f.host.Calls.contains(QStringLiteral("SelectRow 1 1")));
        QTest::mouseDClick(&f.view, Qt::LeftButton, Qt::NoModifier, f.At(1500, kUpper).toPoint());
        QVERIFY(f.host.Calls.contains(QStringLiteral("SelectRow 0 0")));
        QVERIFY(f.host.Steps.empty());
    }

    void aClickSeeksAndAMarkedStretchPlays() {
        Fixture f;
        QSignalSpy seeks(&f.view, &TWaveView::seekRequested);
        QSignalSpy plays(&f.view, &TWaveView::playStretchRequested);
        QTest::mouseClick(&f.view, Qt::LeftButton, Qt::NoModifier, QPoint(620, kUpper));
        QCOMPARE(seeks.size(), 1);
        QCOMPARE(seeks[0][0].value<int64_t>(), int64_t(6200));
        QVERIFY(f.host.Steps.empty());

        f.Drag(QPointF(500, kUpper), QPointF(800, kUpper));
        QCOMPARE(f.view.Marked(), std::optional(std::pair<int64_t, int64_t>(5000, 8000)));
        f.view.aPlayStretch->trigger();
        QCOMPARE(plays.size(), 1);
        QCOMPARE(plays[0][0].value<int64_t>(), int64_t(5000));
        QCOMPARE(plays[0][1].value<int64_t>(), int64_t(8000));
        QVERIFY(f.host.Steps.empty());
    }

    void ctrlWheelZoomsAboutTheMouse() {
        Fixture f;
        f.view.SetView(20000, 10);
        const QPointF mouse(300, kUpper);
        const int64_t under = f.view.XToTime(mouse.x());
        QWheelEvent in(mouse, f.view.mapToGlobal(mouse), QPoint(), QPoint(0, 120), Qt::NoButton,
                       Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&f.view, &in);
        QVERIFY(f.view.MsPerPixel() < 10);
        QVERIFY(std::abs(f.view.XToTime(mouse.x()) - under) <= 1);
        // Down to 1 ms a pixel, out to the whole film.
        for (int i = 0; i < 40; ++i) QApplication::sendEvent(&f.view, &in);
        QCOMPARE(f.view.MsPerPixel(), 1.0);
        QWheelEvent out(mouse, f.view.mapToGlobal(mouse), QPoint(), QPoint(0, -120), Qt::NoButton,
                        Qt::ControlModifier, Qt::NoScrollPhase, false);
        for (int i = 0; i < 80; ++i) QApplication::sendEvent(&f.view, &out);
        QCOMPARE(f.view.MsPerPixel(), 60000.0 / 1000);
        QCOMPARE(f.view.ViewStart(), 0.0);
    }

    // The keys while the view has the focus; the view starts at 20 s, 10 ms a pixel (10 s wide).
    void keysScrollAndZoom_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<bool>("filmOpen"); // with the playback cursor at 22 s
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("msPerPixel");
        const int ctrl = int(Qt::ControlModifier), none = 0;
        // A zoom about the cursor keeps 22 s at column 200; about the middle, 25 s at 500.
        QTest::newRow("Left") << int(Qt::Key_Left) << none << false << 19000.0 << 10.0;
        QTest::newRow("Right") << int(Qt::Key_Right) << none << false << 21000.0 << 10.0;
        QTest::newRow("Page Up") << int(Qt::Key_PageUp) << none << false << 10000.0 << 10.0;
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << none << false << 30000.0 << 10.0;
        QTest::newRow("Home") << int(Qt::Key_Home) << none << false << 0.0 << 10.0;
        QTest::newRow("End") << int(Qt::Key_End) << none << false << 50000.0 << 10.0;
        QTest::newRow("Ctrl+Plus, no film")
            << int(Qt::Key_Plus) << ctrl << false << 25000 - 500 * 8.0 << 8.0;
        QTest::newRow("Ctrl+=, about the cursor")
            << int(Qt::Key_Equal) << ctrl << true << 22000 - 200 * 8.0 << 8.0;
        QTest::newRow("Ctrl+Minus, about the cursor")
            << int(Qt::Key_Minus) << ctrl << true << 22000 - 200 * 12.5 << 12.5;
        // Keys with other modifiers are the window's (Ctrl+Left seeks the film).
        QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << ctrl << false << 20000.0 << 10.0;
    }
    void keysScrollAndZoom() {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(bool, filmOpen);
        QFETCH(double, start);
        QFETCH(double, msPerPixel);
        Fixture f;
        f.host.FilmOpenValue = filmOpen;
        f.host.FilmPositionValue = 22.0;
        QTest::qWait(40); // the cursor's timer reads the film's moment
        f.view.SetView(20000, 10);
        QTest::keyClick(&f.view, Qt::Key(key), Qt::KeyboardModifiers(mods));
        QCOMPARE(f.view.MsPerPixel(), msPerPixel);
        QCOMPARE(f.view.ViewStart(), start);
    }

    // P plays the marked stretch (nothing without one); Esc drops the mark. The view takes the
    // focus when clicked.
    void keysPlayAndDropTheMark() {
        Fixture f;
        QCOMPARE(f.view.focusPolicy(), Qt::StrongFocus);
        QSignalSpy plays(&f.view, &TWaveView::playStretchRequested);
        f.view.show();
        QVERIFY(QTest::qWaitForWindowActive(&f.view));
        f.view.setFocus();
        QTest::keyClick(&f.view, Qt::Key_P);
        QCOMPARE(plays.size(), 0);
        f.Drag(QPointF(500, kUpper), QPointF(800, kUpper));
        QTest::keyClick(&f.view, Qt::Key_P);
        QCOMPARE(plays.size(), 1);
        QCOMPARE(plays[0][0].value<int64_t>(), int64_t(5000));
        QCOMPARE(plays[0][1].value<int64_t>(), int64_t(8000));
        QCOMPARE(f.view.aPlayStretch->shortcut(), QKeySequence(Qt::Key_P));
        QTest::keyClick(&f.view, Qt::Key_Escape);
        QVERIFY(!f.view.Marked());
        QTest::keyClick(&f.view, Qt::Key_P);
        QCOMPARE(plays.size(), 1);
    }

    void switchesAreStored() {
        TTestSettings settings;
        Fixture f;
        QSettings key(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("velitra-test"),
                      QStringLiteral("wave"));
        key.clear();
        f.view.ReadSettings(key);
        QVERIFY(f.view.Snaps());
        QVERIFY(!f.view.ShowsSpectrum());
        f.view.SetShowSpectrum(true);
        f.view.aSnap->setChecked(false);
        f.view.WriteSettings(key);
        Fixture g;
        g.view.ReadSettings(key);
        QVERIFY(g.view.ShowsSpectrum());
        QVERIFY(!g.view.Snaps());
        key.clear();
    }

    void regionsShowInTheirSidesHalf() {
        Fixture f;
        const QImage shot = f.view.grab().toImage();
        const QColor back = shot.pixelColor(50, kUpper); // before any entry: the wave's silence
        // The left side's first entry (1000-2000) in the upper half only; the right side's
        // (1230-2450) in the lower half.
        QVERIFY(shot.pixelColor(int(f.view.TimeToX(1100)), kUpper) != back);
        QCOMPARE(shot.pixelColor(int(f.view.TimeToX(1100)), kLower), shot.pixelColor(50, kLower));
        QVERIFY(shot.pixelColor(int(f.view.TimeToX(2300)), kLower) != shot.pixelColor(50, kLower));
        QCOMPARE(shot.pixelColor(int(f.view.TimeToX(2300)), kUpper), back);
    }

    // One loud bucket in two hours of quiet: whatever the zoom, its column reaches the top of
    // the sound and the others stay low, however many buckets a pixel joins.
    void aLoudMomentShowsAtEveryZoom_data() {
        QTest::addColumn<double>("msPerPixel");
        QTest::newRow("the whole film, 7,200 ms a pixel") << 7200.0;
        QTest::newRow("one minute, 60 ms a pixel") << 60.0;
        QTest::newRow("one bucket a pixel") << 10.0;
        QTest::newRow("1 ms a pixel") << 1.0;
    }
    void aLoudMomentShowsAtEveryZoom() {
        QFETCH(double, msPerPixel);
        TFakeHost host;
        TWaveView view(&host);
        auto sound = std::make_shared<TSound>();
        const int64_t loud = 3600000 + 1230; // an odd bucket, off every coarser level's bounds
        sound->Wave.DurationMs = 7200000;
        sound->Wave.Min.assign(720000, -300);
        sound->Wave.Max.assign(720000, 300);
        sound->Wave.Min[size_t(loud / 10)] = -30000;
        sound->Wave.Max[size_t(loud / 10)] = 30000;
        view.SetSound(sound);
        view.resize(1000, 200);
        view.SetView(double(loud) - 500 * msPerPixel, msPerPixel);
        const QImage shot = view.grab().toImage();
        const int y = TWaveView::kRulerHeight + 3;
        const int x = int(std::floor(view.TimeToX(loud)));
        QCOMPARE(shot.pixelColor(x, y), QColor(110, 200, 120));
        QCOMPARE(shot.pixelColor(x, 200 - 4), QColor(110, 200, 120));
        for (const int other : {x - 30, x + 30, 5, 995})
            QVERIFY2(shot.pixelColor(other, y) != QColor(110, 200, 120), qPrintable(QString::number(other)));
    }
};

QTEST_MAIN(TestWaveView)
#include "tst_waveview.moc"
