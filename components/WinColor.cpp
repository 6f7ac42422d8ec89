#include "WinColor.h"

#include <QGuiApplication>
#include <QPalette>

QColor TColorToQColor(TColor color, const QPalette& pal) {
    if (color & 0x80000000u) {
        // System colours do not depend on whether the control is enabled: always the active group.
        const auto active = [&pal](QPalette::ColorRole role) {
            return pal.color(QPalette::Active, role);
        };
        switch (color & 0xFFu) {
        case 5:
            return active(QPalette::Base); // window background
        case 8:
            return active(QPalette::WindowText); // window text
        case 13:
            return active(QPalette::Highlight); // selection
        case 14:
            return active(QPalette::HighlightedText); // selected text
        case 15:
            return active(QPalette::Button); // button face
        case 16:
            return active(QPalette::Dark); // button shadow
        case 17:
            return pal.color(QPalette::Disabled, QPalette::WindowText); // grey text
        case 18:
            return active(QPalette::ButtonText); // button text
        case 20:
            return active(QPalette::Light); // button highlight
        case 21:
            return active(QPalette::Shadow); // dark 3-D shadow
        case 22:
            return active(QPalette::Midlight); // 3-D light
        case 23:
            return active(QPalette::ToolTipText); // tooltip text
        case 24:
            return active(QPalette::ToolTipBase); // tooltip background
        default:
            return active(QPalette::Window);
        }
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

QColor TColorToQColor(TColor color) {
    return TColorToQColor(color, QGuiApplication::palette());
}

TColor QColorToTColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return TColor(rgb.red()) | (TColor(rgb.green()) << 8) | (TColor(rgb.blue()) << 16);
}
