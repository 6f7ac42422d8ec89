// Commands whose windows and work arrive with later parts of the editor. Each is wired now so
// that menus, tool bars and shortcuts are complete; the TODOs say what each waits for.
#include "Main.h"

#include "Edit.h"

#include <QAction>

void TMainForm::FileExitExecute() {
    close();
}

void TMainForm::SetWindows(const TWindows& windows) {
    AboutForm = windows.About;
    SubHeightDlg = windows.SubHeight;
    SegForm = windows.Seg;
    CombineForm = windows.Combine;
    ImportForm = windows.Import;
    SaveAsForm = windows.SaveAs;
    AdjustForm = windows.Adjust;
    RecoveryForm = windows.Recovery;
}

void TMainForm::SetEditForm(TEditForm* form) {
    EditForm = form;
    if (form)
        connect(form, &TEditForm::closed, aEditSubtitle,
                [this] { aEditSubtitle->setChecked(false); });
}

void TMainForm::aEditSubtitleExecute() {
    if (!EditForm) return;
    if (!aEditSubtitle->isChecked()) {
        EditForm->hide();
        return;
    }
    // The active pane's selection top, when it shows an entry; with no pane active the window
    // shows what it held.
    if (ActiveSide == 0 || ActiveSide == 1) {
        const SubTitle* doc = Pane[ActiveSide]->Doc();
        const int index = SelectionTop(ActiveSide) - 1;
        if (doc && index >= 0 && index < doc->Count()) EditForm->SetTarget(ActiveSide, index);
    }
    EditForm->ShowWindow();
}
