#include "MediaPlayer_OCX.h"

#include "MpvVideo.h"

#include <mpv/client.h>

#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace {

// Reply ids of the observed properties.
enum : uint64_t { PropTimePos = 1, PropDuration, PropEofReached };

void SetOption(mpv_handle* mpv, const char* name, const char* value) {
    // An option this mpv does not know is no reason to fail: the rest still holds.
    mpv_set_option_string(mpv, name, value);
}

} // namespace

TMMediaPlayer::TMMediaPlayer(QWidget* videoParent) : TMMediaPlayer(videoParent, Options{}) {}

TMMediaPlayer::TMMediaPlayer(QWidget* videoParent, Options options)
    : TFilmPlayer(videoParent), options_(options) {
    mpv_ = mpv_create();
    if (!mpv_) throw std::runtime_error("The film player (libmpv) could not be created.");

    // Nothing runs and nothing is fetched when a film opens.
    SetOption(mpv_, "config", "no");
    SetOption(mpv_, "load-scripts", "no");
    SetOption(mpv_, "ytdl", "no");
    SetOption(mpv_, "osc", "no");
    SetOption(mpv_, "input-default-bindings", "no");
    SetOption(mpv_, "input-vo-keyboard", "no");
    SetOption(mpv_, "load-stats-overlay", "no");
    SetOption(mpv_, "load-osd-console", "no");
    SetOption(mpv_, "resume-playback", "no");
    SetOption(mpv_, "use-filedir-conf", "no");
    // A film is only read, never followed elsewhere: a playlist, an EDL file, a list of files, a
    // stream's index or a film referring to others picked as the film opens nothing it names (mpv
    // then does not open it at all), and no network protocol is open to what the demuxers read.
    SetOption(mpv_, "access-references", "no");
    SetOption(mpv_, "load-unsafe-playlists", "no");
    SetOption(mpv_, "ordered-chapters", "no");
    SetOption(mpv_, "autoload-files", "no");
    SetOption(mpv_, "audio-file-auto", "no");
    SetOption(mpv_, "cover-art-auto", "no");
    SetOption(mpv_, "demuxer-lavf-o", "protocol_whitelist=file");
    SetOption(mpv_, "stream-lavf-o", "protocol_whitelist=file");
    // The editor draws its captions itself: neither the subtitle file being edited nor the
    // film's own subtitle tracks may appear in the picture.
    SetOption(mpv_, "sub-auto", "no");
    SetOption(mpv_, "sid", "no");
    SetOption(mpv_, "osd-level", "0");
    // A film opens paused and stays loaded at its end; "stopped" is paused at 0.
    SetOption(mpv_, "pause", "yes");
    SetOption(mpv_, "keep-open", "yes");
    SetOption(mpv_, "idle", "yes");
    SetOption(mpv_, "hr-seek", "yes");
    SetOption(mpv_, "audio-fallback-to-null", "yes");
    // Software decoding only: no probing of graphics drivers for decoders.
    SetOption(mpv_, "hwdec", "no");
    SetOption(mpv_, "gpu-hwdec-interop", "no");
    if (options_.NullAudio) SetOption(mpv_, "ao", "null");

    showsPicture_ = !options_.NullVideo && TMpvGlView::OpenGLAvailable();
    SetOption(mpv_, "vo", showsPicture_ ? "libmpv" : "null");

    if (mpv_initialize(mpv_) < 0) {
        mpv_terminate_destroy(mpv_);
        mpv_ = nullptr;
        throw std::runtime_error("The film player (libmpv) could not be started.");
    }
    mpv_observe_property(mpv_, PropTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv_, PropDuration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv_, PropEofReached, "eof-reached", MPV_FORMAT_FLAG);

    if (showsPicture_)
        view_ = new TMpvGlView(mpv_, videoParent);
    else
        view_ = new TVideoPlaceholder(videoParent);
    view_->setObjectName("MediaPlayer");
    view_->installEventFilter(this);

    // mpv's wakeup comes from its own thread; the events are drained on the GUI thread.
    mpv_set_wakeup_callback(
        mpv_,
        [](void* self) {
            QMetaObject::invokeMethod(static_cast<TMMediaPlayer*>(self), "DrainEvents",
                                      Qt::QueuedConnection);
        },
        this);
}

TMMediaPlayer::~TMMediaPlayer() {
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    // The render context must go before the core it draws from.
    delete view_.data();
    mpv_terminate_destroy(mpv_);
}

bool TMMediaPlayer::SetFileName(const QString& path) {
    const QString previous = loaded_ ? fileName_ : QString();
    if (Load(path) == LoadResult::Loaded) {
        fileName_ = path;
        SetState(Stopped);
        return true;
    }
    // Keep the film that was open, as if nothing had been asked.
    loaded_ = false;
    duration_ = 0;
    position_ = 0;
    if (!previous.isEmpty() && Load(previous) == LoadResult::Loaded)
        fileName_ = previous;
    else
        fileName_.clear();
    SetState(Stopped);
    return false;
}

TMMediaPlayer::LoadResult TMMediaPlayer::Load(const QString& path) {
    loaded_ = false;
    loadStarted_ = false;
    seekPending_ = false;
    SetPause(true);
    // An absolute path is a file to mpv, never an address such as "http://..." or "dvd://...".
    const QByteArray file = QFileInfo(path).absoluteFilePath().toUtf8();
    const char* command[]{"loadfile", file.constData(), "replace", nullptr};
    if (mpv_command(mpv_, command) < 0) return LoadResult::Failed;

    // Wait, bounded, for mpv to say the film is loaded (its duration is then known) or that it
    // could not be opened. The events seen meanwhile are handled as usual.
    LoadResult result = LoadResult::Pending;
    QElapsedTimer clock;
    clock.start();
    while (result == LoadResult::Pending) {
        const qint64 left = options_.OpenTimeoutMs - clock.elapsed();
        if (left <= 0) break;
        const mpv_event* event = mpv_wait_event(mpv_, static_cast<double>(left) / 1000.0);
        if (event->event_id != MPV_EVENT_NONE) HandleEvent(*event, &result);
    }
    if (result != LoadResult::Loaded) {
        const char* stop[]{"stop", nullptr};
        mpv_command(mpv_, stop);
        return LoadResult::Failed;
    }
    double duration = 0;
    if (mpv_get_property(mpv_, "duration", MPV_FORMAT_DOUBLE, &duration) >= 0 &&
        std::isfinite(duration) && duration > 0)
        duration_ = duration;
    else
        duration_ = 0;
    position_ = 0;
    loaded_ = true;
    return LoadResult::Loaded;
}

void TMMediaPlayer::DrainEvents() {
    if (!mpv_) return;
    for (;;) {
        const mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE) break;
        HandleEvent(*event, nullptr);
    }
}

void TMMediaPlayer::HandleEvent(const mpv_event& event, LoadResult* load) {
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        loadStarted_ = true;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (load) *load = LoadResult::Loaded;
        break;
    case MPV_EVENT_END_FILE: {
        // The end of the film that a new load replaces is not a failure of the new one.
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        if (load && loadStarted_ && end && end->reason != MPV_END_FILE_REASON_STOP)
            *load = LoadResult::Failed;
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        seekPending_ = false;
        break;
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* prop = static_cast<const mpv_event_property*>(event.data);
        if (event.reply_userdata == PropTimePos && prop->format == MPV_FORMAT_DOUBLE) {
            if (!seekPending_) {
                const double reported = *static_cast<const double*>(prop->data);
                const bool moved = reported != position_;
                position_ = reported;
                if (moved && state_ != Playing && !load) emit PositionReported();
            }
        } else if (event.reply_userdata == PropDuration && prop->format == MPV_FORMAT_DOUBLE) {
            const double d = *static_cast<const double*>(prop->data);
            if (std::isfinite(d) && d > 0) duration_ = d;
        } else if (event.reply_userdata == PropEofReached && prop->format == MPV_FORMAT_FLAG) {
            const bool eof = *static_cast<const int*>(prop->data) != 0;
            if (eof && loaded_ && state_ == Playing && !load) {
                emit EndOfStream(0);
                Stop();
            }
        }
        break;
    }
    default:
        break;
    }
}

QString TMMediaPlayer::PropertyText(const char* name) const {
    char* text = mpv_get_property_string(mpv_, name);
    if (!text) return QString();
    const QString out = QString::fromUtf8(text);
    mpv_free(text);
    return out;
}

double TMMediaPlayer::CurrentPosition() const {
    if (!loaded_) return 0;
    return seekPending_ ? seekTarget_ : position_;
}

void TMMediaPlayer::SetCurrentPosition(double seconds) {
    if (!loaded_ || !std::isfinite(seconds)) return;
    Seek(seconds);
}

void TMMediaPlayer::Seek(double seconds) {
    seconds = std::max(0.0, duration_ > 0 ? std::min(seconds, duration_) : seconds);
    const QByteArray target = QByteArray::number(seconds, 'f', 6);
    const char* command[]{"seek", target.constData(), "absolute+exact", nullptr};
    if (mpv_command(mpv_, command) < 0) return;
    seekPending_ = true;
    seekTarget_ = seconds;
    position_ = seconds;
}

void TMMediaPlayer::FrameStep(bool forward) {
    if (!loaded_) return;
    // mpv pauses on a frame step; the position arrives with its next report.
    const char* command[]{forward ? "frame-step" : "frame-back-step", nullptr};
    if (mpv_command(mpv_, command) < 0) return;
    if (state_ == Playing) SetState(Paused);
}

double TMMediaPlayer::Rate() const {
    double speed = 1;
    if (mpv_get_property(mpv_, "speed", MPV_FORMAT_DOUBLE, &speed) < 0) return 1;
    return speed;
}

double TMMediaPlayer::FrameRate() const {
    if (!loaded_) return 0;
    for (const char* name : {"container-fps", "estimated-vf-fps"}) {
        double fps = 0;
        if (mpv_get_property(mpv_, name, MPV_FORMAT_DOUBLE, &fps) >= 0 && std::isfinite(fps) &&
            fps > 0)
            return fps;
    }
    return 0;
}

QSize TMMediaPlayer::PictureSize() const {
    if (!loaded_) return QSize();
    int64_t width = 0, height = 0;
    if (mpv_get_property(mpv_, "width", MPV_FORMAT_INT64, &width) < 0 ||
        mpv_get_property(mpv_, "height", MPV_FORMAT_INT64, &height) < 0 || width <= 0 ||
        height <= 0 || width > INT32_MAX || height > INT32_MAX)
        return QSize();
    return QSize(int(width), int(height));
}

void TMMediaPlayer::SetRate(double rate) {
    // mpv refuses speeds outside its range; the rate read back then stays where it was.
    mpv_set_property(mpv_, "speed", MPV_FORMAT_DOUBLE, &rate);
}

void TMMediaPlayer::SetPause(bool pause) {
    int flag = pause ? 1 : 0;
    mpv_set_property(mpv_, "pause", MPV_FORMAT_FLAG, &flag);
}

void TMMediaPlayer::Play() {
    if (!loaded_) return;
    SetPause(false);
    SetState(Playing);
}

void TMMediaPlayer::Pause() {
    if (!loaded_) return;
    SetPause(true);
    SetState(Paused);
}

void TMMediaPlayer::Stop() {
    SetPause(true);
    if (loaded_) Seek(0);
    SetState(Stopped);
}

void TMMediaPlayer::SetState(int state) {
    if (state == state_) return;
    const int old = state_;
    state_ = state;
    emit PlayStateChange(old, state);
}

bool TMMediaPlayer::eventFilter(QObject* watched, QEvent* event) {
    // A click on the picture plays or pauses the film.
    if (watched == view_ && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && loaded_) {
        if (state_ == Playing)
            Pause();
        else
            Play();
        return true;
    }
    return TFilmPlayer::eventFilter(watched, event);
}
