#pragma once
// The history of one document: the steps that can be undone and redone, and where the state last
// saved or opened lies among them, so that the modified mark follows undo and redo.
//
// A step holds one change: the one that undoes it while it is done, the one that redoes it while
// it is undone; applying either answers the other. The history is capped by steps and by bytes,
// dropping the oldest steps first; the newest step is always kept, however large.
#include "Change.h"

#include <QString>

#include <cstddef>
#include <deque>

class TEditHistory {
public:
    static constexpr std::size_t kDefaultMaxSteps = 1000;
    static constexpr std::size_t kDefaultMaxBytes = std::size_t{256} << 20;

    // A step just done; undo takes it back. Steps that were undone are dropped.
    void Record(const QString& name, TChange undo);

    bool CanUndo() const { return index_ > 0; }
    bool CanRedo() const { return index_ < steps_.size(); }
    QString UndoName() const { return CanUndo() ? steps_[index_ - 1].Name : QString(); }
    QString RedoName() const { return CanRedo() ? steps_[index_].Name : QString(); }

    // The change that undoes the newest done step, left in it (CanUndo first); the same for redo.
    const TChange& NextUndo() const { return steps_[index_ - 1].Change; }
    const TChange& NextRedo() const { return steps_[index_].Change; }
    // The change that undoes the newest done step, taken out of it; hand back what applying it
    // answered with Undone. The same for redo.
    TChange TakeUndo();
    void Undone(TChange redo);
    TChange TakeRedo();
    void Redone(TChange undo);

    // Whether the document is as it was saved or opened.
    bool IsClean() const { return clean_ == static_cast<long long>(index_); }
    void SetClean() { clean_ = static_cast<long long>(index_); }
    // Empty, and clean: a document just opened.
    void Clear();
    // Empty, with no saved state in it: a document brought back unsaved.
    void ClearUnsaved() {
        Clear();
        clean_ = -1;
    }

    void SetLimits(std::size_t maxSteps, std::size_t maxBytes);
    std::size_t Steps() const { return steps_.size(); }
    std::size_t Bytes() const { return bytes_; }

private:
    struct Step {
        QString Name;
        TChange Change;
        std::size_t Bytes = 0;
    };
    void Trim();
    void Store(Step& step, TChange change);

    std::deque<Step> steps_;
    std::size_t index_ = 0; // steps before it are done
    long long clean_ = 0;   // -1: the saved state is no longer in the history
    std::size_t bytes_ = 0;
    std::size_t maxSteps_ = kDefaultMaxSteps;
    std::size_t maxBytes_ = kDefaultMaxBytes;
};
