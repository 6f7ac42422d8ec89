#pragma once
// Windows colour values, the one form in which the settings and the drawn widgets hold colours,
// and their one conversion to and from QColor.
#include <QColor>

#include <cstdint>

class QPalette;

// 0x00BBGGRR, or 0x80000000 plus a Windows system-colour index that is resolved through a
// palette when drawing.
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clBtnShadow = 0x80000010;
inline constexpr TColor clGrayText = 0x80000011;
inline constexpr TColor clBtnHighlight = 0x80000014;

// A system colour takes the palette's colour of the same purpose; an index without one takes
// the window background.
QColor TColorToQColor(TColor color, const QPalette& palette);
// System colours from the application's palette.
QColor TColorToQColor(TColor color);
// The colour's RGB as 0x00BBGGRR; alpha is dropped.
TColor QColorToTColor(const QColor& color);
