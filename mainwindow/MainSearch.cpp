// Find, find next, replace, inserting and deleting entries, and overlap repair: the commands that
// work on the document of the active pane. Each does nothing while no pane with a document is
// active.
#include "Main.h"

#include "Editing.h"
#include "Questions.h"
#include "ReplaceDialog.h"
#include "SubtitleGrid.h"
#include "Texts.h"

#include <QAction>
#include <QTableView>

int TMainForm::ActiveDocumentSide() const {
    return ActiveSide >= 0 && ActiveSide <= 1 && Doc[ActiveSide] ? ActiveSide : -1;
}

std::optional<std::string> TMainForm::Encode(int side, const QString& text) {
    const int codePage = Doc[side]->CodePage();
    std::optional<std::string> bytes = FromUtf8(codePage, text.toStdString());
    if (!bytes)
        Questions().ShowError(this, QStringLiteral("\"%1\": %2 %3")
                                        .arg(text, QString::fromUtf8(CodePageName(codePage)),
                                             QStringLiteral("cannot hold this text")));
    return bytes;
}

void TMainForm::FindText(int side, int first, int last) {
    if (!Doc[side] || SearchText.isEmpty()) return;
    const std::optional<std::string> what =
        FromUtf8(Doc[side]->CodePage(), SearchText.toStdString());
    if (!what) return; // the document cannot hold the text, so no entry holds it
    const int found = ::FindText(*Doc[side], *what, first, last);
    if (found >= 0) SelectRow(side, found);
}

void TMainForm::aFindExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0) return;
    const std::optional<QString> text =
        Questions().InputBox(this, QStringLiteral("Find"), TextOf(txFindPrompt), SearchText);
    if (!text) return;
    SearchText = *text;
    FindText(side, 0, Doc[side]->Count() - 1);
}

void TMainForm::aFindNextExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0 || SearchText.isEmpty()) return;
    // The selection's top row shows entry top - 1: the search starts at the entry after it.
    FindText(side, SelectionTop(side), Doc[side]->Count() - 1);
}

void TMainForm::aReplaceExecute() {
    if (ActiveDocumentSide() < 0) return;
    if (!ReplaceDialog) {
        ReplaceDialog = new TReplaceDialog(this);
        connect(ReplaceDialog, &TReplaceDialog::findNextRequested, this,
                [this] { ReplaceDialogFind(); });
        connect(ReplaceDialog, &TReplaceDialog::replaceRequested, this,
                [this] { ReplaceDialogReplace(false); });
        connect(ReplaceDialog, &TReplaceDialog::replaceAllRequested, this,
                [this] { ReplaceDialogReplace(true); });
    }
    ReplaceDialog->show();
    ReplaceDialog->raise();
    ReplaceDialog->activateWindow();
}

void TMainForm::ReplaceDialogFind() {
    SearchText = ReplaceDialog->FindText();
    aFindNextExecute();
}

void TMainForm::ReplaceDialogReplace(bool all) {
    const int side = ActiveDocumentSide();
    if (side < 0) return;
    if (all) {
        ReplaceRange(0, Doc[side]->Count() - 1);
    } else {
        const int top = SelectionTop(side);
        ReplaceRange(top - 1, top - 1);
    }
}

void TMainForm::ReplaceRange(int first, int last) {
    const int side = ActiveDocumentSide();
    if (side < 0 || first < 0 || last < first || last >= Doc[side]->Count()) return;
    const std::optional<std::string> what = Encode(side, ReplaceDialog->FindText());
    const std::optional<std::string> with = Encode(side, ReplaceDialog->ReplaceText());
    if (!what || !with) return;
    ::ReplaceText(*Doc[side], *what, *with, first, last);
    FillGrid(side, Doc[side].get());
}

void TMainForm::aNewLineExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0) return;
    // Before the entry of the selection's top row, which then shows the new entry.
    Doc[side]->InsertBlank(SelectionTop(side) - 1, 1);
    FillGrid(side, Doc[side].get());
}

void TMainForm::aDelLineExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0) return;
    const int count = Doc[side]->Count();
    const int top = SelectionTop(side);
    // Never past the last entry, whatever rows were remembered.
    const int bottom = std::min(SelectionBottom(side), count);
    if (top < 1 || top > count) return;
    if (Questions().MessageBox(this, TextOf(txConfirmDelete), QString(), TMsgKind::Confirmation,
                               {mrOk, mrCancel}, mrCancel) != mrOk)
        return;
    Doc[side]->EraseRange(top - 1, bottom - 1);
    // The selected rows are gone: the selection stays on the first row after them, if any.
    Grid[side]->clearSelection();
    FillGrid(side, Doc[side].get());
    if (top - 1 < Doc[side]->Count()) SelectRow(side, top - 1);
}

void TMainForm::aCheckTimeExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0) return;
    const int repaired = RepairOverlaps(*Doc[side]);
    if (repaired > 0) FillGrid(side, Doc[side].get());
    Questions().MessageBox(this, TextOf(txOverlapsRepaired) + QString::number(repaired), QString(),
                           TMsgKind::Information, {mrOk}, mrOk);
}
