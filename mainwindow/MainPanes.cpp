// The two subtitle panes: opening a file into a side, the grid and its title bar, the active
// pane, row changes, keeping the other pane in step, saving, and the recent files.
#include "Main.h"

#include "Editing.h"
#include "FilmPlayer.h"
#include "Kellabel.h"
#include "Kelpanel.h"
#include "Questions.h"
#include "SubtitleGrid.h"
#include "Texts.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

namespace {

const QColor kActiveTitle(0x00, 0x00, 0xFF);
const QColor kIdleTitle(0x80, 0x80, 0x80);

// The title bar draws "&" as the mark of an underlined character: a path's own are doubled.
QString SideTitle(int side, const QString& path) {
    QString shown = path;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("[%1] -- %2").arg(TextOf(txLeftSide + side), shown);
}

QString DocPath(const SubTitle& doc) {
    return QString::fromStdString(doc.FileName());
}

void PaintTitle(TKelLabel* label, const QColor& colour) {
    label->setColor(colour);
}

} // namespace

void TMainForm::BuildPanes() {
    if (GridModel[0])
        return; // the grids are made once, however often the settings are read
    for (int side = 0; side < 2; ++side) {
        QTableView* grid = Grid[side];
        auto* model = new TSubtitleGridModel(grid);
        model->SetColumnTitles(QStringList(std::begin(ColumnTitles), std::end(ColumnTitles)));
        QAbstractItemModel* old = grid->model();
        grid->setModel(model);
        delete old;
        grid->setItemDelegate(new TSubtitleGridDelegate(grid));
        grid->horizontalHeader()->setStretchLastSection(false);
        grid->setEnabled(false);
        GridModel[side] = model;

        // A row change is the user's: clicks and keys, not selections made here.
        connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, side] {
                    if (!selectingRows_) sgSubLClick(side);
                });
        connect(grid, &QAbstractItemView::doubleClicked, this,
                [this, side] { sgSubLDblClick(side); });
        grid->installEventFilter(this);
        FileLabel[side]->installEventFilter(this);
        FileLabel[side]->setProperty("tag", side);
        grid->setProperty("tag", side);
    }
    // Ctrl+S is seen before any control of the window takes the key.
    qApp->installEventFilter(this);
    // Every command's shortcut works anywhere in the window, also those only in the grids'
    // context menu (Ctrl+Insert, Ctrl+Delete).
    addActions(commands_);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (FormKeyDown(key->key(), key->modifiers())) return true;
        }
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride && (watched == Grid[0] || watched == Grid[1])) {
        // A grid would take Ctrl+Insert as "copy"; the window's commands come first.
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction* command : commands_) {
            if (command->isEnabled() && command->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    for (int side = 0; side < 2; ++side) {
        if (watched == Grid[side] && event->type() == QEvent::FocusIn &&
            !Grid[side]->currentIndex().isValid() && GridModel[side]->rowCount() > 0) {
            // A view gives itself a current row when it takes the focus: that is no row change
            // by the user, so it is made here, quietly, before the view makes it.
            selectingRows_ = true;
            Grid[side]->selectionModel()->setCurrentIndex(GridModel[side]->index(0, 0),
                                                          QItemSelectionModel::NoUpdate);
            selectingRows_ = false;
        }
        if ((watched == Grid[side] && event->type() == QEvent::FocusIn) ||
            (watched == FileLabel[side] && event->type() == QEvent::MouseButtonPress))
            sgSubLEnter(side);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key != Qt::Key_S || !(modifiers & Qt::ControlModifier) || ActiveSide < 0) return false;
    aSaveLExecute(ActiveSide);
    return true;
}

void TMainForm::aOpenSubtitleLExecute(int side) {
    if (Doc[side] && Doc[side]->IsModified() &&
        Questions().MessageBox(this, TextOf(txDiscardChanges), SideTitle(side, DocPath(*Doc[side])),
                               TMsgKind::Confirmation, {mrOk, mrCancel}, mrCancel) != mrOk)
        return;
    const QString path = Questions().OpenFileName(
        this, QString(),
        QStringLiteral("SubRip (*.srt)|*.srt|MicroDVD,Subviewer(*.sub)|*.sub|All Files(*.*)|*.*"),
        QStringLiteral("srt"));
    if (!path.isEmpty()) LoadDocument(side, path);
}

void TMainForm::OpenSubtitleFile(int side, const QString& path) {
    LoadDocument(side, path);
}

bool TMainForm::LoadDocument(int side, const QString& path) {
    std::unique_ptr<SubTitle> doc;
    try {
        doc = std::make_unique<SubTitle>(path.toStdString(), 25.0, AskFrameRate);
    } catch (const SubtitleError& e) {
        Questions().ShowError(this, path + QStringLiteral("\n") + QString::fromUtf8(e.what()));
        return false;
    }
    if (!doc->IsLoaded()) {
        // A file that gives no document is said, not passed over: the user picked it.
        Questions().ShowError(this, TextOf(txUnknownFormat) + QStringLiteral("\n") + path);
        return false;
    }
    // The grid reads the document directly: it lets go of the old one first.
    GridModel[side]->Fill(nullptr);
    Doc[side] = std::move(doc);
    FileLabel[side]->setCaption(SideTitle(side, path));
    FileLabel[side]->setToolTip(path);
    Grid[side]->setEnabled(true);
    ShowAction[side]->setEnabled(true);
    ShowAction[side]->setChecked(true);
    ShowCaptionPanel(side);
    SaveAction[side]->setEnabled(true);
    SaveAsAction[side]->setEnabled(true);
    Panels[1 + side]->setText(QStringLiteral("[%1]  (%2)")
                                  .arg(QString::fromStdString(Doc[side]->FormatName()))
                                  .arg(Doc[side]->Count()));
    FillGrid(side, Doc[side].get());
    ShownIndex[side] = -1;
    GridModel[side]->SetShownIndex(-1);
    // The caption and the timer's memory belonged to the document just let go.
    LastShownIndex[side] = -1;
    LastCaptionText[side].clear();
    CaptionPanel[side]->setCaption(QString());
    if (Player && Player->PlayState() == TFilmPlayer::Playing) {
        (side ? SubTimerR : SubTimerL)->start();
        if (side == 0) aSubRepeat->setEnabled(true);
    }
    if (aEditorBar->isChecked()) Grid[side]->setFocus();

    const QString name = DocPath(*Doc[side]);
    for (qsizetype i = RecentFiles.size() - 1; i >= 0; --i)
        if (RecentFiles[i].compare(name, Qt::CaseInsensitive) == 0) RecentFiles.removeAt(i);
    RecentFiles.prepend(name);
    RebuildRecentMenu();
    return true;
}

void TMainForm::FillGrid(int side, SubTitle* doc) {
    QTableView* grid = Grid[side];
    // A fill keeps the selection, the current row and the scroll position.
    const int scroll = grid->verticalScrollBar()->value();
    const QModelIndexList selected = grid->selectionModel()->selectedRows();
    const int top = selected.isEmpty() ? 0 : SelectionTop(side);
    const int bottom = selected.isEmpty() ? 0 : SelectionBottom(side);
    const int current = grid->currentIndex().row();

    GridModel[side]->Fill(doc);
    const int width = grid->fontMetrics().horizontalAdvance(QLatin1Char('H'));
    // Wide enough for the widest text; never narrower than the column starts.
    grid->setColumnWidth(
        TSubtitleGridModel::ColText,
        std::max(155, static_cast<int>(width * GridModel[side]->WidestText() * 0.75)));

    const int rows = GridModel[side]->rowCount();
    selectingRows_ = true;
    if (current >= 0 && current < rows)
        grid->selectionModel()->setCurrentIndex(GridModel[side]->index(current, 0),
                                                QItemSelectionModel::NoUpdate);
    if (top > 0 && top - 1 < rows) {
        const QItemSelection rowsSelected(GridModel[side]->index(top - 1, 0),
                                          GridModel[side]->index(std::min(bottom, rows) - 1, 4));
        grid->selectionModel()->select(rowsSelected, QItemSelectionModel::ClearAndSelect);
    }
    selectingRows_ = false;
    grid->verticalScrollBar()->setValue(scroll);

    if (doc && doc->IsModified())
        FileLabel[side]->setCaption(SideTitle(side, DocPath(*doc)) + QStringLiteral("*"));
}

// Like a grid that always has a current cell: with nothing selected, the current row, and before
// any, the first row.
int TMainForm::SelectionTop(int side) const {
    const QModelIndexList rows = Grid[side]->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::max(Grid[side]->currentIndex().row(), 0) + 1;
    int top = rows.front().row();
    for (const QModelIndex& index : rows)
        top = std::min(top, index.row());
    return top + 1;
}

int TMainForm::SelectionBottom(int side) const {
    const QModelIndexList rows = Grid[side]->selectionModel()->selectedRows();
    if (rows.isEmpty()) return SelectionTop(side);
    int bottom = 0;
    for (const QModelIndex& index : rows)
        bottom = std::max(bottom, index.row());
    return bottom + 1;
}

void TMainForm::SelectRow(int side, int index) {
    QTableView* grid = Grid[side];
    const int entries = GridModel[side]->rowCount();
    if (index < 0 || index >= entries) return;
    const int row = index + 1; // grid rows count the header as row 0
    SelectionRect = TGridRect{0, row, 4, row};
    selectingRows_ = true;
    grid->selectionModel()->setCurrentIndex(GridModel[side]->index(index, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    selectingRows_ = false;

    // Towards the middle: half a page of rows above the selected one, or the last page.
    const int rowHeight = std::max(1, grid->verticalHeader()->defaultSectionSize());
    const int visible = std::max(1, grid->viewport()->height() / rowHeight);
    const int half = visible / 2;
    const int rowCount = entries + 1;
    int top = std::max(1, row - half);
    if (row >= rowCount - 1 - half) top = std::max(1, rowCount - visible);
    grid->verticalScrollBar()->setValue(top - 1);
}

void TMainForm::SyncOpposite(int side, int row) {
    const int other = 1 - side;
    const SubTitle* mine = Doc[side].get();
    const SubTitle* theirs = Doc[other].get();
    if (!mine || !theirs || theirs->Count() == 0) return;
    const PerTitle* entry = mine->Item(row - 1);
    if (!entry) return;
    const int chosen = NearestStart(*theirs, entry->Start);
    ClickedRow[other] = chosen + 1;
    SelectRow(other, chosen);
}

void TMainForm::sgSubLEnter(int side) {
    PaintTitle(FileLabel[side], kActiveTitle);
    PaintTitle(FileLabel[1 - side], kIdleTitle);
    ActiveSide = side;
}

void TMainForm::sgSubLClick(int side) {
    const int row = Grid[side]->currentIndex().row() + 1;
    if (row == ClickedRow[side]) return;
    ClickedRow[side] = row;
    // TODO: the edit window takes the entry of this row (TEditForm::SetTarget).
    if (aSyncLR->isChecked()) SyncOpposite(side, row);
}

void TMainForm::sgSubLDblClick(int side) {
    const PerTitle* entry = Doc[side] ? Doc[side]->Item(Grid[side]->currentIndex().row()) : nullptr;
    if (!entry || !Player) return;
    const double t = entry->Start / 1000.0;
    if (Player->Duration() > t) {
        Player->SetCurrentPosition(t);
        SetTrackBarQuietly(static_cast<int>(t));
    }
}

void TMainForm::aSaveLExecute(int side) {
    if (side < 0 || side > 1 || !Doc[side]) return;
    std::string why;
    if (!Doc[side]->Save(&why)) {
        // The title keeps its "*": the file on disk is still the old one.
        Questions().ShowError(this, DocPath(*Doc[side]) + QStringLiteral("\n") +
                                        QString::fromStdString(why));
        return;
    }
    FileLabel[side]->setCaption(SideTitle(side, DocPath(*Doc[side])));
}

void TMainForm::muF1Click(int index) {
    if (index < 0 || index >= RecentFiles.size()) return;
    int side = 0;
    if (ActiveSide >= 0) {
        side = ActiveSide;
        if (Doc[side] && !Doc[1 - side]) side = 1 - side;
    }
    if (Doc[side] && Doc[side]->IsModified() &&
        Questions().MessageBox(this, TextOf(txDiscardChanges), SideTitle(side, DocPath(*Doc[side])),
                               TMsgKind::Confirmation, {mrOk, mrCancel}, mrCancel) != mrOk)
        return;
    // The path itself, not the item's caption, whose "&" are doubled for the menu.
    const QString path = RecentFiles[index];
    LoadDocument(side, path);
}
