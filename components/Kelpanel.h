#pragma once
// TKelPanel: the caption panel under the film. Draws its caption as lines ("|" separates them)
// in a band centred vertically, with raised, recessed or drop-shadow text, optionally rotated and
// blinking, inside the bevels and border of a panel. It knows no document: the caption is the
// entry's text already decoded, so a "|" inside a double-byte character can never split a line.
#include "Kellabel.h"

#include <cstdint>

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

class TKelPanel : public TKelTextControl {
    Q_OBJECT
public:
    explicit TKelPanel(QWidget* parent = nullptr);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TBevelCut bevel);
    TBevelCut BevelInner() const { return bevelInner_; }
    void setBevelInner(TBevelCut bevel);
    int BevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int width);

    // The caption font is the widget's font; its colour is FontColor.
    void SetFont(const QFont& font);
    void SetFont(const QFont& font, const QColor& color);
    // The pixel height of "W" in the caption font, as last set or drawn.
    int TextHeight() const { return textHeight_; }
    // The caption's own tags put it in italics, whatever the font: set with each caption.
    bool CaptionItalic() const { return captionItalic_; }
    void SetCaptionItalic(bool italic);
    // The caption font, in italics where the caption's tags say so.
    QFont DrawFont() const override;

    static int countDelimiter(const QString& delimiters, const QString& text) {
        return CountDelimiter(delimiters, text);
    }

    // The client rectangle inside the bevels and border.
    QRect InnerRect() const;
    // The band the caption is drawn in, centred vertically in InnerRect: one line height per line,
    // or the rotated text's bounding box when TextAngle is not 0. It reaches beyond InnerRect when
    // the text does not fit.
    QRect TextRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    int textHeight_ = 0;
    bool captionItalic_ = false;
};
