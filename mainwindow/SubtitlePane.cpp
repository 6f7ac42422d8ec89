#include "SubtitlePane.h"

#include "CheckForm.h"
#include "CodePage.h"
#include "Editing.h"
#include "Kellabel.h"
#include "Kelpanel.h"
#include "SubtitleGrid.h"
#include "SubtitleGridView.h"
#include "Tags.h"
#include "Texts.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cstdint>

namespace {

const QColor kActiveTitle(0x00, 0x00, 0xFF);
const QColor kIdleTitle(0x80, 0x80, 0x80);

// Row ranges of a selection, in order and joined where they touch. Read from the selection's
// ranges (the grid selects whole rows), not row by row: a selection of every row of a million
// costs what one of a few rows does.
std::vector<std::pair<int, int>> RowRanges(const QItemSelectionModel* selection) {
    std::vector<std::pair<int, int>> spans;
    for (const QItemSelectionRange& range : selection->selection())
        if (range.isValid()) spans.emplace_back(range.top(), range.bottom());
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> ranges;
    for (const auto& [top, bottom] : spans) {
        if (!ranges.empty() && ranges.back().second + 1 >= top)
            ranges.back().second = std::max(ranges.back().second, bottom);
        else
            ranges.emplace_back(top, bottom);
    }
    return ranges;
}

} // namespace

TSubtitlePane::TSubtitlePane(TSideDocument* document, QTableView* grid, TKelLabel* title,
                             TKelPanel* caption, QTimer* timer, QObject* parent)
    : QObject(parent), Side(document->Side()), Grid(grid),
      GridModel(new TSubtitleGridModel(grid)), FileLabel(title), CaptionPanel(caption),
      SubTimer(timer), document_(document) {
    const int side = Side;
    setObjectName(side ? QStringLiteral("PaneR") : QStringLiteral("PaneL"));
    CaptionStyle = DefaultCaptionStyle(side);
    QAbstractItemModel* old = grid->model();
    grid->setModel(GridModel);
    delete old;
    grid->setItemDelegate(new TSubtitleGridDelegate(grid));
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->setEnabled(false);
    grid->setProperty("tag", side);

    // The grid model first: the rows must be there before the view is put back on them.
    GridModel->SetCheckLimits(TCheckForm::StoredLimits());
    GridModel->Follow(document);
    // Only a step keeps the view; undo and redo select what they changed instead (and reading
    // a selection of a thousand scattered rows costs more than the undo itself).
    connect(document, &TSideDocument::aboutToChange, this, [this](TSideDocument::TMove move) {
        if (move == TSideDocument::TMove::Step) kept_ = SaveView();
    });
    connect(document, &TSideDocument::changed, this, &TSubtitlePane::Changed);
    connect(document, &TSideDocument::aboutToReplace, this, [this] { kept_ = SaveView(); });
    connect(document, &TSideDocument::replaced, this, &TSubtitlePane::Replaced);
    connect(document, &TSideDocument::historyChanged, this, &TSubtitlePane::UpdateTitle);
    title->setProperty("tag", side);

    // A row change is the user's: keys and clicks, not selections made here.
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (selectingRows_) return;
        rowChangedInPress_ = true;
        emit rowChanged(Side);
    });
    // A click on the row that is already current changes no current row, and is a row change
    // all the same.
    grid->viewport()->installEventFilter(this);
    connect(grid, &QAbstractItemView::pressed, this, [this] {
        if (!rowChangedInPress_) emit rowChanged(Side);
    });
}

bool TSubtitlePane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Grid->viewport() && event->type() == QEvent::MouseButtonPress)
        rowChangedInPress_ = false;
    return QObject::eventFilter(watched, event);
}

void TSubtitlePane::Replaced() {
    // A new document keeps the selection, the current row and the scroll by row number.
    FitTextColumn();
    RestoreView(kept_);
    ShownIndex = -1;
    GridModel->SetShownIndex(-1);
    // The caption and the timer's memory belonged to the document just let go.
    LastShownIndex = -1;
    LastCaptionText.clear();
    CaptionPanel->setCaption(QString());
    CaptionPanel->SetCaptionItalic(false);
    Grid->setEnabled(Doc() != nullptr);
    UpdateTitle();
    emit documentReplaced(Side);
}

TSubtitlePane::TView TSubtitlePane::SaveView() const {
    TView view;
    view.Scroll = Grid->verticalScrollBar()->value();
    view.Current = Grid->currentIndex().row();
    view.Selected = RowRanges(Grid->selectionModel());
    return view;
}

void TSubtitlePane::RestoreView(const TView& view) {
    const int rows = GridModel->rowCount();
    selectingRows_ = true;
    if (view.Current >= 0 && view.Current < rows)
        Grid->selectionModel()->setCurrentIndex(GridModel->index(view.Current, 0),
                                                QItemSelectionModel::NoUpdate);
    QItemSelection selection;
    for (const auto& [first, last] : view.Selected) {
        if (first >= rows) break;
        selection.select(GridModel->index(first, 0),
                         GridModel->index(std::min(last, rows - 1), GridModel->columnCount() - 1));
    }
    Grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    selectingRows_ = false;
    Grid->verticalScrollBar()->setValue(view.Scroll);
}

void TSubtitlePane::FitTextColumn() {
    const int width = Grid->fontMetrics().horizontalAdvance(QLatin1Char('H'));
    // Wide enough for the widest text.
    const int wanted = std::max(155, static_cast<int>(width * GridModel->WidestText() * 0.75));
    // The view lets it fill the pane where the texts are narrower.
    if (auto* view = qobject_cast<TSubtitleGridView*>(Grid)) view->SetTextWidth(wanted);
}

void TSubtitlePane::Changed(const std::vector<TRowSpan>& rows, TSideDocument::TMove move) {
    if (move == TSideDocument::TMove::Step) {
        // The rows keep their numbers, as after a refill: the selection stays where it was.
        RestoreView(kept_);
    } else {
        std::vector<std::pair<int, int>> spans;
        for (const TRowSpan& span : rows)
            spans.emplace_back(span.First, span.Last);
        SelectSpans(spans, true);
    }
    FitTextColumn();
    UpdateTitle();
    emit entriesChanged(Side);
}

void TSubtitlePane::SelectSpans(const std::vector<std::pair<int, int>>& spans, bool scrollTo) {
    const int rows = GridModel->rowCount();
    if (rows == 0) return;
    QItemSelection selection;
    int first = -1;
    for (auto [from, to] : spans) {
        from = std::clamp(from, 0, rows - 1);
        to = std::clamp(to, from, rows - 1);
        selection.select(GridModel->index(from, 0),
                         GridModel->index(to, GridModel->columnCount() - 1));
        first = first < 0 ? from : std::min(first, from);
    }
    if (first < 0) return;
    selectingRows_ = true;
    Grid->selectionModel()->setCurrentIndex(GridModel->index(first, 0),
                                            QItemSelectionModel::NoUpdate);
    Grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    selectingRows_ = false;
    if (scrollTo) Grid->scrollTo(GridModel->index(first, 0));
}

void TSubtitlePane::SetCurrentQuietly(int row) {
    selectingRows_ = true;
    Grid->selectionModel()->setCurrentIndex(GridModel->index(row, 0),
                                            QItemSelectionModel::NoUpdate);
    selectingRows_ = false;
}

// Like a grid that always has a current cell: with nothing selected, the current row, and before
// any, the first row.
int TSubtitlePane::SelectionTop() const {
    const auto ranges = RowRanges(Grid->selectionModel());
    if (ranges.empty()) return std::max(Grid->currentIndex().row(), 0) + 1;
    return ranges.front().first + 1;
}

int TSubtitlePane::SelectionBottom() const {
    const auto ranges = RowRanges(Grid->selectionModel());
    if (ranges.empty()) return SelectionTop();
    return ranges.back().second + 1;
}

std::vector<int> TSubtitlePane::SelectedEntries() const {
    std::vector<int> entries;
    for (const auto& [first, last] : RowRanges(Grid->selectionModel()))
        for (int row = first; row <= last; ++row)
            entries.push_back(row);
    if (entries.empty()) entries.push_back(SelectionTop() - 1);
    return entries;
}

void TSubtitlePane::SelectRow(int index, bool centre) {
    const int entries = GridModel->rowCount();
    if (index < 0 || index >= entries) return;
    const int row = index + 1; // grid rows count the header as row 0
    selectingRows_ = true;
    Grid->selectionModel()->setCurrentIndex(GridModel->index(index, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    selectingRows_ = false;

    const int rowHeight = std::max(1, Grid->verticalHeader()->defaultSectionSize());
    const int visible = std::max(1, Grid->viewport()->height() / rowHeight);
    QScrollBar* bar = Grid->verticalScrollBar();
    if (!centre) {
        // Just into view, rows only: the pane keeps its horizontal scroll.
        if (index < bar->value())
            bar->setValue(index);
        else if (index >= bar->value() + visible)
            bar->setValue(index - visible + 1);
        return;
    }

    // Towards the middle: half a page of rows above the selected one, or the last page.
    const int half = visible / 2;
    const int rowCount = entries + 1;
    int top = std::max(1, row - half);
    if (row >= rowCount - 1 - half) top = std::max(1, rowCount - visible);
    bar->setValue(top - 1);
}

QString TSubtitlePane::Title(bool marked) const {
    if (!Doc()) return QString();
    // The title bar draws "&" as the mark of an underlined character: a path's own are doubled.
    QString shown = QString::fromStdString(Doc()->FileName());
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("[%1] -- %2%3")
        .arg(TextOf(txLeftSide + Side), shown,
             marked && document_->IsModified() ? QStringLiteral("*") : QString());
}

void TSubtitlePane::UpdateTitle() {
    const SubTitle* doc = Doc();
    if (!doc) return;
    FileLabel->setCaption(Title());
    FileLabel->setToolTip(QString::fromStdString(doc->FileName()) + QStringLiteral("\n") +
                          QString::fromStdString(EncodingName(doc->CodePage(), doc->Encoding())));
}

void TSubtitlePane::ShowActive(bool active) {
    FileLabel->setColor(active ? kActiveTitle : kIdleTitle);
}

QString TSubtitlePane::CaptionAt(double t, double filmEnd) {
    const SubTitle* doc = Doc();
    if (!doc) return QString();
    const int entry = ::CaptionAt(*doc, ShownIndex, t, filmEnd);
    // The caption as the film shows it: without its format's tags, in italics where they say
    // so. The look goes to the panel with the text, which the caller sets next.
    const TCaption caption = entry < 0 ? TCaption() : CaptionOf(*doc, entry);
    CaptionPanel->SetCaptionItalic(caption.Italic);
    // The panel breaks its caption at "|": a bar of the text itself (ASS and WebVTT hold one)
    // is shown as the look-alike U+01C0, so that it stays on its line.
    QStringList lines;
    for (const std::string& line : caption.Lines)
        lines << QString::fromStdString(ToUtf8(doc->CodePage(), line))
                     .replace(QLatin1Char('|'), QChar(0x01C0));
    return lines.join(QLatin1Char('|'));
}

void TSubtitlePane::ApplyCaptionStyle() {
    CaptionPanel->setColor(WinColorToQColor(CaptionStyle.BGColor));
    CaptionPanel->SetFont(CaptionStyle.Font(), WinColorToQColor(CaptionStyle.FontColor));
    // Ascent plus descent, without the leading between lines.
    CaptionLineHeight = QFontMetrics(CaptionPanel->font()).height();
    // Negative: a number of lines; positive: pixels. Kept within what a widget can be.
    int64_t h = CaptionHeight;
    if (h < 0) h = -h * CaptionLineHeight;
    CaptionPanel->setFixedHeight(int(std::clamp<int64_t>(h, 0, QWIDGETSIZE_MAX)));
}
