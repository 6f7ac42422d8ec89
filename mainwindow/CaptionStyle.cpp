#include "CaptionStyle.h"

#include <QApplication>
#include <QPalette>

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
    if (color & 0x80000000u) {
        const QPalette pal = QApplication::palette();
        switch (color & 0xFFu) {
        case 8: // window text
            return pal.color(QPalette::WindowText);
        case 15: // button face
            return pal.color(QPalette::Button);
        case 16: // button shadow
            return pal.color(QPalette::Dark);
        case 17: // grey text
            return pal.color(QPalette::Disabled, QPalette::Text);
        case 20: // button highlight
            return pal.color(QPalette::Light);
        default:
            return pal.color(QPalette::Window);
        }
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

uint32_t QColorToWinColor(const QColor& color) {
    return uint32_t(color.red()) | (uint32_t(color.green()) << 8) | (uint32_t(color.blue()) << 16);
}
