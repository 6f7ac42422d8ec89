#pragma once
// The font chooser that also asks for the colour of the text: the platform's font dialog knows no
// colour, so Qt's font dialog is embedded here beside a colour button. The colour button asks
// through the questions in force.
#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QLabel;
class QPushButton;

// The font with the name of its family's style that has its weight and slant. Qt's font dialog
// finds the style of a font without one by a generic name ("Normal"), which families such as
// DejaVu do not use ("Book"); it then shows, and answers, another style, an italic one say.
QFont WithStyleName(QFont font);

class TFontColorDialog : public QDialog {
    Q_OBJECT
public:
    TFontColorDialog(const QFont& font, const QColor& color, QWidget* parent = nullptr);

    QFont Font() const;
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    // Asks for another colour, starting from the present one.
    void sbtnColorClick();

    QFontDialog* fdFont = nullptr;
    QLabel* lbColor = nullptr;
    QPushButton* sbtnColor = nullptr;
    QPushButton* bbtnOK = nullptr;
    QPushButton* bbtnCancel = nullptr;

private:
    QColor color_;
};
