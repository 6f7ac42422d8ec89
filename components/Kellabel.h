#pragma once
// TKelLabel: a label drawn with raised, recessed or drop-shadow text, optionally rotated and
// blinking; the pane title bars and the notes of the dialogs. Also home of the text decoration
// enumerations that the caption panel shares.
#include "TextDrawing.h"

#include <cstdint>

// Decoration drawn under the text.
enum TTextStyleType : std::uint8_t {
    tsNone,    // plain text
    tsRaised,  // embossed, lit from the top left
    tsRecesed, // engraved
    tsShadow,  // drop shadow
};

// Where the drop shadow lies relative to the text.
enum TShadowPathType : std::uint8_t { spLeftUp, spLeftDown, spRightUp, spRightDown };

class TKelLabel : public TKelTextControl {
    Q_OBJECT
public:
    explicit TKelLabel(QWidget* parent = nullptr);
    explicit TKelLabel(const QString& caption, QWidget* parent = nullptr);

    // A transparent label leaves what lies beneath it visible between the letters.
    bool Transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    // Breaks lines wider than the label at spaces.
    bool WordWrap() const { return wordWrap_; }
    void setWordWrap(bool wordWrap);

    // A one-line caption wider than the label loses its middle, not its end: a title bar keeps
    // the file's name and its "*" in sight however long the folder is.
    bool ElideMiddle() const { return elideMiddle_; }
    void setElideMiddle(bool elide);
    // The text as drawn: the caption, its "|" as line breaks, elided where that is asked for.
    QString ShownText() const;

    // The size of the caption as an ordinary label measures it: a "|" is a character there.
    QSize CaptionSize() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void AdjustBounds() override;

private:
    bool transparent_ = false;
    bool wordWrap_ = false;
    bool elideMiddle_ = false;
};
