// The edit window's work on the entry: the target, loading it, following the side when it
// changes under the window, Apply, and walking the pane.
#include "Edit.h"

#include "CodePage.h"
#include "Editing.h"
#include "EditorHost.h"
#include "MaskEdit.h"
#include "Questions.h"
#include "Subtitle.h"
#include "Texts.h"
#include "UpDown.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QToolButton>

#include <algorithm>

namespace {

// Clears a flag when the scope ends, also by an error.
struct TFlagScope {
    bool& flag;
    explicit TFlagScope(bool& f) : flag(f) { flag = true; }
    ~TFlagScope() { flag = false; }
};

} // namespace

const SubTitle* TEditForm::Document() const {
    return hasTarget_ ? host_->Document(Side) : nullptr;
}

const PerTitle* TEditForm::Entry() const {
    const SubTitle* doc = Document();
    return doc ? doc->Item(Index) : nullptr;
}

void TEditForm::SetTarget(int side, int index) {
    const SubTitle* doc = host_->Document(side);
    const PerTitle* e = doc ? doc->Item(index) : nullptr;
    // Every click on a row is a row change: one on the entry shown keeps what is typed.
    if (e && hasTarget_ && showingEntry_ && side == Side && index == Index &&
        e->Start == LoadedStart && e->End == LoadedEnd && e->Text == LoadedText)
        return;
    // Another row while the window shows its entry: with 自動套用 what was typed is applied
    // first, as walking and closing do (refused, the window stays on its entry); without it,
    // it is dropped.
    if (cbFit->isChecked() && isVisible() && !applying_ && Entry()) {
        if (!bbtnFitClick()) return;
        doc = host_->Document(side);
        e = doc ? doc->Item(index) : nullptr;
    }
    Side = side;
    hasTarget_ = doc != nullptr;
    Index = std::max(index, 0);
    if (e)
        ShowEntry(false);
    else
        ShowNoEntry();
    UpdateFilmButtons();
}

void TEditForm::LoadEntry(int index, bool scroll) {
    const SubTitle* doc = Document();
    if (!doc || !doc->Item(index)) return;
    Index = index;
    ShowEntry(false);
    // Centred only while the film stands: a playing film moves the pane with its captions.
    if (scroll && !host_->FilmPlaying())
        host_->SelectRow(Side, index);
    else
        host_->SelectRowInView(Side, index);
    if (host_->Linked()) host_->SyncOpposite(Side, index);
    UpdateFilmButtons();
}

void TEditForm::ShowEntry(bool keepText) {
    const SubTitle* doc = Document();
    const PerTitle* e = Entry();
    if (!e) {
        ShowNoEntry();
        return;
    }
    showingEntry_ = true;
    setWindowTitle(TextOf(txEditWindow) + QStringLiteral(" -- ") + TextOf(txLeftSide + Side) +
                   QStringLiteral(" No.") + QString::number(Index + 1));
    LoadedStart = e->Start;
    LoadedEnd = e->End;
    LoadedText = e->Text;
    ShowTime(0, e->Start);
    ShowTime(1, e->End);
    ShowDelay(e->Duration());
    shownStart_ = ReadTime(0);
    shownEnd_ = ReadTime(1);
    // One line of the box for each caption line; "|" is a whole character once decoded.
    QString text = QString::fromStdString(ToUtf8(doc->CodePage(), e->Text));
    text.replace(QLatin1Char('|'), QLatin1Char('\n'));
    if (!keepText || moTitle->toPlainText() != text) moTitle->setPlainText(text);
    shownText_ = moTitle->toPlainText();
}

void TEditForm::ShowNoEntry() {
    showingEntry_ = false;
    setWindowTitle(TextOf(txEditWindow));
    LoadedStart = LoadedEnd = 0;
    LoadedText.clear();
    ShowTime(0, 0);
    ShowTime(1, 0);
    ShowDelay(0);
    shownStart_ = shownEnd_ = 0;
    moTitle->clear();
    shownText_.clear();
}

void TEditForm::UpdateFilmButtons() {
    const bool film = host_->FilmOpen();
    sbtnGetStart->setEnabled(film);
    sbtnGetEnd->setEnabled(film && !cbKeepDelay->isChecked());
}

void TEditForm::HostEntriesChanged(int side) {
    if (applying_ || !hasTarget_ || side != Side) return;
    // Undo, redo, a line command or another tool: what the window holds may be gone, so it is
    // read again; an entry left as it was keeps what is typed.
    const PerTitle* e = Entry();
    if (!e) {
        if (showingEntry_) ShowNoEntry();
        return;
    }
    if (!showingEntry_ || e->Start != LoadedStart || e->End != LoadedEnd || e->Text != LoadedText)
        ShowEntry(false);
}

void TEditForm::HostDocumentReplaced(int side) {
    if (!hasTarget_ || side != Side) return;
    // Another file in the side: nothing of it was chosen yet, so the window waits for a row.
    hasTarget_ = false;
    ShowNoEntry();
}

bool TEditForm::bbtnFitClick() {
    const SubTitle* doc = Document();
    const PerTitle* e = Entry();
    if (!e) return true;
    // A field typed into and not left (Alt+arrows and the flat buttons take no focus; a click
    // in a pane moves it to another window) is taken as left first, so that its rule runs: a
    // typed start keeps the duration, a typed duration moves the end.
    if (auto* field = qobject_cast<TMaskEdit*>(focusWidget());
        field && field->window() == this && field->isEnabled() && !field->TakeAsLeft())
        return false;
    if (!FieldsComplete()) return false;

    // A field left as it was loaded writes the stored value back, also one the fields cannot
    // show (a negative time, 100 hours or more).
    const int32_t start = ReadTime(0);
    const int32_t end = ReadTime(1);
    const int32_t newStart = start == shownStart_ ? LoadedStart : start;
    const int32_t newEnd = end == shownEnd_ ? LoadedEnd : end;
    std::string newText = LoadedText;
    const QString typed = moTitle->toPlainText();
    if (typed != shownText_) {
        // One "|" for each line break; a CR of a pasted CR LF is dropped.
        QString joined = typed;
        joined.replace(QLatin1Char('\n'), QLatin1Char('|'));
        joined.remove(QLatin1Char('\r'));
        const std::optional<std::string> bytes = FromUtf8(doc->CodePage(), joined.toStdString());
        if (!bytes) {
            Questions().ShowError(
                this, TextOf(txCannotHoldText)
                          .arg(typed, QString::fromUtf8(CodePageName(doc->CodePage()))));
            return false;
        }
        newText = *bytes;
    }

    // One step: the entry, and the later entries moved by what its stored start moves, so that
    // a second Apply moves nothing.
    TChange change = SetEntryChange(*doc, Index, PerTitle(newStart, newEnd, newText));
    if (cbKeepRelate->isChecked() && newStart != e->Start) {
        TChange shift = ShiftChange(*doc, Index + 1, doc->Count() - 1,
                                    SaturateMs(int64_t{newStart} - e->Start));
        for (THunk& hunk : shift.Hunks)
            change.Hunks.push_back(std::move(hunk));
    }
    if (change.Empty()) return true;
    {
        TFlagScope applying(applying_);
        host_->ApplyChange(Side, TextOf(txStepEditEntry), std::move(change));
    }
    // The window now holds what was written; the text box keeps its caret.
    ShowEntry(true);
    return true;
}

void TEditForm::sbPrevClick() {
    if (!Entry()) return;
    if (cbFit->isChecked() && !bbtnFitClick()) return;
    if (Index - 1 >= 0) LoadEntry(Index - 1, true);
}

void TEditForm::sbNextClick() {
    if (!Entry()) return;
    if (cbFit->isChecked() && !bbtnFitClick()) return;
    if (Index + 1 < Document()->Count()) LoadEntry(Index + 1, true);
}

void TEditForm::bbtnUndoClick() {
    if (Entry()) LoadEntry(Index, false);
}

void TEditForm::bbtnCloseClick() {
    if (Entry() && cbFit->isChecked() && !bbtnFitClick()) return;
    hide();
}

bool TEditForm::KeepsDuration() const {
    return cbKeepDelay && cbKeepDelay->isChecked();
}
