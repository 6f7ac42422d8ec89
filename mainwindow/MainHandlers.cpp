// Commands whose windows and work arrive with later parts of the editor. Each is wired now so
// that menus, tool bars and shortcuts are complete; the TODOs say what each waits for.
#include "Main.h"

void TMainForm::FileExitExecute() {
    close();
}

// TODO: the about box.
void TMainForm::aAboutExecute() {}

// TODO: caption panels and their timers.
void TMainForm::aShowSubLExecute(int) {}
void TMainForm::aFontEditLExecute(int) {}
void TMainForm::aColorSelectLExecute(int) {}
void TMainForm::SubTimerLTimer(int) {}
void TMainForm::ApplySubtitleStyle(int) {}
void TMainForm::aSecRepeatExecute() {}
void TMainForm::aSubRepeatExecute() {}
void TMainForm::aSyncLExecute() {}
void TMainForm::aSyncLRExecute() {}

// TODO: the caption height and window size dialogs.
void TMainForm::aSubHeightLExecute(int) {}
void TMainForm::aAdjustSizeExecute() {}

// TODO: the editing windows: edit, segment re-timing, combine, import, save as.
void TMainForm::aSaveAsLExecute(int) {}
void TMainForm::aEditSubtitleExecute() {}
void TMainForm::aSegModifyLExecute(int) {}
void TMainForm::aCombineExecute() {}
void TMainForm::aImportExecute() {}

// TODO: language and view switching.
void TMainForm::aSelCHTExecute(int) {}
void TMainForm::aViewBarExecute(QAction*) {}
