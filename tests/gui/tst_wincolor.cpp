// Windows colour values: RGB values in both directions, and every system colour index resolved
// to the palette colour of its purpose — the same through the drawn widgets' conversion and the
// main window's caption-style names.
#include "CaptionStyle.h"
#include "WinColor.h"

#include <QApplication>
#include <QPalette>
#include <QtTest>

namespace {

// A palette in which every group and role has a colour of its own, so that a wrong role or
// group shows as a wrong colour.
QPalette DistinctPalette() {
    QPalette pal;
    const QPalette::ColorGroup groups[] = {QPalette::Active, QPalette::Inactive,
                                           QPalette::Disabled};
    for (int g = 0; g < 3; ++g)
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            pal.setColor(groups[g], QPalette::ColorRole(role),
                         QColor(10 + g * 80, 5 + role * 9, 77));
    return pal;
}

} // namespace

class TestWinColor : public QObject {
    Q_OBJECT

private slots:
    void systemColours_data();
    void systemColours();
    void rgbValues_data();
    void rgbValues();
    void fromQColor_data();
    void fromQColor();
};

void TestWinColor::systemColours_data() {
    QTest::addColumn<uint>("index");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    const auto row = [](const char* name, uint index, QPalette::ColorGroup group,
                        QPalette::ColorRole role) {
        QTest::newRow(name) << index << int(group) << int(role);
    };
    row("0 scroll bar", 0, QPalette::Active, QPalette::Window);
    row("5 window", 5, QPalette::Active, QPalette::Base);
    row("8 window text", 8, QPalette::Active, QPalette::WindowText);
    row("13 highlight", 13, QPalette::Active, QPalette::Highlight);
    row("14 highlighted text", 14, QPalette::Active, QPalette::HighlightedText);
    row("15 button face", 15, QPalette::Active, QPalette::Button);
    row("16 button shadow", 16, QPalette::Active, QPalette::Dark);
    row("17 grey text", 17, QPalette::Disabled, QPalette::WindowText);
    row("18 button text", 18, QPalette::Active, QPalette::ButtonText);
    row("20 button highlight", 20, QPalette::Active, QPalette::Light);
    row("21 3-D dark shadow", 21, QPalette::Active, QPalette::Shadow);
    row("22 3-D light", 22, QPalette::Active, QPalette::Midlight);
    row("23 tooltip text", 23, QPalette::Active, QPalette::ToolTipText);
    row("24 tooltip background", 24, QPalette::Active, QPalette::ToolTipBase);
    row("30 menu bar", 30, QPalette::Active, QPalette::Window);
    row("255 unknown", 255, QPalette::Active, QPalette::Window);
}

void TestWinColor::systemColours() {
    QFETCH(uint, index);
    QFETCH(int, group);
    QFETCH(int, role);
    const QPalette pal = DistinctPalette();
    const QColor want = pal.color(QPalette::ColorGroup(group), QPalette::ColorRole(role));
    const TColor value = 0x80000000u | index;
    QCOMPARE(TColorToQColor(value, pal), want);

    // Through the application palette, under both names.
    const QPalette before = QApplication::palette();
    QApplication::setPalette(pal);
    const QColor plain = TColorToQColor(value);
    const QColor caption = WinColorToQColor(value);
    QApplication::setPalette(before);
    QCOMPARE(plain, want);
    QCOMPARE(caption, want);
}

void TestWinColor::rgbValues_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<QColor>("color");
    QTest::newRow("black") << uint(clBlack) << QColor(0, 0, 0);
    QTest::newRow("white") << uint(clWhite) << QColor(255, 255, 255);
    QTest::newRow("grey") << uint(clGray) << QColor(128, 128, 128);
    QTest::newRow("red is the low byte") << 0x0000FFu << QColor(255, 0, 0);
    QTest::newRow("blue is the third byte") << 0xFF0000u << QColor(0, 0, 255);
    QTest::newRow("mixed") << 0x302010u << QColor(0x10, 0x20, 0x30);
}

void TestWinColor::rgbValues() {
    QFETCH(uint, value);
    QFETCH(QColor, color);
    QCOMPARE(TColorToQColor(value, DistinctPalette()), color);
    QCOMPARE(WinColorToQColor(value), color);
    QCOMPARE(QColorToTColor(color), TColor(value));
    QCOMPARE(QColorToWinColor(color), uint32_t(value));
}

void TestWinColor::fromQColor_data() {
    QTest::addColumn<QColor>("color");
    QTest::addColumn<uint>("value");
    // Colours held in another model or with alpha give their RGB.
    QTest::newRow("HSV red") << QColor::fromHsv(0, 255, 255) << 0x0000FFu;
    QTest::newRow("CMYK cyan") << QColor::fromCmyk(255, 0, 0, 0) << 0xFFFF00u;
    QTest::newRow("translucent green") << QColor(0, 200, 0, 10) << 0x00C800u;
}

void TestWinColor::fromQColor() {
    QFETCH(QColor, color);
    QFETCH(uint, value);
    QCOMPARE(QColorToTColor(color), TColor(value));
    QCOMPARE(QColorToWinColor(color), uint32_t(value));
}

QTEST_MAIN(TestWinColor)
#include "tst_wincolor.moc"
