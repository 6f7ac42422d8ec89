#pragma once
// The caption height dialog: how tall one side's caption panel under the film is, as one, two or
// three lines of the side's caption font, or as a height in pixels. HeightValue goes in and
// comes out as the main window keeps it: -1, -2, -3 for lines, a positive number for pixels.
#include "DialogBase.h"

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TUpDown;

class TSubHeightDlg : public TDialogBase {
    Q_OBJECT
public:
    explicit TSubHeightDlg(QWidget* parent = nullptr);

    // The value in and out, and the pixel height of one caption line of the side.
    int HeightValue = -3;
    int LineHeight = 0;

    QGroupBox* rgSubHeight = nullptr;
    QRadioButton* Items[4] = {};
    QButtonGroup* ItemGroup = nullptr;
    QLineEdit* edSubHeight = nullptr;
    TUpDown* UpDown1 = nullptr;
    QPushButton* bbtnOK = nullptr;
    QPushButton* bbtnCancel = nullptr;

    // The radio group's chosen item: 0 to 2 for one to three lines, 3 for the custom height.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // Takes a side's value and line height and shows them.
    void SetTarget(int heightValue, int lineHeight);
    // Shows HeightValue: a number of lines as its item, pixels as the custom item with the number.
    void FormShow();
    // A line item shows the pixels that many lines take; the custom item leaves the field.
    void rgSubHeightClick();
    // Touching the number field or its spinner means the custom height.
    void edSubHeightClick();
    // HeightValue from the choice; a custom text that is no whole number counts as three lines.
    void bbtnOKClick();

    void ApplyLanguage() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The number field sits in the gap the custom item's caption leaves for it.
    void PlaceNumberField();
};
