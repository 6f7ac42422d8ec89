// The film: opening it, play, pause, stop and speed, the film timer and the track bar.
#include "Main.h"

#include "FilmPlayer.h"
#include "MediaPlayer_OCX.h"
#include "Pertitle.h"
#include "Questions.h"
#include "Subtitle.h"
#include "SubtitleGrid.h"
#include "Texts.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Film seconds to a whole number, truncated toward zero; nothing that is not a finite number
// within int range can reach the track bar or the time texts.
int TruncToInt(double value) {
    if (!std::isfinite(value)) return 0;
    value = std::trunc(value);
    if (value <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    if (value >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    return int(value);
}

const char* const kFilmFilter = "AVI Files (*.avi)|*.AVI|MPEG1 Files (*.mpg)|*.MPG|"
                                "MPEG2 Files (*.vob)|*.VOB|All Files (*.*)|*.*";

// "%0.2fX Speed" in the language's words: the number is formatted here, never by a pack's text.
QString SpeedText(double rate) {
    return TextOf(txSpeedRate).arg(QString::asprintf("%0.2f", rate));
}

} // namespace

TFilmPlayer* TMainForm::CreatePlayer() {
    TFilmPlayer* player = createPlayer_ ? createPlayer_(plVideo) : new TMMediaPlayer(plVideo);
    player->setParent(this);
    if (QWidget* video = player->VideoWidget()) {
        // The picture fills the region above the caption panels.
        static_cast<QBoxLayout*>(plVideo->layout())->insertWidget(0, video, 1);
        video->hide();
        video->show();
    }
    connect(player, &TFilmPlayer::PlayStateChange, this, &TMainForm::PlayerPlayStateChange);
    connect(player, &TFilmPlayer::EndOfStream, this, [](int) {});
    connect(player, &TFilmPlayer::PositionReported, this, [this] {
        if (Player && Player->PlayState() != TFilmPlayer::Playing) FollowSeek();
    });
    return player;
}

void TMainForm::FileOpenMovieExecute() {
    // The film's own folder, else the active document's: a film and its subtitles sit together.
    QString near = Player ? Player->FileName() : QString();
    if (near.isEmpty() && ActiveDocumentSide() >= 0)
        near = QString::fromStdString(Pane[ActiveDocumentSide()]->Doc()->FileName());
    const QString path = ChooseFileToOpen(this, TextOf(txOpenFilmTitle),
                                          QString::fromUtf8(kFilmFilter), QStringLiteral("AVI"), near);
    if (!path.isEmpty()) FileOpenMovieAccept(path);
}

bool TMainForm::FileOpenMovieAccept(const QString& path) {
    if (!Player) return false;
    Player->Stop();
    // The picture gets its room before the film loads: the player draws into a view that must
    // have been laid out (and so made ready to draw) by then, else the film plays without it.
    OpenPictureRoom();
    if (!Player->SetFileName(path)) {
        FitVideoRegion();
        Questions().MessageBox(this, TextOf(txFilmNotOpened) + QStringLiteral("\n") + path,
                               QString(), TMsgKind::Error, {mrOk}, mrOk);
        return false;
    }
    UpdateWindowTitle();
    FitVideoRegion();

    const double d = Player->Duration();
    const int length = std::max(0, TruncToInt(d));
    TrackBar->setTickInterval(std::max(0, TruncToInt(d * 0.05)));
    {
        // Setting the range must not seek: the film was just stopped at 0.
        TrackFollows = false;
        TrackBar->setRange(0, length);
        TrackBar->setValue(0);
    }
    // From now on a move of the thumb by the user seeks, playing, paused or stopped.
    TrackFollows = true;
    UpdateTrackBarEnabled();
    FilmLengthText = QString::fromStdString(MsToTimeText(
        SaturateMs(std::isfinite(d) ? int64_t(std::trunc(std::min(d, 1e12) * 1000)) : 0)));

    for (QAction* a : {aPlay, aSlow, aForward, aPause, aStop})
        a->setEnabled(true);
    WaveFilmOpened(path);
    return true;
}

void TMainForm::aPlayExecute() {
    if (!Player) return;
    Panels[4]->setText(TextOf(txSpeedNormal));
    Player->SetRate(1);
    Player->Play();
}

void TMainForm::aPauseExecute() {
    if (Player) Player->Pause();
}

void TMainForm::aStopExecute() {
    if (Player) Player->Stop();
}

void TMainForm::aSlowExecute() {
    if (!Player) return;
    Player->SetRate(Player->Rate() * 0.5);
    Panels[4]->setText(SpeedText(Player->Rate()));
}

void TMainForm::aForwardExecute() {
    if (!Player) return;
    Player->SetRate(Player->Rate() * 2);
    Panels[4]->setText(SpeedText(Player->Rate()));
}

void TMainForm::PlayerPlayStateChange(int /*oldState*/, int newState) {
    switch (newState) {
    case TFilmPlayer::Playing:
        MovieTimer->start();
        aSecRepeat->setEnabled(true);
        if (Pane[0]->Doc() && aShowSubL->isChecked()) {
            SubTimerL->start();
            aSubRepeat->setEnabled(true);
        }
        if (Pane[1]->Doc() && aShowSubR->isChecked()) SubTimerR->start();
        break;
    case TFilmPlayer::Stopped:
        Player->SetCurrentPosition(0);
        // No entry is passed at the film's start: the panes lose their mark too, and the next
        // tick marks and follows whatever entry it finds, also the one marked before.
        for (int side = 0; side < 2; ++side) {
            Pane[side]->ShownIndex = -1;
            Pane[side]->LastShownIndex = -1;
            Pane[side]->GridModel->SetShownIndex(-1);
        }
        SetTrackBarQuietly(0);
        ShowFilmTime(0);
        [[fallthrough]];
    case TFilmPlayer::Paused:
        MovieTimer->stop();
        SubTimerL->stop();
        SubTimerR->stop();
        aSecRepeat->setEnabled(false);
        aSubRepeat->setEnabled(false);
        break;
    default:
        break;
    }
}

void TMainForm::MovieTimerTimer() {
    if (!Player || Player->PlayState() != TFilmPlayer::Playing) return;
    double p = Player->CurrentPosition();
    if (RepeatActive && p >= RepeatTo) {
        p = RepeatFrom;
        Player->SetCurrentPosition(p);
    }
    ShowFilmTime(p);
    // F8 plays one entry: the film pauses at its end.
    if (PlayEntryTo >= 0 && p >= PlayEntryTo) {
        PlayEntryTo = -1;
        Player->Pause();
    }
    // The thumb follows the film at every tick, without seeking; not while the user holds it.
    if (!TrackBar->isSliderDown()) SetTrackBarQuietly(TruncToInt(p));
}

void TMainForm::ShowFilmTime(double seconds) {
    // To the nearest millisecond, as F9 and F10 take the moment: the readout says what they set
    // (through a float 1.04 s would read 1,039).
    const double ms = std::isfinite(seconds) ? std::round(std::clamp(seconds, -3e9, 3e9) * 1000) : 0;
    Panels[3]->setText(QString::fromStdString(MsToTimeText(SaturateMs(int64_t(ms)))) +
                       QStringLiteral(" -- ") + FilmLengthText);
}

void TMainForm::UpdateTrackBarEnabled() {
    // A repeat range owns the film's moment while it runs.
    TrackBar->setEnabled(Player && !Player->FileName().isEmpty() && !RepeatActive);
}

void TMainForm::SetTrackBarQuietly(int position) {
    const bool follows = TrackFollows;
    TrackFollows = false;
    TrackBar->setValue(position); // QSlider keeps it within 0 and the maximum
    TrackFollows = follows;
}

void TMainForm::TrackBarChange(int position) {
    if (!TrackFollows || !Player || Player->FileName().isEmpty()) return;
    // A stopped film is at its start; moved elsewhere it is paused there.
    if (Player->PlayState() == TFilmPlayer::Stopped) Player->Pause();
    PlayEntryTo = -1;
    Player->SetCurrentPosition(position);
    FollowSeek();
}
