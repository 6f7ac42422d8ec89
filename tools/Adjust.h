#pragma once
// The window size dialog: the width and height of the main window and of the five editing
// windows, shown as the windows are now and applied at once on OK. The main window's FormSizes
// keep them for the next start.
#include "DialogBase.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TKelLabel;
class TUpDown;

// The sizes a window takes when nothing is stored, in FormSizes order: main, edit, segment,
// combine, import and save-as windows, width before height.
inline constexpr std::array<int, 12> kFormSizeDefaults{760, 580, 288, 235, 268, 308,
                                                       348, 316, 350, 306, 348, 342};

class TAdjustForm : public TDialogBase {
    Q_OBJECT
public:
    // formSizes are the main window's; mainWindow is the window of the first pair. The other
    // windows are the dialogs that hold the other pairs' slots.
    TAdjustForm(QWidget* mainWindow, std::array<int, 12>* formSizes, QWidget* parent = nullptr);

    static constexpr int kGroups = 6;

    // One group: a window's width and height fields with their spinners, and its default button.
    struct TGroup {
        QGroupBox* Box = nullptr;
        QLabel* WidthLabel = nullptr;
        QLineEdit* Width = nullptr;
        TUpDown* WidthSpin = nullptr;
        QLabel* HeightLabel = nullptr;
        QLineEdit* Height = nullptr;
        TUpDown* HeightSpin = nullptr;
        QPushButton* Default = nullptr;
    };
    std::array<TGroup, kGroups> Groups;

    TKelLabel* lbNote = nullptr;
    QGroupBox *gbMain = nullptr, *gbEditor = nullptr, *gbSegment = nullptr, *gbCombine = nullptr,
              *gbImport = nullptr, *gbSaveAs = nullptr;
    QLineEdit *leMainWidth = nullptr, *leMainHeight = nullptr, *leEditWidth = nullptr,
              *leEditHeight = nullptr, *leSegWIdth = nullptr, *leSegHeight = nullptr,
              *leCombineWidth = nullptr, *leCombineHeight = nullptr, *leImportWidth = nullptr,
              *leImportHeight = nullptr, *leSaveAsWidth = nullptr, *leSaveAsHeight = nullptr;
    TUpDown *upMainWidth = nullptr, *upMainHeight = nullptr, *upEditWidth = nullptr,
            *upEditHeight = nullptr, *upSegWidth = nullptr, *upSegHeight = nullptr,
            *upCombineWidth = nullptr, *upCombineHeight = nullptr, *upImportWidth = nullptr,
            *upImportHeight = nullptr, *upSaveAsWidth = nullptr, *upSaveAsHeight = nullptr;
    QPushButton *bbtnMain = nullptr, *bbtnEditor = nullptr, *bbtnSegment = nullptr,
                *bbtnCombine = nullptr, *bbtnImport = nullptr, *bbtnSaveAs = nullptr;
    QPushButton* bbtnOk = nullptr;
    QPushButton* bbtnCancel = nullptr;

    // The window a group stands for: the main window, or the dialog that holds the slot; null
    // while no such window exists.
    QWidget* WindowOf(int group) const;
    // Every group shows its window's present size (a window that does not exist: the stored
    // one).
    void FormShow();
    // A group's default button: its own pair back to the stored defaults.
    void bbtnDefaultClick(int group);
    // The size a group's fields ask for, each within its spinner's range.
    QSize GroupSize(int group) const;
    // Stores every pair in FormSizes and applies it to its window, in group order.
    void bbtnOkClick();

private:
    void ShowSize(int group, QSize size);

    QWidget* mainWindow_;
    std::array<int, 12>* formSizes_;
};
