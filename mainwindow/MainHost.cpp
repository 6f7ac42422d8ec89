#include "MainHost.h"

#include "AutoSave.h"
#include "FilmPlayer.h"
#include "Main.h"

#include <QAction>
#include <QFontInfo>

#include <algorithm>
#include <cmath>

namespace {

bool IsSide(int side) {
    return side == 0 || side == 1;
}

} // namespace

TMainHost::TMainHost(TMainForm* form) : TEditorHost(form), form_(form) {
    setObjectName(QStringLiteral("EditorHost"));
}

const SubTitle* TMainHost::Document(int side) const {
    return IsSide(side) ? form_->Sides[side]->Document() : nullptr;
}

bool TMainHost::ApplyChange(int side, const QString& name, TChange change) {
    return IsSide(side) && form_->ApplyChange(side, name, std::move(change));
}

void TMainHost::SelectRow(int side, int index) {
    if (IsSide(side)) form_->SelectRow(side, index);
}

void TMainHost::SelectRowInView(int side, int index) {
    if (IsSide(side)) form_->SelectRow(side, index, false);
}

void TMainHost::SyncOpposite(int side, int index) {
    if (IsSide(side)) form_->SyncOpposite(side, index);
}

std::vector<int> TMainHost::SelectedEntries(int side) const {
    return IsSide(side) ? form_->Pane[side]->SelectedEntries() : std::vector<int>();
}

std::pair<int, int> TMainHost::SelectedSpan(int side) const {
    if (!IsSide(side)) return {-1, -1};
    return {form_->Pane[side]->SelectionTop() - 1, form_->Pane[side]->SelectionBottom() - 1};
}

bool TMainHost::Linked() const {
    return form_->aSyncLR->isChecked();
}

bool TMainHost::FilmOpen() const {
    return form_->Player && !form_->Player->FileName().isEmpty();
}

double TMainHost::FilmPosition() const {
    if (!form_->Player) return 0;
    const double t = form_->Player->CurrentPosition();
    return std::isfinite(t) ? t : 0;
}

bool TMainHost::FilmPlaying() const {
    return form_->Player && form_->Player->PlayState() == TFilmPlayer::Playing;
}

TAssStyle TMainHost::NewAssStyle(int side) const {
    TAssStyle style;
    if (FilmOpen()) {
        const QSize picture = form_->Player->PictureSize();
        if (!picture.isEmpty()) {
            style.PlayResX = picture.width();
            style.PlayResY = picture.height();
        }
    }
    if (!IsSide(side)) return style;
    const TCaptionStyle& caption = form_->Pane[side]->CaptionStyle;
    const QFont font = caption.Font();
    // A face the caption names; else the one this system draws it in.
    const QString family = caption.FontName.isEmpty() ? QFontInfo(font).family() : caption.FontName;
    if (!family.isEmpty()) style.FontName = family.toStdString();
    // The caption's share of a standard 288-line picture, where a 16-point caption (21 pixels)
    // is about ASS's usual 20: the same share of the film's own picture.
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : caption.FontSize * 96.0 / 72;
    style.FontSize = std::max(1, int(std::lround(pixels * style.PlayResY / 288.0)));
    style.Colour = WinColorToQColor(caption.FontColor).rgb() & 0xFFFFFF;
    style.Bold = caption.Bold;
    style.Italic = caption.Italic;
    return style;
}

bool TMainHost::KeepBackup(const QString& path, QString* why) {
    return form_->AutoSaver->BackupBeforeOverwrite(path, why, true);
}

void TMainHost::Undo(int side) {
    if (IsSide(side)) form_->Sides[side]->Undo();
}

void TMainHost::Redo(int side) {
    if (IsSide(side)) form_->Sides[side]->Redo();
}

QWidget* TMainHost::Window() const {
    return form_;
}
