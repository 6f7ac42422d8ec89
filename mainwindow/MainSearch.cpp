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
#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>

int TMainForm::ActiveDocumentSide() const {
    return ActiveSide >= 0 && ActiveSide <= 1 && Pane[ActiveSide]->Doc() ? ActiveSide : -1;
}

std::optional<std::string> TMainForm::Encode(int side, const QString& text) {
    const int codePage = Pane[side]->Doc()->CodePage();
    std::optional<std::string> bytes = FromUtf8(codePage, text.toStdString());
    if (!bytes)
        Questions().ShowError(
            this, TextOf(txCannotHoldText).arg(text, QString::fromUtf8(CodePageName(codePage))));
    return bytes;
}

bool TMainForm::SearchMatchesCase() const {
    return ReplaceDialog && ReplaceDialog->MatchCase();
}

void TMainForm::FindText(int side, int first, int last) {
    if (!Pane[side]->Doc() || SearchText.isEmpty()) return;
    // A text the document cannot hold is in no entry.
    const std::optional<std::string> what =
        FromUtf8(Pane[side]->Doc()->CodePage(), SearchText.toStdString());
    const int found =
        what ? ::FindText(*Pane[side]->Doc(), *what, first, last, SearchMatchesCase()) : -1;
    if (found >= 0) {
        SelectRow(side, found);
        return;
    }
    // Said where the hints are, so that the search can go on without a box to close.
    Panels[0]->setText(TextOf(txNothingFound).arg(SearchText));
    QApplication::beep();
}

void TMainForm::aFindExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0) return;
    const std::optional<QString> text =
        Questions().InputBox(this, TextOf(txFindTitle), TextOf(txFindPrompt), SearchText);
    if (!text) return;
    SearchText = *text;
    FindText(side, 0, Pane[side]->Doc()->Count() - 1);
}

void TMainForm::aFindNextExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0 || SearchText.isEmpty()) return;
    // The selection's top row shows entry top - 1: the search starts at the entry after it.
    FindText(side, SelectionTop(side), Pane[side]->Doc()->Count() - 1);
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
        ReplaceRange(0, Pane[side]->Doc()->Count() - 1, true);
    } else {
        const int top = SelectionTop(side);
        ReplaceRange(top - 1, top - 1, false);
    }
}

void TMainForm::ReplaceRange(int first, int last, bool all) {
    const int side = ActiveDocumentSide();
    if (side < 0 || first < 0 || last < first || last >= Pane[side]->Doc()->Count()) return;
    const std::optional<std::string> what = Encode(side, ReplaceDialog->FindText());
    const std::optional<std::string> with = Encode(side, ReplaceDialog->ReplaceText());
    if (!what || !with) return;
    ApplyChange(side, TextOf(all ? txStepReplaceAll : txStepReplace),
                ReplaceChange(*Pane[side]->Doc(), *what, *with, first, last, nullptr,
                              SearchMatchesCase()));
}

void TMainForm::aNewLineExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0) return;
    // Before the entry of the selection's top row, which then shows the new entry.
    ApplyChange(side, aNewLine->text(),
                InsertBlankChange(*Pane[side]->Doc(), SelectionTop(side) - 1, 1));
}

void TMainForm::aDelLineExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0) return;
    TSubtitlePane* pane = Pane[side];
    // Exactly the selected rows, however far apart; never past the last entry.
    std::vector<int> entries = pane->SelectedEntries();
    const int count = pane->Doc()->Count();
    std::erase_if(entries, [count](int e) { return e < 0 || e >= count; });
    if (entries.empty()) return;
    const QString question =
        TextOf(txConfirmDelete) + QStringLiteral("\n") + TextOf(txDeleteCount).arg(entries.size());
    if (Questions().MessageBox(this, question, QString(), TMsgKind::Confirmation, {mrOk, mrCancel},
                               mrCancel) != mrOk)
        return;
    // The view stays put: the rows keep their numbers, so the first row after the deleted ones
    // moves up into the selection's top row.
    const int top = entries.front();
    const int scroll = Pane[side]->Grid->verticalScrollBar()->value();
    ApplyChange(side, aDelLine->text(), EraseEntriesChange(*pane->Doc(), std::move(entries)));
    if (top < pane->Doc()->Count()) {
        pane->SetCurrentQuietly(top);
        Pane[side]->Grid->selectionModel()->select(pane->GridModel->index(top, 0),
                                             QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    } else {
        Pane[side]->Grid->clearSelection();
    }
    Pane[side]->Grid->verticalScrollBar()->setValue(scroll);
}

void TMainForm::aCheckTimeExecute() {
    const int side = ActiveDocumentSide();
    if (side < 0) return;
    int repaired = 0;
    ApplyChange(side, aCheckTime->text(), RepairOverlapsChange(*Pane[side]->Doc(), &repaired));
    Questions().MessageBox(this, TextOf(txOverlapsRepaired) + QString::number(repaired), QString(),
                           TMsgKind::Information, {mrOk}, mrOk);
}

void TMainForm::aUndoExecute() {
    const int side = ActiveDocumentSide();
    if (side >= 0) Sides[side]->Undo();
}

void TMainForm::aRedoExecute() {
    const int side = ActiveDocumentSide();
    if (side >= 0) Sides[side]->Redo();
}

void TMainForm::UpdateUndoCommands() {
    if (!aUndo) return;
    const int side = ActiveDocumentSide();
    const TEditHistory* history = side >= 0 ? &Sides[side]->History() : nullptr;
    const bool canUndo = history && history->CanUndo();
    const bool canRedo = history && history->CanRedo();
    aUndo->setEnabled(canUndo);
    aRedo->setEnabled(canRedo);
    aUndo->setText(canUndo ? TextOf(txUndo) + QLatin1Char(' ') + history->UndoName()
                           : TextOf(txUndo));
    aRedo->setText(canRedo ? TextOf(txRedo) + QLatin1Char(' ') + history->RedoName()
                           : TextOf(txRedo));
}
