#include "CaptionStyle.h"

#include "WinColor.h"

QFont TCaptionStyle::Font() const {
    QFont font(FontName);
    // Rounded as the size in points turns into a height at 96 dots per inch: 16 -> 21 pixels.
    font.setPixelSize(qMax(1, (FontSize * 96 + 36) / 72));
    font.setBold(Bold);
    font.setItalic(Italic);
    font.setUnderline(Underline);
    font.setStrikeOut(StrikeOut);
    return font;
}

TCaptionStyle DefaultCaptionStyle(int side) {
    TCaptionStyle style;
    if (side == 0) {
        style.FontName = QStringLiteral("Arial");
        style.Charset = 0;
    } else {
        style.FontName = QStringLiteral("華康中黑體");
        style.Charset = 136; // Chinese Big5
    }
    return style;
}

QColor WinColorToQColor(uint32_t color) {
    return TColorToQColor(color);
}

uint32_t QColorToWinColor(const QColor& color) {
    return QColorToTColor(color);
}
