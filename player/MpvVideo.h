#pragma once
// The two kinds of picture widget the player can own.
#include <QOpenGLWidget>
#include <QWidget>

struct mpv_handle;
struct mpv_render_context;

// mpv draws each frame through its render API into this widget's framebuffer.
class TMpvGlView : public QOpenGLWidget {
    Q_OBJECT
public:
    TMpvGlView(mpv_handle* mpv, QWidget* parent);
    ~TMpvGlView() override;

    // Whether this machine can make an OpenGL context at all.
    static bool OpenGLAvailable();

protected:
    void initializeGL() override;
    void paintGL() override;

private slots:
    void FrameReady();

private:
    void FreeRenderContext();
    static void OnUpdate(void* self);

    mpv_handle* mpv_;
    mpv_render_context* render_ = nullptr;
};

// Where there is no OpenGL: a black panel in the picture's place.
class TVideoPlaceholder : public QWidget {
    Q_OBJECT
public:
    explicit TVideoPlaceholder(QWidget* parent);
};
