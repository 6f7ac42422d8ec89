// The regions of the window shown and hidden, the video region's share of the height, and the
// windows that only show themselves: the window size dialog and the about box.
#include "Main.h"

#include "About.h"
#include "Adjust.h"
#include "FilmPlayer.h"
#include "Kelpanel.h"
#include "RegionSplitter.h"

#include <QAction>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <cmath>

namespace {

// The film's least picture height, and the height it gets where the window has room.
constexpr int kLeastPicture = 135;
constexpr int kRoomyPicture = 270;
// About ten rows of the panes.
constexpr int kEditorWanted = 240;

} // namespace

void TMainForm::aViewBarExecute(QAction* command) {
    if (command == aToolBar) {
        atBarMain->setVisible(aToolBar->isChecked());
    } else if (command == aEditorBar) {
        plEditor->setVisible(aEditorBar->isChecked());
        if (aEditorBar->isChecked()) {
            // The video region back at the bottom, 40 percent of the window's height.
            const int room = spUP->Room();
            if (room > 0) spUP->SetShare(std::trunc(height() * 0.4) / room);
            aViewBarExecute(aVideoBar);
        }
    } else if (command == aVideoBar) {
        // The splitter's handle goes with the region under it.
        plVideo->setVisible(aVideoBar->isChecked());
        if (aVideoBar->isChecked()) spUP->ApplyShare();
    } else if (command == aControlBar) {
        plControl->setVisible(aControlBar->isChecked());
    } else if (command == aStatusBar) {
        StatusBar->setVisible(aStatusBar->isChecked());
        aViewBarExecute(aControlBar);
    }
}

void TMainForm::FitVideoRegion() {
    // Without a film the region holds no picture: the panes take the room but for the caption
    // panels shown, and the region's share comes back with the film.
    const bool film = Player && !Player->FileName().isEmpty();
    int captions = 0;
    for (const TKelPanel* panel : {plSubL, plSubR})
        if (!panel->isHidden()) captions += panel->maximumHeight();
    if (film) {
        OpenPictureRoom();
        return;
    }
    plVideo->setMinimumHeight(0);
    spUP->SetLastCap(captions);
}

void TMainForm::OpenPictureRoom() {
    plVideo->setMinimumHeight(50);
    spUP->SetLastCap(-1);
    // Laid out now, not at the next turn of the event loop.
    if (plVideo->layout()) plVideo->layout()->activate();
}

int TMainForm::PictureRoomNeeded() const {
    return kLeastPicture + plSubL->maximumHeight() + plSubR->maximumHeight();
}

void TMainForm::FirstStartSize() {
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // What the window needs besides the two regions, measured at its present size.
    if (layout()) layout()->activate();
    const int others = std::max(0, height() - spUP->height()) + spUP->handleWidth();
    const int roomy =
        others + kEditorWanted + kRoomyPicture + plSubL->maximumHeight() + plSubR->maximumHeight();
    // Larger than the stored defaults only where the screen has room: the frame's title bar and
    // edges stay on it.
    const int h = std::max(height(), std::min(roomy, area.height() - 48));
    const int w = std::max(width(), std::min(1000, area.width() - 16));
    resize(w, h);
    FormSizes[0] = width();
    FormSizes[1] = height();
}

double TMainForm::FirstVideoShare() const {
    // The room the regions divide at the window's present size.
    const int room = spUP->Room();
    if (room <= 0) return spUP->Share();
    const int captions = plSubL->maximumHeight() + plSubR->maximumHeight();
    int video =
        std::clamp(room - kEditorWanted, kLeastPicture + captions, kRoomyPicture + captions);
    video = std::min(video, room - plEditor->minimumHeight());
    return double(video) / room;
}

void TMainForm::aAdjustSizeExecute() {
    if (!AdjustForm) return;
    AdjustForm->FormShow();
    AdjustForm->ShowModalThroughQuestions(this);
    activateWindow();
}

void TMainForm::aAboutExecute() {
    if (!AboutForm) return;
    AboutForm->ShowModalThroughQuestions(this);
    activateWindow();
}
