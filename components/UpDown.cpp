#include "UpDown.h"

#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    // The field beside it keeps the focus, as the windows' spinners leave it.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), up_(ArrowButton(Qt::UpArrow, this)),
      down_(ArrowButton(Qt::DownArrow, this)) {
    connect(up_, &QToolButton::clicked, this, [this] { Click(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { Click(-1); });
}

void TUpDown::setRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    setPosition(position_);
}

void TUpDown::setPosition(int position) {
    position_ = std::clamp(position, min_, max_);
    if (associate_) associate_->setText(QString::number(position_));
}

void TUpDown::setAssociate(QLineEdit* field) {
    associate_ = field;
    setPosition(position_);
}

void TUpDown::Click(int direction) {
    if (!isEnabled()) return;
    emit clicked(direction);
    if (!holdsPosition_) return;
    // Wide arithmetic: a step past either end never wraps through the integer range.
    long long next =
        static_cast<long long>(position_) + static_cast<long long>(direction) * increment_;
    if (next > max_)
        next = wrap_ ? min_ : max_;
    else if (next < min_)
        next = wrap_ ? max_ : min_;
    if (next == position_) return;
    setPosition(static_cast<int>(next));
    emit changed(position_);
}

void TUpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}
