#include "RegionSplitter.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

TRegionSplitter::TRegionSplitter(QWidget* parent) : QSplitter(Qt::Vertical, parent) {
    connect(this, &QSplitter::splitterMoved, this, [this] {
        const int room = Room();
        if (cap_ >= 0)
            ApplyShare(); // held at its cap
        else if (room > 0)
            share_ = double(sizes().value(1)) / room;
    });
}

void TRegionSplitter::SetShare(double share) {
    if (!std::isfinite(share)) return;
    share_ = std::clamp(share, 0.01, 0.99);
    ApplyShare();
}

bool TRegionSplitter::BothShown() const {
    return count() == 2 && !widget(0)->isHidden() && !widget(1)->isHidden();
}

int TRegionSplitter::Room() const {
    if (!BothShown()) return 0;
    return std::max(0, (orientation() == Qt::Vertical ? height() : width()) - handleWidth());
}

void TRegionSplitter::ApplyShare() {
    const int room = Room();
    if (room <= 0) return;
    const bool vertical = orientation() == Qt::Vertical;
    const int minFirst = vertical ? widget(0)->minimumHeight() : widget(0)->minimumWidth();
    const int minLast = vertical ? widget(1)->minimumHeight() : widget(1)->minimumWidth();
    int last = int(std::lround(share_ * room));
    // Each keeps its minimum while there is room for both; the share itself stays as it was.
    last = std::min(last, room - minFirst);
    last = std::max(last, std::min(minLast, room));
    if (cap_ >= 0) last = std::min(last, std::min(cap_, room));
    if (sizes() == QList<int>{room - last, last}) return;
    setSizes({room - last, last});
}

void TRegionSplitter::SetLastCap(int height) {
    cap_ = std::max(-1, height);
    ApplyShare();
}

void TRegionSplitter::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    ApplyShare();
}

bool TRegionSplitter::event(QEvent* event) {
    const bool done = QSplitter::event(event);
    // A region shown or hidden again: the splitter has just divided the room its own way.
    if (event->type() == QEvent::LayoutRequest) ApplyShare();
    return done;
}
