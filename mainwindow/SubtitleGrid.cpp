#include "SubtitleGrid.h"

#include "CodePage.h"
#include "Subtitle.h"

#include <QPainter>

#include <algorithm>

TSubtitleGridModel::TSubtitleGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void TSubtitleGridModel::Fill(const SubTitle* doc) {
    beginResetModel();
    doc_ = doc;
    widestText_ = 0;
    if (doc_) {
        const int codePage = doc_->CodePage();
        for (const PerTitle& e : doc_->Entries()) {
            // Byte length bounds the display width from above, so most texts need no walk.
            if (static_cast<int>(e.Text.size()) > widestText_)
                widestText_ = std::max(widestText_, DisplayWidth(codePage, e.Text));
        }
    }
    endResetModel();
}

TChange TSubtitleGridModel::Apply(SubTitle& doc, TChange change, std::vector<TRowSpan>* rows) {
    doc.Check(change);
    int codePage = doc.CodePage();
    const bool shown = doc_ == &doc;
    // Changed rows are told in one span while no row comes or goes, so that a change of many
    // scattered entries is one repaint, not one signal each.
    int dirtyFirst = -1, dirtyLast = -1;
    auto flush = [&] {
        if (dirtyFirst >= 0 && shown)
            emit dataChanged(index(dirtyFirst, 0), index(dirtyLast, ColumnCount - 1));
        dirtyFirst = dirtyLast = -1;
    };
    auto dirty = [&](int first, int last) {
        if (first > last) return;
        dirtyFirst = dirtyFirst < 0 ? first : std::min(dirtyFirst, first);
        dirtyLast = std::max(dirtyLast, last);
    };
    std::vector<TRowSpan> spans;
    TChange back;
    back.Hunks.reserve(change.Hunks.size());
    for (THunk& hunk : change.Hunks) {
        if (auto* splice = std::get_if<TSplice>(&hunk)) {
            const int first = splice->First, count = splice->Count;
            const int n = static_cast<int>(splice->Entries.size());
            for (const PerTitle& e : splice->Entries)
                if (static_cast<int>(e.Text.size()) > widestText_)
                    widestText_ = std::max(widestText_, DisplayWidth(codePage, e.Text));
            if (n != count) {
                flush();
                if (rows) {
                    // Spans after the splice move with the rows they name.
                    for (TRowSpan& span : spans) {
                        if (span.First >= first + count) {
                            span.First += n - count;
                            span.Last += n - count;
                        } else if (span.Last >= first + n) {
                            span.Last = std::max(span.First, first + n - 1);
                        }
                    }
                }
            }
            if (n < count && shown) beginRemoveRows({}, first + n, first + count - 1);
            if (n > count && shown) beginInsertRows({}, first + count, first + n - 1);
            back.Hunks.push_back(doc.Apply(std::move(hunk)));
            if (n < count && shown) endRemoveRows();
            if (n > count && shown) endInsertRows();
            dirty(first, first + std::min(n, count) - 1);
            if (rows) spans.push_back({first, n > 0 ? first + n - 1 : first});
        } else if (std::holds_alternative<TRecode>(hunk)) {
            // Every text is shown through the page: all rows are drawn again.
            back.Hunks.push_back(doc.Apply(std::move(hunk)));
            codePage = doc.CodePage();
            dirty(0, doc.Count() - 1);
        } else {
            const auto& retime = std::get<TRetime>(hunk);
            const int first = retime.First;
            const int last = first + static_cast<int>(retime.Times.size()) - 1;
            back.Hunks.push_back(doc.Apply(std::move(hunk)));
            dirty(first, last);
            if (rows && first <= last) spans.push_back({first, last});
        }
    }
    flush();
    std::reverse(back.Hunks.begin(), back.Hunks.end());
    if (rows) *rows = std::move(spans);
    return back;
}

void TSubtitleGridModel::SetColumnTitles(const QStringList& titles) {
    titles_ = titles;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void TSubtitleGridModel::SetShownIndex(int index) {
    if (index == shownIndex_) return;
    const int old = shownIndex_;
    shownIndex_ = index;
    for (int row : {old, index}) {
        if (row >= 0 && row < rowCount())
            emit dataChanged(this->index(row, 0), this->index(row, ColumnCount - 1),
                             {Qt::BackgroundRole});
    }
}

void TSubtitleGridModel::SetCurrentRowColor(const QColor& color) {
    if (color == currentRowColor_) return;
    currentRowColor_ = color;
    if (shownIndex_ >= 0 && shownIndex_ < rowCount())
        emit dataChanged(index(shownIndex_, 0), index(shownIndex_, ColumnCount - 1),
                         {Qt::BackgroundRole});
}

int TSubtitleGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !doc_ ? 0 : doc_->Count();
}

int TSubtitleGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString TSubtitleGridModel::CellText(int row, int column) const {
    const PerTitle* e = doc_ ? doc_->Item(row) : nullptr;
    if (!e) return {};
    switch (column) {
    case ColNumber:
        return QString::number(row + 1);
    case ColStart:
        return QString::fromStdString(e->StartText());
    case ColDuration:
        return QString::fromStdString(e->DurationText());
    case ColText:
        return QString::fromStdString(ToUtf8(doc_->CodePage(), TrimText(e->Text)));
    default:
        return {};
    }
}

QVariant TSubtitleGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole:
        return CellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return index.column() == ColText ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                         : QVariant(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (index.column() == ColNumber) return TSubtitleGridDelegate::NumberBackground;
        if (index.row() == shownIndex_) return currentRowColor_;
        return {};
    default:
        return {};
    }
}

QVariant TSubtitleGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::DisplayRole) return section < titles_.size() ? titles_[section] : QString();
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignCenter);
    if (role == Qt::BackgroundRole) return QColor(0xCC, 0xCC, 0xCC);
    return {};
}

const QColor TSubtitleGridDelegate::SelectedText{0xFF, 0x00, 0x00};
const QColor TSubtitleGridDelegate::SelectedBackground{0xFF, 0xFF, 0xCC};
const QColor TSubtitleGridDelegate::NumberBackground{0xCC, 0xFF, 0xCC};

void TSubtitleGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const auto* model = qobject_cast<const TSubtitleGridModel*>(index.model());
    const bool shown = model && index.row() == model->ShownIndex();
    const bool selected = option.state & QStyle::State_Selected;
    QColor background = Qt::white;
    QColor text = Qt::black;
    if (shown) {
        background = model->CurrentRowColor();
    } else if (selected) {
        background = SelectedBackground;
        text = SelectedText;
    }
    if (index.column() == TSubtitleGridModel::ColNumber) background = NumberBackground;

    painter->save();
    painter->fillRect(option.rect, background);
    painter->setPen(text);
    painter->setFont(option.font);
    // One line, clipped: a caption's "|" separators stay visible.
    const QRect area = option.rect.adjusted(2, 0, 0, 0);
    const auto alignment =
        Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) | Qt::TextSingleLine;
    painter->setClipRect(option.rect);
    painter->drawText(area, static_cast<int>(alignment | Qt::TextExpandTabs),
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}
