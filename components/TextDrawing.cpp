#include "TextDrawing.h"

#include "Kellabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kPi = 3.141592653589793;

// Offsets and depths beyond this lie far outside any screen; bounding them keeps the rectangle
// arithmetic free of overflow for any value a setter accepts.
constexpr int kMaxOffset = 1 << 16;

double Radians(int degrees) {
    return degrees * kPi / 180.0;
}

// Truncation toward zero, kept inside int for any input.
int Trunc(double v) {
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(v), lo, hi));
}

// Rotated text is one line: a line feed is not a break there, it keeps the words apart.
QString OneLine(const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

} // namespace

std::vector<TTextPass> DecorationPasses(TTextStyleType style, TShadowPathType path, int depth,
                                        TColor shadowColor) {
    const int d = std::clamp(depth, -kMaxOffset, kMaxOffset);
    switch (style) {
    case tsRaised:
        return {{QPoint(d, d), clBtnShadow}, {QPoint(-d, -d), clBtnHighlight}};
    case tsRecesed:
        return {{QPoint(d, d), clBtnHighlight}, {QPoint(-d, -d), clBtnShadow}};
    case tsShadow:
        switch (path) {
        case spLeftUp:
            return {{QPoint(-d, -d), shadowColor}};
        case spLeftDown:
            return {{QPoint(-d, d), shadowColor}};
        case spRightUp:
            return {{QPoint(d, -d), shadowColor}};
        case spRightDown:
            return {{QPoint(d, d), shadowColor}};
        }
        return {};
    case tsNone:
        break;
    }
    return {};
}

TAngleLayout AngleLayout(int angle, int cx, int cy) {
    const double a = Radians(angle);
    TAngleLayout out;
    // The rotation turns about the text's top-left corner; the offset brings the corner of the
    // rotated box that lies furthest up and left back to the rectangle's corner.
    if (angle <= 90) {
        out.dy = Trunc(std::sin(a) * cx);
    } else if (angle <= 180) {
        out.dx = Trunc(-std::cos(a) * cx);
        out.dy = Trunc(std::cos(Radians(180 - angle)) * cy + std::sin(a) * cx);
    } else if (angle <= 270) {
        out.dx = Trunc(std::sin(Radians(angle - 180)) * cy - std::cos(a) * cx);
        out.dy = Trunc(std::sin(Radians(270 - angle)) * cy);
    } else {
        out.dx = Trunc(std::sin(Radians(360 - angle)) * cy);
    }
    const auto absTrunc = [](double v) { return std::abs(qint64(Trunc(v))); };
    const qint64 w = absTrunc(std::cos(a) * cx) + absTrunc(std::sin(a) * cy);
    const qint64 h = absTrunc(std::sin(a) * cx) + absTrunc(std::cos(a) * cy);
    out.width = int(std::min<qint64>(w, std::numeric_limits<int>::max()));
    out.height = int(std::min<qint64>(h, std::numeric_limits<int>::max()));
    return out;
}

int NormalTextAngle(int n) {
    // The closed form of: below zero, add 360 while under -360 and once more; then subtract 360
    // while over 360.
    if (n < 0) {
        const int m = n % 360;
        return m == 0 ? 0 : m + 360;
    }
    if (n > 360) return (n - 1) % 360 + 1;
    return n;
}

int CountDelimiter(const QString& delimiters, const QString& text) {
    int count = 0;
    for (const QChar c : text)
        if (delimiters.contains(c)) ++count;
    return count;
}

QStringList WrapTextLines(const QString& text, const QFontMetrics& fm, int width, bool wordWrap) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (!wordWrap) return lines;
    constexpr int flags = Qt::TextShowMnemonic | Qt::TextExpandTabs | Qt::TextSingleLine;
    QStringList out;
    for (const QString& line : lines) {
        // Greedy breaking at spaces; a single word wider than the width keeps a line of its own.
        const QStringList words = line.split(QLatin1Char(' '));
        QString current = words.first();
        for (qsizetype i = 1; i < words.size(); ++i) {
            const QString candidate = current + QLatin1Char(' ') + words[i];
            if (fm.size(flags, candidate).width() <= width) {
                current = candidate;
            } else {
                out << current;
                current = words[i];
            }
        }
        out << current;
    }
    return out;
}

void DrawTextLines(QPainter& painter, const QRect& r, const QString& text, int lineHeight,
                   Qt::Alignment hAlign, bool rightToLeft, bool wordWrap) {
    Qt::Alignment align = hAlign & Qt::AlignHorizontal_Mask;
    if (rightToLeft) {
        if (align & Qt::AlignLeft)
            align = Qt::AlignRight;
        else if (align & Qt::AlignRight)
            align = Qt::AlignLeft;
    }
    const int flags = int(align) | Qt::AlignAbsolute | Qt::AlignTop | Qt::TextShowMnemonic |
                      Qt::TextExpandTabs | Qt::TextSingleLine | Qt::TextDontClip |
                      (rightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
    const int step = std::max(1, lineHeight);
    painter.save();
    painter.setClipRect(r, Qt::IntersectClip);
    qint64 y = r.top();
    for (const QString& line : WrapTextLines(text, painter.fontMetrics(), r.width(), wordWrap)) {
        if (y > r.bottom()) break;
        if (y + step > r.top())
            painter.drawText(QRect(r.left(), int(y), r.width(), step), flags, line);
        y += step;
    }
    painter.restore();
}

TKelTextControl::TKelTextControl(QWidget* parent, Qt::Alignment alignment, bool autoSize)
    : QWidget(parent), alignment_(alignment & Qt::AlignHorizontal_Mask), autoSize_(autoSize),
      textStyle_(tsShadow), shadowPath_(spRightDown) {}

// The blink timer is a child of the control and goes with it.
TKelTextControl::~TKelTextControl() = default;

void TKelTextControl::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    AdjustBounds();
    update();
}

void TKelTextControl::setTextStyle(TTextStyleType style) {
    if (style == textStyle_) return;
    textStyle_ = style;
    update();
}

void TKelTextControl::setShadowPath(TShadowPathType path) {
    if (path == shadowPath_) return;
    shadowPath_ = path;
    update();
}

void TKelTextControl::setShadowColor(const QColor& color) {
    const TColor value = QColorToTColor(color);
    if (value == shadowColor_) return;
    shadowColor_ = value;
    update();
}

void TKelTextControl::setShadowDepth(int depth) {
    if (depth == shadowDepth_) return;
    shadowDepth_ = depth;
    update();
}

void TKelTextControl::setTextAngle(int angle) {
    // Compared before normalising: 359 and -1 store the same angle but are different requests.
    if (angle == textAngle_) return;
    textAngle_ = NormalTextAngle(angle);
    AdjustBounds();
    update();
}

void TKelTextControl::setBlinkStatus(bool blink) {
    if (blink == blink_) return;
    delete blinkTimer_;
    blinkTimer_ = nullptr;
    blink_ = blink;
    if (blink_) {
        blinkTimer_ = new QTimer(this);
        connect(blinkTimer_, &QTimer::timeout, this, &TKelTextControl::BlinkLabel);
        // A Qt timer of interval 0 would fire on every pass of the event loop; here it never ticks.
        if (blinkRate_ > 0) blinkTimer_->start(blinkRate_);
    }
    update();
}

void TKelTextControl::setBlinkRate(int ms) {
    if (ms == blinkRate_) return;
    blinkRate_ = ms;
    if (blinkTimer_) {
        if (ms > 0)
            blinkTimer_->start(ms);
        else
            blinkTimer_->stop();
    }
    update();
}

void TKelTextControl::BlinkLabel() {
    setVisible(isHidden());
}

void TKelTextControl::setColor(const QColor& color) {
    const TColor value = QColorToTColor(color);
    if (value == color_) return;
    color_ = value;
    update();
}

void TKelTextControl::setFontColor(const QColor& color) {
    const TColor value = QColorToTColor(color);
    if (value == fontColor_) return;
    fontColor_ = value;
    update();
}

void TKelTextControl::setAlignment(Qt::Alignment alignment) {
    alignment &= Qt::AlignHorizontal_Mask;
    if (alignment == alignment_) return;
    alignment_ = alignment;
    update();
}

void TKelTextControl::setAutoSize(bool autoSize) {
    if (autoSize == autoSize_) return;
    autoSize_ = autoSize;
    AdjustBounds();
    update();
}

QSize TKelTextControl::OneLineSize(const QString& text) const {
    const QFontMetrics fm = fontMetrics();
    return QSize(fm.horizontalAdvance(OneLine(text)), fm.height());
}

void TKelTextControl::AdjustBounds() {
    if (!autoSize_ || textAngle_ == 0) return;
    // Paint draws the caption with its "|" turned into line feeds; measured the same way here.
    QString text = caption_;
    text.replace(QLatin1Char('|'), QLatin1Char('\n'));
    const QSize extent = OneLineSize(text);
    const TAngleLayout box = AngleLayout(textAngle_, extent.width(), extent.height());
    resize(box.width, box.height);
}

void TKelTextControl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) AdjustBounds();
}

void TKelTextControl::CalcTextPos(QRect& r, int angle, const QString& text) {
    const QSize extent = OneLineSize(text);
    const TAngleLayout box = AngleLayout(angle, extent.width(), extent.height());
    r.translate(box.dx, box.dy);
    if (autoSize_ && size() != QSize(box.width, box.height)) resize(box.width, box.height);
    if (alignment_ & Qt::AlignHCenter)
        r.translate((width() - box.width) / 2, 0);
    else if (alignment_ & Qt::AlignRight)
        r.translate(width() - box.width, 0);
}

void TKelTextControl::DrawAngleText(QPainter& painter, QRect r, const QString& text, int angle) {
    CalcTextPos(r, angle, text);
    painter.save();
    painter.setLayoutDirection(Qt::LeftToRight);
    painter.translate(r.topLeft());
    // Counter-clockwise on the screen, whose y axis points down.
    painter.rotate(-angle);
    painter.drawText(QPointF(0, painter.fontMetrics().ascent()), OneLine(text));
    painter.restore();
}

void TKelTextControl::DrawStyledText(QPainter& painter, const QRect& t, const QString& text,
                                     int lineHeight, bool rightToLeft, bool wordWrap) {
    painter.setFont(DrawFont());
    const auto pass = [&](const QRect& r, TColor color) {
        painter.setPen(TColorToQColor(color, palette()));
        if (textAngle_ != 0)
            DrawAngleText(painter, r, text, textAngle_);
        else
            DrawTextLines(painter, r, text, lineHeight, alignment_, rightToLeft, wordWrap);
    };
    for (const TTextPass& p : DecorationPasses(textStyle_, shadowPath_, shadowDepth_, shadowColor_))
        pass(t.translated(p.offset), p.color);
    // The text itself last, so it always lies on top of its decoration.
    pass(t, isEnabled() ? fontColor_ : clGrayText);
}

void TKelTextControl::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    emit mouseEntered();
}

void TKelTextControl::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit mouseLeft();
}

void TKelTextControl::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
