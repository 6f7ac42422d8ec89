#pragma once
// TMMediaPlayer: the film player over libmpv.
//
// mpv runs with its config files, scripts, on-screen controller, key bindings, network helpers
// and automatic subtitle loading off, so that opening a film runs nothing and reaches nothing.
// The picture goes through mpv's render API into an OpenGL widget; where no OpenGL context can
// be made (the offscreen platform of the tests, for one) mpv decodes to its null output and the
// widget is a plain black panel.
#include "FilmPlayer.h"

#include <QPointer>

struct mpv_handle;
struct mpv_event;

class TMMediaPlayer : public TFilmPlayer {
    Q_OBJECT
public:
    struct Options {
        bool NullAudio = false;    // no sound device is touched (tests)
        bool NullVideo = false;    // no picture even where OpenGL works (tests)
        int OpenTimeoutMs = 10000; // bound on the wait for a film to load
    };

    explicit TMMediaPlayer(QWidget* videoParent);
    TMMediaPlayer(QWidget* videoParent, Options options);
    ~TMMediaPlayer() override;

    QWidget* VideoWidget() override { return view_; }
    // True when the picture is drawn (not mpv's null output).
    bool ShowsPicture() const { return showsPicture_; }
    // One of mpv's properties as text ("options/config", "track-list/count"); empty when mpv
    // has no such property. For checking how the player was set up.
    QString PropertyText(const char* name) const;

    QString FileName() const override { return fileName_; }
    bool SetFileName(const QString& path) override;
    double Duration() const override { return duration_; }
    double CurrentPosition() const override;
    void SetCurrentPosition(double seconds) override;
    double Rate() const override;
    double FrameRate() const override;
    QSize PictureSize() const override;
    void SetRate(double rate) override;
    int PlayState() const override { return state_; }
    void Play() override;
    void Pause() override;
    void Stop() override;
    void FrameStep(bool forward) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void DrainEvents();

private:
    enum class LoadResult { Pending, Loaded, Failed };
    LoadResult Load(const QString& path);
    void HandleEvent(const mpv_event& event, LoadResult* load);
    void SetState(int state);
    void SetPause(bool pause);
    void Seek(double seconds);

    mpv_handle* mpv_ = nullptr;
    QPointer<QWidget> view_;
    Options options_;
    bool showsPicture_ = false;
    QString fileName_;
    bool loaded_ = false;
    bool loadStarted_ = false;
    int state_ = Stopped;
    double duration_ = 0;
    double position_ = 0;
    // A seek is reported at its target until mpv says playing restarted there, so that a read
    // right after a seek never gives the old position.
    bool seekPending_ = false;
    double seekTarget_ = 0;
};
