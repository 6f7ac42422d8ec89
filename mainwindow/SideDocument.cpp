#include "SideDocument.h"

#include <algorithm>
#include <utility>

TSideDocument::TSideDocument(int side, QObject* parent) : QObject(parent), side_(side) {
    setObjectName(side ? QStringLiteral("SideR") : QStringLiteral("SideL"));
}

TSideDocument::~TSideDocument() = default;

void TSideDocument::SetHistoryLimits(std::size_t maxSteps, std::size_t maxBytes) {
    history_.SetLimits(maxSteps, maxBytes);
    emit historyChanged();
}

namespace {

// Entries a hunk takes out and puts in at its first entry.
void Extent(const THunk& hunk, int& first, int& removed, int& inserted) {
    if (const auto* splice = std::get_if<TSplice>(&hunk)) {
        first = splice->First;
        removed = splice->Count;
        inserted = static_cast<int>(splice->Entries.size());
    } else if (const auto* retime = std::get_if<TRetime>(&hunk)) {
        first = retime->First;
        removed = inserted = static_cast<int>(retime->Times.size());
    }
}

} // namespace

TChange TSideDocument::Run(TChange change, std::vector<TRowSpan>& rows) {
    doc_->Check(change);
    TChange back;
    back.Hunks.reserve(change.Hunks.size());
    for (THunk& hunk : change.Hunks) {
        int first = 0, removed = 0, inserted = 0;
        Extent(hunk, first, removed, inserted);
        // A new code page changes how every text reads: every row is told, none is selected.
        const bool recode = std::holds_alternative<TRecode>(hunk);
        if (recode) removed = inserted = doc_->Count();
        if (removed != inserted) {
            // Spans already told move with the rows they name.
            for (TRowSpan& span : rows) {
                if (span.First >= first + removed) {
                    span.First += inserted - removed;
                    span.Last += inserted - removed;
                } else if (span.Last >= first + inserted) {
                    span.Last = std::max(span.First, first + inserted - 1);
                }
            }
        }
        emit hunkAboutToApply(first, removed, inserted);
        back.Hunks.push_back(doc_->Apply(std::move(hunk)));
        emit hunkApplied(first, removed, inserted);
        if (!recode && (removed > 0 || inserted > 0))
            rows.push_back({first, inserted > 0 ? first + inserted - 1 : first});
    }
    std::reverse(back.Hunks.begin(), back.Hunks.end());
    return back;
}

bool TSideDocument::Apply(const QString& name, TChange change) {
    if (!doc_ || change.Empty()) return false;
    doc_->Check(change);
    emit aboutToChange(TMove::Step);
    std::vector<TRowSpan> rows;
    history_.Record(name, Run(std::move(change), rows));
    emit changed(rows, TMove::Step);
    emit historyChanged();
    return true;
}

bool TSideDocument::Undo() {
    return Travel(TMove::Undo);
}

bool TSideDocument::Redo() {
    return Travel(TMove::Redo);
}

bool TSideDocument::Travel(TMove move) {
    const bool back = move == TMove::Undo;
    if (!doc_ || !(back ? history_.CanUndo() : history_.CanRedo())) return false;
    // Checked before the step gives up its change, so that a refusal leaves the step whole.
    doc_->Check(back ? history_.NextUndo() : history_.NextRedo());
    emit aboutToChange(move);
    std::vector<TRowSpan> rows;
    if (back)
        history_.Undone(Run(history_.TakeUndo(), rows));
    else
        history_.Redone(Run(history_.TakeRedo(), rows));
    emit changed(rows, move);
    emit historyChanged();
    return true;
}

bool TSideDocument::Save(std::string* why) {
    if (!doc_ || !doc_->Save(why)) return false;
    history_.SetClean();
    emit historyChanged();
    return true;
}

void TSideDocument::Replace(std::unique_ptr<SubTitle> doc, bool saved) {
    emit aboutToReplace();
    doc_ = std::move(doc);
    if (saved)
        history_.Clear();
    else
        history_.ClearUnsaved();
    emit replaced();
    emit historyChanged();
}
