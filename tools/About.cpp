#include "About.h"

#include "Kellabel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr QSize kSize(420, 236);

QFont Face(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : TDialogBase(parent, "AboutForm", QStringLiteral("關於本程式"), kSize) {
    // No frame, no title bar: the box is its own picture.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(kSize);

    imLogo = Place(new QLabel(this), "imLogo", QRect(18, 20, 96, 96));
    imLogo->setPixmap(Picture(96));

    lbTitle =
        Place(new TKelLabel(QStringLiteral("字幕編輯程式"), this), "lbTitle", QPoint(130, 18));
    lbTitle->setFont(Face(QStringLiteral("標楷體"), 27, true));
    lbTitle->setFontColor(QColor(0xFF, 0x00, 0x00));
    lbTitle->setShadowColor(Qt::black);
    lbTitle->setTransparent(true);

    lbProduct = Place(new TKelLabel(QStringLiteral("Velitra"), this), "lbProduct", QPoint(132, 58));
    lbProduct->setFont(Face(QStringLiteral("Courier New"), 19, true));
    lbProduct->setFontColor(QColor(0x00, 0x00, 0xFF));
    lbProduct->setTransparent(true);

    lbVersion = Place(new QLabel(QStringLiteral("v0.5.5     2002/08/06"), this), "lbVersion",
                      QPoint(132, 88));
    lbMaker =
        Place(new QLabel(QStringLiteral("Kestrow Group."), this), "lbMaker", QPoint(132, 108));
    QFont bold = lbMaker->font();
    bold.setBold(true);
    lbMaker->setFont(bold);
    lbMaker->adjustSize();
    lbRights = Place(new QLabel(QStringLiteral("Copyright (C) 2002 Kestrow Group. 版權所有"), this),
                     "lbRights", QRect(132, 128, kSize.width() - 146, 34));
    lbRights->setWordWrap(true);
    lbRights->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lbLibraries =
        Place(new QLabel(QStringLiteral("本程式使用 Qt (LGPL v3)、libmpv (Debian 版本為 GPL v3+) "
                                        "與 ICU (Unicode License)"),
                         this),
              "lbLibraries", QRect(18, 174, kSize.width() - 36, 48));
    lbLibraries->setWordWrap(true);
    lbLibraries->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette grey = lbLibraries->palette();
    grey.setColor(QPalette::WindowText, QColor(0x55, 0x55, 0x55));
    lbLibraries->setPalette(grey);

    ApplyLanguage();
}

QPixmap TAboutForm::Picture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 96.0;
    p.scale(s, s);

    // A strip of film, its perforations along both edges.
    QPainterPath strip;
    strip.addRoundedRect(QRectF(4, 10, 88, 76), 6, 6);
    p.fillPath(strip, QColor(0x20, 0x20, 0x28));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE8, 0xE8, 0xE8));
    for (int i = 0; i < 7; ++i) {
        p.drawRoundedRect(QRectF(10 + i * 11.5, 14, 6, 6), 1.5, 1.5);
        p.drawRoundedRect(QRectF(10 + i * 11.5, 76, 6, 6), 1.5, 1.5);
    }
    // The frame: a sky over hills.
    const QRectF frame(10, 24, 76, 48);
    QLinearGradient sky(frame.topLeft(), frame.bottomLeft());
    sky.setColorAt(0, QColor(0x4A, 0x90, 0xE2));
    sky.setColorAt(1, QColor(0xB8, 0xD8, 0xF8));
    p.fillRect(frame, sky);
    QPainterPath hills;
    hills.moveTo(frame.left(), frame.bottom());
    hills.cubicTo(30, 46, 50, 66, frame.right(), 48);
    hills.lineTo(frame.bottomRight());
    hills.closeSubpath();
    p.fillPath(hills, QColor(0x3C, 0x8D, 0x40));
    // The caption under the picture: two lines, the second shorter.
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawRect(QRectF(14, 56, 68, 14));
    p.setBrush(QColor(0xFF, 0xF2, 0x60));
    p.drawRoundedRect(QRectF(20, 59, 56, 3), 1.5, 1.5);
    p.drawRoundedRect(QRectF(30, 64, 36, 3), 1.5, 1.5);
    return picture;
}

void TAboutForm::mousePressEvent(QMouseEvent* event) {
    event->accept();
    accept();
}

void TAboutForm::paintEvent(QPaintEvent* event) {
    TDialogBase::paintEvent(event);
    // Without a window frame the box draws its own raised edge.
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette().color(QPalette::Shadow));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(r.adjusted(1, 1, -1, -1));
}
