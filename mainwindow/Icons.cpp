#include "Icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

using Drawing = std::function<void(QPainter&)>;

const QColor kInk(40, 40, 40);
const QColor kBlue(40, 90, 170);
const QColor kGreen(30, 140, 60);
const QColor kRed(190, 40, 40);
const QColor kPaper(250, 250, 245);
const QColor kFolder(220, 170, 60);

QIcon Draw(const Drawing& draw) {
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c, const QColor& color) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    p.fillPath(path, color);
}

void Page(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(5, 3, 14, 18));
    p.setPen(QPen(kInk, 1));
    for (int y = 7; y <= 17; y += 3)
        p.drawLine(QPointF(8, y), QPointF(16, y));
}

void Folder(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kFolder);
    QPainterPath path;
    path.moveTo(2, 6);
    path.lineTo(9, 6);
    path.lineTo(11, 8);
    path.lineTo(22, 8);
    path.lineTo(22, 20);
    path.lineTo(2, 20);
    path.closeSubpath();
    p.drawPath(path);
}

void Disk(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.drawRect(QRectF(6, 14, 12, 7));
}

void Letter(QPainter& p, const QString& text, const QRectF& box, const QColor& color,
            int pixelSize = 11) {
    QFont font;
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
}

// A circling arrow around a letter: the two repeat commands.
void Repeat(QPainter& p, const QColor& color, const QString& letter) {
    p.setPen(QPen(color, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 300 * 16);
    Triangle(p, {17, 2}, {22, 8}, {15, 9}, color);
    Letter(p, letter, QRectF(4, 4, 16, 16), kInk, 10);
}

void Magnifier(QPainter& p) {
    p.setPen(QPen(kInk, 2.2));
    p.setBrush(QColor(200, 225, 255));
    p.drawEllipse(QRectF(3, 3, 12, 12));
    p.drawLine(QPointF(13.5, 13.5), QPointF(21, 21));
}

void Film(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(3, 4, 18, 16));
    p.setBrush(kPaper);
    for (int y = 5; y < 20; y += 4) {
        p.drawRect(QRectF(4, y, 2, 2));
        p.drawRect(QRectF(18, y, 2, 2));
    }
    p.setBrush(QColor(120, 170, 230));
    p.drawRect(QRectF(7.5, 6, 9, 12));
}

const QHash<QString, Drawing>& Drawings() {
    static const QHash<QString, Drawing> drawings{
        {"FileOpenMovie", [](QPainter& p) { Film(p); }},
        {"aPlay",
         [](QPainter& p) {
             Triangle(p, {7, 4}, {20, 12}, {7, 20}, kGreen);
         }},
        {"aPause",
         [](QPainter& p) {
             p.fillRect(QRectF(6, 4, 4, 16), kBlue);
             p.fillRect(QRectF(14, 4, 4, 16), kBlue);
         }},
        {"aStop", [](QPainter& p) { p.fillRect(QRectF(5, 5, 14, 14), kRed); }},
        {"aSlow",
         [](QPainter& p) {
             Triangle(p, {12, 5}, {3, 12}, {12, 19}, kBlue);
             Triangle(p, {21, 5}, {12, 12}, {21, 19}, kBlue);
         }},
        {"aForward",
         [](QPainter& p) {
             Triangle(p, {3, 5}, {12, 12}, {3, 19}, kBlue);
             Triangle(p, {12, 5}, {21, 12}, {12, 19}, kBlue);
         }},
        {"aSecRepeat", [](QPainter& p) { Repeat(p, kGreen, "s"); }},
        {"aSubRepeat", [](QPainter& p) { Repeat(p, kBlue, "T"); }},
        {"aCombine",
         [](QPainter& p) {
             p.setPen(QPen(kBlue, 2.4));
             p.drawLine(QPointF(4, 4), QPointF(12, 12));
             p.drawLine(QPointF(4, 20), QPointF(12, 12));
             p.drawLine(QPointF(12, 12), QPointF(19, 12));
             Triangle(p, {17, 8}, {22, 12}, {17, 16}, kBlue);
         }},
        {"aImport",
         [](QPainter& p) {
             Page(p);
             p.setPen(QPen(kGreen, 2.6));
             p.drawLine(QPointF(1, 12), QPointF(11, 12));
             Triangle(p, {10, 7}, {16, 12}, {10, 17}, kGreen);
         }},
        {"aEditSubtitle",
         [](QPainter& p) {
             Page(p);
             p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(20, 4), QPointF(10, 16));
         }},
        {"aCheckTime",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.6));
             p.setBrush(kPaper);
             p.drawEllipse(QRectF(3, 3, 18, 18));
             p.drawLine(QPointF(12, 12), QPointF(12, 6));
             p.drawLine(QPointF(12, 12), QPointF(16, 14));
         }},
        {"aFind", [](QPainter& p) { Magnifier(p); }},
        {"aFindNext",
         [](QPainter& p) {
             Magnifier(p);
             Triangle(p, {15, 2}, {22, 6}, {15, 10}, kGreen);
         }},
        {"aReplace",
         [](QPainter& p) {
             Magnifier(p);
             Letter(p, "ab", QRectF(2, 3, 14, 12), kRed, 8);
         }},
        {"aSyncLR",
         [](QPainter& p) {
             p.setPen(QPen(kBlue, 2.4));
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(2, 8, 11, 8), 4, 4);
             p.drawRoundedRect(QRectF(11, 8, 11, 8), 4, 4);
         }},
        {"aOpenSubtitleL", [](QPainter& p) { Folder(p); }},
        {"aShowSubL",
         [](QPainter& p) {
             p.fillRect(QRectF(2, 4, 20, 16), kInk);
             p.fillRect(QRectF(5, 14, 14, 2), Qt::white);
             p.fillRect(QRectF(7, 17, 10, 2), Qt::white);
         }},
        {"aSyncL",
         [](QPainter& p) {
             Page(p);
             Triangle(p, {13, 12}, {22, 7}, {22, 17}, kGreen);
         }},
        {"aSegModifyL",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.8));
             p.drawLine(QPointF(3, 6), QPointF(21, 6));
             p.drawLine(QPointF(3, 18), QPointF(21, 18));
             p.setPen(QPen(kRed, 2.4));
             p.drawLine(QPointF(6, 12), QPointF(18, 12));
             Triangle(p, {3, 12}, {8, 8}, {8, 16}, kRed);
             Triangle(p, {21, 12}, {16, 8}, {16, 16}, kRed);
         }},
        {"aSaveL", [](QPainter& p) { Disk(p); }},
        // The page read again: a turning arrow over it.
        {"aReopenL",
         [](QPainter& p) {
             Page(p);
             p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(8, 7, 10, 10), 60 * 16, 270 * 16);
             Triangle(p, {17, 5}, {21, 10}, {15, 11}, kGreen);
         }},
        {"aSaveAsL",
         [](QPainter& p) {
             Disk(p);
             p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(22, 6), QPointF(14, 16));
         }},
    };
    return drawings;
}

// Names in the freedesktop icon theme, where one fits.
const QHash<QString, QString>& ThemeNames() {
    static const QHash<QString, QString> names{
        {"aPlay", "media-playback-start"},  {"aPause", "media-playback-pause"},
        {"aStop", "media-playback-stop"},   {"aSlow", "media-seek-backward"},
        {"aForward", "media-seek-forward"}, {"aFind", "edit-find"},
        {"aReplace", "edit-find-replace"},  {"aSaveL", "document-save"},
        {"aSaveAsL", "document-save-as"},   {"aOpenSubtitleL", "document-open"},
    };
    return names;
}

} // namespace

QIcon CommandIcon(const QString& commandName) {
    // Both sides' commands share one picture.
    QString name = commandName;
    if (name.endsWith('R') && name != QLatin1String("aSyncLR")) name.back() = 'L';
    const auto theme = ThemeNames().constFind(name);
    if (theme != ThemeNames().constEnd() && QIcon::hasThemeIcon(*theme))
        return QIcon::fromTheme(*theme);
    const auto drawing = Drawings().constFind(name);
    if (drawing == Drawings().constEnd()) return QIcon();
    return Draw(*drawing);
}
