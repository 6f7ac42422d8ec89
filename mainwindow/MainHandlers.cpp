// Commands whose windows and work arrive with later parts of the editor. Each is wired now so
// that menus, tool bars and shortcuts are complete; the TODOs say what each waits for.
#include "Main.h"

void TMainForm::FileExitExecute() {
    close();
}

// TODO: the about box.
void TMainForm::aAboutExecute() {}

// TODO: the window size dialog.
void TMainForm::aAdjustSizeExecute() {}

// TODO: the editing windows: edit, combine, import.
void TMainForm::aEditSubtitleExecute() {}
void TMainForm::aCombineExecute() {}
void TMainForm::aImportExecute() {}

// TODO: language and view switching.
void TMainForm::aSelCHTExecute(int) {}
void TMainForm::aViewBarExecute(QAction*) {}
