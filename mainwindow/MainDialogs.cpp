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
    // The dialog's OK is already a step in the side's history; the pane is shown again with
    // its selection and scroll as they were.
    const int result = SegForm->ShowModalThroughQuestions(this);
    // The dialog has no parent to hand the keyboard back to: Ctrl+Z goes to the panes again.
    activateWindow();
    if (result == mrOk) FillGrid(side, doc);
}

void TMainForm::aSaveAsLExecute(int side) {
    if (side < 0 || side > 1 || !Pane[side]->Doc || !SaveAsForm) return;
    SaveAsForm->SetTarget(Pane[side]->Doc.get());
    SaveAsForm->ShowModalThroughQuestions(this);
    activateWindow();
}
