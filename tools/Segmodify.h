#pragma once
// The segment dialog: re-times a stretch of consecutive entries of one pane. The user picks the
// first and the last entry by number and gives each a new start. Keeping the steps shifts the
// whole stretch so that the first entry starts at its new time; without it the stretch is
// stretched or squeezed so that the first and the last entry both start at their new times.
// Entries after the stretch stay where they are, and so do entries inside it that a selection
// with gaps leaves out. OK is one step in the side's history.
#include "DialogBase.h"

#include <QPointer>

#include <cstdint>
#include <vector>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SubTitle;
class TEditorHost;
class TKelLabel;
class TMaskEdit;
class TNumberSpin;
class TUpDown;
class TTimeParts;

class TSegForm : public TDialogBase {
    Q_OBJECT
public:
    explicit TSegForm(TEditorHost* host, QWidget* parent = nullptr);

    // Which pane and which of its documents the dialog re-times; the document is the host's
    // document of that side, which nothing replaces while the dialog runs.
    int Side = 0;
    const SubTitle* Document = nullptr;

    QCheckBox* cbKeepStep = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* leStartNoLabel = nullptr;
    TNumberSpin* upStartNo = nullptr;
    QLineEdit* leStartNo = nullptr;
    TKelLabel* lbStart = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    TTimeParts* StartTime = nullptr;
    TMaskEdit *meStartHour = nullptr, *meStartMinute = nullptr, *meStartSec = nullptr,
              *meStartms = nullptr;
    TUpDown *upStartHour = nullptr, *upStartMinute = nullptr, *upStartSec = nullptr,
            *upStartms = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* LabeledEdit1Label = nullptr;
    TNumberSpin* upEndNo = nullptr;
    QLineEdit* LabeledEdit1 = nullptr;
    TKelLabel* lbEnd = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    TTimeParts* EndTime = nullptr;
    TMaskEdit *meEndHour = nullptr, *meEndMinute = nullptr, *meEndSec = nullptr, *meEndms = nullptr;
    TUpDown *upEndHour = nullptr, *upEndMinute = nullptr, *upEndSec = nullptr, *upEndms = nullptr;
    QFrame* plNote = nullptr;
    TKelLabel* lbNote = nullptr;
    QPushButton* bbtnOk = nullptr;
    QPushButton* bbtnCancel = nullptr;

    // Rows of the pane's selection, counted from 1. One row selected: the stretch runs from it
    // to the last entry. Shows both entries and applies the keep-step rule. The selected entries
    // are taken from the host: a selection with gaps (Ctrl+click) re-times only the selected
    // entries of the stretch, each by the stretch's rule, the others staying where they are.
    void SetTarget(int side, const SubTitle* document, int topRow, int bottomRow);
    // What showing the dialog resets: both groups show their entries' present starts.
    void FormShow();
    // The first (0) or last (1) group shows its entry: start and end in the label, the start in
    // the time fields. An entry the document does not hold shows nothing.
    void ShowEntry(int selector);
    void ShowTime(int selector, int32_t ms);
    int32_t ReadTime(int selector) const;
    // With the steps kept, the last group shows where the shift will put the last entry.
    void Follow();
    void cbKeepStepClick();
    // OK: the stretch re-timed as one step. A stretch whose first and last entries start
    // together cannot be spread: the error is shown and the dialog stays open, nothing changed.
    void bbtnOkClick();

private:
    void Step(int selector, int delta);
    // The stored start of entry number n (1-based), when the document holds it.
    bool StartOf(int n, int32_t& start) const;

    QPointer<TEditorHost> host_;
    // The pane's selected entries when the selection has gaps, sorted; empty otherwise (the
    // whole stretch is re-timed).
    std::vector<int> gappedSelection_;
};
