#pragma once
// The controls the dialogs edit numbers and times with: a number box whose Enter stays in it, and
// a time edited by parts (hours, minutes, seconds, milliseconds) in the masked fields and step
// buttons of components/ (MaskEdit.h, UpDown.h), whose step buttons move the whole time, so that
// steps carry and borrow across the four fields.
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSpinBox>
#include <QString>

#include <array>
#include <cstdint>

class QLabel;
class QLineEdit;
class QWidget;
class TMaskEdit;
class TUpDown;

// An entry number box: its arrows and Enter take the number (Enter does not reach the dialog's
// buttons), and what is typed outside its range falls back to the last number it held.
class TNumberSpin : public QSpinBox {
    Q_OBJECT
public:
    // The box's own field is named editName.
    TNumberSpin(const char* editName, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Four masked fields and their step buttons at a row of a dialog, named prefix + "Hour",
// "Minute", "Sec", "ms" (fields "me…", buttons "up…"): hours "!90;1;_", minutes and seconds
// "!00;1;_", milliseconds "!000;1;_", separated by ":", ":" and ",". The step buttons hold no
// position; their increment is the step (3600000, 60000, 1000, 50 ms).
class TTimeParts : public QObject {
    Q_OBJECT
public:
    // prefix is "Start" or "End"; at is the hour field's corner in parent.
    TTimeParts(QWidget* parent, const QString& prefix, QPoint at);

    std::array<TMaskEdit*, 4> Fields{};
    std::array<TUpDown*, 4> Spinners{};
    std::array<QLabel*, 3> Separators{};

    // Shows a time. A time the two-digit hour cannot hold (below zero, 100 hours or more) shows
    // as the nearest time the fields can hold, and reads back as itself while the fields are
    // left as shown, so that a stretch whose first entry starts before zero is not moved by
    // merely looking at it.
    void ShowTime(int32_t ms);
    // The time in the fields: hours ":" minutes ":" seconds "," milliseconds read as a time text.
    int32_t ReadTime() const;
    void SetEnabled(bool enabled);
    // Refuses the first enabled field with a required digit missing, as leaving it would;
    // answers whether one was refused.
    bool RefuseIfIncomplete();

    // Width of the row, from the hour field to the last step button.
    static constexpr int kWidth = 165;

signals:
    // A step button was pressed: the whole time moves by delta milliseconds.
    void stepped(int delta);
    // A field was left, or Enter pressed in one.
    void left();

private:
    std::array<QString, 4> Texts() const;
    int32_t shown_ = 0;
    std::array<QString, 4> shownTexts_;
};

// A number box with its label in front, as the dialogs' labelled fields are: the box named name,
// its field editName with text "1", the label labelName.
TNumberSpin* NumberBox(QWidget* parent, QLabel*& label, const char* labelName,
                       const QString& caption, QPoint labelAt, const char* name,
                       const char* editName, const QRect& geometry, QLineEdit*& edit);

// The box reaches entries 1..count (1 without entries) and shows value, without signals.
void SetNumberRange(TNumberSpin* box, int count, int value);
