// The modal editing dialogs launched for one side: segment re-timing and Save As.
#include "Main.h"

#include "Questions.h"
#include "SaveAsForm.h"
#include "Segmodify.h"
#include "Texts.h"

void TMainForm::aSegModifyLExecute(int side) {
    if (side < 0 || side > 1) return;
    SubTitle* doc = Pane[side]->Doc.get();
    if (!doc) {
        Questions().ShowError(this, TextOf(txLoadSubtitleFirst));
        return;
    }
    if (!SegForm) return;
    SegForm->SetTarget(side, doc, SelectionTop(side), SelectionBottom(side));
    // The dialog's OK is a step in the side's history, which the pane has already shown by rows,
    // keeping its selection and scroll: no refill follows. (A refill is a reset of the grid,
    // which with a million rows selected costs more than the re-timing itself.)
    SegForm->ShowModalThroughQuestions(this);
    // The dialog has no parent to hand the keyboard back to: Ctrl+Z goes to the panes again.
    activateWindow();
}

void TMainForm::aSaveAsLExecute(int side) {
    if (side < 0 || side > 1 || !Pane[side]->Doc || !SaveAsForm) return;
    SaveAsForm->SetTarget(Pane[side]->Doc.get());
    SaveAsForm->ShowModalThroughQuestions(this);
    activateWindow();
}
