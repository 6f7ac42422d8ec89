#pragma once
// The look of one side's caption as the font and colour commands hold it and the settings
// store it: colours are Windows colour values (0x00BBGGRR, or 0x80000000 plus a system colour
// index), the size is in points and the character set a Windows charset number.
#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>

struct TCaptionStyle {
    uint32_t BGColor = 0x000000; // black
    QString FontName;
    int FontSize = 16;             // points: a 21-pixel font at 96 dots per inch
    uint32_t FontColor = 0xFFFFFF; // white
    int Charset = 0;
    bool Bold = true;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    // The caption font, sized in pixels as the size in points is at 96 dots per inch.
    QFont Font() const;
};

// The built-in styles of the two sides before any setting applies.
TCaptionStyle DefaultCaptionStyle(int side);

// A Windows colour value as a QColor, system colours from the application palette: the
// conversion of WinColor.h under the names the main window uses.
QColor WinColorToQColor(uint32_t color);
uint32_t QColorToWinColor(const QColor& color);
