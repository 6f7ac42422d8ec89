#pragma once
// A film player that does exactly what it is told, at once: tests of the main window drive the
// film through it without decoding anything.
#include "FilmPlayer.h"

#include <QHash>
#include <QStringList>
#include <QWidget>

#include <algorithm>

class TFakePlayer : public TFilmPlayer {
public:
    explicit TFakePlayer(QWidget* videoParent) : view_(new QWidget(videoParent)) {
        view_->setObjectName("MediaPlayer");
    }

    // Films "on disk": path to duration. Any other path cannot be opened.
    QHash<QString, double> Films;
    // Every call, in order ("Stop", "Play", "Seek 10", "Rate 2", "Open path").
    QStringList Calls;
    double Position = 0;
    double RateValue = 1;
    // The open film's pictures per second (0: unknown).
    double FrameRateValue = 0;

    QWidget* VideoWidget() override { return view_; }
    QString FileName() const override { return fileName_; }
    // The picture's height when the last film was opened: a real player needs it laid out then.
    int ViewHeightAtOpen = -1;
    bool SetFileName(const QString& path) override {
        Calls << "Open " + path;
        ViewHeightAtOpen = view_->height();
        if (!Films.contains(path)) return false;
        fileName_ = path;
        duration_ = Films.value(path);
        Position = 0;
        return true;
    }
    double Duration() const override { return duration_; }
    double CurrentPosition() const override { return Position; }
    void SetCurrentPosition(double seconds) override {
        Calls << QString("Seek %1").arg(seconds);
        Position = seconds;
    }
    double Rate() const override { return RateValue; }
    void SetRate(double rate) override {
        Calls << QString("Rate %1").arg(rate);
        RateValue = rate;
    }
    double FrameRate() const override { return fileName_.isEmpty() ? 0 : FrameRateValue; }
    // The open film's picture (empty: none).
    QSize PictureSizeValue;
    QSize PictureSize() const override { return fileName_.isEmpty() ? QSize() : PictureSizeValue; }
    int PlayState() const override { return state_; }
    void Play() override {
        Calls << "Play";
        SetState(Playing);
    }
    void Pause() override {
        Calls << "Pause";
        SetState(Paused);
    }
    void Stop() override {
        Calls << "Stop";
        Position = 0;
        SetState(Stopped);
    }

    // A frame is FrameLength seconds; the double pauses like the real player.
    double FrameLength = 0.04;
    void FrameStep(bool forward) override {
        Calls << (forward ? "Frame +1" : "Frame -1");
        Position = std::max(0.0, Position + (forward ? FrameLength : -FrameLength));
        if (state_ == Playing) SetState(Paused);
    }

    // A moment reported late, as a real player reports a frame step's.
    void Report(double seconds) {
        Position = seconds;
        emit PositionReported();
    }

    // The film reaching its end, as a real player reports it.
    void ReachEnd() {
        emit EndOfStream(0);
        Stop();
    }

private:
    void SetState(int state) {
        if (state == state_) return;
        const int old = state_;
        state_ = state;
        emit PlayStateChange(old, state);
    }

    QWidget* view_;
    QString fileName_;
    double duration_ = 0;
    int state_ = Stopped;
};
