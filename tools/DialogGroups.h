#pragma once
// The groups the combine, import and save-as dialogs build alike: the "all / range from-to" group
// of entry numbers, the "other side / file" source group, and the chosen path with its chooser's
// button. Each dialog keeps its controls as its own named members; these fill them in, named and
// placed at the dialogs' design geometry inside the group box.
#include <QStyle>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class QWidget;
class TNumberSpin;

// 全部 (checked) and 指定範圍, then the first and last number boxes ("開始編號", "結束編號"):
// rbtnSelectAll, rbtnSelectRange, leStartNoLabel / upStartNo / leStartNo, leEndNoLabel / upEndNo
// / leEndNo.
struct TRangeGroup {
    QRadioButton*& SelectAll;
    QRadioButton*& SelectRange;
    QLabel*& StartLabel;
    TNumberSpin*& Start;
    QLineEdit*& StartEdit;
    QLabel*& EndLabel;
    TNumberSpin*& End;
    QLineEdit*& EndEdit;
};
void BuildRangeGroup(QGroupBox* box, const TRangeGroup& group);
// The number boxes and their labels usable exactly when enabled (the range is chosen).
void EnableRangeNumbers(const TRangeGroup& group, bool enabled);

// The chosen path, read-only and without a frame, from x to the chooser's flat button at the
// group's right edge (named pathName and buttonName).
void BuildFileLine(QGroupBox* box, int x, QLineEdit*& path, const char* pathName,
                   QToolButton*& button, const char* buttonName, const char* themeIcon,
                   QStyle::StandardPixmap icon);

// The other pane ("右側字幕", checked; SetTarget names the pane) or a file ("字幕檔案"), then
// the file line: rbtnOpposite, rbtnSubFile, etSubFile and the chooser buttonName.
void BuildSourceGroup(QGroupBox* box, QRadioButton*& opposite, QRadioButton*& file,
                      QLineEdit*& path, QToolButton*& button, const char* buttonName);
