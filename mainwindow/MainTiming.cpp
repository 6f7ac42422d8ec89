// The 播放 menu: play/pause, seeks and frame steps from the grids, and timing the current entry
// to the film's moment, each change one undoable step of its side.
#include "Main.h"

#include "Edit.h"
#include "Editing.h"
#include "FilmPlayer.h"
#include "Pertitle.h"
#include "Questions.h"
#include "ShortcutsDialog.h"
#include "Subtitle.h"
#include "Texts.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSettings>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <limits>

void TMainForm::AttachTimingKeys() {
    // WidgetWithChildrenShortcut on the grids; the same commands also sit in the 播放 menu, whose
    // menu bar makes them reach the whole window (a text field still types a Space).
    for (QTableView* grid : {sgSubL, sgSubR})
        grid->addActions(TimingCommands);
    ReadTimingKeys();
}

void TMainForm::ReadTimingKeys() {
    std::unique_ptr<QSettings> key = OpenSettings();
    for (QAction* a : TimingCommands) {
        const QString name = QStringLiteral("Keys/") + a->objectName();
        if (!key->contains(name)) continue;
        // Stored empty: the user took the key away.
        const QKeySequence stored(key->value(name).toString(), QKeySequence::PortableText);
        a->setShortcuts(stored.isEmpty() ? QList<QKeySequence>{} : QList<QKeySequence>{stored});
    }
}

void TMainForm::aShortcutsExecute() {
    TShortcutsDialog dialog(TimingCommands, this, findChildren<QAction*>());
    if (Questions().RunModal(&dialog) != mrOk || !dialog.Clash().isEmpty()) return;
    const QList<QKeySequence> keys = dialog.Keys();
    std::unique_ptr<QSettings> store = OpenSettings();
    for (int i = 0; i < TimingCommands.size() && i < keys.size(); ++i) {
        QAction* a = TimingCommands[i];
        if (keys[i] == a->shortcut()) continue; // unchanged: keeps its second key too
        a->setShortcuts(keys[i].isEmpty() ? QList<QKeySequence>{} : QList<QKeySequence>{keys[i]});
        store->setValue(QStringLiteral("Keys/") + a->objectName(),
                        keys[i].toString(QKeySequence::PortableText));
    }
}

int32_t TMainForm::FilmMs() const {
    if (!Player) return 0;
    const double ms = std::round(Player->CurrentPosition() * 1000);
    if (!std::isfinite(ms) || ms <= 0) return 0;
    return ms >= double(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                               : int32_t(ms);
}

int TMainForm::TimingSide() const {
    if (ActiveSide >= 0 && ActiveSide <= 1 && Pane[ActiveSide]->Doc()) return ActiveSide;
    return Pane[0]->Doc() ? 0 : -1;
}

int TMainForm::TimingEntry(int side) const {
    if (side < 0) return -1;
    const SubTitle* doc = Pane[side]->Doc();
    const int row = Pane[side]->Grid->currentIndex().row();
    const int entry = row >= 0 ? row : Pane[side]->SelectionTop() - 1;
    return doc && entry >= 0 && entry < doc->Count() ? entry : -1;
}

void TMainForm::aPlayPauseExecute() {
    if (!Player) return;
    PlayEntryTo = -1;
    if (Player->PlayState() == TFilmPlayer::Playing)
        aPauseExecute();
    else
        aPlayExecute();
}

void TMainForm::SeekBy(double seconds) {
    if (!Player) return;
    double to = std::max(0.0, Player->CurrentPosition() + seconds);
    if (Player->Duration() > 0) to = std::min(to, Player->Duration());
    Player->SetCurrentPosition(to);
    FollowSeek();
}

void TMainForm::FrameStep(bool forward) {
    if (!Player) return;
    PlayEntryTo = -1;
    Player->FrameStep(forward);
    FollowSeek();
}

void TMainForm::FollowSeek() {
    if (!Player) return;
    const double p = Player->CurrentPosition();
    if (!TrackBar->isSliderDown()) SetTrackBarQuietly(int(std::trunc(std::clamp(p, 0.0, 2e9))));
    ShowFilmTime(std::isfinite(p) ? p : 0);
    for (int side = 0; side < 2; ++side)
        if (Pane[side]->Doc() && ShowAction[side]->isChecked()) SubTimerLTimer(side, true);
}

void TMainForm::aPlayEntryExecute() {
    const int side = TimingSide();
    const int index = TimingEntry(side);
    if (!Player || index < 0) return;
    const PerTitle& entry = *Pane[side]->Doc()->Item(index);
    Player->SetCurrentPosition(entry.Start / 1000.0);
    PlayEntryTo = entry.End / 1000.0;
    aPlayExecute();
    FollowSeek();
}

void TMainForm::SetStartAtFilm() {
    const int side = TimingSide();
    const int index = TimingEntry(side);
    if (index < 0) return;
    const SubTitle& doc = *Pane[side]->Doc();
    PerTitle entry = *doc.Item(index);
    const int32_t t = FilmMs();
    if (EditForm && EditForm->KeepsDuration()) {
        entry.Shift(t - entry.Start);
    } else if (t > entry.End) {
        // A start after the end would be an entry no viewer sees.
        RefuseTiming(txFilmAfterEnd, t);
        return;
    } else {
        entry.Start = t;
    }
    ApplyChange(side, TextOf(txStepSetStart), SetEntryChange(doc, index, entry));
}

void TMainForm::SetEndAtFilm(bool next) {
    const int side = TimingSide();
    const int index = TimingEntry(side);
    if (index < 0) return;
    const SubTitle& doc = *Pane[side]->Doc();
    PerTitle entry = *doc.Item(index);
    const int32_t t = FilmMs();
    if (t < entry.Start) {
        // The film not yet at the entry (not started, or sought back): F11 stays on it too.
        RefuseTiming(txFilmBeforeStart, t);
        return;
    }
    entry.End = t;
    ApplyChange(side, TextOf(txStepSetEnd), SetEntryChange(doc, index, entry));
    // The film plays on: only the row moves.
    if (next && index + 1 < Pane[side]->Doc()->Count()) SelectRow(side, index + 1, false);
}

void TMainForm::RefuseTiming(int textId, int32_t filmMs) {
    Panels[0]->setText(TextOf(textId).arg(QString::fromStdString(MsToTimeText(filmMs))));
    QApplication::beep();
}

void TMainForm::NudgeTime(bool end, int32_t deltaMs) {
    const int side = TimingSide();
    const int index = TimingEntry(side);
    if (index < 0) return;
    const SubTitle& doc = *Pane[side]->Doc();
    PerTitle entry = *doc.Item(index);
    int32_t& time = end ? entry.End : entry.Start;
    // Times stay at 0 or after: a nudge at 0 changes nothing.
    time = std::max<int32_t>(0, time + deltaMs);
    ApplyChange(side, TextOf(txStepNudge), SetEntryChange(doc, index, entry));
}

void TMainForm::aInsertAtFilmExecute() {
    const int side = TimingSide();
    if (side < 0) return;
    const SubTitle& doc = *Pane[side]->Doc();
    const int at = TimingEntry(side) + 1; // 0 in an empty document
    const int32_t start = FilmMs();
    int32_t end = start > std::numeric_limits<int32_t>::max() - 2000
                      ? std::numeric_limits<int32_t>::max()
                      : start + 2000;
    // Never over the next entry's start (nor before the new entry's own).
    if (const PerTitle* following = doc.Item(at)) end = std::max(start, std::min(end, following->Start));
    if (ApplyChange(side, TextOf(txStepInsertAtFilm),
                    InsertChange(doc, at, {PerTitle(start, end, std::string())})))
        SelectRow(side, at, false);
}
