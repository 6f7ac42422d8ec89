#include "Kelpanel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

// Frame widths beyond this exceed any panel; bounding them keeps the arithmetic in range.
constexpr int kMaxFrame = 1 << 16;

int FrameWidth(int width) {
    return std::clamp(width, 0, kMaxFrame);
}

// A three-dimensional frame of nested one-pixel rectangles, outermost first: top and left edges
// in the top colour, bottom and right in the bottom colour. r shrinks by the width.
void DrawBevel(QPainter& painter, QRect& r, TBevelCut cut, int width, const QPalette& pal) {
    if (cut == bvNone) return;
    const QColor top = TColorToQColor(cut == bvLowered ? clBtnShadow : clBtnHighlight, pal);
    const QColor bottom = TColorToQColor(cut == bvLowered ? clBtnHighlight : clBtnShadow, pal);
    for (int i = FrameWidth(width); i > 0; --i) {
        if (r.width() > 0 && r.height() > 0) {
            painter.fillRect(r.left(), r.top(), r.width(), 1, top);
            painter.fillRect(r.left(), r.top(), 1, r.height(), top);
            painter.fillRect(r.left(), r.bottom(), r.width(), 1, bottom);
            painter.fillRect(r.right(), r.top(), 1, r.height(), bottom);
        }
        r.adjust(1, 1, -1, -1);
    }
}

QRect Shrunk(const QRect& r, TBevelCut cut, int width) {
    const int w = cut == bvNone ? 0 : FrameWidth(width);
    return r.adjusted(w, w, -w, -w);
}

} // namespace

TKelPanel::TKelPanel(QWidget* parent) : TKelTextControl(parent, Qt::AlignHCenter, false) {}

void TKelPanel::setBevelOuter(TBevelCut bevel) {
    if (bevel == bevelOuter_) return;
    bevelOuter_ = bevel;
    update();
}

void TKelPanel::setBevelInner(TBevelCut bevel) {
    if (bevel == bevelInner_) return;
    bevelInner_ = bevel;
    update();
}

void TKelPanel::setBevelWidth(int width) {
    if (width == bevelWidth_) return;
    bevelWidth_ = width;
    update();
}

void TKelPanel::setBorderWidth(int width) {
    if (width == borderWidth_) return;
    borderWidth_ = width;
    update();
}

void TKelPanel::SetFont(const QFont& font) {
    setFont(font);
    textHeight_ = fontMetrics().height();
    update();
}

void TKelPanel::SetFont(const QFont& font, const QColor& color) {
    setFontColor(color);
    SetFont(font);
}

void TKelPanel::SetCaptionItalic(bool italic) {
    if (italic == captionItalic_) return;
    captionItalic_ = italic;
    update();
}

QFont TKelPanel::DrawFont() const {
    QFont f = font();
    if (captionItalic_) f.setItalic(true);
    return f;
}

QRect TKelPanel::InnerRect() const {
    QRect r = Shrunk(rect(), bevelOuter_, bevelWidth_);
    const int border = FrameWidth(borderWidth_);
    r.adjust(border, border, -border, -border);
    return Shrunk(r, bevelInner_, bevelWidth_);
}

QRect TKelPanel::TextRect() const {
    const QRect r = InnerRect();
    qint64 band = 0;
    if (TextAngle() == 0) {
        band =
            (qint64(countDelimiter(QStringLiteral("|"), Caption())) + 1) * fontMetrics().height();
    } else {
        // Rotated text is one line whose bounding box takes the band's place; centring that box
        // keeps the text inside a panel that AutoSize made exactly as large as the box.
        QString text = Caption();
        text.replace(QLatin1Char('|'), QLatin1Char('\n'));
        const QSize extent = OneLineSize(text);
        band = AngleLayout(TextAngle(), extent.width(), extent.height()).height;
    }
    // A band of a thousand million pixels is already far beyond any screen.
    band = std::min<qint64>(band, 1 << 30);
    // Truncated toward zero, as C++ divides: a band taller than the panel starts above it.
    const qint64 top = (qint64(r.top()) + r.top() + r.height() - band) / 2;
    return QRect(r.left(), int(top), r.width(), int(band));
}

void TKelPanel::changeEvent(QEvent* event) {
    TKelTextControl::changeEvent(event);
    if (event->type() == QEvent::FontChange) textHeight_ = fontMetrics().height();
}

void TKelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette pal = palette();
    QRect r = rect();
    DrawBevel(painter, r, bevelOuter_, bevelWidth_, pal);
    // The border is drawn in the background colour, like everything inside it.
    painter.fillRect(r, Color());
    const int border = FrameWidth(borderWidth_);
    r.adjust(border, border, -border, -border);
    DrawBevel(painter, r, bevelInner_, bevelWidth_, pal);

    textHeight_ = fontMetrics().height();
    QString text = Caption();
    text.replace(QLatin1Char('|'), QLatin1Char('\n'));
    DrawStyledText(painter, TextRect(), text, textHeight_, layoutDirection() == Qt::RightToLeft,
                   false);
}
