#pragma once
// A pane's grid as the user sees it: the text column fills what the number and time columns
// leave (or is wider, for texts wider than that), and going to a cell scrolls rows into sight,
// never the columns, so the number and times stay beside the text that was clicked.
#include <QTableView>

class TSubtitleGridView : public QTableView {
    Q_OBJECT
public:
    explicit TSubtitleGridView(QWidget* parent = nullptr);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // The text column's least width: what its widest text needs.
    void SetTextWidth(int width);
    int TextWidth() const { return textWidth_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitTextColumn();

    int textWidth_ = 0;
};
