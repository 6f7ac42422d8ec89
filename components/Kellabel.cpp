#include "Kellabel.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

TKelLabel::TKelLabel(QWidget* parent) : TKelLabel(QString(), parent) {}

TKelLabel::TKelLabel(const QString& caption, QWidget* parent)
    : TKelTextControl(parent, Qt::AlignLeft, true) {
    caption_ = caption;
    AdjustBounds();
}

void TKelLabel::setTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    update();
}

void TKelLabel::setWordWrap(bool wordWrap) {
    if (wordWrap == wordWrap_) return;
    wordWrap_ = wordWrap;
    AdjustBounds();
    update();
}

void TKelLabel::setElideMiddle(bool elide) {
    if (elide == elideMiddle_) return;
    elideMiddle_ = elide;
    update();
}

QSize TKelLabel::CaptionSize() const {
    const QFontMetrics fm = fontMetrics();
    const QStringList lines = WrapTextLines(caption_, fm, width(), wordWrap_);
    int w = 0;
    for (const QString& line : lines)
        w = std::max(
            w,
            fm.size(Qt::TextShowMnemonic | Qt::TextExpandTabs | Qt::TextSingleLine, line).width());
    // A wrapping label keeps its width and grows downward.
    if (wordWrap_) w = width();
    return QSize(w, int(lines.size()) * fm.height());
}

QSize TKelLabel::sizeHint() const {
    if (TextAngle() == 0) return CaptionSize();
    QString text = Caption();
    text.replace(QLatin1Char('|'), QLatin1Char('\n'));
    const QSize extent = OneLineSize(text);
    const TAngleLayout box = AngleLayout(TextAngle(), extent.width(), extent.height());
    return QSize(box.width, box.height);
}

void TKelLabel::AdjustBounds() {
    updateGeometry();
    if (AutoSize()) resize(CaptionSize());
    // A rotated label then takes its rotated box instead.
    TKelTextControl::AdjustBounds();
}

QString TKelLabel::ShownText() const {
    QString text = Caption();
    text.replace(QLatin1Char('|'), QLatin1Char('\n'));
    if (elideMiddle_ && !wordWrap_ && !text.contains(QLatin1Char('\n'))) {
        // Elided as shown: a doubled "&" is one character and must not be cut in two.
        text.replace(QStringLiteral("&&"), QStringLiteral("&"));
        text = fontMetrics().elidedText(text, Qt::ElideMiddle, std::max(0, width() - 2));
        text.replace(QStringLiteral("&"), QStringLiteral("&&"));
    }
    return text;
}

void TKelLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!transparent_) painter.fillRect(rect(), Color());
    const QString text = ShownText();
    // No band: the text starts at the top whatever the label's height. Reading is always left to
    // right.
    DrawStyledText(painter, rect(), text, fontMetrics().height(), false, wordWrap_);
}
