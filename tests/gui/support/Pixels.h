#pragma once
// Looking at drawn widgets: a face that is installed, a widget rendered to an image, and where its
// dark pixels lie.
#include <QFont>
#include <QImage>
#include <QList>
#include <QPair>
#include <QWidget>

inline QFont DejaVu(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    return font;
}

inline QImage Render(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Dark enough to count as ink.
inline bool Dark(QRgb c, int below = 128) {
    return qGray(c) < below;
}

// Runs of rows holding dark pixels: [first, last] per run.
inline QList<QPair<int, int>> InkRows(const QImage& img, int below = 128) {
    QList<QPair<int, int>> runs;
    for (int y = 0; y < img.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < img.width() && !ink; ++x)
            ink = Dark(img.pixel(x, y), below);
        if (!ink) continue;
        if (!runs.isEmpty() && runs.last().second == y - 1)
            runs.last().second = y;
        else
            runs.append({y, y});
    }
    return runs;
}
