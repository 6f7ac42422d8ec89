#pragma once
// TKelHListBox: a list box whose horizontal scroll range reaches the widest item added so far,
// plus the width of one "X" as a margin after the text. The range only grows: deleting items
// leaves it, and FindLognestString measures the items again from scratch.
#include <QListWidget>

class TKelHListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TKelHListBox(QWidget* parent = nullptr);

    // Kept with the list box's other settings; nothing reads it (deletions never shrink the
    // range on their own).
    bool SizeAfterDel = true;

    // The horizontal extent in pixels: the widest measurement so far, and the range last set.
    int HorizontalExtent() const { return widest_; }

    // The item's width in the list box's font, tabs standing every eight average character
    // widths, plus the width of "X".
    int GetStringLength(const QString& s) const;
    // Widens the extent to the item's width when that is wider; never narrows it.
    void SetScrollLength(const QString& s);
    // Measures every item again from zero. On an empty list only the measurement is reset: the
    // range last set stays on the scroll bar.
    void FindLognestString();

    // The items as the list box's messages add, insert and delete them; items added through
    // QListWidget's own calls are measured the same way.
    int AddString(const QString& s);
    void InsertString(int index, const QString& s);
    void DeleteString(int index);

protected:
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void updateGeometries() override;
    void changeEvent(QEvent* event) override;

private:
    // The scroll bar's range for the extent set last.
    void ApplyExtent();

    int widest_ = 0;
    int extentSet_ = 0;
};
