#pragma once
// The frame-rate dialog: a MicroDVD file times its captions in frames, so before reading one the
// reader asks the user how many frames the film shows per second. Created once for the whole run,
// so the box offers whatever was chosen or typed last time.
#include "DialogBase.h"
#include "Subtitle.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

class TSetFrameDlg : public TDialogBase {
    Q_OBJECT
public:
    explicit TSetFrameDlg(QWidget* parent = nullptr);

    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cbFrame = nullptr;
    QPushButton* bbtnOK = nullptr;
    QPushButton* bbtnCancel = nullptr;
};

// The MicroDVD reader's question: centres the dialog on centreOn (when given), runs it modally
// through the questions in force and answers the box's text in UTF-8 on OK, nothing otherwise.
// A rate the file states for itself is put in the box (the list's own item when one is that
// rate); otherwise the box offers what it held. The dialog must outlive the question; if it is
// gone the question answers nothing.
FrameRateQuestionWithProposal MakeFrameRateQuestion(TSetFrameDlg* dialog, QWidget* centreOn);
