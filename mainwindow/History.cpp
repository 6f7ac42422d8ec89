#include "History.h"

#include <utility>

void TEditHistory::Store(Step& step, TChange change) {
    bytes_ -= step.Bytes;
    step.Change = std::move(change);
    step.Bytes = step.Change.Bytes() + static_cast<std::size_t>(step.Name.size()) * 2;
    bytes_ += step.Bytes;
}

void TEditHistory::Record(const QString& name, TChange undo) {
    while (steps_.size() > index_) {
        bytes_ -= steps_.back().Bytes;
        steps_.pop_back();
    }
    // The saved state was among the steps just dropped: no step leads back to it now.
    if (clean_ > static_cast<long long>(index_)) clean_ = -1;
    steps_.push_back(Step{name, {}, 0});
    Store(steps_.back(), std::move(undo));
    ++index_;
    Trim();
}

void TEditHistory::Trim() {
    while (steps_.size() > 1 && (steps_.size() > maxSteps_ || bytes_ > maxBytes_) && index_ > 0) {
        bytes_ -= steps_.front().Bytes;
        steps_.pop_front();
        --index_;
        clean_ = clean_ > 0 ? clean_ - 1 : -1;
    }
}

TChange TEditHistory::TakeUndo() {
    if (!CanUndo()) return {};
    Step& step = steps_[index_ - 1];
    bytes_ -= step.Bytes;
    step.Bytes = 0;
    return std::move(step.Change);
}

void TEditHistory::Undone(TChange redo) {
    if (!CanUndo()) return;
    Store(steps_[index_ - 1], std::move(redo));
    --index_;
}

TChange TEditHistory::TakeRedo() {
    if (!CanRedo()) return {};
    Step& step = steps_[index_];
    bytes_ -= step.Bytes;
    step.Bytes = 0;
    return std::move(step.Change);
}

void TEditHistory::Redone(TChange undo) {
    if (!CanRedo()) return;
    Store(steps_[index_], std::move(undo));
    ++index_;
    Trim();
}

void TEditHistory::Clear() {
    steps_.clear();
    index_ = 0;
    clean_ = 0;
    bytes_ = 0;
}

void TEditHistory::SetLimits(std::size_t maxSteps, std::size_t maxBytes) {
    maxSteps_ = maxSteps > 0 ? maxSteps : 1;
    maxBytes_ = maxBytes;
    Trim();
}
