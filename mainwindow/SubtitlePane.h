#pragma once
// One side of the editor: its document and that document's history, the grid over it, the title
// bar, the caption panel and its timer, and what the caption timer and the row commands remember
// of the side. TMainForm holds two and keeps the controls' names as delegations to them.
#include "CaptionStyle.h"
#include "History.h"
#include "Subtitle.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QTableView;
class QTimer;
class TKelLabel;
class TKelPanel;
class TSubtitleGridModel;

class TSubtitlePane : public QObject {
    Q_OBJECT
public:
    TSubtitlePane(int side, QTableView* grid, TKelLabel* title, TKelPanel* caption, QTimer* timer,
                  QObject* parent = nullptr);

    const int Side;
    std::unique_ptr<SubTitle> Doc;
    TEditHistory History;

    QTableView* Grid;
    TSubtitleGridModel* GridModel;
    TKelLabel* FileLabel;
    TKelPanel* CaptionPanel;
    QTimer* SubTimer;

    // What the caption timer and the row commands remember of this side.
    int ShownIndex = 0;
    int ClickedRow = 0;
    int CaptionHeight = -3; // negative: lines; positive: pixels
    int CaptionLineHeight = 0;
    TCaptionStyle CaptionStyle;
    QString LastCaptionText;
    int LastShownIndex = -1;

    // A document read from a file takes the side: a fresh history, the grid filled, the caption
    // memory of the old document let go.
    // A document brought back from a recovery copy is not saved: no state of its history is.
    void SetDocument(std::unique_ptr<SubTitle> doc, bool saved = true);
    // Shows the document again from scratch, keeping the selection, the current row and the
    // scroll position by row number.
    void Fill();

    // Applies a change as one undoable step; false (and no step) when it changes nothing. The
    // grid follows by rows and keeps its selection and scroll by row number. Throws
    // SubtitleError, changing nothing, when the change does not fit the document.
    bool Apply(const QString& name, TChange change);
    // Undo and redo select the rows they changed.
    void Undo();
    void Redo();
    // Saves to the document's file; the history's saved state moves here.
    bool Save(std::string* why);

    // Selects the entry's row and brings it towards the middle of the pane.
    void SelectRow(int index);
    // Makes row current without counting it as the user's row change.
    void SetCurrentQuietly(int row);
    // Grid rows are 1-based (row r shows entry r - 1); the first row when nothing is selected.
    int SelectionTop() const;
    int SelectionBottom() const;
    // The entries of the selected rows, in order; the current row's when none is selected.
    std::vector<int> SelectedEntries() const;

    // "[side] -- path", with "*" while the document differs from its file when marked.
    QString Title(bool marked = true) const;
    void UpdateTitle();
    void ShowActive(bool active);

    // The caption at film moment t (ms), decoded from the document's code page; updates
    // ShownIndex. filmEnd stands in after the last entry.
    QString CaptionAt(double t, double filmEnd);
    // The caption panel takes the side's style and height.
    void ApplyCaptionStyle();

signals:
    // The user moved to a row, or clicked one (also the row already current).
    void rowChanged(int side);
    // Entries changed through a step, an undo or a redo: rows first..last as they stand now.
    void entriesChanged(int side);
    // The document was replaced by another file, or the history moved.
    void documentReplaced(int side);
    void historyChanged(int side);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TView {
        int Scroll = 0;
        int Current = -1;
        std::vector<std::pair<int, int>> Selected; // row ranges
    };
    TView SaveView() const;
    void RestoreView(const TView& view);
    void SelectSpans(const std::vector<std::pair<int, int>>& spans, bool scrollTo);
    // Undoes (back) or redoes the next step and selects the rows it changed.
    void Travel(bool back);
    void AfterChange();
    void FitTextColumn();

    bool selectingRows_ = false;
    bool rowChangedInPress_ = false;
};
