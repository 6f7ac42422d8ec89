#pragma once
// One side's document and its history, behind one owner: the only way the side's entries change.
// It applies a change as a named step, undoes, redoes, saves and replaces the document, knows
// from its history whether the document differs from its file, and announces every change, so
// that the grid, the captions, the edit window and the sound view follow by listening.
#include "History.h"
#include "Subtitle.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>
#include <vector>

// Rows (entry indexes) a hunk touched, as they stand after the change; a removal names the row
// after it.
struct TRowSpan {
    int First = 0, Last = 0;
};

class TSideDocument : public QObject {
    Q_OBJECT
public:
    enum class TMove { Step, Undo, Redo };

    explicit TSideDocument(int side, QObject* parent = nullptr);
    ~TSideDocument() override;

    int Side() const { return side_; }
    // The document, or null while the side has none.
    const SubTitle* Document() const { return doc_.get(); }
    // Differs from its file: the history does not stand where the file was read or saved.
    bool IsModified() const { return doc_ && !history_.IsClean(); }
    const TEditHistory& History() const { return history_; }
    void SetHistoryLimits(std::size_t maxSteps, std::size_t maxBytes);

    // Applies change as one step named name. False, and no step, when there is no document or
    // the change is empty. Throws SubtitleError, changing nothing, when it does not fit.
    bool Apply(const QString& name, TChange change);
    // Takes back the newest step, or does again the one last taken back; false when there is
    // none. A step that no longer fits the document throws and stays where it was.
    bool Undo();
    bool Redo();
    // Writes the document to its file; the history's saved state moves here.
    bool Save(std::string* why);
    // Another document takes the side (or none), with a fresh history. A document brought back
    // from a recovery copy is not saved: no state of its history is.
    void Replace(std::unique_ptr<SubTitle> doc, bool saved = true);

signals:
    // Before a step, undo or redo touches the entries.
    void aboutToChange(TSideDocument::TMove move);
    // Around each hunk as it is applied: at entry first, removed entries give way to inserted
    // ones (a re-timing removes and inserts the same entries: they change in place).
    void hunkAboutToApply(int first, int removed, int inserted);
    void hunkApplied(int first, int removed, int inserted);
    // After the whole step, undo or redo, with the rows it touched.
    void changed(const std::vector<TRowSpan>& rows, TSideDocument::TMove move);
    // Around the replacement of the document: views let go of the old one first.
    void aboutToReplace();
    void replaced();
    // The history moved (undo and redo names, the modified state): after every change, a save
    // and a replacement.
    void historyChanged();

private:
    // Takes back (Undo) or does again (Redo) the next step of the history.
    bool Travel(TMove move);
    // Applies a change hunk by hunk with the announcements; answers what takes it back.
    TChange Run(TChange change, std::vector<TRowSpan>& rows);

    const int side_;
    std::unique_ptr<SubTitle> doc_;
    TEditHistory history_;
};
