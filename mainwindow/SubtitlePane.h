#pragma once
// One side's views: the grid over the side's document, the title bar, the caption panel and its
// timer, and what the caption timer and the row commands remember of the side. The document and
// its history belong to the side object (TSideDocument); the pane listens to it.
#include "CaptionStyle.h"
#include "SideDocument.h"
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
    TSubtitlePane(TSideDocument* document, QTableView* grid, TKelLabel* title, TKelPanel* caption,
                  QTimer* timer, QObject* parent = nullptr);

    const int Side;
    // The side's document (null while none) and its owner, the one way to change it.
    const SubTitle* Doc() const { return document_->Document(); }
    TSideDocument* Document() const { return document_; }

    QTableView* Grid;
    TSubtitleGridModel* GridModel;
    TKelLabel* FileLabel;
    TKelPanel* CaptionPanel;
    QTimer* SubTimer;

    // What the caption timer and the row commands remember of this side.
    int ShownIndex = 0;
    int CaptionHeight = -3; // negative: lines; positive: pixels
    int CaptionLineHeight = 0;
    TCaptionStyle CaptionStyle;
    QString LastCaptionText;
    int LastShownIndex = -1;

    // Applies a change as one undoable step through the side object; false (and no step) when
    // it changes nothing. Throws SubtitleError, changing nothing, when it does not fit.
    bool Apply(const QString& name, TChange change) { return document_->Apply(name, std::move(change)); }

    // Selects the entry's row and brings it towards the middle of the pane; without centre, only
    // as far as needed to show it.
    void SelectRow(int index, bool centre = true);
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
    // The pane has followed a change of the side's entries (a step, an undo, a redo), or the
    // replacement of its document: its rows, selection and title are up to date.
    void entriesChanged(int side);
    void documentReplaced(int side);

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
    // Follows the side object: the view kept by row numbers through a step, the rows an undo or
    // redo changed selected, the caption memory of a replaced document let go.
    void Changed(const std::vector<TRowSpan>& rows, TSideDocument::TMove move);
    void Replaced();
    void FitTextColumn();

    TSideDocument* document_;
    TView kept_;

    bool selectingRows_ = false;
    bool rowChangedInPress_ = false;
};
