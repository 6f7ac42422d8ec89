#pragma once
// What the styled label and the caption panel share: the decoration passes under the text, the
// multi-line and the rotated drawing of a caption, and the common base TKelTextControl that holds
// the style, blinking and rotation of both. Colours are Windows colour values (WinColor.h).
#include "WinColor.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <vector>

class QFontMetrics;
class QPainter;
class QTimer;

// Declared in full with the styled label (Kellabel.h); the fixed type lets the base hold them.
enum TTextStyleType : std::uint8_t;
enum TShadowPathType : std::uint8_t;

// One decoration pass: the text drawn once more, moved and in another colour.
struct TTextPass {
    QPoint offset;
    TColor color;
};
std::vector<TTextPass> DecorationPasses(TTextStyleType style, TShadowPathType path, int depth,
                                        TColor shadowColor);

// Where rotated text starts inside its rectangle, and the box it covers, for text of one line
// measuring cx by cy rotated counter-clockwise by angle degrees.
struct TAngleLayout {
    int dx = 0;
    int dy = 0;
    int width = 0;
    int height = 0;
};
TAngleLayout AngleLayout(int angle, int cx, int cy);

// An angle brought into 0..360 the way setTextAngle stores it (360 stays 360).
int NormalTextAngle(int angle);

// The number of characters of text that are among delimiters.
int CountDelimiter(const QString& delimiters, const QString& text);

// Lines of text as drawn without rotation: stacked from r.top every lineHeight pixels, each
// aligned by hAlign (Qt::AlignLeft, AlignRight or AlignHCenter), tabs expanded, "&" marking the
// character to underline, clipped to r. wordWrap breaks lines wider than r at spaces.
void DrawTextLines(QPainter& painter, const QRect& r, const QString& text, int lineHeight,
                   Qt::Alignment hAlign, bool rightToLeft, bool wordWrap);
// The lines DrawTextLines draws for text (line feeds separate them) within width.
QStringList WrapTextLines(const QString& text, const QFontMetrics& fm, int width, bool wordWrap);

// The base of TKelLabel and TKelPanel: text style, shadow, rotation, blinking, colours, mouse.
class TKelTextControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ Caption WRITE setCaption)
public:
    explicit TKelTextControl(QWidget* parent, Qt::Alignment alignment, bool autoSize);
    ~TKelTextControl() override;

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);

    TTextStyleType TextStyle() const { return textStyle_; }
    void setTextStyle(TTextStyleType style);
    TShadowPathType ShadowPath() const { return shadowPath_; }
    void setShadowPath(TShadowPathType path);
    QColor ShadowColor() const { return TColorToQColor(shadowColor_, palette()); }
    TColor ShadowColorValue() const { return shadowColor_; }
    void setShadowColor(const QColor& color);
    int ShadowDepth() const { return shadowDepth_; }
    void setShadowDepth(int depth);
    int TextAngle() const { return textAngle_; }
    void setTextAngle(int angle);
    bool Blink() const { return blink_; }
    void setBlinkStatus(bool blink);
    int BlinkRate() const { return blinkRate_; }
    void setBlinkRate(int ms);
    // The blink timer's tick: shows a hidden control and hides a shown one.
    void BlinkLabel();

    // Background colour (Color) and the colour of the text's own font.
    QColor Color() const { return TColorToQColor(color_, palette()); }
    TColor ColorValue() const { return color_; }
    void setColor(const QColor& color);
    QColor FontColor() const { return TColorToQColor(fontColor_, palette()); }
    TColor FontColorValue() const { return fontColor_; }
    void setFontColor(const QColor& color);

    // Only the horizontal part counts: Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment Alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);

    // The caption as one line with its extent in the control's font: what rotated drawing measures.
    QSize OneLineSize(const QString& text) const;
    // Moves r's top-left corner to where text rotated by angle starts; with AutoSize the control
    // takes the rotated text's bounding box as its size.
    void CalcTextPos(QRect& r, int angle, const QString& text);
    // Draws text as one line rotated by angle, in the painter's font and pen.
    void DrawAngleText(QPainter& painter, QRect r, const QString& text, int angle);

signals:
    void mouseEntered();
    void mouseLeft();
    void clicked();

protected:
    // Draws text (lines separated by line feeds) in T: the decoration passes, then the text.
    void DrawStyledText(QPainter& painter, const QRect& t, const QString& text, int lineHeight,
                        bool rightToLeft, bool wordWrap);
    // With AutoSize, takes the size of the caption as drawn: the rotated text's bounding box when
    // TextAngle is not 0. Called whenever the caption, font, angle or AutoSize changes, so that a
    // rotated control already has its size when it paints.
    virtual void AdjustBounds();
    // The font the text is drawn in: the control's own.
    virtual QFont DrawFont() const { return font(); }
    void changeEvent(QEvent* event) override;

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    QString caption_;
    TColor color_ = clBtnFace;
    TColor fontColor_ = clWindowText;
    Qt::Alignment alignment_;
    bool autoSize_;

private:
    TTextStyleType textStyle_;
    TShadowPathType shadowPath_;
    TColor shadowColor_ = clBtnShadow;
    int shadowDepth_ = 1;
    QTimer* blinkTimer_ = nullptr;
    bool blink_ = false;
    int blinkRate_ = 250;
    int textAngle_ = 0;
};
