#include "MpvVideo.h"

#include <mpv/render_gl.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace {

void* GetProcAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

} // namespace

TMpvGlView::TMpvGlView(mpv_handle* mpv, QWidget* parent) : QOpenGLWidget(parent), mpv_(mpv) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TMpvGlView::~TMpvGlView() {
    makeCurrent();
    FreeRenderContext();
    doneCurrent();
}

bool TMpvGlView::OpenGLAvailable() {
    // Qt's offscreen platform crashes on a QOpenGLWidget; the minimal one has no GL either.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    QOpenGLContext context;
    if (!context.create()) return false;
    QOffscreenSurface surface;
    surface.create();
    const bool ok = context.makeCurrent(&surface);
    context.doneCurrent();
    return ok;
}

void TMpvGlView::initializeGL() {
    // A re-parented widget gets a new context; the old render context belongs to the old one.
    connect(
        context(), &QOpenGLContext::aboutToBeDestroyed, this,
        [this] {
            makeCurrent();
            FreeRenderContext();
            doneCurrent();
        },
        Qt::DirectConnection);
    mpv_opengl_init_params glInit{&GetProcAddress, nullptr};
    mpv_render_param params[]{
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&render_, mpv_, params) < 0) {
        render_ = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(render_, &TMpvGlView::OnUpdate, this);
}

void TMpvGlView::paintGL() {
    if (!render_) {
        QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()),
                       static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), 0};
    int flipY = 1;
    mpv_render_param params[]{
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
}

void TMpvGlView::FrameReady() {
    if (render_) update();
}

void TMpvGlView::FreeRenderContext() {
    if (render_) {
        mpv_render_context_free(render_);
        render_ = nullptr;
    }
}

void TMpvGlView::OnUpdate(void* self) {
    // Called on one of mpv's threads: hand over to the GUI thread.
    QMetaObject::invokeMethod(static_cast<TMpvGlView*>(self), "FrameReady", Qt::QueuedConnection);
}

TVideoPlaceholder::TVideoPlaceholder(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
}
