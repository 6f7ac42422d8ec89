// Captions in step with the film: the caption timers, the caption panels' look and place, the
// commands that make the panes follow the film or each other, and the two repeat ranges.
#include "Main.h"

#include "CodePage.h"
#include "Editing.h"
#include "FilmPlayer.h"
#include "Kelpanel.h"
#include "Questions.h"
#include "SubHeight.h"
#include "SubtitleGrid.h"

#include <QAction>
#include <QBoxLayout>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

bool Playing(const TFilmPlayer* player) {
    return player && player->PlayState() == TFilmPlayer::Playing;
}

} // namespace

QString TMainForm::CaptionAt(int side) {
    const double t = Player ? Player->CurrentPosition() * 1000 : 0;
    const double duration = Player ? Player->Duration() : 0;
    const double filmEnd = std::isfinite(duration) ? std::trunc(duration * 1000) : 0;
    return Pane[side]->CaptionAt(t, filmEnd);
}

void TMainForm::SubTimerLTimer(int side, bool evenPaused) {
    if (!Player || (!evenPaused && !Playing(Player)) || !Pane[side]->Doc()) return;
    TKelPanel* panel = Pane[side]->CaptionPanel;
    panel->setCaption(CaptionAt(side));

    if (panel->Caption() != Pane[side]->LastCaptionText) {
        CurrentRowColor = panel->Caption().isEmpty() ? GapRowColor : ShowingRowColor;
        // The model repaints the marked row when its colour changes.
        Pane[side]->GridModel->SetCurrentRowColor(WinColorToQColor(CurrentRowColor));
        Pane[side]->LastCaptionText = panel->Caption();
    }

    const int shown = Pane[side]->ShownIndex;
    if (shown != Pane[side]->LastShownIndex) {
        Pane[side]->LastShownIndex = shown;
        if (SyncAction[side]->isChecked()) {
            // The showing row near the middle: a scroll, never a row change.
            QTableView* grid = Pane[side]->Grid;
            const int rowHeight = std::max(1, grid->verticalHeader()->defaultSectionSize());
            const int visible = grid->viewport()->height() / rowHeight;
            const int top = std::max(1, shown + 1 - visible / 2);
            grid->verticalScrollBar()->setValue(top - 1);
        }
        Pane[side]->GridModel->SetShownIndex(shown);
    }

    Panels[1 + side]->setText(QStringLiteral("[%1] %2 -- %3")
                                  .arg(QString::fromStdString(Pane[side]->Doc()->FormatName()))
                                  .arg(shown + 1)
                                  .arg(Pane[side]->Doc()->Count()));
}

void TMainForm::ShowCaptionPanel(int side) {
    // The timer goes on updating a hidden panel: showing it again shows the current caption.
    Pane[side]->CaptionPanel->setVisible(ShowAction[side]->isChecked());
    StackCaptionPanels();
}

void TMainForm::StackCaptionPanels() {
    // The video region's layout gives the picture what the panels leave and keeps them at its
    // bottom through every resize; here the order is made sure of: picture, left, right.
    auto* layout = static_cast<QBoxLayout*>(plVideo->layout());
    for (TKelPanel* panel : {plSubL, plSubR}) {
        layout->removeWidget(panel);
        layout->addWidget(panel);
    }
    layout->activate();
    FitVideoRegion();
}

void TMainForm::ApplySubtitleStyle(int side) {
    Pane[side]->ApplyCaptionStyle();
    StackCaptionPanels();
}

void TMainForm::aShowSubLExecute(int side) {
    ShowCaptionPanel(side);
}

void TMainForm::aFontEditLExecute(int side) {
    TCaptionStyle& style = Pane[side]->CaptionStyle;
    // A face this system lacks is drawn in a stand-in; the chooser offers the stand-in, which it
    // can show with the caption's own size and style (it would fall back to plain text for a
    // face it cannot find, and OK would lose the bold). Kept unchanged, the stored face stays.
    QFont offered = style.Font();
    const bool standIn = !QFontDatabase::hasFamily(offered.family());
    if (standIn) offered.setFamily(QFontInfo(offered).family());
    // The caption's text colour is chosen with its font.
    const std::optional<TFontChoice> chosen =
        Questions().ChooseFontAndColor(this, offered, WinColorToQColor(style.FontColor));
    if (!chosen) return;
    const QFont& font = chosen->Font;
    if (!standIn || font.family() != offered.family()) style.FontName = font.family();
    if (font.pointSizeF() > 0)
        style.FontSize = qRound(font.pointSizeF());
    else if (font.pixelSize() > 0) // back through 96 dots per inch, as Font() went
        style.FontSize = (font.pixelSize() * 72 + 48) / 96;
    style.Bold = font.bold();
    style.Italic = font.italic();
    style.Underline = font.underline();
    style.StrikeOut = font.strikeOut();
    if (chosen->Color.isValid()) style.FontColor = QColorToWinColor(chosen->Color);
    ApplySubtitleStyle(side);
}

void TMainForm::aColorSelectLExecute(int side) {
    TCaptionStyle& style = Pane[side]->CaptionStyle;
    const std::optional<QColor> chosen =
        Questions().ChooseColor(this, WinColorToQColor(style.BGColor));
    if (!chosen || !chosen->isValid()) return;
    style.BGColor = QColorToWinColor(*chosen);
    Pane[side]->CaptionPanel->setColor(WinColorToQColor(style.BGColor));
}

void TMainForm::aSubHeightLExecute(int side) {
    if (side < 0 || side > 1 || !SubHeightDlg) return;
    SubHeightDlg->SetTarget(Pane[side]->CaptionHeight, Pane[side]->CaptionLineHeight);
    if (SubHeightDlg->ShowModalThroughQuestions(this) == mrOk) {
        Pane[side]->CaptionHeight = SubHeightDlg->HeightValue;
        ApplySubtitleStyle(side);
    }
    activateWindow();
}

void TMainForm::aSyncLExecute() {
    // Following the film and linking the panes exclude each other.
    if (aSyncL->isChecked() || aSyncR->isChecked()) aSyncLR->setChecked(false);
}

void TMainForm::aSyncLRExecute() {
    if (!aSyncLR->isChecked()) return;
    aSyncL->setChecked(false);
    aSyncR->setChecked(false);
}

void TMainForm::aSecRepeatExecute() {
    const bool playing = Playing(Player);
    if (aSecRepeat->isChecked() && playing) {
        const double p = Player->CurrentPosition();
        RepeatFrom = std::max(0.0, p - udSecFrom->value());
        RepeatTo = std::min(p + udSecTo->value(), Player->Duration());
        RepeatActive = true;
        Player->SetCurrentPosition(RepeatFrom);
    } else {
        RepeatActive = false;
    }
    UpdateTrackBarEnabled();
}

void TMainForm::aSubRepeatExecute() {
    const bool playing = Playing(Player);
    const SubTitle* doc = Pane[0]->Doc();
    const int n = doc ? doc->Count() : 0;
    if (n > 0 && playing && aSubRepeat->isChecked()) {
        // Clamped both ways: the shown index may be older than the last edit of the document.
        const int first = std::clamp(Pane[0]->ShownIndex - udSubFrom->value(), 0, n - 1);
        int last = Pane[0]->ShownIndex + udSubTo->value();
        if (last < 0 || last >= n) last = n - 1;
        // Whole seconds, truncated: the film jumps back at the whole second before the end.
        RepeatFrom = doc->Item(first)->Start / 1000;
        RepeatTo = doc->Item(last)->End / 1000;
        Player->SetCurrentPosition(RepeatFrom);
        RepeatActive = true;
    } else {
        RepeatActive = false;
    }
    UpdateTrackBarEnabled();
}
