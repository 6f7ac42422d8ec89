#pragma once
// What the editor needs from a film player. The main window, the caption timers and the edit
// window talk to this interface only, so that tests can drive a deterministic double.
//
// Times are film seconds as doubles. The play state is 0 stopped, 1 paused, 2 playing.
#include <QObject>
#include <QSize>
#include <QString>

class QWidget;

class TFilmPlayer : public QObject {
    Q_OBJECT
public:
    enum State { Stopped = 0, Paused = 1, Playing = 2 };

    using QObject::QObject;
    ~TFilmPlayer() override = default;

    // The picture, to be placed into the video region by the window that owns the player.
    virtual QWidget* VideoWidget() = 0;

    virtual QString FileName() const = 0;
    // Opens the film without starting it; when it returns true the duration is known. False when
    // the film cannot be opened: the player then keeps the film it had.
    virtual bool SetFileName(const QString& path) = 0;

    virtual double Duration() const = 0;
    virtual double CurrentPosition() const = 0;
    // A seek; playing goes on from the new position.
    virtual void SetCurrentPosition(double seconds) = 0;
    virtual double Rate() const = 0;
    virtual void SetRate(double rate) = 0;
    // Pictures per second of the open film, as its file states it (else as measured); 0 while
    // no film is open or the rate is unknown.
    virtual double FrameRate() const = 0;
    // The open film's picture in its own pixels; empty while no film is open or it has none.
    virtual QSize PictureSize() const { return QSize(); }
    virtual int PlayState() const = 0;

    virtual void Play() = 0;
    virtual void Pause() = 0;
    // Paused at position 0 with the film still loaded.
    virtual void Stop() = 0;
    // One frame forward or back, leaving the film paused there.
    virtual void FrameStep(bool forward) = 0;

signals:
    // After every change of the play state, with the old and the new state.
    void PlayStateChange(int oldState, int newState);
    // The film played to its end; the player stops right after.
    void EndOfStream(int result);
    // A new moment reported while the film does not play: a seek or a frame step has landed
    // (a frame step's moment is known only then).
    void PositionReported();
};
