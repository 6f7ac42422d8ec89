#pragma once
// What the editing windows may ask of the editor that launches them, and nothing more: a tool
// reads a side's document, changes it only through ApplyChange (one undoable step), and moves
// the panes through these calls. Entries are counted from 0 everywhere here. The main window serves it; tests serve it with a double, so a
// tool needs no main window to be tried.
#include "Change.h"
#include "FormatData.h"

#include <QObject>
#include <QString>

#include <utility>
#include <vector>

class QWidget;
class SubTitle;

class TEditorHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A side's document, or null while the side has none. Ask each time: opening a file into
    // the side replaces it.
    virtual const SubTitle* Document(int side) const = 0;
    // Applies a change to a side's document as one undoable step named name, the pane following
    // by rows; false when there is no document or nothing changed. Throws SubtitleError,
    // changing nothing, when the change does not fit the document.
    virtual bool ApplyChange(int side, const QString& name, TChange change) = 0;
    // Selects the entry's row (0-based entry index) and brings it towards the middle.
    virtual void SelectRow(int side, int index) = 0;
    // Selects the entry's row, scrolling only as far as needed to show it (a playing film keeps
    // the pane where the captions move it).
    virtual void SelectRowInView(int side, int index) = 0;
    // Moves the other pane to the entry starting nearest to the side's entry at index.
    virtual void SyncOpposite(int side, int index) = 0;
    // The entries of the selected rows (sorted), which need not be next to each other
    // (Ctrl+click); the current row's when none is selected.
    virtual std::vector<int> SelectedEntries(int side) const = 0;
    // The first and last selected entries (the current row's when none is selected), without
    // listing what lies between: cheap enough to ask at every paint.
    virtual std::pair<int, int> SelectedSpan(int side) const = 0;
    // Whether the panes keep each other in step (the link command is checked).
    virtual bool Linked() const = 0;
    // The film: whether one is open, its position in seconds, whether it plays.
    virtual bool FilmOpen() const = 0;
    virtual double FilmPosition() const = 0;
    virtual bool FilmPlaying() const = 0;
    // The head a side's document takes when written as ASS or SSA from another format: the open
    // film's picture size (384 x 288 without one) and the side's caption font and colour.
    virtual TAssStyle NewAssStyle(int side) const = 0;
    // Before a tool overwrites an existing file: keeps its present version among the backups.
    // False, with why, when that cannot be done; the tool must not overwrite the file then.
    virtual bool KeepBackup(const QString& path, QString* why) = 0;
    // Takes back the side's newest step, or does again the one last taken back.
    virtual void Undo(int side) = 0;
    virtual void Redo(int side) = 0;
    // The window the tools centre on and parent their questions to.
    virtual QWidget* Window() const = 0;

signals:
    // A side's entries changed: a step, an undo or a redo.
    void entriesChanged(int side);
    // A side's document was replaced by another (or by none).
    void documentReplaced(int side);
};
