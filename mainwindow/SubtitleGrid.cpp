#include "SubtitleGrid.h"

#include "CodePage.h"
#include "SideDocument.h"
#include "Subtitle.h"

#include <QPainter>

#include <algorithm>

TSubtitleGridModel::TSubtitleGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void TSubtitleGridModel::Fill(const SubTitle* doc) {
    beginResetModel();
    doc_ = doc;
    dirtyFirst_ = dirtyLast_ = -1;
    problems_.assign(doc_ ? static_cast<std::size_t>(doc_->Count()) : 0, 0);
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

void TSubtitleGridModel::Follow(const TSideDocument* side) {
    connect(side, &TSideDocument::aboutToReplace, this, [this] { Fill(nullptr); });
    connect(side, &TSideDocument::replaced, this, [this, side] { Fill(side->Document()); });
    connect(side, &TSideDocument::hunkAboutToApply, this, &TSubtitleGridModel::HunkAboutToApply);
    connect(side, &TSideDocument::hunkApplied, this, &TSubtitleGridModel::HunkApplied);
    connect(side, &TSideDocument::changed, this, [this] { Flush(); });
    Fill(side->Document());
}

void TSubtitleGridModel::HunkAboutToApply(int first, int removed, int inserted) {
    if (removed == inserted) return;
    Flush();
    if (inserted < removed) beginRemoveRows({}, first + inserted, first + removed - 1);
    if (inserted > removed) beginInsertRows({}, first + removed, first + inserted - 1);
}

void TSubtitleGridModel::HunkApplied(int first, int removed, int inserted) {
    if (inserted < removed) endRemoveRows();
    if (inserted > removed) endInsertRows();
    if (!doc_) return;
    // The marks move with their rows; the changed rows are checked again, and so are the rows
    // either side: the one before for its overlap and gap to the next entry, the one after for
    // its order against the entry before it.
    const auto at = [this](int row) {
        return problems_.begin() + std::clamp<std::ptrdiff_t>(row, 0, std::ssize(problems_));
    };
    if (inserted > removed)
        problems_.insert(at(first + removed), std::size_t(inserted - removed), uint8_t{0});
    if (inserted < removed) problems_.erase(at(first + inserted), at(first + removed));
    problems_.resize(static_cast<std::size_t>(doc_->Count()), 0);
    Forget(first - 1, first + inserted);
    const int codePage = doc_->CodePage();
    for (int i = first; i < first + inserted; ++i) {
        const std::string& text = doc_->Item(i)->Text;
        // Byte length bounds the display width from above, so most texts need no walk.
        if (static_cast<int>(text.size()) > widestText_)
            widestText_ = std::max(widestText_, DisplayWidth(codePage, text));
    }
    Dirty(std::max(0, first - 1), std::min(doc_->Count() - 1, first + inserted));
}

void TSubtitleGridModel::Forget(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(problems_.size()) - 1);
    if (first <= last)
        std::fill(problems_.begin() + first, problems_.begin() + last + 1, uint8_t{0});
}

void TSubtitleGridModel::SetCheckLimits(const TCheckLimits& limits) {
    if (limits == limits_) return;
    limits_ = limits;
    Forget(0, static_cast<int>(problems_.size()) - 1);
    if (rowCount() > 0)
        emit dataChanged(index(0, ColDuration), index(rowCount() - 1, ColDuration),
                         {Qt::BackgroundRole});
}

bool TSubtitleGridModel::HasProblem(int row) const {
    if (!doc_ || row < 0 || row >= doc_->Count() || row >= std::ssize(problems_)) return false;
    if (problems_[static_cast<std::size_t>(row)] == 0) {
        // The rows drawn come in pages: a block about the row is checked at once, through one
        // converter, so a page costs one check call rather than one for each cell.
        constexpr int kBlock = 64;
        const int first = row / kBlock * kBlock;
        const int last = std::min(first + kBlock, doc_->Count()) - 1;
        std::fill(problems_.begin() + first, problems_.begin() + last + 1, uint8_t{1});
        for (const TCheckProblem& p : CheckEntries(*doc_, first, last, limits_))
            problems_[static_cast<std::size_t>(p.Index)] = 2;
    }
    return problems_[static_cast<std::size_t>(row)] == 2;
}

void TSubtitleGridModel::Dirty(int first, int last) {
    if (first > last) return;
    dirtyFirst_ = dirtyFirst_ < 0 ? first : std::min(dirtyFirst_, first);
    dirtyLast_ = std::max(dirtyLast_, last);
}

void TSubtitleGridModel::Flush() {
    if (dirtyFirst_ >= 0 && doc_)
        emit dataChanged(index(dirtyFirst_, 0), index(dirtyLast_, ColumnCount - 1));
    dirtyFirst_ = dirtyLast_ = -1;
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
        if (index.column() == ColDuration && HasProblem(index.row()))
            return TSubtitleGridDelegate::WarningBackground;
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
const QColor TSubtitleGridDelegate::WarningBackground{0xFF, 0xC8, 0x9A};

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
    // A problem shows on selected rows too; only the showing row's colour stays above it.
    if (index.column() == TSubtitleGridModel::ColDuration && model && !shown &&
        model->HasProblem(index.row()))
        background = WarningBackground;

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
