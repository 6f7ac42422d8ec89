#pragma once
// A spinner as the windows have it: two arrow buttons, up and down, beside a field. It either
// holds a position of its own (Min..Max, moved by Increment, wrapping or not, shown in its
// field) or holds none and only reports the click, for a handler that does the arithmetic on
// something larger than the spinner (a whole time in milliseconds).
#include <QWidget>

class QLineEdit;
class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    // Whether a click moves the position; without one the position never moves.
    bool HoldsPosition() const { return holdsPosition_; }
    void setHoldsPosition(bool holds) { holdsPosition_ = holds; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    void setRange(int min, int max);
    int Position() const { return position_; }
    void setPosition(int position);
    int Increment() const { return increment_; }
    void setIncrement(int increment) { increment_ = increment; }
    bool Wrap() const { return wrap_; }
    void setWrap(bool wrap) { wrap_ = wrap; }
    // The field that shows the position.
    void setAssociate(QLineEdit* field);

    // A click on the up (+1) or the down (-1) arrow, as the user makes it.
    void Click(int direction);
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    // Every click, before the position moves: +1 up, -1 down.
    void clicked(int direction);
    // The position moved.
    void changed(int position);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
    QLineEdit* associate_ = nullptr;
    bool holdsPosition_ = false;
    bool wrap_ = false;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int increment_ = 1;
};
