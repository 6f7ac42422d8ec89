#include "Kelhlist.h"

#include <QEvent>
#include <QFontMetrics>
#include <QScrollBar>

#include <algorithm>
#include <limits>

TKelHListBox::TKelHListBox(QWidget* parent) : QListWidget(parent) {
    // The range is the extent, in pixels; the bar shows only when the extent passes the width.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

int TKelHListBox::GetStringLength(const QString& s) const {
    const QFontMetrics metrics = fontMetrics();
    const int tabStop = 8 * metrics.averageCharWidth();
    // The whole width: an item wider than 65535 pixels keeps its size rather than wrapping
    // round to a narrow one.
    const qint64 text = !s.contains(QLatin1Char('\t'))
                            ? metrics.horizontalAdvance(s)
                            : metrics.size(Qt::TextExpandTabs, s, std::max(tabStop, 1)).width();
    const qint64 width = text + metrics.horizontalAdvance(QLatin1Char('X'));
    return int(std::min<qint64>(width, std::numeric_limits<int>::max()));
}

void TKelHListBox::SetScrollLength(const QString& s) {
    const int w = GetStringLength(s);
    if (w <= widest_) return;
    widest_ = w;
    extentSet_ = w;
    ApplyExtent();
}

void TKelHListBox::FindLognestString() {
    widest_ = 0;
    for (int i = 0; i < count(); ++i)
        SetScrollLength(item(i)->text());
}

int TKelHListBox::AddString(const QString& s) {
    addItem(s);
    return count() - 1;
}

void TKelHListBox::InsertString(int index, const QString& s) {
    // As the list box message does: -1 (or any place past the end) appends.
    insertItem(index < 0 || index > count() ? count() : index, s);
}

void TKelHListBox::DeleteString(int index) {
    if (index < 0 || index >= count()) return;
    delete takeItem(index);
}

void TKelHListBox::rowsInserted(const QModelIndex& parent, int start, int end) {
    QListWidget::rowsInserted(parent, start, end);
    if (parent.isValid()) return;
    for (int row = start; row <= end; ++row)
        if (const QListWidgetItem* it = item(row)) SetScrollLength(it->text());
}

void TKelHListBox::updateGeometries() {
    QListWidget::updateGeometries();
    ApplyExtent();
}

void TKelHListBox::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    // Widths were measured in the old font; the range stays as set until measured again.
    if (event->type() == QEvent::FontChange) ApplyExtent();
}

void TKelHListBox::ApplyExtent() {
    QScrollBar* bar = horizontalScrollBar();
    const int page = viewport()->width();
    bar->setPageStep(std::max(page, 1));
    bar->setSingleStep(std::max(1, fontMetrics().averageCharWidth()));
    bar->setRange(0, std::max(0, extentSet_ - page));
}
