#pragma once
// The Chinese conversion dialog: turns one side's entries, the selected ones or all, Simplified
// or Traditional, with a preview of the first entries that change. OK is one undoable step;
// when the result cannot be held in the document's code page, the user is told how many entries
// and which first, and offered another page as part of the same step.
#include "Chinese.h"
#include "DialogBase.h"

#include <QPointer>

#include <memory>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class TEditorHost;

class TChineseForm : public TDialogBase {
    Q_OBJECT
public:
    explicit TChineseForm(TEditorHost* host, QWidget* parent = nullptr);
    ~TChineseForm() override;

    int Side = 0;
    // How many entries the preview shows at most.
    static constexpr int kPreviewRows = 20;

    QLabel* lbDirection = nullptr;
    QComboBox* cbDirection = nullptr; // the installed directions; item data: TChineseDirection
    QLabel* lbMissing = nullptr;      // the directions whose configuration is not installed
    QGroupBox* gbStretch = nullptr;
    QRadioButton* rbSelected = nullptr;
    QRadioButton* rbAll = nullptr;
    QLabel* lbPreview = nullptr;
    QTreeWidget* lvPreview = nullptr;
    QPushButton* bbtnOk = nullptr;
    QPushButton* bbtnCancel = nullptr;

    // The side and its selection (rows from 1): several rows selected mean those, else all.
    void SetTarget(int side, int topRow, int bottomRow);
    std::optional<TChineseDirection> Direction() const;
    // The first entries of the stretch that change, before and after.
    void UpdatePreview();
    // The step; false (the dialog stays open) when the user declines another page or the
    // conversion cannot be made.
    bool bbtnOkClick();

private:
    // The converter of the chosen direction, opened once per direction; null (and the reason
    // shown) when it cannot be opened.
    const TChineseConverter* Converter();
    void Stretch(int& first, int& last) const;
    bool Convert();

    QPointer<TEditorHost> host_;
    int top_ = 1, bottom_ = 1;
    std::unique_ptr<TChineseConverter> converter_;
};
