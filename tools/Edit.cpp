// The edit window's work on the entry: loading it, the time steps, leaving the fields, the
// film's moment, Apply, and walking the pane.
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
#include <cmath>

namespace {

int32_t Clamp(int64_t ms) {
    return static_cast<int32_t>(std::clamp<int64_t>(ms, 0, TEditForm::kMaxTime));
}

// The digits a field holds as a number; empty positions are left out, an empty field is 0.
int64_t FieldNumber(const QString& text) {
    int64_t n = 0;
    for (const QChar c : text)
        if (c.isDigit() && n < (int64_t{1} << 40)) n = n * 10 + c.digitValue();
    return n;
}

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

void TEditForm::ShowTime(int which, int32_t ms) {
    const int32_t t = Clamp(ms);
    const int parts[4] = {t / 3600000, t % 3600000 / 60000, t % 60000 / 1000, t % 1000};
    for (int k = 0; k < 4; ++k)
        TimeField[which][k]->SetValue(
            QStringLiteral("%1").arg(parts[k], k == 3 ? 3 : 2, 10, QLatin1Char('0')));
}

int32_t TEditForm::ReadTime(int which) const {
    static const int64_t units[4] = {3600000, 60000, 1000, 1};
    int64_t ms = 0;
    for (int k = 0; k < 4; ++k)
        ms += FieldNumber(TimeField[which][k]->text()) * units[k];
    return Clamp(ms);
}

void TEditForm::ShowDelay(int32_t ms) {
    const bool negative = ms < 0;
    const int64_t magnitude = negative ? -int64_t{ms} : int64_t{ms};
    const QString seconds = QString::number(magnitude / 1000);
    // Two digits of seconds at least, more when the duration needs them, never cut.
    const int digits = std::max<int>(2, int(seconds.size()));
    const QString sign = negative ? QStringLiteral("-") : QString();
    const QString mask =
        QStringLiteral("!%1%2:000;1;_").arg(sign, QString(digits, QLatin1Char('0')));
    if (meDelay->EditMask() != mask) {
        meDelay->SetEditMask(mask);
        const int extra = digits - 2 + int(sign.size());
        meDelay->resize(46 + extra * meDelay->fontMetrics().horizontalAdvance(QLatin1Char('0')),
                        meDelay->height());
        upDelay->move(meDelay->geometry().right() + 1, upDelay->y());
    }
    meDelay->SetValue(QStringLiteral("%1%2:%3")
                          .arg(sign, seconds.rightJustified(digits, QLatin1Char('0')))
                          .arg(magnitude % 1000, 3, 10, QLatin1Char('0')));
}

int32_t TEditForm::ReadDelay() const {
    const QString text = meDelay->text();
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const int64_t ms = FieldNumber(text.left(colon)) * 1000 + FieldNumber(text.mid(colon + 1));
    return SaturateMs(text.startsWith(QLatin1Char('-')) ? -ms : ms);
}

int32_t TEditForm::KeptStart(int32_t start) const {
    const PerTitle* e = Entry();
    if (!e) return Clamp(start);
    const int64_t d = e->Duration();
    const int64_t low = std::max<int64_t>(0, -d);
    const int64_t high = std::min<int64_t>(kMaxTime, kMaxTime - d);
    return low > high ? Clamp(start) : static_cast<int32_t>(std::clamp<int64_t>(start, low, high));
}

void TEditForm::ShowKeptEnd() {
    // The start as loaded keeps the end as loaded: the stored entry is its own start plus its
    // duration, also where the fields cannot show its times.
    if (ReadTime(0) == shownStart_) {
        ShowTime(1, LoadedEnd);
        return;
    }
    const int32_t start = KeptStart(ReadTime(0));
    ShowTime(0, start);
    ShowTime(1, Clamp(int64_t{start} + Entry()->Duration()));
}

void TEditForm::SetTarget(int side, int index) {
    const SubTitle* doc = host_->Document(side);
    const PerTitle* e = doc ? doc->Item(index) : nullptr;
    // Every click on a row is a row change: one on the entry shown keeps what is typed.
    if (e && hasTarget_ && showingEntry_ && side == Side && index == Index &&
        e->Start == LoadedStart && e->End == LoadedEnd && e->Text == LoadedText)
        return;
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
    if (host_->Linked()) host_->SyncOpposite(Side, index + 1);
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

void TEditForm::upStartmsChangingEx(TUpDown* spinner, int direction) {
    if (!Entry()) return;
    const int32_t start = Clamp(int64_t{ReadTime(0)} + int64_t{spinner->Increment()} * direction);
    ShowTime(0, start);
    if (cbKeepDelay->isChecked()) ShowKeptEnd();
    ShowDelay(ReadTime(1) - ReadTime(0));
}

void TEditForm::upEndmsChangingEx(TUpDown* spinner, int direction) {
    if (!Entry()) return;
    ShowTime(1, Clamp(int64_t{ReadTime(1)} + int64_t{spinner->Increment()} * direction));
    ShowDelay(ReadTime(1) - ReadTime(0));
}

void TEditForm::meStartmsExit() {
    if (!Entry()) return;
    // Typed values carry into the next field up (75 minutes show as 01:15).
    ShowTime(0, ReadTime(0));
    if (cbKeepDelay->isChecked()) ShowKeptEnd();
    ShowDelay(ReadTime(1) - ReadTime(0));
}

void TEditForm::meEndmsExit() {
    if (!Entry()) return;
    ShowTime(1, ReadTime(1));
    ShowDelay(ReadTime(1) - ReadTime(0));
}

void TEditForm::meDelayExit() {
    if (!Entry()) return;
    ShowTime(1, Clamp(int64_t{ReadTime(0)} + ReadDelay()));
    ShowDelay(ReadTime(1) - ReadTime(0));
}

void TEditForm::cbKeepDelayClick() {
    const bool keep = cbKeepDelay->isChecked();
    if (keep && Entry()) {
        ShowKeptEnd();
        ShowDelay(ReadTime(1) - ReadTime(0));
    }
    for (int k = 0; k < 4; ++k) {
        TimeField[1][k]->setEnabled(!keep);
        TimeSpinner[1][k]->setEnabled(!keep);
    }
    meDelay->setEnabled(!keep);
    upDelay->setEnabled(!keep);
    UpdateFilmButtons();
}

void TEditForm::sbtnGetStartClick(int selector) {
    if (!Entry() || !host_->FilmOpen()) return;
    // The end takes no film time while it follows the start.
    if (selector == 1 && cbKeepDelay->isChecked()) return;
    const double seconds = host_->FilmPosition();
    if (std::isnan(seconds)) return;
    // Truncated toward zero, within the fields' range.
    const auto t = static_cast<int32_t>(std::clamp(seconds * 1000.0, 0.0, double(kMaxTime)));
    ShowTime(selector, t);
    if (selector == 0 && cbKeepDelay->isChecked()) ShowKeptEnd();
    ShowDelay(ReadTime(1) - ReadTime(0));
}

bool TEditForm::FieldsComplete() {
    for (auto& row : TimeField)
        for (TMaskEdit* field : row)
            if (!field->Complete()) {
                field->Refuse();
                return false;
            }
    if (!meDelay->Complete()) {
        meDelay->Refuse();
        return false;
    }
    return true;
}

bool TEditForm::bbtnFitClick() {
    const SubTitle* doc = Document();
    const PerTitle* e = Entry();
    if (!e) return true;
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
