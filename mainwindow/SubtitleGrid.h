#pragma once
// A pane's grid: a view of the side's document, never a copy of it, so that filling a pane of a
// hundred thousand entries is a model reset and nothing more.
//
// Columns: 0 the entry number, 1 a spacer, 2 the start, 3 the duration, 4 the text. Row r of
// the model shows entry r (the header is the view's own).
#include "Change.h"
#include "Checks.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStyledItemDelegate>

class SubTitle;
class TSideDocument;

#include <vector>

class TSubtitleGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum { ColNumber, ColSpacer, ColStart, ColDuration, ColText, ColumnCount };

    explicit TSubtitleGridModel(QObject* parent = nullptr);

    // Shows the document (null: an empty grid) and measures its widest text.
    void Fill(const SubTitle* doc);
    const SubTitle* Document() const { return doc_; }
    // Widest text of the last fill, in columns (a double-width character counts 2).
    int WidestText() const { return widestText_; }

    // Follows a side: its document shown, its changes told to the views by rows as they happen
    // (entries put in and taken out as row insertions and removals, changed ones as changed
    // data), so that selection and scroll stay with their rows.
    void Follow(const TSideDocument* side);

    void SetColumnTitles(const QStringList& titles);
    // The entry whose caption is showing (or was last passed); -1 none. Repaints just the two
    // rows concerned.
    void SetShownIndex(int index);
    int ShownIndex() const { return shownIndex_; }
    void SetCurrentRowColor(const QColor& color);
    QColor CurrentRowColor() const { return currentRowColor_; }

    // The limits the readability checks go by. The 延遲 cell of an entry with a problem is drawn
    // in the warning colour; an entry is checked only when its row is drawn, and again only once
    // it or a neighbour changes, so that neither filling nor scrolling a million rows checks them
    // all.
    void SetCheckLimits(const TCheckLimits& limits);
    const TCheckLimits& CheckLimits() const { return limits_; }
    bool HasProblem(int row) const;

    // The text of a cell as drawn: trimmed, decoded from the document's code page.
    QString CellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void HunkAboutToApply(int first, int removed, int inserted);
    void HunkApplied(int first, int removed, int inserted);
    // Changed rows are told in one span while no row comes or goes, so that a change of many
    // scattered entries is one repaint, not one signal each.
    void Dirty(int first, int last);
    void Flush();
    // Rows first..last (clamped) are to be checked again when next drawn.
    void Forget(int first, int last);

    const SubTitle* doc_ = nullptr;
    TCheckLimits limits_;
    // Per entry: 0 not checked since it or a neighbour last changed, 1 no problem, 2 a problem.
    mutable std::vector<uint8_t> problems_;
    int dirtyFirst_ = -1, dirtyLast_ = -1;
    int widestText_ = 0;
    int shownIndex_ = -1;
    QColor currentRowColor_{0xCC, 0xCC, 0xFF};
    QStringList titles_;
};

// The colours of a pane's cells: the showing row in the current-row colour, selected rows red on
// light yellow, the rest black on white, and the number column always light green. The 延遲 cell
// of an entry with a readability problem is light orange, under the current-row colour only.
class TSubtitleGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static const QColor SelectedText;       // FF0000
    static const QColor SelectedBackground; // FFFFCC
    static const QColor NumberBackground;   // CCFFCC
    static const QColor WarningBackground;  // FFC89A

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
