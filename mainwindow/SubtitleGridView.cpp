#include "SubtitleGridView.h"

#include "SubtitleGrid.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

TSubtitleGridView::TSubtitleGridView(QWidget* parent) : QTableView(parent) {
    // A title column widened or narrowed by hand gives the text column the difference.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column != TSubtitleGridModel::ColText) FitTextColumn();
    });
}

void TSubtitleGridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QScrollBar* bar = horizontalScrollBar();
    const int x = bar->value();
    QTableView::scrollTo(index, hint);
    bar->setValue(x);
}

void TSubtitleGridView::SetTextWidth(int width) {
    textWidth_ = std::max(0, width);
    FitTextColumn();
}

void TSubtitleGridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    FitTextColumn();
}

void TSubtitleGridView::FitTextColumn() {
    if (!model() || model()->columnCount() <= TSubtitleGridModel::ColText) return;
    int others = 0;
    for (int c = 0; c < TSubtitleGridModel::ColText; ++c)
        if (!isColumnHidden(c)) others += columnWidth(c);
    const int wanted = std::max(textWidth_, viewport()->width() - others);
    if (columnWidth(TSubtitleGridModel::ColText) != wanted)
        setColumnWidth(TSubtitleGridModel::ColText, wanted);
}
