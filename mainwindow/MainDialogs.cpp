// The modal editing dialogs launched for one side: segment re-timing, combine, import and Save
// As.
#include "Main.h"

#include "Combine.h"
#include "Import.h"
#include "Questions.h"
#include "SaveAsForm.h"
#include "Segmodify.h"
#include "Texts.h"

void TMainForm::aSegModifyLExecute(int side) {
    if (side < 0 || side > 1) return;
    const SubTitle* doc = Pane[side]->Doc();
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

// The combine and import dialogs read files as the panes do: the same frame-rate question and
// the language's page. Their OK is a step in the side's history, which the pane has already shown
// by rows, keeping its selection and scroll; Cancel changes nothing, whatever file they read.
void TMainForm::aCombineExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0) {
        Questions().ShowError(this, TextOf(txLoadSubtitleFirst));
        return;
    }
    if (!CombineForm) return;
    CombineForm->Reading = TSourceReading{FilmRateQuestion(), LanguagePage()};
    CombineForm->SetTarget(side, Pane[side]->Doc(), Pane[1 - side]->Doc());
    CombineForm->ShowModalThroughQuestions(this);
    activateWindow();
}

void TMainForm::aImportExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0) {
        Questions().ShowError(this, TextOf(txLoadSubtitleFirst));
        return;
    }
    if (!ImportForm) return;
    ImportForm->Reading = TSourceReading{FilmRateQuestion(), LanguagePage()};
    ImportForm->SetTarget(side, Pane[side]->Doc(), Pane[1 - side]->Doc());
    ImportForm->ShowModalThroughQuestions(this);
    activateWindow();
}

void TMainForm::aSaveAsLExecute(int side) {
    if (side < 0 || side > 1 || !Pane[side]->Doc() || !SaveAsForm) return;
    SaveAsForm->SetTarget(Pane[side]->Doc());
    SaveAsForm->ShowModalThroughQuestions(this);
    activateWindow();
}
