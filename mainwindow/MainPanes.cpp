// The two subtitle panes: opening a file into a side, the grid and its title bar, the active
// pane, row changes, keeping the other pane in step, saving, and the recent files.
#include "Main.h"

#include "AutoSave.h"
#include "MainHost.h"
#include "Recovery.h"
#include "RecoveryForm.h"

#include "CodePage.h"
#include "Edit.h"
#include "Editing.h"
#include "FilmPlayer.h"
#include "Kellabel.h"
#include "Kelpanel.h"
#include "Questions.h"
#include "SaveAs.h"
#include "SubtitleGrid.h"
#include "Tags.h"
#include "Texts.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

namespace {

QString DocPath(const SubTitle& doc) {
    return QString::fromStdString(doc.FileName());
}

} // namespace

void TMainForm::MakePanes() {
    for (int side = 0; side < 2; ++side) {
        Sides[side] = new TSideDocument(side, this);
        // The pane listens first: its rows and selection are in place before anyone else hears.
        Pane[side] = new TSubtitlePane(Sides[side], side ? sgSubR : sgSubL,
                                       side ? lbFilenameR : lbFilenameL, side ? plSubR : plSubL,
                                       side ? SubTimerR : SubTimerL, this);
        connect(Pane[side], &TSubtitlePane::rowChanged, this, [this](int s) { sgSubLClick(s); });
        connect(Sides[side], &TSideDocument::historyChanged, this, [this] {
            UpdateUndoCommands();
            UpdateWindowTitle();
        });
        connect(Sides[side], &TSideDocument::replaced, this, &TMainForm::UpdateWindowTitle);
        connect(Sides[side], &TSideDocument::changed, this, [this, side] { ShowSideStatus(side); });
    }
    AutoSaver = new TAutoSave(this);
    AutoSaver->Document = [this](int side) -> const SubTitle* { return Sides[side]->Document(); };
    AutoSaver->Modified = [this](int side) { return Sides[side]->IsModified(); };
    host_ = new TMainHost(this);
    for (TSubtitlePane* pane : Pane) {
        connect(pane, &TSubtitlePane::entriesChanged, AutoSaver, &TAutoSave::Changed);
        connect(pane, &TSubtitlePane::documentReplaced, AutoSaver, &TAutoSave::Forget);
        connect(pane, &TSubtitlePane::entriesChanged, host_, &TEditorHost::entriesChanged);
        connect(pane, &TSubtitlePane::documentReplaced, host_, &TEditorHost::documentReplaced);
    }
}

TEditorHost* TMainForm::Host() const {
    return host_;
}

void TMainForm::BuildPanes() {
    if (Pane[0]->Grid->property("wired").toBool())
        return; // the grids are wired once, however often the settings are read
    for (int side = 0; side < 2; ++side) {
        QTableView* grid = Pane[side]->Grid;
        grid->setProperty("wired", true);
        Pane[side]->GridModel->SetColumnTitles(
            QStringList(std::begin(ColumnTitles), std::end(ColumnTitles)));
        connect(grid, &QAbstractItemView::doubleClicked, this,
                [this, side] { sgSubLDblClick(side); });
        grid->installEventFilter(this);
        Pane[side]->FileLabel->installEventFilter(this);
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
    if (event->type() == QEvent::ShortcutOverride && (watched == Pane[0]->Grid || watched == Pane[1]->Grid)) {
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
        if (watched == Pane[side]->Grid && event->type() == QEvent::FocusIn &&
            !Pane[side]->Grid->currentIndex().isValid() && Pane[side]->GridModel->rowCount() > 0) {
            // A view gives itself a current row when it takes the focus: that is no row change
            // by the user, so it is made here, quietly, before the view makes it.
            Pane[side]->SetCurrentQuietly(0);
        }
        if ((watched == Pane[side]->Grid && event->type() == QEvent::FocusIn) ||
            (watched == Pane[side]->FileLabel && event->type() == QEvent::MouseButtonPress))
            sgSubLEnter(side);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key != Qt::Key_S || !(modifiers & Qt::ControlModifier) || ActiveSide < 0) return false;
    aSaveLExecute(ActiveSide);
    return true;
}

bool TMainForm::AllowDiscard(int side) {
    return !Sides[side]->IsModified() ||
           Questions().MessageBox(this, TextOf(txDiscardChanges), Pane[side]->Title(false),
                                  TMsgKind::Confirmation, {mrOk, mrCancel}, mrCancel) == mrOk;
}

void TMainForm::aOpenSubtitleLExecute(int side) {
    if (!AllowDiscard(side)) return;
    // The side's own folder, else the other side's, else the last folder used.
    const SubTitle* near = Pane[side]->Doc() ? Pane[side]->Doc() : Pane[1 - side]->Doc();
    const QString path =
        ChooseFileToOpen(this, QString(), QString::fromStdString(OpenFilter()),
                         QStringLiteral("srt"), near ? DocPath(*near) : QString());
    if (!path.isEmpty()) LoadDocument(side, path);
}

void TMainForm::OpenSubtitleFile(int side, const QString& path) {
    LoadDocument(side, path);
}

void TMainForm::aReopenLExecute(int side) {
    const SubTitle* doc = Pane[side]->Doc();
    if (!doc || !doc->IsLoaded()) return;
    // The pages a file can be saved in, each once.
    std::vector<int> pages;
    for (const OutputEncoding& e : OutputEncodings())
        if (e.encoding == FileEncoding::Plain) pages.push_back(e.codePage);
    QStringList names;
    int current = 0;
    for (int i = 0; i < int(pages.size()); ++i) {
        names << QString::fromLatin1(CodePageName(pages[size_t(i)]));
        if (pages[size_t(i)] == doc->CodePage()) current = i;
    }
    const std::optional<int> chosen = Questions().ChooseItem(
        this, Pane[side]->Title(false), TextOf(txReopenPrompt), names, current);
    if (!chosen || *chosen < 0 || *chosen >= int(pages.size()) || !AllowDiscard(side)) return;
    // The same file at the same rate: only its code page changes.
    const QString path = DocPath(*doc);
    const std::optional<double> rate = doc->FormatIndex() == FormatMicroDVD
                                           ? std::optional<double>(doc->FrameRate())
                                           : std::nullopt;
    LoadDocument(side, path, LegacyPage::Chosen(pages[size_t(*chosen)]), rate);
}

FrameRateQuestionWithProposal TMainForm::FilmRateQuestion() {
    if (!AskFrameRate) return {};
    return [this](std::optional<double> proposed) {
        // A file that states no rate is most likely timed to the film being watched.
        if (!proposed && Player && Player->FrameRate() > 0) proposed = Player->FrameRate();
        return AskFrameRate(proposed);
    };
}

bool TMainForm::LoadDocument(int side, const QString& path, std::optional<LegacyPage> chosen,
                             std::optional<double> knownRate) {
    // A file that is gone or cannot be read is said as such, not as an unknown format.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || !info.isReadable()) {
        Questions().ShowError(this, TextOf(!info.exists() ? txFileMissing : txFileUnreadable) +
                                        QStringLiteral("\n") + path);
        return false;
    }
    bool cancelled = false;
    // A known rate is read at without asking.
    FrameRateQuestionWithProposal ask;
    if (AskFrameRate && !knownRate)
        ask = [ask = FilmRateQuestion(), &cancelled](std::optional<double> proposed) {
            std::optional<std::string> answer = ask(proposed);
            cancelled = !answer;
            return answer;
        };
    std::unique_ptr<SubTitle> doc;
    try {
        // A file in neither UTF-8 nor UTF-16 is detected, the language's page winning a tie.
        doc = std::make_unique<SubTitle>(path.toStdString(), knownRate.value_or(25.0), ask,
                                         chosen.value_or(LegacyPage(LanguagePage())));
    } catch (const SubtitleError& e) {
        Questions().ShowError(this, path + QStringLiteral("\n") + QString::fromUtf8(e.what()));
        return false;
    }
    if (cancelled) return false; // the user's own choice: nothing to report
    if (!doc->IsLoaded()) {
        // A file that gives no document is said, not passed over: the user picked it.
        Questions().ShowError(this, TextOf(txUnknownFormat) + QStringLiteral("\n") + path);
        return false;
    }
    const int badLine = doc->BadLine(), badLines = doc->BadLines();
    ShowDocument(side, std::move(doc), true);
    // Lines no reader could make sense of were kept, not dropped: said once, naming the first.
    if (badLines > 0) {
        QString said = TextOf(txLineKeptAsIs).arg(badLine);
        if (badLines > 1) said += QLatin1Char('\n') + TextOf(txMoreLinesKept).arg(badLines - 1);
        Questions().MessageBox(this, said, TextOf(txAppName), TMsgKind::Information, {mrOk}, mrOk);
    }
    return true;
}

void TMainForm::ShowDocument(int side, std::unique_ptr<SubTitle> doc, bool saved) {
    TSubtitlePane* pane = Pane[side];
    Sides[side]->Replace(std::move(doc), saved);
    const SubTitle& loaded = *pane->Doc();
    ShowAction[side]->setEnabled(true);
    ShowAction[side]->setChecked(true);
    ShowCaptionPanel(side);
    SaveAction[side]->setEnabled(true);
    SaveAsAction[side]->setEnabled(true);
    ReopenAction[side]->setEnabled(true);
    ShowSideStatus(side);
    if (Player && Player->PlayState() == TFilmPlayer::Playing) {
        pane->SubTimer->start();
        if (side == 0) aSubRepeat->setEnabled(true);
    }
    if (aEditorBar->isChecked()) Pane[side]->Grid->setFocus();

    const QString name = DocPath(loaded);
    for (qsizetype i = RecentFiles.size() - 1; i >= 0; --i)
        if (RecentFiles[i].compare(name, Qt::CaseInsensitive) == 0) RecentFiles.removeAt(i);
    RecentFiles.prepend(name);
    RebuildRecentMenu();
    UpdateUndoCommands();
}

void TMainForm::ShowSideStatus(int side) {
    const SubTitle* doc = Sides[side]->Document();
    if (!doc) return;
    const SubTitle& loaded = *doc;
    // The code page beside the format, so that a file read in the wrong one is noticed: in the
    // panel where it fits (the panels keep their widths), always in its tip.
    const QString encoding =
        QString::fromStdString(EncodingName(loaded.CodePage(), loaded.Encoding()));
    QString shortName = encoding;
    shortName.replace(QStringLiteral("Windows-"), QStringLiteral("CP"))
        .replace(QStringLiteral(" with "), QStringLiteral(" "));
    const QString counted = QStringLiteral("[%1]  (%2)")
                                .arg(QString::fromStdString(loaded.FormatName()))
                                .arg(loaded.Count());
    const QString full = counted + QStringLiteral("  ") + shortName;
    QLabel* panel = Panels[1 + side];
    const bool fits = panel->fontMetrics().horizontalAdvance(full) + 2 * panel->frameWidth() + 4 <=
                      panel->maximumWidth();
    panel->setText(fits ? full : counted);
    panel->setToolTip(encoding);
}

bool TMainForm::ApplyChange(int side, const QString& name, TChange change) {
    if (side < 0 || side > 1) return false;
    return Sides[side]->Apply(name, std::move(change));
}

int TMainForm::SelectionTop(int side) const {
    return Pane[side]->SelectionTop();
}

int TMainForm::SelectionBottom(int side) const {
    return Pane[side]->SelectionBottom();
}

void TMainForm::SelectRow(int side, int index, bool centre) {
    Pane[side]->SelectRow(index, centre);
}

void TMainForm::SyncOpposite(int side, int index) {
    const int other = 1 - side;
    const SubTitle* mine = Pane[side]->Doc();
    const SubTitle* theirs = Pane[other]->Doc();
    if (!mine || !theirs || theirs->Count() == 0) return;
    const PerTitle* entry = mine->Item(index);
    if (!entry) return;
    SelectRow(other, NearestStart(*theirs, entry->Start));
}

void TMainForm::sgSubLEnter(int side) {
    Pane[side]->ShowActive(true);
    Pane[1 - side]->ShowActive(false);
    const bool changed = ActiveSide != side;
    ActiveSide = side;
    if (!changed) return;
    UpdateUndoCommands();
    UpdateWindowTitle();
}

void TMainForm::UpdateWindowTitle() {
    // The active document, else the first one open: the one the keys and the saves act on.
    int side = ActiveDocumentSide();
    if (side < 0) side = Pane[0]->Doc() ? 0 : (Pane[1]->Doc() ? 1 : -1);
    QString title = TextOf(txAppName);
    if (side >= 0) {
        // "[*]" is where the window shows its "*" while the document differs from its file.
        QString name = QFileInfo(DocPath(*Pane[side]->Doc())).fileName();
        name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")); // a literal one, doubled
        title += QStringLiteral(" -- ") + name + QStringLiteral("[*]");
    }
    if (Player && !Player->FileName().isEmpty()) title += QStringLiteral(" -- ") + Player->FileName();
    setWindowTitle(title);
    setWindowModified(side >= 0 && Sides[side]->IsModified());
}

void TMainForm::sgSubLClick(int side) {
    // Every click on a row is a row change, also on the row already current.
    const int index = Pane[side]->Grid->currentIndex().row();
    // The edit window, shown or not, takes the entry of the row.
    const SubTitle* doc = Pane[side]->Doc();
    if (EditForm && doc && index >= 0 && index < doc->Count()) EditForm->SetTarget(side, index);
    if (aSyncLR->isChecked()) SyncOpposite(side, index);
}

void TMainForm::sgSubLDblClick(int side) {
    const PerTitle* entry =
        Pane[side]->Doc() ? Pane[side]->Doc()->Item(Pane[side]->Grid->currentIndex().row()) : nullptr;
    if (!entry || !Player) return;
    const double t = entry->Start / 1000.0;
    if (Player->Duration() > t) {
        Player->SetCurrentPosition(t);
        FollowSeek();
    }
}

bool TMainForm::aSaveLExecute(int side) {
    if (side < 0 || side > 1 || !Pane[side]->Doc()) return false;
    // The file's present version is kept first; without that backup nothing is overwritten.
    QString backupWhy;
    if (!AutoSaver->BackupBeforeOverwrite(DocPath(*Pane[side]->Doc()), &backupWhy)) {
        Questions().ShowError(this, TextOf(txBackupFailed) + QStringLiteral("\n") + backupWhy);
        return false;
    }
    std::string why;
    if (!Sides[side]->Save(&why)) {
        // The title keeps its "*": the file on disk is still the old one.
        Questions().ShowError(this, DocPath(*Pane[side]->Doc()) + QStringLiteral("\n") +
                                        QString::fromStdString(why));
        return false;
    }
    AutoSaver->Forget(side);
    return true;
}

void TMainForm::muF1Click(int index) {
    if (index < 0 || index >= RecentFiles.size()) return;
    int side = 0;
    if (ActiveSide >= 0) {
        side = ActiveSide;
        if (Pane[side]->Doc() && !Pane[1 - side]->Doc()) side = 1 - side;
    }
    if (!AllowDiscard(side)) return;
    // The path itself, not the item's caption, whose "&" are doubled for the menu.
    const QString path = RecentFiles[index];
    LoadDocument(side, path);
}

void TMainForm::OfferRecovery() {
    std::vector<TAutoSave::TLeftCopy> copies = AutoSaver->LeftBehind();
    if (copies.empty() || !RecoveryForm) return;
    QList<TRecoveryForm::TCopy> shown;
    for (const auto& copy : copies)
        shown.push_back(
            {copy.FileName, copy.Side, QDateTime::fromSecsSinceEpoch(copy.SavedAt), copy.Count});
    RecoveryForm->SetCopies(shown);
    RecoveryForm->Restore = [this, &copies](int index, int side) {
        if (!AllowDiscard(side)) return false;
        const TAutoSave::TLeftCopy& copy = copies[size_t(index)];
        std::optional<SubTitle> doc = ReadRecovery(copy.Path.toStdString());
        if (!doc) {
            Questions().ShowError(this,
                                  TextOf(txRecoveryUnreadable) + QStringLiteral("\n") + copy.Path);
            return false;
        }
        ShowDocument(side, std::make_unique<SubTitle>(std::move(*doc)), false);
        // This run's copy is written before the old one goes: the work is never in no copy.
        AutoSaver->Changed(side);
        AutoSaver->Tick();
        AutoSaver->Drop(copy);
        return true;
    };
    RecoveryForm->Discard = [this, &copies](int index) { AutoSaver->Drop(copies[size_t(index)]); };
    RecoveryForm->ShowModalThroughQuestions(this);
    RecoveryForm->Restore = nullptr;
    RecoveryForm->Discard = nullptr;
}

int TMainForm::LanguagePage() const {
    return lcidInForce_ == 2052 ? kCodePageGbk : kCodePageBig5;
}
